#pragma once

// Sprite images drawn from an animated GIF: with the GIF's transparent colour
// (mask mode 0), through a mask GIF (mode 1: SRCAND then SRCPAINT) or with a
// per-pixel alpha from the mask GIF's palette reds (mode 2); and the turn
// clock's GIF with a two-digit counter drawn over it.

#include "sprite/DigitImage.h"
#include "sprite/GifImage.h"
#include "sprite/SpriteImage.h"

class CGifSpriteImage : public CSpriteImage {
public:
    CGifSpriteImage() { m_bAutoFree = TRUE; }
    // Reads ID, GIF, AUTOFREE, MASKMODE and MASK from the ini section; the
    // file names are joined to the folder. FALSE when the GIF or its mask
    // does not load (nothing is kept then).
    BOOL Load(LPCSTR section, LPCSTR iniFile, LPCSTR folder, BOOL bCacheOnly);

    SIZE GetSize(SPRITEINFO*) override;
    int GetFrameCount(SPRITEINFO*) override { return m_gif.GetFrameCount(); }
    // GIF delays are hundredths of a second: engine ticks.
    int GetFrameDelay(int nFrame) override;
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

    CGifImage& GetGif() { return m_gif; }
    CGifImage& GetMask() { return m_mask; }
    int GetMaskMode() const { return m_nMaskMode; }
    void SetMaskMode(int nMode) { m_nMaskMode = nMode; }

protected:
    // The mask frame that goes with the picture's frame.
    const CGifFrame* MaskFrame(int nFrame) const;
    // Mode 2: each pixel blended by the red of its mask palette entry.
    void DrawAlpha(HDC hdc, int nFrame, int dx, int dy, int w, int h, int sx, int sy) const;

    CGifImage m_gif;
    CGifImage m_mask;
    int m_nMaskMode = 0;
};

class CCounterGifImage : public CGifSpriteImage {
public:
    static constexpr POINT kDigitShift{8, 2};

    // The digit image stays its owner's.
    void SetDigits(CDigitImage* pDigits) { m_pDigits = pDigits; }
    void SetValue(int nValue) { m_nValue = nValue; }
    int GetValue() const { return m_nValue; }

    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

private:
    CDigitImage* m_pDigits = nullptr;
    int m_nValue = 0;
};

// A GIF sprite image from an ini section; null when it does not load.
CGifSpriteImage* NewGifSpriteImage(LPCSTR section, LPCSTR iniFile, LPCSTR folder, BOOL bCacheOnly);
