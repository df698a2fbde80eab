// The play record and the end of a round: what each play does to the board,
// what it lays on the table, whose turn comes next and the answer the table
// gives for me, and the step that collects a finished round's cards.

#include "sprite/AppServices.h"
#include "table/client/GameNetClient.h"
#include "table/records/TableRecords.h"
#include "table/records/TableView.h"

#include <cstdlib>

namespace {

LPCSTR PlaySound(int type, int count) {
    switch (type) {
    case kActionTakeOut:
        return count <= 2 ? "takeout2.wav" : count <= 5 ? "takeout5.wav" : "takeout6.wav";
    case kActionPass:
        return "pass.wav";
    case kActionGiveUp:
        return "giveup.wav";
    case kActionLet:
        return "rang.wav";
    default:
        return nullptr;
    }
}

} // namespace

struct CTableRecords::PlayApplied {
    int me = -1;
    bool laid = false;          // cards went out (a take-out or a shao)
    bool anyShaoBefore = false; // some seat had burned before this play
    int burnedSeat = -1;        // the seat whose play a shao burns
    bool blind = false;         // my own play, which I may not see
    int next = -1;              // the seat asked to play next, -1 none
    bool nextLetBefore = false; // the next actor had let the turn go in this round
    bool roundEnds = false;
};

// The answer the table gives for me after a play.
struct CTableRecords::PlayAnswer {
    bool sent = false;       // a pass or give-up went out: I cannot beat the play
    bool shortClock = false; // the short clock of a play I cannot beat
};

void CTableRecords::OnPlay(const tagPLAYMSG& msg) {
    // The client put the codes in clear and checked them.
    const PlayApplied play = ApplyPlay(msg);
    ShowPlay(msg, play);
    ShowTurn(msg, play, AnswerPlay(msg, play));
    // Receiving opens once the whole play is shown and answered, so that no
    // record comes in before the turn it leaves is on the table; a play that
    // ends the round keeps it held until the round-end step.
    if (!play.roundEnds)
        EndHeldRecord();
}

CTableRecords::PlayApplied CTableRecords::ApplyPlay(const tagPLAYMSG& msg) {
    PlayApplied play;
    play.me = m_viewpoint.nMySeat;
    const int actor = msg.nSeat;
    m_bRoundFlag = TRUE;
    m_nTurnCountdown = 0;
    m_board.SetGameState(kStatePlay);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        play.anyShaoBefore =
            play.anyShaoBefore || (m_board.GetSeatStatus(seat) & kStatusLastPlay) != 0;
        m_board.SetSeatActionMask(seat, msg.nActionMask[seat]);
    }
    int leader = -1;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (leader < 0 && msg.nActionMask[seat] == kActionTakeOut)
            leader = seat;
        if (play.next < 0 && (msg.nActionMask[seat] & (kActionTakeOut | kActionShao)))
            play.next = seat;
    }
    play.nextLetBefore = play.next >= 0 && (m_board.GetSeatStatus(play.next) & kStatusMark2) != 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_board.SetSeatStatus(seat, msg.nSeatStatus[seat], 0);

    const int type = msg.nType;
    play.laid = (type & (kActionTakeOut | kActionShao)) != 0;
    if (play.laid) {
        const std::vector<tagPLAYENTRY>& plays = m_board.GetPlayList();
        if ((type & kActionShao) && !plays.empty())
            play.burnedSeat = plays.back().nSeat;
        m_board.AddPlay(actor, CGameLogic::GetCardType(msg.nCodes, msg.nCount));
        m_board.SetPlayCounter(msg.nPlayCounter);
        // The new play takes the place of the seat's earlier one in this round.
        m_nRoundMarks[actor] = 0;
        play.blind = actor == play.me && IsBlindWatcher();
        if (actor == play.me) {
            tagCARD* hand = m_board.GetHand(play.me);
            for (int i = 0; i < msg.nCount && hand != nullptr; ++i)
                for (int k = 0; k < kHandSize; ++k)
                    if (hand[k].code == msg.nCodes[i] && IsCountingCard(hand[k])) {
                        hand[k].flags = uint8_t((hand[k].flags | kCardPlayed) & ~kCardPicked);
                        break;
                    }
        }
        const bool ownCount = actor == play.me && !play.blind;
        if (!(m_board.GetRuleFlags() & kRuleThrees) && !ownCount && msg.nHandCount >= 0 &&
            msg.nHandCount <= 10)
            m_board.SetSeatHandCount(actor, msg.nHandCount);
    }

    play.roundEnds =
        (leader >= 0 && m_board.GetPlayCounter() > 0 && !m_board.GetPlayList().empty()) ||
        play.next < 0;
    if (play.roundEnds) {
        m_bRoundFlag = FALSE;
        m_board.ClearPlayList();
    } else if (type & (kActionPass | kActionLet | kActionGiveUp)) {
        // A seat that passes, lets or gives up keeps its mark for the rest of
        // the round: a person follows the round by them.
        m_nRoundMarks[actor] = type & (kActionPass | kActionLet | kActionGiveUp);
    }
    return play;
}

