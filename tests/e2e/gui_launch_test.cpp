// Whole launches in GUI mode, with the stand-in front end: its command line, what it splits into,
// its environment, and the launcher's exit status.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

using e2e::CompileDirectory;
using e2e::concat;
using e2e::kOldPath;
using e2e::Record;
using e2e::rootEntries;

namespace {

const std::string kSupportPath = "kivo/tb.exe.sim/tb.exe";

std::vector<std::string> frontEndPrefix() { return {"kivogui", "-exe", kSupportPath}; }

}  // namespace

// The front end sits only in rootA\lib\nt64, which is on no PATH until the launcher composes it:
// neither beside tb.exe nor in the current directory.
TEST(GuiLaunch, TheFrontEndIsFoundThroughTheComposedPathAndGetsTheComposedCommandLine) {
    CompileDirectory dir;
    dir.installFrontEnd("rootA/lib/nt64");
    ASSERT_FALSE(dir.exists("kivogui.exe"));
    dir.environment["PATH"] = kOldPath;
    dir.environment["KIVO_STANDIN_STATUS"] = "3";
    const std::string typed =
        "tb.exe -gui -disabletimeout -view a.wcfg -view b.wcfg -wdb run -foo 3";

    const auto outcome = dir.type(typed);

    EXPECT_EQ(outcome.status, 3u) << outcome.output;
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u);
    const Record& frontEnd = records[0];
    EXPECT_EQ(frontEnd.program, "kivogui");
    EXPECT_EQ(frontEnd.module, dir.at("rootA/lib/nt64/kivogui.exe"));
    EXPECT_EQ(frontEnd.commandLine,
              "kivogui -exe kivo/tb.exe.sim/tb.exe -disabletimeout -view a.wcfg -view b.wcfg -wdb "
              "run.wdb -userOptions \"\\\"-foo 3\\\"\"");
    EXPECT_EQ(frontEnd.args,
              concat(frontEndPrefix(), {"-disabletimeout", "-view", "a.wcfg", "-view", "b.wcfg",
                                        "-wdb", "run.wdb", "-userOptions", "\"-foo 3\""}));
    EXPECT_EQ(frontEnd.environment.at("PATH"), rootEntries(dir.rootA()) + rootEntries(dir.rootB()) +
                                                   dir.rootB() + "\\quillo\\bin\\nt64;" + kOldPath);
    EXPECT_EQ(frontEnd.environment.at("VELDRA_DSP"), dir.rootB());
    EXPECT_EQ(frontEnd.environment.at("PORT_DYNAMIC_DISABLE_MSG"), "1");
    EXPECT_EQ(frontEnd.directory, dir.path());
    EXPECT_EQ(dir.readFile("kivo.log"), "Kivo log file\r\nRunning: " + typed + " \r\n");
}

