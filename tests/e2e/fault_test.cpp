// Faults and bad input, end to end: arguments through the real C runtime, a killed launcher, and
// input that must end in a clear message or a normal launch, never in a crash or a lost argument.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

using e2e::CompileDirectory;
using e2e::concat;
using e2e::kernelPrefix;
using e2e::Record;

namespace {

// Writes one argument as the Microsoft C runtime reads it back: 2n backslashes and a quote give n
// backslashes and end or start a quoted part, 2n+1 give n and a literal quote, backslashes not
// followed by a quote are literal, and spaces and tabs separate arguments outside quotes. A bare
// argument needs no quotes at all; any other is quoted whole.
std::string written(const std::string& argument, bool bare) {
    std::string out = bare ? "" : "\"";
    std::size_t run = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++run;
            continue;
        }
        out += std::string(c == '"' ? 2 * run + 1 : run, '\\') + c;
        run = 0;
    }
    return out + std::string(bare ? run : 2 * run, '\\') + (bare ? "" : "\"");
}

// A small deterministic generator (xorshift), so that a failure can be replayed.
class Generator {
  public:
    std::uint32_t next(std::uint32_t bound) {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<std::uint32_t>(state_ % bound);
    }

    // Never begins with '-', so no launcher option (-f, -log, -tclbatch, ...) can be formed.
    std::string argument() {
        static const std::string ordinary = "ab Z09.:/#*?'-=%^&|<>()";
        std::string argument;
        const std::uint32_t length = next(4) == 0 ? 0 : 1 + next(14);
        while (argument.size() < length) {
            switch (next(7)) {
                case 0:
                    argument += ' ';
                    break;
                case 1:
                    argument += '\t';
                    break;
                case 2:
                    argument += '"';
                    break;
                case 3:
                    argument += std::string(1 + next(4), '\\');
                    break;
                case 4:
                    argument += static_cast<char>(0x80 + next(0x80));
                    break;
                default:
                    argument += ordinary[next(ordinary.size())];
            }
            if (argument[0] == '-') argument[0] = 'x';
        }
        return argument;
    }

  private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15u;
};

std::string show(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        text += "[";
        for (unsigned char c : argument) {
            if (c >= 0x20 && c < 0x7F) {
                text += static_cast<char>(c);
            } else {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                text += hex;
            }
        }
        text += "] ";
    }
    return text;
}

}  // namespace

// The launcher's C runtime splits a command line that this test writes; the launcher quotes the
// vector again for the kernel, whose C runtime splits it once more. What the kernel holds must be
// what was written, byte for byte.
TEST(FaultRoundTrip, GeneratedArgumentVectorsReachTheKernelExactly) {
    CompileDirectory dir;
    Generator generate;
    for (int launch = 0; launch < 200; ++launch) {
        std::vector<std::string> arguments;
        std::string commandLine = "tb.exe";
        for (std::uint32_t count = generate.next(9); count > 0; --count) {
            const std::string argument = generate.argument();
            const bool canBeBare =
                !argument.empty() && argument.find_first_of(" \t\"") == std::string::npos;
            const bool bare = canBeBare && generate.next(2) == 0;
            const std::size_t separators = 1 + generate.next(2);
            commandLine += std::string(separators, " \t"[generate.next(2)]);
            commandLine += written(argument, bare);
            arguments.push_back(argument);
        }
        dir.remove("record.txt");

        const auto outcome = dir.startLauncher(commandLine);

        ASSERT_EQ(outcome.status, 0u) << "launch " << launch << ": " << outcome.output;
        const auto records = dir.records();
        ASSERT_EQ(records.size(), 1u) << "launch " << launch;
        ASSERT_EQ(records[0].args, concat(kernelPrefix(), arguments))
            << "launch " << launch << ", code page " << GetACP() << "\n  sent " << show(arguments)
            << "\n  got  " << show(records[0].args) << "\n  command line " << commandLine;
    }
}

using e2e::childrenOf;
using e2e::waitForKernel;

