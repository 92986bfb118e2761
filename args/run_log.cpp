#include "args/run_log.h"

#include "platform/platform.h"

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

Result<void> writeRunLog(const RunLogSettings& settings,
                         const std::vector<std::string>& programArgs) {
    if (settings.disabled) return {};
    if (!platform::writeTextFile(settings.fileName, runLogText(programArgs))) {
        return Failure{logFileOpenFailedMessage(settings.fileName)};
    }
    return {};
}
