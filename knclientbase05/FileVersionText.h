#pragma once

// The text and folder helpers of the file-version reader, which the kit's
// folder routines and the room record share.

#include "platform/Types.h"

#include <cstddef>

// The folder of one game of the platform (registry value "path").
bool GetGameFolderPath(LPCSTR folder, char path[MAX_PATH]);
// Multibyte-aware: a trail byte equal to ch is not a match.
LPCSTR StrFindChar(LPCSTR text, int ch);
// Copies whole characters, at most count bytes, and fills the rest of the
// count with NULs (no terminator when the source fills it).
void StrCopyN(char* destination, LPCSTR source, size_t count);
