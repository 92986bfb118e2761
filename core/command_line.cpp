#include "core/command_line.h"

#include "platform/platform.h"
#include "text/wtf8.h"

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

std::string commandLineTooLongMessage(const std::string& what, std::size_t length) {
    return "ERROR: The command line for " + what + " is " + std::to_string(length) +
           " characters long; the platform's limit is " +
           std::to_string(platform::kMaxCommandLine - 1) + " characters.";
}

Result<ChildCommand> withinCommandLineLimit(const std::string& what, ChildCommand command) {
    // The platform counts UTF-16 units.
    const std::size_t length = utf16LengthOfWtf8(command.commandLine);
    if (length >= platform::kMaxCommandLine)
        return Failure{commandLineTooLongMessage(what, length)};
    return command;
}
