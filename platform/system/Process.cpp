// Programs started with posix_spawn and reaped by a thread of their own.

#include "platform/system/Process.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/system/FileOps.h"
#include "platform/system/KernelObject.h"
#include "platform/system/Path.h"
#include "platform/system/Thread.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A built-in program's process has pid 0.
class ProcessObject : public KernelObject {
public:
    explicit ProcessObject(pid_t pid) : m_pid(pid) {}
    bool IsSignaled() const override { return m_ended; }
    pid_t Pid() const { return m_pid; }
    // Under KernelLock.
    bool Ended() const { return m_ended; }
    DWORD ExitCode() const { return m_exitCode; }
    void End(int status) {
        m_exitCode = WIFEXITED(status) ? DWORD(WEXITSTATUS(status))
                                       : DWORD(128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0));
        m_ended = true;
    }

private:
    pid_t m_pid;
    bool m_ended = false;
    DWORD m_exitCode = STILL_ACTIVE;
};

// The handle of the program's first thread: it ends with the program.
class ProcessThreadObject : public KernelObject {
public:
    explicit ProcessThreadObject(ProcessObject* process) : m_process(process) {
        m_process->AddRef();
    }
    bool IsSignaled() const override { return m_process->IsSignaled(); }

private:
    ~ProcessThreadObject() override { m_process->Release(); }
    ProcessObject* m_process;
};

ProcessObject* AsProcess(HANDLE handle) {
    return dynamic_cast<ProcessObject*>(FromHandle(handle));
}

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool EndsWithExe(const std::string& name) {
    return name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".exe") == 0;
}

std::string WithoutExe(const std::string& name) {
    return EndsWithExe(name) ? name.substr(0, name.size() - 4) : name;
}

std::vector<std::string> EnvironmentFrom(const char* block) {
    std::vector<std::string> entries;
    for (const char* at = block; *at; at += strlen(at) + 1)
        entries.push_back(GbkToUtf8(at));
    return entries;
}

std::string ProgramKey(const std::string& name) {
    const size_t slash = name.find_last_of("\\/");
    std::string key = WithoutExe(slash == std::string::npos ? name : name.substr(slash + 1));
    for (char& c : key)
        c = char(tolower((unsigned char)c));
    return key;
}

std::mutex g_programsLock;
std::map<std::string, BuiltinProgramStart>& Programs() {
    static std::map<std::string, BuiltinProgramStart> programs;
    return programs;
}

BuiltinProgramStart FindProgram(const std::string& name) {
    std::lock_guard lock(g_programsLock);
    auto it = Programs().find(ProgramKey(name));
    return it == Programs().end() ? nullptr : it->second;
}

void FillInfo(LPPROCESS_INFORMATION info, ProcessObject* process, pid_t pid) {
    if (info) {
        info->hProcess = ToHandle(process);
        info->hThread = ToHandle(new ProcessThreadObject(process));
        info->dwProcessId = DWORD(pid);
        info->dwThreadId = DWORD(pid);
    } else {
        process->Release();
    }
}

} // namespace

void RegisterBuiltinProgram(const char* fileName, BuiltinProgramStart start) {
    std::lock_guard lock(g_programsLock);
    Programs()[ProgramKey(fileName)] = start;
}

bool UnregisterBuiltinProgram(const char* fileName) {
    std::lock_guard lock(g_programsLock);
    return Programs().erase(ProgramKey(fileName)) > 0;
}

std::vector<std::string> SplitCommandLine(const char* commandLine) {
    std::vector<std::string> args;
    if (!commandLine)
        return args;
    const char* at = commandLine;
    while (IsBlank(*at))
        ++at;
    if (!*at)
        return args;
    std::string program;
    if (*at == '"') {
        for (++at; *at && *at != '"'; ++at)
            program.push_back(*at);
        if (*at == '"')
            ++at;
    } else {
        for (; *at && !IsBlank(*at); ++at)
            program.push_back(*at);
    }
    args.push_back(program);
    for (;;) {
        while (IsBlank(*at))
            ++at;
        if (!*at)
            break;
        std::string arg;
        bool quoted = false;
        while (*at && (quoted || !IsBlank(*at))) {
            size_t backslashes = 0;
            while (*at == '\\') {
                ++backslashes;
                ++at;
            }
            if (*at == '"') {
                arg.append(backslashes / 2, '\\');
                if (backslashes % 2) {
                    arg.push_back('"');
                } else if (quoted && at[1] == '"') {
                    arg.push_back('"');
                    ++at;
                } else {
                    quoted = !quoted;
                }
                ++at;
            } else {
                arg.append(backslashes, '\\');
                if (*at && (quoted || !IsBlank(*at)))
                    arg.push_back(*at++);
            }
        }
        args.push_back(arg);
    }
    return args;
}

} // namespace platform

