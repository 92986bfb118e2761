#include "app/dry_run.h"

#include <gtest/gtest.h>

#include "app/launch_trace.h"

TEST(DryRunText, TheHandOverThenEachVariableOnALine) {
    EXPECT_EQ(dryRunText(handOverLines("C:\\k.exe", "kivotcl -exe \"a b\""),
                         {{"PATH", "C:\\A;old"}, {"VELDRA_DSP", ""}, kHandOverSetting}),
              "program: C:\\k.exe\n"
              "command line: kivotcl -exe \"a b\"\n"
              "PATH=C:\\A;old\n"
              "VELDRA_DSP=\n"
              "PORT_DYNAMIC_DISABLE_MSG=1\n");
}