// A script's time-out kills the launcher; the simulation must not run on without it.
TEST(FaultKill, KillingTheLauncherEndsTheKernel) {
    CompileDirectory dir;
    dir.environment["KIVO_STANDIN_WAIT_MS"] = "60000";
    const PROCESS_INFORMATION launcher = dir.startLauncherInBackground("tb.exe -x");
    const DWORD kernelPid = waitForKernel(dir, launcher.hProcess);
    ASSERT_NE(kernelPid, 0u) << "the kernel did not start";
    HANDLE kernel = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, kernelPid);
    ASSERT_NE(kernel, nullptr) << "the kernel is gone before the launcher was killed";
    ASSERT_EQ(WaitForSingleObject(kernel, 0), WAIT_TIMEOUT);

    ASSERT_TRUE(TerminateProcess(launcher.hProcess, 99));
    ASSERT_EQ(WaitForSingleObject(launcher.hProcess, 5000), WAIT_OBJECT_0);

    const bool kernelEnded = WaitForSingleObject(kernel, 5000) == WAIT_OBJECT_0;
    EXPECT_TRUE(kernelEnded) << "the kernel runs on after its launcher was killed";
    EXPECT_EQ(childrenOf(launcher.dwProcessId), std::vector<DWORD>{}) << "left running";
    if (!kernelEnded) TerminateProcess(kernel, 1);
    CloseHandle(kernel);
    CloseHandle(launcher.hThread);
    CloseHandle(launcher.hProcess);
}

// Input a script or a hand-written command file can hand the launcher. Each row ends in one clear
// message and status 1, or in a normal launch; nothing crashes, no argument arrives cut, and a
// failed run leaves an existing kivo.log as it was.
//
// Rows tested elsewhere: a command file that is a directory, one with a NUL byte, and a quoted
// argument left open at the end of the file
// (CommandFiles.AnUnusableFileEndsTheLaunchWithItsMessage); a quoted argument of over 200
// characters arriving whole (CommandFiles.SeveralFilesExpandInOrderAndTheirArgumentsArriveWhole);
// VELDRA unset or made only of separators
// (KernelLaunch.NoKernelToStartIsReportedWithWhatIsMissing); a composed PATH or a kernel command
// line over the platform's limit (KernelLaunch.AComposedPathOverThePlatformLimitStartsNothing,
// KernelLaunch.AKernelCommandLineOverThePlatformLimitStartsNothing).
TEST(FaultBadInput, EachRowEndsInAMessageOrANormalLaunch) {
    const std::string earlierLog = e2e::kEarlierLog;
    const std::string mebibyte(1 << 20, 'x');
    const std::string kernelLineStart = "kivotcl -exe kivo/tb.exe.sim/tb.exe ";
    struct Row {
        const char* input;
        std::function<void(CompileDirectory&)> prepare;
        std::string command;
        std::uint32_t status;
        std::string message;  // the whole output of a failed run; what a launch prints must hold it
        std::vector<std::string> kernelArgs;  // after kivotcl -exe <support path>, when it launches
        std::optional<std::string> logAfter;  // kivo.log afterwards (it held earlierLog before)
    };
    const std::vector<Row> rows = {
        {"a 1 MiB comment line",
         [&](CompileDirectory& dir) { dir.writeFile("big.f", "# " + mebibyte + "\n-x\n"); },
         "tb.exe -f big.f",
         0,
         "kivotcl stand-in: started with 4 arguments",
         {"-x"},
         "Kivo log file\r\nRunning: tb.exe -f big.f \r\n"},
        {"a 1 MiB line of spaces between two words",
         [&](CompileDirectory& dir) {
             dir.writeFile("big.f", "a" + std::string(1 << 20, ' ') + "b\n");
         },
         "tb.exe -f big.f",
         0,
         "kivotcl stand-in: started with 5 arguments",
         {"a", "b"},
         "Kivo log file\r\nRunning: tb.exe -f big.f \r\n"},
        {"a 1 MiB line that is one argument",
         [&](CompileDirectory& dir) { dir.writeFile("big.f", mebibyte + "\n"); },
         "tb.exe -f big.f",
         1,
         "ERROR: The command line for the simulation kernel is " +
             std::to_string(kernelLineStart.size() + mebibyte.size()) +
             " characters long; the platform's limit is 32766 characters.\r\n",
         {},
         earlierLog},
        {"-f naming the log file",
         [&](CompileDirectory& dir) {
             dir.writeFile("kivo.log", "Kivo log file\r\nRunning: tb.exe -x \"a b\" \r\n");
         },
         "tb.exe -f kivo.log",
         0,
         "kivotcl stand-in: started with 10 arguments",
         {"Kivo", "log", "file", "Running:", "tb.exe", "-x", "a b"},
         "Kivo log file\r\nRunning: tb.exe -f kivo.log \r\n"},
        {"-log naming a directory (somedir, which holds a file)",
         [](CompileDirectory&) {},
         "tb.exe -log somedir",
         1,
         "ERROR: somedir file open failed.\r\n",
         {},
         earlierLog},
        {"an installation root that does not exist",
         [&](CompileDirectory& dir) {
             dir.environment["VELDRA"] = dir.at("nowhere") + ";" + dir.rootA() + ";" + dir.rootB();
         },
         "tb.exe -x",
         0,
         "kivotcl stand-in: started with 4 arguments",
         {"-x"},
         "Kivo log file\r\nRunning: tb.exe -x \r\n"},
    };
    for (const Row& row : rows) {
        CompileDirectory dir;
        dir.writeFile("kivo.log", earlierLog);
        dir.writeFile("somedir/keep.txt", "kept");
        row.prepare(dir);

        const auto outcome = dir.type(row.command);

        EXPECT_EQ(outcome.status, row.status) << row.input;
        const auto records = dir.records();
        if (row.status == 0) {
            EXPECT_NE(outcome.output.find(row.message), std::string::npos)
                << row.input << ": " << outcome.output;
            ASSERT_EQ(records.size(), 1u) << row.input;
            EXPECT_EQ(records[0].module, dir.kernelUnder(dir.rootA())) << row.input;
            EXPECT_EQ(records[0].args, concat(kernelPrefix(), row.kernelArgs)) << row.input;
            EXPECT_EQ(dir.readFile("kivo.log"), row.logAfter) << row.input;
        } else {
            e2e::expectFailedLaunch(dir, outcome, row.message, row.input);
        }
        EXPECT_EQ(dir.readFile("somedir/keep.txt"), "kept") << row.input;
    }
}

