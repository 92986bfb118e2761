// Expansion of "-f" command files into the argument list.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launch/launch_state.h"

inline constexpr const char* kCommandFileNotFound = "Command file for -f not found";
inline constexpr const char* kCommandFileParseError = "Error in parsing -f file";
inline constexpr const char* kCommandFileUnclosedQuote = "Error: Matching closing \" was not found";

struct CommandFileTokens {
    std::vector<std::string> arguments;
    std::optional<std::string> error;  // the message of the first error; arguments are then void
};

// Splits the text of one command file into its arguments.
CommandFileTokens tokenizeCommandFile(std::string_view text);

using ReadCommandFile = std::optional<std::string> (*)(const std::string& path);

// The program arguments with every "-f" and its file name replaced by the file's arguments;
// the message of the first error otherwise.
struct ExpandedArguments {
    std::vector<std::string> arguments;
    std::optional<std::string> error;
};
ExpandedArguments expandArguments(const std::vector<std::string>& programArgs,
                                  ReadCommandFile readFile);

// Fills the expanded argument list from the process's arguments; ends the launch on an error.
void expandCommandFiles(LaunchState& state, int argc, char** argv);
