#pragma once

// GBK (code page 936) text to and from Unicode. The program's texts are GBK
// bytes; fonts, the clipboard and wide-string interfaces want Unicode. A
// double-byte character is always handled as one unit: it is never split,
// and a broken one becomes a single replacement character.

#include "platform/Types.h"

#include <string>
#include <string_view>

#define CP_ACP 0
#define CP_GBK 936

// True for a byte that starts a double-byte character.
BOOL IsDBCSLeadByte(BYTE byte);

namespace platform {

// The character that replaces a byte sequence with no Unicode form, and a
// code point with no GBK form.
constexpr char32_t kReplacementChar = U'?';

// Number of bytes (1 or 2) of the character starting at text[index]; a lead
// byte without a valid trail byte after it counts alone. 0 at or past the end.
int GbkCharLength(std::string_view text, size_t index);

// Decodes the character starting at text[index] and stores its byte count in
// *bytes (when not null). A sequence with no Unicode form gives
// kReplacementChar.
char32_t DecodeGbkChar(std::string_view text, size_t index, int* bytes = nullptr);

std::u32string GbkToUnicode(std::string_view gbk);
std::string UnicodeToGbk(std::u32string_view text);

// UTF-8 forms, for file names and Linux interfaces.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

} // namespace platform
