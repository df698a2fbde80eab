#pragma once

// Threads, events and critical sections.
//
// Thread and event handles are kernel objects (platform/KernelObject.h): wait on
// them with WaitForSingleObject, release them with CloseHandle. A thread keeps
// running after its handle is closed. There is no TerminateThread: a thread is
// asked to stop (an event) and joined.

#include "platform/system/KernelObject.h"

#include <pthread.h>

typedef DWORD (*LPTHREAD_START_ROUTINE)(LPVOID);

#define CREATE_SUSPENDED 0x00000004
#define STILL_ACTIVE 259

// Re-entrant: the owning thread may enter again; it leaves as often as it entered.
struct CRITICAL_SECTION {
    pthread_mutex_t mutex;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);

// Returns null when the thread cannot be started.
HANDLE CreateThread(void* security, size_t stackSize, LPTHREAD_START_ROUTINE start, LPVOID param,
                    DWORD flags, DWORD* threadId);
// The previous suspend count; a suspended thread starts at the first resume.
DWORD ResumeThread(HANDLE thread);
// STILL_ACTIVE while the thread runs, then its routine's return value.
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);
DWORD GetCurrentThreadId();

// Manual-reset events stay signalled until reset; auto-reset ones release one wait.
HANDLE CreateEvent(void* security, BOOL manualReset, BOOL initialState, LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
