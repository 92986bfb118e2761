// Whole launches that read "-f" command files: what reaches the kernel or the front end, and the
// three messages of a command file that cannot be used.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

using e2e::CompileDirectory;
using e2e::concat;
using e2e::kernelPrefix;
using e2e::Record;

namespace {

const char* const kExampleFile =
    "  # options\n"
    "  -tclbatch run.tcl   -view \"my waves.wcfg\"\n"
    "-wdb out\n";

}  // namespace

TEST(CommandFiles, TheExampleFileReachesTheKernelInPlace) {
    CompileDirectory dir;
    dir.writeFile("opts.f", kExampleFile);
    dir.writeFile("run.tcl", "run all\n");

    const auto outcome = dir.type("tb.exe -f opts.f -foo");

    EXPECT_EQ(outcome.status, 0u) << outcome.output;
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].program, "kivotcl");
    EXPECT_EQ(records[0].args,
              concat(kernelPrefix(), {"-tclbatch", "run.tcl", "-view", "my waves.wcfg", "-wdb",
                                      "out.wdb", "-foo"}));
}

// Each file is spliced at its own place; a "-f" read from a file is an ordinary argument, carriage
// returns before line feeds are dropped, and neither an empty quoted argument nor one longer than
// any fixed buffer is lost or cut.
TEST(CommandFiles, SeveralFilesExpandInOrderAndTheirArgumentsArriveWhole) {
    CompileDirectory dir;
    const std::string longPath = "C:\\" + std::string(200, 'd') + "\\wave file.wcfg";
    dir.writeFile("one.f", "-a \"\" -b\n\n   \n# -gui\n-x #y\n");
    dir.writeFile("my opts.f", "-f\r\nnested.f\r\n\"" + longPath + "\"\r\n-c");

    const auto outcome = dir.type("tb.exe first -f one.f middle -f \"my opts.f\" last");

    EXPECT_EQ(outcome.status, 0u) << outcome.output;
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args,
              concat(kernelPrefix(), {"first", "-a", "", "-b", "-x", "#y", "middle", "-f",
                                      "nested.f", longPath, "-c", "last"}));
}

TEST(CommandFiles, GuiFromACommandFileStartsTheFrontEndAndNotTheKernel) {
    CompileDirectory dir;
    dir.installFrontEnd("rootA/lib/nt64");
    dir.writeFile("gui.f", "  # graphical\n-gui\n");

    const auto outcome = dir.type("tb.exe -f gui.f -view w.wcfg");

    EXPECT_EQ(outcome.status, 0u) << outcome.output;
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].program, "kivogui");
    EXPECT_EQ(records[0].commandLine, "kivogui -exe kivo/tb.exe.sim/tb.exe -view w.wcfg");
}

// A file that cannot be used ends the launch before anything else: the one message, status 1, no
// kernel, no run log (an existing one is left as it was, a -log given earlier is not created).
TEST(CommandFiles, AnUnusableFileEndsTheLaunchWithItsMessage) {
    const std::string notFound = "Command file for -f not found\r\n";
    const std::string parseError = "Error in parsing -f file\r\n";
    const std::string unclosed = "Error: Matching closing \" was not found\r\n";
    struct Case {
        const char* name;
        const char* command;
        std::string content;  // of bad.f, written when not empty
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing file", "tb.exe -log other.log -f missing.f", "", notFound},
        {"-f last", "tb.exe -x -f", "", notFound},
        {"a directory", "tb.exe -f dir.f", "", notFound},
        {"quote inside an argument", "tb.exe -f bad.f", "-x\nabc\"def\n", parseError},
        {"a NUL byte", "tb.exe -f bad.f", std::string("-a b\0c\n", 7), parseError},
        {"quote never closed", "tb.exe -f bad.f", "-view \"my waves\n", unclosed},
        {"quote open at the end of the file", "tb.exe -f bad.f", "-view \"my waves", unclosed},
        {"error in the second file", "tb.exe -f good.f -f bad.f", "x\"", parseError},
    };
    for (const Case& c : cases) {
        CompileDirectory dir;
        dir.writeFile("kivo.log", e2e::kEarlierLog);
        dir.writeFile("good.f", "-log other.log\n");
        dir.makeDirectory("dir.f");
        if (!c.content.empty()) dir.writeFile("bad.f", c.content);

        const auto outcome = dir.type(c.command);

        e2e::expectFailedLaunch(dir, outcome, c.message, c.name);
    }
}
