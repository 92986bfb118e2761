#include "text/wtf8.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The code units as hexadecimal numbers, for messages.
std::string show(std::u16string_view units) {
    std::string text;
    for (const char16_t unit : units) {
        char hex[8];
        std::snprintf(hex, sizeof hex, " %04X", static_cast<unsigned>(unit));
        text += hex;
    }
    return text;
}

std::string show(std::string_view bytes) {
    std::string text;
    for (const unsigned char byte : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof hex, " %02X", byte);
        text += hex;
    }
    return text;
}

}  // namespace

// Well-formed or not, UTF-16 goes through WTF-8 and back unchanged; only lone surrogates keep
// it from being strict UTF-8.
TEST(Wtf8, ConvertsUtf16BothWaysExactly) {
    const struct {
        std::u16string units;
        std::string wtf8;
        bool strictUtf8;
    } cases[] = {
        {u"", "", true},
        {std::u16string(u"-x\0~\r\n", 6), std::string("-x\0~\r\n", 6), true},
        {u"caf\u00E9 \u03B1\u03B2\u03B3", "caf\xC3\xA9 \xCE\xB1\xCE\xB2\xCE\xB3", true},
        {u"\u4E2D\u6587", "\xE4\xB8\xAD\xE6\x96\x87", true},
        {u"\U0001F600", "\xF0\x9F\x98\x80", true},
        // The last code point of each length, and the first of the next.
        {u"\u007F\u0080\u07FF\u0800\uFFFF", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF", true},
        {u"\U00010000\U0010FFFF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", true},
        {{0xD800, u'x'}, "\xED\xA0\x80x", false},
        {{u'x', 0xDFFF, u'y'}, "x\xED\xBF\xBFy", false},
        {{u'a', 0xDBFF}, "a\xED\xAF\xBF", false},
        {{0xDC00}, "\xED\xB0\x80", false},
        // A low surrogate before a high one is no pair; a high one before a pair stays alone.
        {{0xDC00, 0xD800}, "\xED\xB0\x80\xED\xA0\x80", false},
        {{0xD800, 0xD83D, 0xDE00}, "\xED\xA0\x80\xF0\x9F\x98\x80", false},
        {{0xD83D, 0xDE00, 0xDE00}, "\xF0\x9F\x98\x80\xED\xB8\x80", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wtf8FromUtf16(c.units), c.wtf8) << show(c.units);
        EXPECT_EQ(utf16FromWtf8(c.wtf8), c.units) << show(c.wtf8);
        EXPECT_EQ(utf16LengthOfWtf8(c.wtf8), c.units.size()) << show(c.wtf8);
        EXPECT_TRUE(isGeneralizedUtf8(c.wtf8)) << show(c.wtf8);
        EXPECT_EQ(isValidUtf8(c.wtf8), c.strictUtf8) << show(c.wtf8);
    }
}

// Joined, the WTF-8 of a lone high and a lone low surrogate reads back as the pair, and written
// again it takes the pair's own 4-byte form.
TEST(Wtf8, ReadsAJoinedSurrogatePairAsThePair) {
    const std::string joined = wtf8FromUtf16(u"a\xD83D") + wtf8FromUtf16(u"\xDE00z");
    EXPECT_EQ(joined, "a\xED\xA0\xBD\xED\xB8\x80z");
    EXPECT_EQ(utf16FromWtf8(joined), u"a\U0001F600z");
    EXPECT_EQ(utf16LengthOfWtf8(joined), 4u);
    EXPECT_TRUE(isGeneralizedUtf8(joined));
    EXPECT_FALSE(isValidUtf8(joined));
    EXPECT_EQ(wtf8FromUtf16(utf16FromWtf8(joined)), "a\xF0\x9F\x98\x80z");
}

// Each maximal subpart of an ill-formed sequence becomes one U+FFFD, and what follows it is read
// afresh.
TEST(Wtf8, ReplacesEachIllFormedSubpart) {
    const struct {
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {"\x80", u"\uFFFD"},                                // a continuation byte alone
        {"a\xBF\x80z", u"a\uFFFD\uFFFDz"},                  // two of them
        {"\xC0\x80", u"\uFFFD\uFFFD"},                      // overlong NUL
        {"\xC1\xBF", u"\uFFFD\uFFFD"},                      // overlong 2-byte form
        {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},            // overlong 3-byte form
        {"\xE0\x9F\xBF", u"\uFFFD\uFFFD\uFFFD"},            // overlong U+07FF
        {"\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // overlong U+FFFF
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // U+110000
        {"\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // lead byte of no sequence
        {"\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xFE\xFF", u"\uFFFD\uFFFD"},
        // Truncated at the end, or interrupted by ASCII or by another lead byte.
        {"\xC3", u"\uFFFD"},
        {"\xE4\xB8", u"\uFFFD"},
        {"\xF0\x9F\x98", u"\uFFFD"},
        {"\xED\xA0", u"\uFFFD"},
        {"\xE4\xB8z", u"\uFFFDz"},
        {"\xE4\xC3\xA9", u"\uFFFD\u00E9"},
        {"\xF0\x9F\x98\x80\x80", u"\U0001F600\uFFFD"},  // one continuation byte too many
        // The example in Unicode's chapter on conversion: 61 F1 80 80 E1 80 C2 62 80 63 80 BF 64.
        {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
         u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf16FromWtf8(c.bytes), c.units) << show(c.bytes);
        EXPECT_EQ(utf16LengthOfWtf8(c.bytes), c.units.size()) << show(c.bytes);
        EXPECT_FALSE(isGeneralizedUtf8(c.bytes)) << show(c.bytes);
        EXPECT_FALSE(isValidUtf8(c.bytes)) << show(c.bytes);
    }
}
