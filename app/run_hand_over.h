// The hand-over itself: the child created suspended, the run log written, then the child let run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "args/run_log.h"
#include "launch/hand_over.h"
#include "platform/platform.h"

// How the launch ends after the hand-over.
struct LaunchEnd {
    std::uint32_t status = 1;
    std::optional<std::string> message;  // printed, followed by a line feed, before the end
    std::vector<std::string> traceLines;

    bool operator==(const LaunchEnd&) const = default;
};

// Creates the child suspended, then writes the run log, then lets the child run and waits for it:
// a child that cannot be started costs no log, and a log that cannot be written lets no child run.
// The launch ends with the child's status, or with status 1 when either step fails.
LaunchEnd runHandOver(const HandOver& handOver, const RunLogSettings& log,
                      const std::vector<std::string>& typed, const platform::System& system);
