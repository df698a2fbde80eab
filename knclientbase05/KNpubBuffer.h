#pragma once

// Cursors that pack records into byte buffers and read them back; each
// returns the cursor moved past what it handled. Numbers are little-endian.

#include "platform/Types.h"

#include <cstddef>

BYTE* PutU32(BYTE* cursor, DWORD value);
const BYTE* GetU32(const BYTE* cursor, DWORD* out);
// The text with its terminator.
BYTE* PutString(BYTE* cursor, const char* text);
// Reads up to and with the terminator; the output is cut to size - 1 bytes.
const BYTE* GetString(const BYTE* cursor, char* output, size_t size);
BYTE* PutBytes(BYTE* cursor, const void* bytes, size_t count);
const BYTE* GetBytes(const BYTE* cursor, void* output, size_t count);
