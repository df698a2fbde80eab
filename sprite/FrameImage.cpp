#include "sprite/FrameImage.h"

#include "platform/gdi/GdiWrappers.h"

#include <algorithm>
#include <cstring>
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

// The part (x, y, size) of the bitmap as 32-bit pixels, rows top-down; false
// when the part does not lie wholly on the bitmap.
bool ReadPart(HBITMAP bitmap, int x, int y, SIZE size, std::vector<uint32_t>& pixels) {
    const CSize whole = GetHBitmapSize(bitmap);
    if (x < 0 || y < 0 || x + size.cx > whole.cx || y + size.cy > whole.cy)
        return false;
    ScratchDC part(size.cx, size.cy);
    BlitBitmap(part.dc(), 0, 0, size.cx, size.cy, bitmap, x, y, SRCCOPY);
    pixels.resize(size_t(size.cx) * size_t(size.cy));
    for (int row = 0; row < size.cy; ++row)
        memcpy(pixels.data() + size_t(row) * size_t(size.cx), part.Row(row),
               size_t(size.cx) * sizeof(uint32_t));
    return true;
}

// The largest rectangle of black pixels in the part of the bitmap, relative
// to the part's top left (row by row, the heights of black runs above each
// column make a histogram whose largest rectangle is found with a stack).
RECT LargestBlackRect(HBITMAP bitmap, const RECT& part) {
    RECT best{0, 0, 0, 0};
    const CSize size = GetHBitmapSize(bitmap);
    RECT area;
    const RECT whole{0, 0, size.cx, size.cy};
    std::vector<uint32_t> pixels;
    if (!IntersectRect(&area, &whole, &part) ||
        !ReadPart(bitmap, area.left, area.top, SIZE{area.right - area.left, area.bottom - area.top},
                  pixels))
        return best;
    const int w = area.right - area.left, h = area.bottom - area.top;
    std::vector<int> heights(size_t(w) + 1, 0); // a last column of 0 empties the stack
    std::vector<int> stack;
    long bestArea = 0;
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = pixels.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x)
            heights[size_t(x)] = (row[x] & 0xFFFFFF) == 0 ? heights[size_t(x)] + 1 : 0;
        stack.clear();
        for (int x = 0; x <= w; ++x) {
            while (!stack.empty() && heights[size_t(stack.back())] >= heights[size_t(x)]) {
                const int height = heights[size_t(stack.back())];
                stack.pop_back();
                const int left = stack.empty() ? 0 : stack.back() + 1;
                if (long(height) * (x - left) > bestArea) {
                    bestArea = long(height) * (x - left);
                    best = RECT{left, y - height + 1, x, y + 1};
                }
            }
            stack.push_back(x);
        }
    }
    OffsetRect(&best, area.left - part.left, area.top - part.top);
    return best;
}

} // namespace

CFrameImage::KeyedFrame::~KeyedFrame() {
    if (bitmap)
        DeleteObject(bitmap);
}

const CFrameImage::KeyedFrame* CFrameImage::Keyed(int nFrame) {
    if (m_bKeyedTried[nFrame])
        return m_keyed[nFrame].get();
    m_bKeyedTried[nFrame] = true;
    const Frame& frame = m_frames[nFrame];
    std::vector<uint32_t> mask, picture;
    if (!m_hMask || m_size.cx <= 0 || m_size.cy <= 0 ||
        !ReadPart(m_hMask, m_maskRect.left, m_maskRect.top, m_size, mask) ||
        !ReadPart(frame.hBitmap, frame.rect.left, frame.rect.top, m_size, picture))
        return nullptr;
    std::vector<uint32_t> shown;
    for (size_t i = 0; i < mask.size(); ++i) {
        const uint32_t m = mask[i] & 0xFFFFFF, p = picture[i] & 0xFFFFFF;
        if (m == 0)
            shown.push_back(p);
        else if (m != 0xFFFFFF || p != 0)
            return nullptr; // grey in the mask, or picture under its clear part
    }
    std::sort(shown.begin(), shown.end());
    uint32_t key = 0xFF00FF;
    while (std::binary_search(shown.begin(), shown.end(), key))
        ++key;
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{
        sizeof(BITMAPINFOHEADER), m_size.cx, -m_size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    auto keyed = std::make_unique<KeyedFrame>();
    keyed->bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bits)
        return nullptr;
    auto* out = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < mask.size(); ++i)
        out[i] = (mask[i] & 0xFFFFFF) == 0 ? picture[i] : key;
    keyed->key = RGB(key >> 16, key >> 8 & 0xFF, key & 0xFF);
    m_keyed[nFrame] = std::move(keyed);
    return m_keyed[nFrame].get();
}

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
    for (int frame = 0; frame < kMaxFrames; ++frame) {
        m_keyed[frame].reset();
        m_bKeyedTried[frame] = false;
    }
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
    if (const KeyedFrame* keyed = m_hMask ? Keyed(nFrame) : nullptr) {
        SourceDC source(keyed->bitmap);
        TransparentBlt(hdc, x, y, w, h, source.dc(), sx, sy, w, h, keyed->key);
        return;
    }
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
