#include "launch/gui_handover.h"

std::string frameUserOptions(const std::vector<std::string>& userOptions) {
    std::string framed = "\\\"";
    for (std::size_t i = 0; i < userOptions.size(); ++i) {
        if (i > 0) framed += ' ';
        framed += userOptions[i];
    }
    return framed + "\\\"";
}

std::string composeGuiCommandLine(const std::string& supportPath, const LauncherOptions& options) {
    std::string commandLine = std::string(kFrontEndName) + " -exe ";
    appendQuoted(commandLine, supportPath);
    if (!options.timeoutEnabled) commandLine += " -disabletimeout";
    auto appendOption = [&](const char* option, const std::string& value) {
        commandLine += option;
        appendQuoted(commandLine, value);
    };
    if (options.tclBatchFile) appendOption(" -tclbatch ", *options.tclBatchFile);
    for (const std::string& view : options.viewFiles) appendOption(" -view ", view);
    if (options.openFile) appendOption(" -open ", *options.openFile);
    if (options.wdbFile) appendOption(" -wdb ", *options.wdbFile);
    if (!options.userOptions.empty()) {
        appendOption(" -userOptions ", frameUserOptions(options.userOptions));
    }
    return commandLine;
}

Result<ChildCommand> prepareGuiHandOver(const std::string& supportPath,
                                        const LauncherOptions& options) {
    return withinCommandLineLimit("the front end kivogui",
                                  {"", composeGuiCommandLine(supportPath, options)});
}

std::optional<std::string> locateFrontEnd() { return platform::findProgram(kFrontEndName); }

platform::ChildResult launchGui(const ChildCommand& frontEnd) {
    platform::rebindStandardInputToConsole();
    return platform::runFrontEnd(frontEnd.commandLine);
}

std::uint32_t guiExitStatus(const platform::ChildResult& frontEnd) {
    return frontEnd.started ? frontEnd.exitStatus : 1;
}
