// The environment the started program inherits: PATH, the DSP root, and where the kernel is.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/file_probe.h"
#include "core/result.h"
#include "launch/kernel_search.h"

// The DSP library, relative to an installation root.
std::string dspLibraryRelativePath();

struct RuntimePath {
    std::string path;                    // the new PATH value
    std::optional<std::string> dspRoot;  // set when VELDRA_DSP must be set to a root
};

// The new PATH: the DSP entry, each root's directories, then the old PATH. `dspEnv` is
// VELDRA_DSP when set; `isPresent` tells whether a root holds the DSP library.
RuntimePath composeRuntimePath(const std::optional<std::string>& dspEnv,
                               const std::vector<std::string>& roots, const std::string& oldPath,
                               const FileProbe& isPresent);

// Passes when the composed PATH fits the platform's limit on an environment value.
Result<void> checkComposedPathLength(const std::string& path);

struct RuntimeEnvironment {
    std::string path;                    // PATH as the launcher set it
    std::optional<std::string> dspRoot;  // VELDRA_DSP as the launcher set it; none: left alone
    KernelSearch kernel;
};

// Reads VELDRA, VELDRA_DSP and PATH, finds the kernel, and sets PATH and possibly VELDRA_DSP for
// the program started later.
Result<RuntimeEnvironment> setUpEnvironment();
