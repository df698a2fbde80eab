// An image list cut from a strip of equal cells.

#include "knclientUI05/KnClientPublic.h"

HIMAGELIST CreateImageListFromStrip(HBITMAP strip, int cellWidth, COLORREF maskColor,
                                    BOOL maskFromCorner) {
    BITMAP bm;
    if (!strip || cellWidth <= 0 || !GetObject(strip, sizeof bm, &bm))
        return nullptr;
    // Whole cells only: columns left over at the right are ignored.
    int cells = bm.bmWidth / cellWidth;
    HIMAGELIST list = ImageList_Create(cellWidth, bm.bmHeight, ILC_COLOR8 | ILC_MASK, 0, cells);
    if (!list)
        return nullptr;
    HDC stripDc = CreateCompatibleDC(nullptr);
    HDC cellDc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldStrip = stripDc ? SelectObject(stripDc, strip) : nullptr;
    if (!stripDc || !cellDc || !oldStrip) {
        // The strip could not be read (one still selected elsewhere, say).
        if (oldStrip)
            SelectObject(stripDc, oldStrip);
        if (stripDc)
            DeleteDC(stripDc);
        if (cellDc)
            DeleteDC(cellDc);
        ImageList_Destroy(list);
        return nullptr;
    }
    if (maskFromCorner)
        maskColor = GetPixel(stripDc, 0, 0);
    bool complete = true;
    for (int cell = 0; cell < cells && complete; ++cell) {
        HBITMAP image = CreateCompatibleBitmap(stripDc, cellWidth, bm.bmHeight);
        HGDIOBJ oldCell = image ? SelectObject(cellDc, image) : nullptr;
        complete = oldCell && BitBlt(cellDc, 0, 0, cellWidth, bm.bmHeight, stripDc,
                                     cell * cellWidth, 0, SRCCOPY);
        if (oldCell)
            SelectObject(cellDc, oldCell);
        // The list reads the cell only once no DC holds it.
        complete = complete && ImageList_AddMasked(list, image, maskColor) >= 0;
        if (image)
            DeleteObject(image);
    }
    // The strip stays the caller's.
    SelectObject(stripDc, oldStrip);
    DeleteDC(stripDc);
    DeleteDC(cellDc);
    if (!complete) {
        ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}
