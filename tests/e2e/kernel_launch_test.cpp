// Whole launches in kernel mode: environment, kernel search, support file, hand-over.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

using e2e::CompileDirectory;
using e2e::Record;

namespace {

const std::string kOldPath = "C:\\windows\\system32;C:\\windows";

std::vector<std::string> kernelPrefix() { return {"kivotcl", "-exe", "kivo/tb.exe.sim/tb.exe"}; }

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string rootEntries(const std::string& root) {
    return root + "\\lib\\nt64;" + root + "\\bin\\nt64\\Microsoft.VC80.CRT;" + root +
           "\\bin\\nt64\\Microsoft.VC80.MFC;";
}

}  // namespace

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
// given straight to the stand-in, is the reference.
TEST(KernelLaunch, ArgumentsReachTheKernelExactly) {
    const char* typed[] = {
        R"(-view "my waves.wcfg")",          R"("" "" x)",
        R"("trailing\\" "back\slash\" end)", R"(say \"hi\" "a \"quoted\" word")",
        R"("tab	inside" "  two  spaces  ")", R"(\\server\share\dir\ C:\dir\)",
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
    dir.writeFile("kivo.log", "earlier log");
    dir.writeFile("opts.f", "-log other.log\n");

    const auto outcome = dir.type("tb.exe -f opts.f");

    EXPECT_EQ(outcome.status, 1u);
    EXPECT_EQ(outcome.output,
              "ERROR: Unable to get status of support file \"kivo/tb.exe.sim/tb.exe\" needed to "
              "run simulation.\r\n"
              "ERROR: Could not find file \"kivo/tb.exe.sim/tb.exe\" needed for running "
              "simulation. Please ensure that simulation is run in the same directory where the "
              "design was compiled and no files generated by compiler are deleted or "
              "inaccessible.\r\n");
    EXPECT_TRUE(dir.records().empty());
    EXPECT_EQ(dir.readFile("kivo.log"), "earlier log");
    EXPECT_FALSE(dir.exists("other.log"));
}

TEST(KernelLaunch, ADirectoryAtTheSupportPathPasses) {
    CompileDirectory dir;
    dir.remove("kivo/tb.exe.sim/tb.exe");
    dir.makeDirectory("kivo/tb.exe.sim/tb.exe");
    EXPECT_EQ(dir.type("tb.exe").status, 0u);
    EXPECT_EQ(dir.records().size(), 1u);
}

TEST(KernelLaunch, NoKernelToStartIsReportedWithWhatIsMissing) {
    struct Case {
        const char* name;
        bool veldraSet;
        std::string veldra;
        std::vector<std::string> expectedInMessage;
    };
    CompileDirectory probe;
    const std::vector<Case> cases = {
        {"unset", false, "", {"kivotcl.exe", "VELDRA", "not set"}},
        {"separators only", true, ";;;", {"kivotcl.exe", "VELDRA", "no installation root"}},
        {"roots without it",
         true,
         probe.rootB() + ";" + probe.at("missing"),
         {"kivotcl.exe", probe.kernelUnder(probe.rootB()), probe.kernelUnder(probe.at("missing"))}},
    };
    for (const Case& c : cases) {
        CompileDirectory dir;
        if (c.veldraSet) {
            dir.environment["VELDRA"] = c.veldra;
        } else {
            dir.environment["VELDRA"] = std::nullopt;
        }
        const auto outcome = dir.type("tb.exe");
        EXPECT_EQ(outcome.status, 1u) << c.name;
        EXPECT_EQ(std::count(outcome.output.begin(), outcome.output.end(), '\n'), 1) << c.name;
        for (const std::string& part : c.expectedInMessage) {
            EXPECT_NE(outcome.output.find(part), std::string::npos)
                << c.name << ": " << part << " in " << outcome.output;
        }
        EXPECT_TRUE(dir.records().empty()) << c.name;
    }
}

TEST(KernelLaunch, AKernelCommandLineOverThePlatformLimitStartsNothing) {
    CompileDirectory dir;
    std::string commandFile;
    for (int i = 0; i < 40; ++i) commandFile += std::string(1000, 'a' + i % 26) + "\n";
    dir.writeFile("big.f", commandFile);

    const auto outcome = dir.type("tb.exe -f big.f");

    EXPECT_EQ(outcome.status, 1u);
    EXPECT_NE(outcome.output.find("32766 characters"), std::string::npos) << outcome.output;
    EXPECT_TRUE(dir.records().empty());
}

TEST(KernelLaunch, AComposedPathOverThePlatformLimitStartsNothing) {
    CompileDirectory dir;
    dir.environment["PATH"] = kOldPath + ";" + std::string(32600, 'p');
    const auto outcome = dir.startLauncher("tb.exe");
    EXPECT_EQ(outcome.status, 1u);
    EXPECT_NE(outcome.output.find("PATH"), std::string::npos) << outcome.output;
    EXPECT_TRUE(dir.records().empty());
}
