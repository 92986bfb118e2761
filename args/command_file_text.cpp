#include "args/command_file_text.h"

#include "args/command_files.h"
#include "text/wtf8.h"

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

// The bytes after a UTF-16 byte-order mark, as WTF-8.
Result<DecodedCommandFile> decodeUtf16(std::string_view bytes, CommandFileEncoding encoding) {
    if (bytes.size() % 2 != 0) return Failure{kCommandFileParseError};
    const bool bigEndian = encoding == CommandFileEncoding::utf16BigEndian;
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return DecodedCommandFile{wtf8FromUtf16(units), encoding};
}

}  // namespace

const char* encodingName(CommandFileEncoding encoding) {
    switch (encoding) {
        case CommandFileEncoding::utf8:
            return "UTF-8";
        case CommandFileEncoding::utf8WithByteOrderMark:
            return "UTF-8 with byte-order mark";
        case CommandFileEncoding::utf16LittleEndian:
            return "UTF-16LE";
        case CommandFileEncoding::utf16BigEndian:
            return "UTF-16BE";
        case CommandFileEncoding::ansiCodePage:
            return "ANSI code page";
    }
    return "unknown encoding";
}

Result<DecodedCommandFile> decodeCommandFile(std::string_view bytes, const AnsiToUtf8& ansi) {
    if (bytes.starts_with(kUtf8ByteOrderMark)) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
        if (!isValidUtf8(bytes)) return Failure{kCommandFileParseError};
        return DecodedCommandFile{std::string(bytes), CommandFileEncoding::utf8WithByteOrderMark};
    }
    if (bytes.starts_with(kUtf16LittleEndianMark)) {
        return decodeUtf16(bytes.substr(kUtf16LittleEndianMark.size()),
                           CommandFileEncoding::utf16LittleEndian);
    }
    if (bytes.starts_with(kUtf16BigEndianMark)) {
        return decodeUtf16(bytes.substr(kUtf16BigEndianMark.size()),
                           CommandFileEncoding::utf16BigEndian);
    }
    if (isValidUtf8(bytes))
        return DecodedCommandFile{std::string(bytes), CommandFileEncoding::utf8};
    return DecodedCommandFile{ansi(bytes), CommandFileEncoding::ansiCodePage};
}
