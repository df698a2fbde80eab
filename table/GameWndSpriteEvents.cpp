// The table's animation chain: each one-shot sprite ends with an event
// that starts the next step (the deal after the shuffle, receiving again
// once the cards have settled, the burn's steps, the result pane after the
// last text), and the clocks that run out answer for the player.

#include "sprite/AppServices.h"
#include "table/GameNetClient.h"
#include "table/GameWnd.h"
#include "table/GameWndActionRules.h"

namespace {

enum ChainEvent {
    kNoticeEnd = 1003,
    kShuffleEnd = 1006,
    kCollectEnd = 1007,
    kTransferEnd = 1008,
    kBurnOneFirst = 1035, // + the target's view
    kBurnOneLast = 1040,
    kBurnTwoEnd = 1041,
    kChuanSanHuEnd = 1051,
};

constexpr UINT kSettleDelayMs = 500;
constexpr int kBurnTicks = 20;

} // namespace

void CGameWnd::OnSpriteEnd(POSITION pos, int nParam) {
    switch (nParam) {
    case kNoticeEnd:
        if (GetSpriteId(pos) == m_nLastNoticeId)
            m_nLastNoticeId = -1;
        break;
    case kShuffleEnd:
        ResetCardSprites();
        break;
    case kTransferEnd:
        // Only the flight that completes the count goes on, once.
        if (++m_fields.nEndedTransfers == m_fields.nExpectedTransfers)
            FinishCardsSettled();
        break;
    case kCollectEnd:
        FinishCardsSettled();
        break;
    case kBurnTwoEnd:
        BurnStepThree();
        break;
    case kChuanSanHuEnd:
        // The game's data went with the game-over record; a next game my
        // seat has started already keeps its table.
        if (m_bCleanSweep && !theBoard.GetStartFlag(MySeat()))
            ShowResultPane(m_cleanSweepResult);
        m_bCleanSweep = FALSE;
        break;
    default:
        if (nParam >= kBurnOneFirst && nParam <= kBurnOneLast)
            BurnStepTwo(nParam - kBurnOneFirst);
        else if (nParam >= kClockEventMyTurn && nParam <= kClockEventLast)
            m_commands.AnswerClock(nParam);
        break;
    }
}

void CGameWnd::FinishCardsSettled() {
    if (m_fields.nCardOrder != 0 && m_fields.bResortPending) {
        m_fields.bResortPending = FALSE;
        SetTimer(kCardsSettledTimer, kSettleDelayMs, nullptr);
        return;
    }
    EndHeldRecord();
}

void CGameWnd::PlayBurnCardAnim(int burningSeat, int targetSeat) {
    if (burningSeat == targetSeat || !IsSeat(burningSeat) || !IsSeat(targetSeat))
        return;
    const int view = ViewOf(burningSeat);
    const CSpritePos place = m_fields.AvatarPoint(view);
    const POINT by = view >= 4 ? POINT{-26, -5} : POINT{-20, -10};
    m_burnFrom = PosAt(place.x + by.x, place.y + by.y, place.anchor);
    POSITION pos = AddSpriteByName("烧牌One", kBurnOneSprite, TRUE, 0);
    if (pos == nullptr)
        return;
    auto* line = new CFixedLine;
    line->SetFrom(m_burnFrom.x, m_burnFrom.y, m_burnFrom.anchor, 255);
    SetSpriteLine(pos, line, TRUE, kBurnOneFirst + ViewOf(targetSeat), -1, 1, TRUE);
}

void CGameWnd::BurnStepTwo(int targetView) {
    POSITION pos = AddSpriteByName("烧牌Two", kBurnTwoSprite, TRUE, 0);
    if (pos == nullptr)
        return;
    const CSpritePos to = m_fields.AvatarPoint(targetView);
    auto* line = new CStraightLine;
    line->Init(m_burnFrom.x + 35, m_burnFrom.y + 55, m_burnFrom.anchor, to.x + 25, to.y + 80,
               to.anchor, kBurnTicks, -1, 255, 255);
    SetSpriteLine(pos, line, TRUE, kBurnTwoEnd, -1, 1, TRUE);
}

void CGameWnd::BurnStepThree() {
    POSITION pos = AddSpriteByName("烧牌Three", kBurnThreeSprite, TRUE, 0);
    if (pos == nullptr)
        return;
    auto* line = new CFixedLine;
    line->SetFrom(m_burnFrom.x + 35 - 140, m_burnFrom.y + 55 - 130, m_burnFrom.anchor, 255);
    SetSpriteLine(pos, line, FALSE, 0, -1, 1, TRUE);
}

void CGameWnd::ResetCardSprites() {
    ReceiveGate().Hold(); // the deal's end opens it
    m_bInputAllowed = 0;
    m_hands.ClearHand();
    m_nCardsToDeal = kDealCount;
    m_nDeckBacksLeft = kDeckSize;
    ShowDeckBacksLeft();
    // The deal goes round from my own seat.
    const int seat = MySeat();
    m_dealPace.SetDealStart(seat, seat);
    m_dealPace.StartDealTimers();
}
