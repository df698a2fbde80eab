#pragma once

// Starting another program (the music player stand-in) and waiting for it.
// The command line is split into arguments by the Windows rules and handed
// to the program directly: no command interpreter ever reads it.

#include "platform/Types.h"

#include <string>
#include <vector>

struct STARTUPINFO {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
typedef STARTUPINFO STARTUPINFOA;
typedef STARTUPINFO* LPSTARTUPINFO;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
typedef PROCESS_INFORMATION* LPPROCESS_INFORMATION;

#define CREATE_NEW_CONSOLE 0x00000010
#define CREATE_NO_WINDOW 0x08000000
#define NORMAL_PRIORITY_CLASS 0x00000020

// The program is the application name when given, else the command line's
// first argument; a name that does not exist as written is tried without a
// ".exe" ending, and a name without a folder is looked up on the PATH.
// Arguments and names are GBK and reach the program as UTF-8. The
// environment block (NAME=value strings ending in an empty one) replaces
// ours when given. Creation flags, handle inheritance and the start-up record
// are accepted and not used. FALSE with the last error set when the program
// cannot be started; the record is then untouched. Both handles of the
// record are closed with CloseHandle and signalled when the program ends.
BOOL CreateProcess(LPCSTR applicationName, LPSTR commandLine,
                   LPSECURITY_ATTRIBUTES processAttributes, LPSECURITY_ATTRIBUTES threadAttributes,
                   BOOL inheritHandles, DWORD creationFlags, LPVOID environment,
                   LPCSTR currentDirectory, LPSTARTUPINFO startupInfo,
                   LPPROCESS_INFORMATION processInformation);
#define CreateProcessA CreateProcess

// A started program counts as idle at once (Linux programs have no input
// queue to watch): 0 while it runs, WAIT_FAILED when it has ended or the
// handle is no process.
DWORD WaitForInputIdle(HANDLE process, DWORD timeoutMs);
// STILL_ACTIVE while it runs, then its exit status (128 + signal when killed).
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
BOOL TerminateProcess(HANDLE process, UINT exitCode);

namespace platform {

// Programs built into this process (the music player stand-in): CreateProcess
// of a program whose file name matches one (any folder, any case, with or
// without ".exe", no file needed) calls its start on the calling thread with
// the arguments and the working folder instead of starting a Linux program.
// Start returns false when the program cannot run (CreateProcess then fails).
// Its process counts as running and idle until TerminateProcess.
typedef bool (*BuiltinProgramStart)(const std::vector<std::string>& args,
                                    const std::string& folder);
void RegisterBuiltinProgram(const char* fileName, BuiltinProgramStart start);
bool UnregisterBuiltinProgram(const char* fileName);

// The arguments of a command line by the Windows rules: blanks separate them
// outside double quotes; 2n backslashes before a quote give n and the quote
// opens or closes, 2n+1 give n and a literal quote; "" inside quotes is a
// literal quote. The first argument (the program) ends at the next blank,
// or at its closing quote, and keeps its backslashes as written.
std::vector<std::string> SplitCommandLine(const char* commandLine);

} // namespace platform
