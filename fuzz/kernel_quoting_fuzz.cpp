// The kernel command line: any argument vector, written by buildCommandLine, splits back into
// exactly that vector by the Microsoft C runtime's rules.
#include <cstdint>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "fuzz/fuzz_support.h"
#include "tests/support/c_runtime_split.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> arguments = splitAtNul(asText(data, size));
    const std::string commandLine = buildCommandLine(arguments);
    FUZZ_CHECK(splitLikeTheCRuntime(commandLine) == arguments);
    return 0;
}
