// The memory image on device contexts: plain, stretched and colour-keyed
// drawing, conversion to and from system bitmaps, and a DC of its own.

#include "kngif/KNMemBitmap.h"

#include "knclientbase05/KNpubSystem.h"
#include "kngif/MemBitmapAccess.h"
#include "kngif/MemBitmapClip.h"

#include <cstdlib>
#include <cstring>

namespace {

// Draw's destination: device coordinates up to 16 bits.
constexpr int kDeviceExtent = 65535;

// A memory DC with a bitmap selected, both freed on the way out.
class SelectedBitmap {
public:
    SelectedBitmap(HDC like, HBITMAP bitmap) : m_dc(CreateCompatibleDC(like)), m_bitmap(bitmap) {
        if (m_dc && m_bitmap) {
            m_old = SelectObject(m_dc, m_bitmap);
        }
    }
    ~SelectedBitmap() {
        if (m_dc) {
            if (m_old) {
                SelectObject(m_dc, m_old);
            }
            DeleteDC(m_dc);
        }
        if (m_bitmap) {
            DeleteObject(m_bitmap);
        }
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;
    bool Ok() const { return m_dc && m_bitmap && m_old; }
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old = nullptr;
};

// The screen DC, released on the way out.
class ScreenDc {
public:
    ScreenDc() : m_dc(::GetDC(nullptr)) {}
    ~ScreenDc() {
        if (m_dc) {
            ::ReleaseDC(nullptr, m_dc);
        }
    }
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// Puts a DC's background and text colours back on every way out.
class SavedColours {
public:
    SavedColours(HDC dc, COLORREF back, COLORREF text)
        : m_dc(dc), m_back(SetBkColor(dc, back)), m_text(SetTextColor(dc, text)) {}
    ~SavedColours() {
        SetBkColor(m_dc, m_back);
        SetTextColor(m_dc, m_text);
    }

private:
    HDC m_dc;
    COLORREF m_back;
    COLORREF m_text;
};

// Draw's clipping: against a 65,535 square device and the image's own clip
// rectangle.
bool ClipForDevice(const CKNMemBitmap& image, const RECT* srcRect, int x, int y, RECT* part,
                   POINT* at) {
    const RECT whole{0, 0, image.GetWidth(), image.GetHeight()};
    return ClipMemBlit(srcRect ? *srcRect : whole, image.GetWidth(), image.GetHeight(), x, y,
                       kDeviceExtent, kDeviceExtent, image.GetClipRect(), part, at) != FALSE;
}

// SetDIBitsToDevice of `part` of the image at (x, y): the rows drawn.
int PutRows(const CKNMemBitmap& image, HDC hdc, const RECT& part, int x, int y) {
    const int h = part.bottom - part.top;
    const int height = image.GetHeight();
    // The description is top-down, but the source y counts from the bottom.
    return SetDIBitsToDevice(hdc, x, y, (DWORD)(part.right - part.left), (DWORD)h, part.left,
                             height - part.top - h, 0, (UINT)height, image.GetBits(),
                             image.GetBitmapInfo(), DIB_RGB_COLORS);
}

} // namespace

BOOL CKNMemBitmap::Draw(HDC hdc, const RECT* srcRect, int x, int y) {
    if (!m_pBits || !hdc) {
        return FALSE;
    }
    RECT part;
    POINT at;
    if (!ClipForDevice(*this, srcRect, x, y, &part, &at)) {
        return TRUE;
    }
    // The call reports every scan of the image it was given, which is at
    // least the rectangle's height when it drew.
    return PutRows(*this, hdc, part, at.x, at.y) >= part.bottom - part.top;
}

BOOL CKNMemBitmap::StretchDraw(HDC hdc, const RECT* srcRect, const RECT* dstRect) {
    if (!m_pBits || !hdc || !dstRect) {
        return FALSE;
    }
    const RECT whole{0, 0, m_nWidth, m_nHeight};
    const RECT& s = srcRect ? *srcRect : whole;
    SelectedBitmap copy(hdc, CreateCompatibleBitmap(hdc, m_nWidth, m_nHeight));
    if (!copy.Ok()) {
        return FALSE;
    }
    if (PutRows(*this, copy.Dc(), whole, 0, 0) < m_nHeight) {
        return FALSE;
    }
    const int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
    SetStretchBltMode(copy.Dc(), COLORONCOLOR);
    const BOOL ok = StretchBlt(hdc, dstRect->left, dstRect->top, dstRect->right - dstRect->left,
                               dstRect->bottom - dstRect->top, copy.Dc(), s.left, s.top,
                               s.right - s.left, s.bottom - s.top, SRCCOPY);
    SetStretchBltMode(hdc, oldMode);
    return ok;
}

BOOL CKNMemBitmap::DrawTransparent(HDC hdc, const RECT* srcRect, int x, int y) {
    if (m_nKeyMode == 0) {
        return Draw(hdc, srcRect, x, y);
    }
    if (!m_pBits || !hdc) {
        return FALSE;
    }
    RECT part;
    POINT at;
    if (!ClipForDevice(*this, srcRect, x, y, &part, &at)) {
        return TRUE;
    }
    const int w = part.right - part.left;
    const int h = part.bottom - part.top;
    // A target of 16 bits a pixel would take the non-key pixels straight over
    // a 16-bit copy of it. GetDeviceCaps gives the depth of the device a DC
    // draws for, and every device here is 32-bit: the display surfaces, and
    // memory DCs made like them whatever bitmap is selected into them (a
    // memory image's own GetDC, with its 16-bit section, included). No call
    // can reach that way, so this is always the mask method: the key pixels
    // make a monochrome mask that cuts a hole the image fills.
    SavedColours targetColours(hdc, RGB(255, 255, 255), RGB(0, 0, 0));
    SelectedBitmap image(hdc, CreateCompatibleBitmap(hdc, m_nWidth, m_nHeight));
    if (!image.Ok()) {
        return FALSE;
    }
    const RECT whole{0, 0, m_nWidth, m_nHeight};
    PutRows(*this, image.Dc(), whole, 0, 0);
    // The key as the device renders it: the nearest colour in the part drawn.
    COLORREF key = ::GetPixel(image.Dc(), 0, 0);
    if (m_nKeyMode == 1) {
        key = m_crKey;
        unsigned best = ~0u;
        for (int row = part.top; row < part.bottom && best != 0; ++row) {
            for (int col = part.left; col < part.right; ++col) {
                const COLORREF c = ::GetPixel(image.Dc(), col, row);
                const unsigned distance = (unsigned)std::abs((long long)c - (long long)m_crKey);
                if (distance < best) {
                    best = distance;
                    key = c;
                    if (best == 0) {
                        break;
                    }
                }
            }
        }
    }
    SelectedBitmap mask(hdc, CreateBitmap(m_nWidth, m_nHeight, 1, 1, nullptr));
    if (!mask.Ok()) {
        return FALSE;
    }
    SetBkColor(image.Dc(), key);
    SetTextColor(image.Dc(), RGB(0, 0, 0));
    BitBlt(mask.Dc(), 0, 0, m_nWidth, m_nHeight, image.Dc(), 0, 0, SRCCOPY);
    SetBkColor(image.Dc(), RGB(0, 0, 0));
    SetTextColor(image.Dc(), RGB(255, 255, 255));
    BitBlt(image.Dc(), 0, 0, m_nWidth, m_nHeight, mask.Dc(), 0, 0, SRCAND);
    BitBlt(hdc, at.x, at.y, w, h, mask.Dc(), part.left, part.top, SRCAND);
    return BitBlt(hdc, at.x, at.y, w, h, image.Dc(), part.left, part.top, SRCPAINT);
}

BOOL CKNMemBitmap::CreateFromBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectA(bitmap, sizeof info, &info) == 0 ||
        !Create(info.bmWidth, info.bmHeight)) {
        return FALSE;
    }
    ScreenDc screen;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(screen.Get(), m_pBmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectedBitmap target(screen.Get(), section);
    HDC sourceDc = CreateCompatibleDC(screen.Get());
    HGDIOBJ old = sourceDc ? SelectObject(sourceDc, bitmap) : nullptr;
    const bool ok = target.Ok() && old && bits &&
                    BitBlt(target.Dc(), 0, 0, m_nWidth, m_nHeight, sourceDc, 0, 0, SRCCOPY);
    if (ok) {
        std::memcpy(m_pBits, bits, (size_t)m_nPitch * m_nHeight);
    }
    if (old) {
        SelectObject(sourceDc, old);
    }
    if (sourceDc) {
        DeleteDC(sourceDc);
    }
    if (!ok) {
        Destroy();
    }
    return ok;
}

HBITMAP CKNMemBitmap::ToBitmap() {
    if (!m_pBits) {
        return nullptr;
    }
    ScreenDc screen;
    HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), m_nWidth, m_nHeight);
    HDC dc = bitmap ? CreateCompatibleDC(screen.Get()) : nullptr;
    if (!dc) {
        if (bitmap) {
            DeleteObject(bitmap);
        }
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    PutRows(*this, dc, RECT{0, 0, m_nWidth, m_nHeight}, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

HDC CKNMemBitmap::GetDC() {
    if (m_hDC) {
        DebugTrace(
            "\r\nError:在没有释放先前GetDC得到的句柄情况下又调用了CKNMemBitmap的GetDC()\r\n");
        return nullptr;
    }
    if (!m_pBits) {
        return nullptr;
    }
    HDC dc;
    {
        ScreenDc screen;
        dc = CreateCompatibleDC(screen.Get());
    }
    void* bits = nullptr;
    HBITMAP section =
        dc ? CreateDIBSection(dc, m_pBmi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    HGDIOBJ old = section ? SelectObject(dc, section) : nullptr;
    if (!old || !bits) {
        // Nothing stays recorded, so a later GetDC can still succeed.
        if (section) {
            DeleteObject(section);
        }
        if (dc) {
            DeleteDC(dc);
        }
        return nullptr;
    }
    // The section has this image's own format: its pixels are copied as
    // they are (the clip rectangle plays no part here).
    std::memcpy(bits, m_pBits, (size_t)m_nPitch * m_nHeight);
    m_hDC = dc;
    m_hOldBitmap = old;
    m_pDibBits = bits;
    return dc;
}

BOOL CKNMemBitmap::ReleaseDC(HDC hdc) {
    if (hdc != m_hDC) {
        DebugTrace("\r\nError:在CKNMemBitmap的ReleaseDC中释放的HDC与开始分配的句柄不同\r\n");
        return FALSE;
    }
    if (!m_hDC) {
        return FALSE;
    }
    HGDIOBJ section = SelectObject(m_hDC, m_hOldBitmap);
    // The image may have been re-created meanwhile: copy only when it still
    // has the section's size.
    if (m_pBits && section) {
        BITMAP info{};
        if (GetObjectA(section, sizeof info, &info) && info.bmWidth == m_nWidth &&
            std::abs(info.bmHeight) == m_nHeight) {
            std::memcpy(m_pBits, m_pDibBits, (size_t)m_nPitch * m_nHeight);
        }
    }
    if (section) {
        DeleteObject(section);
    }
    DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_hOldBitmap = nullptr;
    m_pDibBits = nullptr;
    return TRUE;
}
