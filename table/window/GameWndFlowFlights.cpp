// Cards flying between seats: a single card, two cards swapped when a three
// is bought, and the cards of a tribute. A flight that starts or ends in my
// hand is the played cards' business and changes my drawn hand when its
// faces may show; between two other seats the window flies the faces itself.

#include "sprite/AppServices.h"
#include "table/window/GameWnd.h"

#include <utility>

namespace {

constexpr int kFlightTicks = 150;
constexpr int kFlightRest = 4;
constexpr int kFlightLayer = 55;

} // namespace

POSITION CGameWnd::FlyFace(int card, const CSpritePos& from, const CSpritePos& to, int rest,
                           int endEvent, SpriteDone onLanded) {
    const POSITION image = m_hands.GetCardImage(card);
    if (image == nullptr)
        return nullptr;
    auto* line = new CStraightLine;
    line->Init(from.x, from.y, from.anchor, to.x, to.y, to.anchor, kFlightTicks, rest, 255, 255);
    POSITION pos = AddSprite(image, line, 0, kFlightLayer, 1, card, kMyCardName, TRUE);
    const BOOL notify = endEvent >= 0;
    if (pos != nullptr && !PlaySprite(pos, notify, notify ? endEvent : 0, kFlightLayer, 1, TRUE,
                                      std::move(onLanded))) {
        RemoveSprite(pos);
        pos = nullptr;
    }
    if (pos == nullptr)
        WriteLog("The table could not fly card %d", card);
    return pos;
}

SpriteDone CGameWnd::RecordLanding(int endEvent) {
    return endEvent == kCardsLandedEnd ? m_fields.CardsLanded() : SpriteDone{};
}

BOOL CGameWnd::FlyCards(int fromSeat, int toSeat, int card, int endEvent) {
    if (!IsSeat(fromSeat) || !IsSeat(toSeat) || fromSeat == toSeat || !IsCardCode(card))
        return FALSE;
    const int me = m_fields.viewpoint.nMySeat;
    if (fromSeat == me || toSeat == me) {
        // A hand whose faces show really changes; a hidden one only sees
        // the card pass.
        if (m_fields.MayShowMyHand())
            return m_tableCards.GiveCard(&m_hands, fromSeat, toSeat, card, endEvent,
                                         RecordLanding(endEvent));
        return m_tableCards.FlyOneCard(&m_hands, fromSeat, toSeat, card, endEvent,
                                       RecordLanding(endEvent));
    }
    const BOOL flown = FlyFace(card, m_fields.SeatPlace(fromSeat), m_fields.SeatPlace(toSeat),
                               kFlightRest, endEvent, RecordLanding(endEvent)) != nullptr;
    m_fields.bResortPending = FALSE;
    return flown;
}

BOOL CGameWnd::SwapFlyCards(int seatA, int cardA, int seatB, int cardB, int endEvent) {
    if (!IsSeat(seatA) || !IsSeat(seatB) || seatA == seatB || !IsCardCode(cardA) ||
        !IsCardCode(cardB))
        return FALSE;
    const int me = m_fields.viewpoint.nMySeat;
    if (seatA == me || seatB == me) {
        // Mine leaves, the other seat's comes in.
        const bool mineIsA = seatA == me;
        const int other = mineIsA ? seatB : seatA;
        const int out = mineIsA ? cardA : cardB;
        const int in = mineIsA ? cardB : cardA;
        if (m_fields.MayShowMyHand())
            return m_tableCards.ExchangeCard(&m_hands, me, out, other, in, endEvent,
                                             RecordLanding(endEvent));
        return m_tableCards.FlyTwoCards(&m_hands, me, out, other, in, endEvent,
                                        RecordLanding(endEvent));
    }
    const BOOL flown = FlyFace(cardA, m_fields.SeatPlace(seatA), m_fields.SeatPlace(seatB),
                               kFlightRest, -1) != nullptr &&
                       FlyFace(cardB, m_fields.SeatPlace(seatB), m_fields.SeatPlace(seatA),
                               kFlightRest, endEvent, RecordLanding(endEvent)) != nullptr;
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
    // A flight at my place is over when its arrivals are counted: it is
    // under way when one of them is awaited.
    if (fromSeat == m_fields.viewpoint.nMySeat || toSeat == m_fields.viewpoint.nMySeat) {
        m_fields.nExpectedTransfers = 0;
        m_fields.nEndedTransfers = 0;
        if (fromSeat == m_fields.viewpoint.nMySeat)
            m_tableCards.GiveCards(&m_hands, fromSeat, toSeat, cards, count);
        else if (m_fields.MayShowMyHand())
            m_hands.ReceiveCards(cards, count, fromSeat, toSeat); // they join my hand
        else
            m_hands.FlyToHand(cards, count, fromSeat, toSeat);
        return m_fields.nExpectedTransfers > 0 ? 1 : 0;
    }
    // Between two other seats the cards fly side by side; the last one says
    // the flight is over.
    const CSpritePos from = m_fields.SeatPlace(fromSeat);
    const CSpritePos to = m_fields.SeatPlace(toSeat);
    const int spacing = m_fields.CardInterval();
    m_fields.nEndedTransfers = 0;
    m_fields.nExpectedTransfers = 1;
    m_fields.bResortPending = FALSE;
    for (int k = 0; k < count; ++k) {
        CSpritePos a = from, b = to;
        a.x += k * spacing;
        b.x += k * spacing;
        const bool last = k == count - 1;
        if (FlyFace(cards[k], a, b, 0, last ? kTransferLandedEnd : -1,
                    last ? m_fields.TransferLanded() : SpriteDone{}) == nullptr) {
            WriteLog("IntributeFlyCard, line:%d", __LINE__);
            m_fields.nExpectedTransfers = 0;
            return 0;
        }
    }
    return 1;
}
