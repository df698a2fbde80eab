// The player's plays: take out, shao, pass, let, give up, the hint, the
// point, revolution and gousiji answers, tribute and its return, buying a
// three, the cues to partners and trusteeship. Each checks my situation
// first and refuses with a notice where the rules say no; the table state
// changes only when the records come back.

#include "assets/resource.h"
#include "platform/resources/Resource.h"
#include "sprite/AppServices.h"
#include "table/GameNetClient.h"
#include "table/GameRecordWords.h"
#include "table/GameWnd.h"
#include "table/GameWndActionRules.h"

#include <cstdio>
#include <cstring>

namespace {

// A text field of a fixed-size record, read no further than its size.
std::string BoundedText(const char* field, size_t size) {
    return std::string(field, strnlen(field, size));
}

// The name a notice uses for a seat: the nickname, or the user name when
// the nickname is empty or one blank.
std::string DisplayName(int seat) {
    const tagUSERINFO& user = theBoard.GetUserInfo(seat);
    const std::string nick = BoundedText(user.szNickName, sizeof user.szNickName);
    if (nick.empty() || nick == " ")
        return BoundedText(user.szUserName, sizeof user.szUserName);
    return nick;
}

} // namespace

int CGameWnd::MySeat() const {
    return m_pClient != nullptr ? m_pClient->m_nMySeat : 0;
}

BOOL CGameWnd::IsWatcher() const {
    // Without a client nothing can be sent: treat the table as watched.
    return m_pClient == nullptr || m_pClient->m_bWatcher;
}

int CGameWnd::MyMask() const {
    return theBoard.GetSeatActionMask(MySeat());
}

void CGameWnd::ShowStringNotice(UINT id) {
    char text[512] = {};
    if (AfxLoadString(id, text, sizeof text) == 0) {
        WriteLog("The table has no text %u for its notice", id);
        return;
    }
    ShowNotice(text);
}

int CGameWnd::SelectedCodes(int* codes) const {
    for (int i = 0; i < kHandSize; ++i)
        codes[i] = kNoCard;
    return m_hands.GetSelectedCards(codes, kHandSize);
}

int CGameWnd::SendPlay(int kind, const int* codes, int count) {
    // One play per turn: until the table moves on (a new play counter or a
    // new mask), a second press would only be refused by the server.
    const int counter = theBoard.GetPlayCounter();
    const int mask = MyMask();
    if (m_nPlaySentCounter == counter && m_nPlaySentMask == mask) {
        WriteLog("The table refused a second play of kind %d in one turn", kind);
        return kActionSent;
    }
    const int result = m_pClient->SendAction(kind, codes, count);
    if (result == kActionSent) {
        m_nPlaySentCounter = counter;
        m_nPlaySentMask = mask;
    }
    return result;
}

void CGameWnd::PlaySelected(int kind) {
    if (IsWatcher() || !m_bInputAllowed)
        return;
    if ((MyMask() & (kActionTakeOut | kActionShao)) == 0)
        return;
    int codes[kHandSize];
    const int count = SelectedCodes(codes);
    if (count <= 0)
        return;
    const int seat = MySeat();
    if (kind == kActionTakeOut &&
        theBoard.SelectionLeavesJoker(seat, codes, count, theBoard.GetHand(seat), kHandSize) == 1) {
        ShowStringNotice(IDS_SHAO_NEEDS_JOKER);
        return;
    }
    const int result = SendPlay(kind, codes, count);
    if (result == kActionSent)
        return;
    // The cards stay raised so that the player can mend the choice.
    ShowStringNotice(PlayRefusalString(result));
    PlayGameSound("wrong.wav");
}

void CGameWnd::SendNoCardPlay(int kind, int maskBit) {
    // A right click by the leader of a round must not send a pass the
    // referee can only refuse.
    if (IsWatcher() || !m_bInputAllowed || (MyMask() & maskBit) == 0)
        return;
    if (SendPlay(kind, nullptr, 0) != kActionSent)
        return;
    m_hands.ClearSelection();
}

void CGameWnd::OnTakeOut() {
    PlaySelected(kActionTakeOut);
}

void CGameWnd::OnShaoPai() {
    PlaySelected(kActionShao);
}

void CGameWnd::OnPass() {
    SendNoCardPlay(kActionPass, kActionPass);
}

void CGameWnd::OnRangpai() {
    SendNoCardPlay(kActionLet, kActionLet);
}

void CGameWnd::OnGaveUp() {
    SendNoCardPlay(kActionGiveUp, kActionGiveUp);
}

void CGameWnd::OnSearch() {
    if (IsWatcher() || !m_bInputAllowed)
        return;
    const int seat = MySeat();
    const std::vector<tagPLAYENTRY>& plays = theBoard.GetPlayList();
    const CardType toBeat = plays.empty() ? 0 : plays.back().type;
    // A list found for another round's play would offer plays that no
    // longer beat anything.
    if (plays.size() != m_nHintPlays || toBeat != m_hintToBeat)
        m_nHintIndex = 0;
    if (m_nHintIndex == 0) {
        m_hints.clear();
        theBoard.Search(toBeat, seat, m_hints);
        m_nHintPlays = plays.size();
        m_hintToBeat = toBeat;
    }
    const int mask = MyMask();
    if (!m_hints.empty()) {
        if (m_nHintIndex < 0 || m_nHintIndex >= int(m_hints.size()))
            m_nHintIndex = 0;
        m_fields.nMySeat = seat;
        m_hands.SelectPlay(m_hints[size_t(m_nHintIndex)], seat);
        // After the last one the list is built afresh on the next press.
        m_nHintIndex = (m_nHintIndex + 1) % int(m_hints.size());
    } else if (mask & kActionPass) {
        OnPass();
    } else if (mask & kActionGiveUp) {
        OnGaveUp();
    }
    UpdateActionButtons(theBoard.GetGameState(), MyMask(), TRUE);
    PlayGameSound("button.wav");
}

