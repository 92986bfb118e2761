// The launcher's entry point: the steps of a launch, once each, in their fixed order. This is the
// only place that reports a failure and ends the process.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/dry_run.h"
#include "app/launch_switches.h"
#include "app/launch_trace.h"
#include "app/run_hand_over.h"
#include "app/version.h"
#include "args/command_files.h"
#include "args/launcher_options.h"
#include "core/result.h"
#include "launch/hand_over.h"
#include "launch/runtime_environment.h"
#include "launch/support_file.h"
#include "platform/platform.h"

namespace {

// Prints the message, if any, followed by a line feed, and ends the launch with the status.
[[noreturn]] void endLaunch(std::uint32_t status, const std::optional<std::string>& message) {
    if (message) platform::printToStandardOutput(*message + "\n");
    platform::exitProcess(status);
}

// The step's value; a failed step ends the launch with its message.
template <typename T>
T orEnd(Result<T> result) {
    if (!result) endLaunch(1, result.failure().message);
    return std::move(result).value();
}

void orEnd(const Result<void>& result) {
    if (!result) endLaunch(1, result.failure().message);
}

}  // namespace

int launch(const std::vector<std::string>& typed) {
    const platform::System system = platform::thisSystem();
    const std::string typedName = typed.empty() ? "" : typed[0];
    const LaunchSwitches switches = readLaunchSwitches();
    const LaunchTrace trace(switches.trace);
    trace.write({startedLine(kLauncherVersion, typedName)});

    // Both are looked at before either can end the launch, so that the trace shows both; a PATH
    // too long is still the failure reported first.
    const std::string supportPath = deriveSupportPath(typedName);
    const Result<void> supportFile = checkSupportFile(supportPath, system.statusReadable);
    trace.write({supportFileLine(supportPath, supportFile.ok())});
    const RuntimeEnvironment environment = readRuntimeEnvironment();
    trace.write(environmentLines(environment));
    orEnd(applyRuntimeEnvironment(environment));
    orEnd(supportFile);

    const ExpandedArguments expanded = orEnd(expandCommandFiles(typed));
    trace.write(commandFileLines(expanded.filesRead));
    const LauncherOptions options = orEnd(parseLauncherOptions(expanded.arguments));
    trace.write(optionLines(options));
    const HandOver handOver =
        orEnd(prepareHandOver(options, environment.kernel, supportPath, platform::findProgram));
    const std::vector<std::string> shown =
        handOverLines(handOver.programShown, handOver.command.commandLine);
    trace.write(shown);
    if (switches.dryRun) {
        trace.write({nothingStartedLine()});
        platform::printToStandardOutput(dryRunText(shown, startedProgramVariables(environment)));
        endLaunch(0, std::nullopt);
    }

    platform::setEnvironmentVariable(kHandOverSetting.name, kHandOverSetting.value);
    const LaunchEnd end = runHandOver(handOver, options.log, typed, system);
    trace.write(end.traceLines);
    endLaunch(end.status, end.message);
}
