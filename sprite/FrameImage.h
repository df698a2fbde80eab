#pragma once

// Images cut from bitmaps: up to ten frames, each a part of a bitmap with its
// delay, with an optional mask (SRCAND of the mask, then SRCPAINT of the
// frame); the card images add the highlight tint and the narrowed hit
// rectangle of a card inside a fan. The bitmaps stay their owners'.

#include "sprite/SpriteImage.h"

#include <memory>

class CFrameImage : public CSpriteImage {
public:
    static constexpr int kMaxFrames = 10;

    CFrameImage() { m_bAutoFree = TRUE; }
    // FALSE when ten frames are held; the first frame sets the size. A null
    // rectangle takes the whole bitmap.
    BOOL AddFrame(HBITMAP hBitmap, const RECT* pRect, int nDelay);
    void SetMask(HBITMAP hBitmap, const RECT* pRect);

    SIZE GetSize(SPRITEINFO*) override { return m_size; }
    int GetFrameCount(SPRITEINFO*) override { return m_nFrames; }
    int GetFrameDelay(int nFrame) override;
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;
    // Without a mask the whole frame; with one, the largest rectangle where
    // the mask is black (there the frame's pixels replace what is below).
    RECT GetOpaqueRect(SPRITEINFO* pSprite, int nFrame) override;

protected:
    // The frame's part at (x, y) in hdc, opaque.
    void PaintFrame(HDC hdc, int nFrame, int x, int y, int w, int h, int sx, int sy);

    // A masked frame whose mask is black or white only and whose picture is
    // black where the mask is white draws the same in one pass: a copy of
    // the picture with the clear pixels in a key colour no opaque pixel has,
    // drawn without them. Made on the frame's first draw.
    struct KeyedFrame {
        KeyedFrame() = default;
        ~KeyedFrame();
        KeyedFrame(const KeyedFrame&) = delete;
        KeyedFrame& operator=(const KeyedFrame&) = delete;
        HBITMAP bitmap = nullptr;
        COLORREF key = 0;
    };
    const KeyedFrame* Keyed(int nFrame);

    struct Frame {
        HBITMAP hBitmap;
        RECT rect;
        int nDelay;
    };
    Frame m_frames[kMaxFrames] = {};
    int m_nFrames = 0;
    SIZE m_size{0, 0};
    HBITMAP m_hMask = nullptr;
    RECT m_maskRect{0, 0, 0, 0};
    // The mask's opaque rectangle, found on first asking.
    RECT m_maskOpaque{0, 0, 0, 0};
    bool m_bMaskOpaqueKnown = false;
    std::unique_ptr<KeyedFrame> m_keyed[kMaxFrames];
    bool m_bKeyedTried[kMaxFrames] = {};
};

class CAlphaFrameImage : public CFrameImage {
public:
    // Bit 31 of the sprite's third caller word: the card is selected.
    static constexpr int kHighlightBit = int(0x80000000u);
    static constexpr COLORREF kHighlightColor = 0xC0C000;

    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;
};

class CCardFaceImage : public CAlphaFrameImage {
public:
    // The first caller word that marks a card inside a fan.
    static constexpr int kFanCard = 100;

    // Cards inside a fan (below its last index) are hit and repainted only
    // over their visible strip: the second caller word holds
    // (visible width << 16) | index in the fan.
    RECT GetRect(SPRITEINFO* pSprite, int nFrame) override;
    // The index of the fan's last card, kept by the card layout.
    void SetFanLastIndex(int nIndex) { m_nFanLastIndex = nIndex; }

private:
    int m_nFanLastIndex = 0;
};
