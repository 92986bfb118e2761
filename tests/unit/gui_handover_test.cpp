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
    std::vector<std::string> expanded = {programName};
    expanded.insert(expanded.end(), arguments.begin(), arguments.end());
    const Result<LauncherOptions> options =
        readLauncherOptions(expanded, [](const std::string&) { return true; });
    if (!options) {
        ADD_FAILURE() << options.failure().message;
        return "";
    }
    EXPECT_TRUE(options->guiMode);
    return composeGuiCommandLine(deriveSupportPath(programName), *options);
}

}  // namespace

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
        // Each value reads back exactly through the front end's C runtime.
        {{"-gui", "-view", "tab\twaves.wcfg"}, exe + " -view \"tab\twaves.wcfg\""},
        {{"-gui", "-view", R"(C:\my waves\)", "-wdb", "run"},
         exe + R"( -view "C:\my waves\\" -wdb run.wdb)"},
        {{"-gui", "-view", R"(say "hi")", "-open", R"(no"space)", "-tclbatch", ""},
         exe + R"( -tclbatch "" -view "say \"hi\"" -open no\"space)"},
        {{"-gui", R"(-define=a\"b)", "-x"}, exe + R"( -userOptions "\"-define=a\\\"b -x\"")"},
        {{"-gui", R"(C:\dir\)"}, exe + R"( -userOptions \"C:\dir\\\")"},
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

TEST(FrameUserOptions, PutsTheOptionsBetweenDoubleQuotes) {
    const struct {
        std::vector<std::string> userOptions;
        std::string framed;
    } cases[] = {
        {{}, R"("")"},
        {{"-foo"}, R"("-foo")"},
        {{"-foo", "3"}, R"("-foo 3")"},
        {{"-foo", "3", "-bar"}, R"("-foo 3 -bar")"},
        {{"-log", "my.log"}, R"("-log my.log")"},
        {{"-nolog", "-f", "x.f"}, R"("-nolog -f x.f")"},
        {{"a b", ""}, R"("a b ")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frameUserOptions(c.userOptions), c.framed) << c.framed;
    }
}
