#include "launch/gui_handover.h"

#include "launch/failure.h"
#include "launch/kernel_handover.h"
#include "platform/platform.h"

void appendQuoted(std::string& commandLine, const std::string& value) {
    if (value.find(' ') == std::string::npos) {
        commandLine += value;
    } else {
        commandLine += '"' + value + '"';
    }
}

std::string composeGuiCommandLine(const LaunchState& state) {
    std::string commandLine = "kivogui -exe ";
    appendQuoted(commandLine, state.supportPath);
    if (!state.timeoutEnabled) commandLine += " -disabletimeout";
    auto appendOption = [&](const char* option, const std::string& value) {
        commandLine += option;
        appendQuoted(commandLine, value);
    };
    if (state.tclBatchFile) appendOption(" -tclbatch ", *state.tclBatchFile);
    for (const std::string& view : state.viewFiles) appendOption(" -view ", view);
    if (state.openFile) appendOption(" -open ", *state.openFile);
    if (state.wdbFile) appendOption(" -wdb ", *state.wdbFile);
    if (state.hasUserOptions) appendOption(" -userOptions ", state.userOptions);
    return commandLine;
}

std::string prepareGuiCommandLine(const LaunchState& state) {
    const std::string commandLine = composeGuiCommandLine(state);
    if (auto message = commandLineTooLongMessage("the front end kivogui", commandLine)) {
        failLaunch(*message);
    }
    return commandLine;
}

void launchGui(const std::string& commandLine) {
    platform::rebindStandardInputToConsole();
    const platform::ChildResult frontEnd = platform::runFrontEnd(commandLine);
    platform::exitProcess(frontEnd.started ? frontEnd.exitStatus : 1);
}
