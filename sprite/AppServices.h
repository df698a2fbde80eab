#pragma once
// The few services of the application shell that the theme and the layout
// holder use: the log writer, the program's folder, a file check and the lock.
// They stand here until the application shell exists and takes them over.

#include "platform/CString.h"
#include "platform/system/Thread.h"

// Appends "date time text" as one line to the program's log file; writes
// nothing when the file cannot be opened.
void WriteLog(LPCSTR format, ...) __attribute__((format(printf, 1, 2)));

// The running program's folder, ending in a backslash.
CString GetExeFolder();

// TRUE when the name is found and is not a folder; FALSE for an empty name.
BOOL FileExists(LPCSTR path);

// Tests and tools point the program's folder and log file elsewhere; null or
// empty restores the defaults (the running program's folder, "Pellor.log" in it).
void SetExeFolderOverride(LPCSTR folder);
void SetLogFileOverride(LPCSTR path);

// A critical section; the same thread may enter it again.
class CLock {
public:
    CLock() { InitializeCriticalSection(&m_section); }
    ~CLock() { DeleteCriticalSection(&m_section); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;
    void Lock() { EnterCriticalSection(&m_section); }
    void Unlock() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

// Holds a CLock for a scope.
class CLockGuard {
public:
    explicit CLockGuard(CLock& lock) : m_lock(lock) { m_lock.Lock(); }
    ~CLockGuard() { m_lock.Unlock(); }
    CLockGuard(const CLockGuard&) = delete;
    CLockGuard& operator=(const CLockGuard&) = delete;

private:
    CLock& m_lock;
};
