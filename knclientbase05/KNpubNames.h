#pragma once

// Checks of user names and short texts typed in GBK. A byte with its top bit
// set starts a double-byte character together with the byte after it.

#include "platform/Types.h"

// 0 invalid, 1 letters and signs only, 2 GB2312 characters only, 3 with GBK
// extension characters, 4 with an extension character whose trail byte is an
// ASCII letter.
int ValidateUserName(const char* name);

int IsSafeShortText(const char* text);
// Makes a typed text safe in place: control bytes become blanks, the text is
// cut before the character that reaches maximum bytes (never inside a
// double-byte character). 0 for a text with "'" or shorter than minimum.
int CleanText(char* text, int minimum, int maximum);
int IsPlainAsciiShort(const char* text);
int IsPlainOrDbcs(const char* text);
// Stops at the terminator even after a lone lead byte.
int DbcsByteLength(const char* text);
int ReplaceQuotes(char* text);
int ReplaceTabs(char* text);
int IsHighBitSet(int value);
