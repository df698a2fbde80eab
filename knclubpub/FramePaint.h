#pragma once

// The small helpers the owner-drawn dialog and the hover button share: a
// bitmap's size, and a memory DC that holds a bitmap for one drawing.

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
