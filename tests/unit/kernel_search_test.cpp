#include "launch/kernel_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_files.h"
#include "tests/support/root_layout.h"

TEST(SplitInstallRoots, SkipsEmptyEntriesAndKeepsRootsAsWritten) {
    const struct {
        const char* veldra;
        std::vector<std::string> roots;
    } cases[] = {
        {"C:\\A;C:\\B", {"C:\\A", "C:\\B"}},
        {";;C:\\A;", {"C:\\A"}},
        {"C:\\A;;;C:\\B;", {"C:\\A", "C:\\B"}},
        {"C:\\A", {"C:\\A"}},
        {"C:\\A\\; D:\\with space ", {"C:\\A\\", " D:\\with space "}},
        {"", {}},
        {";", {}},
        {";;;", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitInstallRoots(c.veldra), c.roots) << "VELDRA=" << c.veldra;
    }
}

TEST(FindKernel, TheFirstRootHoldingTheKernelWinsAndLaterRootsAreNotLookedAt) {
    FakeFiles files;
    files.present = {"C:\\B" + kKernel, "C:\\C" + kKernel};

    const KernelSearch search = findKernel("C:\\A;C:\\B;C:\\C", files.probe());

    EXPECT_TRUE(search.found());
    EXPECT_EQ(search.kernelPath, "C:\\B\\bin\\nt64\\unwrapped\\kivotcl.exe");
    EXPECT_EQ(search.searched, (std::vector<std::string>{"C:\\A" + kKernel, "C:\\B" + kKernel}));
    EXPECT_EQ(files.probed, search.searched);
}

TEST(FindKernel, UsesEachRootExactlyAsWritten) {
    FakeFiles files;
    files.present = {"C:\\A\\" + kKernel};
    EXPECT_EQ(findKernel(";C:\\A\\;", files.probe()).kernelPath,
              "C:\\A\\\\bin\\nt64\\unwrapped\\kivotcl.exe");
}

TEST(FindKernel, TellsAnUnsetVeldraFromOneThatNamesNoRoot) {
    FakeFiles files;
    const KernelSearch unset = findKernel(std::nullopt, files.probe());
    EXPECT_FALSE(unset.veldraSet);
    EXPECT_FALSE(unset.found());

    const KernelSearch separators = findKernel(";;;", files.probe());
    EXPECT_TRUE(separators.veldraSet);
    EXPECT_TRUE(separators.searched.empty());
    EXPECT_TRUE(files.probed.empty());
}

TEST(KernelNotFoundMessage, NamesTheKernelAndWhatWasSearched) {
    FakeFiles files;
    EXPECT_EQ(kernelNotFoundMessage(findKernel(std::nullopt, files.probe())),
              "ERROR: Cannot start the simulation kernel kivotcl.exe: the environment variable "
              "VELDRA, which names the installation roots, is not set.");
    EXPECT_EQ(kernelNotFoundMessage(findKernel(";;;", files.probe())),
              "ERROR: Cannot start the simulation kernel kivotcl.exe: the environment variable "
              "VELDRA names no installation root.");
    EXPECT_EQ(kernelNotFoundMessage(findKernel("C:\\A;D:\\B", files.probe())),
              "ERROR: Cannot start the simulation kernel kivotcl.exe: no installation root in "
              "VELDRA holds it; searched C:\\A\\bin\\nt64\\unwrapped\\kivotcl.exe, "
              "D:\\B\\bin\\nt64\\unwrapped\\kivotcl.exe.");
}
