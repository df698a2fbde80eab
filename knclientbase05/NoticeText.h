#pragma once

// Texts taken from frames and notices put together from them, always bounded
// by the bytes that are really there and by the buffer they go into, and
// never cut inside a double-byte character.

#include "platform/Types.h"

#include <cstddef>

// The length of the longest start of text[0..length) that fits limit bytes
// without splitting a double-byte character.
size_t CutAtCharacter(const char* text, size_t length, size_t limit);

// Copies the NUL-terminated text found in the available bytes (all of them
// when no NUL comes first) into out, cut to fit outSize - 1 bytes at a
// character boundary, and terminates it. Returns the length copied.
size_t CopyBoundedText(char* out, size_t outSize, const void* text, size_t available);

// Appends text to the NUL-terminated contents of buffer, cut to fit at a
// character boundary; returns false when anything had to be left out.
bool AppendBoundedText(char* buffer, size_t size, const char* text);

// A notice from a format text of the resources: the first "%s" takes the
// argument, "%%" gives "%", any other "%" stays as it is written (the format
// comes from outside the program, so it is never handed to printf).
void FormatNotice(char* out, size_t outSize, const char* format, const char* argument);

// Names compared as the server's names are: single-byte letters without
// regard to case, double-byte characters byte for byte. At most limit bytes
// of each take part.
bool SameNameNoCase(const char* a, const char* b, size_t limit);
