// The owner-drawn dialog's frame loader, over the kit's GIF-or-BMP reader.

#include "knclientUI05/KnClientPublic.h"
#include "knclubpub/KNOwnerDialog.h"

BOOL CKNOwnerDialog::LoadFrameBitmaps(UINT nFirstId, LPCTSTR lpType, HMODULE hModule) {
    FreeFrameBitmaps();
    // Without a module the reader would take the number for a file path.
    if (!hModule) {
        return TRUE;
    }
    for (int k = 0; k < kPieceCount; ++k) {
        const UINT id = (nFirstId + k) & 0xFFFF;
        SetFrameBitmap(k, LoadGifOrBmpFileOrResource(hModule, MAKEINTRESOURCE(id), lpType, 0));
    }
    return TRUE;
}
