#include "launch/kernel_handover.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(KernelArgumentVector, PassesEverythingAfterTheProgramName) {
    EXPECT_EQ(kernelArgumentVector("kivo/tb.exe.sim/tb.exe", {}),
              (std::vector<std::string>{"kivotcl", "-exe", "kivo/tb.exe.sim/tb.exe"}));
    EXPECT_EQ(kernelArgumentVector("kivo/tb.exe.sim/tb.exe",
                                   {"-tclbatch", "run.tcl", "-wdb", "dump.wdb", "-nolog", "-view",
                                    "my waves.wcfg", "-log", "x.log", "-disabletimeout"}),
              (std::vector<std::string>{"kivotcl", "-exe", "kivo/tb.exe.sim/tb.exe", "-tclbatch",
                                        "run.tcl", "-wdb", "dump.wdb", "-nolog", "-view",
                                        "my waves.wcfg", "-log", "x.log", "-disabletimeout"}));
}

TEST(PrepareKernelHandOver, StartsTheKernelFoundWithTheQuotedArguments) {
    KernelSearch search;
    search.veldraSet = true;
    search.searched = {"C:\\A\\bin\\nt64\\unwrapped\\kivotcl.exe"};
    search.kernelPath = search.searched[0];

    const Result<ChildCommand> kernel =
        prepareKernelHandOver(search, "kivo/tb.exe.sim/tb.exe", {"-x", "a b", ""});

    ASSERT_TRUE(kernel.ok());
    EXPECT_EQ(kernel->program, "C:\\A\\bin\\nt64\\unwrapped\\kivotcl.exe");
    EXPECT_EQ(kernel->commandLine, R"(kivotcl -exe kivo/tb.exe.sim/tb.exe -x "a b" "")");
}

TEST(PrepareKernelHandOver, FailsWithoutAKernelOrBeyondTheCommandLineLimit) {
    KernelSearch notFound;
    notFound.veldraSet = true;
    const Result<ChildCommand> missing =
        prepareKernelHandOver(notFound, "kivo/tb.exe.sim/tb.exe", {});
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.failure().message, kernelNotFoundMessage(notFound));

    KernelSearch found;
    found.kernelPath = "k.exe";
    // "kivotcl -exe kivo/tb.exe.sim/tb.exe " is 36 characters.
    const Result<ChildCommand> tooLong =
        prepareKernelHandOver(found, "kivo/tb.exe.sim/tb.exe", {std::string(32731, 'a')});
    ASSERT_FALSE(tooLong.ok());
    EXPECT_EQ(tooLong.failure().message,
              "ERROR: The command line for the simulation kernel is 32767 characters long; the "
              "platform's limit is 32766 characters.");
    EXPECT_TRUE(
        prepareKernelHandOver(found, "kivo/tb.exe.sim/tb.exe", {std::string(32730, 'a')}).ok());
}

TEST(KernelStartFailedMessage, NamesTheKernelAndTheSystemsReason) {
    EXPECT_EQ(kernelStartFailedMessage("C:\\A\\kivotcl.exe", "Access denied (error 5)"),
              "ERROR: Cannot start the simulation kernel C:\\A\\kivotcl.exe: Access denied (error "
              "5)");
}
