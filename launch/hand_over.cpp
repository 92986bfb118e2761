#include "launch/hand_over.h"

#include "launch/gui_handover.h"
#include "launch/install_layout.h"
#include "launch/kernel_handover.h"

std::string programShown(const ChildCommand& child,
                         const std::optional<std::string>& frontEndFound) {
    if (!child.program.empty()) return child.program;
    return frontEndFound.value_or(std::string(kFrontEndName) + " (not found)");
}

Result<HandOver> prepareHandOver(const LauncherOptions& options, const KernelSearch& kernel,
                                 const std::string& supportPath, const ProgramFinder& findProgram) {
    if (options.guiMode) {
        Result<ChildCommand> command = prepareGuiHandOver(supportPath, options);
        if (!command) return command.failure();
        HandOver frontEnd{"the front end", std::move(command).value(), {}, false, true, "", {}};
        // No handles are inherited; the system's search finds the program.
        frontEnd.settings.searchForProgram = true;
        frontEnd.programShown = programShown(frontEnd.command, findProgram(kFrontEndName));
        frontEnd.failedStartMessage = [](const std::string&) { return std::nullopt; };
        return frontEnd;
    }
    Result<ChildCommand> command = prepareKernelHandOver(kernel, supportPath, options.arguments);
    if (!command) return command.failure();
    HandOver simulation{
        "the simulation kernel", std::move(command).value(), {}, true, false, "", {}};
    simulation.settings.inheritStandardHandles = true;
    simulation.settings.killOnCloseJob = true;
    simulation.programShown = programShown(simulation.command, std::nullopt);
    simulation.failedStartMessage = [path = simulation.command.program](const std::string& error) {
        return std::optional<std::string>(kernelStartFailedMessage(path, error));
    };
    return simulation;
}
