// The command-file tokenizer on any bytes: no crash, no read past the text, and what holds for
// every file, accepted or not.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "args/command_files.h"
#include "fuzz/fuzz_support.h"

namespace {

using Tokens = Result<std::vector<std::string>>;

bool sameResult(const Tokens& a, const Tokens& b) {
    if (a.ok() != b.ok()) return false;
    return a.ok() ? *a == *b : a.failure().message == b.failure().message;
}

// The text with a carriage return before every line feed that has none.
std::string withCarriageReturns(std::string_view text) {
    std::string result;
    result.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
        result += text[i];
    }
    return result;
}

// How many times "" stands in the text, the pairs not overlapping.
std::size_t emptyQuotedArguments(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("\"\""); at != std::string_view::npos;
         at = text.find("\"\"", at + 2)) {
        ++count;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // libFuzzer passes a heap copy of exactly `size` bytes, so AddressSanitizer reports any read
    // past the text.
    const std::string_view text = asText(data, size);
    const Tokens tokens = tokenizeCommandFile(text);

    if (!tokens) {
        // "Command file for -f not found" belongs to the opener, never to the text.
        FUZZ_CHECK(tokens.failure().message == kCommandFileParseError ||
                   tokens.failure().message == kCommandFileUnclosedQuote);
    } else {
        // A NUL anywhere fails the file: accepted text holds none.
        FUZZ_CHECK(text.find('\0') == std::string_view::npos);
        // Arguments are taken as they stand and in order: each is a piece of the text after the
        // previous one. None holds a line feed or a double quote (a quote either opens a quoted
        // argument or closes one, or fails the file), and only "" gives an empty one.
        std::size_t from = 0;
        std::size_t empty = 0;
        for (const std::string& argument : *tokens) {
            FUZZ_CHECK(argument.find_first_of("\n\"") == std::string::npos);
            const std::size_t at = text.find(argument, from);
            FUZZ_CHECK(at != std::string_view::npos);
            from = at + argument.size();
            empty += argument.empty();
        }
        FUZZ_CHECK(empty <= emptyQuotedArguments(text));
        // Written back as a file, every argument quoted, they read the same.
        std::string quoted;
        for (const std::string& argument : *tokens) quoted += " \"" + argument + '"';
        FUZZ_CHECK(sameResult(tokenizeCommandFile(quoted), tokens));
    }

    // Lines are independent: the file cut after its first line feed gives the first line's
    // arguments, then the rest's, or the first error of the two.
    const std::size_t lineFeed = text.find('\n');
    if (lineFeed != std::string_view::npos) {
        const Tokens head = tokenizeCommandFile(text.substr(0, lineFeed + 1));
        const Tokens tail = tokenizeCommandFile(text.substr(lineFeed + 1));
        if (!head) {
            FUZZ_CHECK(sameResult(tokens, head));
        } else if (!tail) {
            FUZZ_CHECK(sameResult(tokens, tail));
        } else {
            std::vector<std::string> joined = *head;
            joined.insert(joined.end(), tail->begin(), tail->end());
            FUZZ_CHECK(tokens.ok() && *tokens == joined);
        }
    }

    // Line ends: Windows line ends, and a line feed after a last line without one, change nothing.
    FUZZ_CHECK(sameResult(tokenizeCommandFile(withCarriageReturns(text)), tokens));
    if (!text.empty() && text.back() != '\n') {
        FUZZ_CHECK(sameResult(tokenizeCommandFile(std::string(text) + '\n'), tokens));
    }
    return 0;
}
