#include "platform/system/SystemVersion.h"

#include "platform/Errors.h"

#include <cstdio>
#include <cstring>
#include <sys/utsname.h>

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const DWORD size = info->dwOSVersionInfoSize;
    memset(info, 0, sizeof *info);
    info->dwOSVersionInfoSize = size;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    utsname system{};
    if (uname(&system) == 0) {
        unsigned major = 0, minor = 0, build = 0;
        sscanf(system.release, "%u.%u.%u", &major, &minor, &build);
        info->dwMajorVersion = major;
        info->dwMinorVersion = minor;
        info->dwBuildNumber = build;
        snprintf(info->szCSDVersion, sizeof info->szCSDVersion, "%s", system.sysname);
    }
    return TRUE;
}
