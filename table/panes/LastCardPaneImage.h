#pragma once

// The last-card pane: the cards each of the six views laid last, drawn
// through the pane's own card painter at 54 x 72, 15 pixels apart.

#include "game/Cards.h"
#include "table/cards/CardPainter.h"
#include "table/panes/PaneImage.h"

// The program's resource bitmap with the jokers and the back at 54 x 72.
constexpr UINT kCardSheetResource = 3008;

class CLastCardPaneImage : public CPaneImage {
public:
    static constexpr int kCardSpacing = 15;

    explicit CLastCardPaneImage(int nId);
    BOOL LoadLastCardPane(LPCSTR layoutFile, LPCSTR section);
    // Copies the six views' rows of last cards and their counts (each held
    // to 0..55).
    void SetLastCards(const tagCARD block[kSeatCount][kHandSize], const int count[kSeatCount]);
    void Draw(HDC hdc, int nFrame, SPRITEINFO* pSprite, int dx, int dy, int w, int h, int sx,
              int sy, int nAlpha) override;

    // Where the row of a view with count cards stands in the pane.
    POINT RowOrigin(int view, int count) const;
    // The painter's code of a card record, or -1 when it is not drawn.
    static int CodeOfRecord(const tagCARD& card);

private:
    void DrawRow(CDC* dc, int view);

    CCardPainter m_painter;
    tagCARD m_cards[kSeatCount][kHandSize];
    int m_count[kSeatCount] = {};
};
