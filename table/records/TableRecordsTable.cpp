// The records that describe the whole table: the table info, the snapshot
// of a running game, and the rebuild after a seat change.

#include "platform/system/Clock.h"
#include "sprite/AppServices.h"
#include "table/client/ClientShell.h"
#include "table/client/GameNetClient.h"
#include "table/common/TableAppLink.h"
#include "table/records/TableRecords.h"
#include "table/records/TableView.h"

#include <algorithm>
#include <cstring>

void CTableRecords::TakeMultiplesFromHead() {
    const tagTABLEHEAD& head = m_board.GetTableHead();
    const int me = m_viewpoint.nMySeat;
    const bool member = IsSeat(me) && m_board.GetUserInfo(me).bMember != 0;
    m_nMultiple = member ? head.nField29 : head.nField30;
    m_nOfferedMultiple = member ? head.nMaxMultiple : head.nBaseMultiple;
}

void CTableRecords::OnTableInfo(const tagTABLEINFO& msg) {
    m_board.ResetGameData();
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_board.SetTrustWord(seat, 0);
    m_view.ClearTableCards();
    m_view.ClearMyHand();
    ClearReturnsDue();
    m_board.ClearHistory();
    m_dwTableStartTick = GetTickCount();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        m_board.SetUserInfo(seat, msg.users[seat]);
        m_board.SetStartFlag(seat, msg.nStartFlags[seat]);
    }
    m_board.GetTableHead() = msg.head;
    m_board.SetRuleFlags(uint32_t(msg.head.nRuleFlags));
    m_game.bMultiples = msg.head.nMaxMultiple > 1;
    ShowStartWait();

    const bool watchTarget = (m_board.GetRuleFlags() & kRuleChatWatchTarget) != 0;
    const int me = m_viewpoint.nMySeat;
    const bool first = m_bFirstTableRecord != 0;
    if (first) {
        m_bFirstTableRecord = 0;
        TakeMultiplesFromHead();
        if (IsSeat(me))
            m_view.SetSoundPlayer(me, VoiceOf(me) == 0);
    }
    const bool mayStart = IsSeat(me) && m_board.GetStartFlag(me) == 0 &&
                          m_board.GetGamesPlayed() == 0 && m_panes.MayOfferStartPane() &&
                          IsPlayer() && !m_bChatEntered;
    if (!watchTarget || mayStart)
        m_panes.ShowStartPane(TRUE, m_nMultiple);
    if ((!watchTarget || first) && IsPlayer() && TableApp().IsWatchAllowed() && m_client)
        m_client->SendWatcherCanSeeMyCard(1);
    if (!m_bChatEntered && m_client != nullptr) {
        m_client->EnterChat(0, 0);
        m_bChatEntered = 1;
    }
    m_view.RepaintPlates();
    if (IsSeat(me))
        m_view.ShowSeatMark(me, TRUE);
    if (watchTarget) {
        for (int seat = 0; seat < kSeatCount; ++seat)
            m_marks.ShowTrustMark(seat, m_board.GetTrustWord(seat));
        HideFreeSeatMarks();
        if (!IsPlayer() && IsSeat(me))
            FollowWatchedSeat(me);
    }
    m_view.RestartInfoTimers(2000);
}

void CTableRecords::FollowWatchedSeat(int seat) {
    const tagUSERINFO& user = m_board.GetUserInfo(seat);
    if (user.szUserName[0] == '\0') {
        m_bWatchedSeatEmpty = 1;
        return;
    }
    if (!m_bWatchedSeatEmpty)
        return;
    // The watched seat is taken again: the chat row follows the new player.
    m_bWatchedSeatEmpty = 0;
    if (m_client == nullptr)
        return;
    if (CClientShell* shell = m_client->GetShell()) {
        const CString name(user.szUserName, int(strnlen(user.szUserName, sizeof user.szUserName)));
        const CString mine(m_client->m_szUserName,
                           int(strnlen(m_client->m_szUserName, sizeof m_client->m_szUserName)));
        shell->SetChatUserField(mine, "旁观对象", name);
    }
    m_client->UpdateChatField(m_nWatcherBeans, m_nWatcherScore);
}

