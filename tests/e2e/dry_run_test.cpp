// Whole launches with KIVOLAUNCH_DRYRUN: every check of a launch, then what would be started
// instead of starting it. Nothing is started and no log is written.
#include <gtest/gtest.h>

#include <functional>

#include "tests/e2e/harness.h"

using e2e::CompileDirectory;
using e2e::kOldPath;
using e2e::Outcome;
using e2e::rootEntries;

namespace {

// The variables of a launch from the directory's two roots and kOldPath: rootB holds the DSP
// library.
std::string derivedVariables(const CompileDirectory& dir) {
    return "PATH=" + rootEntries(dir.rootA()) + rootEntries(dir.rootB()) + dir.rootB() +
           "\\quillo\\bin\\nt64;" + kOldPath + "\r\nVELDRA_DSP=" + dir.rootB() + "\r\n";
}

}  // namespace

// VELDRA_DSP is printed when the kernel would get it, given or derived, and not otherwise.
TEST(DryRun, InKernelModePrintsTheKernelItsCommandLineAndItsVariables) {
    const struct {
        const char* name;
        bool onlyRootA;  // VELDRA names rootA alone, so no root holds the DSP library
        std::optional<std::string> veldraDsp;
        std::function<std::string(const CompileDirectory&)> variables;
    } cases[] = {
        {"derived", false, std::nullopt, derivedVariables},
        {"given", false, "D:\\dsp",
         [](const CompileDirectory& dir) {
             return "PATH=D:\\dsp\\quillo\\bin\\nt64;" + rootEntries(dir.rootA()) +
                    rootEntries(dir.rootB()) + kOldPath + "\r\nVELDRA_DSP=D:\\dsp\r\n";
         }},
        {"none", true, std::nullopt,
         [](const CompileDirectory& dir) {
             return "PATH=" + rootEntries(dir.rootA()) + kOldPath + "\r\n";
         }},
    };
    for (const auto& c : cases) {
        CompileDirectory dir;
        if (c.onlyRootA) dir.environment["VELDRA"] = dir.rootA();
        dir.environment["VELDRA_DSP"] = c.veldraDsp;
        dir.environment["PATH"] = kOldPath;
        dir.environment["KIVOLAUNCH_DRYRUN"] = "1";
        dir.writeFile("kivo.log", e2e::kEarlierLog);
        dir.writeFile("opts.f", "-wdb out\n");

        const Outcome outcome = dir.type("tb.exe -f opts.f -log other.log \"a b\"");

        EXPECT_EQ(outcome.status, 0u) << c.name;
        EXPECT_EQ(outcome.output,
                  "program: " + dir.kernelUnder(dir.rootA()) +
                      "\r\ncommand line: kivotcl -exe kivo/tb.exe.sim/tb.exe -wdb out.wdb -log "
                      "other.log \"a b\"\r\n" +
                      c.variables(dir) + "PORT_DYNAMIC_DISABLE_MSG=1\r\n")
            << c.name;
        e2e::expectNothingStarted(dir, c.name);
    }
}

// The program line names the front end as the system's search finds it: beside the launcher
// first, then on the composed PATH; or says that it is nowhere, and the dry run still passes.
TEST(DryRun, InGuiModeNamesTheFrontEndWhereTheSearchFindsIt) {
    const struct {
        const char* name;
        std::vector<std::string> installedIn;
        std::string program;  // relative to the compile directory; empty: not found
    } cases[] = {
        {"on the composed PATH", {"rootA/lib/nt64"}, "rootA\\lib\\nt64\\kivogui.exe"},
        {"beside the launcher", {".", "rootA/lib/nt64"}, "kivogui.exe"},
        {"nowhere", {}, ""},
    };
    for (const auto& c : cases) {
        CompileDirectory dir;
        for (const std::string& directory : c.installedIn) dir.installFrontEnd(directory);
        dir.environment["PATH"] = kOldPath;
        dir.environment["KIVOLAUNCH_DRYRUN"] = "on";
        dir.writeFile("kivo.log", e2e::kEarlierLog);

        const Outcome outcome = dir.type("tb.exe -gui -view \"my waves.wcfg\" -log other.log");

        EXPECT_EQ(outcome.status, 0u) << c.name;
        const std::string program = c.program.empty() ? "kivogui (not found)" : dir.at(c.program);
        EXPECT_EQ(outcome.output,
                  "program: " + program +
                      "\r\ncommand line: kivogui -exe kivo/tb.exe.sim/tb.exe -view \"my "
                      "waves.wcfg\" -userOptions \"\\\"-log other.log\\\"\"\r\n" +
                      derivedVariables(dir) + "PORT_DYNAMIC_DISABLE_MSG=1\r\n")
            << c.name;
        e2e::expectNothingStarted(dir, c.name);
    }
}

