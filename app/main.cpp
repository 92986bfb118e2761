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
    if (!failure.message.empty()) platform::printToStandardOutput(failure.message + "\n");
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
    const std::vector<std::string> typed = platform::programArguments(argc, argv);

    const RuntimeEnvironment environment = orEnd(setUpEnvironment());
    const std::string supportPath = deriveSupportPath(typed.empty() ? "" : typed[0]);
    orEnd(checkSupportFile(supportPath));
    const std::vector<std::string> expanded = orEnd(expandCommandFiles(typed));
    const LauncherOptions options = orEnd(parseLauncherOptions(expanded));
    const ChildCommand command =
        orEnd(options.guiMode
                  ? prepareGuiHandOver(supportPath, options)
                  : prepareKernelHandOver(environment.kernel, supportPath, options.arguments));

    // The child is created suspended before the run log is rewritten: a child that cannot be
    // started costs no log, and a log that cannot be written lets no child run.
    platform::setEnvironmentVariable("PORT_DYNAMIC_DISABLE_MSG", "1");
    const platform::SuspendedChild child =
        orEnd(options.guiMode ? startGui(command) : startKernel(command));
    if (const Result<void> logged = writeRunLog(options.log, typed); !logged) {
        platform::discardChild(child);
        endLaunch(logged.failure());
    }
    platform::exitProcess(platform::resumeAndWait(child));
}
