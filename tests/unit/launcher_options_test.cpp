#include "args/launcher_options.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

// What the option scan leaves in the state, in one comparable value.
struct Options {
    bool guiMode = false;
    bool timeoutEnabled = true;
    std::optional<std::string> tclBatchFile;
    Arguments viewFiles;
    std::optional<std::string> openFile;
    std::optional<std::string> wdbFile;
    std::string userOptions = R"(\"\")";
    bool hasUserOptions = false;

    bool operator==(const Options& other) const {
        return guiMode == other.guiMode && timeoutEnabled == other.timeoutEnabled &&
               tclBatchFile == other.tclBatchFile && viewFiles == other.viewFiles &&
               openFile == other.openFile && wdbFile == other.wdbFile &&
               userOptions == other.userOptions && hasUserOptions == other.hasUserOptions;
    }
};

void PrintTo(const Options& o, std::ostream* out) {
    auto optional = [](const std::optional<std::string>& v) { return v ? "'" + *v + "'" : "none"; };
    *out << "{gui " << o.guiMode << ", timeout " << o.timeoutEnabled << ", tclbatch "
         << optional(o.tclBatchFile) << ", views [";
    for (const std::string& view : o.viewFiles) *out << "'" << view << "' ";
    *out << "], open " << optional(o.openFile) << ", wdb " << optional(o.wdbFile)
         << ", userOptions '" << o.userOptions << "' " << o.hasUserOptions << "}";
}

std::string joined(const Arguments& arguments) {
    std::string text;
    for (const std::string& argument : arguments) text += " " + argument;
    return text;
}

// Scans tb.exe followed by the arguments; files named in `missing` do not open.
struct Scan {
    LaunchState state;
    std::optional<std::string> failure;
    Arguments probed;

    explicit Scan(const Arguments& arguments, const std::set<std::string>& missing = {}) {
        state.expandedArgs = {"tb.exe"};
        state.expandedArgs.insert(state.expandedArgs.end(), arguments.begin(), arguments.end());
        failure = readLauncherOptions(state, [&](const std::string& file) {
            probed.push_back(file);
            return missing.count(file) == 0;
        });
    }

    Options options() const {
        return {state.guiMode,  state.timeoutEnabled, state.tclBatchFile, state.viewFiles,
                state.openFile, state.wdbFile,        state.userOptions,  state.hasUserOptions};
    }
};

Options with(void (*change)(Options&)) {
    Options o;
    change(o);
    return o;
}

}  // namespace

TEST(ReadLauncherOptions, RecordsEachOptionOfTheTable) {
    const struct {
        Arguments arguments;
        Options options;
    } cases[] = {
        {{}, Options{}},
        {{"-gui"}, with([](Options& o) { o.guiMode = true; })},
        {{"-tclbatch", "run.tcl"}, with([](Options& o) { o.tclBatchFile = "run.tcl"; })},
        {{"-view", "a.wcfg", "-view", "b.wcfg"}, with([](Options& o) {
             o.viewFiles = {"a.wcfg", "b.wcfg"};
         })},
        {{"-open", "o.wdb"}, with([](Options& o) { o.openFile = "o.wdb"; })},
        {{"-wdb", "x.wdb"}, with([](Options& o) { o.wdbFile = "x.wdb"; })},
        {{"-disabletimeout"}, with([](Options& o) { o.timeoutEnabled = false; })},
        {{"-foo"}, with([](Options& o) {
             o.userOptions = R"(\"-foo\")";
             o.hasUserOptions = true;
         })},
        // A value is the next entry whatever it looks like, and is not read as an option.
        {{"-view", "-gui"}, with([](Options& o) { o.viewFiles = {"-gui"}; })},
        {{"-tclbatch", "-disabletimeout"},
         with([](Options& o) { o.tclBatchFile = "-disabletimeout"; })},
        {{"-open", "-view"}, with([](Options& o) { o.openFile = "-view"; })},
        {{"-wdb", "-gui"}, with([](Options& o) { o.wdbFile = "-gui.wdb"; })},
        // A later value replaces the earlier one.
        {{"-tclbatch", "a.tcl", "-open", "a.wdb", "-wdb", "a", "-tclbatch", "b.tcl", "-open",
          "b.wdb", "-wdb", "b"},
         with([](Options& o) {
             o.tclBatchFile = "b.tcl";
             o.openFile = "b.wdb";
             o.wdbFile = "b.wdb";
         })},
        // -wdb as the last entry is ignored, and is no user option either.
        {{"-wdb"}, Options{}},
        {{"-gui", "-wdb"}, with([](Options& o) { o.guiMode = true; })},
        // Names are compared exactly.
        {{"-GUI", "-gui=1", "gui"}, with([](Options& o) {
             o.userOptions = R"(\"-GUI -gui=1 gui\")";
             o.hasUserOptions = true;
         })},
    };
    for (const auto& c : cases) {
        const Scan scan(c.arguments);
        EXPECT_EQ(scan.failure, std::nullopt) << joined(c.arguments);
        EXPECT_EQ(scan.options(), c.options) << joined(c.arguments);
    }
}

