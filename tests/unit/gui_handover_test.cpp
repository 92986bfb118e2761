#include "launch/gui_handover.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "args/launcher_options.h"
#include "launch/support_file.h"

namespace {

// The front end's command line for a launcher invoked under `programName` with the (already
// expanded) arguments, through the real option scan. Every -tclbatch file opens.
std::string guiCommandLine(const std::vector<std::string>& arguments,
                           const std::string& programName = "tb.exe") {
    LaunchState state;
    state.supportPath = deriveSupportPath(programName);
    state.expandedArgs = {programName};
    state.expandedArgs.insert(state.expandedArgs.end(), arguments.begin(), arguments.end());
    const std::optional<std::string> failure =
        readLauncherOptions(state, [](const std::string&) { return true; });
    EXPECT_EQ(failure, std::nullopt);
    EXPECT_TRUE(state.guiMode);
    return composeGuiCommandLine(state);
}

}  // namespace

TEST(AppendQuoted, QuotesOnlyAroundASpace) {
    const struct {
        const char* value;
        const char* appended;
    } cases[] = {
        {"a.wcfg", "a.wcfg"},
        {"my waves.wcfg", "\"my waves.wcfg\""},
        {"tab\tonly.wcfg", "tab\tonly.wcfg"},
        {"line\nfeed", "line\nfeed"},
        {"say \"hi\"", "\"say \"hi\"\""},  // inner quotes are not escaped
        {"no\"space", "no\"space"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string commandLine = "kivogui -view ";
        appendQuoted(commandLine, c.value);
        EXPECT_EQ(commandLine, std::string("kivogui -view ") + c.appended) << c.value;
    }
}

TEST(ComposeGuiCommandLine, FollowsTheOptions) {
    const std::string exe = "kivogui -exe kivo/tb.exe.sim/tb.exe";
    const struct {
        std::vector<std::string> arguments;
        std::string commandLine;
    } cases[] = {
        {{"-gui"}, exe},
        {{"-gui", "-disabletimeout", "-view", "a.wcfg", "-view", "b.wcfg", "-wdb", "run", "-foo",
          "3"},
         exe +
             R"( -disabletimeout -view a.wcfg -view b.wcfg -wdb run.wdb -userOptions "\"-foo 3\"")"},
        {{"-gui", "-view", "my waves.wcfg"}, exe + " -view \"my waves.wcfg\""},
        {{"-gui", "-view", "tab\twaves.wcfg"}, exe + " -view tab\twaves.wcfg"},
        {{"-gui", "-tclbatch", "first.tcl", "-tclbatch", "second.tcl"},
         exe + " -tclbatch second.tcl"},
        {{"-gui", "-tclbatch", "my run.tcl"}, exe + " -tclbatch \"my run.tcl\""},
        {{"-gui", "-foo"}, exe + R"( -userOptions \"-foo\")"},
        {{"-gui", "-log", "my.log"}, exe + R"( -userOptions "\"-log my.log\"")"},
        {{"-gui", "-wdb", "x.wdb"}, exe + " -wdb x.wdb"},
        {{"-gui", "-wdb"}, exe},
        // The pieces keep their fixed order whatever the order of the options.
        {{"-gui", "-open", "o.wdb", "-view", "a.wcfg"}, exe + " -view a.wcfg -open o.wdb"},
        {{"-foo", "-wdb", "w", "-open", "o", "-view", "v", "-tclbatch", "t.tcl", "-disabletimeout",
          "-gui"},
         exe +
             R"( -disabletimeout -tclbatch t.tcl -view v -open o -wdb w.wdb -userOptions \"-foo\")"},
    };
    for (const auto& c : cases) {
        std::string typed;
        for (const std::string& argument : c.arguments) typed += " " + argument;
        EXPECT_EQ(guiCommandLine(c.arguments), c.commandLine) << "arguments:" << typed;
    }
}

TEST(ComposeGuiCommandLine, QuotesASupportPathWithASpace) {
    EXPECT_EQ(guiCommandLine({"-gui"}, "my tb.exe"),
              "kivogui -exe \"kivo/my tb.exe.sim/my tb.exe\"");
}
