#pragma once

// The operating system's version record, as a program of the platform asks
// for it once at start-up. Here it describes the running Linux kernel: its
// release numbers, the NT platform id (the only family this layer imitates)
// and the system's name as the service-pack text.

#include "platform/Types.h"

#define VER_PLATFORM_WIN32_NT 2

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize; // set by the caller: sizeof(OSVERSIONINFOA)
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFOA) == 148, "the version record is 148 bytes");
typedef OSVERSIONINFOA OSVERSIONINFO;

// FALSE (ERROR_INSUFFICIENT_BUFFER) for a null record or one whose size field
// is not that of the record.
BOOL GetVersionExA(OSVERSIONINFOA* info);
#define GetVersionEx GetVersionExA
