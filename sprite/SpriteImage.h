#pragma once

// Everything a sprite shows: a reference-counted frame source that knows its
// size, its frames and their delays, and draws any part of a frame at a
// constant alpha. The sprite window keeps its images in an image list.

#include "platform/PtrList.h"
#include "platform/gdi/Gdi.h"
#include "sprite/GdiRoutines.h"
#include "sprite/SpriteInfo.h"
#include "sprite/SystemProcs.h"

#include <algorithm>

// An image's frame delay that stands for the engine's default (5 ticks).
constexpr int kDefaultFrameDelay = -1;

class CSpriteImage {
public:
    virtual ~CSpriteImage() = default;
    virtual int AddRef() { return ++m_nRef; }
    virtual int Release() {
        if (m_nRef > 0)
            --m_nRef;
        return m_nRef;
    }
    virtual SIZE GetSize(SPRITEINFO* pSprite) = 0;
    // Added to the source position when drawing.
    virtual POINT GetOrigin(SPRITEINFO*, int) { return POINT{0, 0}; }
    // The frame's rectangle relative to the sprite's point.
    virtual RECT GetRect(SPRITEINFO* pSprite, int nFrame);
    virtual int GetFrameCount(SPRITEINFO* pSprite) = 0;
    // Draws the part (sx, sy, w, h) of the frame at (dx, dy); the low byte of
    // nAlpha is the constant alpha (255 = opaque).
    virtual void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h,
                      int sx, int sy, int nAlpha) = 0;
    // Ticks the frame shows; kDefaultFrameDelay for the engine's default.
    virtual int GetFrameDelay(int) { return 0; }
    // A part of the frame, relative to the sprite's point as GetRect, that
    // Draw at full alpha covers whatever lies under it: what is below there
    // need not be drawn. Empty when the image cannot tell.
    virtual RECT GetOpaqueRect(SPRITEINFO*, int) { return RECT{0, 0, 0, 0}; }

    int m_nId = -1;
    int m_nRef = 0;
    BOOL m_bAutoFree = FALSE;
};

class CSpriteImageList {
public:
    CSpriteImageList() = default;
    // Deletes every image in it, whatever its count.
    ~CSpriteImageList();
    CSpriteImageList(const CSpriteImageList&) = delete;
    CSpriteImageList& operator=(const CSpriteImageList&) = delete;

    POSITION Add(CSpriteImage* pImage) { return m_list.AddTail(pImage); }
    // The first image with the id; a null POSITION when there is none.
    POSITION Find(int nId, CSpriteImage** ppImage = nullptr) const;
    CSpriteImage* GetAt(POSITION pos) const {
        return pos ? static_cast<CSpriteImage*>(m_list.GetAt(pos)) : nullptr;
    }
    int AddRef(POSITION pos);
    // Unlinks and deletes an autofree image whose count falls to 0.
    int Release(POSITION pos);
    int GetCount() const { return m_list.GetCount(); }

private:
    CPtrList m_list;
};

// How an image lays its drawing onto the destination: with a constant alpha
// below 255 through a scratch canvas that first receives a copy of the
// destination, then the drawing, and is blended back; opaque drawing goes
// straight on, which gives the same pixels without the copies. Without
// AlphaBlend (MSIMG32 missing) images draw opaque.
// paint(hdc, x, y) draws the part with its top-left at (x, y) in hdc.
template <typename Paint>
void ComposeImage(HDC hdc, int dx, int dy, int w, int h, int nAlpha, Paint paint) {
    if (w <= 0 || h <= 0)
        return;
    const BYTE alpha = BYTE(nAlpha & 0xFF);
    if (alpha == 255 || !FindAlphaBlend()) {
        paint(hdc, dx, dy);
        return;
    }
    ScratchDC canvas(w, h);
    BitBlt(canvas.dc(), 0, 0, w, h, hdc, dx, dy, SRCCOPY);
    paint(canvas.dc(), 0, 0);
    BlendConstantAlpha(hdc, dx, dy, w, h, canvas.dc(), 0, 0, alpha);
}

// For images drawn as a whole (digits, text, panes): render(dc) draws the
// whole frame at the DC's (0, 0); it is drawn straight into the destination,
// moved to where the frame's top left falls and clipped to the asked part,
// so what it draws outside that part costs little and changes nothing.
template <typename Render>
void DrawWholeFrame(HDC hdc, int dx, int dy, int w, int h, int sx, int sy, SIZE size, int nAlpha,
                    Render render) {
    ComposeImage(hdc, dx, dy, w, h, nAlpha, [&](HDC target, int x, int y) {
        const RECT part{std::max(sx, 0), std::max(sy, 0), std::min(sx + w, int(size.cx)),
                        std::min(sy + h, int(size.cy))};
        DrawMoved(target, POINT{x - sx, y - sy}, part, render);
    });
}
