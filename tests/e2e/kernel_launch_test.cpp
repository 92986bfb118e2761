// Whole launches in kernel mode: environment, kernel search, support file, hand-over.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/support/c_runtime_split.h"

using e2e::CompileDirectory;
using e2e::concat;
using e2e::kernelPrefix;
using e2e::kOldPath;
using e2e::Record;
using e2e::rootEntries;

TEST(KernelLaunch, HandsOverWithTheComposedEnvironmentAndEndsWithTheKernelsStatus) {
    CompileDirectory dir;
    dir.environment["PATH"] = kOldPath;
    dir.environment["KIVO_STANDIN_STATUS"] = "7";

    const auto outcome = dir.type("tb.exe -foo bar");

    EXPECT_EQ(outcome.status, 7u);
    EXPECT_NE(outcome.output.find("kivotcl stand-in: started with 5 arguments"), std::string::npos)
        << outcome.output;
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u);
    const Record& kernel = records[0];
    EXPECT_EQ(kernel.program, "kivotcl");
    EXPECT_EQ(kernel.module, dir.kernelUnder(dir.rootA()));
    EXPECT_EQ(kernel.args, concat(kernelPrefix(), {"-foo", "bar"}));
    EXPECT_EQ(kernel.environment.at("PATH"), rootEntries(dir.rootA()) + rootEntries(dir.rootB()) +
                                                 dir.rootB() + "\\quillo\\bin\\nt64;" + kOldPath);
    EXPECT_EQ(kernel.environment.at("VELDRA_DSP"), dir.rootB());
    EXPECT_EQ(kernel.environment.at("PORT_DYNAMIC_DISABLE_MSG"), "1");
    EXPECT_EQ(kernel.directory, dir.path());
}

TEST(KernelLaunch, WithoutArgumentsTheKernelGetsExactlyThree) {
    CompileDirectory dir;
    EXPECT_EQ(dir.type("tb.exe").status, 0u);
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].args, kernelPrefix());
}

TEST(KernelLaunch, FindsTheKernelUnderTheFirstRootThatHoldsIt) {
    CompileDirectory dir;
    dir.installKernel(dir.rootB());
    dir.environment["VELDRA"] = ";;" + dir.rootB() + ";" + dir.rootA() + ";";
    dir.environment["VELDRA_DSP"] = "D:\\dsp";
    dir.environment["PATH"] = kOldPath;

    EXPECT_EQ(dir.type("tb.exe").status, 0u);
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].module, dir.kernelUnder(dir.rootB()));
    EXPECT_EQ(records[0].environment.at("VELDRA_DSP"), "D:\\dsp");
    EXPECT_EQ(records[0].environment.at("PATH"), "D:\\dsp\\quillo\\bin\\nt64;" +
                                                     rootEntries(dir.rootB()) +
                                                     rootEntries(dir.rootA()) + kOldPath);
}

// What the kernel receives must be what the launcher itself was given: the same typed text,
// given straight to the stand-in, is the reference. The stand-in's C runtime also checks the
// tests' own splitter, which the unit tests and the fuzz target rely on.
TEST(KernelLaunch, ArgumentsReachTheKernelExactly) {
    const char* typed[] = {
        R"(-view "my waves.wcfg")",
        R"("" "" x)",
        R"("trailing\\" "back\slash\" end)",
        R"(say \"hi\" "a \"quoted\" word")",
        R"("tab	inside" "  two  spaces  ")",
        R"(\\server\share\dir\ C:\dir\)",
        R"("a""b" "x""" """" c)",
    };
    for (const char* arguments : typed) {
        CompileDirectory dir;
        dir.installKernel(dir.path());
        ASSERT_EQ(dir.type(std::string("bin\\nt64\\unwrapped\\kivotcl.exe ") + arguments).status,
                  0u);
        ASSERT_EQ(dir.type(std::string("tb.exe ") + arguments).status, 0u);
        const auto records = dir.records();
        ASSERT_EQ(records.size(), 2u) << arguments;
        std::vector<std::string> given(records[0].args.begin() + 1, records[0].args.end());
        EXPECT_EQ(records[1].args, concat(kernelPrefix(), given)) << arguments;
        EXPECT_EQ(splitLikeTheCRuntime(records[0].commandLine), records[0].args) << arguments;
    }
}

TEST(KernelLaunch, TheWholeExitStatusOfTheKernelIsKept) {
    CompileDirectory dir;
    dir.environment["KIVO_STANDIN_STATUS"] = "3221225477";  // 0xC0000005
    EXPECT_EQ(dir.startLauncher("tb.exe").status, 0xC0000005u);
}

TEST(KernelLaunch, KernelOutputFollowsRedirectedStandardOutput) {
    CompileDirectory dir;
    const auto outcome = dir.type("tb.exe -x > out.txt");
    EXPECT_EQ(outcome.status, 0u);
    EXPECT_EQ(outcome.output, "");
    EXPECT_EQ(dir.readFile("out.txt"), "kivotcl stand-in: started with 4 arguments\r\n");
}

TEST(KernelLaunch, MissingSupportFileGivesBothMessagesAndStartsNothing) {
    CompileDirectory dir;
    dir.remove("kivo/tb.exe.sim/tb.exe");
    dir.writeFile("kivo.log", e2e::kEarlierLog);
    dir.writeFile("opts.f", "-log other.log\n");

    const auto outcome = dir.type("tb.exe -f opts.f");

    e2e::expectFailedLaunch(
        dir, outcome,
        "ERROR: Unable to get status of support file \"kivo/tb.exe.sim/tb.exe\" needed to "
        "run simulation.\r\n"
        "ERROR: Could not find file \"kivo/tb.exe.sim/tb.exe\" needed for running "
        "simulation. Please ensure that simulation is run in the same directory where the "
        "design was compiled and no files generated by compiler are deleted or "
        "inaccessible.\r\n");
}

