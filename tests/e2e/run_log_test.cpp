// Whole launches and their run log: which file is written, what it holds, and the launch that
// cannot open it.
#include <gtest/gtest.h>

#include <map>

#include "tests/e2e/harness.h"

using e2e::CompileDirectory;
using e2e::concat;
using e2e::kernelPrefix;

namespace {

std::string logText(const std::string& typed) {
    return "Kivo log file\r\nRunning: " + typed + " \r\n";
}

}  // namespace

// Every case starts with an old kivo.log in place, so a log that is written must replace it whole
// and one that is not written must leave it alone. The kernel receives -log and -nolog too.
TEST(RunLog, TheLogFileAndItsTwoLinesFollowTheLogOptions) {
    struct Case {
        const char* name;
        std::string command;
        std::string logFile;  // the file that must hold the log; empty: none is written
        std::string typed;    // the arguments as the log shows them
        std::vector<std::string> kernelArgs;  // after the kernel's first three
        std::vector<std::string> notCreated;
    };
    const std::vector<Case> cases = {
        {"default name, arguments as typed",
         "tb.exe -f opts.f -x \"a b\"",
         "kivo.log",
         "tb.exe -f opts.f -x a b",
         {"-y", "-x", "a b"},
         {}},
        {"program name as typed", ".\\tb.exe", "kivo.log", ".\\tb.exe", {}, {}},
        {"-log twice",
         "tb.exe -log a.log -x -log b.log",
         "b.log",
         "tb.exe -log a.log -x -log b.log",
         {"-log", "a.log", "-x", "-log", "b.log"},
         {"a.log"}},
        {"-log from a command file",
         "tb.exe -f log.f",
         "from file.log",
         "tb.exe -f log.f",
         {"-log", "from file.log"},
         {}},
        {"-log -nolog names the file -nolog",
         "tb.exe -log -nolog",
         "-nolog",
         "tb.exe -log -nolog",
         {"-log", "-nolog"},
         {}},
        {"-log at the end keeps the name",
         "tb.exe -log c.log -log",
         "c.log",
         "tb.exe -log c.log -log",
         {"-log", "c.log", "-log"},
         {}},
        {"-nolog with -log",
         "tb.exe -nolog -log x.log",
         "",
         "",
         {"-nolog", "-log", "x.log"},
         {"x.log"}},
        {"-log with a later -nolog",
         "tb.exe -log x.log -x -nolog",
         "",
         "",
         {"-log", "x.log", "-x", "-nolog"},
         {"x.log"}},
    };
    for (const Case& c : cases) {
        CompileDirectory dir;
        const std::string oldLog =
            "an earlier log, longer than the one written now\r\n" + std::string(200, '.') + "\r\n";
        dir.writeFile("kivo.log", oldLog);
        dir.writeFile("opts.f", "-y\n");
        dir.writeFile("log.f", "-log \"from file.log\"\n");

        const auto outcome = dir.type(c.command);

        EXPECT_EQ(outcome.status, 0u) << c.name << ": " << outcome.output;
        if (c.logFile.empty()) {
            EXPECT_EQ(dir.readFile("kivo.log"), oldLog) << c.name;
        } else {
            EXPECT_EQ(dir.readFile(c.logFile), logText(c.typed)) << c.name;
            if (c.logFile != "kivo.log") {
                EXPECT_EQ(dir.readFile("kivo.log"), oldLog) << c.name;
            }
        }
        for (const std::string& file : c.notCreated) {
            EXPECT_FALSE(dir.exists(file)) << c.name << ": " << file;
        }
        const auto records = dir.records();
        ASSERT_EQ(records.size(), 1u) << c.name;
        EXPECT_EQ(records[0].args, concat(kernelPrefix(), c.kernelArgs)) << c.name;
    }
}

TEST(RunLog, ALogThatCannotBeOpenedEndsTheLaunchBeforeAnyHandOver) {
    for (const char* mode : {"", "-gui "}) {
        CompileDirectory dir;
        dir.installFrontEnd("rootA/lib/nt64");
        dir.writeFile("kivo.log", e2e::kEarlierLog);

        const auto outcome = dir.type(std::string("tb.exe ") + mode + "-log missing\\x.log");

        e2e::expectFailedLaunch(dir, outcome, "ERROR: missing\\x.log file open failed.\r\n", mode);
        EXPECT_FALSE(dir.exists("missing")) << mode;
    }
}
