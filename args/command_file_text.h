// How the bytes of a command file become the launcher's text (WTF-8), before they are tokenized.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/result.h"

// The bytes read in the system's ANSI code page, as WTF-8.
using AnsiToUtf8 = std::function<std::string(std::string_view bytes)>;

enum class CommandFileEncoding {
    utf8,
    utf8WithByteOrderMark,
    utf16LittleEndian,
    utf16BigEndian,
    ansiCodePage,
};

// A short name for people: "UTF-8", "UTF-8 with byte-order mark", "UTF-16LE", "UTF-16BE",
// "ANSI code page".
const char* encodingName(CommandFileEncoding encoding);

struct DecodedCommandFile {
    std::string text;  // WTF-8, without the byte-order mark
    CommandFileEncoding encoding;
};

// The text of a command file, by its first bytes:
// - EF BB BF: UTF-8 after the mark, which must be valid;
// - FF FE or FE FF: UTF-16 little- or big-endian after the mark, code unit by code unit (lone
//   surrogates kept), which must be an even number of bytes;
// - otherwise the bytes as they are when they are valid UTF-8, and else read in the ANSI code page.
// A NUL stays a NUL byte, for the tokenizer to reject. Fails with kCommandFileParseError.
Result<DecodedCommandFile> decodeCommandFile(std::string_view bytes, const AnsiToUtf8& ansi);
