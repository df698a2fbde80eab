// The bitmap clipboard.

#include "knclientUI05/KnClientPublic.h"

HBITMAP GetBitmapFromClipboard() {
    if (!OpenClipboard(nullptr))
        return nullptr;
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    CloseClipboard();
    return bitmap;
}

BOOL CopyBitmapToClipboard(HBITMAP bitmap) {
    if (!OpenClipboard(nullptr))
        return FALSE;
    BOOL set = EmptyClipboard() && bitmap && SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    CloseClipboard();
    return set;
}
