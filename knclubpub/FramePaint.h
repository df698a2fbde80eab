#pragma once

// Painting bitmap pieces: one colour-keyed at natural size, or one repeated
// over a rectangle with the last row and column cut at its edges.

#include "platform/gdi/Dc.h"

// RGB(255, 0, 255) pixels are left out.
void DrawKeyedPiece(CDC* dc, HBITMAP bitmap, int x, int y);
void TilePiece(CDC* dc, HBITMAP bitmap, const RECT& area);
