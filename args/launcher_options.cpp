#include "args/launcher_options.h"

#include "platform/platform.h"

std::string normaliseWdbName(const std::string& value) {
    const std::string suffix = ".wdb";
    const bool hasSuffix = value.size() > suffix.size() &&
                           value.compare(value.size() - suffix.size(), suffix.size(), suffix) == 0;
    return hasSuffix ? value : value + suffix;
}

Result<LauncherOptions> readLauncherOptions(const std::vector<std::string>& expandedArgs,
                                            const FileProbe& canOpen) {
    LauncherOptions options;
    if (expandedArgs.size() > 1)
        options.arguments.assign(expandedArgs.begin() + 1, expandedArgs.end());
    std::vector<std::string>& args = options.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        const bool hasValue = i + 1 < args.size();
        if (option == "-gui") {
            options.guiMode = true;
        } else if (option == "-tclbatch") {
            if (!hasValue) return Failure{kTclBatchValueMissing};
            options.tclBatchFile = args[++i];
            if (!canOpen(*options.tclBatchFile)) return Failure{kTclFileNotFound};
        } else if (option == "-view") {
            if (!hasValue) return Failure{kViewValueMissing};
            options.viewFiles.push_back(args[++i]);
        } else if (option == "-open") {
            if (!hasValue) return Failure{kOpenValueMissing};
            options.openFile = args[++i];
        } else if (option == "-wdb") {
            if (!hasValue) continue;
            ++i;
            // The kernel receives the normalised name too, in the place of the value.
            args[i] = normaliseWdbName(args[i]);
            options.wdbFile = args[i];
        } else if (option == "-disabletimeout") {
            options.timeoutEnabled = false;
        } else {
            options.userOptions.push_back(option);
        }
    }
    options.log = readRunLogSettings(args);
    return options;
}

Result<LauncherOptions> parseLauncherOptions(const std::vector<std::string>& expandedArgs) {
    return readLauncherOptions(expandedArgs, platform::opensForReading);
}
