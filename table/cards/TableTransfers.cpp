// Single cards moving between my hand and other seats: tribute, return
// tribute and buying a three.

#include "game/GameLogic.h"
#include "sprite/AppServices.h"
#include "sprite/SpriteWnd.h"
#include "table/cards/TableCards.h"
#include "table/common/TableWndFields.h"

#include <algorithm>
#include <utility>

bool CTableCards::CanTransfer(CCardLayout* hands, int fromSeat, int toSeat, const int* cards, int n,
                              LPCSTR what) const {
    return hands && CheckSeats(fromSeat, toSeat) && CheckCardRecord(cards, n, false, what);
}

CSpritePos CTableCards::HandPart(CCardLayout* hands, int handExtra, int n, int k) const {
    const int count = int(hands->GetHand().size()) + handExtra;
    CSpritePos at(m_fields.CardsWidth(count) / 2 - m_fields.CardsWidth(n) / 2 +
                      k * m_fields.CardInterval(),
                  hands->HandBaseY());
    // Measured from the centre of my hand, whichever way the card flies.
    at.anchor = hands->MyHandFan(1).anchor;
    return at;
}

POSITION CTableCards::FlySingle(CCardLayout* hands, int card, const CSpritePos& from,
                                const CSpritePos& to, int notifyEvent, SpriteDone onLanded) {
    // A watcher who may not see my hand sees its cards pass as backs: the
    // face would tell him a card of the hand he must not see.
    const POSITION image =
        m_fields.MayShowMyHand() ? hands->GetCardImage(card) : hands->GetCardBackImage();
    return AddCardFlight(&m_wnd, image, from, to, CCardLayout::kFlightTicks, 255, 255,
                         CCardLayout::kFirstDepth, card, kMyCardName, TRUE, notifyEvent,
                         std::move(onLanded));
}

BOOL CTableCards::FlyOutOfHand(CCardLayout* hands, CHandList::iterator entry, const CSpritePos& to,
                               int z, int notifyEvent, SpriteDone onLanded) {
    const CSpritePos from = SpritePlaceOf(&m_wnd, entry->pos);
    const int card = entry->nCard;
    m_wnd.RemoveSprite(entry->pos);
    hands->GetHand().erase(entry);
    return AddCardFlight(&m_wnd, hands->GetCardImage(card), from, to, CCardLayout::kFlightTicks,
                         255, 255, z, card, nullptr, TRUE, notifyEvent,
                         std::move(onLanded)) != nullptr;
}

BOOL CTableCards::GiveCard(CCardLayout* hands, int fromSeat, int toSeat, int card, int event,
                           SpriteDone onLanded) {
    const int given[] = {card};
    if (!CanTransfer(hands, fromSeat, toSeat, given, 1, "GiveCard"))
        return FALSE;
    if (fromSeat == m_fields.viewpoint.nMySeat) {
        const CSpritePos to = m_fields.AvatarPoint(m_fields.viewpoint.ViewOf(toSeat));
        CHandList& hand = hands->GetHand();
        int k = 0, flown = 0;
        for (auto it = hand.begin(); it != hand.end();) {
            auto next = std::next(it);
            if (it->nCard == card)
                flown += FlyOutOfHand(hands, it, to, kFlightDepth + k++, event, onLanded) != 0;
            it = next;
        }
        hands->CalcLayout();
        m_fields.bResortPending = FALSE;
        // FALSE when the card was not in my hand: nothing will say it arrived.
        ExpectTransfers(event, flown);
        return flown > 0;
    }
    if (toSeat == m_fields.viewpoint.nMySeat) {
        const BOOL arriving = hands->ReceiveCard(card, m_fields.viewpoint.ViewOf(fromSeat), event,
                                                 std::move(onLanded));
        m_fields.bResortPending = TRUE;
        ExpectTransfers(event, arriving ? 1 : 0);
        return arriving;
    }
    return FALSE;
}

BOOL CTableCards::ExchangeCard(CCardLayout* hands, int fromSeat, int card, int toSeat, int cardIn,
                               int event, SpriteDone onLanded) {
    const int swapped[] = {card, cardIn};
    if (!CanTransfer(hands, fromSeat, toSeat, swapped, 2, "ExchangeCard") ||
        fromSeat != m_fields.viewpoint.nMySeat)
        return FALSE;
    GiveCard(hands, fromSeat, toSeat, card, CCardLayout::kNoNotify);
    // Only the card coming in tells that the exchange is over.
    const BOOL arriving =
        hands->ReceiveCard(cardIn, m_fields.viewpoint.ViewOf(toSeat), event, std::move(onLanded));
    m_fields.bResortPending = TRUE;
    ExpectTransfers(event, arriving ? 1 : 0);
    return arriving;
}

