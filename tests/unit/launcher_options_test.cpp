#include "args/launcher_options.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

std::string joined(const Arguments& arguments) {
    std::string text;
    for (const std::string& argument : arguments) text += " " + argument;
    return text;
}

}  // namespace

void PrintTo(const LauncherOptions& o, std::ostream* out) {
    auto optional = [](const std::optional<std::string>& v) { return v ? "'" + *v + "'" : "none"; };
    auto list = [](const Arguments& values) {
        std::string text = "[";
        for (const std::string& value : values) text += "'" + value + "' ";
        return text + "]";
    };
    *out << "{arguments " << list(o.arguments) << ", gui " << o.guiMode << ", timeout "
         << o.timeoutEnabled << ", tclbatch " << optional(o.tclBatchFile) << ", views "
         << list(o.viewFiles) << ", open " << optional(o.openFile) << ", wdb "
         << optional(o.wdbFile) << ", user options " << list(o.userOptions) << ", log "
         << (o.log.disabled ? "off" : "on") << " '" << o.log.fileName << "'}";
}

namespace {

// Reads tb.exe followed by the arguments; files named in `missing` do not open.
struct Scan {
    Arguments probed;  // declared first: the scan below fills it
    Result<LauncherOptions> result;

    explicit Scan(const Arguments& arguments, const std::set<std::string>& missing = {})
        : result(read(arguments, missing, probed)) {}

    std::string failure() const { return result.ok() ? "" : result.failure().message; }

  private:
    static Result<LauncherOptions> read(const Arguments& arguments,
                                        const std::set<std::string>& missing, Arguments& probed) {
        Arguments expanded = {"tb.exe"};
        expanded.insert(expanded.end(), arguments.begin(), arguments.end());
        return readLauncherOptions(expanded, [&](const std::string& file) {
            probed.push_back(file);
            return missing.count(file) == 0;
        });
    }
};

// The options read from `arguments` when they are passed on unchanged, as `change` says.
LauncherOptions expected(const Arguments& arguments, void (*change)(LauncherOptions&) = nullptr) {
    LauncherOptions o;
    o.arguments = arguments;
    if (change != nullptr) change(o);
    return o;
}

}  // namespace

TEST(ReadLauncherOptions, RecordsEachOptionOfTheTable) {
    const struct {
        Arguments arguments;
        LauncherOptions options;
    } cases[] = {
        {{}, expected({})},
        {{"-gui"}, expected({"-gui"}, [](LauncherOptions& o) { o.guiMode = true; })},
        {{"-tclbatch", "run.tcl"},
         expected({"-tclbatch", "run.tcl"},
                  [](LauncherOptions& o) { o.tclBatchFile = "run.tcl"; })},
        {{"-view", "a.wcfg", "-view", "b.wcfg"},
         expected({"-view", "a.wcfg", "-view", "b.wcfg"},
                  [](LauncherOptions& o) {
                      o.viewFiles = {"a.wcfg", "b.wcfg"};
                  })},
        {{"-open", "o.wdb"},
         expected({"-open", "o.wdb"}, [](LauncherOptions& o) { o.openFile = "o.wdb"; })},
        {{"-wdb", "x.wdb"},
         expected({"-wdb", "x.wdb"}, [](LauncherOptions& o) { o.wdbFile = "x.wdb"; })},
        {{"-disabletimeout"},
         expected({"-disabletimeout"}, [](LauncherOptions& o) { o.timeoutEnabled = false; })},
        {{"-foo", "3"},
         expected({"-foo", "3"},
                  [](LauncherOptions& o) {
                      o.userOptions = {"-foo", "3"};
                  })},
        // A value is the next entry whatever it looks like, and is not read as an option.
        {{"-view", "-gui"},
         expected({"-view", "-gui"}, [](LauncherOptions& o) { o.viewFiles = {"-gui"}; })},
        {{"-tclbatch", "-disabletimeout"},
         expected({"-tclbatch", "-disabletimeout"},
                  [](LauncherOptions& o) { o.tclBatchFile = "-disabletimeout"; })},
        {{"-open", "-view"},
         expected({"-open", "-view"}, [](LauncherOptions& o) { o.openFile = "-view"; })},
        {{"-wdb", "-gui"},
         expected({"-wdb", "-gui.wdb"}, [](LauncherOptions& o) { o.wdbFile = "-gui.wdb"; })},
        // A later value replaces the earlier one.
        {{"-tclbatch", "a.tcl", "-open", "a.wdb", "-wdb", "a", "-tclbatch", "b.tcl", "-open",
          "b.wdb", "-wdb", "b"},
         expected({"-tclbatch", "a.tcl", "-open", "a.wdb", "-wdb", "a.wdb", "-tclbatch", "b.tcl",
                   "-open", "b.wdb", "-wdb", "b.wdb"},
                  [](LauncherOptions& o) {
                      o.tclBatchFile = "b.tcl";
                      o.openFile = "b.wdb";
                      o.wdbFile = "b.wdb";
                  })},
        // -wdb as the last entry is ignored, and is no user option either.
        {{"-wdb"}, expected({"-wdb"})},
        {{"-gui", "-wdb"},
         expected({"-gui", "-wdb"}, [](LauncherOptions& o) { o.guiMode = true; })},
        // Names are compared exactly.
        {{"-GUI", "-gui=1", "gui"},
         expected({"-GUI", "-gui=1", "gui"},
                  [](LauncherOptions& o) {
                      o.userOptions = {"-GUI", "-gui=1", "gui"};
                  })},
        // -log, its value, -nolog and a -f from a command file are user options, and the log's
        // settings are read from the same list.
        {{"-gui", "-log", "my.log", "-nolog", "-f", "x.f"},
         expected({"-gui", "-log", "my.log", "-nolog", "-f", "x.f"},
                  [](LauncherOptions& o) {
                      o.guiMode = true;
                      o.userOptions = {"-log", "my.log", "-nolog", "-f", "x.f"};
                      o.log = {true, "my.log"};
                  })},
        // The log's settings see the -wdb value normalised: "-nolog" after -wdb is a file name.
        {{"-wdb", "-nolog", "-log", "-gui"},
         expected({"-wdb", "-nolog.wdb", "-log", "-gui"},
                  [](LauncherOptions& o) {
                      o.guiMode = true;
                      o.wdbFile = "-nolog.wdb";
                      o.userOptions = {"-log"};
                      o.log.fileName = "-gui";
                  })},
        {{"a b", ""},
         expected({"a b", ""},
                  [](LauncherOptions& o) {
                      o.userOptions = {"a b", ""};
                  })},
    };
    for (const auto& c : cases) {
        const Scan scan(c.arguments);
        ASSERT_TRUE(scan.result.ok()) << joined(c.arguments) << ": " << scan.failure();
        EXPECT_EQ(*scan.result, c.options) << joined(c.arguments);
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
        EXPECT_EQ(Scan(c.arguments).failure(), c.failure) << joined(c.arguments);
    }
}

