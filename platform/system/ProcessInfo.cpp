#include "platform/system/ProcessInfo.h"

#include "platform/Errors.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

// The pseudo handle's value, as Windows gives it.
HANDLE const kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

// A "Name:   1234 kB" line of /proc/self/status, in bytes.
SIZE_T StatusBytes(const std::string& status, const char* name) {
    size_t at = status.find(name);
    if (at == std::string::npos)
        return 0;
    return static_cast<SIZE_T>(strtoull(status.c_str() + at + strlen(name), nullptr, 10)) * 1024;
}

} // namespace

HANDLE GetCurrentProcess() {
    return kCurrentProcess;
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

BOOL GetUserNameA(LPSTR buffer, DWORD* size) {
    if (size == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    passwd entry;
    passwd* found = nullptr;
    char scratch[1024];
    if (getpwuid_r(geteuid(), &entry, scratch, sizeof scratch, &found) != 0 || found == nullptr) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    const DWORD needed = static_cast<DWORD>(strlen(found->pw_name)) + 1;
    if (buffer == nullptr || *size < needed) {
        *size = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    memcpy(buffer, found->pw_name, needed);
    *size = needed;
    return TRUE;
}

BOOL GetProcessMemoryInfo(HANDLE process, PROCESS_MEMORY_COUNTERS* counters, DWORD size) {
    if (process != kCurrentProcess || counters == nullptr || size < sizeof(*counters))
        return FALSE;
    FILE* file = fopen("/proc/self/status", "r");
    if (file == nullptr)
        return FALSE;
    std::string status;
    char chunk[512];
    while (size_t count = fread(chunk, 1, sizeof chunk, file))
        status.append(chunk, count);
    fclose(file);
    memset(counters, 0, sizeof(*counters));
    counters->cb = sizeof(*counters);
    counters->WorkingSetSize = StatusBytes(status, "VmRSS:");
    counters->PeakWorkingSetSize = StatusBytes(status, "VmHWM:");
    return counters->WorkingSetSize != 0;
}
