// The UTF-16 and WTF-8 conversions, and the decoding of command files, on any input: both round
// trips, against a reference decoder written from Unicode's table of well-formed byte sequences.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "args/command_file_text.h"
#include "args/command_files.h"
#include "fuzz/fuzz_support.h"
#include "text/wtf8.h"

namespace {

// The well-formed byte sequences, a row each: the range of each of its bytes. The ED row takes
// A0..BF as well, the surrogates, which generalized UTF-8 allows.
struct SequenceForm {
    std::size_t length;
    unsigned char low[4];
    unsigned char high[4];
};
constexpr SequenceForm kForms[] = {
    {1, {0x00}, {0x7F}},
    {2, {0xC2, 0x80}, {0xDF, 0xBF}},
    {3, {0xE0, 0xA0, 0x80}, {0xE0, 0xBF, 0xBF}},
    {3, {0xE1, 0x80, 0x80}, {0xEC, 0xBF, 0xBF}},
    {3, {0xED, 0x80, 0x80}, {0xED, 0xBF, 0xBF}},
    {3, {0xEE, 0x80, 0x80}, {0xEF, 0xBF, 0xBF}},
    {4, {0xF0, 0x90, 0x80, 0x80}, {0xF0, 0xBF, 0xBF, 0xBF}},
    {4, {0xF1, 0x80, 0x80, 0x80}, {0xF3, 0xBF, 0xBF, 0xBF}},
    {4, {0xF4, 0x80, 0x80, 0x80}, {0xF4, 0x8F, 0xBF, 0xBF}},
};

// What one step of the reference decoder read: a code point, or U+FFFD for the bytes that begin a
// well-formed sequence but do not complete it (or for one byte that begins none).
struct Read {
    char32_t value;
    std::size_t length;
    bool wellFormed;
};

Read referenceRead(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    for (const SequenceForm& form : kForms) {
        std::size_t matched = 0;
        while (matched < form.length && at + matched < bytes.size() &&
               byte(matched) >= form.low[matched] && byte(matched) <= form.high[matched]) {
            ++matched;
        }
        if (matched == 0) continue;
        if (matched < form.length) return {0xFFFD, matched, false};
        switch (form.length) {
            case 1:
                return {byte(0), 1, true};
            case 2:
                return {char32_t(byte(0) & 0x1F) << 6 | (byte(1) & 0x3F), 2, true};
            case 3:
                return {char32_t(byte(0) & 0x0F) << 12 | char32_t(byte(1) & 0x3F) << 6 |
                            (byte(2) & 0x3F),
                        3, true};
            default:
                return {char32_t(byte(0) & 0x07) << 18 | char32_t(byte(1) & 0x3F) << 12 |
                            char32_t(byte(2) & 0x3F) << 6 | (byte(3) & 0x3F),
                        4, true};
        }
    }
    return {0xFFFD, 1, false};
}

std::vector<Read> referenceReads(std::string_view bytes) {
    std::vector<Read> reads;
    for (std::size_t at = 0; at < bytes.size(); at += reads.back().length) {
        reads.push_back(referenceRead(bytes, at));
    }
    return reads;
}

std::u16string referenceUtf16(const std::vector<Read>& reads) {
    std::u16string units;
    for (const Read& read : reads) {
        if (read.value < 0x10000) {
            units += static_cast<char16_t>(read.value);
        } else {
            units += static_cast<char16_t>(0xD7C0 + (read.value >> 10));
            units += static_cast<char16_t>(0xDC00 | (read.value & 0x3FF));
        }
    }
    return units;
}

bool isSurrogate(char32_t value) { return value >= 0xD800 && value <= 0xDFFF; }
bool isHigh(char32_t value) { return value >= 0xD800 && value <= 0xDBFF; }
bool isLow(char32_t value) { return value >= 0xDC00 && value <= 0xDFFF; }

struct Kinds {
    bool generalizedUtf8 = true;  // every byte in a well-formed sequence
    bool wtf8 = true;             // that, and no surrogate pair written as two surrogates
    bool strictUtf8 = true;       // that, and no surrogate at all
};

Kinds kindsOf(const std::vector<Read>& reads) {
    Kinds kinds;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        if (!reads[i].wellFormed) kinds = {false, false, false};
        if (isSurrogate(reads[i].value)) kinds.strictUtf8 = false;
        if (isHigh(reads[i].value) && i + 1 < reads.size() && isLow(reads[i + 1].value)) {
            kinds.wtf8 = false;
        }
    }
    return kinds;
}

