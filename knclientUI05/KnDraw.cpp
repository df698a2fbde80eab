// Copying and drawing bitmaps: plain, stretched and through a colour mask.

#include "knclientUI05/KnClientPublic.h"

#include "platform/images/Picture.h"
#include "platform/window/SystemMetrics.h"

#include <cstdlib>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A memory DC holding a bitmap for the length of one call.
class SelectedBitmap {
public:
    SelectedBitmap(HDC like, HBITMAP bitmap) : m_dc(CreateCompatibleDC(like)) {
        if (m_dc)
            m_old = SelectObject(m_dc, bitmap);
    }
    ~SelectedBitmap() {
        if (m_old)
            SelectObject(m_dc, m_old);
        if (m_dc)
            DeleteDC(m_dc);
    }
    SelectedBitmap(const SelectedBitmap&) = delete;
    SelectedBitmap& operator=(const SelectedBitmap&) = delete;
    HDC dc() const { return m_old ? m_dc : nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// BitBlt when the sizes agree, else StretchBlt from the working size.
BOOL Put(HDC dc, int x, int y, int width, int height, HDC source, int sourceWidth, int sourceHeight,
         DWORD rop) {
    if (width == sourceWidth && height == sourceHeight)
        return BitBlt(dc, x, y, width, height, source, 0, 0, rop);
    return StretchBlt(dc, x, y, width, height, source, 0, 0, sourceWidth, sourceHeight, rop);
}

} // namespace

BOOL GetBitmapExtent(HBITMAP bitmap, int* width, int* height) {
    BITMAP bm;
    if (!bitmap || !GetObject(bitmap, sizeof bm, &bm))
        return FALSE;
    if (width)
        *width = bm.bmWidth;
    if (height)
        *height = bm.bmHeight;
    return TRUE;
}

BOOL StretchDrawBitmap(HBITMAP dest, HBITMAP source, HPALETTE palette, const RECT* sourceRect,
                       const RECT* destRect) {
    int sw = 0, sh = 0, dw = 0, dh = 0;
    if (!dest || !source || !GetBitmapExtent(source, &sw, &sh) || !GetBitmapExtent(dest, &dw, &dh))
        return FALSE;
    RECT from = sourceRect ? *sourceRect : RECT{0, 0, sw, sh};
    RECT to = destRect ? *destRect : RECT{0, 0, dw, dh};
    SelectedBitmap target(nullptr, dest);
    SelectedBitmap image(nullptr, source);
    if (!target.dc() || !image.dc())
        return FALSE;
    HPALETTE oldPalette = nullptr;
    if (palette && (GetDeviceCaps(image.dc(), RASTERCAPS) & RC_PALETTE)) {
        oldPalette = SelectPalette(image.dc(), palette, FALSE);
        RealizePalette(image.dc());
    }
    SetStretchBltMode(target.dc(), COLORONCOLOR);
    int fromWidth = from.right - from.left, fromHeight = from.bottom - from.top;
    int toWidth = to.right - to.left, toHeight = to.bottom - to.top;
    BOOL copied = fromWidth == toWidth && fromHeight == toHeight
                      ? BitBlt(target.dc(), to.left, to.top, toWidth, toHeight, image.dc(),
                               from.left, from.top, SRCCOPY)
                      : StretchBlt(target.dc(), to.left, to.top, toWidth, toHeight, image.dc(),
                                   from.left, from.top, fromWidth, fromHeight, SRCCOPY);
    if (oldPalette)
        SelectPalette(image.dc(), oldPalette, FALSE);
    return copied;
}

BOOL DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
    int width = 0, height = 0;
    if (!GetBitmapExtent(bitmap, &width, &height))
        return FALSE;
    SelectedBitmap image(dc, bitmap);
    if (!image.dc())
        return FALSE;
    SetStretchBltMode(dc, COLORONCOLOR);
    BitBlt(dc, x, y, width, height, image.dc(), 0, 0, SRCCOPY);
    return TRUE;
}

BOOL DrawBitmapStretched(HDC dc, HBITMAP bitmap, int left, int top, int right, int bottom) {
    int width = 0, height = 0;
    if (!GetBitmapExtent(bitmap, &width, &height))
        return FALSE;
    SelectedBitmap image(dc, bitmap);
    if (!image.dc())
        return FALSE;
    SetStretchBltMode(dc, COLORONCOLOR);
    Put(dc, left, top, right - left, bottom - top, image.dc(), width, height, SRCCOPY);
    return TRUE;
}

BOOL DrawBitmapMasked(HBITMAP bitmap, COLORREF transparent, int mode, HDC dc, int x, int y,
                      int width, int height, BOOL disabled) {
    int bitmapWidth = 0, bitmapHeight = 0;
    if ((mode != 1 && mode != 2) || !dc || !GetBitmapExtent(bitmap, &bitmapWidth, &bitmapHeight))
        return FALSE;
    SetBkColor(dc, kWhite);
    SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : kBlack);
    int workWidth = bitmapWidth, workHeight = bitmapHeight;
    if (width == 0 || height == 0) {
        width = bitmapWidth;
        height = bitmapHeight;
    } else {
        workWidth = std::abs(width);
        workHeight = std::abs(height);
    }

    HDC desktop = GetWindowDC(nullptr);
    if (!desktop)
        return FALSE;
    HDC imageDc = CreateCompatibleDC(desktop);
    HDC maskDc = CreateCompatibleDC(desktop);
    HBITMAP image = CreateCompatibleBitmap(desktop, workWidth, workHeight);
    HBITMAP mask = CreateBitmap(workWidth, workHeight, 1, 1, nullptr);
    HGDIOBJ oldImage = SelectObject(imageDc, image);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    {
        SelectedBitmap source(desktop, bitmap);
        Put(imageDc, 0, 0, workWidth, workHeight, source.dc(), bitmapWidth, bitmapHeight, SRCCOPY);
    }
    // The mask: white where the image holds the transparent colour.
    SetBkColor(imageDc, transparent);
    SetTextColor(imageDc, kBlack);
    BitBlt(maskDc, 0, 0, workWidth, workHeight, imageDc, 0, 0, SRCCOPY);
    // The image: black where it is transparent.
    SetBkColor(imageDc, kBlack);
    SetTextColor(imageDc, kWhite);
    BitBlt(imageDc, 0, 0, workWidth, workHeight, maskDc, 0, 0, SRCAND);

    if (mode == 1) {
        Put(dc, x, y, width, height, maskDc, workWidth, workHeight, SRCAND);
        Put(dc, x, y, width, height, imageDc, workWidth, workHeight, SRCPAINT);
    } else {
        Put(dc, x, y, width, height, imageDc, workWidth, workHeight, SRCINVERT);
    }

    SelectObject(maskDc, oldMask);
    DeleteObject(mask);
    SelectObject(imageDc, oldImage);
    DeleteObject(image);
    DeleteDC(maskDc);
    DeleteDC(imageDc);
    ReleaseDC(nullptr, desktop);
    return TRUE;
}

HBITMAP LoadBitmapFile(HINSTANCE instance, LPCSTR path) {
    return static_cast<HBITMAP>(LoadImage(instance, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}
