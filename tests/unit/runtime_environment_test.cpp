#include "launch/runtime_environment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_files.h"
#include "tests/support/root_layout.h"

namespace {

// The paths looked at that end in `tail`.
std::vector<std::string> probedEndingIn(const FakeFiles& files, const std::string& tail) {
    std::vector<std::string> result;
    for (const std::string& file : files.probed) {
        if (file.size() >= tail.size() &&
            file.compare(file.size() - tail.size(), tail.size(), tail) == 0) {
            result.push_back(file);
        }
    }
    return result;
}

}  // namespace

TEST(ComposeRuntimeEnvironment, PutsEachRootsDirectoriesBeforeTheOldPath) {
    FakeFiles files;
    files.present = {"C:\\B" + kDspLibrary};

    const RuntimePath env =
        composeRuntimePath(std::nullopt, {"C:\\A", "C:\\B"}, "C:\\Windows", files.probe());

    EXPECT_EQ(env.path,
              "C:\\A\\lib\\nt64;C:\\A\\bin\\nt64\\Microsoft.VC80.CRT;"
              "C:\\A\\bin\\nt64\\Microsoft.VC80.MFC;C:\\B\\lib\\nt64;"
              "C:\\B\\bin\\nt64\\Microsoft.VC80.CRT;C:\\B\\bin\\nt64\\Microsoft.VC80.MFC;"
              "C:\\B\\quillo\\bin\\nt64;C:\\Windows");
    EXPECT_EQ(env.dspRoot, "C:\\B");
}

TEST(ComposeRuntimeEnvironment, PlacesTheDspEntryRightAfterItsRoot) {
    FakeFiles files;
    files.present = {"C:\\B" + kDspLibrary, "C:\\C" + kDspLibrary};

    const RuntimePath env =
        composeRuntimePath(std::nullopt, {"C:\\A", "C:\\B", "C:\\C"}, "", files.probe());

    EXPECT_EQ(env.path, rootEntries("C:\\A") + rootEntries("C:\\B") + "C:\\B\\quillo\\bin\\nt64;" +
                            rootEntries("C:\\C"));
    EXPECT_EQ(env.dspRoot, "C:\\B");
    // Once settled, later roots are not looked at for the library.
    EXPECT_EQ(probedEndingIn(files, kDspLibrary),
              (std::vector<std::string>{"C:\\A" + kDspLibrary, "C:\\B" + kDspLibrary}));
}

TEST(ComposeRuntimeEnvironment, DspRootFromTheEnvironmentComesFirstAndStopsTheSearch) {
    const struct {
        const char* dspEnv;
        const char* firstEntry;
    } cases[] = {
        {"D:\\dsp", "D:\\dsp\\quillo\\bin\\nt64;"},
        {"", ""},  // set but empty still counts as set, and adds no entry at the drive's root
    };
    for (const auto& c : cases) {
        FakeFiles files;
        files.present = {"C:\\A" + kDspLibrary, "C:\\A" + kKernel};

        const RuntimePath env =
            composeRuntimePath(std::string(c.dspEnv), {"C:\\A"}, "old", files.probe());

        EXPECT_EQ(env.path, std::string(c.firstEntry) + rootEntries("C:\\A") + "old")
            << "VELDRA_DSP=" << c.dspEnv;
        EXPECT_EQ(env.dspRoot, std::nullopt) << "VELDRA_DSP=" << c.dspEnv;
        EXPECT_EQ(probedEndingIn(files, kDspLibrary), std::vector<std::string>{})
            << "VELDRA_DSP=" << c.dspEnv;
    }
}

TEST(ComposeRuntimeEnvironment, EveryRootContributesItsDirectoriesAsWritten) {
    FakeFiles files;
    files.present = {"C:\\B" + kKernel, "C:\\C" + kKernel};

    const RuntimePath env =
        composeRuntimePath(std::nullopt, {"C:\\A\\", "C:\\B", "C:\\C"}, "", files.probe());

    EXPECT_EQ(env.path,
              "C:\\A\\\\lib\\nt64;C:\\A\\\\bin\\nt64\\Microsoft.VC80.CRT;"
              "C:\\A\\\\bin\\nt64\\Microsoft.VC80.MFC;" +
                  rootEntries("C:\\B") + rootEntries("C:\\C"));
}

