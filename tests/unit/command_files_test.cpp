#include "args/command_files.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

const std::string kNotFound = "Command file for -f not found";
const std::string kParseError = "Error in parsing -f file";
const std::string kUnclosedQuote = "Error: Matching closing \" was not found";

// The message of a failed result; empty for a value.
template <typename T>
std::string failureOf(const Result<T>& result) {
    return result.ok() ? "" : result.failure().message;
}

std::string joined(const Arguments& arguments) {
    std::string text;
    for (const std::string& argument : arguments) text += (text.empty() ? "" : " ") + argument;
    return text;
}

const std::string kExampleFile =
    "  # options\n"
    "  -tclbatch run.tcl   -view \"my waves.wcfg\"\n"
    "-wdb out\n";

}  // namespace

TEST(TokenizeCommandFile, SplitsLinesIntoArguments) {
    const struct {
        std::string text;
        Arguments arguments;
    } cases[] = {
        {kExampleFile, {"-tclbatch", "run.tcl", "-view", "my waves.wcfg", "-wdb", "out"}},
        {"", {}},
        {"# only a comment\n   #-gui\n#\n", {}},
        {"\n   \n\n", {}},
        {"-x #y\n", {"-x", "#y"}},
        {"a#b\n", {"a#b"}},
        {"\"#quoted\" first\n", {"#quoted", "first"}},
        {"\"a b\" c\n", {"a b", "c"}},
        {"-view    \"  spaced  out  \"   next\n", {"-view", "  spaced  out  ", "next"}},
        {"\"a\"b\n", {"a", "b"}},
        {"\"a\"\"b\"\n", {"a", "b"}},
        {"\"\"\n", {""}},
        {"-x \"\" -y\n", {"-x", "", "-y"}},
        {"trailing   \n", {"trailing"}},
        {"\t-gui\ta\tb \t\n", {"\t-gui\ta\tb", "\t"}},
        {"\t# not a comment\n", {"\t#", "not", "a", "comment"}},
        {"in\rside\n", {"in\rside"}},
        {"-f other.f\n", {"-f", "other.f"}},
        // Line ends are alike on every build, and the last line needs no line feed.
        {"-a b\r\n-c\r\n", {"-a", "b", "-c"}},
        {"\"x y\"\r\n", {"x y"}},
        {"last   \r\n", {"last"}},
        {"  # comment\r\n\r\n", {}},
        {"-a\n-b", {"-a", "-b"}},
        {"-a\n-b c", {"-a", "-b", "c"}},
        {"\"no final\" line", {"no final", "line"}},
        {"end\r\nno-lf", {"end", "no-lf"}},
    };
    for (const auto& c : cases) {
        const Result<Arguments> tokens = tokenizeCommandFile(c.text);
        ASSERT_TRUE(tokens.ok()) << c.text << ": " << tokens.failure().message;
        EXPECT_EQ(*tokens, c.arguments) << c.text;
    }
}

TEST(TokenizeCommandFile, ReportsTheFirstError) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"abc\"def\n", kParseError},
        {"-x abc\"\n", kParseError},
        {"-view \"\n", kUnclosedQuote},
        {"-view \"my waves.wcfg\n-wdb out\"\n", kUnclosedQuote},
        {"-view \"open at the end", kUnclosedQuote},
        {"-view \"open\r\n", kUnclosedQuote},
        {"good\nabc\"def\n-view \"\n", kParseError},
        {"good\n-view \"\nabc\"def\n", kUnclosedQuote},
        {std::string("a\0b\n", 4), kParseError},
        {std::string("-x\n\0\n-y\n", 8), kParseError},
        {std::string("# comment \0 hidden\n-y\n", 22), kParseError},
        {std::string("\"quoted \0 nul\"\n", 15), kParseError},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(failureOf(tokenizeCommandFile(c.text)), c.error) << c.text;
    }
}

TEST(TokenizeCommandFile, HasNoLimitsOfItsOwn) {
    Arguments longArguments = {std::string(300, 'p'), std::string(200, 'q') + " with spaces"};
    const std::string longText = longArguments[0] + "\n\"" + longArguments[1] + "\"\n";
    EXPECT_EQ(*tokenizeCommandFile(longText), longArguments);

    // One line of about 100 KB whose arguments do not line up with any fixed chunk size.
    Arguments lineArguments;
    std::string line;
    for (int i = 0; line.size() < 100 * 1024; ++i) {
        lineArguments.push_back("-opt" + std::string(i % 7, 'x') + std::to_string(i));
        line += lineArguments.back() + std::string(1 + i % 3, ' ');
    }
    EXPECT_EQ(*tokenizeCommandFile(line + "\n"), lineArguments);

    Arguments many;
    std::string manyText;
    for (int i = 0; i < 250; ++i) {
        many.push_back("-a" + std::to_string(i));
        many.push_back("value " + std::to_string(i));
        manyText += many[many.size() - 2] + " \"" + many.back() + "\"\n";
    }
    ASSERT_EQ(many.size(), 500u);
    EXPECT_EQ(*tokenizeCommandFile(manyText), many);
}

