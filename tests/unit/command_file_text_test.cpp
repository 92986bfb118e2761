#include "args/command_file_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "args/command_files.h"
#include "text/wtf8.h"

namespace {

using Arguments = std::vector<std::string>;

// Windows-1252 for the bytes these tests use: Latin-1, but 0x80 is the euro sign.
std::string windows1252(std::string_view bytes) {
    std::u16string units;
    for (const unsigned char byte : bytes) units += byte == 0x80 ? u'\u20AC' : char16_t{byte};
    return wtf8FromUtf16(units);
}

// UTF-16 text as the bytes of a file, the byte-order mark first.
std::string utf16File(std::u16string_view units, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace

TEST(DecodeCommandFile, ReadsEachEncodingAsWtf8) {
    const struct {
        const char* name;
        std::string bytes;
        std::string text;
        std::string encoding;
    } cases[] = {
        {"ASCII, byte for byte", "  # c\r\n-a \"b c\"\t\n-d", "  # c\r\n-a \"b c\"\t\n-d", "UTF-8"},
        {"empty", "", "", "UTF-8"},
        {"UTF-8", "-view \xCE\xB1.wcfg \xE4\xB8\xAD \xF0\x9F\x98\x80\n",
         "-view \xCE\xB1.wcfg \xE4\xB8\xAD \xF0\x9F\x98\x80\n", "UTF-8"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF-x caf\xC3\xA9\r\n", "-x caf\xC3\xA9\r\n",
         "UTF-8 with byte-order mark"},
        {"only the UTF-8 mark", "\xEF\xBB\xBF", "", "UTF-8 with byte-order mark"},
        {"UTF-16LE", utf16File(u"-x \u03B1\r\n\U0001F600\r\n", false),
         "-x \xCE\xB1\r\n\xF0\x9F\x98\x80\r\n", "UTF-16LE"},
        {"UTF-16BE", utf16File(u"-x \u03B1\r\n\U0001F600\r\n", true),
         "-x \xCE\xB1\r\n\xF0\x9F\x98\x80\r\n", "UTF-16BE"},
        {"UTF-16LE, lone surrogates", utf16File(std::u16string{0xDC00, u'a', 0xD800}, false),
         "\xED\xB0\x80"
         "a\xED\xA0\x80",
         "UTF-16LE"},
        {"only the UTF-16 mark", "\xFE\xFF", "", "UTF-16BE"},
        {"ANSI", "-x caf\xE9 \x80\n", "-x caf\xC3\xA9 \xE2\x82\xAC\n", "ANSI code page"},
        {"ANSI that starts like a mark", "\xFF", "\xC3\xBF", "ANSI code page"},
        // The WTF-8 of a lone surrogate is no UTF-8, so it is read in the ANSI code page too.
        {"ANSI, not UTF-8", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC", "ANSI code page"},
    };
    for (const auto& c : cases) {
        const Result<DecodedCommandFile> decoded = decodeCommandFile(c.bytes, windows1252);
        ASSERT_TRUE(decoded.ok()) << c.name << ": " << decoded.failure().message;
        EXPECT_EQ(decoded->text, c.text) << c.name;
        EXPECT_EQ(encodingName(decoded->encoding), c.encoding) << c.name;
    }
}

TEST(DecodeCommandFile, FailsOnAMarkedFileThatIsNotItsEncoding) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"ANSI after the UTF-8 mark", "\xEF\xBB\xBF-x caf\xE9\n"},
        {"a surrogate after the UTF-8 mark", "\xEF\xBB\xBF\xED\xA0\x80"},
        {"UTF-16LE, odd length", utf16File(u"-x", false) + "\n"},
        {"UTF-16BE, odd length", std::string("\xFE\xFF\0", 3)},
    };
    for (const auto& c : cases) {
        const Result<DecodedCommandFile> decoded = decodeCommandFile(c.bytes, windows1252);
        ASSERT_FALSE(decoded.ok()) << c.name;
        EXPECT_EQ(decoded.failure().message, kCommandFileParseError) << c.name;
    }
}

// The grammar reads characters: a NUL character fails the file in every encoding, and in UTF-16
// the zero bytes of other characters are no NUL.
TEST(DecodeCommandFile, TheTokenizerReadsTheDecodedText) {
    const struct {
        const char* name;
        std::string bytes;
    } nulFiles[] = {
        {"UTF-8", std::string("-a\0b\n", 5)},
        {"UTF-8 with its mark", std::string("\xEF\xBB\xBF-a\0", 6)},
        {"UTF-16LE", utf16File(std::u16string(u"-a\0b", 4), false)},
        {"UTF-16BE", utf16File(std::u16string(u"# \0", 3), true)},
        {"ANSI", std::string("caf\xE9\0", 5)},
    };
    for (const auto& c : nulFiles) {
        const Result<DecodedCommandFile> decoded = decodeCommandFile(c.bytes, windows1252);
        ASSERT_TRUE(decoded.ok()) << c.name;
        const Result<Arguments> tokens = tokenizeCommandFile(decoded->text);
        ASSERT_FALSE(tokens.ok()) << c.name;
        EXPECT_EQ(tokens.failure().message, kCommandFileParseError) << c.name;
    }

    const std::u16string lines = u"  # \u03C3\r\n-view \"my \u03B1.wcfg\"\r\n-wdb \u4E2D\r\n";
    const Arguments arguments = {"-view", "my \xCE\xB1.wcfg", "-wdb", "\xE4\xB8\xAD"};
    for (const bool bigEndian : {false, true}) {
        const Result<DecodedCommandFile> decoded =
            decodeCommandFile(utf16File(lines, bigEndian), windows1252);
        ASSERT_TRUE(decoded.ok());
        const Result<Arguments> tokens = tokenizeCommandFile(decoded->text);
        ASSERT_TRUE(tokens.ok()) << tokens.failure().message;
        EXPECT_EQ(*tokens, arguments) << (bigEndian ? "UTF-16BE" : "UTF-16LE");
    }
}
