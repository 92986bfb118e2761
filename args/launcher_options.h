// The options the launcher acts on itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "args/run_log.h"
#include "core/file_probe.h"
#include "core/result.h"

inline constexpr const char* kTclBatchValueMissing =
    "<file_name> argument is required after -tclbatch switch";
inline constexpr const char* kTclFileNotFound = "Tcl file not found";
inline constexpr const char* kViewValueMissing = "<wcfg_file|wdb_file> is not found";
inline constexpr const char* kOpenValueMissing = "<wdb_file> is not found";

struct LauncherOptions {
    // The arguments after the program name, each -wdb value normalised: what the kernel gets.
    std::vector<std::string> arguments;

    bool guiMode = false;
    bool timeoutEnabled = true;
    std::optional<std::string> tclBatchFile;
    std::vector<std::string> viewFiles;
    std::optional<std::string> openFile;
    std::optional<std::string> wdbFile;
    std::vector<std::string> userOptions;  // every entry no other row of the table takes
    RunLogSettings log;

    bool operator==(const LauncherOptions&) const = default;
};

// The waveform database name with ".wdb" added unless it already ends in it.
std::string normaliseWdbName(const std::string& value);

// Reads the options of the expanded argument list (program name first); `canOpen` tells whether
// a -tclbatch file opens for reading.
Result<LauncherOptions> readLauncherOptions(const std::vector<std::string>& expandedArgs,
                                            const FileProbe& canOpen);

// Reads the options, looking up the -tclbatch files.
Result<LauncherOptions> parseLauncherOptions(const std::vector<std::string>& expandedArgs);
