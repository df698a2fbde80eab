#pragma once

// The shell's "open": hands a document or web address to the desktop's
// opener (xdg-open), started directly with the address as its one argument
// (no command interpreter sees it). Tests install a hook that records the
// call instead of starting anything.

#include "platform/Types.h"

#include <functional>

#define SE_ERR_FNF 2
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31

// Greater than 32 when the opener was started; else an SE_ERR_ code. Only
// "open" (or a null operation) is known; parameters and folder are not used
// by the opener.
HINSTANCE ShellExecute(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                       int showCommand);
#define ShellExecuteA ShellExecute

namespace platform {

// Receives (operation, file, showCommand) in place of starting the opener
// and gives ShellExecute's result; an empty hook restores the opener.
using ShellExecuteHook = std::function<INT_PTR(LPCSTR operation, LPCSTR file, int showCommand)>;
void SetShellExecuteHook(ShellExecuteHook hook);

} // namespace platform