BOOL CTableCards::FlyOneCard(CCardLayout* hands, int fromSeat, int toSeat, int card, int event,
                             SpriteDone onLanded) {
    const int flown[] = {card};
    if (!CanTransfer(hands, fromSeat, toSeat, flown, 1, "FlyOneCard"))
        return FALSE;
    const CSpritePos hand = HandPart(hands, 1, 3, 0);
    POSITION flight = nullptr;
    if (fromSeat == m_fields.viewpoint.nMySeat)
        flight =
            FlySingle(hands, card, hand, m_fields.AvatarPoint(m_fields.viewpoint.ViewOf(toSeat)),
                      event, std::move(onLanded));
    else if (toSeat == m_fields.viewpoint.nMySeat)
        flight = FlySingle(hands, card, m_fields.AvatarPoint(m_fields.viewpoint.ViewOf(fromSeat)),
                           hand, event, std::move(onLanded));
    else
        return FALSE;
    m_fields.bResortPending = FALSE;
    ExpectTransfers(event, flight != nullptr ? 1 : 0);
    return flight != nullptr;
}

BOOL CTableCards::FlyTwoCards(CCardLayout* hands, int fromSeat, int card, int toSeat, int cardIn,
                              int event, SpriteDone onLanded) {
    const int flown[] = {card, cardIn};
    if (!CanTransfer(hands, fromSeat, toSeat, flown, 2, "FlyTwoCards") ||
        fromSeat != m_fields.viewpoint.nMySeat)
        return FALSE;
    const CSpritePos hand = HandPart(hands, 1, 3, 0);
    const CSpritePos other = m_fields.AvatarPoint(m_fields.viewpoint.ViewOf(toSeat));
    FlySingle(hands, card, hand, other, CCardLayout::kNoNotify);
    const POSITION last = FlySingle(hands, cardIn, other, hand, event, std::move(onLanded));
    m_fields.bResortPending = FALSE;
    ExpectTransfers(event, last != nullptr ? 1 : 0);
    return last != nullptr;
}

void CTableCards::ExpectTransfers(int event, int notifying) {
    // The window counts the arrivals of the transfer event against these;
    // other events end the flight by themselves.
    if (event == kTransferLandedEnd) {
        m_fields.nExpectedTransfers = notifying;
        m_fields.nEndedTransfers = 0;
    }
}

BOOL CTableCards::GiveCards(CCardLayout* hands, int fromSeat, int toSeat, const int* cards, int n) {
    if (!CanTransfer(hands, fromSeat, toSeat, cards, n, "GiveCards") ||
        fromSeat != m_fields.viewpoint.nMySeat)
        return FALSE;
    const CSpritePos to = m_fields.AvatarPoint(m_fields.viewpoint.ViewOf(toSeat));
    m_fields.nEndedTransfers = 0;
    m_fields.bResortPending = FALSE;
    if (!m_fields.MayShowMyHand()) {
        for (int k = 0; k < n; ++k)
            FlySingle(hands, cards[k], HandPart(hands, 1, n + 1, k), to,
                      k == n - 1 ? kTransferLandedEnd : CCardLayout::kNoNotify,
                      k == n - 1 ? m_fields.TransferLanded() : SpriteDone{});
        m_fields.nExpectedTransfers = n > 0 ? 1 : 0;
        return TRUE;
    }
    CHandList& hand = hands->GetHand();
    const int* end = cards + n;
    int flown = 0, k = 0;
    for (auto it = hand.begin(); it != hand.end();) {
        auto next = std::next(it);
        // With the card order on, every card equal to a given one leaves;
        // otherwise the given cards are matched one by one in hand order.
        const bool leaves = m_fields.viewpoint.nCardOrder ? std::find(cards, end, it->nCard) != end
                                                          : k < n && it->nCard == cards[k];
        if (leaves) {
            flown += FlyOutOfHand(hands, it, to, kFlightDepth + k, kTransferLandedEnd,
                                  m_fields.TransferLanded()) != 0;
            ++k;
        }
        it = next;
    }
    if (m_fields.viewpoint.nCardOrder)
        hands->SortCardbyWeight(TRUE);
    else
        hands->CalcLayout();
    // Only the cards that fly will say they arrived.
    m_fields.nExpectedTransfers = flown;
    return k == n;
}
