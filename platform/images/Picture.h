#pragma once

// Picture files of any format the program meets (BMP, PNG, JPEG, GIF first
// frame), recognised by their first bytes: decoded into pixels, into a
// bitmap, or into an IPicture-shaped object that draws itself into a DC.
// Sizes are in pixels (the picture object has no HIMETRIC units here).

#include "platform/gdi/Gdi.h"
#include "platform/gdi/PixelImage.h"

#include <string>

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_LOADFROMFILE 0x0010
#define LR_CREATEDIBSECTION 0x2000

// Bitmaps from files only (LR_LOADFROMFILE): a .bmp file becomes a 32-bit DIB
// section, stretched to cx x cy when both are non-zero; anything else, and a
// file that is missing or not a valid .bmp, gives null. Icons and cursors
// (IMAGE_ICON, IMAGE_CURSOR) come from a module's groups or from .ico, .cur
// and .ani files (see resources/Icon.h): a file's entry nearest cx x cy is
// taken (0: the system size picks, the entry keeps its own size unless
// LR_DEFAULTSIZE) and scaled to cx x cy.
HANDLE LoadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
#define LoadImageA LoadImage

namespace platform {

enum class PictureFormat { Unknown, Bmp, Png, Jpeg, Gif };

PictureFormat SniffPicture(const void* data, size_t size);
bool DecodePicture(const void* data, size_t size, PixelImage& image, std::string* error = nullptr);
bool LoadPictureFile(const std::string& path, PixelImage& image, std::string* error = nullptr);

// LoadImage of a bitmap.
HBITMAP LoadBitmapImage(LPCSTR name, int cx, int cy, UINT flags);

// A top-down 32-bit DIB section holding the picture's pixels; null on failure.
HBITMAP CreateBitmapFromImage(const PixelImage& image);

} // namespace platform

// A decoded picture, reference counted; created with a count of 1.
class IPicture {
public:
    ULONG AddRef();
    ULONG Release();

    HRESULT get_Width(LONG* width) const;
    HRESULT get_Height(LONG* height) const;
    // The bitmap the picture draws from; it stays the picture's.
    HRESULT get_Handle(HBITMAP* bitmap) const;

    // Draws the source part (pixels, y down) stretched into (x, y, cx, cy).
    // A negative source height names the part from its bottom edge upwards,
    // as callers written for OLE pictures pass it: (0, h, w, -h) is the whole
    // picture, upright. Transparent pixels (GIF) and alpha (PNG) blend with
    // what the DC holds. bounds is accepted and ignored.
    HRESULT Render(HDC hdc, LONG x, LONG y, LONG cx, LONG cy, LONG xSrc, LONG ySrc, LONG cxSrc,
                   LONG cySrc, LPCRECT bounds);

private:
    friend HRESULT CreatePictureFromMemory(const void*, size_t, IPicture**);
    IPicture() = default;
    ~IPicture();

    ULONG m_references = 1;
    int m_width = 0;
    int m_height = 0;
    bool m_alpha = false;
    HBITMAP m_bitmap = nullptr; // premultiplied when m_alpha
};

// Decodes a whole picture file held in memory. S_OK and *picture on success;
// E_FAIL (and *picture null) for data that is not a picture this layer reads.
HRESULT CreatePictureFromMemory(const void* data, size_t size, IPicture** picture);
