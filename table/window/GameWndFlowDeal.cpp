// The deal: 216 cards, four to each of the 54 backs of the deck; my cards go
// into my hand, and every fifth card of the others flies a back to the seat.

#include "sprite/AppServices.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameWndActionRules.h"
#include "table/common/TableAppLink.h"
#include "table/window/GameWnd.h"

namespace {

constexpr int kDealFlightTicks = 5;
constexpr int kDealFlightRest = 4;
constexpr int kDealFlightLayer = 55;
// The first cards of the others fly no back (the deck is still whole there).
constexpr int kNoFlightCount = 214;

} // namespace

void CGameWnd::OnDealCard(int card, int seat) {
    // A card beyond the deal (or before one began) changes nothing.
    if (m_nCardsToDeal <= 0 || m_nCardsToDeal > kDealCount || !IsSeat(seat))
        return;
    const int count = --m_nCardsToDeal;
    const POSITION back = m_deck[count / 4];
    if (count % 4 == 0) {
        if (back != nullptr)
            CSpriteWnd::StopSprite(back, TRUE, TRUE);
    }
    if (seat == m_fields.viewpoint.nMySeat) {
        PlayGameSound("fapai0.wav");
        if (m_fields.MayShowMyHand() && IsCardCode(card))
            m_hands.DealCard(card, back, CCardLayout::kNoNotify);
        else
            m_hands.DealBack(card, back, CCardLayout::kNoNotify);
        return;
    }
    if (count % 5 != 4 || count == kNoFlightCount)
        return;
    const POSITION backImage = m_hands.GetCardBackImage();
    if (backImage == nullptr)
        return;
    const CSpritePos from = back != nullptr ? SpritePlaceOf(this, back) : PosAt(0, 0, 4);
    const CSpritePos to = m_fields.SeatPlace(seat);
    auto* line = new CStraightLine;
    line->Init(from.x, from.y, from.anchor, to.x, to.y, to.anchor, kDealFlightTicks,
               kDealFlightRest, 100, 255);
    POSITION flight = AddSprite(backImage, line, 0, kDealFlightLayer, 1, 0, "BackCard", TRUE);
    if (flight != nullptr && !PlaySprite(flight, TRUE, kDealFlightEnd, kDealFlightLayer, 1, TRUE))
        RemoveSprite(flight);
}

void CGameWnd::ShowDeckBacksLeft() {
    if (m_nCardsToDeal <= 0)
        return;
    // Four cards use one back, the last back first.
    const int left = (m_nCardsToDeal + 3) / 4;
    for (int i = 0; i < left && i < kDeckSize; ++i) {
        if (m_deck[i] != nullptr)
            StartSprite(m_deck[i], kNotifyNone, 0, -1, 0, FALSE);
    }
}

void CGameWnd::OnDealEnd() {
    if (m_fields.viewpoint.nCardOrder)
        m_hands.SortCardbyWeight(TRUE);
    m_bInputAllowed = 1;
    EndHeldRecord();
}
