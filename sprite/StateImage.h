#pragma once

// A four-state button image cut from one strip, each state blended per pixel
// by its alpha cell: a separate alpha bitmap's first cell, cell 4 of the
// strip for all states, or cells 4 to 7 (one per state).

#include "sprite/SpriteImage.h"

class CStateImage : public CSpriteImage {
public:
    static constexpr int kStates = 4;
    static constexpr int kStateDelay = 10;

    CStateImage() { m_bAutoFree = TRUE; }
    // The bitmaps stay their owners'. FALSE for an empty strip.
    BOOL SetBitmaps(HBITMAP hStrip, HBITMAP hAlpha, BOOL bOneAlphaCell);

    SIZE GetSize(SPRITEINFO*) override { return m_cell; }
    int GetFrameCount(SPRITEINFO*) override { return kStates; }
    int GetFrameDelay(int) override { return kStateDelay; }
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

private:
    HBITMAP m_hStrip = nullptr;
    HBITMAP m_hAlpha = nullptr; // the strip itself when the alpha is in it
    int m_nAlphaFirstCell = 0;
    BOOL m_bAlphaPerState = FALSE;
    SIZE m_cell{0, 0};
};
