#include "args/command_files.h"

#include "launch/failure.h"
#include "platform/platform.h"

namespace {

// Splits one line (without its line end) into arguments. Returns the error message, if any.
std::optional<std::string> tokenizeLine(std::string_view line, std::vector<std::string>& out) {
    // A NUL could not reach the kernel inside an argument, and must not end the file early.
    if (line.find('\0') != std::string_view::npos) return kCommandFileParseError;
    std::size_t i = line.find_first_not_of(' ');
    if (i == std::string_view::npos || line[i] == '#') return std::nullopt;

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
    return std::nullopt;
}

}  // namespace

CommandFileTokens tokenizeCommandFile(std::string_view text) {
    CommandFileTokens tokens;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) lineEnd = text.size();
        std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (auto error = tokenizeLine(line, tokens.arguments)) {
            tokens.arguments.clear();
            tokens.error = std::move(error);
            return tokens;
        }
        lineStart = lineEnd + 1;
    }
    return tokens;
}

ExpandedArguments expandArguments(const std::vector<std::string>& programArgs,
                                  ReadCommandFile readFile) {
    ExpandedArguments expanded;
    if (programArgs.empty()) return expanded;
    expanded.arguments.push_back(programArgs[0]);
    for (std::size_t i = 1; i < programArgs.size(); ++i) {
        if (programArgs[i] != "-f") {
            expanded.arguments.push_back(programArgs[i]);
            continue;
        }
        const std::optional<std::string> text =
            ++i < programArgs.size() ? readFile(programArgs[i]) : std::nullopt;
        if (!text) {
            expanded.error = kCommandFileNotFound;
            return expanded;
        }
        CommandFileTokens tokens = tokenizeCommandFile(*text);
        if (tokens.error) {
            expanded.error = std::move(tokens.error);
            return expanded;
        }
        for (std::string& argument : tokens.arguments) {
            expanded.arguments.push_back(std::move(argument));
        }
    }
    return expanded;
}

void expandCommandFiles(LaunchState& state, int argc, char** argv) {
    ExpandedArguments expanded =
        expandArguments(std::vector<std::string>(argv, argv + argc), platform::readWholeFile);
    if (expanded.error) failLaunch(*expanded.error);
    state.expandedArgs = std::move(expanded.arguments);
}
