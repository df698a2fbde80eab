#pragma once

// CKNBitmap: the UI kit's bitmap object. It is filled from a bitmap resource,
// a packed DIB, a .bmp file or a picture file or resource (JPEG, GIF, PNG),
// keeps a palette for displays of 256 colours or fewer, and draws itself
// centred, tiled, stretched or through a mask held beside the image.
//
// Drawing through a mask: the image is black where it is transparent, the
// mask white there and black where the image shows. Without a source point
// the bitmap's left half is the image and its right half the mask.

#include "knbase05/TablehubApi.h"
#include "platform/gdi/Dc.h"

class CWnd;

#define BD_HCENTER 0x01
#define BD_VCENTER 0x02
#define BD_TILE 0x04
#define BD_STRETCH 0x08
#define BD_MASK 0x10

class TABLEHUB_API CKNBitmap : public CBitmap {
    DECLARE_DYNAMIC(CKNBitmap)

public:
    CKNBitmap() = default;
    ~CKNBitmap() override;

    DWORD m_dwRop = SRCCOPY;
    BOOL m_bForceBackground = TRUE;
    HPALETTE m_hPalette = nullptr;
    int m_nColors = 0;

    // Sets m_nColors from the header; a palette only on displays of 8 bits
    // per pixel or fewer. The colour table must follow the header.
    void CreatePaletteFromDib(const BITMAPINFO* info);
    // Replaces bitmap and palette from a packed DIB whose block the caller
    // vouches for; the second argument is not used.
    BOOL CreateFromDib(const BITMAPINFO* dib, BOOL unused = FALSE);
    // The same from bytes of known length: nothing is read past them.
    BOOL CreateFromDib(const void* dib, size_t size);

    BOOL LoadBitmap(LPCSTR name, BOOL palette = FALSE);
    BOOL LoadBitmap(HINSTANCE module, LPCSTR name, BOOL palette = FALSE);
    BOOL LoadBitmap(UINT id, BOOL palette = FALSE);
    // A path holding ".bmp" (any case) is read as a .bmp file from offset
    // (length 0 = to the end); any other path as a picture file.
    BOOL LoadBmpFile(LPCSTR path, BOOL unused = FALSE, DWORD offset = 0, DWORD length = 0);
    // JPEG, GIF (first frame), PNG or BMP; the palette is kept.
    BOOL LoadPictureFile(LPCSTR path);

    void SetRop(DWORD rop) { m_dwRop = rop; }
    void SetForceBackground(BOOL force) { m_bForceBackground = force; }

    // FALSE only when no bitmap is held. A zero cx or cy means no clip box
    // (and nothing to centre in, tile over or stretch to).
    BOOL Draw(CDC* dc, int x, int y, int cx, int cy, UINT flags, const POINT* source = nullptr,
              const POINT* mask = nullptr, const SIZE* sourceSize = nullptr);
    // At the image's own size: only BD_MASK counts.
    BOOL Draw(CDC* dc, int x, int y, UINT flags, const POINT* source = nullptr,
              const POINT* mask = nullptr, const SIZE* sourceSize = nullptr);
    // The box is (right - left + 1) x (bottom - top + 1): one pixel more each
    // way than the rectangle, which callers' layouts count on. A null
    // rectangle means the client area of the DC's window.
    BOOL Draw(CDC* dc, const RECT* rect, UINT flags, const POINT* source = nullptr,
              const POINT* mask = nullptr, const SIZE* sourceSize = nullptr);

    BOOL GetSize(SIZE* size) const;
    // Nine cells of a 3 x 3 grid: corners as they are, edges tiled, the
    // centre tiled only when asked.
    void DrawFrame(CDC* dc, const RECT* rect, int inflate, BOOL fillCenter);

    void RealizePalette(CWnd* wnd, CDC* dc, BOOL forceBackground);
    void SelectPalette(CDC* dc, BOOL forceBackground);
};

// New bitmaps the caller owns, or NULL. Kinds: 0 bitmap resource, 1 "JPG",
// 2 "JPEG", 3 "GIF"; any other kind gives NULL.
TABLEHUB_API HBITMAP LoadImageResource(HINSTANCE module, LPCSTR name, int kind);
TABLEHUB_API HBITMAP LoadImageResourceById(HINSTANCE module, UINT id, int kind);
// A picture resource of the given type; module NULL = the resource module.
TABLEHUB_API HBITMAP LoadPictureResource(HINSTANCE module, LPCSTR name, LPCSTR type);
TABLEHUB_API HBITMAP LoadPictureResourceById(HINSTANCE module, UINT id, LPCSTR type);
