#pragma once

// CGraphy: stateless drawing operations. Plain and stretched blits from a DC
// or a bitmap; colour-key blits (the key given, or read from a pixel of the
// source) that leave the target where the source holds the key and copy
// every other pixel exactly; percentage alpha blends through 32-bit DIB
// sections, with or without a key; 32-bit DIB creation and bitmap queries.
//
// The rectangle forms take right - left by bottom - top.

#include "knbase05/TablehubApi.h"
#include "platform/gdi/Dc.h"

class TABLEHUB_API CGraphy {
public:
    CGraphy() = default;
    virtual ~CGraphy() = default;

    BOOL BitBlt(CDC* dc, const RECT* rect, CDC* source, const POINT* from, DWORD rop);
    BOOL BitBlt(CDC* dc, const RECT* rect, CDC* source, DWORD rop);
    BOOL BitBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const POINT* from, DWORD rop);
    BOOL BitBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, DWORD rop);

    BOOL StretchBlt(CDC* dc, const RECT* rect, CDC* source, const RECT* from, DWORD rop);
    BOOL StretchBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const RECT* from, DWORD rop);
    BOOL StretchBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, DWORD rop);

    void TransparentBlt(CDC* dc, const RECT* rect, CDC* source, const POINT* from,
                        const COLORREF* key);
    void TransparentBlt(CDC* dc, const RECT* rect, CDC* source, const POINT* from,
                        const POINT* keyPoint);
    void TransparentBlt(CDC* dc, const RECT* rect, CDC* source, const COLORREF* key);
    void TransparentBlt(CDC* dc, const RECT* rect, CDC* source, const POINT* keyPoint);
    void TransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const POINT* from,
                        const COLORREF* key);
    void TransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const POINT* from,
                        const POINT* keyPoint);
    void TransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const COLORREF* key);
    void TransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const POINT* keyPoint);

    // The key is compared after stretching.
    void StretchTransparentBlt(CDC* dc, const RECT* rect, CDC* source, const RECT* from,
                               const COLORREF* key);
    void StretchTransparentBlt(CDC* dc, const RECT* rect, CDC* source, const RECT* from,
                               const POINT* keyPoint);
    void StretchTransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const RECT* from,
                               const COLORREF* key);
    void StretchTransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const RECT* from,
                               const POINT* keyPoint);
    void StretchTransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const COLORREF* key);
    void StretchTransparentBlt(CDC* dc, const RECT* rect, CBitmap* bitmap, const POINT* keyPoint);

    // (0, 0) when the bitmap cannot be read.
    CSize GetBitmapSize(CBitmap* bitmap);
    // The second and third 32-bit fields of a BITMAP or a BITMAPINFOHEADER.
    CSize GetSize(const void* description);
    // CLR_INVALID without a main window or for a point outside the bitmap.
    COLORREF GetBitmapPixel(CBitmap* bitmap, POINT point);

    // target = (target x (256 - a) + source x a) >> 8 per byte, a = percent
    // of 256 rounded; the percent is clamped to 0..100 and empty sizes draw
    // nothing.
    void AlphaBlend(HDC dc, int x, int y, int cx, int cy, HDC source, int sx, int sy, int percent);
    void AlphaBlend(HDC dc, const RECT* rect, HDC source, const POINT* from, int percent);
    // Pixels whose 32-bit source word (0x00RRGGBB as the section stores it)
    // equals the key are left alone.
    void AlphaBlendKey(HDC dc, int x, int y, int cx, int cy, HDC source, int sx, int sy,
                       int percent, DWORD key);
    void AlphaBlendKey(HDC dc, const RECT* rect, HDC source, const POINT* from, int percent,
                       DWORD key);

    // A bottom-up 32-bit DIB section; the header is written to info.
    HBITMAP CreateDIB32(HDC dc, int width, int height, BITMAPINFO* info, void** bits);
};