void CTableRecords::OnSnapshot(const tagSNAPSHOTMSG& msg) {
    m_board.ResetGameData();
    m_panes.ClearReel();
    m_board.ClearHistory();

    const int me = m_viewpoint.nMySeat;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        m_board.SetUserInfo(seat, msg.users[seat]);
        m_board.SetStartFlag(seat, msg.nStartFlags[seat]);
        m_board.SetSeatHandCount(seat, std::clamp(int(msg.nHandCount[seat]), 0, int(kHandSize)));
        m_board.SetTrustWord(seat, msg.nTrustWords[seat]);
        m_board.SetPointAnswer(1, seat, msg.nPointAnswers1[seat]);
        m_board.SetPointAnswer(2, seat, msg.nPointAnswers2[seat]);
        m_board.SetOpenedPoint(seat, msg.nOpenedPoint[seat]);
        m_board.SetSeatStatus(seat, msg.nSeatStatus[seat], 0);
        m_board.SetSeatActionMask(seat, msg.nActionMask[seat]);
        m_board.SetGousijiAnswer(seat, msg.nGousijiAnswers[seat]);
    }
    m_board.SetPlaces(msg.nPlaces);
    const int historyCount = std::clamp(int(msg.nHistoryCount), 0, int(kHistoryRoom));
    m_board.SetGamesPlayed(historyCount);
    if (m_bFirstTableRecord && IsSeat(me)) {
        m_board.SetHand(me, msg.hand, kHandSize);
        m_board.SetWatcherSees(me, msg.bWatcherMaySee != 0);
    } else {
        m_board.SetSpareHand(msg.hand, msg.bWatcherMaySee != 0);
    }

    m_nWatcherBeans = msg.nWatcherBeans;
    m_nWatcherScore = msg.nWatcherScore;
    // A watcher's snapshot carries no play (zeros): only a real play of a
    // seat is the round's play to beat.
    const tagPLAYENTRY& last = msg.lastPlay;
    if (IsSeat(last.nSeat) && last.type != 0 && m_board.GetPlayList().empty())
        m_board.AddPlay(last.nSeat, last.type);
    if (m_board.GetPlayCounter() == 0)
        m_board.SetPlayCounter(msg.nPlayCounter);
    m_board.SetGameState(msg.nGameState);
    m_board.GetTableHead() = msg.tableHead;
    m_board.SetRuleFlags(uint32_t(msg.tableHead.nRuleFlags));
    // The guesses made before I came count against the game's chances.
    m_board.TakeGuessCountsFromHead();
    // The chips are offered only where there is more than one multiple.
    m_game.bMultiples = msg.tableHead.nMaxMultiple > 1;

    if (m_client != nullptr && m_client->m_bOption && IsSeat(me)) {
        m_board.SetTrustCount(me, msg.nTrustCount);
        m_board.SetTrustWord(me, kTrustOwn);
        m_view.ShowTrustExitOnly();
    }

    int digits[CTripleDes::kDigitCount];
    CGameLogic::GetKeyDigits(msg.hand, digits);
    m_board.m_Cipher.SetKeyFromDigits(digits, CTripleDes::SeedFromDigits(digits));

    if (m_bFirstTableRecord) {
        m_bFirstTableRecord = 0;
        RedrawFromSnapshot(msg);
    } else {
        for (int k = 0; k < historyCount; ++k)
            m_board.AddHistory(msg.history[historyCount - 1 - k]);
        // A watcher is sent a snapshot only for the seat he watches now,
        // which follows the answer to his seat change.
        if (!IsPlayer())
            TakeParkedHand();
    }

    if (!m_bChatEntered && m_client != nullptr) {
        if (IsPlayer())
            m_client->EnterChat(0, 0);
        else
            m_client->EnterChat(m_nWatcherBeans, m_nWatcherScore);
        m_bChatEntered = 1;
    }
    m_view.RestartInfoTimers(2000);
}

