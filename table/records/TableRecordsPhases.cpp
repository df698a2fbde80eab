// The questions before play: the point rounds, the revolution and the
// gousiji, and each seat's answer.

#include "sprite/AppServices.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameWndInfoText.h"
#include "table/records/TableRecords.h"
#include "table/records/TableView.h"

#include <cstdio>
#include <cstdlib>

void CTableRecords::OnPointMsg(const tagPOINTMSG& msg) {
    const int me = m_viewpoint.nMySeat;
    if (msg.bAnswer == 0) {
        const int32_t none[kSeatCount] = {-1, -1, -1, -1, -1, -1};
        m_board.SetPlaces(none);
        for (int seat = 0; seat < kSeatCount; ++seat) {
            m_board.SetStartFlag(seat, 0);
            m_board.SetSeatStatus(seat, 0, 0);
        }
        ShowStartWait(); // no seat is waited for to start now
        m_board.SetGameState(msg.nKind);
        const int round = msg.nKind == kStatePointRound1 ? 1 : 2;
        // The second round asks only the seats that declared no pre-point:
        // a yes of the first round answers both.
        const bool answered = m_board.GetPointAnswer(round, me) != 0 ||
                              (round == 2 && m_board.GetPointAnswer(1, me) != 0);
        if (IsPlayer() && !answered && !m_board.IsSeatTrusted(me)) {
            m_board.SetSeatActionMask(me, kActionPointRound1);
            m_view.ShowTurnClock(TimeLimit(round == 1 ? kLimitPointRound1 : kLimitPointRound2),
                                 kClockEventPoint);
        } else {
            m_view.ShowNotice("等待玩家宣点...");
            m_board.SetSeatActionMask(me, 0);
        }
        m_view.StartTurnTimeout(LimitWithGrace(round == 1 ? kLimitPointRound1 : kLimitPointRound2));
        m_view.UpdateActionButtons(m_board.GetGameState(), m_board.GetSeatActionMask(me), TRUE);
        return;
    }
    const int seat = msg.nSeat;
    if (msg.nKind == 1) {
        m_board.SetPointAnswer(1, seat, msg.bYes ? 1 : 0);
        m_marks.MarkPrePoint(seat, msg.bYes ? TRUE : FALSE);
        if (msg.bYes) {
            m_marks.ShowPrePointMark(seat);
            m_view.PlayGameSound("openpoint.wav");
            if (msg.nFee > 0) {
                tagUSERINFO user = m_board.GetUserInfo(seat);
                user.nBeans -= msg.nFee;
                m_board.SetUserInfo(seat, user);
                m_view.RefreshSeat(seat);
            }
        }
    } else if (msg.nKind == 2) {
        m_board.SetPointAnswer(2, seat, msg.bYes ? 1 : 0);
        m_marks.MarkNowPoint(seat, msg.bYes ? TRUE : FALSE);
        if (msg.bYes) {
            m_marks.ShowOpenPointMark(seat);
            m_view.PlayGameSound("openpoint.wav");
        }
    } else {
        m_board.SetOpenedPoint(seat, 1);
        m_marks.MarkOpenPoint(seat, TRUE);
        if (IsMe(seat) && IsPlayer()) {
            m_view.ShowNotice("恭喜您开点了...");
        } else {
            CString text;
            text.Format("[%s]开点了...", LPCSTR(SeatDisplayName(m_board, seat)));
            m_view.ShowNotice(text);
        }
        m_view.PlayGameSound("openpoint.wav");
    }
    // My own answer is in: the question is no longer mine to answer.
    if (IsMe(seat))
        ClearMyQuestion();
}

void CTableRecords::ClearMyQuestion() {
    m_board.SetSeatActionMask(m_viewpoint.nMySeat, 0);
    m_view.UpdateActionButtons(m_board.GetGameState(), 0, TRUE);
}

void CTableRecords::OnRevolution(const tagREVOLUTIONMSG& msg) {
    const int me = m_viewpoint.nMySeat;
    const int seat = msg.nSeat;
    if (msg.bAnswer != 0) {
        // My own answer is in: its buttons go, as a point round's do.
        if (IsMe(seat))
            ClearMyQuestion();
        if (!msg.bYes)
            return;
        if (IsMe(seat) && IsPlayer()) {
            m_view.ShowNotice("您革命了...");
        } else {
            CString text;
            text.Format("[%s]革命了...", LPCSTR(SeatDisplayName(m_board, seat)));
            m_view.ShowNotice(text);
        }
        m_marks.MarkRevolution(seat, TRUE);
        m_marks.ShowRevolutionMark(seat);
        if (IsMe(seat))
            m_view.ClearMyHand();
        if (msg.nCount > 1) {
            // The table starts the game again from the wait for starts: each
            // player presses start anew.
            ResetTable();
            m_board.ResetGameData();
            m_view.StopCountdown();
            m_view.UpdateActionButtons(kStateWaitStart, 0, FALSE);
            if (IsPlayer())
                m_panes.ShowStartPane(TRUE, m_nMultiple);
            m_view.ShowNotice("由于两家革命，游戏重新开始！");
        }
        const int pick = rand() % 3;
        if (pick == 0)
            m_view.PlayGameSound("revolution.wav");
        else
            m_view.PlayVoice("gj%d-revolution%d.mp3", seat, pick);
        return;
    }
    m_board.SetGameState(kStateRevolution);
    const bool asked = IsSeat(me) && msg.bAsked[me] != 0;
    if (asked && IsPlayer() && !m_board.IsSeatTrusted(me)) {
        m_board.SetSeatActionMask(me, kActionRevolution);
        m_view.ShowTurnClock(TimeLimit(kLimitRevolution), kClockEventRevolution);
        m_view.UpdateActionButtons(kStateRevolution, kActionRevolution, TRUE);
    }
    m_view.StartTurnTimeout(LimitWithGrace(kLimitRevolution));
}

void CTableRecords::OnGousiji(const tagGOUSIJIMSG& msg) {
    const int me = m_viewpoint.nMySeat;
    if (m_board.GetGameState() != kStatePlay) {
        m_board.SetGameState(kStateGousiji);
        for (int seat = 0; seat < kSeatCount; ++seat)
            m_board.SetSeatActionMask(seat, 0);
    }
    const int seat = msg.nSeat;
    if (msg.bFinal != 0) {
        if (IsMe(seat))
            ClearMyQuestion();
        if (msg.nAnswer != m_board.GetGousijiAnswer(seat)) {
            m_board.SetGousijiAnswer(seat, msg.nAnswer);
            m_panes.ShowGousjPane(seat, 3 - msg.nAnswer);
        }
        return;
    }
    if (IsMe(seat) && IsPlayer() && !m_board.IsSeatTrusted(me)) {
        m_board.SetSeatActionMask(me, kActionAnswer);
        m_view.ShowTurnClock(TimeLimit(kLimitGousiji), kClockEventGousiji);
        m_view.UpdateActionButtons(m_board.GetGameState(), kActionAnswer, TRUE);
    }
    if (IsPlayer())
        m_view.StartTurnTimeout(LimitWithGrace(kLimitGousiji));
}