namespace {

// Started again with KIVO_E2E_CTRL_C_FOR set to a process id, this test binary does nothing but
// join that process's console and send Ctrl+C to everyone on it. It ends with 0 when the event
// was sent, else with 0x10000 or 0x20000 (attaching or sending failed) plus the system's error.
// The test process itself never leaves its own console, which carries its output.
const bool kCtrlCSender = [] {
    char pid[32];
    if (GetEnvironmentVariableA("KIVO_E2E_CTRL_C_FOR", pid, sizeof pid) == 0) return false;
    FreeConsole();
    if (!AttachConsole(std::strtoul(pid, nullptr, 10))) ExitProcess(0x10000 | GetLastError());
    SetConsoleCtrlHandler(nullptr, TRUE);
    if (!GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) ExitProcess(0x20000 | GetLastError());
    ExitProcess(0);
}();

DWORD sendCtrlCToTheConsoleOf(DWORD pid) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string commandLine = "e2e_tests.exe";
    SetEnvironmentVariableA("KIVO_E2E_CTRL_C_FOR", std::to_string(pid).c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION sender{};
    const BOOL started = CreateProcessA(self, commandLine.data(), nullptr, nullptr, FALSE,
                                        DETACHED_PROCESS, nullptr, nullptr, &startup, &sender);
    SetEnvironmentVariableA("KIVO_E2E_CTRL_C_FOR", nullptr);
    if (!started) return 0x30000 | GetLastError();
    WaitForSingleObject(sender.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(sender.hProcess, &status);
    CloseHandle(sender.hThread);
    CloseHandle(sender.hProcess);
    return status;
}

}  // namespace

// Ctrl+C reaches every process on the console. The launcher ignores it and waits; the kernel
// decides what Ctrl+C means (here: end with status 5), and the launcher ends with that status.
// The launcher gets a console of its own, not in a process group of its own: a new group would
// make the kernel ignore Ctrl+C too.
TEST(FaultInterrupt, CtrlCEndsTheKernelAndTheLauncherEndsWithItsStatus) {
    CompileDirectory dir;
    dir.environment["KIVO_STANDIN_WAIT_MS"] = "30000";
    dir.environment["KIVO_STANDIN_INTERRUPT_STATUS"] = "5";
    const PROCESS_INFORMATION launcher =
        dir.startLauncherInBackground("tb.exe -x", CREATE_NEW_CONSOLE);
    const DWORD kernelPid = waitForKernel(dir, launcher.hProcess);
    ASSERT_NE(kernelPid, 0u) << "the kernel did not start";

    const DWORD sent = sendCtrlCToTheConsoleOf(launcher.dwProcessId);

    const bool ended =
        WaitForSingleObject(launcher.hProcess, sent == 0 ? 10000 : 0) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(launcher.hProcess, 1);
    DWORD status = 0;
    GetExitCodeProcess(launcher.hProcess, &status);
    CloseHandle(launcher.hThread);
    CloseHandle(launcher.hProcess);
    if (sent != 0) {
        GTEST_SKIP() << "no console control event can be sent here (status 0x" << std::hex << sent
                     << " of the sender: 0x1xxxx attaching, 0x2xxxx sending, 0x3xxxx starting)";
    }
    ASSERT_TRUE(ended) << "the launcher did not end after Ctrl+C";
    EXPECT_EQ(status, 5u);
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].interrupted);
}

