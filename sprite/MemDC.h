#pragma once

// Memory DCs over a bitmap: the engine's back buffers and every temporary
// canvas; and the key-colour canvas, a memory DC filled with magenta on which
// shapes are drawn before they are cut out by that key.

#include "platform/gdi/Dc.h"

constexpr COLORREF kKeyColor = 0xFF00FF; // magenta

class CMemDC : public CDC {
public:
    CMemDC() = default;
    // A DC compatible with the reference with the bitmap selected (not owned).
    CMemDC(CDC* pRef, CBitmap* pBitmap) { Create(pRef, pBitmap); }
    // A DC compatible with the reference with a new owned bitmap of that size.
    CMemDC(CDC* pRef, int cx, int cy) { Create(pRef, cx, cy); }
    ~CMemDC() override;

    // Again on an existing memory DC: the bitmap held is deselected (and
    // deleted when owned) and the DC is kept.
    BOOL Create(CDC* pRef, CBitmap* pBitmap);
    BOOL Create(CDC* pRef, int cx, int cy);
    // Deselects the bitmap and hands it to the caller.
    HBITMAP DetachBitmap();
    // The region of the bitmap's pixels that differ from the key colour
    // (0: the colour of the pixel at (0, 0)); null when nothing is selected.
    HRGN RegionFromBitmap(COLORREF key);
    CBitmap* GetBitmap() const { return m_pBitmap; }
    CSize GetSize() const;
    // Frees the bitmap and the DC (a later Create starts afresh).
    void Free();

private:
    BOOL EnsureDC(CDC* pRef);
    void ReleaseBitmap();

    CBitmap* m_pBitmap = nullptr;
    BOOL m_bOwnsBitmap = FALSE;
    HGDIOBJ m_hOldBitmap = nullptr;
};

// A canvas of a rectangle's size, filled with the key colour on creation.
class CKeyColorDC : public CDC {
public:
    CKeyColorDC(CDC* pRef, int cx, int cy);
    ~CKeyColorDC() override;
    const CRect& GetRect() const { return m_rect; }

private:
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap = nullptr;
    CBrush m_keyBrush;
    CRect m_rect;
};

// The region of a 32-bit DIB's pixels that differ from the key: one
// rectangle per run of other pixels, rows from the top.
HRGN RegionFromPixels(const uint32_t* pixels, int width, int height, int stride, COLORREF key);
