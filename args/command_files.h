// Expansion of "-f" command files into the argument list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "args/command_file_text.h"
#include "core/file_probe.h"
#include "core/result.h"

inline constexpr const char* kCommandFileNotFound = "Command file for -f not found";
inline constexpr const char* kCommandFileParseError = "Error in parsing -f file";
inline constexpr const char* kCommandFileUnclosedQuote = "Error: Matching closing \" was not found";

// Splits the text of one command file into its arguments.
Result<std::vector<std::string>> tokenizeCommandFile(std::string_view text);

// A command file that was read, and the encoding it was read in.
struct CommandFileRead {
    std::string path;
    CommandFileEncoding encoding;

    bool operator==(const CommandFileRead&) const = default;
};

struct ExpandedArguments {
    std::vector<std::string> arguments;
    std::vector<CommandFileRead> filesRead;  // in the order they were read
};

// The program arguments with every "-f" and its file name replaced by the file's arguments, each
// file decoded (decodeCommandFile) before it is tokenized.
Result<ExpandedArguments> expandArguments(const std::vector<std::string>& programArgs,
                                          const FileReader& readFile, const AnsiToUtf8& ansi);

// The process's arguments with its command files expanded, read from the files.
Result<std::vector<std::string>> expandCommandFiles(const std::vector<std::string>& programArgs);
