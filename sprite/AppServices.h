#pragma once
// The application shell's small services, declared here so that every layer
// below the shell (the theme, the layout holder, the table window) can call
// them. Their definitions are the shell's (app/AppServices.cpp, the library
// pellor_app_services, which the sprite engine links).

#include "platform/CString.h"
#include "platform/system/Thread.h"

// Appends "MM/DD/YY HH:MM:SS text" and CR LF as one line to the program's log
// file. A message longer than 1023 bytes is cut; when the file cannot be
// opened nothing is written and nothing is reported. Safe from any thread.
// Always 0.
int WriteLog(LPCSTR format, ...) __attribute__((format(printf, 1, 2)));

// The running program's folder, ending in a backslash.
CString GetExeFolder();

// TRUE when the name is found and is not a folder; FALSE for an empty name.
BOOL FileExists(LPCSTR path);

// The program's message box: the text with OK and Cancel. IDOK (1) for OK or
// Enter, IDCANCEL (2) for Cancel, the close button or Escape.
int ShowMessageBox(CString text);

// Tests and tools point the program's folder and log file elsewhere; null or
// empty restores the defaults (the running program's folder, "Pellor2.log" in it).
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
