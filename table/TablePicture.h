#pragma once

// The table picture of the background at one size: the layout's table
// bitmap stretched over the client area with the centre picture drawn
// through its mask, combined through the stretched table mask. It depends
// only on the layout and the size, so it is composed once per size and
// copied whenever a piece of the background is painted afresh.

#include "platform/gdi/Dc.h"

class CGameLayout;

class CTablePicture {
public:
    // Copies the picture at (0, 0) of pDC, composing it first when the size
    // or the layout's pictures changed. FALSE when the layout has no table
    // bitmap (nothing is drawn).
    BOOL Draw(CDC* pDC, CGameLayout& layout, int cx, int cy);

private:
    BOOL Compose(CDC* pDC, CGameLayout& layout, int cx, int cy);

    CBitmap m_bits;
    int m_cx = 0;
    int m_cy = 0;
    HGDIOBJ m_made[3] = {}; // the table, centre and mask bitmaps it was made of
};

// The width and height of a bitmap; (0, 0) for none.
SIZE TableBitmapSize(const CBitmap& bitmap);
// A strip whose left half is the picture (black outside) and right half its
// mask (black where opaque), drawn through the mask with its top left at (x, y).
void DrawMaskedStrip(CDC* pDC, CBitmap& strip, int x, int y);
