#pragma once

// The shell's "open": hands a document or web address to the desktop's
// opener (xdg-open), and a "mailto:" address to its mail handler (xdg-email),
// started directly with the address as its one argument (no command
// interpreter sees it). With parameters the file is a program,
// started directly with them as its arguments: split at blanks, a run in
// double quotes being one argument (no command interpreter sees these
// either). Tests install hooks that record the calls instead of starting
// anything.

#include "platform/Types.h"

#include <functional>
#include <string>
#include <vector>

#define SE_ERR_FNF 2
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31

// TRUE for a web page's address: "http://" or "https://" (in any case), then
// a host, with no blank or control byte anywhere. The one check of what may be
// handed to the desktop's browser.
BOOL IsWebAddress(LPCSTR text);

// Greater than 32 when the opener or the program was started; else an SE_ERR_
// code (SE_ERR_NOASSOC when the desktop has no opener or mail handler). Only "open" (or a null
// operation) is known; the folder is not used. An address ("scheme:...") is
// opened only when it is a web page (IsWebAddress) or a mail address; any
// other (file:, javascript:, ...) is refused with SE_ERR_ACCESSDENIED. A name
// without a scheme is a file or folder (a drive letter is no scheme).
HINSTANCE ShellExecute(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                       int showCommand);
#define ShellExecuteA ShellExecute

namespace platform {

// Receives (operation, file, showCommand) in place of starting the opener
// and gives ShellExecute's result; an empty hook restores the opener.
using ShellExecuteHook = std::function<INT_PTR(LPCSTR operation, LPCSTR file, int showCommand)>;
void SetShellExecuteHook(ShellExecuteHook hook);

// The arguments a parameter text gives a program.
std::vector<std::string> SplitShellParameters(const char* parameters);
// Receives (program, arguments) in place of starting a program with
// parameters; an empty hook restores starting it.
using ShellProgramHook =
    std::function<INT_PTR(LPCSTR program, const std::vector<std::string>& arguments)>;
void SetShellProgramHook(ShellProgramHook hook);

} // namespace platform
