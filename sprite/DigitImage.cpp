#include "sprite/DigitImage.h"

#include "sprite/MemDC.h"

void CDigitImage::SetBitmaps(HBITMAP hBackground, HBITMAP hDigits, int tensX, int tensY, int unitsX,
                             int unitsY) {
    m_hBackground = hBackground;
    m_hDigits = hDigits;
    m_tens = POINT{tensX, tensY};
    m_units = POINT{unitsX, unitsY};
    const CSize background = GetHBitmapSize(hBackground);
    m_size = SIZE{background.cx / 2, background.cy};
    const CSize digits = GetHBitmapSize(hDigits);
    m_digit = SIZE{digits.cx / 10, digits.cy};
}

int CDigitImage::GetFrameCount(SPRITEINFO* pSprite) {
    // The start value; a countdown always has at least its one frame.
    return pSprite && pSprite->nUser[1] > 1 ? pSprite->nUser[1] : 1;
}

void CDigitImage::DrawNumber(HDC hdc, int nValue, POINT tens, POINT units) {
    if (!m_hDigits || m_digit.cx <= 0)
        return;
    // Two cells are all there is: larger values show 99.
    const int value = nValue < 0 ? 0 : nValue > 99 ? 99 : nValue;
    SourceDC digits(m_hDigits);
    TransparentBlit(hdc, tens.x, tens.y, m_digit.cx, m_digit.cy, digits.dc(),
                    (value / 10) * m_digit.cx, 0, m_digit.cx, m_digit.cy, kKeyColor);
    TransparentBlit(hdc, units.x, units.y, m_digit.cx, m_digit.cy, digits.dc(),
                    (value % 10) * m_digit.cx, 0, m_digit.cx, m_digit.cy, kKeyColor);
}

void CDigitImage::Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h,
                       int sx, int sy, int nAlpha) {
    if (!m_hBackground)
        return;
    const int start = pSprite ? pSprite->nUser[1] : 0;
    const bool numberAbove = pSprite && pSprite->nUser[2] == kNumberShownAbove;
    DrawWholeFrame(hdc, dx, dy, w, h, sx, sy, m_size, nAlpha, [&](HDC canvas) {
        AlphaBlit(canvas, 0, 0, m_size.cx, m_size.cy, m_hBackground, 0, 0, m_hBackground, m_size.cx,
                  0);
        if (!numberAbove)
            DrawNumber(canvas, start - nFrame, m_tens, m_units);
    });
}
