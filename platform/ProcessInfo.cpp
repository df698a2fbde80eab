#include "platform/ProcessInfo.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
