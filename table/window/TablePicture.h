#pragma once

// The table picture of the background: the layout's table bitmap stretched
// over the client area with the centre picture drawn through its mask,
// combined through the stretched table mask. Drawn straight into the DC, so
// a DC clipped to a piece of the table (a name plate's) costs that piece.

#include "platform/gdi/Dc.h"

class CGameLayout;

// FALSE when the layout has no table bitmap (nothing is drawn).
BOOL DrawTablePicture(CDC* pDC, CGameLayout& layout, int cx, int cy);

// The width and height of a bitmap; (0, 0) for none.
SIZE TableBitmapSize(const CBitmap& bitmap);
// A strip whose left half is the picture (black outside) and right half its
// mask (black where opaque), drawn through the mask with its top left at (x, y).
void DrawMaskedStrip(CDC* pDC, CBitmap& strip, int x, int y);
