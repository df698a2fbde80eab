#include "sprite/FrameImage.h"

#include "platform/gdi/GdiWrappers.h"

#include <vector>

namespace {

RECT WholeBitmap(HBITMAP bitmap) {
    const CSize size = GetHBitmapSize(bitmap);
    return RECT{0, 0, size.cx, size.cy};
}

// The part of `rect` of the bitmap that lies on it, moved to (0, 0).
RECT OnBitmap(HBITMAP bitmap, const RECT& rect) {
    const RECT whole = WholeBitmap(bitmap);
    RECT part{0, 0, 0, 0};
    if (!IntersectRect(&part, &whole, &rect))
        return RECT{0, 0, 0, 0};
    OffsetRect(&part, -rect.left, -rect.top);
    return part;
}

// The largest rectangle of black pixels in the part of the bitmap, relative
// to the part's top left (row by row, the heights of black runs above each
// column make a histogram whose largest rectangle is found with a stack).
RECT LargestBlackRect(HBITMAP bitmap, const RECT& part) {
    const CSize size = GetHBitmapSize(bitmap);
    std::vector<uint32_t> pixels;
    RECT best{0, 0, 0, 0};
    if (!ReadBitmapPixels(bitmap, SIZE{size.cx, size.cy}, pixels))
        return best;
    RECT area;
    const RECT whole{0, 0, size.cx, size.cy};
    if (!IntersectRect(&area, &whole, &part))
        return best;
    const int w = area.right - area.left;
    std::vector<int> heights(size_t(w) + 1, 0); // a last column of 0 empties the stack
    std::vector<int> stack;
    long bestArea = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        const uint32_t* row = pixels.data() + size_t(y) * size_t(size.cx) + area.left;
        for (int x = 0; x < w; ++x)
            heights[size_t(x)] = (row[x] & 0xFFFFFF) == 0 ? heights[size_t(x)] + 1 : 0;
        stack.clear();
        for (int x = 0; x <= w; ++x) {
            while (!stack.empty() && heights[size_t(stack.back())] >= heights[size_t(x)]) {
                const int h = heights[size_t(stack.back())];
                stack.pop_back();
                const int left = stack.empty() ? 0 : stack.back() + 1;
                if (long(h) * (x - left) > bestArea) {
                    bestArea = long(h) * (x - left);
                    best = RECT{left, y - h + 1, x, y + 1};
                }
            }
            stack.push_back(x);
        }
    }
    OffsetRect(&best, area.left - part.left, -part.top);
    return best;
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
    m_bMaskOpaqueKnown = false;
}

RECT CFrameImage::GetOpaqueRect(SPRITEINFO*, int nFrame) {
    if (nFrame < 0 || nFrame >= m_nFrames)
        return RECT{0, 0, 0, 0};
    RECT opaque;
    if (!m_hMask) {
        opaque = OnBitmap(m_frames[nFrame].hBitmap, m_frames[nFrame].rect);
    } else {
        if (!m_bMaskOpaqueKnown) {
            m_maskOpaque = LargestBlackRect(m_hMask, m_maskRect);
            m_bMaskOpaqueKnown = true;
        }
        opaque = m_maskOpaque;
    }
    const RECT frame{0, 0, m_size.cx, m_size.cy};
    IntersectRect(&opaque, &opaque, &frame);
    return opaque;
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
