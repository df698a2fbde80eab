#include "platform/system/Shell.h"

#include "platform/CodePage.h"

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

HINSTANCE AsResult(INT_PTR code) {
    return reinterpret_cast<HINSTANCE>(code);
}

// Starts the opener in a grandchild so that nothing is left to reap: the
// child exits at once and is waited for here.
bool StartOpener(const std::string& address) {
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (fork() == 0) {
            char program[] = "xdg-open";
            char* argv[] = {program, const_cast<char*>(address.c_str()), nullptr};
            execvp(program, argv);
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

} // namespace platform

HINSTANCE ShellExecute(HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR, int showCommand) {
    using platform::AsResult;
    if (operation != nullptr && strcmp(operation, "open") != 0)
        return AsResult(SE_ERR_NOASSOC);
    // A leading '-' would reach the opener as an option.
    if (file == nullptr || file[0] == '\0' || file[0] == '-')
        return AsResult(SE_ERR_FNF);
    if (platform::Hook())
        return AsResult(platform::Hook()(operation, file, showCommand));
    if (!platform::StartOpener(platform::GbkToUtf8(file)))
        return AsResult(SE_ERR_ACCESSDENIED);
    return AsResult(33);
}
