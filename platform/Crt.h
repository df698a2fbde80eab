#pragma once

// The C runtime's own calls the system's code uses beside the standard ones:
// comparisons that ignore case and the thread-safe breakdown of a time.
// Case is folded for ASCII letters only, whatever the locale, so the bytes of
// GBK text compare as they stand.

#include <cstddef>
#include <ctime>

typedef int errno_t;

// What a comparison gives when it was handed no string.
#ifndef _NLSCMPERROR
#define _NLSCMPERROR 2147483647
#endif

// Below, equal to or above zero as a sorts before, with or after b ignoring
// case; _NLSCMPERROR when either is null.
int _stricmp(const char* a, const char* b);
// The same over at most count bytes.
int _strnicmp(const char* a, const char* b, size_t count);

// The local (or universal) time of *when into *parts: 0, or EINVAL when a
// pointer is null or the time cannot be broken down, in which case every
// field of *parts that could be reached is -1.
errno_t localtime_s(struct tm* parts, const time_t* when);
errno_t gmtime_s(struct tm* parts, const time_t* when);
