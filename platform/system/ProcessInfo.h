#pragma once

// What the process can learn about itself.

#include "platform/Types.h"

struct PROCESS_MEMORY_COUNTERS {
    DWORD cb;
    DWORD PageFaultCount;
    SIZE_T PeakWorkingSetSize;
    SIZE_T WorkingSetSize;
    SIZE_T QuotaPeakPagedPoolUsage;
    SIZE_T QuotaPagedPoolUsage;
    SIZE_T QuotaPeakNonPagedPoolUsage;
    SIZE_T QuotaNonPagedPoolUsage;
    SIZE_T PagefileUsage;
    SIZE_T PeakPagefileUsage;
};

// A pseudo handle that stands for the calling process.
HANDLE GetCurrentProcess();
DWORD GetCurrentProcessId();

// The name of the user the process runs as, NUL-terminated. *size holds the
// buffer's size and becomes the bytes written with the NUL; FALSE (with
// ERROR_INSUFFICIENT_BUFFER and the size needed in *size) when it does not fit.
BOOL GetUserNameA(LPSTR buffer, DWORD* size);

// The working set (resident memory) of the calling process, now and at its
// peak; FALSE for another process or a buffer smaller than the record.
BOOL GetProcessMemoryInfo(HANDLE process, PROCESS_MEMORY_COUNTERS* counters, DWORD size);
