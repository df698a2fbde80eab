// The records that describe the whole table: the table info, the snapshot
// of a running game, and the rebuild after a seat change.

#include "platform/system/Clock.h"
#include "sprite/AppServices.h"
#include "table/ClientShell.h"
#include "table/GameNetClient.h"
#include "table/GameWnd.h"
#include "table/TableAppLink.h"

#include <algorithm>
#include <cstring>

namespace {

int MySeatOf(const CGameNetClient* client) {
    return client != nullptr ? client->m_nMySeat : -1;
}

bool IsSeat(int seat) {
    return seat >= 0 && seat < kSeatCount;
}

} // namespace

void CGameWnd::TakeMultiplesFromHead() {
    const tagTABLEHEAD& head = theBoard.GetTableHead();
    const int me = MySeatOf(m_pClient);
    const bool member = IsSeat(me) && theBoard.GetUserInfo(me).bMember != 0;
    m_nMultiple = member ? head.nField29 : head.nField30;
    m_nOfferedMultiple = member ? head.nMaxMultiple : head.nBaseMultiple;
}

void CGameWnd::OnTableInfo(const tagTABLEINFO& msg) {
    theBoard.ResetGameData();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        theBoard.SetTrustWord(seat, 0);
        m_tableCards.ClearSeat(seat);
    }
    ClearMyHand();
    ClearReturnsDue();
    theBoard.ClearHistory();
    m_dwTableStartTick = GetTickCount();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        theBoard.SetUserInfo(seat, msg.users[seat]);
        theBoard.SetStartFlag(seat, msg.nStartFlags[seat]);
    }
    theBoard.GetTableHead() = msg.head;
    theBoard.SetRuleFlags(uint32_t(msg.head.nRuleFlags));
    m_game.bMultiples = msg.head.nMaxMultiple > 1;

    const bool watchTarget = (theBoard.GetRuleFlags() & kRuleChatWatchTarget) != 0;
    const int me = MySeatOf(m_pClient);
    const bool first = m_bFirstTableRecord != 0;
    if (first) {
        m_bFirstTableRecord = 0;
        TakeMultiplesFromHead();
        if (IsSeat(me))
            m_soundHost.SetPlayerInfo(me, VoiceOf(me) == 0);
    }
    const bool mayStart = IsSeat(me) && theBoard.GetStartFlag(me) == 0 &&
                          theBoard.GetGamesPlayed() == 0 && m_bStartPaneAllowed && IsPlayer() &&
                          !m_bChatEntered;
    if (!watchTarget || mayStart)
        ShowStartPane(TRUE, m_nMultiple);
    if ((!watchTarget || first) && IsPlayer() && TableApp().IsWatchAllowed() && m_pClient)
        m_pClient->SendWatcherCanSeeMyCard(1);
    if (!m_bChatEntered && m_pClient != nullptr) {
        m_pClient->EnterChat(0, 0);
        m_bChatEntered = 1;
    }
    OnUserTimer(kPlateRepaintTimer);
    if (IsSeat(me))
        ShowSeatMark(me, TRUE);
    if (watchTarget) {
        for (int seat = 0; seat < kSeatCount; ++seat)
            ShowTrustMark(seat, theBoard.GetTrustWord(seat));
        HideFreeSeatMarks();
        if (!IsPlayer() && IsSeat(me))
            FollowWatchedSeat(me);
    }
    RestartInfoTimers(2000);
}

void CGameWnd::FollowWatchedSeat(int seat) {
    const tagUSERINFO& user = theBoard.GetUserInfo(seat);
    if (user.szUserName[0] == '\0') {
        m_bWatchedSeatEmpty = 1;
        return;
    }
    if (!m_bWatchedSeatEmpty)
        return;
    // The watched seat is taken again: the chat row follows the new player.
    m_bWatchedSeatEmpty = 0;
    if (m_pClient == nullptr)
        return;
    if (CClientShell* shell = m_pClient->GetShell()) {
        const CString name(user.szUserName, int(strnlen(user.szUserName, sizeof user.szUserName)));
        const CString mine(m_pClient->m_szUserName,
                           int(strnlen(m_pClient->m_szUserName, sizeof m_pClient->m_szUserName)));
        shell->SetChatUserField(mine, "旁观对象", name);
    }
    m_pClient->UpdateChatField(m_nWatcherBeans, m_nWatcherScore);
}

