#pragma once

// Typed values of ini files; the ini path comes last, as in the profile calls.

#include "knclientbase05/KNpubParse.h"
#include "platform/Types.h"

DWORD IniGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                   DWORD size, const char* iniPath);
UINT IniGetInt(const char* section, const char* key, int defaultValue, const char* iniPath);
BOOL IniWriteString(const char* section, const char* key, const char* value, const char* iniPath);

LONGLONG IniGetInt64(const char* section, const char* key, LONGLONG defaultValue,
                     const char* iniPath);
DWORD IniGetNumber(const char* section, const char* key, DWORD defaultValue, const char* iniPath);
DWORD IniGetIp(const char* section, const char* key, DWORD defaultValue, const char* iniPath);
int IniGetHostPort(const char* section, const char* key, tagHOSTPORT* out, const char* iniPath);

BOOL IniWriteInt(const char* section, const char* key, int value, const char* iniPath);
BOOL IniWriteInt64(const char* section, const char* key, LONGLONG value, const char* iniPath);
