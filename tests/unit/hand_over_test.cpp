#include "launch/hand_over.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/kernel_handover.h"
#include "launch/kernel_search.h"

namespace {

const std::string kKernelPath = "C:\\A\\bin\\nt64\\unwrapped\\kivotcl.exe";

KernelSearch kernelFound() {
    KernelSearch search;
    search.veldraSet = true;
    search.searched = {kKernelPath};
    search.kernelPath = kKernelPath;
    return search;
}

// A search for programs that finds the front end in one place, and records what it was asked.
struct FakeSearch {
    std::vector<std::string> asked;

    ProgramFinder finder() {
        return [this](const std::string& name) {
            asked.push_back(name);
            return std::optional<std::string>("C:\\A\\lib\\nt64\\kivogui.exe");
        };
    }
};

}  // namespace

TEST(ProgramShown, TheKernelsPathOrTheFrontEndAsFound) {
    const ChildCommand kernel{"C:\\A\\bin\\nt64\\unwrapped\\kivotcl.exe", "kivotcl -exe x"};
    const ChildCommand frontEnd{"", "kivogui -exe x"};
    EXPECT_EQ(programShown(kernel, std::nullopt), kernel.program);
    EXPECT_EQ(programShown(frontEnd, std::string("C:\\A\\lib\\nt64\\kivogui.exe")),
              "C:\\A\\lib\\nt64\\kivogui.exe");
    EXPECT_EQ(programShown(frontEnd, std::nullopt), "kivogui (not found)");
}

TEST(PrepareHandOver, TheKernelInheritsTheHandlesRunsInAJobAndNamesItselfWhenItFailsToStart) {
    FakeSearch search;
    const Result<HandOver> handOver = prepareHandOver(LauncherOptions{}, kernelFound(),
                                                      "kivo/tb.exe.sim/tb.exe", search.finder());

    ASSERT_TRUE(handOver.ok()) << handOver.failure().message;
    EXPECT_EQ(handOver->label, "the simulation kernel");
    EXPECT_EQ(handOver->command.program, kKernelPath);
    EXPECT_EQ(handOver->command.commandLine, "kivotcl -exe kivo/tb.exe.sim/tb.exe");
    EXPECT_EQ(handOver->settings, (platform::StartSettings{true, false, true}));
    EXPECT_TRUE(handOver->ignoreInterrupts);
    EXPECT_FALSE(handOver->consoleAsStandardInput);
    EXPECT_EQ(handOver->programShown, kKernelPath);
    EXPECT_EQ(handOver->failedStartMessage("Access denied (error 5)"),
              kernelStartFailedMessage(kKernelPath, "Access denied (error 5)"));
    EXPECT_TRUE(search.asked.empty());
}

TEST(PrepareHandOver, TheFrontEndIsSearchedForReadsTheConsoleAndFailsToStartSilently) {
    LauncherOptions options;
    options.guiMode = true;
    FakeSearch search;
    // No kernel is needed in GUI mode.
    const Result<HandOver> handOver =
        prepareHandOver(options, KernelSearch{}, "kivo/tb.exe.sim/tb.exe", search.finder());

    ASSERT_TRUE(handOver.ok()) << handOver.failure().message;
    EXPECT_EQ(handOver->label, "the front end");
    EXPECT_EQ(handOver->command.program, "");
    EXPECT_EQ(handOver->command.commandLine, "kivogui -exe kivo/tb.exe.sim/tb.exe");
    EXPECT_EQ(handOver->settings, (platform::StartSettings{false, true, false}));
    EXPECT_FALSE(handOver->ignoreInterrupts);
    EXPECT_TRUE(handOver->consoleAsStandardInput);
    EXPECT_EQ(handOver->programShown, "C:\\A\\lib\\nt64\\kivogui.exe");
    EXPECT_EQ(search.asked, std::vector<std::string>{"kivogui"});
    EXPECT_EQ(handOver->failedStartMessage("File not found. (error 2)"), std::nullopt);
}

TEST(PrepareHandOver, FailsAsTheCommandLineFails) {
    KernelSearch notFound;
    notFound.veldraSet = true;
    FakeSearch search;
    const Result<HandOver> kernel =
        prepareHandOver(LauncherOptions{}, notFound, "kivo/tb.exe.sim/tb.exe", search.finder());
    ASSERT_FALSE(kernel.ok());
    EXPECT_EQ(kernel.failure().message, kernelNotFoundMessage(notFound));

    LauncherOptions options;
    options.guiMode = true;
    options.wdbFile = std::string(32767, 'w');
    const Result<HandOver> frontEnd =
        prepareHandOver(options, kernelFound(), "kivo/tb.exe.sim/tb.exe", search.finder());
    ASSERT_FALSE(frontEnd.ok());
    EXPECT_EQ(frontEnd.failure().message.rfind(
                  "ERROR: The command line for the front end kivogui is ", 0),
              0u);
}
