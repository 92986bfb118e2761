// The option table and the front end's command line on any expanded argument list: no crash,
// the failure the table gives, and every recognised option's value in its piece of the command
// line, the pieces in their order.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "args/launcher_options.h"
#include "fuzz/fuzz_support.h"
#include "launch/gui_handover.h"
#include "launch/support_file.h"

namespace {

// The first byte answers the file probes, one bit per probe in turn.
bool probeAnswer(std::uint8_t answers, std::size_t probe) { return (answers >> (probe % 8)) & 1; }

std::string quotedIfSpaced(const std::string& value) {
    return value.find(' ') == std::string::npos ? value : '"' + value + '"';
}

// What the option table makes of the list, read straight from its rows.
struct Recognised {
    std::optional<std::string> failure;
    bool gui = false;
    bool timeoutDisabled = false;
    std::optional<std::string> tclBatch;
    std::vector<std::string> views;
    std::optional<std::string> open;
    std::optional<std::string> wdb;
    std::vector<std::string> others;
};

Recognised recognise(const std::vector<std::string>& args, std::uint8_t answers) {
    Recognised r;
    auto fail = [&r](const char* message) {
        r.failure = message;
        return r;
    };
    std::size_t probes = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& entry = args[i];
        const bool last = i + 1 == args.size();
        if (entry == "-gui") {
            r.gui = true;
        } else if (entry == "-disabletimeout") {
            r.timeoutDisabled = true;
        } else if (entry == "-tclbatch") {
            if (last) return fail(kTclBatchValueMissing);
            r.tclBatch = args[++i];
            if (!probeAnswer(answers, probes++)) return fail(kTclFileNotFound);
        } else if (entry == "-view") {
            if (last) return fail(kViewValueMissing);
            r.views.push_back(args[++i]);
        } else if (entry == "-open") {
            if (last) return fail(kOpenValueMissing);
            r.open = args[++i];
        } else if (entry == "-wdb") {
            if (last) continue;
            const std::string& v = args[++i];
            const bool suffixed = v.size() > 4 && v.compare(v.size() - 4, 4, ".wdb") == 0;
            r.wdb = suffixed ? v : v + ".wdb";
        } else {
            r.others.push_back(entry);
        }
    }
    return r;
}

}  // namespace

// After the first byte, the bytes split at NUL bytes are the expanded argument list, program
// name first.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t answers = data[0];
    const std::vector<std::string> original = splitAtNul(asText(data + 1, size - 1));
    const Recognised expected = recognise(original, answers);

    LaunchState state;
    state.expandedArgs = original;
    state.supportPath = deriveSupportPath(original[0]);
    std::size_t probes = 0;
    const std::optional<std::string> failure = readLauncherOptions(
        state, [&](const std::string&) { return probeAnswer(answers, probes++); });

    FUZZ_CHECK(failure == expected.failure);
    if (failure) return 0;
    FUZZ_CHECK(state.guiMode == expected.gui);

    // The list keeps its length; an entry changes only into the normalised -wdb value.
    FUZZ_CHECK(state.expandedArgs.size() == original.size());
    for (std::size_t i = 0; i < original.size(); ++i) {
        if (state.expandedArgs[i] == original[i]) continue;
        FUZZ_CHECK(i >= 2 && original[i - 1] == "-wdb");
        FUZZ_CHECK(state.expandedArgs[i] == original[i] + ".wdb");
    }

    const std::string commandLine = composeGuiCommandLine(state);
    std::vector<std::string> pieces{"kivogui -exe " + quotedIfSpaced(state.supportPath)};
    if (expected.timeoutDisabled) pieces.push_back(" -disabletimeout");
    if (expected.tclBatch) pieces.push_back(" -tclbatch " + quotedIfSpaced(*expected.tclBatch));
    for (const std::string& view : expected.views) {
        pieces.push_back(" -view " + quotedIfSpaced(view));
    }
    if (expected.open) pieces.push_back(" -open " + quotedIfSpaced(*expected.open));
    if (expected.wdb) pieces.push_back(" -wdb " + quotedIfSpaced(*expected.wdb));
    if (!expected.others.empty()) {
        std::string userOptions = "\\\"" + expected.others[0];
        for (std::size_t i = 1; i < expected.others.size(); ++i) {
            userOptions += " " + expected.others[i];
        }
        pieces.push_back(" -userOptions " + quotedIfSpaced(userOptions + "\\\""));
    }
    // The first piece opens the line, and each further piece stands after the one before it.
    FUZZ_CHECK(commandLine.compare(0, pieces[0].size(), pieces[0]) == 0);
    std::size_t from = 0;
    for (const std::string& piece : pieces) {
        const std::size_t at = commandLine.find(piece, from);
        FUZZ_CHECK(at != std::string::npos);
        from = at + piece.size();
    }
    return 0;
}
