// The launcher's process-wide state: what each stage leaves for the later ones.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct LaunchState {
    // The argument list, program name first, with command files spliced in.
    std::vector<std::string> expandedArgs;

    bool guiMode = false;
    bool timeoutEnabled = true;
    std::optional<std::string> tclBatchFile;
    std::vector<std::string> viewFiles;
    std::optional<std::string> openFile;
    std::optional<std::string> wdbFile;
    std::string userOptions = "\\\"";
    bool hasUserOptions = false;

    bool logDisabled = false;
    std::string logFileName = "kivo.log";

    // Full path of the kernel program; empty until a root is found to hold it.
    std::string kernelPath;
    // What the kernel search went through, for the message when nothing held the kernel.
    bool installRootsSet = false;
    std::vector<std::string> installRoots;

    // Relative path of the design's simulation image.
    std::string supportPath;
};
