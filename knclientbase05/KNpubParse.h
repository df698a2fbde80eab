#pragma once

// Numbers, tokens, hexadecimal and IPv4 addresses out of texts.

#include "platform/Types.h"

#include <cstddef>

struct tagHOSTPORT {
    char host[40]; // at most 39 bytes
    DWORD address; // network order; INADDR_NONE when host is not a dotted address
    DWORD port;
};

// "0x1F" as hexadecimal, else decimal ("12abc" gives 12).
int ParseNumber(const char* text);
// From the first decimal digit on; 0 when there is none.
DWORD ParseNumberLoose(const char* text);
// "a.b.c.d" (from the first digit, before any ",") as a<<24 | b<<16 | c<<8 | d.
DWORD ParseDotted(const char* text);
// "host:port" or "host port"; 1 when both parts were found.
int ParseHostPort(const char* text, tagHOSTPORT* out);

// Copies the next token (separators are bytes 0-32 and ",") into output, cut
// to size - 1 bytes, and returns the text behind the separators after it.
const char* NextToken(const char* text, char* output, size_t size);
// The next decimal number; null for a null or empty text.
const char* NextInt(const char* text, int* out);
// As NextInt, but stops at the separator behind the number.
const char* NextIntNoSkip(const char* text, int* out);
// Cuts text at each separator into the outputs (each of outputSize bytes,
// parts cut to fit) while fewer than maximum are filled; returns the count of
// all parts, 0 for a text of 4095 bytes or more.
int SplitText(char separator, const char* text, int maximum, char* const* outputs,
              size_t outputSize);

DWORD DoubleToU32(const double* value);

// Writes two upper-case digits per byte and a terminator; returns count.
int BytesToHex(char* output, const BYTE* bytes, int count);
int HexDigitValue(char ch);
// 1 when length is even and every character a hexadecimal digit.
int HexToBytes(BYTE* output, const char* hex, int length);

// "%d.%d.%d.%d" from the lowest byte up (a network-order address as stored).
int IpToText(DWORD address, char* output);
// "%d.%d.%d.%d" from the highest byte down.
char* IpToTextHost(DWORD address, char* output);
DWORD TextToIp(DWORD* out, const char* text);

// A reversible scrambling of a 32-bit number.
DWORD ScrambleNumber(DWORD value);
