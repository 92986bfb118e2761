// The options the launcher acts on itself.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "launch/launch_state.h"

inline constexpr const char* kTclBatchValueMissing =
    "<file_name> argument is required after -tclbatch switch";
inline constexpr const char* kTclFileNotFound = "Tcl file not found";
inline constexpr const char* kViewValueMissing = "<wcfg_file|wdb_file> is not found";
inline constexpr const char* kOpenValueMissing = "<wdb_file> is not found";

// The waveform database name with ".wdb" added unless it already ends in it.
std::string normaliseWdbName(const std::string& value);

using CanOpenText = std::function<bool(const std::string&)>;

// Reads the options of the expanded argument list into the state, normalising the -wdb value in
// place. Returns the message of the first failure, if any.
std::optional<std::string> readLauncherOptions(LaunchState& state, const CanOpenText& canOpen);

// Reads the options; ends the launch on a failure.
void parseLauncherOptions(LaunchState& state);
