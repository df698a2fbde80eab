#pragma once

// Small hashes: the sum of a text's bytes taken as big-endian words.

#include "platform/Types.h"

DWORD HashText32(const char* text);
DWORD HashTextUpper32(const char* text);
DWORD HashBytes32(const BYTE* bytes, int count);
WORD HashText16(const char* text);
WORD HashTextUpper16(const char* text);
