#pragma once

// Text search and replacement over narrow GBK texts. The replacements work in
// place in a buffer of the given capacity (bytes, terminator included): they
// return 0 and leave the buffer unchanged when the grown text would not fit,
// and go on searching behind each inserted text, so a replacement that holds
// the pattern is never replaced again.

#include "platform/Types.h"

#include <cstddef>

// Case-insensitive search over at most the first 1023 bytes of each text;
// only single-byte letters fold. A pointer into text, or null.
const char* StrStrNoCase(const char* text, const char* pattern);
inline char* StrStrNoCase(char* text, const char* pattern) {
    return const_cast<char*>(StrStrNoCase(static_cast<const char*>(text), pattern));
}

int StrReplaceFirst(char* buffer, size_t capacity, const char* pattern, const char* replacement);
int StrReplaceAll(char* buffer, size_t capacity, const char* pattern, const char* replacement);
int StrReplaceAllNoCase(char* buffer, size_t capacity, const char* pattern,
                        const char* replacement);
// Passes of StrReplaceAllNoCase until one replaces nothing, for patterns that
// a replacement can form again out of its neighbours ("//" to "/").
int StrReplaceAllNoCaseRepeat(char* buffer, size_t capacity, const char* pattern,
                              const char* replacement);

// The last index at or before start (-1: the end) where pattern occurs; -1
// when none, or when either text is empty.
int FindLastSubstring(const char* text, const char* pattern, int start);

// Multibyte-aware: a trail byte equal to ch is not a match.
const char* StrFindLastChar(const char* text, int ch);
int StrCompareN(const char* a, const char* b, size_t count);
int StrCompareNoCase(const char* a, const char* b);