void CTableRecords::RedrawFromSnapshot(const tagSNAPSHOTMSG& msg) {
    const int me = m_viewpoint.nMySeat;
    const uint32_t rules = m_board.GetRuleFlags();
    const int state = m_board.GetGameState();
    if (IsPlayer() && IsSeat(me)) {
        m_view.SetSoundPlayer(me, VoiceOf(me) == 0);
        if (TableApp().IsWatchAllowed())
            m_client->SendWatcherCanSeeMyCard(1);
    }
    UpdateSeatStateMarks(msg.nSeatStatus, TRUE);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const tagUSERINFO& user = msg.users[seat];
        m_view.SetSeatLevel(seat, user.nLevel);
        if (seat == me) {
            TakeMultiplesFromHead();
            m_nMultiple = msg.tableHead.nMultiple[seat];
        }
        m_panes.ShowMultiplePane(seat, msg.tableHead.nMultiple[seat], state != kStateWaitStart);
        m_view.RedrawSeatPlate(seat);
        m_marks.ShowTrustMark(seat, msg.nTrustWords[seat]);
        if (!(rules & kRuleCardsLeftNotice)) {
            m_marks.MarkOpenPoint(seat, msg.nOpenedPoint[seat] != 0);
            m_marks.MarkPrePoint(seat, msg.nPointAnswers1[seat] != 0);
            m_marks.MarkNowPoint(seat, msg.nPointAnswers2[seat] != 0);
        }
        if (msg.nSeatStatus[seat] & kStatusOut1)
            m_marks.MarkRevolution(seat, TRUE);
        const int answer = msg.nGousijiAnswers[seat];
        if (answer >= 0 && answer <= 2)
            m_panes.ShowGousjPane(seat, 3 - answer);
        if (state == kStateWaitStart && msg.nStartFlags[seat] != 0)
            m_marks.ShowReadyMark(seat, FALSE);
    }
    const int historyCount = m_board.GetGamesPlayed();
    for (int k = 0; k < historyCount; ++k)
        m_board.AddHistory(msg.history[historyCount - 1 - k]);
    // A seat that finished, or sits the game out after its revolution, has
    // no hand on the table.
    if (IsSeat(me) && !(m_board.GetSeatStatus(me) & (kStatusOut1 | kStatusOut2)))
        m_view.ShowMyHand();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (!(rules & kRuleThrees)) {
            const bool ownHand = seat == me && !IsBlindWatcher();
            const int count = ownHand ? m_board.GetHandCardCount(me) : msg.nHandCount[seat];
            if (count >= 1 && count <= 10)
                m_panes.ShowRemnantPane(seat, count);
        }
    }
    MarkPlaces(msg.nPlaces, -1);
    if (!IsPlayer())
        m_view.EnableSeatButtons(FALSE);
    if (!(rules & kRuleRoomMode))
        m_view.ShowCoinButtons();
    if (state == kStatePlay) {
        for (int seat = 0; seat < kSeatCount; ++seat) {
            if (!(msg.nActionMask[seat] & (kActionTakeOut | kActionShao)))
                continue;
            if (!(seat == me && IsPlayer()))
                m_marks.ShowWaitMark(seat, FALSE);
            break;
        }
    }
}

void CTableRecords::TakeParkedHand() {
    const int me = m_viewpoint.nMySeat;
    if (!IsSeat(me))
        return;
    m_board.SetHand(me, m_board.GetSpareHand(), kHandSize);
    m_board.SetWatcherSees(me, m_board.GetSpareWatcherSees());
    // Taken once: a later seat change must not find this seat's hand.
    const tagCARD none[kHandSize] = {};
    m_board.SetSpareHand(none, false);
    if (IsBlindWatcher())
        m_view.ClearMyHand();
    UpdateSeatCards(me); // draws it when it may be seen
}

void CTableRecords::ResetTable() {
    m_view.HideSeatTips();
    m_view.ClearTableCards();
    m_view.ClearMyHand();
    ClearReturnsDue();
    m_marks.StopTableAnimations();
    ClearSeats();
    if (m_board.GetRuleFlags() & kRuleCardsLeftNotice)
        m_view.ClearShownHands();
}

