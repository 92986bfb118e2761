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
    const std::vector<std::string> typed = platform::programArguments(argc, argv);
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
    const ChildCommand command =
        orEnd(options.guiMode
                  ? prepareGuiHandOver(supportPath, options)
                  : prepareKernelHandOver(environment.kernel, supportPath, options.arguments));

    if (trace.on() || switches.dryRun) {
        const std::vector<std::string> handOver =
            handOverLines(programShown(command, options.guiMode ? locateFrontEnd() : std::nullopt),
                          command.commandLine);
        trace.write(handOver);
        if (switches.dryRun) {
            trace.write({"dry run: nothing started"});
            platform::printToStandardOutput(
                dryRunText(handOver, startedProgramVariables(environment)));
            platform::exitProcess(0);
        }
    }

    // The child is created suspended before the run log is rewritten: a child that cannot be
    // started costs no log, and a log that cannot be written lets no child run.
    platform::setEnvironmentVariable(kHandOverSetting.name, kHandOverSetting.value);
    const char* const started = options.guiMode ? "the front end" : "the simulation kernel";
    Result<platform::SuspendedChild> child =
        options.guiMode ? startGui(command) : startKernel(command);
    if (!child && options.guiMode) {
        // A front end that cannot be started ends the launch with status 1 and no message.
        trace.write({notStartedLine(started, child.failure().message)});
        platform::exitProcess(1);
    }
    platform::SuspendedChild suspended = orEnd(std::move(child));
    if (const Result<void> logged = writeRunLog(options.log, typed); !logged) {
        platform::discardChild(std::move(suspended));
        endLaunch(logged.failure());
    }

    const auto start = std::chrono::steady_clock::now();
    const std::uint32_t status = platform::resumeAndWait(std::move(suspended));
    trace.write({endedLine(started, status, since(start))});
    platform::exitProcess(status);
}
