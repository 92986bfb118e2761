// The run log: how the launcher was invoked.
#pragma once

#include <string>
#include <vector>

#include "launch/launch_state.h"

// Settles the log file's name and whether logging is off, from the expanded arguments.
void readLogOptions(LaunchState& state);

// The two lines of the log, for the arguments as typed, program name first.
std::string runLogText(const std::vector<std::string>& programArgs);

// Writes the run log unless logging is off; ends the launch when the file cannot be opened.
void writeRunLog(LaunchState& state, int argc, char** argv);
