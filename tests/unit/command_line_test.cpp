#include "core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/c_runtime_split.h"

TEST(CommandLineSplitterInTheTest, FollowsTheRuntimesDocumentedExamples) {
    const struct {
        const char* line;
        std::vector<std::string> words;
    } cases[] = {
        {R"("abc" d e)", {"abc", "d", "e"}},      {R"(a\\b d"e f"g h)", {R"(a\\b)", "de fg", "h"}},
        {R"(a\\\"b c d)", {R"(a\"b)", "c", "d"}}, {R"(a\\\\"b c" d e)", {R"(a\\b c)", "d", "e"}},
        {R"(a"b"" c d)", {R"(ab" c d)"}},         {R"("ab\"c" "\\" d)", {R"(ab"c)", R"(\)", "d"}},
        {"x\t\"\"  y", {"x", "", "y"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitLikeTheCRuntime(c.line), c.words) << c.line;
    }
}

TEST(QuoteCommandLineArgument, QuotesOnlyWhatTheRuntimeWouldSplit) {
    const struct {
        const char* argument;
        const char* written;
    } cases[] = {
        {"", R"("")"},
        {"plain", "plain"},
        {"kivo/tb.exe.sim/tb.exe", "kivo/tb.exe.sim/tb.exe"},
        {"my waves.wcfg", R"("my waves.wcfg")"},
        {"a\tb", "\"a\tb\""},
        {R"(a"b)", R"(a\"b)"},
        {R"(a\"b)", R"(a\\\"b)"},
        {R"(C:\dir\file)", R"(C:\dir\file)"},
        {R"(a\)", R"(a\)"},
        {R"(a b\)", R"("a b\\")"},
        {R"(a b\\)", R"("a b\\\\")"},
        {R"(say "hi")", R"("say \"hi\"")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quoteCommandLineArgument(c.argument), c.written) << c.argument;
    }
}

TEST(BuildCommandLine, SplitsBackIntoTheSameArguments) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {""},
        {"", ""},
        {"-view", "my waves.wcfg"},
        {"a\tb", "\t", " "},
        {R"(a"b)", R"(")", R"("")", R"(" ")", R"(""")"},
        {R"(\)", R"(\\)", R"(\\\)", R"(a\)", R"(a\\)"},
        {R"(a\ b)", R"(a b\)", R"(a b\\)", R"(a\\ b\\\)"},
        {R"(\")", R"(\\")", R"(\\\")", R"(a\\\"b c)", R"(" \"")"},
        {R"(C:\Program Files\kivo\)", "next"},
        {R"(\\server\share\dir with space\)", R"(trailing\)", "-x"},
        {"line\nfeed", "-wdb", "dump.wdb", "#", "-f"},
    };
    for (const auto& arguments : cases) {
        std::vector<std::string> vector{"kivotcl"};
        vector.insert(vector.end(), arguments.begin(), arguments.end());
        const std::string commandLine = buildCommandLine(vector);
        EXPECT_EQ(splitLikeTheCRuntime(commandLine), vector) << commandLine;
    }
}

TEST(BuildCommandLine, JoinsPlainArgumentsWithSingleSpaces) {
    EXPECT_EQ(buildCommandLine({"kivotcl", "-exe", "kivo/tb.exe.sim/tb.exe", "", "a b"}),
              R"(kivotcl -exe kivo/tb.exe.sim/tb.exe "" "a b")");
}

TEST(WithinCommandLineLimit, PassesUpToThePlatformLimitAndNamesTheProgramBeyondIt) {
    const Result<ChildCommand> fits =
        withinCommandLineLimit("the simulation kernel", {"k.exe", std::string(32766, 'c')});
    ASSERT_TRUE(fits.ok());
    EXPECT_EQ(fits->program, "k.exe");
    EXPECT_EQ(fits->commandLine.size(), 32766u);

    const Result<ChildCommand> tooLong =
        withinCommandLineLimit("the front end kivogui", {"", std::string(32767, 'c')});
    ASSERT_FALSE(tooLong.ok());
    EXPECT_EQ(tooLong.failure().message,
              "ERROR: The command line for the front end kivogui is 32767 characters long; the "
              "platform's limit is 32766 characters.");
}
