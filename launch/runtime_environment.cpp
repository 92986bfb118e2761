#include "launch/runtime_environment.h"

#include "launch/failure.h"
#include "platform/platform.h"

std::string kernelRelativePath() {
    return std::string("\\bin\\") + kPlatformDir + "\\unwrapped\\kivotcl.exe";
}

std::string dspLibraryRelativePath() {
    return std::string("\\quillo\\bin\\") + kPlatformDir + "\\vantrel_api.dll";
}

std::vector<std::string> splitInstallRoots(const std::string& veldra) {
    std::vector<std::string> roots;
    std::size_t start = 0;
    while (start <= veldra.size()) {
        std::size_t end = veldra.find(';', start);
        if (end == std::string::npos) end = veldra.size();
        if (end > start) roots.push_back(veldra.substr(start, end - start));
        start = end + 1;
    }
    return roots;
}

RuntimeEnvironment composeRuntimeEnvironment(const std::optional<std::string>& dspEnv,
                                             const std::vector<std::string>& roots,
                                             const std::string& oldPath,
                                             const IsPresent& isPresent) {
    const std::string dspBinDir = std::string("\\quillo\\bin\\") + kPlatformDir;
    const std::string kernelFile = kernelRelativePath();
    const std::string dspLibrary = dspLibraryRelativePath();

    RuntimeEnvironment result;
    bool dspSettled = false;
    if (dspEnv) {
        result.path += *dspEnv + dspBinDir + ";";
        dspSettled = true;
    }
    for (const std::string& root : roots) {
        result.path += root + "\\lib\\" + kPlatformDir + ";";
        result.path += root + "\\bin\\" + kPlatformDir + "\\Microsoft.VC80.CRT;";
        result.path += root + "\\bin\\" + kPlatformDir + "\\Microsoft.VC80.MFC;";
        if (result.kernelPath.empty() && isPresent(root + kernelFile)) {
            result.kernelPath = root + kernelFile;
        }
        if (!dspSettled && isPresent(root + dspLibrary)) {
            result.dspRoot = root;
            result.path += root + dspBinDir + ";";
            dspSettled = true;
        }
    }
    result.path += oldPath;
    return result;
}

std::optional<std::string> pathTooLongMessage(const std::string& path) {
    if (path.size() < platform::kMaxEnvironmentValue) return std::nullopt;
    return "ERROR: The composed PATH is " + std::to_string(path.size()) +
           " characters long; the platform's limit on an environment value is " +
           std::to_string(platform::kMaxEnvironmentValue - 1) +
           " characters. Shorten VELDRA or PATH.";
}

void setUpEnvironment(LaunchState& state) {
    const std::optional<std::string> veldra = platform::getEnvironmentVariable("VELDRA");
    state.installRootsSet = veldra.has_value();
    state.installRoots = splitInstallRoots(veldra.value_or(""));

    const RuntimeEnvironment environment = composeRuntimeEnvironment(
        platform::getEnvironmentVariable("VELDRA_DSP"), state.installRoots,
        platform::getEnvironmentVariable("PATH").value_or(""),
        [](const std::string& file) { return platform::opensForReading(file, true); });

    if (auto message = pathTooLongMessage(environment.path)) failLaunch(*message);
    if (environment.dspRoot) platform::setEnvironmentVariable("VELDRA_DSP", *environment.dspRoot);
    platform::setEnvironmentVariable("PATH", environment.path);
    state.kernelPath = environment.kernelPath;
}
