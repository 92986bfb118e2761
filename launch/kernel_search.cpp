#include "launch/kernel_search.h"

std::string kernelRelativePath() {
    return platformBinDirectory() + "\\unwrapped\\" + kKernelName + ".exe";
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

KernelSearch findKernel(const std::optional<std::string>& veldra, const FileProbe& isPresent) {
    KernelSearch search;
    search.veldraSet = veldra.has_value();
    for (const std::string& root : splitInstallRoots(veldra.value_or(""))) {
        const std::string candidate = root + kernelRelativePath();
        search.searched.push_back(candidate);
        if (isPresent(candidate)) {
            search.kernelPath = candidate;
            break;
        }
    }
    return search;
}

std::string kernelNotFoundMessage(const KernelSearch& search) {
    const std::string prefix =
        std::string("ERROR: Cannot start the simulation kernel ") + kKernelName + ".exe: ";
    if (!search.veldraSet) {
        return prefix +
               "the environment variable VELDRA, which names the installation roots, "
               "is not set.";
    }
    if (search.searched.empty()) {
        return prefix + "the environment variable VELDRA names no installation root.";
    }
    std::string searched;
    for (const std::string& path : search.searched) {
        searched += (searched.empty() ? "" : ", ") + path;
    }
    return prefix + "no installation root in VELDRA holds it; searched " + searched + ".";
}