// Each launch fails first without the dry run, then with it: the same message and status, and
// still nothing started or written.
TEST(DryRun, ALaunchThatWouldFailFailsTheSameWay) {
    const struct {
        const char* name;
        const char* command;
        std::optional<std::string> veldra;  // none: rootA;rootB
        bool supportFile = true;
    } cases[] = {
        {"no kernel", "tb.exe -log other.log", ";;"},
        {"support file missing", "tb.exe -f opts.f", std::nullopt, false},
        {"Tcl file missing", "tb.exe -gui -tclbatch missing.tcl", std::nullopt},
        {"command line too long", "tb.exe -f big.f -log other.log", std::nullopt},
    };
    for (const auto& c : cases) {
        CompileDirectory dir;
        if (c.veldra) dir.environment["VELDRA"] = c.veldra;
        if (!c.supportFile) dir.remove("kivo/tb.exe.sim/tb.exe");
        dir.installFrontEnd("rootA/lib/nt64");
        dir.writeFile("kivo.log", e2e::kEarlierLog);
        dir.writeFile("opts.f", "-log other.log\n");
        dir.writeFile("big.f", e2e::argumentsOverTheCommandLineLimit());

        const Outcome launched = dir.type(c.command);
        dir.environment["KIVOLAUNCH_DRYRUN"] = "1";
        const Outcome dryRun = dir.type(c.command);

        EXPECT_EQ(launched.status, 1u) << c.name;
        EXPECT_NE(launched.output, "") << c.name;
        e2e::expectFailedLaunch(dir, dryRun, launched.output, c.name);
    }
}

// With the trace on as well, the dry run's output stays on standard output alone, and "0" turns
// the dry run off.
TEST(DryRun, KeepsItsOutputApartFromTheTraceAndIsOffWhenZero) {
    CompileDirectory dir;
    dir.environment["KIVOLAUNCH_DRYRUN"] = "1";
    dir.environment["KIVOLAUNCH_TRACE"] = "1";
    const Outcome traced = dir.typeWithErrorApart("tb.exe");
    EXPECT_EQ(traced.status, 0u);
    EXPECT_EQ(traced.output.rfind("program: " + dir.kernelUnder(dir.rootA()) + "\r\n", 0), 0u)
        << traced.output;
    EXPECT_EQ(traced.output.find("kivolaunch: "), std::string::npos) << traced.output;
    const std::string last = "kivolaunch: dry run: nothing started\r\n";
    ASSERT_GE(traced.standardError.size(), last.size());
    EXPECT_EQ(traced.standardError.substr(traced.standardError.size() - last.size()), last);
    EXPECT_TRUE(dir.records().empty());

    dir.environment["KIVOLAUNCH_DRYRUN"] = "0";
    dir.environment["KIVOLAUNCH_TRACE"] = std::nullopt;
    const Outcome launched = dir.type("tb.exe");
    EXPECT_EQ(launched.status, 0u);
    EXPECT_EQ(launched.output, "kivotcl stand-in: started with 3 arguments\r\n");
    EXPECT_EQ(dir.records().size(), 1u);
}
