#include "knclientbase05/KNpubParse.h"

#include "platform/net/Winsock.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsHexPrefix(const char* text) {
    return text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

DWORD HexValue(const char* digits) {
    DWORD value = 0;
    for (; IsHexDigit(*digits); ++digits)
        value = value * 16 + HexDigitValue(*digits);
    return value;
}

bool IsTokenSeparator(char c) {
    return static_cast<BYTE>(c) <= 32 || c == ',';
}

// Skips separators, but never the terminator.
const char* SkipSeparators(const char* text) {
    while (*text != '\0' && IsTokenSeparator(*text))
        ++text;
    return text;
}

const char* SkipBlanksAndCommas(const char* text) {
    while (*text == ' ' || *text == ',')
        ++text;
    return text;
}

// Reads a number where one starts; returns the text behind it.
const char* ReadInt(const char* text, int* out) {
    if (*text != '\0')
        *out = atoi(text);
    if (*text == '-' || *text == '+')
        ++text;
    while (IsDigit(*text))
        ++text;
    return text;
}

constexpr DWORD kScrambleAddend = 0x5A3C96E1;
constexpr DWORD kScrambleMask = 0xC3A5F00F;

DWORD ReverseBytes(DWORD v) {
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}

} // namespace

int ParseNumber(const char* text) {
    if (IsHexPrefix(text))
        return static_cast<int>(HexValue(text + 2));
    return atoi(text);
}

DWORD ParseNumberLoose(const char* text) {
    while (*text != '\0' && !IsDigit(*text))
        ++text;
    if (*text == '\0')
        return 0;
    if (IsHexPrefix(text))
        return HexValue(text + 2);
    DWORD value = 0;
    for (; IsDigit(*text); ++text)
        value = value * 10 + (*text - '0');
    return value;
}

DWORD ParseDotted(const char* text) {
    while (*text != '\0' && *text != ',' && !IsDigit(*text))
        ++text;
    DWORD parts[4] = {};
    for (int i = 0; i < 4 && IsDigit(*text); ++i) {
        DWORD part = 0;
        for (; IsDigit(*text); ++text)
            part = part * 10 + (*text - '0');
        parts[i] = part & 0xFF;
        if (*text != '.')
            break;
        ++text;
    }
    return parts[0] << 24 | parts[1] << 16 | parts[2] << 8 | parts[3];
}

int ParseHostPort(const char* text, tagHOSTPORT* out) {
    while (*text == ' ')
        ++text;
    const char* end = text + strcspn(text, " :");
    if (*end == '\0')
        return 0;
    const char* digits = end;
    while (*digits != '\0' && !IsDigit(*digits))
        ++digits;
    if (*digits == '\0')
        return 0;
    size_t length = static_cast<size_t>(end - text);
    if (length > sizeof out->host - 1)
        length = sizeof out->host - 1;
    memcpy(out->host, text, length);
    out->host[length] = '\0';
    out->address = inet_addr(out->host);
    out->port = static_cast<DWORD>(strtoul(digits, nullptr, 10));
    return 1;
}

const char* NextToken(const char* text, char* output, size_t size) {
    text = SkipSeparators(text);
    size_t copied = 0;
    for (; *text != '\0' && !IsTokenSeparator(*text); ++text) {
        if (copied + 1 < size)
            output[copied++] = *text;
    }
    if (size > 0)
        output[copied] = '\0';
    return SkipSeparators(text);
}

const char* NextInt(const char* text, int* out) {
    if (text == nullptr || *text == '\0')
        return nullptr;
    text = ReadInt(SkipBlanksAndCommas(text), out);
    return SkipBlanksAndCommas(text);
}

const char* NextIntNoSkip(const char* text, int* out) {
    if (text == nullptr)
        return nullptr;
    return ReadInt(SkipBlanksAndCommas(text), out);
}

int SplitText(char separator, const char* text, int maximum, char* const* outputs,
              size_t outputSize) {
    size_t length = strlen(text);
    if (maximum <= 0 || length + 2 >= 4097)
        return 0;
    int count = 0;
    for (const char* part = text;; ++count) {
        const char* end = strchr(part, separator);
        size_t partLength = end != nullptr ? static_cast<size_t>(end - part) : strlen(part);
        if (count < maximum && outputSize > 0) {
            size_t kept = partLength < outputSize ? partLength : outputSize - 1;
            memcpy(outputs[count], part, kept);
            outputs[count][kept] = '\0';
        }
        if (end == nullptr)
            return count + 1;
        part = end + 1;
    }
}

DWORD DoubleToU32(const double* value) {
    if (*value >= 4294967294.5)
        return 0xFFFFFFFF;
    if (!(*value >= 0.5))
        return 0;
    return static_cast<DWORD>(*value + 0.5);
}

int BytesToHex(char* output, const BYTE* bytes, int count) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (int i = 0; i < count; ++i) {
        output[2 * i] = kDigits[bytes[i] >> 4];
        output[2 * i + 1] = kDigits[bytes[i] & 15];
    }
    output[2 * (count > 0 ? count : 0)] = '\0';
    return count;
}

int HexDigitValue(char ch) {
    if (IsDigit(ch))
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return 0;
}

int HexToBytes(BYTE* output, const char* hex, int length) {
    if (length < 0 || length % 2 != 0)
        return 0;
    for (int i = 0; i < length; ++i) {
        if (!IsHexDigit(hex[i]))
            return 0;
    }
    for (int i = 0; i < length; i += 2)
        output[i / 2] = static_cast<BYTE>(HexDigitValue(hex[i]) * 16 + HexDigitValue(hex[i + 1]));
    return 1;
}

int IpToText(DWORD address, char* output) {
    return sprintf(output, "%d.%d.%d.%d", int(address & 0xFF), int((address >> 8) & 0xFF),
                   int((address >> 16) & 0xFF), int(address >> 24));
}

char* IpToTextHost(DWORD address, char* output) {
    sprintf(output, "%d.%d.%d.%d", int(address >> 24), int((address >> 16) & 0xFF),
            int((address >> 8) & 0xFF), int(address & 0xFF));
    return output;
}

DWORD TextToIp(DWORD* out, const char* text) {
    *out = inet_addr(text);
    return *out;
}

DWORD ScrambleNumber(DWORD value) {
    return ReverseBytes(value + kScrambleAddend) ^ kScrambleMask;
}
