#pragma once

// Painting bitmap pieces: one colour-keyed at natural size, or one repeated
// over a rectangle with the last row and column cut at its edges; and the
// small helpers the frame and the button share.

#include "platform/gdi/Dc.h"

// A bitmap's width and height; false when it has none.
bool BitmapSize(HBITMAP bitmap, int* width, int* height);

// A memory DC like another with a bitmap selected, both put back on the way
// out (the bitmap stays the caller's).
class BitmapDc {
public:
    BitmapDc(HDC like, HBITMAP bitmap);
    ~BitmapDc();
    BitmapDc(const BitmapDc&) = delete;
    BitmapDc& operator=(const BitmapDc&) = delete;
    bool Ok() const { return m_old != nullptr; }
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// RGB(255, 0, 255) pixels are left out.
void DrawKeyedPiece(CDC* dc, HBITMAP bitmap, int x, int y);
void TilePiece(CDC* dc, HBITMAP bitmap, const RECT& area);
