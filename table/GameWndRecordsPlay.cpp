// The play record and the end of a round: what each play lays on the table,
// whose turn comes next, the answers the table gives for me, and the step
// that collects a finished round's cards.

#include "sprite/AppServices.h"
#include "table/GameNetClient.h"
#include "table/GameWnd.h"

#include <cstdlib>

namespace {

bool IsSeat(int seat) {
    return seat >= 0 && seat < kSeatCount;
}

int TimeLimit(int number) {
    return theBoard.GetTableHead().nTimeLimit[number - 1];
}

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

void CGameWnd::OnPlay(const tagPLAYMSG& msg) {
    // The client put the codes in clear and checked them.
    const uint32_t rules = theBoard.GetRuleFlags();
    const int actor = msg.nSeat;
    const int count = msg.nCount;

    const int me = m_pClient != nullptr ? m_pClient->m_nMySeat : -1;
    m_bRoundFlag = TRUE;
    m_nTurnCountdown = 0;
    for (int seat = 0; seat < kSeatCount; ++seat)
        ShowWaitMark(seat, TRUE);
    StopCountdown();
    theBoard.SetGameState(kStatePlay);
    UpdateActionButtons(kStatePlay, 0, FALSE);

    bool anyShaoBefore = false;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        anyShaoBefore = anyShaoBefore || (theBoard.GetSeatStatus(seat) & kStatusLastPlay);
        theBoard.SetSeatActionMask(seat, msg.nActionMask[seat]);
    }
    int leader = -1;
    int next = -1;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (leader < 0 && msg.nActionMask[seat] == kActionTakeOut)
            leader = seat;
        if (next < 0 && (msg.nActionMask[seat] & (kActionTakeOut | kActionShao)))
            next = seat;
    }
    for (int seat = 0; seat < kSeatCount; ++seat)
        theBoard.SetSeatStatus(seat, msg.nSeatStatus[seat], 0);

    if ((rules & kRuleCardsLeftNotice) && actor == me) {
        m_hands.ClearLeftCue();
        m_hands.ClearRightCue();
    }

    const int type = msg.nType;
    if (type & (kActionTakeOut | kActionShao)) {
        if (type & kActionShao) {
            const std::vector<tagPLAYENTRY>& plays = theBoard.GetPlayList();
            if (!plays.empty())
                PlayBurnCardAnim(actor, plays.back().nSeat);
            PlayGameSound("shao.wav");
            if (anyShaoBefore)
                PlayVoice("gj%d-shaoagain.mp3", actor);
            else
                PlayVoice("gj%d-shao%d.mp3", actor, rand() % 2);
        }
        theBoard.AddPlay(actor, CGameLogic::GetCardType(msg.nCodes, count));
        theBoard.SetPlayCounter(msg.nPlayCounter);
        ResetHints();
        // The new play takes the place of the seat's earlier one in this
        // round; the cards of the other seats stay until the round closes.
        m_nRoundMarks[actor] = 0;
        const bool blind = actor == me && IsBlindWatcher();
        if (blind)
            m_tableCards.PutCardBlind(&m_hands, actor, msg.nCodes, count, msg.nHandCount <= 10,
                                      msg.nHandCount);
        else
            m_tableCards.PutCard(&m_hands, actor, msg.nCodes, count, CTableCards::kBlindGroupId);
        if (actor == me) {
            tagCARD* hand = theBoard.GetHand(me);
            for (int i = 0; i < count && hand != nullptr; ++i)
                for (int k = 0; k < kHandSize; ++k)
                    if (hand[k].code == msg.nCodes[i] && IsCountingCard(hand[k])) {
                        hand[k].flags = uint8_t((hand[k].flags | kCardPlayed) & ~kCardPicked);
                        break;
                    }
        }
        if (!(rules & kRuleThrees)) {
            if (actor == me && !blind) {
                const int left = theBoard.GetHandCardCount(me);
                if (left <= 10)
                    ShowRemnantPane(me, left);
            } else if (msg.nHandCount >= 0 && msg.nHandCount <= 10) {
                theBoard.SetSeatHandCount(actor, msg.nHandCount);
                ShowRemnantPane(actor, msg.nHandCount);
            }
        }
        const std::vector<int>& places = theBoard.GetPlaces();
        if (!places.empty() && places.front() == actor) {
            ShowTouKeMark();
            PlayGameSound("touke.wav");
        }
    }

    const bool roundEnds =
        (leader >= 0 && theBoard.GetPlayCounter() > 0 && !theBoard.GetPlayList().empty()) ||
        next < 0;
    bool skipped = false;
    bool clockStarted = false;
    if (roundEnds) {
        if ((type & kActionPass) || ((rules & kRuleCardsLeftNotice) && (type & kActionGiveUp))) {
            if (theBoard.IsSeveralSeatsOut())
                UpdateSeatStateMarks(msg.nSeatStatus, FALSE);
            ShowActionMark(actor, type);
        }
        m_bRoundFlag = FALSE;
        SetTimer(kRoundEndTimer, 1000, nullptr);
        theBoard.ClearPlayList();
        // Receiving stays stopped until the round-end step.
        skipped = true;
    } else {
        // A seat that passes, lets or gives up keeps its mark for the rest of
        // the round, as every seat keeps its cards: a person follows the
        // round by them. Nothing is cleared before the round closes.
        if (type & (kActionPass | kActionLet | kActionGiveUp))
            m_nRoundMarks[actor] = type & (kActionPass | kActionLet | kActionGiveUp);
        // The next actor takes its old cards off the table as its turn comes
        // and, unless it is my own turn, shows that the table waits for it.
        // Seats asked whether they shao keep theirs: the play they may burn
        // still lies there, and none of them is waited for yet.
        // A seat with nothing lying keeps its last cards for the last-card pane.
        auto clearSeat = [this](int seat) {
            if (!m_tableCards.GetSeatCards(seat).empty())
                m_tableCards.ClearSeat(seat);
        };
        const bool myTurn = next == me && IsPlayer();
        const bool shaoAsked =
            (msg.nActionMask[next] & kActionShao) && !(rules & kRuleCardsLeftNotice);
        if (myTurn || shaoAsked) {
            if (next == me)
                clearSeat(next);
        } else {
            clearSeat(next);
            ShowWaitMark(next, FALSE);
        }
        EndHeldRecord();
    }

    const int myMask = theBoard.GetSeatActionMask(me);
    const bool activePlayer = IsPlayer() && IsSeat(me) && !theBoard.IsSeatTrusted(me);
    // A seat that leads has nothing to beat: it is never answered for, nor
    // given the short clock of a play it cannot beat.
    const bool leading = myMask == kActionTakeOut;
    if (!theBoard.GetPlayList().empty() && activePlayer && myMask != 0 && !leading) {
        const CardType last = theBoard.GetPlayList().back().type;
        const int lastCount = CGameLogic::GetCardTypeCount(last);
        if (((last >> 28) > 0 || !(rules & kRuleThrees)) && !theBoard.IsSeatOut(me) &&
            theBoard.GetHandCardCount(me) < lastCount && (myMask & (kActionPass | kActionGiveUp))) {
            m_pClient->SendAction((myMask & kActionPass) ? kActionPass : kActionGiveUp, nullptr, 0);
            UpdateActionButtons(kStatePlay, 0, FALSE);
            skipped = true;
        } else if (actor != me && theBoard.CannotBeatLastPlay(me)) {
            ShowTurnClock(5, kClockEventMyTurn + 1);
            clockStarted = true;
        }
    }
    if (!skipped)
        UpdateSeatStateMarks(msg.nSeatStatus, type == kActionShao);
    ShowRoundMarks();
    if (!skipped && !clockStarted && activePlayer && (myMask & (kActionTakeOut | kActionShao)))
        ShowTurnClock(TimeLimit((myMask & kActionTakeOut) ? 7 : 8), kClockEventMyTurn);
    if (IsPlayer())
        StartTurnTimeout(TimeLimit(7) + TimeLimit(11));
    if (!skipped)
        UpdateActionButtons(kStatePlay, myMask, TRUE);
    PlayGameSound(PlaySound(type, count));
}