TEST(ReadLauncherOptions, FramesTheUserOptions) {
    const struct {
        Arguments arguments;
        std::string userOptions;
    } cases[] = {
        {{"-gui"}, R"(\"\")"},
        {{"-foo"}, R"(\"-foo\")"},
        {{"-foo", "3"}, R"(\"-foo 3\")"},
        {{"-gui", "-foo", "-view", "a.wcfg", "3", "-bar"}, R"(\"-foo 3 -bar\")"},
        {{"-gui", "-log", "my.log"}, R"(\"-log my.log\")"},
        {{"-nolog", "-f", "x.f"}, R"(\"-nolog -f x.f\")"},
        {{"a b", ""}, R"(\"a b \")"},
    };
    for (const auto& c : cases) {
        const Scan scan(c.arguments);
        EXPECT_EQ(scan.state.userOptions, c.userOptions) << joined(c.arguments);
        EXPECT_EQ(scan.state.hasUserOptions, c.userOptions != R"(\"\")") << joined(c.arguments);
    }
}

TEST(ReadLauncherOptions, ReportsAMissingValue) {
    const struct {
        Arguments arguments;
        std::string failure;
    } cases[] = {
        {{"-tclbatch"}, "<file_name> argument is required after -tclbatch switch"},
        {{"-view"}, "<wcfg_file|wdb_file> is not found"},
        {{"-gui", "-view", "a.wcfg", "-view"}, "<wcfg_file|wdb_file> is not found"},
        {{"-open"}, "<wdb_file> is not found"},
        // "-open" here is the value of -view; the second one has no value.
        {{"-view", "-open", "-open"}, "<wdb_file> is not found"},
        {{"-tclbatch", "run.tcl", "-open"}, "<wdb_file> is not found"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Scan(c.arguments).failure, c.failure) << joined(c.arguments);
    }
}

TEST(ReadLauncherOptions, ChecksThatTheTclBatchFileOpens) {
    const Scan found({"-tclbatch", "run.tcl"});
    EXPECT_EQ(found.failure, std::nullopt);
    EXPECT_EQ(found.probed, Arguments{"run.tcl"});

    const Scan missing({"-tclbatch", "missing.tcl", "-view"}, {"missing.tcl"});
    EXPECT_EQ(missing.failure, "Tcl file not found");
    EXPECT_EQ(missing.probed, Arguments{"missing.tcl"});

    // Every -tclbatch file is probed, not only the last; other values are not looked up.
    const Scan earlierMissing({"-view", "v.wcfg", "-open", "o.wdb", "-wdb", "w", "-tclbatch",
                               "a.tcl", "-tclbatch", "b.tcl"},
                              {"a.tcl"});
    EXPECT_EQ(earlierMissing.failure, "Tcl file not found");
    EXPECT_EQ(earlierMissing.probed, Arguments{"a.tcl"});
}

TEST(ReadLauncherOptions, NormalisesTheWdbValueInPlace) {
    const struct {
        const char* value;
        const char* normalised;
    } cases[] = {
        {"run", "run.wdb"},   {"run.WDB", "run.WDB.wdb"},
        {".wdb", ".wdb.wdb"}, {"x.wdb", "x.wdb"},
        {"wdb", "wdb.wdb"},   {"a.wdb.wdb", "a.wdb.wdb"},
        {"", ".wdb"},         {"dir.wdb/run", "dir.wdb/run.wdb"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(normaliseWdbName(c.value), c.normalised) << c.value;

        const Scan scan({"-x", "-wdb", c.value, "-wdb"});
        EXPECT_EQ(scan.state.wdbFile, c.normalised) << c.value;
        EXPECT_EQ(scan.state.expandedArgs,
                  (Arguments{"tb.exe", "-x", "-wdb", c.normalised, "-wdb"}))
            << c.value;
    }
}

TEST(ReadLauncherOptions, LeavesTheOtherArgumentsAsTheyWere) {
    const Arguments arguments = {
        "-gui", "-tclbatch", "run.tcl", "-view", "a.wcfg", "-open", "o", "-disabletimeout",
        "-log", "my.log",    "-wdb",    "run",   "-wdb",   "run"};
    const Scan scan(arguments);
    Arguments expected = {"tb.exe"};
    expected.insert(expected.end(), arguments.begin(), arguments.end());
    expected[12] = "run.wdb";
    expected[14] = "run.wdb";
    EXPECT_EQ(scan.state.expandedArgs, expected);
}
