#pragma once

// Listing a folder's entries that match a name with wildcards, as
// FindFirstFile does. Names are GBK on our side and UTF-8 on disk.

#include "platform/Types.h"
#include "platform/system/FileOps.h"

struct WIN32_FIND_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
};
typedef WIN32_FIND_DATA WIN32_FIND_DATAA;
typedef WIN32_FIND_DATA* LPWIN32_FIND_DATA;

// The pattern's last part may hold '*' (any run of characters) and '?' (one
// character; a double-byte character counts as one), compared ignoring ASCII
// case; "*.*" matches every name, with or without a dot. Entries come sorted
// by name, "." and ".." included. A link is reported as
// FILE_ATTRIBUTE_REPARSE_POINT alone, never as a folder. Names without a GBK
// form show '?' for each character that has none; names longer than
// cFileName holds are left out. INVALID_HANDLE_VALUE (ERROR_FILE_NOT_FOUND
// or ERROR_PATH_NOT_FOUND) when nothing matches.
HANDLE FindFirstFile(LPCSTR pattern, LPWIN32_FIND_DATA found);
// FALSE with ERROR_NO_MORE_FILES after the last entry.
BOOL FindNextFile(HANDLE search, LPWIN32_FIND_DATA found);
BOOL FindClose(HANDLE search);
#define FindFirstFileA FindFirstFile
#define FindNextFileA FindNextFile

namespace platform {

// Whether a GBK name matches a GBK wildcard pattern, by the rules above.
bool MatchesWildcard(const char* pattern, const char* name);

} // namespace platform