void CGameWnd::SendPoint(int value) {
    if (IsWatcher())
        return;
    int32_t record[7] = {0x908, 20, 0, value, MySeat(), 0, 0};
    m_pClient->SendBuiltRecord(int(sizeof record), record);
    StopCountdown();
}

void CGameWnd::OnDeclPoint() {
    SendPoint(1);
}

void CGameWnd::OnDeclPointOpen() {
    SendPoint(1);
}

void CGameWnd::OnDeclNoPoint() {
    SendPoint(0);
}

void CGameWnd::OnReturnTributeCmd() {
    if (IsWatcher())
        return;
    int codes[kHandSize];
    const int count = SelectedCodes(codes);
    if (count <= 0) {
        ShowStringNotice(IDS_RETURN_NONE_SELECTED);
        return;
    }
    tagCARD cards[kHandSize];
    for (int i = 0; i < count; ++i) {
        cards[i] = CGameLogic::CardFromIndex(codes[i]);
        if ((theBoard.GetRuleFlags() & kRuleThrees) && cards[i].rank == kRankThree) {
            ShowStringNotice(IDS_RETURN_NO_THREE);
            return;
        }
    }
    if (m_records.PendingTributes().empty())
        return;
    const tagPENDINGTRIBUTE& entry = m_records.PendingTributes().front();
    if (ReturnCountFits(entry.nCount, count)) {
        m_pClient->SendReturnTribute(entry.nTargetSeat, MySeat(), cards, count, entry.nKind);
        return;
    }
    char format[512] = {};
    if (AfxLoadString(IDS_RETURN_COUNT_WRONG, format, sizeof format) == 0)
        return;
    // An entry without a count takes at most what the return record holds.
    const int wanted = entry.nCount >= 1 ? entry.nCount : kTributeMaxCards;
    char text[640] = {};
    snprintf(text, sizeof text, format, DisplayName(entry.nTargetSeat).c_str(), wanted,
             TributeKindWord(entry.nKind) != nullptr ? TributeKindWord(entry.nKind) : "");
    ShowNotice(text);
}

void CGameWnd::OnPayTribute() {
    StopCountdown();
    m_pClient->SendPayTribute();
}

void CGameWnd::OnBuyThree() {
    m_pClient->SendBuy3();
}

void CGameWnd::OnRevolutionCmd(BOOL yes) {
    StopCountdown();
    m_pClient->SendRevolution(yes ? 1 : 0);
}

void CGameWnd::OnGousijiCmd(BOOL yes) {
    StopCountdown();
    m_pClient->SendGousiji(yes ? 1 : 0);
}

void CGameWnd::SendCue(BOOL left) {
    if (IsWatcher())
        return;
    int codes[kHandSize];
    const int count = left ? m_hands.GetSelectedLeft(codes, kHandSize)
                           : m_hands.GetSelectedRight(codes, kHandSize);
    // The right cue goes out even empty: its button is only enabled while
    // that hand has a selection.
    if (left && count <= 0)
        return;
    const int teammate =
        left ? CGameLogic::GetNextTeammate(MySeat()) : CGameLogic::GetPrevTeammate(MySeat());
    if (!m_pClient->SendCue(teammate, codes, count)) {
        ShowNotice("您提示错误！");
        PlayGameSound("wrong.wav");
        return;
    }
    if (left)
        m_hands.DeselectLeft();
    else
        m_hands.DeselectRight();
    m_buttons[left ? kBtnLeftCue : kBtnRightCue].Enable(FALSE);
    ShowNotice("提示成功！");
    PlayGameSound("prompt.wav");
}

void CGameWnd::OnLeftCue() {
    SendCue(TRUE);
}

void CGameWnd::OnRightCue() {
    SendCue(FALSE);
}

void CGameWnd::SendTrusteeship(int on, BYTE automatic) {
    m_pClient->SendTrust(on, automatic);
}

void CGameWnd::OnTrust() {
    if (theBoard.GetGameState() == kStateWaitStart)
        return;
    m_buttons[kBtnTrust].Enable(FALSE);
    SendTrusteeship(1, 0);
}

void CGameWnd::OnTrustExit() {
    if (theBoard.GetGameState() == kStateWaitStart)
        return;
    const int seat = MySeat();
    if (theBoard.GetTrustCount(seat) > 3 && theBoard.IsSeatTrusted(seat)) {
        ShowStringNotice(IDS_TRUST_LIMIT);
        return;
    }
    m_buttons[kBtnTrustExit].Enable(FALSE);
    SendTrusteeship(0, 0);
}
