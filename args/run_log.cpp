#include "args/run_log.h"

#include "launch/failure.h"
#include "platform/platform.h"

void readLogOptions(LaunchState& state) {
    const std::vector<std::string>& args = state.expandedArgs;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-nolog") {
            state.logDisabled = true;
        } else if (args[i] == "-log" && i + 1 < args.size()) {
            state.logFileName = args[++i];
        }
    }
}

std::string runLogText(const std::vector<std::string>& programArgs) {
    std::string text = "Kivo log file\nRunning: ";
    for (const std::string& argument : programArgs) text += argument + " ";
    return text + "\n";
}

void writeRunLog(LaunchState& state, int argc, char** argv) {
    readLogOptions(state);
    if (state.logDisabled) return;
    const std::string text = runLogText(std::vector<std::string>(argv, argv + argc));
    if (!platform::writeTextFile(state.logFileName, text)) {
        failLaunch("ERROR: " + state.logFileName + " file open failed.");
    }
}
