#pragma once

// The little-endian fields of .ico files and icon groups: a 6-byte header
// (reserved 0, type 1, count), then 16-byte file entries or 14-byte group
// entries.

#include "platform/Types.h"

#include <cstddef>
#include <string>

namespace ico {

constexpr size_t kHeaderSize = 6;
constexpr size_t kFileEntrySize = 16;
constexpr size_t kGroupEntrySize = 14;

inline WORD ReadU16(const BYTE* p) {
    return WORD(p[0] | p[1] << 8);
}
inline DWORD ReadU32(const BYTE* p) {
    return DWORD(ReadU16(p)) | DWORD(ReadU16(p + 2)) << 16;
}
inline void PutU16(std::string& out, unsigned value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}
inline void PutU32(std::string& out, DWORD value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}
// Whether the bytes start as an icon file or group header: reserved 0, type 1.
inline bool IsIconHeader(const BYTE* p, size_t size) {
    return p && size >= kHeaderSize && ReadU16(p) == 0 && ReadU16(p + 2) == 1;
}

// The 6-byte header of an .ico file of count images.
std::string Header(unsigned count);

// The .ico file with one more image: every old image moves by one entry and
// the new one (its entry's first 12 bytes, then its bytes) goes after all of
// them. An old file of up to 6 bytes is no file yet. False for old bytes
// that are no .ico or whose directory points outside them.
bool AppendImage(const std::string& old, const std::string& entry, const std::string& image,
                 std::string& result);

} // namespace ico
