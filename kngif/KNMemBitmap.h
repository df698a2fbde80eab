#pragma once

// CKNMemBitmap: a picture held in ordinary memory as 16-bit RGB565 pixels,
// rows top-down, each row starting on a 4-byte boundary, with its own bitmap
// description so system DIB calls can take it. It offers pixel access, a
// colour key, a clip rectangle, fills, grey, and copy and blend blits from
// another memory image. Operations on an image without pixels, with a null
// source or with a rectangle that misses the image do nothing and report it.

#include "knbase05/TablehubApi.h"
#include "platform/gdi/Gdi.h"

class TABLEHUB_API CKNMemBitmap {
public:
    CKNMemBitmap() = default;
    virtual ~CKNMemBitmap();
    CKNMemBitmap(const CKNMemBitmap&) = delete;
    CKNMemBitmap& operator=(const CKNMemBitmap&) = delete;

    static WORD RGBTo565(COLORREF color);
    static COLORREF RGB565ToRGB(WORD color);

    // Pixels are not cleared. Sizes of 0 or less, and images above
    // kMaxBytes, are refused and leave the object empty.
    BOOL Create(int width, int height);
    void Destroy();
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetPitch() const { return m_nPitch; }
    BYTE* GetBits() const { return m_pBits; }
    const BITMAPINFO* GetBitmapInfo() const { return m_pBmi; }

    // Key modes: none, a fixed colour, or the top-left pixel read at use.
    void SetColorKey(COLORREF color);
    void SetColorKey565(WORD color);
    void SetColorKeyFromOrigin();
    void SetColorKeyFromPixel(int x, int y);
    BOOL GetColorKey(COLORREF* out) const;
    // Cut to the image; null or nothing left empties it (no clipping).
    void SetClipRect(const RECT* rect);
    RECT GetClipRect() const { return m_rcClip; }

    COLORREF GetPixel(int x, int y) const;
    WORD GetPixel565(int x, int y) const;
    void FillRect565(int x, int y, int width, int height, WORD color);
    void ReplaceColor565(WORD from, WORD to);
    // Rectangles are cut to the image; null means the whole image.
    void Grayscale(const RECT* rect);
    BOOL FillAlpha(COLORREF color, const RECT* rect, BYTE alpha, BOOL useKey);

    // srcRect null: the whole source. (x, y): where its top-left lands. FALSE
    // for a null source or an image without pixels; TRUE when nothing is left
    // after clipping. A source may be this image itself.
    BOOL Blt(const CKNMemBitmap* src, const RECT* srcRect, int x, int y);
    BOOL BltKeyed(const CKNMemBitmap* src, const RECT* srcRect, int x, int y);
    BOOL BltAlpha(const CKNMemBitmap* src, const RECT* srcRect, int x, int y, int alpha);
    BOOL BltAlphaKeyed(const CKNMemBitmap* src, const RECT* srcRect, int x, int y, int alpha);
    // Also FALSE when the weight image is missing or does not cover the
    // source pixels drawn.
    BOOL BltAlphaMask(const CKNMemBitmap* weights, const CKNMemBitmap* src, const RECT* srcRect,
                      int x, int y);
    BOOL BltAdd(const CKNMemBitmap* src, const RECT* srcRect, int x, int y);
    BOOL BltAddKeyed(const CKNMemBitmap* src, const RECT* srcRect, int x, int y);
    BOOL BltAddScaled(const CKNMemBitmap* src, const RECT* srcRect, int x, int y, int alpha);
    BOOL BltAddScaledKeyed(const CKNMemBitmap* src, const RECT* srcRect, int x, int y, int alpha);

    // Quarter turns (90 counter-clockwise, 270 clockwise), the half turn, the
    // mirror (left and right exchanged) and the flip (top and bottom). The
    // turned picture of the source rectangle has its top-left at (x, y); the
    // quarter turns ignore the clip rectangle.
    BOOL BltRotate90(const CKNMemBitmap* src, const RECT* srcRect, int x, int y);
    BOOL BltRotate270(const CKNMemBitmap* src, const RECT* srcRect, int x, int y);
    BOOL BltRotate180(const CKNMemBitmap* src, const RECT* srcRect, int x, int y);
    BOOL BltMirror(const CKNMemBitmap* src, const RECT* srcRect, int x, int y);
    BOOL BltFlip(const CKNMemBitmap* src, const RECT* srcRect, int x, int y);
    // Sizes packed as width << 16 | height: the size of a picture rotated by
    // an angle in degrees, and a square that holds it at every angle.
    static DWORD GetRotatedSize(double angle, int width, int height);
    static DWORD GetRotateBoundSize(int width, int height);
    // Rotation by any angle (degrees, counter-clockwise on the screen): the
    // quarter turn nearest the angle, then three shears for the rest, the
    // uncovered corners in the background colour. The shear alone takes any
    // angle too: beyond 45 degrees either way it turns first as well.
    BOOL BltRotate(double angle, const CKNMemBitmap* src, const RECT* srcRect, int x, int y,
                   COLORREF background);
    BOOL BltRotateShear(double angle, const CKNMemBitmap* src, const RECT* srcRect, int x, int y,
                        COLORREF background);
    // A point of the source image moved to where BltRotate of that source
    // rectangle draws it, in the drawn picture's own coordinates.
    static void MapRotatedPoint(double angle, const RECT* srcRect, POINT* point);
    // The source rectangle scaled into the destination rectangle (null:
    // whole images), nearest pixel; equal sizes copy exactly.
    BOOL BltStretch(const CKNMemBitmap* src, const RECT* srcRect, const RECT* dstRect);

    // Drawing onto a device context (clip rectangle in device coordinates).
    BOOL Draw(HDC hdc, const RECT* srcRect, int x, int y);
    BOOL StretchDraw(HDC hdc, const RECT* srcRect, const RECT* dstRect);
    BOOL DrawTransparent(HDC hdc, const RECT* srcRect, int x, int y);

    // To and from system bitmaps; the caller keeps its bitmap and owns the
    // one returned.
    BOOL CreateFromBitmap(HBITMAP bitmap);
    HBITMAP ToBitmap();
    // Loaders: a .bmp file, picture bytes in memory, a file (module null)
    // or a resource. Defined with the UI kit's decoders.
    BOOL LoadBitmapFile(HINSTANCE instance, LPCSTR path);
    BOOL LoadFromImageData(const BYTE* data, int size);
    BOOL LoadFromFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language);
    BOOL LoadFile(LPCSTR path);

    // A DC whose drawing becomes this image's pixels at ReleaseDC. One at a
    // time: a second GetDC before ReleaseDC gives null.
    HDC GetDC();
    BOOL ReleaseDC(HDC hdc);

    static constexpr long long kMaxBytes = 512LL * 1024 * 1024;

private:
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nPitch = 0;
    BYTE* m_pBits = nullptr;
    BITMAPINFO* m_pBmi = nullptr;
    HDC m_hDC = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
    void* m_pDibBits = nullptr;
    RECT m_rcClip{};
    COLORREF m_crKey = 0;
    int m_nKeyMode = 0;
};