void CGameWnd::OnSnapshot(const tagSNAPSHOTMSG& msg) {
    theBoard.ResetGameData();
    AddReelLine("", TRUE);
    theBoard.ClearHistory();

    const int me = MySeatOf(m_pClient);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        theBoard.SetUserInfo(seat, msg.users[seat]);
        theBoard.SetStartFlag(seat, msg.nStartFlags[seat]);
        theBoard.SetSeatHandCount(seat, std::clamp(int(msg.nHandCount[seat]), 0, int(kHandSize)));
        theBoard.SetTrustWord(seat, msg.nTrustWords[seat]);
        theBoard.SetPointAnswer(1, seat, msg.nPointAnswers1[seat]);
        theBoard.SetPointAnswer(2, seat, msg.nPointAnswers2[seat]);
        theBoard.SetOpenedPoint(seat, msg.nOpenedPoint[seat]);
        theBoard.SetSeatStatus(seat, msg.nSeatStatus[seat], 0);
        theBoard.SetSeatActionMask(seat, msg.nActionMask[seat]);
        theBoard.SetGousijiAnswer(seat, msg.nGousijiAnswers[seat]);
    }
    theBoard.SetPlaces(msg.nPlaces);
    const int historyCount = std::clamp(int(msg.nHistoryCount), 0, int(kHistoryRoom));
    theBoard.SetGamesPlayed(historyCount);
    if (m_bFirstTableRecord && IsSeat(me)) {
        theBoard.SetHand(me, msg.hand, kHandSize);
        theBoard.SetWatcherSees(me, msg.bWatcherMaySee != 0);
    } else {
        theBoard.SetSpareHand(msg.hand, msg.bWatcherMaySee != 0);
    }

    m_nWatcherBeans = msg.nWatcherBeans;
    m_nWatcherScore = msg.nWatcherScore;
    // A watcher's snapshot carries no play (zeros): only a real play of a
    // seat is the round's play to beat.
    const tagPLAYENTRY& last = msg.lastPlay;
    if (IsSeat(last.nSeat) && last.type != 0 && theBoard.GetPlayList().empty())
        theBoard.AddPlay(last.nSeat, last.type);
    if (theBoard.GetPlayCounter() == 0)
        theBoard.SetPlayCounter(msg.nPlayCounter);
    theBoard.SetGameState(msg.nGameState);
    theBoard.GetTableHead() = msg.tableHead;
    theBoard.SetRuleFlags(uint32_t(msg.tableHead.nRuleFlags));
    // The chips are offered only where there is more than one multiple.
    m_game.bMultiples = msg.tableHead.nMaxMultiple > 1;

    if (m_pClient != nullptr && m_pClient->m_bOption && IsSeat(me)) {
        m_nTrustSwitchCount = msg.nTrustCount;
        theBoard.SetTrustWord(me, kTrustOwn);
        Button(kBtnTrust).Show(FALSE);
        Button(kBtnTrust).Enable(FALSE);
        Button(kBtnTrustExit).Enable(TRUE);
        Button(kBtnTrustExit).Show(TRUE);
    }

    int digits[CTripleDes::kDigitCount];
    CGameLogic::GetKeyDigits(msg.hand, digits);
    theBoard.m_Cipher.SetKeyFromDigits(digits, CTripleDes::SeedFromDigits(digits));

    if (m_bFirstTableRecord) {
        m_bFirstTableRecord = 0;
        RedrawFromSnapshot(msg);
    } else {
        for (int k = 0; k < historyCount; ++k)
            theBoard.AddHistory(msg.history[historyCount - 1 - k]);
        // A watcher is sent a snapshot only for the seat he watches now,
        // which follows the answer to his seat change.
        if (!IsPlayer())
            TakeParkedHand();
    }

    if (!m_bChatEntered && m_pClient != nullptr) {
        if (IsPlayer())
            m_pClient->EnterChat(0, 0);
        else
            m_pClient->EnterChat(m_nWatcherBeans, m_nWatcherScore);
        m_bChatEntered = 1;
    }
    RestartInfoTimers(2000);
}

