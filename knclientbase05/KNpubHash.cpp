#include "knclientbase05/KNpubHash.h"

#include <cstring>

namespace {

BYTE Upper(BYTE c) {
    return (c >= 'a' && c <= 'z') ? static_cast<BYTE>(c - 32) : c;
}

// Sums the bytes in groups of wordBytes as big-endian words.
template <typename Word> Word SumWords(const BYTE* bytes, size_t count, bool upper) {
    constexpr size_t wordBytes = sizeof(Word);
    Word sum = 0;
    Word acc = 0;
    for (size_t i = 0; i < count; ++i) {
        acc = static_cast<Word>(acc * 256 + (upper ? Upper(bytes[i]) : bytes[i]));
        if (i % wordBytes == wordBytes - 1) {
            sum = static_cast<Word>(sum + acc);
            acc = 0;
        }
    }
    return static_cast<Word>(sum + acc);
}

const BYTE* Bytes(const char* text) {
    return reinterpret_cast<const BYTE*>(text);
}

} // namespace

DWORD HashText32(const char* text) {
    return SumWords<DWORD>(Bytes(text), strlen(text), false);
}

DWORD HashTextUpper32(const char* text) {
    return SumWords<DWORD>(Bytes(text), strlen(text), true);
}

DWORD HashBytes32(const BYTE* bytes, int count) {
    return SumWords<DWORD>(bytes, count > 0 ? count : 0, false);
}

WORD HashText16(const char* text) {
    return SumWords<WORD>(Bytes(text), strlen(text), false);
}

WORD HashTextUpper16(const char* text) {
    return SumWords<WORD>(Bytes(text), strlen(text), true);
}