TEST(ComposeRuntimeEnvironment, WithoutRootsOnlyTheDspEntryPrecedesTheOldPath) {
    FakeFiles files;

    EXPECT_EQ(composeRuntimePath(std::nullopt, {}, "C:\\Windows", files.probe()).path,
              "C:\\Windows");
    EXPECT_EQ(composeRuntimePath(std::string("D:\\dsp"), {}, "C:\\Windows", files.probe()).path,
              "D:\\dsp\\quillo\\bin\\nt64;C:\\Windows");
    EXPECT_EQ(composeRuntimePath(std::nullopt, {}, "", files.probe()).path, "");
    EXPECT_TRUE(files.probed.empty());
}

TEST(ComposeRuntimeEnvironment, EmptyOldPathLeavesTheLastSeparator) {
    FakeFiles files;
    const std::string path = composeRuntimePath(std::nullopt, {"C:\\A"}, "", files.probe()).path;
    EXPECT_EQ(path, rootEntries("C:\\A"));
    EXPECT_EQ(path.back(), ';');
}

TEST(CheckComposedPathLength, FailsOnlyBeyondThePlatformLimit) {
    EXPECT_TRUE(checkComposedPathLength("").ok());
    EXPECT_TRUE(checkComposedPathLength(std::string(32766, 'p')).ok());

    const Result<void> tooLong = checkComposedPathLength(std::string(32767, 'p'));
    ASSERT_FALSE(tooLong.ok());
    EXPECT_EQ(tooLong.failure().message,
              "ERROR: The composed PATH is 32767 characters long; the platform's limit on an "
              "environment value is 32766 characters. Shorten VELDRA or PATH.");
}

// What each root is reported to hold follows the two searches as they ran: each stops at the first
// root holding what it seeks, and the DSP library is not sought when VELDRA_DSP is set.
TEST(DescribeInstallRoots, FollowsWhatTheSearchesLookedAtAndFound) {
    const std::vector<std::string> roots = {"C:\\A", "C:\\B", "C:\\C", "C:\\D"};
    const struct {
        const char* name;
        std::set<std::string> present;
        std::optional<std::string> dspEnv;
        std::vector<InstallRoot> described;
    } cases[] = {
        {"kernel and library apart, a root after both",
         {"C:\\B" + kKernel, "C:\\C" + kDspLibrary, "C:\\D" + kKernel, "C:\\D" + kDspLibrary},
         std::nullopt,
         {{"C:\\A", true, false, false},
          {"C:\\B", true, true, false},
          {"C:\\C", true, false, true},
          {"C:\\D", false, false, false}}},
        {"both in one root",
         {"C:\\A" + kKernel, "C:\\A" + kDspLibrary},
         std::nullopt,
         {{"C:\\A", true, true, true},
          {"C:\\B", false, false, false},
          {"C:\\C", false, false, false},
          {"C:\\D", false, false, false}}},
        {"library given, kernel in the last root",
         {"C:\\A" + kDspLibrary, "C:\\D" + kKernel},
         "D:\\dsp",
         {{"C:\\A", true, false, false},
          {"C:\\B", true, false, false},
          {"C:\\C", true, false, false},
          {"C:\\D", true, true, false}}},
        {"neither anywhere",
         {},
         std::nullopt,
         {{"C:\\A", true, false, false},
          {"C:\\B", true, false, false},
          {"C:\\C", true, false, false},
          {"C:\\D", true, false, false}}},
    };
    for (const auto& c : cases) {
        FakeFiles files;
        files.present = c.present;
        const RuntimePath runtimePath = composeRuntimePath(c.dspEnv, roots, "", files.probe());
        const KernelSearch kernel =
            findKernel(std::string("C:\\A;C:\\B;C:\\C;C:\\D"), files.probe());
        EXPECT_EQ(describeInstallRoots(roots, runtimePath, kernel), c.described) << c.name;
    }
}

TEST(StartedProgramVariables, PathThenTheDspRootGivenOrDerivedThenTheHandOverSetting) {
    RuntimeEnvironment environment;
    environment.path = "C:\\A\\lib\\nt64;old";
    const EnvironmentSetting path{"PATH", environment.path};
    EXPECT_EQ(startedProgramVariables(environment),
              (std::vector<EnvironmentSetting>{path, kHandOverSetting}));

    environment.dspRoot = "C:\\B";
    EXPECT_EQ(startedProgramVariables(environment),
              (std::vector<EnvironmentSetting>{path, {"VELDRA_DSP", "C:\\B"}, kHandOverSetting}));

    environment.dspRoot = std::nullopt;
    environment.givenDspRoot = "";
    EXPECT_EQ(startedProgramVariables(environment),
              (std::vector<EnvironmentSetting>{path, {"VELDRA_DSP", ""}, kHandOverSetting}));
    EXPECT_EQ(kHandOverSetting, (EnvironmentSetting{"PORT_DYNAMIC_DISABLE_MSG", "1"}));
}