// A kernel may start helpers of its own. Once it ends by itself they are its business and live
// on; while it runs, killing the launcher ends them with it.
TEST(FaultChildren, AHelperOfTheKernelOutlivesANormalExitAndDiesWithAnAbortedLauncher) {
    for (const bool abort : {false, true}) {
        CompileDirectory dir;
        dir.environment["KIVO_STANDIN_SPAWN"] = "\"" + dir.kernelUnder(dir.rootA()) + "\" helper";
        dir.environment["KIVO_STANDIN_SPAWN_WAIT_MS"] = "30000";
        if (abort) dir.environment["KIVO_STANDIN_WAIT_MS"] = "60000";
        const PROCESS_INFORMATION launcher = dir.startLauncherInBackground("tb.exe -x");
        if (abort) {
            ASSERT_NE(waitForKernel(dir, launcher.hProcess), 0u) << "the kernel did not start";
        }
        DWORD helperPid = 0;
        for (int waited = 0; helperPid == 0 && waited < 10000; waited += 20) {
            const auto records = dir.records();
            if (!records.empty()) helperPid = records[0].spawned;
            if (helperPid == 0) Sleep(20);
        }
        ASSERT_NE(helperPid, 0u) << "the kernel started no helper";
        HANDLE helper = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, helperPid);
        ASSERT_NE(helper, nullptr);

        if (abort) {
            ASSERT_TRUE(TerminateProcess(launcher.hProcess, 99));
        }
        ASSERT_EQ(WaitForSingleObject(launcher.hProcess, 10000), WAIT_OBJECT_0);
        DWORD status = 0;
        GetExitCodeProcess(launcher.hProcess, &status);
        EXPECT_EQ(status, abort ? 99u : 0u);

        if (abort) {
            EXPECT_EQ(WaitForSingleObject(helper, 5000), WAIT_OBJECT_0)
                << "the helper runs on after its launcher was killed";
        } else {
            EXPECT_EQ(WaitForSingleObject(helper, 1000), WAIT_TIMEOUT)
                << "the helper ended with the launcher, though its kernel had ended normally";
        }
        TerminateProcess(helper, 1);
        CloseHandle(helper);
        CloseHandle(launcher.hThread);
        CloseHandle(launcher.hProcess);
    }
}
