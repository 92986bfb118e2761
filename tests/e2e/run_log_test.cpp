// Whole launches and their run log: which file is written, what it holds, and the launch that
// cannot open it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "tests/e2e/harness.h"

using e2e::CompileDirectory;
using e2e::concat;
using e2e::kernelPrefix;
using e2e::logText;

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

// Launches side by side in one directory: each writes its log to a file of its own and moves it
// into place, so kivo.log is always one run's whole log, never a mix, and nothing is left behind.
TEST(RunLog, LaunchesSideBySideLeaveOneWholeLog) {
    CompileDirectory dir;
    dir.environment["KIVO_STANDIN_RECORD"] = std::nullopt;
    const int launches = 8;
    for (int round = 0; round < 15; ++round) {
        dir.writeFile("kivo.log", e2e::kEarlierLog);
        std::vector<std::string> logs;
        std::vector<PROCESS_INFORMATION> started;
        for (int i = 0; i < launches; ++i) {
            // Logs of different lengths, so that a shorter one written over a longer one would
            // leave the longer one's tail behind.
            const std::string typed = "tb.exe -x " + std::to_string(round) + "." +
                                      std::to_string(i) + " " + std::string(1 + 2500 * i, 'p');
            logs.push_back(logText(typed));
            started.push_back(dir.startLauncherInBackground(typed, CREATE_SUSPENDED));
        }
        for (const PROCESS_INFORMATION& launcher : started) ResumeThread(launcher.hThread);
        for (const PROCESS_INFORMATION& launcher : started) {
            EXPECT_EQ(WaitForSingleObject(launcher.hProcess, 60000), WAIT_OBJECT_0);
            DWORD status = 1;
            GetExitCodeProcess(launcher.hProcess, &status);
            EXPECT_EQ(status, 0u) << "round " << round;
            CloseHandle(launcher.hThread);
            CloseHandle(launcher.hProcess);
        }
        const std::string log = dir.readFile("kivo.log").value_or("(none)");
        EXPECT_NE(std::find(logs.begin(), logs.end(), log), logs.end())
            << "round " << round << ": kivo.log holds " << log.size()
            << " bytes: " << log.substr(0, 200);
        EXPECT_EQ(dir.filesNamed("*.tmp"), std::vector<std::string>{}) << "round " << round;
    }
}

namespace {

// The Windows path of a directory on a small filesystem of its own that the test fixture mounts;
// empty, with the reason, where it could not be mounted.
std::string fullDiskDirectory(std::string& whyNot) {
    char value[1024];
    const DWORD length = GetEnvironmentVariableA("KIVO_E2E_FULL_DISK", value, sizeof value);
    if (length == 0 || length >= sizeof value) {
        whyNot = "KIVO_E2E_FULL_DISK names no directory";
        return "";
    }
    std::string directory = "Z:" + std::string(value, length);
    std::replace(directory.begin(), directory.end(), '/', '\\');
    FILE* reason = std::fopen((directory + "\\not-mounted").c_str(), "rb");
    if (reason != nullptr) {
        char text[512] = {};
        std::fread(text, 1, sizeof text - 1, reason);
        std::fclose(reason);
        whyNot = std::string("no small filesystem could be mounted: ") + text;
        return "";
    }
    return directory;
}

// Writes to the file until the filesystem refuses more.
void fillUp(const std::string& file) {
    FILE* filler = std::fopen(file.c_str(), "wb");
    ASSERT_NE(filler, nullptr) << file;
    const std::string chunk(4096, 'f');
    while (std::fwrite(chunk.data(), 1, chunk.size(), filler) == chunk.size() &&
           std::fflush(filler) == 0) {
    }
    std::fclose(filler);
}

}  // namespace

// A full disk: the old log stays as it was, no temporary file is left, the launch says so and
// ends with status 1, and the kernel never runs.
TEST(RunLog, AFullDiskLeavesTheOldLogAndStartsNothing) {
    std::string whyNot;
    const std::string full = fullDiskDirectory(whyNot);
    if (full.empty()) GTEST_SKIP() << whyNot;
    CompileDirectory dir;
    namespace fs = std::filesystem;
    for (const auto& entry : fs::directory_iterator(full)) fs::remove_all(entry.path());
    fs::create_directories(full + "\\kivo\\tb.exe.sim");
    {
        std::FILE* image = std::fopen((full + "\\kivo\\tb.exe.sim\\tb.exe").c_str(), "wb");
        std::fclose(image);
    }
    {
        std::FILE* log = std::fopen((full + "\\kivo.log").c_str(), "wb");
        std::fwrite(e2e::kEarlierLog.data(), 1, e2e::kEarlierLog.size(), log);
        std::fclose(log);
    }
    fillUp(full + "\\filler");

    const auto outcome = dir.startLauncher("tb.exe -x", full);

    EXPECT_EQ(outcome.status, 1u);
    EXPECT_EQ(outcome.output, "ERROR: kivo.log file write failed.\r\n");
    EXPECT_TRUE(dir.records().empty());
    std::FILE* log = std::fopen((full + "\\kivo.log").c_str(), "rb");
    ASSERT_NE(log, nullptr);
    std::string kept(100, '\0');
    kept.resize(std::fread(kept.data(), 1, kept.size(), log));
    std::fclose(log);
    EXPECT_EQ(kept, e2e::kEarlierLog);
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(full))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"filler", "kivo", "kivo.log"}));
    for (const auto& entry : fs::directory_iterator(full)) fs::remove_all(entry.path());
}