bool isWellFormedUtf16(std::u16string_view units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (isHigh(units[i]) && i + 1 < units.size() && isLow(units[i + 1])) {
            ++i;
        } else if (isSurrogate(units[i])) {
            return false;
        }
    }
    return true;
}

std::string latin1(std::string_view bytes) {
    std::u16string units;
    for (const unsigned char byte : bytes) units += static_cast<char16_t>(byte);
    return wtf8FromUtf16(units);
}

// UTF-16 made of the bytes, two a code unit (little-endian; an odd last byte is left out).
std::u16string unitsOf(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return units;
}

void checkUtf16RoundTrip(std::u16string_view units) {
    const std::string wtf8 = wtf8FromUtf16(units);
    FUZZ_CHECK(utf16FromWtf8(wtf8) == units);
    FUZZ_CHECK(utf16LengthOfWtf8(wtf8) == units.size());
    const Kinds kinds = kindsOf(referenceReads(wtf8));
    FUZZ_CHECK(kinds.wtf8);
    FUZZ_CHECK(isValidUtf8(wtf8) == isWellFormedUtf16(units));
    // Joined at any point, the two halves' WTF-8 reads back as the whole.
    const std::size_t cut = units.empty() ? 0 : units[0] % (units.size() + 1);
    FUZZ_CHECK(utf16FromWtf8(wtf8FromUtf16(units.substr(0, cut)) +
                             wtf8FromUtf16(units.substr(cut))) == units);
}

void checkBytesRoundTrip(std::string_view bytes) {
    const std::vector<Read> reads = referenceReads(bytes);
    const Kinds kinds = kindsOf(reads);
    const std::u16string units = utf16FromWtf8(bytes);
    FUZZ_CHECK(units == referenceUtf16(reads));
    FUZZ_CHECK(utf16LengthOfWtf8(bytes) == units.size());
    FUZZ_CHECK(isGeneralizedUtf8(bytes) == kinds.generalizedUtf8);
    FUZZ_CHECK(isValidUtf8(bytes) == kinds.strictUtf8);
    // Written again, the text is WTF-8 that reads the same; it is the bytes exactly when they
    // were WTF-8.
    const std::string wtf8 = wtf8FromUtf16(units);
    FUZZ_CHECK(utf16FromWtf8(wtf8) == units);
    FUZZ_CHECK((wtf8 == bytes) == kinds.wtf8);
}

void checkCommandFile(std::string_view bytes) {
    const Result<DecodedCommandFile> decoded = decodeCommandFile(bytes, latin1);
    const bool utf8Mark = bytes.starts_with("\xEF\xBB\xBF");
    const bool utf16Mark = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
    if (!decoded) {
        FUZZ_CHECK(decoded.failure().message == kCommandFileParseError);
        FUZZ_CHECK((utf8Mark && !isValidUtf8(bytes.substr(3))) ||
                   (utf16Mark && bytes.size() % 2 != 0));
        return;
    }
    FUZZ_CHECK(kindsOf(referenceReads(decoded->text)).wtf8);
    if (utf16Mark) {
        // The code units after the mark, in its byte order.
        std::u16string units = unitsOf(bytes.substr(2));
        if (bytes[0] == '\xFE') {
            for (char16_t& unit : units) unit = static_cast<char16_t>(unit << 8 | unit >> 8);
        }
        FUZZ_CHECK(utf16FromWtf8(decoded->text) == units);
    }
    if (!utf8Mark && !utf16Mark && isValidUtf8(bytes)) {
        FUZZ_CHECK(decoded->text == bytes);
        FUZZ_CHECK(decoded->encoding == CommandFileEncoding::utf8);
    }
    // A NUL character, in whatever encoding, fails the file (with this message unless an error
    // on an earlier line comes first).
    if (decoded->text.find('\0') != std::string::npos) {
        FUZZ_CHECK(!tokenizeCommandFile(decoded->text).ok());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = asText(data, size);
    checkUtf16RoundTrip(unitsOf(bytes));
    checkBytesRoundTrip(bytes);
    checkCommandFile(bytes);
    return 0;
}