namespace {

const std::map<std::string, std::string> kFiles = {
    {"opts.f", kExampleFile},
    {"a.f", "-a1 -a2\n"},
    {"b.f", "-b1\n"},
    {"nested.f", "-f a.f\n"},
    {"empty.f", ""},
    {"comments.f", "# nothing here\n"},
    {"bad.f", "abc\"def\n"},
    {"open.f", "-view \"\n"},
    {"utf16.f", std::string("\xFF\xFE-\0\xB1\x03\r\0\n\0", 10)},
    {"ansi.f", "caf\xE9\n"},
    {"odd.f", std::string("\xFE\xFF\0", 3)},
};

// The ANSI code page of these tests: Latin-1.
std::string latin1(std::string_view bytes) {
    std::string text;
    for (const unsigned char byte : bytes) {
        if (byte < 0x80) {
            text += static_cast<char>(byte);
        } else {
            text += static_cast<char>(0xC0 | byte >> 6);
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}
// Reads from kFiles and records every file asked for.
struct FakeReader {
    Arguments filesRead;

    FileReader reader() {
        return [this](const std::string& path) -> std::optional<std::string> {
            filesRead.push_back(path);
            const auto file = kFiles.find(path);
            if (file == kFiles.end()) return std::nullopt;
            return file->second;
        };
    }
};

}  // namespace

TEST(ExpandArguments, SplicesEachCommandFileInPlace) {
    const struct {
        Arguments typed;
        Arguments expanded;
        Arguments read;
    } cases[] = {
        {{"tb.exe"}, {"tb.exe"}, {}},
        {{"tb.exe", "-gui", "-f", "opts.f", "-foo"},
         {"tb.exe", "-gui", "-tclbatch", "run.tcl", "-view", "my waves.wcfg", "-wdb", "out",
          "-foo"},
         {"opts.f"}},
        {{"tb.exe", "-x", "-f", "a.f", "-y", "-f", "b.f", "-z"},
         {"tb.exe", "-x", "-a1", "-a2", "-y", "-b1", "-z"},
         {"a.f", "b.f"}},
        {{"tb.exe", "-f", "b.f", "-f", "b.f"}, {"tb.exe", "-b1", "-b1"}, {"b.f", "b.f"}},
        {{"tb.exe", "-f", "nested.f"}, {"tb.exe", "-f", "a.f"}, {"nested.f"}},
        {{"tb.exe", "-f", "empty.f", "-f", "comments.f", "-x"},
         {"tb.exe", "-x"},
         {"empty.f", "comments.f"}},
        {{"-f", "a.f"}, {"-f", "a.f"}, {}},  // the program name is copied, not examined
        {{"tb.exe", "-F", "a.f", "-f=a.f"}, {"tb.exe", "-F", "a.f", "-f=a.f"}, {}},
    };
    for (const auto& c : cases) {
        FakeReader files;
        const Result<ExpandedArguments> result = expandArguments(c.typed, files.reader(), latin1);
        ASSERT_TRUE(result.ok()) << joined(c.typed) << ": " << result.failure().message;
        EXPECT_EQ(result->arguments, c.expanded) << joined(c.typed);
        EXPECT_EQ(files.filesRead, c.read) << joined(c.typed);
    }
}

TEST(ExpandArguments, StopsAtTheFirstFailingCommandFile) {
    const struct {
        Arguments typed;
        std::string error;
    } cases[] = {
        {{"tb.exe", "-f"}, kNotFound},
        {{"tb.exe", "-gui", "-f"}, kNotFound},
        {{"tb.exe", "-f", "missing.f"}, kNotFound},
        {{"tb.exe", "-f", "a.f", "-f", "missing.f", "-f", "bad.f"}, kNotFound},
        {{"tb.exe", "-f", "bad.f", "-f", "missing.f"}, kParseError},
        {{"tb.exe", "-f", "open.f"}, kUnclosedQuote},
        {{"tb.exe", "-f", "odd.f"}, kParseError},
    };
    for (const auto& c : cases) {
        FakeReader files;
        EXPECT_EQ(failureOf(expandArguments(c.typed, files.reader(), latin1)), c.error)
            << joined(c.typed);
    }
    // Nothing after the failing file is read.
    FakeReader files;
    EXPECT_FALSE(
        expandArguments({"tb.exe", "-f", "missing.f", "-f", "a.f"}, files.reader(), latin1).ok());
    EXPECT_EQ(files.filesRead, Arguments{"missing.f"});
}

// Each file is decoded on its own before it is tokenized; one record for each file read, in the
// order read (a file read twice, twice), with its encoding and the number of arguments it gave.
TEST(ExpandArguments, DecodesEachFileAndRecordsIt) {
    FakeReader files;
    const Result<ExpandedArguments> result =
        expandArguments({"tb.exe", "-f", "utf16.f", "x", "-f", "ansi.f", "-f", "a.f", "-f",
                         "empty.f", "-f", "utf16.f"},
                        files.reader(), latin1);
    ASSERT_TRUE(result.ok()) << result.failure().message;
    EXPECT_EQ(result->arguments,
              (Arguments{"tb.exe", "-\xCE\xB1", "x", "caf\xC3\xA9", "-a1", "-a2", "-\xCE\xB1"}));
    const std::vector<CommandFileRead> expectedReads = {
        {"utf16.f", CommandFileEncoding::utf16LittleEndian, 1},
        {"ansi.f", CommandFileEncoding::ansiCodePage, 1},
        {"a.f", CommandFileEncoding::utf8, 2},
        {"empty.f", CommandFileEncoding::utf8, 0},
        {"utf16.f", CommandFileEncoding::utf16LittleEndian, 1},
    };
    EXPECT_EQ(result->filesRead, expectedReads);
}
