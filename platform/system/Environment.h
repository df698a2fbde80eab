#pragma once

// Environment variables in command lines and paths.

#include "platform/Types.h"

// Replaces each %NAME% by the variable's value (GBK). Names are looked up as
// written, then ignoring case; USERPROFILE, TEMP and TMP fall back to the
// Linux home and temporary folders. An unknown name stays as written, and so
// does a lone '%'. Returns the characters needed with the closing NUL; the
// result is written only when it fits in size bytes (0 on a null source).
DWORD ExpandEnvironmentStrings(LPCSTR source, LPSTR destination, DWORD size);
#define ExpandEnvironmentStringsA ExpandEnvironmentStrings
