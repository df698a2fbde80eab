#include "platform/system/Shell.h"

#include "platform/CodePage.h"
#include "platform/system/FileOps.h"
#include "platform/system/Path.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

ShellExecuteHook& Hook() {
    static ShellExecuteHook hook;
    return hook;
}

ShellProgramHook& ProgramHook() {
    static ShellProgramHook hook;
    return hook;
}

HINSTANCE AsResult(INT_PTR code) {
    return reinterpret_cast<HINSTANCE>(code);
}

// Starts a program in a grandchild so that nothing is left to reap: the
// child exits as soon as the grandchild has become the program (or failed
// to) and is waited for here. A program without a slash is looked up in
// PATH. False when it could not be started: the grandchild tells the child
// through a pipe that closes by itself when the program starts.
bool StartDetached(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        int told[2];
        if (pipe2(told, O_CLOEXEC) != 0)
            _exit(1);
        const pid_t program = fork();
        if (program == 0) {
            close(told[0]);
            execvp(argv[0], argv.data());
            const char failed = 1;
            (void)!write(told[1], &failed, 1);
            _exit(127);
        }
        close(told[1]);
        char failed = 0;
        ssize_t got;
        while ((got = read(told[0], &failed, 1)) < 0 && errno == EINTR) {
        }
        _exit(program > 0 && got == 0 ? 0 : 1);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

void SetShellExecuteHook(ShellExecuteHook hook) {
    Hook() = std::move(hook);
}

void SetShellProgramHook(ShellProgramHook hook) {
    ProgramHook() = std::move(hook);
}

std::vector<std::string> SplitShellParameters(const char* parameters) {
    std::vector<std::string> arguments;
    if (!parameters)
        return arguments;
    std::string current;
    bool inQuotes = false, started = false;
    for (const char* p = parameters; *p; ++p) {
        if (*p == '"') {
            inQuotes = !inQuotes;
            started = true;
        } else if ((*p == ' ' || *p == '\t') && !inQuotes) {
            if (started)
                arguments.push_back(current);
            current.clear();
            started = false;
        } else {
            current += *p;
            started = true;
        }
    }
    if (started)
        arguments.push_back(current);
    return arguments;
}

} // namespace platform

HINSTANCE ShellExecute(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR,
                       int showCommand) {
    using platform::AsResult;
    if (operation != nullptr && strcmp(operation, "open") != 0)
        return AsResult(SE_ERR_NOASSOC);
    // A leading '-' would reach the opener as an option.
    if (file == nullptr || file[0] == '\0' || file[0] == '-')
        return AsResult(SE_ERR_FNF);
    if (parameters != nullptr && parameters[0] != '\0') {
        const std::vector<std::string> arguments = platform::SplitShellParameters(parameters);
        if (platform::ProgramHook())
            return AsResult(platform::ProgramHook()(file, arguments));
        std::vector<std::string> command{NativePath(file)};
        for (const std::string& argument : arguments)
            command.push_back(platform::GbkToUtf8(argument));
        return AsResult(platform::StartDetached(command) ? 33 : SE_ERR_FNF);
    }
    if (platform::Hook())
        return AsResult(platform::Hook()(operation, file, showCommand));
    // An address goes to the opener as text; anything else names a file or
    // folder, whose name is mapped like every other. A mail address goes to
    // the desktop's mail handler.
    const bool isMail = strncmp(file, "mailto:", 7) == 0;
    const bool isAddress = isMail || strstr(file, "://") != nullptr;
    const std::string target = isAddress ? platform::GbkToUtf8(file) : NativePath(file);
    if (!platform::StartDetached({isMail ? "xdg-email" : "xdg-open", target}))
        return AsResult(SE_ERR_NOASSOC);
    return AsResult(33);
}
