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

// One command file that was read: the encoding it was read in and how many arguments it gave.
struct CommandFileRead {
    std::string path;
    CommandFileEncoding encoding = CommandFileEncoding::utf8;
    std::size_t argumentCount = 0;

    bool operator==(const CommandFileRead&) const = default;
};

struct ExpandedArguments {
    std::vector<std::string> arguments;      // program name first, every command file spliced in
    std::vector<CommandFileRead> filesRead;  // in the order they were read

    bool operator==(const ExpandedArguments&) const = default;
};

// The program arguments with every "-f" and its file name replaced by the file's arguments, each
// file decoded (decodeCommandFile) before it is tokenized.
Result<ExpandedArguments> expandArguments(const std::vector<std::string>& programArgs,
                                          const FileReader& readFile, const AnsiToUtf8& ansi);

// The process's arguments with its command files expanded, read from the files.
Result<ExpandedArguments> expandCommandFiles(const std::vector<std::string>& programArgs);
