// The hand-over to the simulation kernel.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "launch/launch_state.h"

// "kivotcl", "-exe", the support path, then the expanded arguments after the program name.
std::vector<std::string> kernelArgumentVector(const std::string& supportPath,
                                              const std::vector<std::string>& expandedArgs);

// One argument written so that the C runtime of the started program splits it back exactly.
std::string quoteCommandLineArgument(const std::string& argument);

// The arguments, each quoted, joined by single spaces.
std::string buildCommandLine(const std::vector<std::string>& arguments);

// The message for a command line too long for the platform; none when it fits. `what` names the
// started program for the user.
std::optional<std::string> commandLineTooLongMessage(const std::string& what,
                                                     const std::string& commandLine);

// Why the kernel cannot be started when no root held it.
std::string kernelNotFoundMessage(const LaunchState& state);

// The console-interrupt handler: registers itself again, so every interrupt is ignored.
void ignoreInterrupt(int signalNumber);

// The kernel's command line; ends the launch when no root holds the kernel or the line is too
// long. Runs before the run log is written, so a launch that cannot start leaves the log alone.
std::string prepareKernelCommandLine(const LaunchState& state);

// Starts the kernel with the prepared command line, waits for it and ends the launcher with its
// exit status.
[[noreturn]] void launchKernel(const LaunchState& state, const std::string& commandLine);