using namespace platform;

BOOL CreateProcess(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES,
                   LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID environment, LPCSTR currentDirectory,
                   LPSTARTUPINFO, LPPROCESS_INFORMATION info) {
    std::vector<std::string> args = SplitCommandLine(commandLine);
    std::string program =
        applicationName ? std::string(applicationName) : (args.empty() ? std::string() : args[0]);
    if (program.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (args.empty())
        args.push_back(program);
    if (BuiltinProgramStart start = FindProgram(program)) {
        if (!start(args, currentDirectory ? std::string(currentDirectory) : std::string())) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        }
        FillInfo(info, new ProcessObject(0), 0);
        return TRUE;
    }

    // A name with a folder is a file; a bare one is looked up on the PATH.
    bool hasFolder = LastPathSeparator(program) != std::string::npos;
    std::string file;
    if (hasFolder) {
        file = NativePath(program.c_str());
        if (!Exists(file) && Exists(WithoutExe(file)))
            file = WithoutExe(file);
        if (!Exists(file)) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return FALSE;
        }
    } else {
        file = GbkToUtf8(program);
    }

    std::vector<std::string> utf8Args;
    for (const std::string& arg : args)
        utf8Args.push_back(GbkToUtf8(arg));
    std::vector<char*> argv;
    for (std::string& arg : utf8Args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> envEntries;
    std::vector<char*> envp;
    if (environment) {
        envEntries = EnvironmentFrom(static_cast<const char*>(environment));
        for (std::string& entry : envEntries)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    std::string folder = currentDirectory ? NativePath(currentDirectory) : std::string();
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    char** env = environment ? envp.data() : environ;
    pid_t pid = 0;
    int error = hasFolder ? posix_spawn(&pid, file.c_str(), &actions, nullptr, argv.data(), env)
                          : posix_spawnp(&pid, file.c_str(), &actions, nullptr, argv.data(), env);
    if (error == ENOENT && !hasFolder && EndsWithExe(file)) {
        file = WithoutExe(file);
        error = posix_spawnp(&pid, file.c_str(), &actions, nullptr, argv.data(), env);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        SetLastError(ErrorFromErrno(error));
        return FALSE;
    }

    auto* process = new ProcessObject(pid);
    process->AddRef(); // the reaper's reference
    std::thread([process] {
        int status = 0;
        while (waitpid(process->Pid(), &status, 0) < 0 && errno == EINTR) {
        }
        {
            std::lock_guard lock(KernelLock());
            process->End(status);
        }
        NotifyKernelWaiters();
        process->Release();
    }).detach();

    FillInfo(info, process, pid);
    return TRUE;
}

DWORD WaitForInputIdle(HANDLE handle, DWORD) {
    ProcessObject* process = AsProcess(handle);
    if (!process)
        return WAIT_FAILED;
    std::lock_guard lock(KernelLock());
    return process->Ended() ? WAIT_FAILED : 0;
}

BOOL GetExitCodeProcess(HANDLE handle, LPDWORD exitCode) {
    ProcessObject* process = AsProcess(handle);
    if (!process || !exitCode)
        return FALSE;
    std::lock_guard lock(KernelLock());
    *exitCode = process->ExitCode();
    return TRUE;
}

BOOL TerminateProcess(HANDLE handle, UINT) {
    ProcessObject* process = AsProcess(handle);
    if (!process)
        return FALSE;
    {
        std::lock_guard lock(KernelLock());
        if (process->Ended())
            return FALSE;
        if (process->Pid() != 0)
            return kill(process->Pid(), SIGTERM) == 0;
        process->End(0); // built in: nothing to signal
    }
    NotifyKernelWaiters();
    return TRUE;
}
