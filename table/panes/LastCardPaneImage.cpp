#include "table/panes/LastCardPaneImage.h"

#include <algorithm>
#include <cstring>

namespace {

const int kCardWidth = 54, kCardHeight = 72;

} // namespace

CLastCardPaneImage::CLastCardPaneImage(int nId) : CPaneImage(nId) {
    memset(m_cards, 0, sizeof m_cards);
    m_painter.Initialization(1);
    m_painter.AddCustomSheet(kCardSize54x72, kCardSheetResource,
                             kSheetBigJoker | kSheetSmallJoker | kSheetBack);
}

BOOL CLastCardPaneImage::LoadLastCardPane(LPCSTR layoutFile, LPCSTR section) {
    return LoadBackground(layoutFile, section, "lastcard_bmp", 2);
}

void CLastCardPaneImage::SetLastCards(const tagCARD block[kSeatCount][kHandSize],
                                      const int count[kSeatCount]) {
    memcpy(m_cards, block, sizeof m_cards);
    for (int view = 0; view < kSeatCount; ++view)
        m_count[view] = std::clamp(count[view], 0, int(kHandSize));
}

POINT CLastCardPaneImage::RowOrigin(int view, int count) const {
    const int w = count * kCardSpacing + 39;
    switch (view) {
    case 0:
        return POINT{m_cx / 2 - w / 2, m_cy - 94};
    case 1:
        return POINT{20, m_cy / 2 + 25};
    case 2:
        return POINT{20, m_cy / 2 - 72};
    case 3:
        return POINT{m_cx / 2 - w / 2, 45};
    case 4:
        return POINT{m_cx - w - 20, m_cy / 2 - 72};
    default:
        return POINT{m_cx - w - 20, m_cy / 2 + 25};
    }
}

int CLastCardPaneImage::CodeOfRecord(const tagCARD& card) {
    const BYTE flags = card.flags & ~(kCardPlayed | kCardPicked);
    if (!(flags & kCardHeld))
        return -1;
    if (flags & 0x02) // a card the player may not see
        return kCodeBack;
    const int kind = card.suit < 52 ? card.suit * 13 + card.rank : card.suit;
    return CardFaceCode(kind);
}

void CLastCardPaneImage::DrawRow(CDC* dc, int view) {
    const int count = m_count[view];
    const POINT origin = RowOrigin(view, count);
    for (int i = 0; i < count; ++i) {
        const int code = CodeOfRecord(m_cards[view][i]);
        const int x = origin.x + i * kCardSpacing;
        const RECT card{x, origin.y, x + 71, origin.y + 96};
        // The painter takes 16-bit places: a card off the pane is not drawn.
        if (code < 0 || x < 0 || origin.y < 0 || !dc->RectVisible(&card))
            continue;
        m_painter.ShowCard(dc, WORD(code), WORD(x), WORD(origin.y), 0, 0, kCardSize54x72, 0, 0);
    }
}

void CLastCardPaneImage::Draw(HDC hdc, int, SPRITEINFO*, int dx, int dy, int w, int h, int sx,
                              int sy, int nAlpha) {
    DrawPane(hdc, dx, dy, w, h, sx, sy, nAlpha, [&](HDC canvas) {
        DrawHalfBackground(canvas);
        CDC* dc = CDC::FromHandle(canvas);
        for (int view = 0; view < kSeatCount; ++view)
            DrawRow(dc, view);
    });
}
