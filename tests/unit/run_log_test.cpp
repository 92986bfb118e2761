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

TEST(ReadLogOptions, SettlesTheLogFileAndWhetherToWriteIt) {
    const struct {
        Arguments expanded;
        std::string logFileName;
        bool logDisabled;
    } cases[] = {
        {{"tb.exe"}, "kivo.log", false},
        {{"tb.exe", "-log", "a.log"}, "a.log", false},
        {{"tb.exe", "-log", "a.log", "-gui", "-log", "b.log"}, "b.log", false},
        {{"tb.exe", "-log", "a.log", "-log"}, "a.log", false},
        {{"tb.exe", "-log"}, "kivo.log", false},
        {{"tb.exe", "-log", "-nolog"}, "-nolog", false},
        {{"tb.exe", "-log", "-log", "x.log"}, "-log", false},
        {{"tb.exe", "-nolog", "-log", "x.log"}, "x.log", true},
        {{"tb.exe", "-log", "x.log", "-nolog"}, "x.log", true},
        {{"tb.exe", "-view", "-nolog"}, "kivo.log", true},  // the option table is not consulted
        {{"-nolog", "-LOG", "x.log", "-log=y.log"}, "kivo.log", false},  // entry 0 is not an option
    };
    for (const auto& c : cases) {
        LaunchState state;
        state.expandedArgs = c.expanded;
        readLogOptions(state);
        EXPECT_EQ(state.logFileName, c.logFileName) << joined(c.expanded);
        EXPECT_EQ(state.logDisabled, c.logDisabled) << joined(c.expanded);
        EXPECT_EQ(state.expandedArgs, c.expanded) << joined(c.expanded);
    }
}

TEST(RunLogText, ShowsTheArgumentsAsTyped) {
    EXPECT_EQ(runLogText({"tb.exe", "-f", "opts.f", "-gui"}),
              "Kivo log file\nRunning: tb.exe -f opts.f -gui \n");
    EXPECT_EQ(runLogText({"C:\\work\\tb.exe"}), "Kivo log file\nRunning: C:\\work\\tb.exe \n");
    EXPECT_EQ(runLogText({"tb.exe", "my waves.wcfg", "", "x"}),
              "Kivo log file\nRunning: tb.exe my waves.wcfg  x \n");
}