void CGameWnd::RedrawFromSnapshot(const tagSNAPSHOTMSG& msg) {
    const int me = MySeatOf(m_pClient);
    const uint32_t rules = theBoard.GetRuleFlags();
    const int state = theBoard.GetGameState();
    if (IsPlayer() && IsSeat(me)) {
        m_soundHost.SetPlayerInfo(me, VoiceOf(me) == 0);
        if (TableApp().IsWatchAllowed())
            m_pClient->SendWatcherCanSeeMyCard(1);
    }
    UpdateSeatStateMarks(msg.nSeatStatus, TRUE);
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const tagUSERINFO& user = msg.users[seat];
        m_seatLevel[seat] = user.nLevel;
        if (seat == me) {
            TakeMultiplesFromHead();
            m_nMultiple = msg.tableHead.nMultiple[seat];
        }
        ShowMultiplePane(seat, msg.tableHead.nMultiple[seat], state != kStateWaitStart);
        RedrawSeatPlate(seat);
        ShowTrustMark(seat, msg.nTrustWords[seat]);
        if (!(rules & kRuleCardsLeftNotice)) {
            MarkOpenPoint(seat, msg.nOpenedPoint[seat] != 0);
            MarkPrePoint(seat, msg.nPointAnswers1[seat] != 0);
            MarkNowPoint(seat, msg.nPointAnswers2[seat] != 0);
        }
        if (msg.nSeatStatus[seat] & kStatusOut1)
            MarkRevolution(seat, TRUE);
        const int answer = msg.nGousijiAnswers[seat];
        if (answer >= 0 && answer <= 2)
            ShowGousjPane(seat, 3 - answer);
        if (state == kStateWaitStart && msg.nStartFlags[seat] != 0)
            ShowReadyMark(seat, FALSE);
    }
    const int historyCount = theBoard.GetGamesPlayed();
    for (int k = 0; k < historyCount; ++k)
        theBoard.AddHistory(msg.history[historyCount - 1 - k]);
    if (IsSeat(me) && !(theBoard.GetSeatStatus(me) & kStatusOut2))
        ShowMyHand();
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (!(rules & kRuleThrees)) {
            const bool ownHand = seat == me && !IsBlindWatcher();
            const int count = ownHand ? theBoard.GetHandCardCount(me) : msg.nHandCount[seat];
            if (count >= 1 && count <= 10)
                ShowRemnantPane(seat, count);
        }
    }
    for (int place = 0; place < kSeatCount; ++place) {
        const int seat = msg.nPlaces[place];
        if (!IsSeat(seat))
            continue;
        theBoard.SetSeatStatus(seat, kStatusOut2, 1);
        ShowPlaceMark(seat, place);
    }
    if (!IsPlayer()) {
        for (int button : {kBtnTrust, kBtnTrustExit, kBtnSound, kBtnExchange, kBtnTakeChance})
            Button(button).Enable(FALSE);
    }
    if (!(rules & kRuleRoomMode)) {
        Button(kBtnTakeChance).Show(TRUE);
        Button(kBtnExchange).Show(TRUE);
    }
    if (state == kStatePlay) {
        for (int seat = 0; seat < kSeatCount; ++seat) {
            if (!(msg.nActionMask[seat] & (kActionTakeOut | kActionShao)))
                continue;
            if (!(seat == me && IsPlayer()))
                ShowWaitMark(seat, FALSE);
            break;
        }
    }
}

void CGameWnd::TakeParkedHand() {
    const int me = MySeatOf(m_pClient);
    if (!IsSeat(me))
        return;
    theBoard.SetHand(me, theBoard.GetSpareHand(), kHandSize);
    theBoard.SetWatcherSees(me, theBoard.GetSpareWatcherSees());
    // Taken once: a later seat change must not find this seat's hand.
    const tagCARD none[kHandSize] = {};
    theBoard.SetSpareHand(none, false);
    if (IsBlindWatcher())
        ClearMyHand();
    UpdateSeatCards(me); // draws it when it may be seen
}

