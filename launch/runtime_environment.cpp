#include "launch/runtime_environment.h"

#include "platform/platform.h"
#include "text/wtf8.h"

std::string dspLibraryRelativePath() {
    return std::string("\\quillo\\bin\\") + kPlatformDir + "\\vantrel_api.dll";
}

RuntimePath composeRuntimePath(const std::optional<std::string>& dspEnv,
                               const std::vector<std::string>& roots, const std::string& oldPath,
                               const FileProbe& isPresent) {
    const std::string dspBinDir = std::string("\\quillo\\bin\\") + kPlatformDir;
    const std::string dspLibrary = dspLibraryRelativePath();

    RuntimePath result;
    bool dspSettled = false;
    if (dspEnv) {
        result.path += *dspEnv + dspBinDir + ";";
        dspSettled = true;
    }
    for (const std::string& root : roots) {
        result.path += root + "\\lib\\" + kPlatformDir + ";";
        result.path += root + "\\bin\\" + kPlatformDir + "\\Microsoft.VC80.CRT;";
        result.path += root + "\\bin\\" + kPlatformDir + "\\Microsoft.VC80.MFC;";
        if (!dspSettled && isPresent(root + dspLibrary)) {
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

Result<RuntimeEnvironment> setUpEnvironment() {
    const std::optional<std::string> veldra = platform::getEnvironmentVariable("VELDRA");
    const FileProbe isPresent = platform::opensForReading;
    RuntimePath runtimePath = composeRuntimePath(
        platform::getEnvironmentVariable("VELDRA_DSP"), splitInstallRoots(veldra.value_or("")),
        platform::getEnvironmentVariable("PATH").value_or(""), isPresent);
    if (Result<void> fits = checkComposedPathLength(runtimePath.path); !fits) {
        return fits.failure();
    }

    if (runtimePath.dspRoot) platform::setEnvironmentVariable("VELDRA_DSP", *runtimePath.dspRoot);
    platform::setEnvironmentVariable("PATH", runtimePath.path);
    return RuntimeEnvironment{std::move(runtimePath.path), std::move(runtimePath.dspRoot),
                              findKernel(veldra, isPresent)};
}
