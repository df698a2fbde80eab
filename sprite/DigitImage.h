#pragma once

// A two-digit countdown: a background (left half picture, right half its
// alpha) with the number drawn in cells of a ten-digit strip keyed by magenta.
// The sprite's second caller word is the start value; frame f shows
// start - f, one second a frame, down to 1. While the third caller word is
// kNumberShownAbove another sprite shows the number over it, and only the
// background is drawn (two numbers a few pixels apart read as four digits).

#include "sprite/SpriteImage.h"

class CDigitImage : public CSpriteImage {
public:
    static constexpr int kSecondTicks = 100;
    static constexpr int kNumberShownAbove = 1;

    CDigitImage() { m_bAutoFree = TRUE; }
    // The bitmaps stay their owners'.
    void SetBitmaps(HBITMAP hBackground, HBITMAP hDigits, int tensX, int tensY, int unitsX,
                    int unitsY);

    SIZE GetSize(SPRITEINFO*) override { return m_size; }
    int GetFrameCount(SPRITEINFO* pSprite) override;
    int GetFrameDelay(int) override { return kSecondTicks; }
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

    // Draws a two-digit value (clamped to 0..99) with its cells at the offsets.
    void DrawNumber(HDC hdc, int nValue, POINT tens, POINT units);
    POINT GetTensOffset() const { return m_tens; }
    POINT GetUnitsOffset() const { return m_units; }

private:
    HBITMAP m_hBackground = nullptr;
    HBITMAP m_hDigits = nullptr;
    POINT m_tens{0, 0};
    POINT m_units{0, 0};
    SIZE m_size{0, 0};
    SIZE m_digit{0, 0};
};
