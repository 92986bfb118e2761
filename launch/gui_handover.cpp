#include "launch/gui_handover.h"

#include "launch/install_layout.h"

std::string frameUserOptions(const std::vector<std::string>& userOptions) {
    std::string framed = "\"";
    for (std::size_t i = 0; i < userOptions.size(); ++i) {
        if (i > 0) framed += ' ';
        framed += userOptions[i];
    }
    return framed + "\"";
}

std::string composeGuiCommandLine(const std::string& supportPath, const LauncherOptions& options) {
    // Each value is written so that the front end's C runtime reads it back exactly.
    std::string commandLine =
        std::string(kFrontEndName) + " -exe " + quoteCommandLineArgument(supportPath);
    if (!options.timeoutEnabled) commandLine += " -disabletimeout";
    auto appendOption = [&](const char* option, const std::string& value) {
        commandLine += option + quoteCommandLineArgument(value);
    };
    if (options.tclBatchFile) appendOption(" -tclbatch ", *options.tclBatchFile);
    for (const std::string& view : options.viewFiles) appendOption(" -view ", view);
    if (options.openFile) appendOption(" -open ", *options.openFile);
    if (options.wdbFile) appendOption(" -wdb ", *options.wdbFile);
    if (!options.userOptions.empty()) {
        appendOption(" -userOptions ", frameUserOptions(options.userOptions));
    }
    return commandLine;
}

Result<ChildCommand> prepareGuiHandOver(const std::string& supportPath,
                                        const LauncherOptions& options) {
    return withinCommandLineLimit(std::string("the front end ") + kFrontEndName,
                                  {"", composeGuiCommandLine(supportPath, options)});
}
