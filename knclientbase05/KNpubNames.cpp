#include "knclientbase05/KNpubNames.h"

#include <cstring>

namespace {

enum NameLevel { kInvalid = 0, kLetters = 1, kGb2312 = 2, kExtension = 3, kExtensionLetter = 4 };

bool IsNameSign(BYTE c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           strchr("_~*@!%#^.-", c) != nullptr;
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// The level of one double-byte character, kInvalid when it is not accepted.
NameLevel DoubleByteLevel(BYTE lead, BYTE trail) {
    int code = lead << 8 | trail;
    if (InRange(lead, 0xA1, 0xA3) && InRange(trail, 0xA1, 0xFE)) {
        bool excluded = code == 0xA1A1 || InRange(code, 0xA2AB, 0xA2B0) ||
                        InRange(code, 0xA2E3, 0xA2E4) || InRange(code, 0xA2EF, 0xA2F0) ||
                        InRange(code, 0xA2FD, 0xA2FE);
        return excluded ? kInvalid : kGb2312;
    }
    if (InRange(lead, 0xB0, 0xF7) && InRange(trail, 0xA1, 0xFE))
        return InRange(code, 0xD7FA, 0xD7FE) ? kInvalid : kGb2312;
    bool extension = (InRange(lead, 0x81, 0xA0) && InRange(trail, 0x40, 0xFE)) ||
                     (InRange(lead, 0xAA, 0xFE) && InRange(trail, 0x40, 0xA0));
    if (!extension || trail == 0x7F)
        return kInvalid;
    return InRange(trail, 65, 122) ? kExtensionLetter : kExtension;
}

bool IsTop(char c) {
    return (static_cast<BYTE>(c) & 0x80) != 0;
}

} // namespace

int ValidateUserName(const char* name) {
    const BYTE* p = reinterpret_cast<const BYTE*>(name);
    int count = 0;
    int level = kInvalid;
    bool single = false;
    bool dual = false;
    while (*p != 0) {
        if (*p < 128) {
            if (dual || !IsNameSign(*p) || ++count >= 20)
                return kInvalid;
            single = true;
            level = kLetters;
            ++p;
            continue;
        }
        NameLevel character = p[1] != 0 ? DoubleByteLevel(p[0], p[1]) : kInvalid;
        count += 2;
        if (single || character == kInvalid || count >= 13)
            return kInvalid;
        dual = true;
        if (character > level)
            level = character;
        p += 2;
    }
    return count < 2 ? kInvalid : level;
}

int IsSafeShortText(const char* text) {
    int length = 0;
    for (const char* p = text; *p != '\0'; ++p, ++length) {
        if (length >= 19 || static_cast<BYTE>(*p) < 32 || *p == '\'')
            return 0;
        if (IsTop(*p)) {
            if (p[1] == '\0')
                return 0;
            ++p;
            ++length;
        }
    }
    return length <= 19 ? 1 : 0;
}

int CleanText(char* text, int minimum, int maximum) {
    int count = 0;
    for (char* p = text; *p != '\0';) {
        if (static_cast<BYTE>(*p) < 32)
            *p = ' ';
        if (*p == '\'')
            return 0;
        int length = 1;
        if (IsTop(*p)) {
            if (p[1] == '\0') {
                *p = '\0';
                break;
            }
            length = 2;
        }
        count += length;
        if (count >= maximum) {
            *p = '\0';
            break;
        }
        p += length;
    }
    return count >= minimum ? 1 : 0;
}

int IsPlainAsciiShort(const char* text) {
    int length = 0;
    for (const BYTE* p = reinterpret_cast<const BYTE*>(text); *p != 0; ++p, ++length) {
        if (*p < 32 || *p > 127 || *p == '\'')
            return 0;
    }
    return length < 16 ? 1 : 0;
}

int IsPlainOrDbcs(const char* text) {
    return IsTop(text[0]) ? 1 : IsPlainAsciiShort(text);
}

int DbcsByteLength(const char* text) {
    int length = 0;
    while (text[length] != '\0')
        length += (IsTop(text[length]) && text[length + 1] != '\0') ? 2 : 1;
    return length;
}

namespace {

int ReplaceByte(char* text, char from) {
    int replaced = 0;
    for (char* p = text; *p != '\0'; ++p) {
        if (*p == from) {
            *p = ' ';
            replaced = 1;
        }
    }
    return replaced;
}

} // namespace

int ReplaceQuotes(char* text) {
    return ReplaceByte(text, '\'');
}

int ReplaceTabs(char* text) {
    return ReplaceByte(text, '\t');
}

int IsHighBitSet(int value) {
    return (value & 128) == 128;
}
