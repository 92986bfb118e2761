#include "app/run_hand_over.h"

#include <chrono>

#include "app/launch_trace.h"

LaunchEnd runHandOver(const HandOver& handOver, const RunLogSettings& log,
                      const std::vector<std::string>& typed, const platform::System& system) {
    if (handOver.ignoreInterrupts) system.ignoreInterrupts();
    if (handOver.consoleAsStandardInput) system.rebindStandardInputToConsole();
    platform::ChildStart start = system.startSuspended(handOver.settings, handOver.command.program,
                                                       handOver.command.commandLine);
    if (!start.child) {
        // Without a message, the trace says why.
        std::optional<std::string> message = handOver.failedStartMessage(start.error);
        if (message) return {1, std::move(message), {}};
        return {1, std::nullopt, {notStartedLine(handOver.label, start.error)}};
    }
    if (const Result<void> logged = writeRunLog(log, typed, system.replaceTextFile); !logged) {
        system.discardChild(std::move(*start.child));
        return {1, logged.failure().message, {}};
    }
    const auto began = std::chrono::steady_clock::now();
    const std::uint32_t status = system.resumeAndWait(std::move(*start.child));
    const auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - began);
    return {status, std::nullopt, {endedLine(handOver.label, status, ran)}};
}
