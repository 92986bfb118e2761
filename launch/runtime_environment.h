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
    std::size_t rootsProbedForDsp = 0;   // the first roots, in order, looked at for the library
};

// The new PATH: the DSP entry, each root's directories, then the old PATH. `dspEnv` is
// VELDRA_DSP when set; `isPresent` tells whether a root holds the DSP library.
RuntimePath composeRuntimePath(const std::optional<std::string>& dspEnv,
                               const std::vector<std::string>& roots, const std::string& oldPath,
                               const FileProbe& isPresent);

// Passes when the composed PATH fits the platform's limit on an environment value.
Result<void> checkComposedPathLength(const std::string& path);

// What the launcher found under one installation root. The roots are looked at in order for the
// kernel until one holds it and, unless VELDRA_DSP is set, for the DSP library until one holds it.
struct InstallRoot {
    std::string path;
    bool lookedAt = false;
    bool holdsKernel = false;
    bool holdsDspLibrary = false;

    bool operator==(const InstallRoot&) const = default;
};

// Each root with what the two searches found there.
std::vector<InstallRoot> describeInstallRoots(const std::vector<std::string>& roots,
                                              const RuntimePath& runtimePath,
                                              const KernelSearch& kernel);

struct EnvironmentSetting {
    std::string name;
    std::string value;

    bool operator==(const EnvironmentSetting&) const = default;
};

// Set just before the hand-over; the started program inherits it.
inline const EnvironmentSetting kHandOverSetting{"PORT_DYNAMIC_DISABLE_MSG", "1"};

struct RuntimeEnvironment {
    std::optional<std::string> givenDspRoot;  // VELDRA_DSP as found
    std::vector<InstallRoot> roots;
    std::string path;                    // PATH as the launcher sets it
    std::optional<std::string> dspRoot;  // VELDRA_DSP as the launcher sets it; none: left alone
    KernelSearch kernel;
};

// The variables the started program gets from the launcher: PATH, VELDRA_DSP when it has one
// (given or derived), and the hand-over setting.
std::vector<EnvironmentSetting> startedProgramVariables(const RuntimeEnvironment& environment);

// Reads VELDRA, VELDRA_DSP and PATH, looks at the installation roots and finds the kernel. Nothing
// is set yet.
RuntimeEnvironment readRuntimeEnvironment();

// Sets PATH and possibly VELDRA_DSP for the program started later; fails, setting nothing, when
// the composed PATH is too long for the platform.
Result<void> applyRuntimeEnvironment(const RuntimeEnvironment& environment);
