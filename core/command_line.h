// Command lines of the programs the launcher starts: how values are written into them, and the
// platform's limit on their length.
#pragma once

#include <string>
#include <vector>

#include "core/result.h"

// What a hand-over starts.
struct ChildCommand {
    std::string program;  // the program file; empty when the system's search finds it
    std::string commandLine;
};

// One argument written so that the C runtime of the started program splits it back exactly.
std::string quoteCommandLineArgument(const std::string& argument);

// The arguments, each quoted, joined by single spaces.
std::string buildCommandLine(const std::vector<std::string>& arguments);

// The message for a command line of `length` UTF-16 units, too long for the platform. `what`
// names the started program for the user.
std::string commandLineTooLongMessage(const std::string& what, std::size_t length);

// The command line when it fits the platform's limit; the message above otherwise.
Result<ChildCommand> withinCommandLineLimit(const std::string& what, ChildCommand command);