void CTableRecords::ShowPlay(const tagPLAYMSG& msg, const PlayApplied& play) {
    const uint32_t rules = m_board.GetRuleFlags();
    const int actor = msg.nSeat;
    const int type = msg.nType;
    const int me = play.me;
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_marks.ShowWaitMark(seat, TRUE);
    m_view.StopCountdown();
    m_view.UpdateActionButtons(kStatePlay, 0, FALSE);
    if ((rules & kRuleCardsLeftNotice) && actor == me)
        m_view.ClearCues();

    if (play.laid) {
        if (type & kActionShao) {
            if (play.burnedSeat >= 0)
                m_marks.PlayBurnCardAnim(actor, play.burnedSeat);
            m_view.PlayGameSound("shao.wav");
            if (play.anyShaoBefore)
                m_view.PlayVoice("gj%d-shaoagain.mp3", actor);
            else
                m_view.PlayVoice("gj%d-shao%d.mp3", actor, rand() % 2);
        }
        m_view.ResetHints();
        m_view.LayPlay(actor, msg.nCodes, msg.nCount, play.blind, msg.nHandCount);
        if (!(rules & kRuleThrees)) {
            if (actor == me && !play.blind) {
                const int left = m_board.GetHandCardCount(me);
                if (left <= 10)
                    m_panes.ShowRemnantPane(me, left);
            } else if (msg.nHandCount >= 0 && msg.nHandCount <= 10) {
                m_panes.ShowRemnantPane(actor, msg.nHandCount);
            }
        }
        const std::vector<int>& places = m_board.GetPlaces();
        if (!places.empty() && places.front() == actor) {
            m_marks.ShowTouKeMark();
            m_view.PlayGameSound("touke.wav");
        }
    }

    if (play.roundEnds) {
        if ((type & kActionPass) || ((rules & kRuleCardsLeftNotice) && (type & kActionGiveUp))) {
            if (m_board.IsSeveralSeatsOut())
                UpdateSeatStateMarks(msg.nSeatStatus, FALSE);
            m_marks.ShowActionMark(actor, type);
        }
        // Receiving stays held until the round-end step.
        m_view.StartRoundEnd();
        return;
    }
    // The next actor takes its old cards off the table as its turn comes
    // and, unless it is my own turn, shows that the table waits for it.
    // Seats asked whether they shao keep theirs: the play they may burn
    // still lies there, and none of them is waited for yet.
    const int next = play.next;
    const bool myTurn = next == me && IsPlayer();
    const bool shaoAsked = (msg.nActionMask[next] & kActionShao) && !(rules & kRuleCardsLeftNotice);
    if (myTurn || shaoAsked) {
        if (next == me)
            m_view.TakeUpSeatCards(next);
    } else {
        m_view.TakeUpSeatCards(next);
        m_marks.ShowWaitMark(next, FALSE);
    }
    TakeUpPassedOverSeats(msg, play);
}

void CTableRecords::TakeUpPassedOverSeats(const tagPLAYMSG& msg, const PlayApplied& play) {
    // The turn went past these seats to the next actor: their old cards go.
    // Not while a shao may still burn what lies there, nor after a give up,
    // nor when the next actor had let the turn go.
    const int next = play.next;
    if (!m_bRoundFlag || next < 0 || play.nextLetBefore || msg.nType == kActionGiveUp ||
        (m_board.GetRuleFlags() & kRuleCardsLeftNotice) || (msg.nActionMask[next] & kActionShao))
        return;
    int seat = msg.nSeat;
    for (int step = 0; step < 8; ++step) {
        seat = CGameLogic::GetPrevSeat(seat);
        if (seat == next)
            break;
        m_view.TakeUpSeatCards(seat);
    }
}