TEST(KernelLaunch, ADirectoryAtTheSupportPathPasses) {
    CompileDirectory dir;
    dir.remove("kivo/tb.exe.sim/tb.exe");
    dir.makeDirectory("kivo/tb.exe.sim/tb.exe");
    EXPECT_EQ(dir.type("tb.exe").status, 0u);
    EXPECT_EQ(dir.records().size(), 1u);
}

TEST(KernelLaunch, NoKernelToStartIsReportedWithWhatIsMissing) {
    const std::string prefix = "ERROR: Cannot start the simulation kernel kivotcl.exe: ";
    CompileDirectory probe;
    const struct {
        const char* name;
        std::optional<std::string> veldra;
        std::string message;
    } cases[] = {
        {"unset", std::nullopt,
         prefix + "the environment variable VELDRA, which names the installation roots, is not "
                  "set.\r\n"},
        {"separators only", ";;;",
         prefix + "the environment variable VELDRA names no installation root.\r\n"},
        {"roots without it", probe.rootB() + ";" + probe.at("missing"),
         prefix + "no installation root in VELDRA holds it; searched " +
             probe.kernelUnder(probe.rootB()) + ", " + probe.kernelUnder(probe.at("missing")) +
             ".\r\n"},
    };
    for (const auto& c : cases) {
        CompileDirectory dir;
        dir.writeFile("kivo.log", e2e::kEarlierLog);
        dir.environment["VELDRA"] = c.veldra;
        e2e::expectFailedLaunch(dir, dir.type("tb.exe -log other.log"), c.message, c.name);
    }
}

// Neither hand-over cuts an argument short: a command line beyond the platform's limit starts
// nothing and leaves the log alone.
TEST(HandOver, ACommandLineOverThePlatformLimitStartsNothingInEitherMode) {
    const struct {
        const char* command;
        std::string message;
    } cases[] = {
        // "kivotcl -exe kivo/tb.exe.sim/tb.exe" (35), 40 times a space and 1,000 characters, and
        // " -log other.log" (15).
        {"tb.exe -f big.f -log other.log",
         "ERROR: The command line for the simulation kernel is 40090 characters long; the "
         "platform's limit is 32766 characters.\r\n"},
        // "kivogui -exe kivo/tb.exe.sim/tb.exe -userOptions " (49), then the 42 user options (the
        // 40 arguments, -log and its value: 40,054 characters with their spaces) framed by \"
        // and quoted (6).
        {"tb.exe -gui -f big.f -log other.log",
         "ERROR: The command line for the front end kivogui is 40109 characters long; the "
         "platform's limit is 32766 characters.\r\n"},
    };
    for (const auto& c : cases) {
        CompileDirectory dir;
        dir.installFrontEnd("rootA/lib/nt64");
        dir.writeFile("big.f", e2e::argumentsOverTheCommandLineLimit());
        dir.writeFile("kivo.log", e2e::kEarlierLog);
        e2e::expectFailedLaunch(dir, dir.type(c.command), c.message, c.command);
    }
}

TEST(KernelLaunch, AComposedPathOverThePlatformLimitStartsNothing) {
    CompileDirectory dir;
    dir.writeFile("kivo.log", e2e::kEarlierLog);
    const std::string oldPath = kOldPath + ";" + std::string(32600, 'p');
    dir.environment["PATH"] = oldPath;
    const std::size_t length = rootEntries(dir.rootA()).size() + rootEntries(dir.rootB()).size() +
                               (dir.rootB() + "\\quillo\\bin\\nt64;").size() + oldPath.size();

    e2e::expectFailedLaunch(dir, dir.startLauncher("tb.exe -log other.log"),
                            "ERROR: The composed PATH is " + std::to_string(length) +
                                " characters long; the platform's limit on an environment value "
                                "is 32766 characters. Shorten VELDRA or PATH.\r\n");
}

// A kernel file that the system cannot start: its reason, with nothing left unexpanded, and the
// log as it was.
TEST(KernelLaunch, AKernelThatIsNoProgramIsReportedAndLeavesTheLogAlone) {
    CompileDirectory dir;
    dir.writeFile("rootA/bin/nt64/unwrapped/kivotcl.exe", "not a program");
    dir.writeFile("kivo.log", e2e::kEarlierLog);
    const std::string kernel = dir.kernelUnder(dir.rootA());

    e2e::expectFailedLaunch(dir, dir.type("tb.exe -log other.log"),
                            "ERROR: Cannot start the simulation kernel " + kernel +
                                ": Bad EXE format for " + kernel + " (error 193)\r\n");
}

// Scripts type the launcher's path with both kinds of separator; its name is what follows the
// last of either.
TEST(KernelLaunch, ALauncherTypedWithMixedSeparatorsFindsItsImage) {
    CompileDirectory dir;
    std::string typed = dir.at("tb.exe");
    typed[typed.rfind('\\', typed.size() - 8)] = '/';

    const auto outcome = dir.type(typed + " -x");

    EXPECT_EQ(outcome.status, 0u) << typed << ": " << outcome.output;
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u) << typed;
    EXPECT_EQ(records[0].args, concat(kernelPrefix(), {"-x"}));
}
