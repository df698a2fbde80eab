#pragma once

// Settings of the platform's games in the current user's registry:
// "Software\Quillane\Game\<game>" holds each game's folder, "...\Share" the
// shared folder, and any key under "Software\Quillane\" general values.

#include "platform/CString.h"
#include "platform/Types.h"

// The string value, or the default (null: empty) when it cannot be read.
CString RegGetString(LPCSTR subKey, LPCSTR valueName, LPCSTR defaultValue);
bool GetGameRegValue(LPCSTR game, LPCSTR valueName, void* buffer, DWORD size, DWORD* type);
bool SetGameRegValue(LPCSTR game, LPCSTR valueName, LPCSTR text);

// Under "Software\Quillane\<subKey>". 1 read; 0 when the default (at most 4
// bytes, the rest of the buffer zeroed) was used.
int RegReadValue(LPCSTR subKey, LPCSTR valueName, void* buffer, DWORD size, DWORD defaultValue);
int RegReadValue2(LPCSTR subKey, LPCSTR valueName, void* buffer, DWORD size, DWORD defaultValue);
// The default is a block of size bytes, copied whenever the value cannot be
// read.
int RegReadValueV(LPCSTR subKey, LPCSTR valueName, void* buffer, DWORD size,
                  const void* defaultBytes);
bool RegWriteValue(LPCSTR subKey, LPCSTR valueName, DWORD type, const void* data, DWORD size);

// The platform's shared folder ("Software\Quillane\Game\share" value "Path").
CString GetShareFolder();
