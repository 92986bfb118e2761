// What a dry run prints instead of starting the hand-over.
#pragma once

#include <string>
#include <vector>

#include "launch/runtime_environment.h"

// The hand-over's lines of the trace (handOverLines), then NAME=value for each variable the started
// program would get; each line ends in a line feed.
std::string dryRunText(const std::vector<std::string>& handOver,
                       const std::vector<EnvironmentSetting>& variables);
