#pragma once

// Ini files with the behaviour of the Windows profile calls: names ignore
// case, values are GBK bytes with blanks and one pair of quotes removed, a
// missing file or key gives the default, and writes keep the rest of the file.
// A file name without a folder lies in the per-user settings folder, as
// Windows keeps such files in its own folder.

#include "platform/Types.h"

// A null section lists the section names, a null key the section's keys, each
// NUL-terminated with one more NUL at the end. A value that does not fit is
// cut (never inside a double-byte character) and the count of bytes copied,
// without the terminator, is returned; a list that does not fit returns
// size - 2.
DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                              DWORD size, LPCSTR fileName);

// The leading decimal number (optional sign) of the value, the default when
// the key is absent or its value starts with no number.
UINT GetPrivateProfileInt(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName);

// The section's "key=value" lines as a NUL-separated list, as above.
DWORD GetPrivateProfileSection(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR fileName);

// A null key deletes the section, a null value deletes the key. Names or
// values that would break the file's lines (line ends; '=' or a leading '['
// or ';' in a key; ']' in a section name) are refused with
// ERROR_INVALID_PARAMETER.
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);
