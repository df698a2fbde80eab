#pragma once

// The clipboard. Text (CF_TEXT, GBK) reaches the desktop's clipboard through
// the display driver (as UTF-8); without a display the clipboard lives in
// the process. A bitmap (CF_BITMAP) stays in the process.

#include "platform/Types.h"
#include "platform/system/Memory.h"

#define CF_TEXT 1
#define CF_BITMAP 2

// One opener at a time (any window, or none).
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Needs the clipboard open; frees what it held.
BOOL EmptyClipboard();
// Needs the clipboard open. The clipboard owns the data from now on (a memory
// block for CF_TEXT, an HBITMAP for CF_BITMAP). Returns it, null on failure.
HANDLE SetClipboardData(UINT format, HANDLE data);
// Needs the clipboard open; the data stays the clipboard's.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);

namespace platform {

// The display driver changed: text seen on the old desktop clipboard is forgotten.
void ForgetDesktopClipboardText();

} // namespace platform
