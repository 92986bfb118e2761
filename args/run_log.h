// The run log: how the launcher was invoked.
#pragma once

#include <string>
#include <vector>

#include "core/file_probe.h"
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

// The messages for a log file that cannot be opened for writing, and for one whose writing failed
// (a full disk).
std::string logFileOpenFailedMessage(const std::string& fileName);
std::string logFileWriteFailedMessage(const std::string& fileName);

// Writes the run log by `replace` unless logging is off: whole, or not at all, leaving an earlier
// log as it was.
Result<void> writeRunLog(const RunLogSettings& settings,
                         const std::vector<std::string>& programArgs, const FileReplacer& replace);
