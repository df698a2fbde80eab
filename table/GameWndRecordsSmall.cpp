// The records of starting, dealing and trusteeship, and the small notices
// of the table: trusteeship words, the watched hand, places, player records,
// the sound plug-in's data, cues, shao and bie notices, guesses, dropped
// tributes and the bean lock.

#include "assets/resource.h"
#include "platform/resources/Resource.h"
#include "sprite/AppServices.h"
#include "table/GameNetClient.h"
#include "table/GameRecordWords.h"
#include "table/GameWnd.h"
#include "table/TableAppLink.h"

#include <cstdio>

namespace {

bool IsSeat(int seat) {
    return seat >= 0 && seat < kSeatCount;
}

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

void CGameWnd::OnStart(const tagSTARTMSG& msg) {
    const int seat = msg.nSeat;
    theBoard.SetStartFlag(seat, 1);
    theBoard.GetTableHead().nMultiple[seat] = msg.nMultiple;
    ShowSeatMark(seat, FALSE);
    ShowReadyMark(seat, FALSE);
    if (IsMe(seat)) {
        ResetPanes();
        ShowStartPane(FALSE, 0);
        // The last game's trust marks, multiples and clean-sweep mark go
        // with its result: the mark stands where the point and play buttons come.
        ClearTrustMarks();
        StopSprite(kChuanSanHuSprite);
        m_bGameOverMark = FALSE;
    }
    int started = 0;
    for (int s = 0; s < kSeatCount; ++s)
        started += theBoard.GetStartFlag(s) != 0;
    if (started == kSeatCount) {
        // The seat direction chosen in the settings turns the seats now,
        // before the seats are drawn for the game.
        m_fields.nClockOrder = TableApp().BeginGameClockOrder();
        ClearAllSeats();
        OnUserTimer(kPlateRepaintTimer);
        theBoard.SetGameState(kStateAllStarted);
        for (int s = 0; s < kSeatCount; ++s)
            ShowMultiplePane(s, theBoard.GetTableHead().nMultiple[s], TRUE);
        theBoard.SetFirstGame(false);
        if (!IsPlayer())
            ResetPanes();
        ShowReadyMark(0, TRUE);
        AddReelLine("", TRUE);
        m_bRoundFlag = TRUE;
        UpdateUserInfo(FALSE);
        // A trusteeship request the referee never answered must not leave
        // the player without his button for the new game.
        if (IsPlayer() && m_pClient != nullptr)
            ShowTrustButtons(theBoard.IsSeatTrusted(m_pClient->m_nMySeat));
        if (TableApp().HasTakeChanceDialog() && m_pClient != nullptr) {
            const int left =
                theBoard.GetTableHead().nMaxGuesses - theBoard.GetGuessCount(m_pClient->m_nMySeat);
            char text[128];
            snprintf(text, sizeof text, "本盘剩余竞猜机会为%d次!", left);
            TableApp().SetTakeChanceStatus(text);
        }
    }
    if (msg.nStartFee > 0) {
        tagUSERINFO user = theBoard.GetUserInfo(seat);
        user.nBeans -= msg.nStartFee;
        theBoard.SetUserInfo(seat, user);
        UpdateUserInfo(FALSE);
    }
    PlayGameSound("start.wav");
}

void CGameWnd::OnDeal(const tagDEALMSG& msg) {
    theBoard.ClearForDeal();
    const int me = m_pClient != nullptr ? m_pClient->m_nMySeat : -1;
    theBoard.SetHand(me, msg.hand, msg.nCount);
    theBoard.SetGameState(kStatePointRound2);
    int digits[CTripleDes::kDigitCount];
    CGameLogic::GetKeyDigits(msg.hand, digits);
    theBoard.m_Cipher.SetKeyFromDigits(digits, CTripleDes::SeedFromDigits(digits));
    PlayGameSound("xipai.wav");
    // My cards wait in the deal window until the shuffle has been shown; its
    // end starts the deal, whose end resumes receiving.
    int codes[CTripleDes::kDigitCount];
    for (int i = 0; i < CTripleDes::kDigitCount; ++i)
        codes[i] = msg.hand[i].code;
    m_dealPace.StopDeal(0);
    m_dealPace.SetCardsSeat(me);
    m_dealPace.AddDealCards(codes, CTripleDes::kDigitCount);
    if (!ShowShuffleMark())
        ResetCardSprites();
}

void CGameWnd::OnTrust(const tagTRUSTMSG& msg) {
    const int seat = msg.nSeat;
    const int word = msg.bOn ? kTrustOwn : 0;
    theBoard.SetTrustWord(seat, word);
    ShowTrustMark(seat, word);
    if (!IsMe(seat) || !IsPlayer())
        return;
    m_nTrustSwitchCount = msg.nSwitchCount;
    ShowTrustButtons(msg.bOn);
    if (msg.bOn) {
        m_hands.ClearSelection();
        StopCountdown();
        ShowNotice(ResourceText(IDS_TRUST_ON, msg.nSwitchCount));
        PlayGameSound("trust.wav");
    } else {
        // Beyond three switches the string says so without a number.
        ShowNotice(msg.nSwitchCount > 3 ? ResourceText(IDS_TRUST_LIMIT, 0)
                                        : ResourceText(IDS_TRUST_OFF, msg.nSwitchCount));
        PlayGameSound("notrust.wav");
    }
}

void CGameWnd::OnTrustEnd(const tagGAMEENDMSG&) {
    ShowNotice("有人托管游戏，游戏结束！");
}

void CGameWnd::OnTrustWords(const tagTRUSTWORDSMSG& msg) {
    for (int seat = 0; seat < kSeatCount; ++seat)
        theBoard.SetTrustWord(seat, msg.nTrustWords[seat]);
    if (IsSeat(msg.nSeat))
        ShowTrustMark(msg.nSeat, msg.nTrustWords[msg.nSeat]);
}

void CGameWnd::OnWatcherCards(const tagWATCHERVIEWMSG& msg) {
    if (IsPlayer())
        return;
    theBoard.SetWatcherSees(msg.nSeat, msg.bAllow != 0);
    theBoard.SetHand(msg.nSeat, msg.hand, msg.nCount);
    if (!IsMe(msg.nSeat))
        return;
    if (msg.bAllow)
        ShowMyHand();
    else
        ClearMyHand();
}

void CGameWnd::OnPlaces(const tagPLACESMSG& msg) {
    theBoard.SetPlaces(msg.nPlaces);
    int placeOfCause = -1;
    for (int place = 0; place < kSeatCount; ++place) {
        const int seat = msg.nPlaces[place];
        if (!IsSeat(seat))
            continue;
        // Out of play, as the snapshot marks placed seats; the action mask
        // stays the referee's.
        theBoard.SetSeatStatus(seat, kStatusOut2, 1);
        ShowPlaceMark(seat, place);
        if (seat == msg.nSeat)
            placeOfCause = place;
    }
    if (!IsSeat(msg.nSeat) || placeOfCause < 0)
        return;
    char prefix[256];
    if (AfxLoadString(IDS_PLACE_PREFIX, prefix, sizeof prefix) == 0)
        prefix[0] = '\0';
    CString text;
    if (IsMe(msg.nSeat) && IsPlayer())
        text = "由于您";
    else
        text.Format("由于[%s]", LPCSTR(SeatDisplayName(msg.nSeat)));
    text += prefix;
    text += PlaceWord(placeOfCause);
    ShowNotice(text);
}

void CGameWnd::OnUserRecord(const tagUSERRECORDMSG& msg) {
    theBoard.SetUserInfo(msg.nSeat, msg.user);
    UpdateUserInfo(FALSE);
}

void CGameWnd::OnPluginData(const tagPLUGINMSG& msg) {
    m_soundHost.OnPeerMessage(msg.data);
}

void CGameWnd::OnCue(const tagCARDLIST& msg) {
    if (!(theBoard.GetRuleFlags() & kRuleCardsLeftNotice))
        return;
    const int me = m_pClient != nullptr ? m_pClient->m_nMySeat : -1;
    if (IsSeat(msg.nFromSeat)) {
        if (!IsBlindWatcher()) {
            m_hands.ShowCueCards(msg.nCodes, msg.nCount, msg.nFromSeat);
            PlayGameSound("prompt.wav");
        }
        return;
    }
    const bool ally = msg.nSeat == CGameLogic::GetPrevTeammate(me) ||
                      msg.nSeat == CGameLogic::GetNextTeammate(me);
    if (ally && msg.nCount >= 1 && IsPlayer()) {
        m_hands.ShowAllyHand(msg.nCodes, msg.nCount, msg.nSeat);
        UpdateCueButtons();
    }
}

void CGameWnd::OnShaoBie(const tagSHAOBIEMSG& msg) {
    if (!IsSeat(msg.nActor) || !IsSeat(msg.nAffected))
        return;
    const CString line =
        ShaoBieLine(msg.nKind, SeatDisplayName(msg.nActor), SeatDisplayName(msg.nAffected));
    if (line.IsEmpty())
        return;
    WriteReelLine(line);
    if (msg.bNotice)
        ShowNotice(line);
}

void CGameWnd::OnTakeChanceResult(const tagGUESSMSG& msg) {
    const int seat = msg.nSeat;
    theBoard.CountGuess(seat);
    const bool mine = IsMe(seat) && IsPlayer();
    if (mine && TableApp().HasTakeChanceDialog())
        TableApp().PostTakeChanceResult(msg.nAmount, msg.nOption);
    if (msg.nAmount != 0) {
        tagUSERINFO user = theBoard.GetUserInfo(seat);
        user.nBeans += msg.nAmount;
        theBoard.SetUserInfo(seat, user);
    }
    if (msg.nAmount >= 1) {
        char text[256];
        if (mine)
            snprintf(text, sizeof text,
                     "恭喜您竞猜中奖啦，您赢得游戏豆:%d个, 本盘还剩%d次竞猜机会!", msg.nAmount,
                     theBoard.GetTableHead().nMaxGuesses - theBoard.GetGuessCount(seat));
        else
            snprintf(text, sizeof text, "恭喜[%s]竞猜中奖啦，赢得游戏豆:%d个!",
                     LPCSTR(SeatDisplayName(seat)), msg.nAmount);
        TableApp().AppendChatSysText(text);
    }
    RefreshSeat(seat);
}

void CGameWnd::OnTributeStopped(const tagTRIBUTESTOPPEDMSG& msg) {
    CString nick[kSeatCount];
    CString user[kSeatCount];
    TributeStoppedSeat seats[kSeatCount];
    int count = 0;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        if (msg.bStopped[seat] == 0)
            continue;
        const tagUSERINFO& info = theBoard.GetUserInfo(seat);
        nick[count] =
            CString(info.szNickName, int(strnlen(info.szNickName, sizeof info.szNickName)));
        user[count] =
            CString(info.szUserName, int(strnlen(info.szUserName, sizeof info.szUserName)));
        seats[count] = {nick[count], user[count]};
        ++count;
    }
    TableApp().AppendChatSysText(TributeStoppedLine(seats, count));
}

void CGameWnd::OnBeanLock(const tagBEANLOCKMSG& msg) {
    m_nBeanLockResult = msg.nResult;
    if (msg.nResult == 0)
        return;
    ShowNotice("游戏豆锁定失败，请重新开始！");
    ShowStartPane(TRUE, 1);
    if (m_pClient != nullptr)
        ShowSeatMark(m_pClient->m_nMySeat, TRUE);
}
