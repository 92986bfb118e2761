// The run log: how the launcher was invoked.
#pragma once

#include <string>
#include <vector>

#include "core/result.h"

struct RunLogSettings {
    bool disabled = false;
    std::string fileName = "kivo.log";

    bool operator==(const RunLogSettings&) const = default;
};

// Settles the log file's name and whether logging is off, from the arguments after the program
// name. The option table is not consulted: the value after "-log" is taken whatever it is.
RunLogSettings readRunLogSettings(const std::vector<std::string>& arguments);

// The two lines of the log, for the arguments as typed, program name first.
std::string runLogText(const std::vector<std::string>& programArgs);

// The message for a log file that cannot be opened for writing.
std::string logFileOpenFailedMessage(const std::string& fileName);

// Writes the run log unless logging is off.
Result<void> writeRunLog(const RunLogSettings& settings,
                         const std::vector<std::string>& programArgs);