void CTableRecords::ClearSeats() {
    for (int& marks : m_nRoundMarks)
        marks = 0;
    m_marks.ClearAllSeats();
}

void CTableRecords::HideFreeSeatMarks() {
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (m_board.GetUserInfo(seat).szUserName[0] == '\0') {
            m_marks.ShowWaitMark(seat, TRUE);
            m_marks.ShowReadyMark(seat, FALSE);
            m_marks.ShowTrustMark(seat, 0);
        }
}

void CTableRecords::UpdateSeatCards(int seat) {
    if (!IsSeat(seat))
        return;
    if (seat == m_viewpoint.nMySeat && !IsBlindWatcher())
        m_view.ShowMyHand();
    if (!(m_board.GetRuleFlags() & kRuleThrees)) {
        const int count = m_board.GetSeatHandCount(seat);
        m_panes.ShowRemnantPane(seat, count <= 10 ? count : 0);
    }
}

void CTableRecords::OnChangeSeatScene() {
    m_panes.ResetPanes();
    m_panes.ShowStartPane(FALSE, 0);
    // A seat changed while a game runs shows that game, not the start pane.
    const bool waiting = m_board.GetGameState() == kStateWaitStart;
    if (waiting)
        m_panes.ShowStartPane(TRUE, m_nMultiple);
    ResetTable();
    const int me = m_viewpoint.nMySeat;
    if (!IsPlayer()) {
        TakeParkedHand();
        for (int seat = 0; seat < kSeatCount; ++seat) {
            m_panes.ShowMultiplePane(seat, m_board.GetTableHead().nMultiple[seat], TRUE);
            m_view.RedrawSeatPlate(seat);
            m_marks.ShowTrustMark(seat, m_board.GetTrustWord(seat));
            m_marks.MarkPrePoint(seat, m_board.GetPointAnswer(1, seat) != 0);
            m_marks.MarkNowPoint(seat, m_board.GetPointAnswer(2, seat) != 0);
            m_marks.MarkOpenPoint(seat, m_board.GetOpenedPoint(seat) != 0);
            m_marks.MarkRevolution(seat, (m_board.GetSeatStatus(seat) & kStatusOut1) != 0);
            const int answer = m_board.GetGousijiAnswer(seat);
            if (answer >= 0 && answer <= 2)
                m_panes.ShowGousjPane(seat, 3 - answer);
            UpdateSeatCards(seat);
        }
        // With the seats placed last for a burn in vain.
        MarkPlaces(m_board.GetPublishedPlaces(), -1);
        for (int seat = 0; seat < kSeatCount; ++seat)
            if (m_board.GetSeatActionMask(seat) & (kActionTakeOut | kActionShao)) {
                m_marks.ShowWaitMark(seat, FALSE);
                break;
            }
        m_view.UpdateActionButtons(m_board.GetGameState(), 0, FALSE);
        if (m_client != nullptr)
            m_client->EnterChat(m_nWatcherBeans, m_nWatcherScore);
    } else {
        TakeMultiplesFromHead();
        if (IsSeat(me))
            m_view.ShowSeatMark(me, TRUE);
        for (int seat = 0; seat < kSeatCount; ++seat) {
            m_panes.ShowMultiplePane(seat, m_board.GetTableHead().nMultiple[seat], TRUE);
            if (m_board.GetRuleFlags() & kRuleChatWatchTarget)
                m_marks.ShowTrustMark(seat, m_board.GetTrustWord(seat));
        }
        if (waiting)
            m_panes.ShowStartPane(TRUE, m_nMultiple);
        // A watcher who sat down presses the seat's own buttons again.
        m_view.EnableSeatButtons(TRUE);
        if (m_client != nullptr) {
            m_client->EnterChat(0, 0);
            if (IsSeat(me))
                m_view.SetSoundPlayer(me, VoiceOf(me) == 0);
            if (TableApp().IsWatchAllowed())
                m_client->SendWatcherCanSeeMyCard(1);
        }
    }
    m_bChatEntered = 1;
    m_view.RepaintPlates();
    m_view.UpdateTitle(!IsPlayer());
}
