#include "launch/runtime_environment.h"

#include "platform/platform.h"
#include "text/wtf8.h"

std::string dspLibraryRelativePath() { return dspBinDirectory() + "\\vantrel_api.dll"; }

RuntimePath composeRuntimePath(const std::optional<std::string>& dspEnv,
                               const std::vector<std::string>& roots, const std::string& oldPath,
                               const FileProbe& isPresent) {
    const std::string dspBinDir = dspBinDirectory();
    const std::string binDir = platformBinDirectory();
    const std::string dspLibrary = dspLibraryRelativePath();

    RuntimePath result;
    bool dspSettled = false;
    if (dspEnv) {
        // Set but empty, it names no directory: its entry would be one at the root of the
        // current drive, which nobody asked for. It still settles the DSP root.
        if (!dspEnv->empty()) result.path += *dspEnv + dspBinDir + ";";
        dspSettled = true;
    }
    for (const std::string& root : roots) {
        result.path += root + platformLibDirectory() + ";";
        result.path += root + binDir + "\\Microsoft.VC80.CRT;";
        result.path += root + binDir + "\\Microsoft.VC80.MFC;";
        if (dspSettled) continue;
        ++result.rootsProbedForDsp;
        if (isPresent(root + dspLibrary)) {
            result.dspRoot = root;
            result.path += root + dspBinDir + ";";
            dspSettled = true;
        }
    }
    result.path += oldPath;
    return result;
}

Result<void> checkComposedPathLength(const std::string& path) {
    // The platform counts UTF-16 units.
    const std::size_t length = utf16LengthOfWtf8(path);
    if (length < platform::kMaxEnvironmentValue) return {};
    return Failure{"ERROR: The composed PATH is " + std::to_string(length) +
                   " characters long; the platform's limit on an environment value is " +
                   std::to_string(platform::kMaxEnvironmentValue - 1) +
                   " characters. Shorten VELDRA or PATH."};
}

std::vector<InstallRoot> describeInstallRoots(const std::vector<std::string>& roots,
                                              const RuntimePath& runtimePath,
                                              const KernelSearch& kernel) {
    // Both searches look at the roots in order and stop at the first that holds what they seek.
    const std::size_t probedForKernel = kernel.searched.size();
    const std::size_t probedForDsp = runtimePath.rootsProbedForDsp;
    std::vector<InstallRoot> described;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        described.push_back({roots[i], i < probedForKernel || i < probedForDsp,
                             kernel.found() && i + 1 == probedForKernel,
                             runtimePath.dspRoot.has_value() && i + 1 == probedForDsp});
    }
    return described;
}

std::vector<EnvironmentSetting> startedProgramVariables(const RuntimeEnvironment& environment) {
    std::vector<EnvironmentSetting> variables{{"PATH", environment.path}};
    const std::optional<std::string>& dspRoot =
        environment.dspRoot ? environment.dspRoot : environment.givenDspRoot;
    if (dspRoot) variables.push_back({"VELDRA_DSP", *dspRoot});
    variables.push_back(kHandOverSetting);
    return variables;
}

RuntimeEnvironment readRuntimeEnvironment() {
    const std::optional<std::string> veldra = platform::getEnvironmentVariable("VELDRA");
    const std::vector<std::string> roots = splitInstallRoots(veldra.value_or(""));
    const FileProbe isPresent = platform::opensForReading;
    RuntimeEnvironment environment;
    environment.givenDspRoot = platform::getEnvironmentVariable("VELDRA_DSP");
    RuntimePath runtimePath =
        composeRuntimePath(environment.givenDspRoot, roots,
                           platform::getEnvironmentVariable("PATH").value_or(""), isPresent);
    environment.kernel = findKernel(veldra, isPresent);
    environment.roots = describeInstallRoots(roots, runtimePath, environment.kernel);
    environment.path = std::move(runtimePath.path);
    environment.dspRoot = std::move(runtimePath.dspRoot);
    return environment;
}

Result<void> applyRuntimeEnvironment(const RuntimeEnvironment& environment) {
    if (Result<void> fits = checkComposedPathLength(environment.path); !fits) return fits;
    if (environment.dspRoot) platform::setEnvironmentVariable("VELDRA_DSP", *environment.dspRoot);
    platform::setEnvironmentVariable("PATH", environment.path);
    return {};
}
