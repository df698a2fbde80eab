#include "sprite/Picture.h"

#include "platform/images/Picture.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"
#include "sprite/GdiRoutines.h"
#include "sprite/MemDC.h"

#include <string>

// Linux has no sharing violations (files held open by another process read
// fine), so the load needs no retry loop.
BOOL CPicture::Load(LPCSTR path) {
    Free();
    if (!path || !path[0])
        return FALSE;
    std::string bytes;
    if (!ReadWholeFile(NativePath(path), bytes, platform::kMaxPictureFileBytes))
        return FALSE;
    IPicture* picture = nullptr;
    if (FAILED(CreatePictureFromMemory(bytes.data(), bytes.size(), &picture)) || !picture)
        return FALSE;
    LONG width = 0, height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    m_pPicture = picture;
    m_nWidth = width;
    m_nHeight = height;
    return TRUE;
}

void CPicture::Free() {
    if (m_pPicture)
        m_pPicture->Release();
    m_pPicture = nullptr;
    m_nWidth = m_nHeight = 0;
}

BOOL CPicture::Render(HDC hdc, const RECT& rect) {
    if (!m_pPicture)
        return FALSE;
    return SUCCEEDED(m_pPicture->Render(hdc, rect.left, rect.top, rect.right - rect.left,
                                        rect.bottom - rect.top, 0, m_nHeight, m_nWidth, -m_nHeight,
                                        nullptr));
}

HBITMAP CPicture::RenderToBitmap() {
    if (!m_pPicture)
        return nullptr;
    CMemDC canvas(nullptr, m_nWidth, m_nHeight);
    if (!canvas.GetBitmap())
        return nullptr;
    Render(canvas, RECT{0, 0, m_nWidth, m_nHeight});
    return canvas.DetachBitmap();
}

BOOL CPicture::Draw(HDC hdc, int x, int y, int cx, int cy, int sx, int sy, DWORD rop) {
    HBITMAP bitmap = RenderToBitmap();
    if (!bitmap)
        return FALSE;
    BlitBitmap(hdc, x, y, cx, cy, bitmap, sx, sy, rop);
    DeleteObject(bitmap);
    return TRUE;
}

BOOL CPicture::DrawTransparent(HDC hdc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                               COLORREF key) {
    HBITMAP bitmap = RenderToBitmap();
    if (!bitmap)
        return FALSE;
    {
        SourceDC source(bitmap);
        if (key == 0)
            key = GetPixel(source.dc(), 0, 0);
        TransparentBlit(hdc, x, y, w, h, source.dc(), sx, sy, sw, sh, key);
    }
    DeleteObject(bitmap);
    return TRUE;
}

BOOL CPicture::DrawAlpha(HDC hdc, int x, int y, int w, int h, int sx, int sy, int sw, int sh,
                         CPicture* pAlpha) {
    if (!m_pPicture || !pAlpha || !pAlpha->IsLoaded() || w <= 0 || h <= 0)
        return FALSE;
    // Both pictures stretched to the destination's size, then blended per pixel.
    HBITMAP picture = RenderToBitmap();
    HBITMAP alpha = pAlpha->RenderToBitmap();
    CMemDC stretchedPicture(nullptr, w, h), stretchedAlpha(nullptr, w, h);
    {
        SourceDC source(picture);
        StretchBlt(stretchedPicture, 0, 0, w, h, source.dc(), sx, sy, sw, sh, SRCCOPY);
        source.Select(alpha);
        StretchBlt(stretchedAlpha, 0, 0, w, h, source.dc(), sx, sy, sw, sh, SRCCOPY);
    }
    DeleteObject(picture);
    DeleteObject(alpha);
    HBITMAP p = stretchedPicture.DetachBitmap();
    HBITMAP a = stretchedAlpha.DetachBitmap();
    AlphaBlit(hdc, x, y, w, h, p, 0, 0, a, 0, 0);
    DeleteObject(p);
    DeleteObject(a);
    return TRUE;
}

HRGN CPicture::GetRegion(COLORREF key) {
    HBITMAP bitmap = RenderToBitmap();
    if (!bitmap)
        return nullptr;
    CMemDC canvas;
    CBitmap* holder = new CBitmap;
    holder->Attach(bitmap);
    HRGN region = nullptr;
    if (canvas.Create(nullptr, holder))
        region = canvas.RegionFromBitmap(key);
    canvas.Free();
    delete holder;
    return region;
}
