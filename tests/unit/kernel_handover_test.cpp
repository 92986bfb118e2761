#include "launch/kernel_handover.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

// Splits a command line the way the Microsoft C runtime builds argv for the arguments after the
// program name: space and tab separate words outside quotes; 2n backslashes and a quote give n
// backslashes and toggle quoting; 2n+1 backslashes and a quote give n backslashes and a literal
// quote; backslashes not before a quote are literal; inside quotes, two quotes give one literal
// quote. The program name "kivotcl" splits the same under the runtime's rules for argv[0].
std::vector<std::string> splitLikeTheCRuntime(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    const std::size_t n = line.size();
    for (;;) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i == n) break;
        std::string word;
        bool inQuotes = false;
        while (i < n && (inQuotes || (line[i] != ' ' && line[i] != '\t'))) {
            if (line[i] == '\\') {
                std::size_t backslashes = 0;
                while (i < n && line[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < n && line[i] == '"') {
                    word.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        word += '"';
                        ++i;
                    }
                } else {
                    word.append(backslashes, '\\');
                }
            } else if (line[i] == '"') {
                if (inQuotes && i + 1 < n && line[i + 1] == '"') {
                    word += '"';
                    i += 2;
                } else {
                    inQuotes = !inQuotes;
                    ++i;
                }
            } else {
                word += line[i++];
            }
        }
        words.push_back(word);
    }
    return words;
}

}  // namespace

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

TEST(KernelArgumentVector, PassesEverythingAfterTheProgramName) {
    EXPECT_EQ(kernelArgumentVector("kivo/tb.exe.sim/tb.exe", {"tb.exe"}),
              (std::vector<std::string>{"kivotcl", "-exe", "kivo/tb.exe.sim/tb.exe"}));
    EXPECT_EQ(kernelArgumentVector("kivo/tb.exe.sim/tb.exe", {}),
              (std::vector<std::string>{"kivotcl", "-exe", "kivo/tb.exe.sim/tb.exe"}));
    EXPECT_EQ(kernelArgumentVector("kivo/tb.exe.sim/tb.exe",
                                   {"tb.exe", "-tclbatch", "run.tcl", "-wdb", "dump.wdb", "-nolog",
                                    "-view", "my waves.wcfg", "-log", "x.log", "-disabletimeout"}),
              (std::vector<std::string>{"kivotcl", "-exe", "kivo/tb.exe.sim/tb.exe", "-tclbatch",
                                        "run.tcl", "-wdb", "dump.wdb", "-nolog", "-view",
                                        "my waves.wcfg", "-log", "x.log", "-disabletimeout"}));
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

TEST(CommandLineTooLongMessage, AppearsOnlyBeyondThePlatformLimit) {
    EXPECT_EQ(commandLineTooLongMessage("the simulation kernel", std::string(32766, 'c')),
              std::nullopt);

    const std::optional<std::string> message =
        commandLineTooLongMessage("the simulation kernel", std::string(32767, 'c'));
    ASSERT_TRUE(message.has_value());
    EXPECT_NE(message->find("the simulation kernel"), std::string::npos) << *message;
    EXPECT_NE(message->find("32766"), std::string::npos) << *message;
}

TEST(KernelNotFoundMessage, NamesTheKernelAndWhatWasSearched) {
    LaunchState unset;
    const std::string noVeldra = kernelNotFoundMessage(unset);
    EXPECT_NE(noVeldra.find("kivotcl.exe"), std::string::npos) << noVeldra;
    EXPECT_NE(noVeldra.find("VELDRA"), std::string::npos) << noVeldra;
    EXPECT_NE(noVeldra.find("not set"), std::string::npos) << noVeldra;

    LaunchState noRoots;
    noRoots.installRootsSet = true;
    const std::string empty = kernelNotFoundMessage(noRoots);
    EXPECT_NE(empty.find("VELDRA"), std::string::npos) << empty;
    EXPECT_EQ(empty.find("not set"), std::string::npos) << empty;

    LaunchState searched;
    searched.installRootsSet = true;
    searched.installRoots = {"C:\\A", "D:\\B"};
    const std::string roots = kernelNotFoundMessage(searched);
    EXPECT_NE(roots.find("C:\\A\\bin\\nt64\\unwrapped\\kivotcl.exe"), std::string::npos) << roots;
    EXPECT_NE(roots.find("D:\\B\\bin\\nt64\\unwrapped\\kivotcl.exe"), std::string::npos) << roots;
}

// The Windows C runtime restores the default disposition before it calls a handler, so a second
// interrupt would end the process unless the handler registered itself again.
TEST(IgnoreInterrupt, KeepsIgnoringEveryInterrupt) {
    platform::registerInterruptHandler(ignoreInterrupt);
    std::raise(SIGINT);
    std::raise(SIGINT);
    const auto handlerAfterwards = std::signal(SIGINT, SIG_DFL);
    EXPECT_EQ(handlerAfterwards, &ignoreInterrupt);
}
