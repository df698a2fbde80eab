#include "platform/system/Shell.h"

#include "platform/CodePage.h"
#include "platform/system/FileOps.h"
#include "platform/system/Path.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <strings.h>
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

bool StartsWithNoCase(const char* text, const char* prefix) {
    return strncasecmp(text, prefix, strlen(prefix)) == 0;
}

// "name:" of two or more letters, digits, '+', '-' or '.' that starts with a
// letter: one letter and a colon is a drive.
bool HasScheme(const char* text) {
    if (!isalpha(static_cast<unsigned char>(text[0])))
        return false;
    size_t length = 1;
    while (isalnum(static_cast<unsigned char>(text[length])) ||
           (text[length] != '\0' && strchr("+-.", text[length]) != nullptr))
        ++length;
    return text[length] == ':' && length >= 2;
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

BOOL IsWebAddress(LPCSTR text) {
    if (text == nullptr)
        return FALSE;
    const char* host = platform::StartsWithNoCase(text, "http://")    ? text + 7
                       : platform::StartsWithNoCase(text, "https://") ? text + 8
                                                                      : nullptr;
    if (host == nullptr || *host == '\0' || *host == '/')
        return FALSE;
    for (const char* c = text; *c != '\0'; ++c)
        if (static_cast<unsigned char>(*c) <= ' ' || *c == 0x7F)
            return FALSE;
    return TRUE;
}

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
    // A web page and a mail address go to the opener and the mail handler as
    // text; no other address is handed on, for the desktop would open any
    // (a local file among them). A name without a scheme is a file or
    // folder, mapped like every other.
    const bool isMail = platform::StartsWithNoCase(file, "mailto:");
    const bool isAddress = platform::HasScheme(file);
    if (isAddress && !isMail && !IsWebAddress(file))
        return AsResult(SE_ERR_ACCESSDENIED);
    if (platform::Hook())
        return AsResult(platform::Hook()(operation, file, showCommand));
    const std::string target = isAddress ? platform::GbkToUtf8(file) : NativePath(file);
    if (!platform::StartDetached({isMail ? "xdg-email" : "xdg-open", target}))
        return AsResult(SE_ERR_NOASSOC);
    return AsResult(33);
}
