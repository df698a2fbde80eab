#include "sprite/FrameImage.h"

#include "platform/gdi/GdiWrappers.h"

namespace {

RECT WholeBitmap(HBITMAP bitmap) {
    const CSize size = GetHBitmapSize(bitmap);
    return RECT{0, 0, size.cx, size.cy};
}

} // namespace

BOOL CFrameImage::AddFrame(HBITMAP hBitmap, const RECT* pRect, int nDelay) {
    if (m_nFrames >= kMaxFrames)
        return FALSE;
    const RECT rect = pRect ? *pRect : WholeBitmap(hBitmap);
    m_frames[m_nFrames++] = Frame{hBitmap, rect, nDelay};
    if (m_nFrames == 1)
        m_size = SIZE{rect.right - rect.left, rect.bottom - rect.top};
    return TRUE;
}

void CFrameImage::SetMask(HBITMAP hBitmap, const RECT* pRect) {
    m_hMask = hBitmap;
    m_maskRect = pRect ? *pRect : WholeBitmap(hBitmap);
}

int CFrameImage::GetFrameDelay(int nFrame) {
    if (nFrame < 0 || nFrame >= m_nFrames)
        return 0;
    return m_frames[nFrame].nDelay;
}

void CFrameImage::PaintFrame(HDC hdc, int nFrame, int x, int y, int w, int h, int sx, int sy) {
    if (nFrame < 0 || nFrame >= m_nFrames)
        return;
    const Frame& frame = m_frames[nFrame];
    SourceDC source(m_hMask ? m_hMask : frame.hBitmap);
    if (m_hMask) {
        BitBlt(hdc, x, y, w, h, source.dc(), m_maskRect.left + sx, m_maskRect.top + sy, SRCAND);
        source.Select(frame.hBitmap);
    }
    BitBlt(hdc, x, y, w, h, source.dc(), frame.rect.left + sx, frame.rect.top + sy,
           m_hMask ? SRCPAINT : SRCCOPY);
}

void CFrameImage::Draw(HDC hdc, int nFrame, SPRITEINFO*, int dx, int dy, int w, int h, int sx,
                       int sy, int nAlpha) {
    ComposeImage(hdc, dx, dy, w, h, nAlpha,
                 [&](HDC target, int x, int y) { PaintFrame(target, nFrame, x, y, w, h, sx, sy); });
}

void CAlphaFrameImage::Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h,
                            int sx, int sy, int nAlpha) {
    const bool highlight = pSprite && (pSprite->nUser[2] & kHighlightBit);
    ComposeImage(hdc, dx, dy, w, h, nAlpha, [&](HDC target, int x, int y) {
        PaintFrame(target, nFrame, x, y, w, h, sx, sy);
        if (!highlight)
            return;
        ScratchDC tint(w, h);
        CBrush brush(kHighlightColor);
        RECT area{0, 0, w, h};
        FillRect(tint.dc(), &area, brush);
        BlendConstantAlpha(target, x, y, w, h, tint.dc(), 0, 0, 0x80);
    });
}

RECT CCardFaceImage::GetRect(SPRITEINFO* pSprite, int nFrame) {
    RECT rect = CAlphaFrameImage::GetRect(pSprite, nFrame);
    if (pSprite && pSprite->nUser[0] == kFanCard) {
        const int visibleWidth = int(unsigned(pSprite->nUser[1]) >> 16);
        const int index = pSprite->nUser[1] & 0xFFFF;
        if (index < m_nFanLastIndex)
            rect.right = rect.left + visibleWidth;
    }
    return rect;
}
