#pragma once

// File versions of the built-in modules, read the Windows way: ask the size
// of the version block, copy the block, query items of it. The block's inside
// is this layer's own; only VerQueryValue reads it. Queries understood:
//   "\"                              the fixed information (VS_FIXEDFILEINFO)
//   "\VarFileInfo\Translation"       language (low word) and code page (high word)
//   "\StringFileInfo\080403a8\Item"  an item of the string table (language and
//                                     code page in hex, as in the translation)

#include "platform/Types.h"

#define VS_FFI_SIGNATURE 0xFEEF04BDu
#define VS_FFI_STRUCVERSION 0x00010000u
#define VFT_APP 1
#define VFT_DLL 2

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS; // major << 16 | minor
    DWORD dwFileVersionLS; // build << 16 | revision
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "the fixed information is 52 bytes");

// 0 (last error ERROR_RESOURCE_TYPE_NOT_FOUND) for a file without a version.
DWORD GetFileVersionInfoSize(LPCSTR fileName, LPDWORD handle);
// Copies at most `size` bytes of the block.
BOOL GetFileVersionInfo(LPCSTR fileName, DWORD handle, DWORD size, LPVOID data);
BOOL VerQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, UINT* length);

#define GetFileVersionInfoSizeA GetFileVersionInfoSize
#define GetFileVersionInfoA GetFileVersionInfo
#define VerQueryValueA VerQueryValue
