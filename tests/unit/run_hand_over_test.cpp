#include "app/run_hand_over.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/launch_trace.h"
#include "args/run_log.h"

namespace {

using Calls = std::vector<std::string>;

// A system that records each call of a hand-over, in order, and answers as the test asks.
struct FakeSystem {
    Calls calls;
    bool startRefused = false;
    platform::FileWrite logWrite = platform::FileWrite::done;
    std::uint32_t status = 0;

    platform::System system() {
        return {
            [this](const std::string& path) {
                calls.push_back("status " + path);
                return true;
            },
            [this](const std::string& path, const std::string& text) {
                calls.push_back("replace " + path + " with " + text);
                return logWrite;
            },
            [this](const platform::StartSettings&, const std::string& program,
                   const std::string& commandLine) {
                calls.push_back("start suspended " + program + " as " + commandLine);
                if (startRefused) return platform::ChildStart{std::nullopt, "refused (error 5)"};
                return platform::ChildStart{platform::SuspendedChild{}, ""};
            },
            [this](platform::SuspendedChild) {
                calls.push_back("resume");
                return status;
            },
            [this](platform::SuspendedChild) { calls.push_back("discard"); },
            [this] { calls.push_back("ignore interrupts"); },
            [this] { calls.push_back("console as standard input"); },
        };
    }
};

HandOver kernel() {
    HandOver handOver{"the simulation kernel",
                      {"C:\\k.exe", "kivotcl -exe x"},
                      {true, false, true},
                      true,
                      false,
                      "C:\\k.exe",
                      {}};
    handOver.failedStartMessage = [](const std::string& error) {
        return std::optional<std::string>("ERROR: Cannot start C:\\k.exe: " + error);
    };
    return handOver;
}

HandOver frontEnd() {
    HandOver handOver{"the front end",
                      {"", "kivogui -exe x"},
                      {false, true, false},
                      false,
                      true,
                      "kivogui (not found)",
                      {}};
    handOver.failedStartMessage = [](const std::string&) { return std::nullopt; };
    return handOver;
}

const std::vector<std::string> kTyped{"tb.exe", "-x"};
const std::string kLogWrite = "replace kivo.log with " + runLogText(kTyped);

}  // namespace

TEST(RunHandOver, CreatesTheChildThenWritesTheLogThenLetsItRun) {
    const struct {
        const char* name;
        HandOver handOver;
        RunLogSettings log;
        Calls calls;
    } cases[] = {
        {"kernel",
         kernel(),
         {},
         {"ignore interrupts", "start suspended C:\\k.exe as kivotcl -exe x", kLogWrite, "resume"}},
        {"front end",
         frontEnd(),
         {},
         {"console as standard input", "start suspended  as kivogui -exe x", kLogWrite, "resume"}},
        {"no log",
         kernel(),
         {true, "kivo.log"},
         {"ignore interrupts", "start suspended C:\\k.exe as kivotcl -exe x", "resume"}},
    };
    for (const auto& c : cases) {
        FakeSystem fake;
        fake.status = 0xC0000005u;
        const LaunchEnd end = runHandOver(c.handOver, c.log, kTyped, fake.system());
        EXPECT_EQ(fake.calls, c.calls) << c.name;
        EXPECT_EQ(end.status, 0xC0000005u) << c.name;
        EXPECT_EQ(end.message, std::nullopt) << c.name;
        ASSERT_EQ(end.traceLines.size(), 1u) << c.name;
        const std::string ended =
            c.handOver.label + " ended with status 3221225477 (0xC0000005) after ";
        EXPECT_EQ(end.traceLines[0].rfind(ended, 0), 0u) << end.traceLines[0];
    }
}

// A child that cannot be started costs no log: the kernel says why in a message, the front end
// ends with status 1 and only the trace says why.
TEST(RunHandOver, AChildThatCannotBeStartedWritesNoLog) {
    const struct {
        const char* name;
        HandOver handOver;
        LaunchEnd end;
    } cases[] = {
        {"kernel", kernel(), {1, "ERROR: Cannot start C:\\k.exe: refused (error 5)", {}}},
        {"front end",
         frontEnd(),
         {1, std::nullopt, {notStartedLine("the front end", "refused (error 5)")}}},
    };
    for (const auto& c : cases) {
        FakeSystem fake;
        fake.startRefused = true;
        EXPECT_EQ(runHandOver(c.handOver, {}, kTyped, fake.system()), c.end) << c.name;
        EXPECT_EQ(fake.calls.back().rfind("start suspended ", 0), 0u) << c.name;
    }
}

// A log that cannot be written lets no child run: it is discarded, never resumed.
TEST(RunHandOver, ALogThatCannotBeWrittenDiscardsTheChild) {
    const struct {
        platform::FileWrite write;
        const char* message;
    } cases[] = {
        {platform::FileWrite::cannotOpen, "ERROR: kivo.log file open failed."},
        {platform::FileWrite::writeFailed, "ERROR: kivo.log file write failed."},
    };
    for (const auto& c : cases) {
        FakeSystem fake;
        fake.logWrite = c.write;
        EXPECT_EQ(runHandOver(kernel(), {}, kTyped, fake.system()), (LaunchEnd{1, c.message, {}}))
            << c.message;
        EXPECT_EQ(fake.calls,
                  (Calls{"ignore interrupts", "start suspended C:\\k.exe as kivotcl -exe x",
                         kLogWrite, "discard"}))
            << c.message;
    }
}
