// The table's animation chain: each one-shot sprite ends with an event
// that starts the next step (the deal after the shuffle, receiving again
// once the cards have settled; the marks take the burn's steps and the
// clean sweep's), and the clocks that run out answer for the player.

#include "sprite/AppServices.h"
#include "table/GameNetClient.h"
#include "table/GameWnd.h"
#include "table/GameWndActionRules.h"

namespace {

constexpr UINT kSettleDelayMs = 500;

} // namespace

void CGameWnd::OnSpriteEnd(POSITION pos, int nParam) {
    switch (nParam) {
    case kNoticeEnd:
        if (GetSpriteId(pos) == m_nLastNoticeId) {
            m_nLastNoticeId = -1;
            ShowWaitingNotices();
        }
        break;
    case kShuffleEnd:
        ResetCardSprites();
        break;
    case kTransferLandedEnd:
        // Only the flight that completes the count goes on, once.
        if (++m_fields.nEndedTransfers == m_fields.nExpectedTransfers)
            FinishCardsSettled();
        break;
    case kCardsLandedEnd:
        FinishCardsSettled();
        break;
    default:
        // The marks' chain takes its own events (the burn, the clean sweep);
        // a step that lands where a mark came up while it moved steps aside.
        if (m_marks.OnAnimationEnd(nParam))
            SettleTablePictures();
        else if (nParam >= kClockEventMyTurn && nParam <= kClockEventLast)
            m_commands.AnswerClock(nParam);
        break;
    }
}

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
    m_nDeckBacksLeft = kDeckSize;
    ShowDeckBacksLeft();
    // The deal goes round from my own seat.
    const int seat = m_fields.viewpoint.nMySeat;
    m_dealPace.SetDealStart(seat, seat);
    m_dealPace.StartDealTimers();
}
