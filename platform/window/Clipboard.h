#pragma once

// Movable memory blocks (the handles the clipboard trades in) and the
// clipboard. Text (CF_TEXT, GBK) reaches the desktop's clipboard through the
// display driver (as UTF-8); without a display the clipboard lives in
// the process. A bitmap (CF_BITMAP) stays in the process.

#include "platform/Types.h"

typedef HANDLE HGLOBAL;

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

#define CF_TEXT 1
#define CF_BITMAP 2

// Blocks are always zero-filled; null for a size past 1 GiB.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
// Null on success, the block when it is not one.
HGLOBAL GlobalFree(HGLOBAL block);

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
