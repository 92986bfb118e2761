// Installation roots, PATH, the DSP root and the search for the kernel.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "launch/launch_state.h"

inline constexpr const char* kPlatformDir = "nt64";

// The kernel and the DSP library, relative to an installation root.
std::string kernelRelativePath();
std::string dspLibraryRelativePath();

// The roots listed in VELDRA: ";" separates them, empty entries are skipped, each root is kept
// exactly as written.
std::vector<std::string> splitInstallRoots(const std::string& veldra);

struct RuntimeEnvironment {
    std::string path;                    // the new PATH value
    std::optional<std::string> dspRoot;  // set when VELDRA_DSP must be set to a root
    std::string kernelPath;              // empty when no root holds the kernel
};

using IsPresent = std::function<bool(const std::string&)>;

// Composes the environment the started program inherits. `dspEnv` is VELDRA_DSP when set;
// `isPresent` tells whether a file is there.
RuntimeEnvironment composeRuntimeEnvironment(const std::optional<std::string>& dspEnv,
                                             const std::vector<std::string>& roots,
                                             const std::string& oldPath,
                                             const IsPresent& isPresent);

// The message for a composed PATH too long for the platform; none when it fits.
std::optional<std::string> pathTooLongMessage(const std::string& path);

// Reads VELDRA, VELDRA_DSP and PATH, sets PATH and possibly VELDRA_DSP, fills the kernel path.
void setUpEnvironment(LaunchState& state);
