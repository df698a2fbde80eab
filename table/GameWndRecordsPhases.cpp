// The questions before play: the point rounds, the revolution and the
// gousiji, and each seat's answer.

#include "sprite/AppServices.h"
#include "table/GameNetClient.h"
#include "table/GameWnd.h"

#include <cstdio>
#include <cstdlib>

namespace {

int TimeLimit(int number) {
    return theBoard.GetTableHead().nTimeLimit[number - 1];
}

} // namespace

void CGameWnd::OnPointMsg(const tagPOINTMSG& msg) {
    const int me = m_pClient != nullptr ? m_pClient->m_nMySeat : -1;
    if (msg.bAnswer == 0) {
        const int32_t none[kSeatCount] = {-1, -1, -1, -1, -1, -1};
        theBoard.SetPlaces(none);
        for (int seat = 0; seat < kSeatCount; ++seat) {
            theBoard.SetStartFlag(seat, 0);
            theBoard.SetSeatStatus(seat, 0, 0);
        }
        theBoard.SetGameState(msg.nKind);
        const int round = msg.nKind == kStatePointRound1 ? 1 : 2;
        // The second round asks only the seats that declared no pre-point:
        // a yes of the first round answers both.
        const bool answered = theBoard.GetPointAnswer(round, me) != 0 ||
                              (round == 2 && theBoard.GetPointAnswer(1, me) != 0);
        if (IsPlayer() && !answered && !theBoard.IsSeatTrusted(me)) {
            theBoard.SetSeatActionMask(me, kActionPointRound1);
            ShowTurnClock(TimeLimit(round == 1 ? 2 : 3), kClockEventMyTurn + 2);
        } else {
            ShowNotice("等待玩家宣点...");
            theBoard.SetSeatActionMask(me, 0);
        }
        StartTurnTimeout(TimeLimit(round == 1 ? 2 : 3) + TimeLimit(11));
        UpdateActionButtons(theBoard.GetGameState(), theBoard.GetSeatActionMask(me), TRUE);
        return;
    }
    const int seat = msg.nSeat;
    if (msg.nKind == 1) {
        theBoard.SetPointAnswer(1, seat, msg.bYes ? 1 : 0);
        MarkPrePoint(seat, msg.bYes ? TRUE : FALSE);
        if (msg.bYes) {
            ShowPrePointMark(seat);
            PlayGameSound("openpoint.wav");
            if (msg.nFee > 0) {
                tagUSERINFO user = theBoard.GetUserInfo(seat);
                user.nBeans -= msg.nFee;
                theBoard.SetUserInfo(seat, user);
                RefreshSeat(seat);
            }
        }
    } else if (msg.nKind == 2) {
        theBoard.SetPointAnswer(2, seat, msg.bYes ? 1 : 0);
        MarkNowPoint(seat, msg.bYes ? TRUE : FALSE);
        if (msg.bYes) {
            ShowOpenPointMark(seat);
            PlayGameSound("openpoint.wav");
        }
    } else {
        theBoard.SetOpenedPoint(seat, 1);
        MarkOpenPoint(seat, TRUE);
        if (IsMe(seat) && IsPlayer()) {
            ShowNotice("恭喜您开点了...");
        } else {
            CString text;
            text.Format("[%s]开点了...", LPCSTR(SeatDisplayName(seat)));
            ShowNotice(text);
        }
        PlayGameSound("openpoint.wav");
    }
    // My own answer is in: the question is no longer mine to answer.
    if (IsMe(seat)) {
        theBoard.SetSeatActionMask(me, 0);
        UpdateActionButtons(theBoard.GetGameState(), 0, TRUE);
    }
}

void CGameWnd::OnRevolution(const tagREVOLUTIONMSG& msg) {
    const int me = m_pClient != nullptr ? m_pClient->m_nMySeat : -1;
    const int seat = msg.nSeat;
    if (msg.bAnswer != 0) {
        if (!msg.bYes)
            return;
        if (IsMe(seat) && IsPlayer()) {
            ShowNotice("您革命了...");
        } else {
            CString text;
            text.Format("[%s]革命了...", LPCSTR(SeatDisplayName(seat)));
            ShowNotice(text);
        }
        MarkRevolution(seat, TRUE);
        ShowRevolutionMark(seat);
        if (IsMe(seat))
            ClearMyHand();
        if (msg.nCount > 1) {
            // The table starts the game again from the wait for starts: each
            // player presses start anew.
            ResetTable();
            theBoard.ResetGameData();
            StopCountdown();
            UpdateActionButtons(kStateWaitStart, 0, FALSE);
            if (IsPlayer())
                ShowStartPane(TRUE, m_nMultiple);
            ShowNotice("由于两家革命，游戏重新开始！");
        }
        const int pick = rand() % 3;
        if (pick == 0)
            PlayGameSound("revolution.wav");
        else
            PlayVoice("gj%d-revolution%d.mp3", seat, pick);
        return;
    }
    theBoard.SetGameState(kStateRevolution);
    const bool asked = me >= 0 && me < kSeatCount && msg.bAsked[me] != 0;
    if (asked && IsPlayer() && !theBoard.IsSeatTrusted(me)) {
        theBoard.SetSeatActionMask(me, kActionRevolution);
        ShowTurnClock(TimeLimit(5), kClockEventMyTurn + 3);
        UpdateActionButtons(kStateRevolution, kActionRevolution, TRUE);
    }
    StartTurnTimeout(TimeLimit(5) + TimeLimit(11));
}

void CGameWnd::OnGousiji(const tagGOUSIJIMSG& msg) {
    const int me = m_pClient != nullptr ? m_pClient->m_nMySeat : -1;
    if (theBoard.GetGameState() != kStatePlay) {
        theBoard.SetGameState(kStateGousiji);
        for (int seat = 0; seat < kSeatCount; ++seat)
            theBoard.SetSeatActionMask(seat, 0);
    }
    const int seat = msg.nSeat;
    if (msg.bFinal != 0) {
        if (msg.nAnswer != theBoard.GetGousijiAnswer(seat)) {
            theBoard.SetGousijiAnswer(seat, msg.nAnswer);
            ShowGousjPane(seat, 3 - msg.nAnswer);
        }
        return;
    }
    if (IsMe(seat) && IsPlayer() && !theBoard.IsSeatTrusted(me)) {
        theBoard.SetSeatActionMask(me, kActionAnswer);
        ShowTurnClock(TimeLimit(6), kClockEventMyTurn + 4);
        UpdateActionButtons(theBoard.GetGameState(), kActionAnswer, TRUE);
    }
    if (IsPlayer())
        StartTurnTimeout(TimeLimit(6) + TimeLimit(11));
}
