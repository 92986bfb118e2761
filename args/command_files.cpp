#include "args/command_files.h"

#include "platform/platform.h"

namespace {

// Splits one line (without its line end) into arguments. Returns the error message, or null.
const char* tokenizeLine(std::string_view line, std::vector<std::string>& out) {
    // A NUL could not reach the kernel inside an argument, and must not end the file early.
    if (line.find('\0') != std::string_view::npos) return kCommandFileParseError;
    std::size_t i = line.find_first_not_of(' ');
    if (i == std::string_view::npos || line[i] == '#') return nullptr;

    auto skipSpaces = [&] {
        while (i < line.size() && line[i] == ' ') ++i;
    };
    while (i < line.size()) {
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) return kCommandFileUnclosedQuote;
            out.emplace_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
            skipSpaces();
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ') {
            if (line[i] == '"') return kCommandFileParseError;
            ++i;
        }
        out.emplace_back(line.substr(start, i - start));
        skipSpaces();
    }
    return nullptr;
}

}  // namespace

Result<std::vector<std::string>> tokenizeCommandFile(std::string_view text) {
    std::vector<std::string> arguments;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (const char* error = tokenizeLine(line, arguments)) return Failure{error};
        lineStart = lineEnd + 1;
    }
    return arguments;
}

Result<ExpandedArguments> expandArguments(const std::vector<std::string>& programArgs,
                                          const FileReader& readFile, const AnsiToUtf8& ansi) {
    ExpandedArguments expanded;
    if (programArgs.empty()) return expanded;
    expanded.arguments.push_back(programArgs[0]);
    for (std::size_t i = 1; i < programArgs.size(); ++i) {
        if (programArgs[i] != "-f") {
            expanded.arguments.push_back(programArgs[i]);
            continue;
        }
        const std::optional<std::string> bytes =
            ++i < programArgs.size() ? readFile(programArgs[i]) : std::nullopt;
        if (!bytes) return Failure{kCommandFileNotFound};
        const Result<DecodedCommandFile> file = decodeCommandFile(*bytes, ansi);
        if (!file) return file.failure();
        Result<std::vector<std::string>> tokens = tokenizeCommandFile(file->text);
        if (!tokens) return tokens.failure();
        expanded.filesRead.push_back({programArgs[i], file->encoding, tokens->size()});
        for (std::string& argument : std::move(tokens).value()) {
            expanded.arguments.push_back(std::move(argument));
        }
    }
    return expanded;
}

Result<ExpandedArguments> expandCommandFiles(const std::vector<std::string>& programArgs) {
    return expandArguments(programArgs, platform::readWholeFile, platform::ansiToUtf8);
}
