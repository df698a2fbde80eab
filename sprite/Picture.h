#pragma once

// A picture file (BMP, PNG, JPEG, GIF) loaded whole and drawn through the
// picture object: the theme's images.

#include "platform/gdi/Gdi.h"

class IPicture;

class CPicture {
public:
    CPicture() = default;
    ~CPicture() { Free(); }
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    // FALSE for an empty path, a file that cannot be read or is no picture;
    // the picture is then empty. A picture loaded before is released first.
    BOOL Load(LPCSTR path);
    BOOL IsLoaded() const { return m_pPicture != nullptr; }
    void Free();
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }

    // The whole picture into the rectangle.
    BOOL Render(HDC hdc, const RECT& rect);
    BOOL Draw(HDC hdc, int x, int y, int cx, int cy, int sx, int sy, DWORD rop);
    // The part stretched to (w, h) without its key-colour pixels (key 0: the
    // picture's top-left pixel).
    BOOL DrawTransparent(HDC hdc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                         COLORREF key);
    // The part stretched to (w, h), blended per pixel by the alpha picture's blue byte.
    BOOL DrawAlpha(HDC hdc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                   CPicture* pAlpha);
    // The region of the pixels that are not the key colour; null when empty.
    HRGN GetRegion(COLORREF key);

private:
    // The whole picture rendered into a new bitmap of its size (caller deletes).
    HBITMAP RenderToBitmap();

    IPicture* m_pPicture = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
};
