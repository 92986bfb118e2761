#include "text/wtf8.h"

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool isSurrogate(char32_t value) { return value >= 0xD800 && value <= 0xDFFF; }
bool isHighSurrogate(char32_t value) { return value >= 0xD800 && value <= 0xDBFF; }
bool isLowSurrogate(char32_t value) { return value >= 0xDC00 && value <= 0xDFFF; }

void appendUtf8(std::string& text, char32_t value) {
    const auto put = [&](char32_t byte) { text += static_cast<char>(byte); };
    if (value < 0x80) {
        put(value);
    } else if (value < 0x800) {
        put(0xC0 | value >> 6);
        put(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
        put(0xE0 | value >> 12);
        put(0x80 | (value >> 6 & 0x3F));
        put(0x80 | (value & 0x3F));
    } else {
        put(0xF0 | value >> 18);
        put(0x80 | (value >> 12 & 0x3F));
        put(0x80 | (value >> 6 & 0x3F));
        put(0x80 | (value & 0x3F));
    }
}

// One sequence read from WTF-8: a code point (a surrogate too) and the bytes it took, or U+FFFD
// for a maximal subpart that is not well-formed.
struct Sequence {
    char32_t value;
    std::size_t length;
    bool wellFormed;
};

Sequence readSequence(std::string_view text, std::size_t at) {
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byteAt(at);
    if (lead < 0x80) return {lead, 1, true};

    std::size_t length = 0;
    char32_t value = 0;
    // The range of the second byte; it excludes overlong forms and values above U+10FFFF. Unlike
    // strict UTF-8, ED may be followed by A0..BF, the surrogates.
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {kReplacementCharacter, 1, false};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i == text.size()) return {kReplacementCharacter, i, false};
        const unsigned next = byteAt(at + i);
        if (next < low || next > high) return {kReplacementCharacter, i, false};
        value = value << 6 | (next & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {value, length, true};
}

// Calls visit(sequence) for each sequence of the text in order; stops early when it returns false.
template <typename Visit>
bool everySequence(std::string_view text, Visit visit) {
    for (std::size_t at = 0; at < text.size();) {
        const Sequence sequence = readSequence(text, at);
        if (!visit(sequence)) return false;
        at += sequence.length;
    }
    return true;
}

}  // namespace

std::string wtf8FromUtf16(std::u16string_view units) {
    std::string text;
    text.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t value = units[i];
        if (isHighSurrogate(value) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            value = 0x10000 + ((value - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        appendUtf8(text, value);
    }
    return text;
}

std::u16string utf16FromWtf8(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    everySequence(text, [&](const Sequence& sequence) {
        if (sequence.value < 0x10000) {
            units += static_cast<char16_t>(sequence.value);
        } else {
            const char32_t offset = sequence.value - 0x10000;
            units += static_cast<char16_t>(0xD800 + (offset >> 10));
            units += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        }
        return true;
    });
    return units;
}

std::size_t utf16LengthOfWtf8(std::string_view text) {
    std::size_t length = 0;
    everySequence(text, [&](const Sequence& sequence) {
        length += sequence.value < 0x10000 ? 1 : 2;
        return true;
    });
    return length;
}

bool isGeneralizedUtf8(std::string_view text) {
    return everySequence(text, [](const Sequence& sequence) { return sequence.wellFormed; });
}

bool isValidUtf8(std::string_view text) {
    return everySequence(text, [](const Sequence& sequence) {
        return sequence.wellFormed && !isSurrogate(sequence.value);
    });
}
