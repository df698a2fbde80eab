// The records of starting, dealing and trusteeship, and the small notices
// of the table: trusteeship words, the watched hand, places, player records,
// the sound plug-in's data, cues, shao and bie notices, guesses, dropped
// tributes and the bean lock.

#include "assets/resource.h"
#include "platform/resources/Resource.h"
#include "sprite/AppServices.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameRecordWords.h"
#include "table/common/GameWndInfoText.h"
#include "table/common/TableAppLink.h"
#include "table/records/TableRecords.h"
#include "table/records/TableView.h"

#include <cstdio>

namespace {

// A resource string formatted with one number (or none).
CString ResourceText(UINT id, int number) {
    char format[256];
    if (AfxLoadString(id, format, sizeof format) == 0)
        return CString();
    char text[512];
    snprintf(text, sizeof text, format, number);
    return text;
}

} // namespace

void CTableRecords::OnStart(const tagSTARTMSG& msg) {
    const int seat = msg.nSeat;
    m_board.SetStartFlag(seat, 1);
    m_board.GetTableHead().nMultiple[seat] = msg.nMultiple;
    m_view.ShowSeatMark(seat, FALSE);
    m_marks.ShowReadyMark(seat, FALSE);
    if (IsMe(seat)) {
        m_panes.ResetPanes();
        m_panes.ShowStartPane(FALSE, 0);
        // The last game's trust marks, multiples, clean-sweep mark and
        // first-place text go with its result: the mark stands where the
        // point and play buttons come, the text where the seats' waiting
        // mark may.
        m_marks.ClearTrustMarks();
        m_marks.EndCleanSweepMark();
        m_view.StopSprite(kTouKeSprite);
    }
    ShowStartWait();
    int started = 0;
    for (int s = 0; s < kSeatCount; ++s)
        started += m_board.GetStartFlag(s) != 0;
    if (started == kSeatCount) {
        // The seat direction chosen in the settings turns the seats now,
        // before the seats are drawn for the game.
        m_view.TurnSeatsForGame();
        ClearSeats();
        m_view.RepaintPlates();
        m_board.SetGameState(kStateAllStarted);
        for (int s = 0; s < kSeatCount; ++s)
            m_panes.ShowMultiplePane(s, m_board.GetTableHead().nMultiple[s], TRUE);
        m_board.SetFirstGame(false);
        if (!IsPlayer())
            m_panes.ResetPanes();
        m_marks.ShowReadyMark(0, TRUE);
        m_panes.ClearReel();
        m_bRoundFlag = TRUE;
        m_view.UpdateUserInfo(FALSE);
        // A trusteeship request the referee never answered must not leave
        // the player without his button for the new game.
        if (IsPlayer() && m_client != nullptr)
            m_view.ShowTrustButtons(m_board.IsSeatTrusted(m_viewpoint.nMySeat));
        if (TableApp().HasTakeChanceDialog() && m_client != nullptr) {
            const int left =
                m_board.GetTableHead().nMaxGuesses - m_board.GetGuessCount(m_viewpoint.nMySeat);
            char text[128];
            snprintf(text, sizeof text, "本盘剩余竞猜机会为%d次!", left);
            TableApp().SetTakeChanceStatus(text);
        }
    }
    if (msg.nStartFee > 0) {
        tagUSERINFO user = m_board.GetUserInfo(seat);
        user.nBeans -= msg.nStartFee;
        m_board.SetUserInfo(seat, user);
        m_view.UpdateUserInfo(FALSE);
    }
    m_view.PlayGameSound("start.wav");
}

void CTableRecords::ShowStartWait() {
    // Once my seat has started, the table waits for the seats still to
    // start: the waiting mark stands at the first of them in the turn's
    // order (an empty seat has no one to wait for).
    const int me = m_viewpoint.nMySeat;
    int seat = me;
    for (int step = 1; step < kSeatCount && IsSeat(me) && m_board.GetStartFlag(me) != 0; ++step) {
        seat = CGameLogic::GetPrevSeat(seat);
        if (m_board.GetStartFlag(seat) == 0 && m_board.GetUserInfo(seat).szUserName[0] != '\0') {
            m_marks.ShowWaitMark(seat, FALSE);
            return;
        }
    }
    m_marks.ShowWaitMark(me, TRUE);
}