// The pieces stand in their fixed order whatever the order of the options, values holding a space
// are quoted, and the launcher's status is the front end's, all 32 bits of it.
TEST(GuiLaunch, TheCommandLineFollowsTheOptionsAndTheStatusIsTheFrontEnds) {
    struct Case {
        const char* arguments;
        const char* commandLine;
        std::vector<std::string> args;  // after the front end's first three
        const char* status;
        const char* logFile;
    };
    const std::vector<Case> cases = {
        {"-gui", "kivogui -exe kivo/tb.exe.sim/tb.exe", {}, "0", "kivo.log"},
        {"-gui -view \"my waves.wcfg\" -foo",
         R"(kivogui -exe kivo/tb.exe.sim/tb.exe -view "my waves.wcfg" -userOptions \"-foo\")",
         {"-view", "my waves.wcfg", "-userOptions", "\"-foo\""},
         "3221225477",
         "kivo.log"},
        {"-open o.wdb -log my.log -tclbatch a.tcl -gui -view v.wcfg -tclbatch run.tcl -wdb w",
         "kivogui -exe kivo/tb.exe.sim/tb.exe -tclbatch run.tcl -view v.wcfg -open o.wdb -wdb "
         "w.wdb "
         R"(-userOptions "\"-log my.log\"")",
         {"-tclbatch", "run.tcl", "-view", "v.wcfg", "-open", "o.wdb", "-wdb", "w.wdb",
          "-userOptions", "\"-log my.log\""},
         "255",
         "my.log"},
        {"-gui -f opts.f -foo",
         "kivogui -exe kivo/tb.exe.sim/tb.exe -tclbatch run.tcl -view \"my waves.wcfg\" -wdb "
         R"(out.wdb -userOptions \"-foo\")",
         {"-tclbatch", "run.tcl", "-view", "my waves.wcfg", "-wdb", "out.wdb", "-userOptions",
          "\"-foo\""},
         "1",
         "kivo.log"},
    };
    for (const Case& c : cases) {
        CompileDirectory dir;
        dir.installFrontEnd("rootA/lib/nt64");
        dir.writeFile("a.tcl", "");
        dir.writeFile("run.tcl", "run all\n");
        dir.writeFile("opts.f",
                      "  # options\n  -tclbatch run.tcl   -view \"my waves.wcfg\"\n-wdb out\n");
        dir.environment["KIVO_STANDIN_STATUS"] = c.status;

        const auto outcome = dir.type(std::string("tb.exe ") + c.arguments);

        EXPECT_EQ(outcome.status, std::stoul(c.status)) << c.arguments << ": " << outcome.output;
        const auto records = dir.records();
        ASSERT_EQ(records.size(), 1u) << c.arguments;
        EXPECT_EQ(records[0].program, "kivogui") << c.arguments;
        EXPECT_EQ(records[0].commandLine, c.commandLine) << c.arguments;
        EXPECT_EQ(records[0].args, concat(frontEndPrefix(), c.args)) << c.arguments;
        EXPECT_TRUE(dir.exists(c.logFile)) << c.arguments;
    }
}

// A front end that cannot be started ends the launch with status 1 and no message, and costs no
// log: it is created before the log is written.
TEST(GuiLaunch, AMissingFrontEndEndsTheLaunchWithStatusOneAndNoMessage) {
    CompileDirectory dir;
    ASSERT_FALSE(dir.exists("kivogui.exe"));
    dir.environment["PATH"] = kOldPath;
    dir.writeFile("kivo.log", e2e::kEarlierLog);

    e2e::expectFailedLaunch(dir, dir.type("tb.exe -gui -view a.wcfg -log other.log"), "");
}

// What the user typed reaches the front end's C runtime value by value: a trailing backslash does
// not swallow the closing quote, a quote inside a user option does not split them, and a tab in
// a value from a command file does not split it.
TEST(GuiLaunch, EveryValueReachesTheFrontEndExactly) {
    const struct {
        const char* typed;
        std::vector<std::string> args;  // after the front end's first three
    } cases[] = {
        {R"(tb.exe -gui -view "C:\my waves\\" -wdb run)",
         {"-view", R"(C:\my waves\)", "-wdb", "run.wdb"}},
        {R"(tb.exe -gui "-define=a\"b" -x)", {"-userOptions", R"("-define=a"b -x")"}},
        {R"(tb.exe -gui -open "say \"hi\"" -f tab.f)",
         {"-view", "a\tb.wcfg", "-open", R"(say "hi")"}},
    };
    for (const auto& c : cases) {
        CompileDirectory dir;
        dir.installFrontEnd("rootA/lib/nt64");
        dir.writeFile("tab.f", "-view a\tb.wcfg\n");
        const auto outcome = dir.type(c.typed);
        EXPECT_EQ(outcome.status, 0u) << c.typed << ": " << outcome.output;
        const auto records = dir.records();
        ASSERT_EQ(records.size(), 1u) << c.typed;
        EXPECT_EQ(records[0].args, concat(frontEndPrefix(), c.args))
            << c.typed << "\n  command line " << records[0].commandLine;
    }
}
