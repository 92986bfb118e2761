// The search for the simulation kernel under the installation roots.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/file_probe.h"
#include "launch/install_layout.h"

// The kernel, relative to an installation root.
std::string kernelRelativePath();

// The roots listed in VELDRA: ";" separates them, empty entries are skipped, each root is kept
// exactly as written.
std::vector<std::string> splitInstallRoots(const std::string& veldra);

struct KernelSearch {
    bool veldraSet = false;
    std::vector<std::string> searched;  // every path looked at, in order
    std::string kernelPath;             // the first of them that is present; empty when none is

    bool found() const { return !kernelPath.empty(); }
};

// Looks for the kernel under each root VELDRA names, in order, until one holds it.
KernelSearch findKernel(const std::optional<std::string>& veldra, const FileProbe& isPresent);

// Why the kernel cannot be started when the search did not find it.
std::string kernelNotFoundMessage(const KernelSearch& search);
