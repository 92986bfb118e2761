// The launcher's entry point: the steps of a launch, once each, in their fixed order. This is the
// only place that reports a failure and ends the process.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "app/dry_run.h"
#include "app/launch_switches.h"
#include "app/launch_trace.h"
#include "app/version.h"
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

std::chrono::milliseconds since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> typed(argv, argv + argc);
    const std::string typedName = typed.empty() ? "" : typed[0];
    const LaunchSwitches switches = readLaunchSwitches();
    const LaunchTrace trace(switches.trace);
    trace.write({startedLine(kLauncherVersion, typedName)});

    // Both are looked at before either can end the launch, so that the trace shows both; a PATH
    // too long is still the failure reported first.
    const std::string supportPath = deriveSupportPath(typedName);
    const Result<void> supportFile = checkSupportFile(supportPath);
    trace.write({supportFileLine(supportPath, supportFile.ok())});
    const RuntimeEnvironment environment = readRuntimeEnvironment();
    trace.write(environmentLines(environment));
    orEnd(applyRuntimeEnvironment(environment));
    orEnd(supportFile);

    const ExpandedArguments expanded = orEnd(expandCommandFiles(typed));
    trace.write(commandFileLines(expanded.filesRead));
    const LauncherOptions options = orEnd(parseLauncherOptions(expanded.arguments));
    trace.write(optionLines(options));

    // Whatever would keep the hand-over from starting is found before the run log is rewritten.
    const ChildCommand child =
        orEnd(options.guiMode
                  ? prepareGuiHandOver(supportPath, options)
                  : prepareKernelHandOver(environment.kernel, supportPath, options.arguments));
    if (trace.on() || switches.dryRun) {
        const std::vector<std::string> handOver =
            handOverLines(programShown(child, options.guiMode ? locateFrontEnd() : std::nullopt),
                          child.commandLine);
        trace.write(handOver);
        if (switches.dryRun) {
            trace.write({"dry run: nothing started"});
            platform::printToStandardOutput(
                dryRunText(handOver, startedProgramVariables(environment)));
            platform::exitProcess(0);
        }
    }
    orEnd(writeRunLog(options.log, typed));

    platform::setEnvironmentVariable(kHandOverSetting.name, kHandOverSetting.value);
    const auto start = std::chrono::steady_clock::now();
    if (options.guiMode) {
        const platform::ChildResult frontEnd = launchGui(child);
        trace.write({frontEnd.started
                         ? endedLine("the front end", frontEnd.exitStatus, since(start))
                         : notStartedLine("the front end", frontEnd.error)});
        platform::exitProcess(guiExitStatus(frontEnd));
    }
    const std::uint32_t status = orEnd(launchKernel(child));
    trace.write({endedLine("the simulation kernel", status, since(start))});
    platform::exitProcess(status);
}
