// The launcher's entry point: the stages of a launch, once each, in their fixed order.
#include "args/command_files.h"
#include "args/launcher_options.h"
#include "args/run_log.h"
#include "launch/failure.h"
#include "launch/gui_handover.h"
#include "launch/kernel_handover.h"
#include "launch/launch_state.h"
#include "launch/runtime_environment.h"
#include "launch/support_file.h"
#include "platform/platform.h"

namespace {
LaunchState launchState;
}

int main(int argc, char** argv) {
    setUpEnvironment(launchState);

    launchState.supportPath = deriveSupportPath(argc > 0 ? argv[0] : "");
    if (checkSupportFile(launchState.supportPath) != 0) {
        failLaunch(supportFileMissingMessage(launchState.supportPath));
    }

    expandCommandFiles(launchState, argc, argv);
    parseLauncherOptions(launchState);
    // Whatever would keep the hand-over from starting is found before the log is rewritten.
    const std::string commandLine = launchState.guiMode ? prepareGuiCommandLine(launchState)
                                                        : prepareKernelCommandLine(launchState);
    writeRunLog(launchState, argc, argv);

    platform::setEnvironmentVariable("PORT_DYNAMIC_DISABLE_MSG", "1");
    if (launchState.guiMode) launchGui(commandLine);
    launchKernel(launchState, commandLine);
}
