#include "platform/system/Shell.h"

#include "platform/CodePage.h"
#include "platform/system/FileOps.h"
#include "platform/system/Path.h"

#include <cerrno>
#include <cstring>
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
// child exits at once and is waited for here. A program without a slash is
// looked up in PATH.
bool StartDetached(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& part : command)
        argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (fork() == 0) {
            execvp(argv[0], argv.data());
            _exit(127);
        }
        _exit(0);
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
    // folder, whose name is mapped like every other.
    const bool isAddress = strstr(file, "://") != nullptr || strncmp(file, "mailto:", 7) == 0;
    const std::string target = isAddress ? platform::GbkToUtf8(file) : NativePath(file);
    if (!platform::StartDetached({"xdg-open", target}))
        return AsResult(SE_ERR_ACCESSDENIED);
    return AsResult(33);
}