void CGameWnd::ResetTable() {
    for (int view = 0; view < kSeatCount; ++view)
        m_tips[view].ShowWindow(SW_HIDE);
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_tableCards.ClearSeat(seat);
    ClearMyHand();
    ClearReturnsDue();
    StopSprite(kShuffleSprite);
    StopSprite(kChuanSanHuSprite);
    m_game.gameOver = tagGAMEOVERMSG{};
    m_bCleanSweep = FALSE;
    ClearAllSeats();
    if (theBoard.GetRuleFlags() & kRuleCardsLeftNotice) {
        m_hands.ClearLeftShown();
        m_hands.ClearRightShown();
    }
}

void CGameWnd::HideFreeSeatMarks() {
    for (int seat = 0; seat < kSeatCount; ++seat)
        if (theBoard.GetUserInfo(seat).szUserName[0] == '\0') {
            ShowWaitMark(seat, TRUE);
            ShowReadyMark(seat, FALSE);
            ShowTrustMark(seat, 0);
        }
}

void CGameWnd::UpdateSeatCards(int seat) {
    if (!IsSeat(seat))
        return;
    if (seat == MySeatOf(m_pClient) && !IsBlindWatcher())
        ShowMyHand();
    if (!(theBoard.GetRuleFlags() & kRuleThrees)) {
        const int count = theBoard.GetSeatHandCount(seat);
        ShowRemnantPane(seat, count <= 10 ? count : 0);
    }
}

void CGameWnd::OnChangeSeatScene() {
    ResetPanes();
    ShowStartPane(FALSE, 0);
    ShowStartPane(TRUE, m_nMultiple);
    ResetTable();
    const int me = MySeatOf(m_pClient);
    if (!IsPlayer()) {
        TakeParkedHand();
        for (int seat = 0; seat < kSeatCount; ++seat) {
            ShowMultiplePane(seat, theBoard.GetTableHead().nMultiple[seat], TRUE);
            RedrawSeatPlate(seat);
            ShowTrustMark(seat, theBoard.GetTrustWord(seat));
            MarkPrePoint(seat, theBoard.GetPointAnswer(1, seat) != 0);
            MarkNowPoint(seat, theBoard.GetPointAnswer(2, seat) != 0);
            MarkOpenPoint(seat, theBoard.GetOpenedPoint(seat) != 0);
            MarkRevolution(seat, (theBoard.GetSeatStatus(seat) & kStatusOut1) != 0);
            const int answer = theBoard.GetGousijiAnswer(seat);
            if (answer >= 0 && answer <= 2)
                ShowGousjPane(seat, 3 - answer);
            UpdateSeatCards(seat);
        }
        const std::vector<int>& places = theBoard.GetPlaces();
        for (size_t place = 0; place < places.size(); ++place)
            ShowPlaceMark(places[place], int(place));
        for (int seat = 0; seat < kSeatCount; ++seat)
            if (theBoard.GetSeatActionMask(seat) & (kActionTakeOut | kActionShao)) {
                ShowWaitMark(seat, FALSE);
                break;
            }
        UpdateActionButtons(theBoard.GetGameState(), 0, FALSE);
        if (m_pClient != nullptr)
            m_pClient->EnterChat(m_nWatcherBeans, m_nWatcherScore);
    } else {
        TakeMultiplesFromHead();
        if (IsSeat(me))
            ShowSeatMark(me, TRUE);
        for (int seat = 0; seat < kSeatCount; ++seat) {
            ShowMultiplePane(seat, theBoard.GetTableHead().nMultiple[seat], TRUE);
            if (theBoard.GetRuleFlags() & kRuleChatWatchTarget)
                ShowTrustMark(seat, theBoard.GetTrustWord(seat));
        }
        ShowStartPane(TRUE, m_nMultiple);
        Button(kBtnTrust).Show(TRUE);
        if (m_pClient != nullptr) {
            m_pClient->EnterChat(0, 0);
            if (IsSeat(me))
                m_soundHost.SetPlayerInfo(me, VoiceOf(me) == 0);
            if (TableApp().IsWatchAllowed())
                m_pClient->SendWatcherCanSeeMyCard(1);
        }
    }
    m_bChatEntered = 1;
    OnUserTimer(kPlateRepaintTimer);
    UpdateTitle(!IsPlayer());
}
