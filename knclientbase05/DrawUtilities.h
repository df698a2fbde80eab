#pragma once

// Drawing helpers of the network layer's dialogs: a key-colour blit, an
// alpha blend of two device contexts, the default dialog font, a text
// shortened to a width, and the main window's state.

#include "platform/Types.h"

class CFont;

// 1 when the application's main window exists and is visible.
int IsMainWindowVisible();
// Posts WM_CANCELMODE to every child of the main window (menus, captures).
void CancelMainWindowModes();

// Copies the source rectangle, leaving the destination where the source
// holds the key colour; a null key copies everything. 0 on failure.
int DrawTransparent(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, const COLORREF* key);
// Destination = source + percent% of (destination - source), per byte: 100
// keeps the destination, 0 copies the source. percent 0..100, sizes >= 1.
void AlphaBlendRect(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, int percent);

// The dialogs' font: face from string 29931, 14 by 7, weight 500.
HFONT CreateDefaultFont();
BOOL SetDefaultFont(CFont& font);

// The text itself when it fits in maxWidth (with extraWidth beside it), else
// a copy cut at a character boundary with "..." behind it. The copy lives in
// one buffer shared by all callers, valid until the next call; texts longer
// than 255 bytes are cut there first.
LPCSTR FitTextWithEllipsis(HDC hdc, LPCSTR text, int maxWidth, int extraWidth);
