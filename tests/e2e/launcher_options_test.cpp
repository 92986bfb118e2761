// Whole launches with the options the launcher reads itself: in kernel mode they all pass through,
// with the -wdb value normalised; a missing value or Tcl file ends the launch with its message.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

using e2e::CompileDirectory;
using e2e::concat;
using e2e::kernelPrefix;

// A value is never read as an option (-view -gui names a view file and stays in kernel mode), and
// a -wdb at the end is ignored without a message.
TEST(LauncherOptions, InKernelModeEveryOptionReachesTheKernelWithTheWdbNameNormalised) {
    CompileDirectory dir;
    dir.writeFile("run.tcl", "run all\n");

    const auto outcome = dir.type(
        "tb.exe -wdb dump -view -gui -tclbatch run.tcl -open o.wdb -disabletimeout -wdb x.WDB "
        "-wdb .wdb -wdb y.wdb -foo -wdb");

    EXPECT_EQ(outcome.status, 0u);
    EXPECT_EQ(outcome.output, "kivotcl stand-in: started with 20 arguments\r\n");
    const auto records = dir.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].program, "kivotcl");
    EXPECT_EQ(records[0].args,
              concat(kernelPrefix(), {"-wdb", "dump.wdb", "-view", "-gui", "-tclbatch", "run.tcl",
                                      "-open", "o.wdb", "-disabletimeout", "-wdb", "x.WDB.wdb",
                                      "-wdb", ".wdb.wdb", "-wdb", "y.wdb", "-foo", "-wdb"}));
}

// The option checks run before the run log: nothing is started, no log is written or touched.
TEST(LauncherOptions, AMissingValueOrTclFileEndsTheLaunchWithItsMessage) {
    struct Case {
        const char* command;
        const char* message;
    };
    const Case cases[] = {
        {"tb.exe -log other.log -tclbatch",
         "<file_name> argument is required after -tclbatch "
         "switch\r\n"},
        {"tb.exe -tclbatch missing.tcl -log other.log", "Tcl file not found\r\n"},
        {"tb.exe -tclbatch run.tcl -tclbatch missing.tcl", "Tcl file not found\r\n"},
        {"tb.exe -gui -tclbatch tcl.dir", "Tcl file not found\r\n"},
        {"tb.exe -log other.log -view", "<wcfg_file|wdb_file> is not found\r\n"},
        {"tb.exe -gui -log other.log -open", "<wdb_file> is not found\r\n"},
        {"tb.exe -f last.f", "<wdb_file> is not found\r\n"},
    };
    for (const Case& c : cases) {
        CompileDirectory dir;
        dir.installFrontEnd("rootA/lib/nt64");
        dir.writeFile("kivo.log", e2e::kEarlierLog);
        dir.writeFile("run.tcl", "run all\n");
        dir.makeDirectory("tcl.dir");
        dir.writeFile("last.f", "-log other.log -open\n");

        const auto outcome = dir.type(c.command);

        e2e::expectFailedLaunch(dir, outcome, c.message, c.command);
    }
}
