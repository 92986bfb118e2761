// Whole launches with KIVOLAUNCH_TRACE: every decision on standard error, in order, while standard
// output stays exactly what the same launch writes without the trace.
#include <gtest/gtest.h>

#include <regex>
#include <tuple>

#include "app/version.h"
#include "tests/e2e/harness.h"

using e2e::CompileDirectory;
using e2e::kOldPath;
using e2e::Outcome;
using e2e::rootEntries;

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The last trace line of a launch that started its program: the status and a time in ms.
void expectEndedLine(const std::vector<std::string>& lines, const std::string& what,
                     const std::string& status) {
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(std::regex_match(
        lines.back(),
        std::regex("kivolaunch: " + what + " ended with status " + status + " after [0-9]+ ms")))
        << lines.back();
}

}  // namespace

// The roots show each outcome of the two searches: a root holding nothing, the kernel's, the DSP
// library's, and one looked at for neither because both were found before it.
TEST(Trace, ShowsEachDecisionInOrder) {
    CompileDirectory dir;
    const std::string missing = dir.at("missing");
    const std::string rootC = dir.at("rootC");
    dir.environment["VELDRA"] = missing + ";" + dir.rootA() + ";" + dir.rootB() + ";" + rootC;
    dir.environment["PATH"] = kOldPath;
    dir.environment["KIVOLAUNCH_TRACE"] = "1";
    dir.environment["KIVO_STANDIN_STATUS"] = "7";
    dir.writeFile("opts.f",
                  "  # options\n  -tclbatch run.tcl   -view \"my waves.wcfg\"\n-wdb out\n");
    dir.writeFile("one.f", "# one argument\n-x\n");
    dir.writeFile("run.tcl", "run all\n");

    const Outcome outcome =
        dir.typeWithErrorApart("tb.exe -f opts.f -f one.f -open o.wdb -view b.wcfg -log t.log");

    EXPECT_EQ(outcome.status, 7u);
    EXPECT_EQ(outcome.output, "kivotcl stand-in: started with 16 arguments\r\n");
    const std::string kernel = dir.kernelUnder(dir.rootA());
    const std::vector<std::string> expected = {
        std::string("kivolaunch: kivolaunch ") + kLauncherVersion + ", started as tb.exe",
        "kivolaunch: support file kivo/tb.exe.sim/tb.exe: found",
        "kivolaunch: installation root " + missing + ": nothing",
        "kivolaunch: installation root " + dir.rootA() + ": the kernel",
        "kivolaunch: installation root " + dir.rootB() + ": the DSP library",
        "kivolaunch: installation root " + rootC + ": not looked at",
        "kivolaunch: kernel chosen: " + kernel,
        "kivolaunch: VELDRA_DSP=" + dir.rootB() + " (derived from VELDRA)",
        "kivolaunch: PATH=" + rootEntries(missing) + rootEntries(dir.rootA()) +
            rootEntries(dir.rootB()) + dir.rootB() + "\\quillo\\bin\\nt64;" + rootEntries(rootC) +
            kOldPath,
        "kivolaunch: command file opts.f: UTF-8, 6 arguments",
        "kivolaunch: command file one.f: UTF-8, 1 argument",
        "kivolaunch: mode: kernel",
        "kivolaunch: -tclbatch: run.tcl",
        "kivolaunch: -view: my waves.wcfg",
        "kivolaunch: -view: b.wcfg",
        "kivolaunch: -open: o.wdb",
        "kivolaunch: -wdb: out.wdb",
        "kivolaunch: log file: t.log",
        "kivolaunch: program: " + kernel,
        "kivolaunch: command line: kivotcl -exe kivo/tb.exe.sim/tb.exe -tclbatch run.tcl -view "
        "\"my waves.wcfg\" -wdb out.wdb -x -open o.wdb -view b.wcfg -log t.log",
    };
    std::vector<std::string> lines = linesOf(outcome.standardError);
    EXPECT_EQ(outcome.standardError.substr(outcome.standardError.size() - 2), "\r\n");
    expectEndedLine(lines, "the simulation kernel", "7");
    lines.pop_back();
    EXPECT_EQ(lines, expected);
}

