// The kernel command line: any argument vector, written by buildCommandLine, splits back into
// exactly that vector by the Microsoft C runtime's rules.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "launch/kernel_handover.h"

namespace {

// The C runtime's documented splitting of a command line, every argument alike: outside
// quotes, spaces and tabs separate arguments; 2n backslashes and a double quote give n
// backslashes and the quote opens or closes quoting; 2n+1 backslashes and a double quote give n
// backslashes and a literal double quote; other backslashes are literal.
std::vector<std::string> splitLikeTheCRuntime(std::string_view line) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool inQuotes = false;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '\\') {
            std::size_t run = 0;
            while (i + run < line.size() && line[i + run] == '\\') ++run;
            i += run;
            if (i < line.size() && line[i] == '"') {
                current.append(run / 2, '\\');
                if (run % 2 == 1) {
                    current += '"';
                } else {
                    inQuotes = !inQuotes;
                }
                ++i;
            } else {
                current.append(run, '\\');
            }
            inArgument = true;
        } else if (c == '"') {
            inQuotes = !inQuotes;
            inArgument = true;
            ++i;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (inArgument) arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
            ++i;
        } else {
            current += c;
            inArgument = true;
            ++i;
        }
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> arguments = splitAtNul(asText(data, size));
    const std::string commandLine = buildCommandLine(arguments);
    FUZZ_CHECK(splitLikeTheCRuntime(commandLine) == arguments);
    return 0;
}