void CTableRecords::OnDeal(const tagDEALMSG& msg) {
    m_board.ClearForDeal();
    ShowStartWait(); // the game is under way: no seat is waited for to start
    const int me = m_viewpoint.nMySeat;
    m_board.SetHand(me, msg.hand, msg.nCount);
    m_board.SetGameState(kStatePointRound2);
    int digits[CTripleDes::kDigitCount];
    CGameLogic::GetKeyDigits(msg.hand, digits);
    m_board.m_Cipher.SetKeyFromDigits(digits, CTripleDes::SeedFromDigits(digits));
    m_view.PlayGameSound("xipai.wav");
    // My cards wait in the deal window until the shuffle has been shown; its
    // end starts the deal, whose end resumes receiving.
    int codes[CTripleDes::kDigitCount];
    for (int i = 0; i < CTripleDes::kDigitCount; ++i)
        codes[i] = msg.hand[i].code;
    m_view.StartDeal(codes, CTripleDes::kDigitCount, me);
}

void CTableRecords::OnTrust(const tagTRUSTMSG& msg) {
    const int seat = msg.nSeat;
    const int word = msg.bOn ? kTrustOwn : 0;
    m_board.SetTrustWord(seat, word);
    m_marks.ShowTrustMark(seat, word);
    if (!IsMe(seat) || !IsPlayer())
        return;
    // The exit button reads it: beyond three switches the seat stays trusted.
    m_board.SetTrustCount(seat, msg.nSwitchCount);
    m_view.ShowTrustButtons(msg.bOn);
    if (msg.bOn) {
        m_view.ClearSelection();
        m_view.StopCountdown();
        m_view.ShowNotice(ResourceText(IDS_TRUST_ON, msg.nSwitchCount));
        m_view.PlayGameSound("trust.wav");
    } else {
        // Beyond three switches the string says so without a number.
        m_view.ShowNotice(msg.nSwitchCount > 3 ? ResourceText(IDS_TRUST_LIMIT, 0)
                                               : ResourceText(IDS_TRUST_OFF, msg.nSwitchCount));
        m_view.PlayGameSound("notrust.wav");
    }
}

void CTableRecords::OnTrustEnd(const tagGAMEENDMSG&) {
    m_view.ShowNotice("有人托管游戏，游戏结束！");
}

void CTableRecords::OnTrustWords(const tagTRUSTWORDSMSG& msg) {
    // A record that names no seat changes nothing.
    if (!IsSeat(msg.nSeat))
        return;
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_board.SetTrustWord(seat, msg.nTrustWords[seat]);
    m_marks.ShowTrustMark(msg.nSeat, msg.nTrustWords[msg.nSeat]);
}

void CTableRecords::OnWatcherCards(const tagWATCHERVIEWMSG& msg) {
    if (IsPlayer())
        return;
    m_board.SetWatcherSees(msg.nSeat, msg.bAllow != 0);
    m_board.SetHand(msg.nSeat, msg.hand, msg.nCount);
    if (!IsMe(msg.nSeat))
        return;
    if (msg.bAllow)
        m_view.ShowMyHand();
    else
        m_view.ClearMyHand();
}

void CTableRecords::OnPlaces(const tagPLACESMSG& msg) {
    m_board.SetPlaces(msg.nPlaces);
    const int placeOfCause = MarkPlaces(msg.nPlaces, msg.nSeat);
    if (!IsSeat(msg.nSeat) || placeOfCause < 0)
        return;
    char prefix[256];
    if (AfxLoadString(IDS_PLACE_PREFIX, prefix, sizeof prefix) == 0)
        prefix[0] = '\0';
    CString text;
    if (IsMe(msg.nSeat) && IsPlayer())
        text = "由于您";
    else
        text.Format("由于[%s]", LPCSTR(SeatDisplayName(m_board, msg.nSeat)));
    text += prefix;
    text += PlaceWord(placeOfCause);
    m_view.ShowNotice(text);
}

