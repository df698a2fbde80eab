// Cards flying between seats: a single card, two cards swapped when a three
// is bought, and the cards of a tribute. A flight that starts or ends in my
// hand is the played cards' business; between two other seats the window
// flies the faces itself.

#include "sprite/AppServices.h"
#include "table/GameWnd.h"

namespace {

constexpr int kFlightTicks = 150;
constexpr int kFlightRest = 4;
constexpr int kFlightLayer = 55;

} // namespace

POSITION CGameWnd::FlyFace(int card, const CSpritePos& from, const CSpritePos& to, int rest,
                           int endEvent) {
    const POSITION image = m_hands.GetCardImage(card);
    if (image == nullptr)
        return nullptr;
    auto* line = new CStraightLine;
    line->Init(from.x, from.y, from.anchor, to.x, to.y, to.anchor, kFlightTicks, rest, 255, 255);
    POSITION pos = AddSprite(image, line, 0, kFlightLayer, 1, card, kMyCardName, TRUE);
    const BOOL notify = endEvent >= 0;
    if (pos != nullptr && !PlaySprite(pos, notify, notify ? endEvent : 0, kFlightLayer, 1, TRUE)) {
        RemoveSprite(pos);
        pos = nullptr;
    }
    if (pos == nullptr)
        WriteLog("The table could not fly card %d", card);
    return pos;
}

BOOL CGameWnd::FlyCards(int fromSeat, int toSeat, int card, int endEvent) {
    if (!IsSeat(fromSeat) || !IsSeat(toSeat) || fromSeat == toSeat || !IsCardCode(card))
        return FALSE;
    SyncClientFields();
    BOOL flown;
    if (fromSeat == m_fields.nMySeat || toSeat == m_fields.nMySeat)
        flown = m_tableCards.FlyOneCard(&m_hands, fromSeat, toSeat, card, endEvent);
    else
        flown =
            FlyFace(card, SeatPlace(fromSeat), SeatPlace(toSeat), kFlightRest, endEvent) != nullptr;
    m_fields.bResortPending = FALSE;
    return flown;
}

BOOL CGameWnd::SwapFlyCards(int seatA, int cardA, int seatB, int cardB, int endEvent) {
    if (!IsSeat(seatA) || !IsSeat(seatB) || seatA == seatB || !IsCardCode(cardA) ||
        !IsCardCode(cardB))
        return FALSE;
    SyncClientFields();
    BOOL flown;
    if (seatA == m_fields.nMySeat)
        flown = m_tableCards.FlyTwoCards(&m_hands, seatA, cardA, seatB, cardB, endEvent);
    else if (seatB == m_fields.nMySeat)
        flown = m_tableCards.FlyTwoCards(&m_hands, seatB, cardB, seatA, cardA, endEvent);
    else
        flown =
            FlyFace(cardA, SeatPlace(seatA), SeatPlace(seatB), kFlightRest, -1) != nullptr &&
            FlyFace(cardB, SeatPlace(seatB), SeatPlace(seatA), kFlightRest, endEvent) != nullptr;
    m_fields.bResortPending = FALSE;
    return flown;
}

int CGameWnd::IntributeFlyCard(int fromSeat, const int* cards, int count, int toSeat) {
    if (!IsSeat(fromSeat) || !IsSeat(toSeat) || fromSeat == toSeat) {
        WriteLog("IntributeFlyCard, line:%d", __LINE__);
        return 0;
    }
    if (cards == nullptr || count <= 0 || count > kHandSize ||
        !CheckCardRecord(cards, count, false, "IntributeFlyCard")) {
        WriteLog("IntributeFlyCard, line:%d", __LINE__);
        return 0;
    }
    SyncClientFields();
    if (fromSeat == m_fields.nMySeat)
        return m_tableCards.GiveCards(&m_hands, fromSeat, toSeat, cards, count) ? 1 : 0;
    if (toSeat == m_fields.nMySeat)
        return m_hands.FlyToHand(cards, count, fromSeat, toSeat) ? 1 : 0;
    // Between two other seats the cards fly side by side; the last one says
    // the flight is over.
    const CSpritePos from = SeatPlace(fromSeat);
    const CSpritePos to = SeatPlace(toSeat);
    const int spacing = m_fields.CardInterval();
    m_fields.nEndedTransfers = 0;
    m_fields.nExpectedTransfers = 1;
    m_fields.bResortPending = FALSE;
    for (int k = 0; k < count; ++k) {
        CSpritePos a = from, b = to;
        a.x += k * spacing;
        b.x += k * spacing;
        if (FlyFace(cards[k], a, b, 0, k == count - 1 ? kTributeFlightEvent : -1) == nullptr) {
            WriteLog("IntributeFlyCard, line:%d", __LINE__);
            m_fields.nExpectedTransfers = 0;
            return 0;
        }
    }
    return 1;
}
