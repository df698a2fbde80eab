// What follows the table's animations, started as their end callbacks:
// receiving again once a flight's cards have settled (after the re-sort the
// card order asks for), and the deal laid out after the shuffle.

#include "sprite/AppServices.h"
#include "table/window/GameWnd.h"

namespace {

constexpr UINT kSettleDelayMs = 500;

} // namespace

void CGameWnd::FinishCardsSettled() {
    if (m_fields.viewpoint.nCardOrder != 0 && m_fields.bResortPending) {
        m_fields.bResortPending = FALSE;
        SetTimer(kCardsSettledTimer, kSettleDelayMs, nullptr);
        return;
    }
    EndHeldRecord();
}

void CGameWnd::ResetCardSprites() {
    m_bInputAllowed = 0;
    m_hands.ClearHand();
    m_nCardsToDeal = kDealCount;
    ShowDeckBacksLeft();
    // The deal goes round from my own seat.
    const int seat = m_fields.viewpoint.nMySeat;
    m_dealPace.SetDealStart(seat, seat);
    m_dealPace.StartDealTimers();
}
