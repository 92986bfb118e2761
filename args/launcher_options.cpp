#include "args/launcher_options.h"

#include "launch/failure.h"
#include "platform/platform.h"

std::string normaliseWdbName(const std::string& value) {
    const std::string suffix = ".wdb";
    const bool hasSuffix = value.size() > suffix.size() &&
                           value.compare(value.size() - suffix.size(), suffix.size(), suffix) == 0;
    return hasSuffix ? value : value + suffix;
}

std::optional<std::string> readLauncherOptions(LaunchState& state, const CanOpenText& canOpen) {
    std::vector<std::string>& args = state.expandedArgs;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        const bool hasValue = i + 1 < args.size();
        if (option == "-gui") {
            state.guiMode = true;
        } else if (option == "-tclbatch") {
            if (!hasValue) return kTclBatchValueMissing;
            state.tclBatchFile = args[++i];
            if (!canOpen(*state.tclBatchFile)) return kTclFileNotFound;
        } else if (option == "-view") {
            if (!hasValue) return kViewValueMissing;
            state.viewFiles.push_back(args[++i]);
        } else if (option == "-open") {
            if (!hasValue) return kOpenValueMissing;
            state.openFile = args[++i];
        } else if (option == "-wdb") {
            if (!hasValue) continue;
            ++i;
            args[i] = normaliseWdbName(args[i]);
            state.wdbFile = args[i];
        } else if (option == "-disabletimeout") {
            state.timeoutEnabled = false;
        } else {
            state.userOptions += option + " ";
            state.hasUserOptions = true;
        }
    }
    if (state.hasUserOptions) state.userOptions.pop_back();
    state.userOptions += "\\\"";
    return std::nullopt;
}

void parseLauncherOptions(LaunchState& state) {
    auto failure = readLauncherOptions(
        state, [](const std::string& file) { return platform::opensForReading(file, false); });
    if (failure) failLaunch(*failure);
}
