// The rough edges of a real machine, end to end: odd run-log targets, a launcher ended in the
// middle of a launch, broken standard handles, odd environments, odd command files and odd names.
// Each row ends in one clear message and status 1, or in the launch going on unchanged; never in a
// hang, a wrong file, a wrong status, or a file left behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

using e2e::childrenOf;
using e2e::CompileDirectory;
using e2e::concat;
using e2e::kEarlierLog;
using e2e::kernelPrefix;
using e2e::kOldPath;
using e2e::logText;
using e2e::Outcome;
using e2e::rootEntries;
using e2e::StandardHandles;

namespace {

std::string composedPath(const CompileDirectory& dir) {
    return rootEntries(dir.rootA()) + rootEntries(dir.rootB()) + dir.rootB() +
           "\\quillo\\bin\\nt64;" + kOldPath;
}

// A file held open by this process without sharing, as an editor or a virus scanner may hold it.
class HeldOpen {
  public:
    explicit HeldOpen(const std::string& path)
        : handle_(CreateFileW(e2e::wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

  private:
    HANDLE handle_;
};

DWORD exitStatus(HANDLE process) {
    DWORD status = 0;
    GetExitCodeProcess(process, &status);
    return status;
}

void closeProcess(const PROCESS_INFORMATION& process) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Starts the launcher with the standard handles given, waits for it, and yields its status.
std::uint32_t launchWith(const CompileDirectory& dir, const std::string& commandLine,
                         const StandardHandles& handles) {
    const PROCESS_INFORMATION launcher = dir.startLauncherInBackground(commandLine, 0, handles);
    if (WaitForSingleObject(launcher.hProcess, 30000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << commandLine << ": the launcher hangs";
        TerminateProcess(launcher.hProcess, 1);
    }
    const DWORD status = exitStatus(launcher.hProcess);
    closeProcess(launcher);
    return status;
}

struct Pipe {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    Pipe() {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        CreatePipe(&read, &write, &inheritable, 0);
        SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    }
    ~Pipe() {
        if (read != nullptr) CloseHandle(read);
        if (write != nullptr) CloseHandle(write);
    }
};

// Makes the temporary files here an hour old, as those of a launch ended long ago.
void ageTemporaryFiles(const CompileDirectory& dir) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= 3600ull * 10'000'000;
    const FILETIME hourAgo{time.LowPart, time.HighPart};
    for (const std::string& name : dir.filesNamed("*.tmp")) {
        HANDLE file =
            CreateFileW(e2e::wide(dir.at(name)).c_str(), FILE_WRITE_ATTRIBUTES,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &hourAgo);
        CloseHandle(file);
    }
}

// After a launcher was ended in the middle of a launch, a later launch writes its log whole and
// leaves no temporary file of the ended one behind.
void expectALaterLaunchToClearUp(CompileDirectory& dir) {
    ageTemporaryFiles(dir);
    const Outcome outcome = dir.startLauncher("tb.exe -later");
    EXPECT_EQ(outcome.status, 0u) << outcome.output;
    EXPECT_EQ(dir.readFile("kivo.log"), logText("tb.exe -later"));
    EXPECT_EQ(dir.filesNamed("*.tmp"), std::vector<std::string>{});
}

// A launch whose log is held open by another process: the launcher creates its child suspended,
// writes the log to its temporary file, then waits for the log for a while. It is ended there,
// while it writes and while the child has not run yet: the child must end with it rather than stay
// suspended for ever, and a later launch must not trip over the temporary file it left.
void endTheLauncherWhileItWrites(CompileDirectory& dir, const std::string& command) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::optional<HeldOpen> log(std::in_place, dir.at("kivo.log"));
        const PROCESS_INFORMATION launcher = dir.startLauncherInBackground(command);
        // Its temporary file is there once the child has been created (ending a launcher inside
        // its CreateProcess call can leave Wine's half-made child hanging).
        const std::string temporary = "kivo.log." + std::to_string(launcher.dwProcessId) + ".tmp";
        bool writing = false;
        for (int waited = 0; !writing && waited < 10000; waited += 5) {
            if (WaitForSingleObject(launcher.hProcess, 5) == WAIT_OBJECT_0) break;
            writing = dir.exists(temporary);
        }
        const std::vector<DWORD> children = childrenOf(launcher.dwProcessId);
        if (!writing || children.empty()) {
            closeProcess(launcher);
            continue;  // the launcher gave up on the log before it was seen writing; once more
        }
        ASSERT_EQ(children.size(), 1u);
        HANDLE child = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, children[0]);
        ASSERT_NE(child, nullptr);
        ASSERT_TRUE(TerminateProcess(launcher.hProcess, 99));
        WaitForSingleObject(launcher.hProcess, 5000);
        const bool ended = WaitForSingleObject(child, 5000) == WAIT_OBJECT_0;
        EXPECT_TRUE(ended) << command << ": the child is left suspended after its launcher ended";
        if (!ended) TerminateProcess(child, 1);
        CloseHandle(child);
        closeProcess(launcher);
        EXPECT_TRUE(dir.records().empty()) << command << ": the child ran";
        log.reset();
        expectALaterLaunchToClearUp(dir);
        return;
    }
    FAIL() << command << ": the launcher was never seen writing its log";
}