void CGameWnd::ShowRoundMarks() {
    const int marks = kActionPass | kActionLet | kActionGiveUp;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (theBoard.GetSeatActionMask(seat) != 0) {
            ShowActionMark(seat, 0); // the seat asked to act shows none
            continue;
        }
        int shown = theBoard.GetSeatStatus(seat) & marks;
        if (shown == 0)
            shown = m_nRoundMarks[seat];
        if (shown != 0)
            ShowActionMark(seat, shown);
    }
}

void CGameWnd::OnRoundEnd() {
    m_bRoundFlag = TRUE;
    KillTimer(kRoundEndTimer);
    theBoard.ClearPlayList();
    for (int& marks : m_nRoundMarks)
        marks = 0;
    const int me = m_pClient != nullptr ? m_pClient->m_nMySeat : -1;
    if (!m_tableCards.CollectToCentre(me, TRUE))
        EndHeldRecord(); // else the end of the flight resumes receiving
    const int state = theBoard.GetGameState();
    const int myMask = theBoard.GetSeatActionMask(me);
    UpdateActionButtons(state, myMask, TRUE);
    int status[kSeatCount];
    for (int seat = 0; seat < kSeatCount; ++seat)
        status[seat] = theBoard.GetSeatStatus(seat);
    UpdateSeatStateMarks(status, FALSE);
    if (IsPlayer() && IsSeat(me) && myMask != 0 && state != kStateWaitStart &&
        !theBoard.IsSeatTrusted(me)) {
        ShowTurnClock(TimeLimit(7), kClockEventMyTurn);
        const tagCARD* hand = theBoard.GetHand(me);
        const int held = theBoard.GetHandCardCount(me);
        if ((theBoard.GetRuleFlags() & kRuleThrees) && theBoard.CountPlainRanks(me) == 1 &&
            CGameLogic::CountRankCards(hand, theBoard.GetHandUsedCount(me), kRankThree) == held) {
            // Nothing but 3s left: they all go out at once.
            int codes[kHandSize];
            int n = 0;
            for (int k = 0; k < theBoard.GetHandUsedCount(me); ++k)
                if (IsCountingCard(hand[k]))
                    codes[n++] = hand[k].code;
            m_pClient->SendAction(kActionTakeOut, codes, n);
            UpdateActionButtons(state, 0, FALSE);
        }
        return;
    }
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (theBoard.GetSeatActionMask(seat) & kActionTakeOut) {
            ShowWaitMark(seat, FALSE);
            break;
        }
}
