#include "knclientbase05/KNpubText.h"

#include "platform/CodePage.h"

#include <cstring>

namespace {

constexpr size_t kSearchLimit = 1023;

// A lower-cased copy of at most kSearchLimit bytes; trail bytes of
// double-byte characters stay as they are.
void LowerCopy(char* out, const char* text) {
    size_t i = 0;
    while (i < kSearchLimit && text[i] != '\0') {
        BYTE c = static_cast<BYTE>(text[i]);
        if (IsDBCSLeadByte(c) && text[i + 1] != '\0' && i + 1 < kSearchLimit) {
            out[i] = text[i];
            out[i + 1] = text[i + 1];
            i += 2;
            continue;
        }
        out[i++] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : static_cast<char>(c);
    }
    out[i] = '\0';
}

// Puts replacement in place of the patternLength bytes at match.
int ReplaceAt(char* buffer, size_t capacity, char* match, size_t patternLength,
              const char* replacement) {
    size_t length = strlen(buffer);
    size_t replacementLength = strlen(replacement);
    if (length - patternLength + replacementLength + 1 > capacity)
        return 0;
    memmove(match + replacementLength, match + patternLength,
            length - (match - buffer) - patternLength + 1);
    memcpy(match, replacement, replacementLength);
    return 1;
}

typedef char* (*Finder)(char* text, const char* pattern);

char* FindExact(char* text, const char* pattern) {
    return strstr(text, pattern);
}
char* FindNoCase(char* text, const char* pattern) {
    return StrStrNoCase(text, pattern);
}

int ReplaceEach(char* buffer, size_t capacity, const char* pattern, const char* replacement,
                Finder find) {
    if (buffer == nullptr || pattern == nullptr || replacement == nullptr || *pattern == '\0')
        return 0;
    size_t patternLength = strlen(pattern);
    size_t replacementLength = strlen(replacement);
    int replaced = 0;
    char* from = buffer;
    while (char* match = find(from, pattern)) {
        if (!ReplaceAt(buffer, capacity, match, patternLength, replacement))
            return 0;
        replaced = 1;
        from = match + replacementLength;
    }
    return replaced;
}

} // namespace

const char* StrStrNoCase(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr)
        return nullptr;
    char lowerText[kSearchLimit + 1];
    char lowerPattern[kSearchLimit + 1];
    LowerCopy(lowerText, text);
    LowerCopy(lowerPattern, pattern);
    const char* found = strstr(lowerText, lowerPattern);
    return found == nullptr ? nullptr : text + (found - lowerText);
}

int StrReplaceFirst(char* buffer, size_t capacity, const char* pattern, const char* replacement) {
    if (buffer == nullptr || pattern == nullptr || replacement == nullptr || *pattern == '\0')
        return 0;
    char* match = strstr(buffer, pattern);
    return match == nullptr ? 0 : ReplaceAt(buffer, capacity, match, strlen(pattern), replacement);
}

int StrReplaceAll(char* buffer, size_t capacity, const char* pattern, const char* replacement) {
    return ReplaceEach(buffer, capacity, pattern, replacement, FindExact);
}

int StrReplaceAllNoCase(char* buffer, size_t capacity, const char* pattern,
                        const char* replacement) {
    return ReplaceEach(buffer, capacity, pattern, replacement, FindNoCase);
}

int StrReplaceAllNoCaseRepeat(char* buffer, size_t capacity, const char* pattern,
                              const char* replacement) {
    if (replacement == nullptr)
        return 0;
    // A replacement that holds the pattern would be found again on every pass.
    if (StrStrNoCase(replacement, pattern) != nullptr)
        return StrReplaceAllNoCase(buffer, capacity, pattern, replacement);
    int replaced = 0;
    // Each pass shortens the text or keeps its length; the bound stops a
    // same-length replacement that keeps re-forming the pattern.
    for (size_t pass = 0; pass <= capacity; ++pass) {
        if (!StrReplaceAllNoCase(buffer, capacity, pattern, replacement))
            break;
        replaced = 1;
    }
    return replaced;
}

int FindLastSubstring(const char* text, const char* pattern, int start) {
    if (text == nullptr || pattern == nullptr || *text == '\0' || *pattern == '\0')
        return -1;
    int length = static_cast<int>(strlen(text));
    int patternLength = static_cast<int>(strlen(pattern));
    int last = length - patternLength;
    if (start >= 0 && start < last)
        last = start;
    for (int i = last; i >= 0; --i) {
        if (strncmp(text + i, pattern, patternLength) == 0)
            return i;
    }
    return -1;
}

const char* StrFindLastChar(const char* text, int ch) {
    if (text == nullptr)
        return nullptr;
    const char* found = nullptr;
    for (const char* p = text; *p != '\0';) {
        if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != '\0') {
            p += 2;
            continue;
        }
        if (static_cast<BYTE>(*p) == static_cast<BYTE>(ch))
            found = p;
        ++p;
    }
    return ch == '\0' ? text + strlen(text) : found;
}

int StrCompareN(const char* a, const char* b, size_t count) {
    return strncmp(a, b, count);
}

int StrCompareNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int x = static_cast<BYTE>(*a), y = static_cast<BYTE>(*b);
        x += (x >= 'A' && x <= 'Z') ? 32 : 0;
        y += (y >= 'A' && y <= 'Z') ? 32 : 0;
        if (x != y || x == 0)
            return x - y;
    }
}
