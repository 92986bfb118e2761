#include "launch/kernel_handover.h"

#include "launch/failure.h"
#include "launch/runtime_environment.h"
#include "platform/platform.h"

std::vector<std::string> kernelArgumentVector(const std::string& supportPath,
                                              const std::vector<std::string>& expandedArgs) {
    std::vector<std::string> arguments{"kivotcl", "-exe", supportPath};
    if (expandedArgs.size() > 1) {
        arguments.insert(arguments.end(), expandedArgs.begin() + 1, expandedArgs.end());
    }
    return arguments;
}

// Backslashes are literal except before a double quote: n of them before a literal quote are
// written as 2n+1, and n before the closing quote as 2n.
std::string quoteCommandLineArgument(const std::string& argument) {
    const bool quoted = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
    std::string result;
    if (quoted) result += '"';
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            result.append(2 * backslashes + 1, '\\');
        } else {
            result.append(backslashes, '\\');
        }
        result += c;
        backslashes = 0;
    }
    if (quoted) {
        result.append(2 * backslashes, '\\');
        result += '"';
    } else {
        result.append(backslashes, '\\');
    }
    return result;
}

std::string buildCommandLine(const std::vector<std::string>& arguments) {
    std::string commandLine;
    for (const std::string& argument : arguments) {
        if (!commandLine.empty()) commandLine += ' ';
        commandLine += quoteCommandLineArgument(argument);
    }
    return commandLine;
}

std::optional<std::string> commandLineTooLongMessage(const std::string& what,
                                                     const std::string& commandLine) {
    if (commandLine.size() < platform::kMaxCommandLine) return std::nullopt;
    return "ERROR: The command line for " + what + " is " + std::to_string(commandLine.size()) +
           " characters long; the platform's limit is " +
           std::to_string(platform::kMaxCommandLine - 1) + " characters.";
}

std::string kernelNotFoundMessage(const LaunchState& state) {
    const std::string prefix = "ERROR: Cannot start the simulation kernel kivotcl.exe: ";
    if (!state.installRootsSet) {
        return prefix +
               "the environment variable VELDRA, which names the installation roots, "
               "is not set.";
    }
    if (state.installRoots.empty()) {
        return prefix + "the environment variable VELDRA names no installation root.";
    }
    std::string searched;
    for (const std::string& root : state.installRoots) {
        searched += (searched.empty() ? "" : ", ") + root + kernelRelativePath();
    }
    return prefix + "no installation root in VELDRA holds it; searched " + searched + ".";
}

void ignoreInterrupt(int) { platform::registerInterruptHandler(ignoreInterrupt); }

std::string prepareKernelCommandLine(const LaunchState& state) {
    if (state.kernelPath.empty()) failLaunch(kernelNotFoundMessage(state));
    const std::string commandLine =
        buildCommandLine(kernelArgumentVector(state.supportPath, state.expandedArgs));
    if (auto message = commandLineTooLongMessage("the simulation kernel", commandLine)) {
        failLaunch(*message);
    }
    return commandLine;
}

void launchKernel(const LaunchState& state, const std::string& commandLine) {
    platform::registerInterruptHandler(ignoreInterrupt);
    const platform::ChildResult kernel = platform::runKernel(state.kernelPath, commandLine);
    if (!kernel.started) {
        failLaunch("ERROR: Cannot start the simulation kernel " + state.kernelPath + ": " +
                   kernel.error);
    }
    platform::exitProcess(kernel.exitStatus);
}
