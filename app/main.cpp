// The launcher's entry point: the steps of a launch, once each, in their fixed order. This is the
// only place that reports a failure and ends the process.
#include <cstdint>
#include <string>
#include <vector>

#include "args/command_files.h"
#include "args/launcher_options.h"
#include "args/run_log.h"
#include "core/result.h"
#include "launch/gui_handover.h"
#include "launch/kernel_handover.h"
#include "launch/runtime_environment.h"
#include "launch/support_file.h"
#include "platform/platform.h"

namespace {

[[noreturn]] void endLaunch(const Failure& failure) {
    platform::printToStandardOutput(failure.message + "\n");
    platform::exitProcess(1);
}

// The step's value; a failed step ends the launch with its message.
template <typename T>
T orEnd(Result<T> result) {
    if (!result) endLaunch(result.failure());
    return std::move(result).value();
}

void orEnd(const Result<void>& result) {
    if (!result) endLaunch(result.failure());
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> typed(argv, argv + argc);

    const RuntimeEnvironment environment = readRuntimeEnvironment();
    orEnd(applyRuntimeEnvironment(environment));
    const std::string supportPath = deriveSupportPath(typed.empty() ? "" : typed[0]);
    orEnd(checkSupportFile(supportPath));
    const ExpandedArguments expanded = orEnd(expandCommandFiles(typed));
    const LauncherOptions options = orEnd(parseLauncherOptions(expanded.arguments));

    // Whatever would keep the hand-over from starting is found before the run log is rewritten.
    const ChildCommand child =
        orEnd(options.guiMode
                  ? prepareGuiHandOver(supportPath, options)
                  : prepareKernelHandOver(environment.kernel, supportPath, options.arguments));
    orEnd(writeRunLog(options.log, typed));

    platform::setEnvironmentVariable(kHandOverSetting.name, kHandOverSetting.value);
    const std::uint32_t status =
        options.guiMode ? guiExitStatus(launchGui(child)) : orEnd(launchKernel(child));
    platform::exitProcess(status);
}