TEST(ReadLauncherOptions, ChecksThatTheTclBatchFileOpens) {
    const Scan found({"-tclbatch", "run.tcl"});
    EXPECT_EQ(found.failure(), "");
    EXPECT_EQ(found.probed, Arguments{"run.tcl"});

    const Scan missing({"-tclbatch", "missing.tcl", "-view"}, {"missing.tcl"});
    EXPECT_EQ(missing.failure(), "Tcl file not found");
    EXPECT_EQ(missing.probed, Arguments{"missing.tcl"});

    // Every -tclbatch file is probed, not only the last; other values are not looked up.
    const Scan earlierMissing({"-view", "v.wcfg", "-open", "o.wdb", "-wdb", "w", "-tclbatch",
                               "a.tcl", "-tclbatch", "b.tcl"},
                              {"a.tcl"});
    EXPECT_EQ(earlierMissing.failure(), "Tcl file not found");
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
        ASSERT_TRUE(scan.result.ok()) << c.value;
        EXPECT_EQ(scan.result->wdbFile, c.normalised) << c.value;
        EXPECT_EQ(scan.result->arguments, (Arguments{"-x", "-wdb", c.normalised, "-wdb"}))
            << c.value;
    }
}

TEST(ReadLauncherOptions, LeavesTheOtherArgumentsAsTheyWere) {
    const Arguments arguments = {
        "-gui", "-tclbatch", "run.tcl", "-view", "a.wcfg", "-open", "o", "-disabletimeout",
        "-log", "my.log",    "-wdb",    "run",   "-wdb",   "run"};
    const Scan scan(arguments);
    Arguments expectedArguments = arguments;
    expectedArguments[11] = "run.wdb";
    expectedArguments[13] = "run.wdb";
    ASSERT_TRUE(scan.result.ok());
    EXPECT_EQ(scan.result->arguments, expectedArguments);
}

TEST(ReadLauncherOptions, TheProgramNameIsNoOption) {
    const Result<LauncherOptions> options =
        readLauncherOptions({"-gui"}, [](const std::string&) { return true; });
    ASSERT_TRUE(options.ok());
    EXPECT_EQ(*options, expected({}));
    EXPECT_EQ(*readLauncherOptions({}, [](const std::string&) { return true; }), expected({}));
}