CTableRecords::PlayAnswer CTableRecords::AnswerPlay(const tagPLAYMSG& msg,
                                                    const PlayApplied& play) {
    PlayAnswer answer;
    const int me = play.me;
    const int myMask = m_board.GetSeatActionMask(me);
    const bool activePlayer = IsPlayer() && IsSeat(me) && !m_board.IsSeatTrusted(me);
    // A seat that leads has nothing to beat: it is never answered for, nor
    // given the short clock of a play it cannot beat.
    const bool leading = myMask == kActionTakeOut;
    if (m_board.GetPlayList().empty() || !activePlayer || myMask == 0 || leading)
        return answer;
    const CardType last = m_board.GetPlayList().back().type;
    const int lastCount = CGameLogic::GetCardTypeCount(last);
    if (((last >> 28) > 0 || !(m_board.GetRuleFlags() & kRuleThrees)) && !m_board.IsSeatOut(me) &&
        m_board.GetHandCardCount(me) < lastCount && (myMask & (kActionPass | kActionGiveUp))) {
        // Too few cards left to beat it: the table passes for me.
        m_client->SendAction((myMask & kActionPass) ? kActionPass : kActionGiveUp, nullptr, 0);
        answer.sent = true;
    } else if (msg.nSeat != me && m_board.CannotBeatLastPlay(me)) {
        answer.shortClock = true;
    }
    return answer;
}

void CTableRecords::ShowTurn(const tagPLAYMSG& msg, const PlayApplied& play,
                             const PlayAnswer& answer) {
    const int me = play.me;
    const int myMask = m_board.GetSeatActionMask(me);
    const bool activePlayer = IsPlayer() && IsSeat(me) && !m_board.IsSeatTrusted(me);
    // A round that ended, or a pass made for me, leaves nothing to show for
    // my turn until the next record.
    const bool shown = !play.roundEnds && !answer.sent;
    if (answer.sent)
        m_view.UpdateActionButtons(kStatePlay, 0, FALSE);
    else if (answer.shortClock)
        m_view.ShowTurnClock(5, kClockEventCannotBeat);
    if (shown)
        UpdateSeatStateMarks(msg.nSeatStatus, msg.nType == kActionShao);
    ShowRoundMarks();
    if (shown && !answer.shortClock && activePlayer && (myMask & (kActionTakeOut | kActionShao)))
        m_view.ShowTurnClock(TimeLimit((myMask & kActionTakeOut) ? kLimitTakeOut : kLimitShao),
                             kClockEventMyTurn);
    if (IsPlayer())
        m_view.StartTurnTimeout(LimitWithGrace(kLimitTakeOut));
    if (shown)
        m_view.UpdateActionButtons(kStatePlay, myMask, TRUE);
    m_view.PlayGameSound(PlaySound(msg.nType, msg.nCount));
}

void CTableRecords::ShowRoundMarks() {
    const int marks = kActionPass | kActionLet | kActionGiveUp;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (m_board.GetSeatActionMask(seat) != 0) {
            m_marks.ShowActionMark(seat, 0); // the seat asked to act shows none
            continue;
        }
        int shown = m_board.GetSeatStatus(seat) & marks;
        if (shown == 0)
            shown = m_nRoundMarks[seat];
        if (shown != 0)
            m_marks.ShowActionMark(seat, shown);
    }
}

void CTableRecords::OnRoundEnd() {
    m_bRoundFlag = TRUE;
    m_view.StopRoundEnd();
    m_board.ClearPlayList();
    for (int& marks : m_nRoundMarks)
        marks = 0;
    const int me = m_viewpoint.nMySeat;
    if (!m_view.CollectRound())
        EndHeldRecord(); // else the end of the flight opens the gate
    const int state = m_board.GetGameState();
    const int myMask = m_board.GetSeatActionMask(me);
    m_view.UpdateActionButtons(state, myMask, TRUE);
    int status[kSeatCount];
    for (int seat = 0; seat < kSeatCount; ++seat)
        status[seat] = m_board.GetSeatStatus(seat);
    UpdateSeatStateMarks(status, FALSE);
    if (IsPlayer() && IsSeat(me) && myMask != 0 && state != kStateWaitStart &&
        !m_board.IsSeatTrusted(me)) {
        m_view.ShowTurnClock(TimeLimit(kLimitTakeOut), kClockEventMyTurn);
        const tagCARD* hand = m_board.GetHand(me);
        const int held = m_board.GetHandCardCount(me);
        if ((m_board.GetRuleFlags() & kRuleThrees) && m_board.CountPlainRanks(me) == 1 &&
            CGameLogic::CountRankCards(hand, m_board.GetHandUsedCount(me), kRankThree) == held) {
            // Nothing but 3s left: they all go out at once.
            int codes[kHandSize];
            int n = 0;
            for (int k = 0; k < m_board.GetHandUsedCount(me); ++k)
                if (IsCountingCard(hand[k]))
                    codes[n++] = hand[k].code;
            m_client->SendAction(kActionTakeOut, codes, n);
            m_view.UpdateActionButtons(state, 0, FALSE);
        }
        return;
    }
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (m_board.GetSeatActionMask(seat) & kActionTakeOut) {
            m_marks.ShowWaitMark(seat, FALSE);
            break;
        }
}