// The same launch, failing or not, with the trace unset, empty, "0" and on: standard output, the
// status, what the kernel got and the log are alike; only the trace that is on writes to standard
// error.
TEST(Trace, LeavesStandardOutputAloneAndIsOffWhenEmptyOrZero) {
    // What a launch leaves that the trace must not change.
    using Seen = std::tuple<std::string, std::uint32_t, std::vector<std::string>,
                            std::optional<std::string>>;
    const char* commands[] = {"tb.exe -x \"a b\"", "tb.exe -tclbatch missing.tcl"};
    for (const char* command : commands) {
        std::optional<Seen> untraced;
        for (const char* value : {"(unset)", "", "0", "1"}) {
            const std::string label = std::string(command) + ", KIVOLAUNCH_TRACE=" + value;
            CompileDirectory dir;
            if (std::string(value) != "(unset)") dir.environment["KIVOLAUNCH_TRACE"] = value;

            const Outcome outcome = dir.typeWithErrorApart(command);

            const auto records = dir.records();
            const Seen seen{outcome.output, outcome.status,
                            records.empty() ? std::vector<std::string>{} : records[0].args,
                            dir.readFile("kivo.log")};
            if (!untraced) untraced = seen;
            EXPECT_EQ(seen, *untraced) << label;
            EXPECT_EQ(outcome.standardError.empty(), std::string(value) != "1")
                << label << ": " << outcome.standardError;
        }
        EXPECT_FALSE(std::get<0>(*untraced).empty()) << command;
    }
}

// A launch that fails shows what led there, then the usual message on standard output.
TEST(Trace, AFailingLaunchShowsWhatLedToItThenTheMessage) {
    CompileDirectory dir;
    dir.environment["VELDRA"] = dir.rootB();
    dir.environment["PATH"] = kOldPath;
    dir.environment["KIVOLAUNCH_TRACE"] = "yes";
    dir.writeFile("kivo.log", e2e::kEarlierLog);

    const Outcome outcome = dir.typeWithErrorApart("tb.exe -nolog");

    e2e::expectFailedLaunch(
        dir, outcome,
        "ERROR: Cannot start the simulation kernel kivotcl.exe: no installation "
        "root in VELDRA holds it; searched " +
            dir.kernelUnder(dir.rootB()) + ".\r\n");
    const std::vector<std::string> lines = linesOf(outcome.standardError);
    const std::vector<std::string> expectedTail = {
        "kivolaunch: installation root " + dir.rootB() + ": the DSP library",
        "kivolaunch: kernel chosen: none",
        "kivolaunch: VELDRA_DSP=" + dir.rootB() + " (derived from VELDRA)",
        "kivolaunch: PATH=" + rootEntries(dir.rootB()) + dir.rootB() + "\\quillo\\bin\\nt64;" +
            kOldPath,
        "kivolaunch: no command file",
        "kivolaunch: mode: kernel",
        "kivolaunch: -tclbatch: (none)",
        "kivolaunch: -view: (none)",
        "kivolaunch: -open: (none)",
        "kivolaunch: -wdb: (none)",
        "kivolaunch: log file: none (-nolog)",
    };
    ASSERT_EQ(lines.size(), 2 + expectedTail.size()) << outcome.standardError;
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()), expectedTail);
}

// In GUI mode the program line names the front end where the system's search finds it, and the
// last line says how it ended, or why it did not start.
TEST(Trace, InGuiModeNamesTheFrontEndFoundAndHowItEnded) {
    for (const bool installed : {true, false}) {
        CompileDirectory dir;
        if (installed) dir.installFrontEnd("rootA/lib/nt64");
        dir.environment["PATH"] = kOldPath;
        dir.environment["KIVOLAUNCH_TRACE"] = "1";
        dir.environment["KIVO_STANDIN_STATUS"] = "3221225477";

        const Outcome outcome = dir.typeWithErrorApart("tb.exe -gui");

        const std::vector<std::string> lines = linesOf(outcome.standardError);
        ASSERT_GE(lines.size(), 3u) << outcome.standardError;
        const std::string command = "kivolaunch: command line: kivogui -exe kivo/tb.exe.sim/tb.exe";
        EXPECT_EQ(lines[lines.size() - 2], command) << installed;
        if (installed) {
            EXPECT_EQ(lines[lines.size() - 3],
                      "kivolaunch: program: " + dir.at("rootA\\lib\\nt64\\kivogui.exe"));
            expectEndedLine(lines, "the front end", "3221225477 \\(0xC0000005\\)");
            EXPECT_EQ(outcome.status, 0xC0000005u);
        } else {
            EXPECT_EQ(lines[lines.size() - 3], "kivolaunch: program: kivogui (not found)");
            EXPECT_EQ(lines.back().rfind("kivolaunch: the front end could not be started: ", 0), 0u)
                << lines.back();
            EXPECT_EQ(outcome.status, 1u);
            EXPECT_EQ(outcome.output, "");
        }
    }
}
