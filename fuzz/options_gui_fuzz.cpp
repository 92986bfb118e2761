// The option reader and the front end's command line on any expanded argument list: no crash,
// what holds for the real reader's results whatever the list, and a command line that the front
// end's C runtime splits back into exactly the values read.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "args/launcher_options.h"
#include "fuzz/fuzz_support.h"
#include "launch/gui_handover.h"
#include "launch/support_file.h"
#include "tests/support/c_runtime_split.h"

namespace {

using Arguments = std::vector<std::string>;

// The first byte answers the file probes, one bit per probe in turn.
struct Answers {
    std::uint8_t bits;
    std::size_t asked = 0;
    bool lastAnswer = true;

    FileProbe probe() {
        return [this](const std::string&) {
            lastAnswer = (bits >> (asked++ % 8)) & 1;
            return lastAnswer;
        };
    }
};

Result<LauncherOptions> read(const Arguments& expanded, std::uint8_t bits) {
    Answers answers{bits};
    return readLauncherOptions(expanded, answers.probe());
}

Arguments with(Arguments list, std::size_t at, const std::string& entry) {
    list.insert(list.begin() + at, entry);
    return list;
}

}  // namespace

// After the first byte, the bytes split at NUL bytes are the expanded argument list, program
// name first.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t bits = data[0];
    const Arguments expanded = splitAtNul(asText(data + 1, size - 1));
    Answers answers{bits};
    const Result<LauncherOptions> result = readLauncherOptions(expanded, answers.probe());

    // A word that is no option, put first, is the first user option and changes nothing else.
    const std::string plain = "plain-word";
    const Result<LauncherOptions> prefixed = read(with(expanded, 1, plain), bits);
    FUZZ_CHECK(prefixed.ok() == result.ok());

    if (!result) {
        // A missing value is the last entry's; a Tcl file is missing only when a probe said so.
        const std::string& message = result.failure().message;
        const std::string& last = expanded.back();
        if (message == kTclBatchValueMissing) {
            FUZZ_CHECK(last == "-tclbatch");
        } else if (message == kViewValueMissing) {
            FUZZ_CHECK(last == "-view");
        } else if (message == kOpenValueMissing) {
            FUZZ_CHECK(last == "-open");
        } else {
            FUZZ_CHECK(message == kTclFileNotFound && !answers.lastAnswer);
        }
        FUZZ_CHECK(prefixed.failure().message == message);
        return 0;
    }
    const LauncherOptions& options = *result;

    LauncherOptions expectedPrefixed = options;
    expectedPrefixed.arguments.insert(expectedPrefixed.arguments.begin(), plain);
    expectedPrefixed.userOptions.insert(expectedPrefixed.userOptions.begin(), plain);
    FUZZ_CHECK(*prefixed == expectedPrefixed);

    // "-gui" put first switches to GUI mode and changes nothing else but the argument list.
    const Result<LauncherOptions> gui = read(with(expanded, 1, "-gui"), bits);
    FUZZ_CHECK(gui.ok());
    LauncherOptions expectedGui = options;
    expectedGui.guiMode = true;
    expectedGui.arguments.insert(expectedGui.arguments.begin(), "-gui");
    FUZZ_CHECK(*gui == expectedGui);

    // The kernel's list keeps every entry after the program name; one changes only into the
    // normalised name after a -wdb.
    FUZZ_CHECK(options.arguments.size() == expanded.size() - 1);
    for (std::size_t i = 0; i < options.arguments.size(); ++i) {
        if (options.arguments[i] == expanded[i + 1]) continue;
        FUZZ_CHECK(i >= 1 && expanded[i] == "-wdb");
        FUZZ_CHECK(options.arguments[i] == expanded[i + 1] + ".wdb");
    }
    // Every recorded value stands in the list after its option; user options keep their order.
    auto followsOption = [&](const std::string& option, const std::string& value) {
        for (std::size_t i = 1; i < options.arguments.size(); ++i) {
            if (options.arguments[i - 1] == option && options.arguments[i] == value) return true;
        }
        return false;
    };
    for (const std::string& view : options.viewFiles) FUZZ_CHECK(followsOption("-view", view));
    if (options.tclBatchFile) FUZZ_CHECK(followsOption("-tclbatch", *options.tclBatchFile));
    if (options.openFile) FUZZ_CHECK(followsOption("-open", *options.openFile));
    if (options.wdbFile) FUZZ_CHECK(followsOption("-wdb", *options.wdbFile));
    std::size_t from = 0;
    for (const std::string& userOption : options.userOptions) {
        while (from < options.arguments.size() && options.arguments[from] != userOption) ++from;
        FUZZ_CHECK(from < options.arguments.size());
        ++from;
    }

    // The front end's C runtime reads back each recorded value in its place, the pieces in their
    // fixed order, and the user options as one argument between double quotes.
    const std::string supportPath = deriveSupportPath(expanded[0]);
    Arguments frontEndArgs{"kivogui", "-exe", supportPath};
    auto piece = [&](const char* option, const std::string& value) {
        frontEndArgs.push_back(option);
        frontEndArgs.push_back(value);
    };
    if (!options.timeoutEnabled) frontEndArgs.push_back("-disabletimeout");
    if (options.tclBatchFile) piece("-tclbatch", *options.tclBatchFile);
    for (const std::string& view : options.viewFiles) piece("-view", view);
    if (options.openFile) piece("-open", *options.openFile);
    if (options.wdbFile) piece("-wdb", *options.wdbFile);
    if (!options.userOptions.empty()) {
        std::string joined = options.userOptions[0];
        for (std::size_t i = 1; i < options.userOptions.size(); ++i) {
            joined += " " + options.userOptions[i];
        }
        piece("-userOptions", '"' + joined + '"');
    }
    FUZZ_CHECK(splitLikeTheCRuntime(composeGuiCommandLine(supportPath, options)) == frontEndArgs);
    return 0;
}
