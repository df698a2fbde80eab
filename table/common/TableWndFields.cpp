#include "table/common/TableWndFields.h"

#include "game/GameLogic.h"
#include "sprite/GameLayout.h"

void CTableWndFields::ClearLastCards(int view) {
    if (view < 0 || view >= kSeatCount)
        return;
    nLastCards[view] = 0;
    for (tagCARD& card : lastCards[view])
        card = tagCARD{};
}

BOOL CTableWndFields::AddLastCard(int view, int card) {
    if (view < 0 || view >= kSeatCount || nLastCards[view] >= kHandSize || card < 0 ||
        card >= kCardCodeCount)
        return FALSE;
    // A card laid on the table is a real card: held, so the last-card pane
    // draws its face.
    lastCards[view][nLastCards[view]++] = CGameLogic::CardFromIndex(card);
    return TRUE;
}

BOOL CTableWndFields::MayShowMyHand() const {
    return !viewpoint.bWatcher || board.GetWatcherSees(viewpoint.nMySeat);
}

SIZE CTableWndFields::CardSize() const {
    if (sizeCardNow.cx > 0)
        return sizeCardNow;
    return pLayout ? pLayout->m_sizeCard : SIZE{0, 0};
}

int CTableWndFields::CardInterval() const {
    if (nIntervalNow > 0)
        return nIntervalNow;
    return pLayout ? pLayout->m_nInterval : 15;
}

SIZE CTableWndFields::LittleCardSize() const {
    return pLayout ? pLayout->m_sizeLittleCard : SIZE{0, 0};
}

int CTableWndFields::LittleInterval() const {
    return pLayout ? pLayout->m_nLittleInterval : 15;
}

int CTableWndFields::Border() const {
    return pLayout ? pLayout->m_nBorder : 40;
}

CSpritePos CTableWndFields::AvatarPoint(int view) const {
    if (!pLayout || view < 0 || view >= kSeatCount)
        return CSpritePos{};
    return pLayout->m_posAvatar[view];
}

CSpritePos CTableWndFields::OutCardPoint(int view) const {
    if (!pLayout || view < 0 || view >= kSeatCount)
        return CSpritePos{};
    return pLayout->m_posOutCard[view];
}

CSpritePos CTableWndFields::TableCardPos(int view, int i, int n) const {
    const int step = CardInterval();
    const int w = CardsWidth(n);
    const int h = CardSize().cy;
    const CSpritePos out = OutCardPoint(view);
    CSpritePos pos;
    pos.anchor = out.anchor;
    switch (view) {
    case 0: // centred on the anchor whatever the point's x
        pos.x = -w / 2 + i * step, pos.y = out.y - h;
        break;
    case 1:
    case 2:
        pos.x = out.x + i * step, pos.y = out.y - h / 2;
        break;
    case 3:
        pos.x = -w / 2 + i * step, pos.y = out.y;
        break;
    default:
        pos.x = out.x - (w - i * step), pos.y = out.y - h / 2;
        break;
    }
    return pos;
}

SpriteDone CTableWndFields::CardsLanded() {
    return [this] {
        if (cardsSettled)
            cardsSettled();
    };
}

SpriteDone CTableWndFields::TransferLanded() {
    return [this] {
        // Only the flight that completes the count goes on, once.
        if (++nEndedTransfers == nExpectedTransfers && cardsSettled)
            cardsSettled();
    };
}
