#include "knclientbase05/KNpubBuffer.h"

#include <cstring>

BYTE* PutU32(BYTE* cursor, DWORD value) {
    for (int i = 0; i < 4; ++i)
        cursor[i] = static_cast<BYTE>(value >> (8 * i));
    return cursor + 4;
}

const BYTE* GetU32(const BYTE* cursor, DWORD* out) {
    *out =
        DWORD(cursor[0]) | DWORD(cursor[1]) << 8 | DWORD(cursor[2]) << 16 | DWORD(cursor[3]) << 24;
    return cursor + 4;
}

BYTE* PutString(BYTE* cursor, const char* text) {
    size_t length = strlen(text) + 1;
    memcpy(cursor, text, length);
    return cursor + length;
}

const BYTE* GetString(const BYTE* cursor, char* output, size_t size) {
    size_t length = strlen(reinterpret_cast<const char*>(cursor));
    if (size > 0) {
        size_t kept = length < size ? length : size - 1;
        memcpy(output, cursor, kept);
        output[kept] = '\0';
    }
    return cursor + length + 1;
}

BYTE* PutBytes(BYTE* cursor, const void* bytes, size_t count) {
    memcpy(cursor, bytes, count);
    return cursor + count;
}

const BYTE* GetBytes(const BYTE* cursor, void* output, size_t count) {
    memcpy(output, cursor, count);
    return cursor + count;
}