void CTableRecords::OnUserRecord(const tagUSERRECORDMSG& msg) {
    m_board.SetUserInfo(msg.nSeat, msg.user);
    m_view.UpdateUserInfo(FALSE);
}

void CTableRecords::OnPluginData(const tagPLUGINMSG& msg) {
    m_view.PassPluginData(msg.data);
}

void CTableRecords::OnCue(const tagCARDLIST& msg) {
    if (!(m_board.GetRuleFlags() & kRuleCardsLeftNotice))
        return;
    const int me = m_viewpoint.nMySeat;
    if (IsSeat(msg.nFromSeat)) {
        if (!IsBlindWatcher()) {
            m_view.ShowCueCards(msg.nCodes, msg.nCount, msg.nFromSeat);
            m_view.PlayGameSound("prompt.wav");
        }
        return;
    }
    const bool ally = msg.nSeat == CGameLogic::GetPrevTeammate(me) ||
                      msg.nSeat == CGameLogic::GetNextTeammate(me);
    if (ally && msg.nCount >= 1 && IsPlayer()) {
        m_view.ShowAllyHand(msg.nCodes, msg.nCount, msg.nSeat);
        m_view.UpdateCueButtons();
    }
}

void CTableRecords::OnShaoBie(const tagSHAOBIEMSG& msg) {
    if (!IsSeat(msg.nActor) || !IsSeat(msg.nAffected))
        return;
    const CString line = ShaoBieLine(msg.nKind, SeatDisplayName(m_board, msg.nActor),
                                     SeatDisplayName(m_board, msg.nAffected));
    if (line.IsEmpty())
        return;
    m_panes.WriteReelLine(line);
    if (msg.bNotice)
        m_view.ShowNotice(line);
}

void CTableRecords::OnTakeChanceResult(const tagGUESSMSG& msg) {
    const int seat = msg.nSeat;
    m_board.CountGuess(seat);
    const bool mine = IsMe(seat) && IsPlayer();
    if (mine && TableApp().HasTakeChanceDialog())
        TableApp().PostTakeChanceResult(msg.nAmount, msg.nOption);
    if (msg.nAmount != 0) {
        tagUSERINFO user = m_board.GetUserInfo(seat);
        user.nBeans += msg.nAmount;
        m_board.SetUserInfo(seat, user);
    }
    if (msg.nAmount >= 1) {
        char text[256];
        if (mine)
            snprintf(text, sizeof text,
                     "恭喜您竞猜中奖啦，您赢得游戏豆:%d个, 本盘还剩%d次竞猜机会!", msg.nAmount,
                     m_board.GetTableHead().nMaxGuesses - m_board.GetGuessCount(seat));
        else
            snprintf(text, sizeof text, "恭喜[%s]竞猜中奖啦，赢得游戏豆:%d个!",
                     LPCSTR(SeatDisplayName(m_board, seat)), msg.nAmount);
        TableApp().AppendChatSysText(text);
    }
    m_view.RefreshSeat(seat);
}

void CTableRecords::OnTributeStopped(const tagTRIBUTESTOPPEDMSG& msg) {
    CString nick[kSeatCount];
    CString user[kSeatCount];
    TributeStoppedSeat seats[kSeatCount];
    int count = 0;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (msg.bStopped[seat] == 0)
            continue;
        const tagUSERINFO& info = m_board.GetUserInfo(seat);
        nick[count] = NickNameOf(info);
        user[count] = UserNameOf(info);
        seats[count] = {nick[count], user[count]};
        ++count;
    }
    TableApp().AppendChatSysText(TributeStoppedLine(seats, count));
}

void CTableRecords::OnBeanLock(const tagBEANLOCKMSG& msg) {
    m_nBeanLockResult = msg.nResult;
    if (msg.nResult == 0)
        return;
    m_view.ShowNotice("游戏豆锁定失败，请重新开始！");
    m_panes.ShowStartPane(TRUE, 1);
    if (m_client != nullptr)
        m_view.ShowSeatMark(m_viewpoint.nMySeat, TRUE);
}
