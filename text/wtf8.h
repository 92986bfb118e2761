// The launcher's text is WTF-8: UTF-8 that also encodes a lone surrogate, so that any sequence of
// UTF-16 code units, well-formed or not, goes through it and back unchanged. These conversions are
// what the Windows seam uses between its UTF-16 calls and the launcher's std::string.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The code units as WTF-8: a surrogate pair becomes one 4-byte sequence, a lone surrogate the
// 3-byte sequence of its own value. Never fails.
std::string wtf8FromUtf16(std::u16string_view units);

// The inverse of wtf8FromUtf16, also reading the 3-byte forms of a high and a low surrogate side
// by side (what joining two WTF-8 strings can give) as those two code units, a valid pair. Bytes
// that belong to no well-formed sequence become U+FFFD, one for each maximal subpart: a lead byte
// with the continuation bytes that could still have completed it, or else a single byte.
std::u16string utf16FromWtf8(std::string_view text);

// The number of code units utf16FromWtf8 gives for the text, without building them.
std::size_t utf16LengthOfWtf8(std::string_view text);

// True when utf16FromWtf8 replaces nothing: every byte belongs to a well-formed sequence, with
// surrogates allowed wherever they stand.
bool isGeneralizedUtf8(std::string_view text);

// True for strict UTF-8: well-formed, shortest forms only, no surrogate, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);
