#include "args/run_log.h"

RunLogSettings readRunLogSettings(const std::vector<std::string>& arguments) {
    RunLogSettings settings;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "-nolog") {
            settings.disabled = true;
        } else if (arguments[i] == "-log" && i + 1 < arguments.size()) {
            settings.fileName = arguments[++i];
        }
    }
    return settings;
}

std::string runLogText(const std::vector<std::string>& programArgs) {
    std::string text = "Kivo log file\nRunning: ";
    for (const std::string& argument : programArgs) text += argument + " ";
    return text + "\n";
}

std::string logFileOpenFailedMessage(const std::string& fileName) {
    return "ERROR: " + fileName + " file open failed.";
}

std::string logFileWriteFailedMessage(const std::string& fileName) {
    return "ERROR: " + fileName + " file write failed.";
}

Result<void> writeRunLog(const RunLogSettings& settings,
                         const std::vector<std::string>& programArgs, const FileReplacer& replace) {
    if (settings.disabled) return {};
    switch (replace(settings.fileName, runLogText(programArgs))) {
        case platform::FileWrite::done:
            return {};
        case platform::FileWrite::cannotOpen:
            return Failure{logFileOpenFailedMessage(settings.fileName)};
        case platform::FileWrite::writeFailed:
            break;
    }
    return Failure{logFileWriteFailedMessage(settings.fileName)};
}
