#include "launch/support_file.h"

#include <gtest/gtest.h>

TEST(DeriveSupportPath, FollowsTheLauncherName) {
    const struct {
        const char* invokedAs;
        const char* supportPath;
    } cases[] = {
        {"tb.exe", "kivo/tb.exe.sim/tb.exe"},
        {"top_tb", "kivo/top_tb.exe.sim/top_tb.exe"},
        {"C:\\work\\top_tb.exe", "kivo/top_tb.exe.sim/top_tb.exe"},
        {"sim", "kivo/sim.exe.sim/sim.exe"},
        {"top1", "kivo/top1.exe.sim/top1.exe"},
        {"run.bat", "kivo/run.bat.sim/run.bat"},
        {".\\tb.exe", "kivo/tb.exe.sim/tb.exe"},
        {"./tb.exe", "kivo/tb.exe.sim/tb.exe"},
        {"a/b\\c.exe", "kivo/b\\c.exe.sim/b\\c.exe"},
        {".exe", "kivo/.exe.sim/.exe"},
        {"a.b", "kivo/a.b.exe.sim/a.b.exe"},
        {"", "kivo/.exe.sim/.exe"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(deriveSupportPath(c.invokedAs), c.supportPath) << c.invokedAs;
    }
}
