#pragma once

// The registry, kept in one text file in the per-user settings folder
// (ConfigFolder()/registry.txt). Every call reads the file again when another
// process changed it and every change rewrites it atomically under a file
// lock, so processes see each other's writes. Key and value names ignore
// ASCII case; data are stored as the caller gives them.

#include "platform/Errors.h"
#include "platform/Types.h"

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001u)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0xF003F

#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

typedef DWORD REGSAM;
typedef HKEY* PHKEY;

// Results are Windows error codes: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND (no
// such key or value), ERROR_MORE_DATA (buffer too small; the size needed is
// returned), ERROR_NO_MORE_ITEMS (end of an enumeration), ERROR_ACCESS_DENIED
// (the handle lacks the access, or a key with subkeys is deleted),
// ERROR_INVALID_HANDLE, ERROR_KEY_DELETED (the open key was deleted).
LSTATUS RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                       REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                       LPDWORD disposition);
LSTATUS RegOpenKey(HKEY key, LPCSTR subKey, PHKEY result);
LSTATUS RegCreateKey(HKEY key, LPCSTR subKey, PHKEY result);
LSTATUS RegCloseKey(HKEY key);

// A null or empty value name is the key's default value.
LSTATUS RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                        LPDWORD dataSize);
LSTATUS RegSetValueEx(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                      DWORD dataSize);
// Sets the default value of the subkey (created as needed) to a REG_SZ text.
LSTATUS RegSetValue(HKEY key, LPCSTR subKey, DWORD type, LPCSTR data, DWORD dataSize);
LSTATUS RegDeleteValue(HKEY key, LPCSTR valueName);
// The subkey must have no subkeys of its own.
LSTATUS RegDeleteKey(HKEY key, LPCSTR subKey);

// Subkeys come in name order, values in the order they were first set.
// Name sizes count characters and include room for the terminator on entry;
// on success they hold the length without it.
LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                     LPSTR keyClass, LPDWORD classSize, PFILETIME lastWriteTime);
LSTATUS RegEnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved,
                     LPDWORD type, LPBYTE data, LPDWORD dataSize);