// A front end that runs when its launcher is ended runs on: it is the user's window.
void endTheLauncherWhileTheFrontEndRuns(CompileDirectory& dir) {
    dir.environment["KIVO_STANDIN_WAIT_MS"] = "30000";
    const PROCESS_INFORMATION launcher = dir.startLauncherInBackground("tb.exe -gui");
    const DWORD frontEndPid = e2e::waitForKernel(dir, launcher.hProcess);
    ASSERT_NE(frontEndPid, 0u) << "the front end did not start";
    HANDLE frontEnd = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, frontEndPid);
    ASSERT_NE(frontEnd, nullptr);
    ASSERT_TRUE(TerminateProcess(launcher.hProcess, 99));
    WaitForSingleObject(launcher.hProcess, 5000);
    EXPECT_EQ(WaitForSingleObject(frontEnd, 1000), WAIT_TIMEOUT)
        << "the front end ended with its launcher";
    TerminateProcess(frontEnd, 1);
    CloseHandle(frontEnd);
    closeProcess(launcher);
}

struct Row {
    const char* input;
    std::function<void(CompileDirectory&)> prepare;  // the fixture; kivo.log holds kEarlierLog
    std::function<Outcome(CompileDirectory&)> launch;
    // What a normal launch gives the kernel after its first three arguments, and the file that then
    // holds the log; or, for a launch that must fail, its whole output.
    std::optional<std::vector<std::string>> kernelArgs{};
    std::string logFile{};
    std::string typed{};  // the arguments as the log shows them
    std::string message{};
    std::function<void(const CompileDirectory&, const Outcome&)> alsoCheck{};
    std::vector<std::string> temporaryFilesAfter{};
};

std::function<Outcome(CompileDirectory&)> typing(const std::string& command) {
    return [command](CompileDirectory& dir) { return dir.type(command); };
}

// Rows whose launch checks everything itself.
std::function<Outcome(CompileDirectory&)> checkedBy(std::function<void(CompileDirectory&)> run) {
    return [run](CompileDirectory& dir) {
        run(dir);
        return Outcome{};
    };
}

void nothing(CompileDirectory&) {}

}  // namespace

