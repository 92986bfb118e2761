// The hand-over to the simulation kernel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/result.h"
#include "launch/kernel_search.h"

// "kivotcl", "-exe", the support path, then the arguments after the program name.
std::vector<std::string> kernelArgumentVector(const std::string& supportPath,
                                              const std::vector<std::string>& arguments);

// The kernel and its command line; fails when the search found no kernel or the line is too long
// for the platform.
Result<ChildCommand> prepareKernelHandOver(const KernelSearch& search,
                                           const std::string& supportPath,
                                           const std::vector<std::string>& arguments);

// The message for a kernel that the system could not start.
std::string kernelStartFailedMessage(const std::string& kernelPath, const std::string& error);
