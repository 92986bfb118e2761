#include "args/run_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

std::string joined(const Arguments& arguments) {
    std::string text;
    for (const std::string& argument : arguments) text += " " + argument;
    return text;
}

}  // namespace

TEST(ReadRunLogSettings, SettlesTheLogFileAndWhetherToWriteIt) {
    const struct {
        Arguments arguments;
        RunLogSettings settings;
    } cases[] = {
        {{}, {false, "kivo.log"}},
        {{"-log", "a.log"}, {false, "a.log"}},
        {{"-log", "a.log", "-gui", "-log", "b.log"}, {false, "b.log"}},
        {{"-log", "a.log", "-log"}, {false, "a.log"}},
        {{"-log"}, {false, "kivo.log"}},
        {{"-log", "-nolog"}, {false, "-nolog"}},
        {{"-log", "-log", "x.log"}, {false, "-log"}},
        {{"-nolog", "-log", "x.log"}, {true, "x.log"}},
        {{"-log", "x.log", "-nolog"}, {true, "x.log"}},
        {{"-view", "-nolog"}, {true, "kivo.log"}},  // the option table is not consulted
        {{"-LOG", "x.log", "-log=y.log", "-NOLOG"}, {false, "kivo.log"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readRunLogSettings(c.arguments), c.settings) << joined(c.arguments);
    }
}

TEST(RunLogText, ShowsTheArgumentsAsTyped) {
    EXPECT_EQ(runLogText({"tb.exe", "-f", "opts.f", "-gui"}),
              "Kivo log file\nRunning: tb.exe -f opts.f -gui \n");
    EXPECT_EQ(runLogText({"C:\\work\\tb.exe"}), "Kivo log file\nRunning: C:\\work\\tb.exe \n");
    EXPECT_EQ(runLogText({"tb.exe", "my waves.wcfg", "", "x"}),
              "Kivo log file\nRunning: tb.exe my waves.wcfg  x \n");
}

TEST(LogFileOpenFailedMessage, NamesTheFile) {
    EXPECT_EQ(logFileOpenFailedMessage("missing\\x.log"),
              "ERROR: missing\\x.log file open failed.");
}