TEST(Field, EachRowEndsInAMessageOrTheLaunchGoingOn) {
    const std::string openFailed = " file open failed.\r\n";
    const std::string notFound = "Command file for -f not found\r\n";
    const std::string parseError = "Error in parsing -f file\r\n";
    const std::string longName =
        std::string(120, 'l') + "\\" + std::string(120, 'm') + "\\" + std::string(40, 'n') + ".log";
    const std::vector<Row> rows = {
        // The run log's target.
        {"a read-only log",
         [](CompileDirectory& dir) {
             SetFileAttributesW(e2e::wide(dir.at("kivo.log")).c_str(), FILE_ATTRIBUTE_READONLY);
         },
         typing("tb.exe -x"), std::nullopt, "", "", "ERROR: kivo.log" + openFailed,
         [](const CompileDirectory& dir, const Outcome&) {
             SetFileAttributesW(e2e::wide(dir.at("kivo.log")).c_str(), FILE_ATTRIBUTE_NORMAL);
         }},
        {"a log another process holds open without sharing", nothing,
         [](CompileDirectory& dir) {
             HeldOpen held(dir.at("held.log"));
             return dir.type("tb.exe -log held.log");
         },
         std::nullopt, "", "", "ERROR: held.log" + openFailed},
        {"a log in a directory that does not exist", nothing, typing("tb.exe -log nowhere\\x.log"),
         std::nullopt, "", "", "ERROR: nowhere\\x.log" + openFailed},
        {"a log that is a directory", [](CompileDirectory& dir) { dir.makeDirectory("logdir"); },
         typing("tb.exe -log logdir"), std::nullopt, "", "", "ERROR: logdir" + openFailed},
        {"an empty -log value", nothing, typing("tb.exe -log \"\""), std::nullopt, "", "",
         "ERROR: " + openFailed},
        {"a log on the NUL device", nothing, typing("tb.exe -log NUL"),
         std::vector<std::string>{"-log", "NUL"}, "", "", "",
         [](const CompileDirectory& dir, const Outcome&) {
             EXPECT_EQ(dir.filesNamed("NUL*"), std::vector<std::string>{});
             EXPECT_EQ(dir.readFile("kivo.log"), kEarlierLog);
         }},
        // With a console, the log is written there; Wine's consoles without a display refuse.
        {"a log on the console, where there is none", nothing, typing("tb.exe -log CON"),
         std::nullopt, "", "", "ERROR: CON" + openFailed},
        {"a log in an alternate data stream", nothing, typing("tb.exe -log kivo.log:x"),
         std::vector<std::string>{"-log", "kivo.log:x"}, "kivo.log:x", "tb.exe -log kivo.log:x",
         ""},
        {"a log beyond 260 characters",
         [&](CompileDirectory& dir) {
             dir.makeDirectory(longName.substr(0, longName.rfind('\\')));
         },
         typing("tb.exe -log " + longName), std::vector<std::string>{"-log", longName}, longName,
         "tb.exe -log " + longName, ""},
        {"stale temporary files of launches that ended",
         [](CompileDirectory& dir) {
             dir.writeFile("kivo.log.4000000000.tmp", "stale");
             dir.writeFile("kivo.log.4000000004.tmp", "stale, read-only");
             dir.writeFile("kivo.log.keep.tmp", "not a launcher's");
             ageTemporaryFiles(dir);
             SetFileAttributesW(e2e::wide(dir.at("kivo.log.4000000004.tmp")).c_str(),
                                FILE_ATTRIBUTE_READONLY);
             // Written just now: a launch on another machine may be moving it into place.
             dir.writeFile("kivo.log.4000000008.tmp", "recent");
         },
         typing("tb.exe -x"),
         std::vector<std::string>{"-x"},
         "kivo.log",
         "tb.exe -x",
         "",
         [](const CompileDirectory& dir, const Outcome&) {
             EXPECT_EQ(dir.readFile("kivo.log.keep.tmp"), "not a launcher's");
             EXPECT_EQ(dir.readFile("kivo.log.4000000008.tmp"), "recent");
         },
         {"kivo.log.4000000008.tmp", "kivo.log.keep.tmp"}},

        // Lifetime.
        {"the launcher ended while it writes the log and the kernel is suspended", nothing,
         checkedBy([](CompileDirectory& dir) { endTheLauncherWhileItWrites(dir, "tb.exe -x"); })},
        {"the launcher ended while it writes the log and the front end is suspended",
         [](CompileDirectory& dir) { dir.installFrontEnd("rootA/lib/nt64"); },
         checkedBy([](CompileDirectory& dir) { endTheLauncherWhileItWrites(dir, "tb.exe -gui"); })},
        {"the launcher ended while the front end runs",
         [](CompileDirectory& dir) { dir.installFrontEnd("rootA/lib/nt64"); },
         checkedBy(endTheLauncherWhileTheFrontEndRuns)},
        {"exit statuses that look like no status",
         [](CompileDirectory& dir) { dir.installFrontEnd("rootA/lib/nt64"); },
         checkedBy([](CompileDirectory& dir) {
             for (const std::uint32_t status : {259u, 0xC0000005u, 0xFFFFFFFFu}) {
                 dir.environment["KIVO_STANDIN_STATUS"] = std::to_string(status);
                 EXPECT_EQ(dir.startLauncher("tb.exe -x").status, status);
                 EXPECT_EQ(dir.startLauncher("tb.exe -gui").status, status);
             }
         })},

        // Standard handles.
        {"standard output closed, standard error invalid while tracing", nothing,
         [](CompileDirectory& dir) {
             dir.environment["KIVOLAUNCH_TRACE"] = "1";
             HANDLE nul = e2e::inheritableNul();
             Outcome outcome;
             outcome.status = launchWith(dir, "tb.exe -x", {nul, nullptr, INVALID_HANDLE_VALUE});
             CloseHandle(nul);
             return outcome;
         },
         std::vector<std::string>{"-x"}, "kivo.log", "tb.exe -x", ""},
        {"output to a pipe nobody reads, and to one closed early", nothing,
         checkedBy([](CompileDirectory& dir) {
             dir.environment["KIVOLAUNCH_TRACE"] = "1";
             dir.environment["KIVO_STANDIN_STATUS"] = "7";
             HANDLE nul = e2e::inheritableNul();
             {
                 Pipe unread;
                 EXPECT_EQ(launchWith(dir, "tb.exe -x", {nul, unread.write, unread.write}), 7u);
             }
             Pipe closedEarly;
             CloseHandle(closedEarly.read);
             closedEarly.read = nullptr;
             EXPECT_EQ(launchWith(dir, "tb.exe -x", {nul, closedEarly.write, closedEarly.write}),
                       7u);
             CloseHandle(nul);
             EXPECT_EQ(dir.records().size(), 2u);
         })},

        // Environment.
        {"Path spelled in another case than PATH",
         [](CompileDirectory& dir) {
             dir.environment["PATH"] = std::nullopt;
             dir.environment["Path"] = kOldPath;
         },
         typing("tb.exe -x"), std::vector<std::string>{"-x"}, "kivo.log", "tb.exe -x", "",
         [](const CompileDirectory& dir, const Outcome&) {
             const auto records = dir.records();
             ASSERT_EQ(records.size(), 1u);
             EXPECT_EQ(records[0].environment.at("PATH"), composedPath(dir));
             EXPECT_EQ(records[0].pathNames.size(), 1u) << "PATH twice in the kernel's block";
         }},
        {"PATH unset", [](CompileDirectory& dir) { dir.environment["PATH"] = std::nullopt; },
         typing("tb.exe -x"), std::vector<std::string>{"-x"}, "kivo.log", "tb.exe -x", "",
         [](const CompileDirectory& dir, const Outcome&) {
             const std::string composed = composedPath(dir);
             EXPECT_EQ(dir.records().at(0).environment.at("PATH"),
                       composed.substr(0, composed.size() - kOldPath.size()));
         }},
        {"VELDRA_DSP set empty",
         [](CompileDirectory& dir) {
             dir.environment["PATH"] = kOldPath;
             dir.environment["VELDRA_DSP"] = "";
         },
         typing("tb.exe -x"), std::vector<std::string>{"-x"}, "kivo.log", "tb.exe -x", "",
         [](const CompileDirectory& dir, const Outcome&) {
             // An empty root names no directory: no entry at the root of the drive.
             const auto environment = dir.records().at(0).environment;
             EXPECT_EQ(environment.at("PATH"),
                       rootEntries(dir.rootA()) + rootEntries(dir.rootB()) + kOldPath);
             EXPECT_EQ(environment.at("VELDRA_DSP"), "");
         }},
        {"5,000 installation roots",
         [](CompileDirectory& dir) {
             std::string roots = dir.rootA();
             for (int i = 0; i < 5000; ++i) roots += ";r" + std::to_string(i);
             dir.environment["VELDRA"] = roots;
             dir.environment["PATH"] = kOldPath;
         },
         typing("tb.exe -x"), std::nullopt, "", "", "",
         [](const CompileDirectory& dir, const Outcome& outcome) {
             EXPECT_EQ(outcome.status, 1u);
             EXPECT_TRUE(dir.records().empty());
             EXPECT_EQ(dir.readFile("kivo.log"), kEarlierLog);
             std::size_t length = rootEntries(dir.rootA()).size() + kOldPath.size();
             for (int i = 0; i < 5000; ++i) length += rootEntries("r" + std::to_string(i)).size();
             EXPECT_EQ(outcome.output, "ERROR: The composed PATH is " + std::to_string(length) +
                                           " characters long; the platform's limit on an "
                                           "environment value is 32766 characters. Shorten "
                                           "VELDRA or PATH.\r\n");
         }},
        {"an environment block near its limits: a composed PATH of 32,766 characters and a "
         "megabyte of other variables",
         [](CompileDirectory& dir) {
             const std::size_t rest = composedPath(dir).size() - kOldPath.size();
             dir.environment["PATH"] =
                 kOldPath + ";" + std::string(32766 - rest - kOldPath.size() - 1, 'p');
             for (int i = 0; i < 32; ++i) {
                 dir.environment["KIVO_FILLER_" + std::to_string(i)] = std::string(32766, 'f');
             }
         },
         typing("tb.exe -x"), std::vector<std::string>{"-x"}, "kivo.log", "tb.exe -x", "",
         [](const CompileDirectory& dir, const Outcome&) {
             EXPECT_EQ(dir.records().at(0).environment.at("PATH").value_or("").size(), 32766u);
         }},

        // Command files.
        {"a command file that is a directory",
         [](CompileDirectory& dir) { dir.makeDirectory("dir.f"); }, typing("tb.exe -f dir.f"),
         std::nullopt, "", "", notFound},
        {"a 100 MB command file",
         [](CompileDirectory& dir) {
             const std::string line = "# " + std::string(97, 'c') + "\n";
             std::string text;
             text.reserve(100 * 1000 * 1000 + 8);
             while (text.size() < 100 * 1000 * 1000) text += line;
             dir.writeFile("big.f", text + "-x\n");
         },
         typing("tb.exe -f big.f"), std::vector<std::string>{"-x"}, "kivo.log", "tb.exe -f big.f",
         "", [](const CompileDirectory& dir, const Outcome&) { dir.remove("big.f"); }},
        {"a command file another process holds open without sharing", nothing,
         [](CompileDirectory& dir) {
             HeldOpen held(dir.at("held.f"));
             return dir.type("tb.exe -f held.f");
         },
         std::nullopt, "", "", notFound},
        {"-f last with no name", nothing, typing("tb.exe -x -f"), std::nullopt, "", "", notFound},
        {"UTF-16 with an odd byte count",
         [](CompileDirectory& dir) { dir.writeFile("odd.f", std::string("\xFF\xFE-\0x\0\n", 7)); },
         typing("tb.exe -f odd.f"), std::nullopt, "", "", parseError},
        {"byte-order marks alone",
         [](CompileDirectory& dir) {
             dir.writeFile("utf8.f", "\xEF\xBB\xBF");
             dir.writeFile("utf16le.f", "\xFF\xFE");
             dir.writeFile("utf16be.f", "\xFE\xFF");
         },
         typing("tb.exe -f utf8.f -f utf16le.f -f utf16be.f -x"), std::vector<std::string>{"-x"},
         "kivo.log", "tb.exe -f utf8.f -f utf16le.f -f utf16be.f -x", ""},

        // The launcher's name.
        {"typed as a UNC path", nothing,
         [](CompileDirectory& dir) { return dir.startWide("\\\\server\\share\\cd\\tb.exe -x"); },
         std::vector<std::string>{"-x"}, "kivo.log", "\\\\server\\share\\cd\\tb.exe -x", ""},
        {"typed as \\\\?\\C:\\...", nothing,
         [](CompileDirectory& dir) { return dir.startWide("\\\\?\\" + dir.at("tb.exe") + " -x"); },
         std::vector<std::string>{"-x"}, "kivo.log", "", "",
         [](const CompileDirectory& dir, const Outcome&) {
             EXPECT_EQ(dir.readFile("kivo.log"), logText("\\\\?\\" + dir.at("tb.exe") + " -x"));
         }},
        {"typed by a relative path from another compile directory",
         [](CompileDirectory& dir) {
             dir.writeFile("other/kivo/tb.exe.sim/tb.exe", "another design's image");
         },
         [](CompileDirectory& dir) { return dir.startLauncher("..\\tb.exe -x", dir.at("other")); },
         std::vector<std::string>{"-x"}, "other/kivo.log", "..\\tb.exe -x", "",
         [](const CompileDirectory& dir, const Outcome&) {
             EXPECT_EQ(dir.records().at(0).directory, dir.at("other"));
         }},
        {"typed by a relative path from a directory that holds no design",
         [](CompileDirectory& dir) { dir.makeDirectory("elsewhere"); },
         [](CompileDirectory& dir) {
             return dir.startLauncher("..\\tb.exe -x", dir.at("elsewhere"));
         },
         std::nullopt, "", "",
         "ERROR: Unable to get status of support file \"kivo/tb.exe.sim/tb.exe\" needed to run "
         "simulation.\r\nERROR: Could not find file \"kivo/tb.exe.sim/tb.exe\" needed for running "
         "simulation. Please ensure that simulation is run in the same directory where the design "
         "was compiled and no files generated by compiler are deleted or inaccessible.\r\n",
         [](const CompileDirectory& dir, const Outcome&) {
             EXPECT_FALSE(dir.exists("elsewhere/kivo.log"));
         }},
        {"renamed without .exe",
         [](CompileDirectory& dir) {
             CopyFileW(e2e::wide(dir.at("tb.exe")).c_str(), e2e::wide(dir.at("mysim")).c_str(),
                       FALSE);
             dir.writeFile("kivo/mysim.exe.sim/mysim.exe", "simulation image");
         },
         [](CompileDirectory& dir) { return dir.startWide("mysim -x", "mysim"); }, std::nullopt, "",
         "", "",
         [](const CompileDirectory& dir, const Outcome& outcome) {
             EXPECT_EQ(outcome.status, 0u) << outcome.output;
             const auto records = dir.records();
             ASSERT_EQ(records.size(), 1u);
             EXPECT_EQ(records[0].args,
                       (std::vector<std::string>{"kivotcl", "-exe", "kivo/mysim.exe.sim/mysim.exe",
                                                 "-x"}));
             EXPECT_EQ(dir.readFile("kivo.log"), logText("mysim -x"));
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.input);
        CompileDirectory dir;
        dir.environment["PATH"] = kOldPath;
        dir.writeFile("kivo.log", kEarlierLog);
        row.prepare(dir);

        const Outcome outcome = row.launch(dir);

        if (row.kernelArgs) {
            EXPECT_EQ(outcome.status, 0u) << outcome.output;
            const auto records = dir.records();
            EXPECT_EQ(records.size(), 1u) << outcome.output;
            if (!records.empty()) {
                EXPECT_EQ(records[0].args, concat(kernelPrefix(), *row.kernelArgs));
            }
            if (!row.logFile.empty() && !row.typed.empty()) {
                EXPECT_EQ(dir.readFile(row.logFile), logText(row.typed));
            }
        } else if (!row.message.empty()) {
            e2e::expectFailedLaunch(dir, outcome, row.message);
        }
        if (row.alsoCheck) row.alsoCheck(dir, outcome);
        EXPECT_EQ(dir.filesNamed("*.tmp"), row.temporaryFilesAfter);
    }
}
