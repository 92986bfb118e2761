#include "launch/kernel_handover.h"

#include "launch/install_layout.h"

std::vector<std::string> kernelArgumentVector(const std::string& supportPath,
                                              const std::vector<std::string>& arguments) {
    std::vector<std::string> vector{kKernelName, "-exe", supportPath};
    vector.insert(vector.end(), arguments.begin(), arguments.end());
    return vector;
}

Result<ChildCommand> prepareKernelHandOver(const KernelSearch& search,
                                           const std::string& supportPath,
                                           const std::vector<std::string>& arguments) {
    if (!search.found()) return Failure{kernelNotFoundMessage(search)};
    return withinCommandLineLimit(
        "the simulation kernel",
        {search.kernelPath, buildCommandLine(kernelArgumentVector(supportPath, arguments))});
}

std::string kernelStartFailedMessage(const std::string& kernelPath, const std::string& error) {
    return "ERROR: Cannot start the simulation kernel " + kernelPath + ": " + error;
}
