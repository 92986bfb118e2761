#include "app/launch_trace.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

TEST(TraceLines, StartAndSupportFile) {
    EXPECT_EQ(startedLine("1.2.3", ".\\tb.exe"), "kivolaunch 1.2.3, started as .\\tb.exe");
    EXPECT_EQ(supportFileLine("kivo/tb.exe.sim/tb.exe", true),
              "support file kivo/tb.exe.sim/tb.exe: found");
    EXPECT_EQ(supportFileLine("kivo/x.exe.sim/x.exe", false),
              "support file kivo/x.exe.sim/x.exe: not found");
}

TEST(TraceLines, EnvironmentShowsVeldraEachRootTheChoicesAndPath) {
    const std::string kernel = "C:\\A\\bin\\nt64\\unwrapped\\kivotcl.exe";
    auto environment = [](bool veldraSet, std::vector<InstallRoot> roots, std::string kernelPath,
                          std::optional<std::string> given, std::optional<std::string> derived) {
        RuntimeEnvironment e;
        e.kernel.veldraSet = veldraSet;
        e.kernel.kernelPath = std::move(kernelPath);
        e.roots = std::move(roots);
        e.givenDspRoot = std::move(given);
        e.dspRoot = std::move(derived);
        e.path = "P;old";
        return e;
    };
    const struct {
        const char* name;
        RuntimeEnvironment environment;
        Lines lines;
    } cases[] = {
        {"unset",
         environment(false, {}, "", std::nullopt, std::nullopt),
         {"VELDRA is not set", "kernel chosen: none",
          "VELDRA_DSP is not set and no installation root holds the DSP library", "PATH=P;old"}},
        {"no root",
         environment(true, {}, "", "D:\\dsp", std::nullopt),
         {"VELDRA names no installation root", "kernel chosen: none", "VELDRA_DSP=D:\\dsp (given)",
          "PATH=P;old"}},
        {"every kind of root",
         environment(true,
                     {{"C:\\X", true, false, false},
                      {"C:\\A", true, true, false},
                      {"C:\\B", true, false, true},
                      {"C:\\AB", true, true, true},
                      {"C:\\Z", false, false, false}},
                     kernel, std::nullopt, "C:\\B"),
         {"installation root C:\\X: nothing", "installation root C:\\A: the kernel",
          "installation root C:\\B: the DSP library",
          "installation root C:\\AB: the kernel and the DSP library",
          "installation root C:\\Z: not looked at", "kernel chosen: " + kernel,
          "VELDRA_DSP=C:\\B (derived from VELDRA)", "PATH=P;old"}},
    };
    for (const auto& c : cases) EXPECT_EQ(environmentLines(c.environment), c.lines) << c.name;
}

TEST(TraceLines, CommandFilesWithTheirEncodingAndArgumentCount) {
    EXPECT_EQ(commandFileLines({}), Lines{"no command file"});
    EXPECT_EQ(commandFileLines({{"my opts.f", CommandFileEncoding::utf8, 0},
                                {"one.f", CommandFileEncoding::ansiCodePage, 1},
                                {"C:\\two.f", CommandFileEncoding::utf16BigEndian, 2}}),
              (Lines{"command file my opts.f: UTF-8, 0 arguments",
                     "command file one.f: ANSI code page, 1 argument",
                     "command file C:\\two.f: UTF-16BE, 2 arguments"}));
}

TEST(TraceLines, OptionsNotedWithEachViewAndTheLog) {
    LauncherOptions defaults;
    EXPECT_EQ(optionLines(defaults),
              (Lines{"mode: kernel", "-tclbatch: (none)", "-view: (none)", "-open: (none)",
                     "-wdb: (none)", "log file: kivo.log"}));

    LauncherOptions given;
    given.guiMode = true;
    given.tclBatchFile = "run.tcl";
    given.viewFiles = {"a.wcfg", "my waves.wcfg"};
    given.openFile = "o.wdb";
    given.wdbFile = "out.wdb";
    given.log.disabled = true;
    given.log.fileName = "other.log";
    EXPECT_EQ(optionLines(given),
              (Lines{"mode: GUI", "-tclbatch: run.tcl", "-view: a.wcfg", "-view: my waves.wcfg",
                     "-open: o.wdb", "-wdb: out.wdb", "log file: none (-nolog)"}));
}

TEST(TraceLines, HowTheStartedProgramEnded) {
    using std::chrono::milliseconds;
    EXPECT_EQ(endedLine("the simulation kernel", 0, milliseconds(52)),
              "the simulation kernel ended with status 0 after 52 ms");
    EXPECT_EQ(endedLine("the front end", 0x7FFFFFFF, milliseconds(0)),
              "the front end ended with status 2147483647 after 0 ms");
    // Exception codes read in hexadecimal.
    EXPECT_EQ(endedLine("the front end", 0x80000000u, milliseconds(1)),
              "the front end ended with status 2147483648 (0x80000000) after 1 ms");
    EXPECT_EQ(endedLine("the simulation kernel", 0xC0000005u, milliseconds(12345)),
              "the simulation kernel ended with status 3221225477 (0xC0000005) after 12345 ms");
    EXPECT_EQ(notStartedLine("the front end", "File not found. (error 2)"),
              "the front end could not be started: File not found. (error 2)");
}

TEST(TraceText, EachLineAfterThePrefix) {
    EXPECT_EQ(traceText({}), "");
    EXPECT_EQ(traceText({"a", "", "PATH=x"}), "kivolaunch: a\nkivolaunch: \nkivolaunch: PATH=x\n");
}
