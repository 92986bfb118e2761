#include "app/dry_run.h"

#include <gtest/gtest.h>

TEST(ProgramShown, TheKernelsPathOrTheFrontEndAsFound) {
    const ChildCommand kernel{"C:\\A\\bin\\nt64\\unwrapped\\kivotcl.exe", "kivotcl -exe x"};
    const ChildCommand frontEnd{"", "kivogui -exe x"};
    EXPECT_EQ(programShown(kernel, std::nullopt), kernel.program);
    EXPECT_EQ(programShown(frontEnd, std::string("C:\\A\\lib\\nt64\\kivogui.exe")),
              "C:\\A\\lib\\nt64\\kivogui.exe");
    EXPECT_EQ(programShown(frontEnd, std::nullopt), "kivogui (not found)");
}

TEST(DryRunText, TheHandOverThenEachVariableOnALine) {
    EXPECT_EQ(dryRunText(handOverLines("C:\\k.exe", "kivotcl -exe \"a b\""),
                         {{"PATH", "C:\\A;old"}, {"VELDRA_DSP", ""}, kHandOverSetting}),
              "program: C:\\k.exe\n"
              "command line: kivotcl -exe \"a b\"\n"
              "PATH=C:\\A;old\n"
              "VELDRA_DSP=\n"
              "PORT_DYNAMIC_DISABLE_MSG=1\n");
}
