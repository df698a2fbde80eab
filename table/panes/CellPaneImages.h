#pragma once

// Panes cut from strips of cells, each picture cell blended through an
// alpha cell of the same strip: the remnant count (and, with the short
// strip, the multiple), the countdown's two digits and the gousiji mark.

#include "table/panes/PaneImage.h"

// 10 picture cells then their 10 alphas; with the short strip 5 and 5 (the
// multiple pane's levels 1..5). A value outside the strip's cells draws
// nothing.
class CRemnantPaneImage : public CPaneImage {
public:
    explicit CRemnantPaneImage(int nId) : CPaneImage(nId) {}
    BOOL LoadRemnantCardPane(LPCSTR layoutFile, LPCSTR section, BOOL shortStrip);
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;
    int CellCount() const { return m_bShortStrip ? 5 : 10; }

    BYTE m_bShortStrip = 0;
    int m_nValue = 0;
};

// Digits 0..9 in cells half the pane wide, then their alphas; the tens digit
// at x 0, the units at x 10. Values are held to 0..99.
class CCountdownPaneImage : public CPaneImage {
public:
    explicit CCountdownPaneImage(int nId) : CPaneImage(nId) {}
    BOOL LoadCountDownPane(LPCSTR layoutFile, LPCSTR section);
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

    int m_nValue = 0;
};

// Three pictures (values 1..3) and one alpha for all of them.
class CGouSJPaneImage : public CPaneImage {
public:
    explicit CGouSJPaneImage(int nId) : CPaneImage(nId) {}
    BOOL LoadGouSJPane(LPCSTR layoutFile, LPCSTR section);
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

    int m_nValue = 0;
};
