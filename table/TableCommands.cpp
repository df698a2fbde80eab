// The player's commands (see TableCommands.h).

#include "table/TableCommands.h"
#include "assets/resource.h"
#include "platform/resources/Resource.h"
#include "sprite/AppServices.h"
#include "table/GameNetClient.h"
#include "table/GameRecordWords.h"
#include "table/GameWnd.h"
#include "table/GameWndActionRules.h"
#include "table/GameWndInfoText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

void CTableCommands::ShowStringNotice(UINT id) {
    char text[512] = {};
    if (AfxLoadString(id, text, sizeof text) == 0) {
        WriteLog("The table has no text %u for its notice", id);
        return;
    }
    m_table.ShowNotice(text);
}

int CTableCommands::SelectedCodes(int* codes) const {
    for (int i = 0; i < kHandSize; ++i)
        codes[i] = kNoCard;
    return m_table.Hands().GetSelectedCards(codes, kHandSize);
}

int CTableCommands::SendPlay(int kind, const int* codes, int count) {
    // Until the table moves on (a new play counter or a new mask) the same
    // play pressed again would only be refused by the server; another one
    // goes (a pass after a take out the table left unanswered). Once the
    // clock handed the turn to the table, nothing more goes in it.
    const int counter = theBoard.GetPlayCounter();
    const int mask = m_table.MyMask();
    std::vector<int> cards;
    if (codes != nullptr && count > 0)
        cards.assign(codes, codes + count);
    std::sort(cards.begin(), cards.end());
    if (m_sent.counter == counter && m_sent.mask == mask &&
        (m_sent.handedOver || (m_sent.kind == kind && m_sent.cards == cards))) {
        WriteLog("The table refused play of kind %d: it went out already in this turn", kind);
        return kActionSent;
    }
    const int result = m_client->SendAction(kind, codes, count);
    if (result == kActionSent)
        m_sent = SentPlay{counter, mask, kind, std::move(cards), false};
    return result;
}

void CTableCommands::PlaySelected(int kind) {
    if (m_table.IsWatcher() || !m_table.IsInputAllowed())
        return;
    if ((m_table.MyMask() & (kActionTakeOut | kActionShao)) == 0)
        return;
    int codes[kHandSize];
    const int count = SelectedCodes(codes);
    if (count <= 0)
        return;
    const int seat = m_table.Viewpoint().nMySeat;
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
    m_table.PlayGameSound("wrong.wav");
}

void CTableCommands::SendNoCardPlay(int kind, int maskBit) {
    // A right click by the leader of a round must not send a pass the
    // referee can only refuse.
    if (m_table.IsWatcher() || !m_table.IsInputAllowed() || (m_table.MyMask() & maskBit) == 0)
        return;
    if (SendPlay(kind, nullptr, 0) != kActionSent)
        return;
    m_table.Hands().ClearSelection();
}

void CTableCommands::OnTakeOut() {
    PlaySelected(kActionTakeOut);
}

void CTableCommands::OnShaoPai() {
    PlaySelected(kActionShao);
}

void CTableCommands::OnPass() {
    SendNoCardPlay(kActionPass, kActionPass);
}

void CTableCommands::OnRangpai() {
    SendNoCardPlay(kActionLet, kActionLet);
}

void CTableCommands::OnGaveUp() {
    SendNoCardPlay(kActionGiveUp, kActionGiveUp);
}

void CTableCommands::OnSearch() {
    if (m_table.IsWatcher() || !m_table.IsInputAllowed())
        return;
    const int seat = m_table.Viewpoint().nMySeat;
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
    const int mask = m_table.MyMask();
    if (!m_hints.empty()) {
        if (m_nHintIndex < 0 || m_nHintIndex >= int(m_hints.size()))
            m_nHintIndex = 0;
        m_table.Hands().SelectPlay(m_hints[size_t(m_nHintIndex)], seat);
        // After the last one the list is built afresh on the next press.
        m_nHintIndex = (m_nHintIndex + 1) % int(m_hints.size());
    } else if (mask & kActionPass) {
        OnPass();
    } else if (mask & kActionGiveUp) {
        OnGaveUp();
    }
    m_table.UpdateActionButtons(theBoard.GetGameState(), m_table.MyMask(), TRUE);
    m_table.PlayGameSound("button.wav");
}

void CTableCommands::SendPoint(int value) {
    if (m_table.IsWatcher())
        return;
    int32_t record[7] = {0x908, 20, 0, value, m_table.Viewpoint().nMySeat, 0, 0};
    m_client->SendBuiltRecord(int(sizeof record), record);
    m_table.StopCountdown();
}

void CTableCommands::OnDeclPoint() {
    SendPoint(1);
}

void CTableCommands::OnDeclPointOpen() {
    SendPoint(1);
}

void CTableCommands::OnDeclNoPoint() {
    SendPoint(0);
}

void CTableCommands::OnReturnTributeCmd() {
    if (m_table.IsWatcher())
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
    if (m_table.Records().PendingTributes().empty())
        return;
    const tagPENDINGTRIBUTE& entry = m_table.Records().PendingTributes().front();
    if (ReturnCountFits(entry.nCount, count)) {
        m_client->SendReturnTribute(entry.nTargetSeat, m_table.Viewpoint().nMySeat, cards, count,
                                    entry.nKind);
        return;
    }
    char format[512] = {};
    if (AfxLoadString(IDS_RETURN_COUNT_WRONG, format, sizeof format) == 0)
        return;
    // An entry without a count takes at most what the return record holds.
    const int wanted = entry.nCount >= 1 ? entry.nCount : kTributeMaxCards;
    char text[640] = {};
    snprintf(text, sizeof text, format, LPCSTR(SeatDisplayName(theBoard, entry.nTargetSeat)),
             wanted, TributeKindWord(entry.nKind) != nullptr ? TributeKindWord(entry.nKind) : "");
    m_table.ShowNotice(text);
}

void CTableCommands::OnPayTribute() {
    m_table.StopCountdown();
    m_client->SendPayTribute();
}

void CTableCommands::OnBuyThree() {
    m_client->SendBuy3();
}

void CTableCommands::OnRevolutionCmd(BOOL yes) {
    m_table.StopCountdown();
    m_client->SendRevolution(yes ? 1 : 0);
}

void CTableCommands::OnGousijiCmd(BOOL yes) {
    m_table.StopCountdown();
    m_client->SendGousiji(yes ? 1 : 0);
}

void CTableCommands::SendCue(BOOL left) {
    if (m_table.IsWatcher())
        return;
    int codes[kHandSize];
    const int count = left ? m_table.Hands().GetSelectedLeft(codes, kHandSize)
                           : m_table.Hands().GetSelectedRight(codes, kHandSize);
    // The right cue goes out even empty: its button is only enabled while
    // that hand has a selection.
    if (left && count <= 0)
        return;
    const int teammate = left ? CGameLogic::GetNextTeammate(m_table.Viewpoint().nMySeat)
                              : CGameLogic::GetPrevTeammate(m_table.Viewpoint().nMySeat);
    if (!m_client->SendCue(teammate, codes, count)) {
        m_table.ShowNotice("您提示错误！");
        m_table.PlayGameSound("wrong.wav");
        return;
    }
    if (left)
        m_table.Hands().DeselectLeft();
    else
        m_table.Hands().DeselectRight();
    m_table.Button(left ? kBtnLeftCue : kBtnRightCue).Enable(FALSE);
    m_table.ShowNotice("提示成功！");
    m_table.PlayGameSound("prompt.wav");
}

void CTableCommands::OnLeftCue() {
    SendCue(TRUE);
}

void CTableCommands::OnRightCue() {
    SendCue(FALSE);
}

void CTableCommands::OnTrust() {
    if (theBoard.GetGameState() == kStateWaitStart)
        return;
    m_table.Button(kBtnTrust).Enable(FALSE);
    m_client->SendTrust(1, 0);
}

void CTableCommands::OnTrustExit() {
    if (theBoard.GetGameState() == kStateWaitStart)
        return;
    const int seat = m_table.Viewpoint().nMySeat;
    if (theBoard.GetTrustCount(seat) > 3 && theBoard.IsSeatTrusted(seat)) {
        ShowStringNotice(IDS_TRUST_LIMIT);
        return;
    }
    m_table.Button(kBtnTrustExit).Enable(FALSE);
    m_client->SendTrust(0, 0);
}

void CTableCommands::OnStartCmd() {
    if (m_table.IsWatcher())
        return;
    m_client->SendStart(m_table.Records().GetMultiple());
}

void CTableCommands::OnChip(UINT id) {
    if (m_table.IsWatcher())
        return;
    const int multiple = int(id) - kChipBaseId;
    // Only the five chips are multiples one may choose.
    if (MultipleLevel(multiple) == 0 || multiple > theBoard.GetTableHead().nMaxMultiple)
        return;
    // The chip pressed stays down; the one chosen before comes up.
    const int chosen = m_table.Records().GetMultiple();
    if (multiple != chosen)
        if (auto* old = dynamic_cast<CSpriteButtonEx*>(m_table.FindItem(kChipBaseId + chosen)))
            old->SetCheck(FALSE, TRUE);
    m_table.Records().SetMultiple(multiple);
    m_client->SendStart(multiple);
}

void CTableCommands::AnswerClock(int event) {
    const int seat = m_table.Viewpoint().nMySeat;
    switch (ClockAnswerFor(event, m_table.MyMask(), theBoard.IsSeatTrusted(seat),
                           m_table.IsWatcher() != FALSE)) {
    case ClockAnswer::kTrustOn:
        if (!m_table.IsWatcher()) {
            m_client->SendTrust(1, 1);
            // The turn is over for me: a late press must not play as well.
            m_sent = SentPlay{theBoard.GetPlayCounter(), m_table.MyMask(), 0, {}, true};
        }
        break;
    case ClockAnswer::kPass:
        OnPass();
        break;
    case ClockAnswer::kGiveUp:
        OnGaveUp();
        break;
    case ClockAnswer::kNoPoint:
        OnDeclNoPoint();
        break;
    case ClockAnswer::kNoRevolution:
        OnRevolutionCmd(FALSE);
        break;
    case ClockAnswer::kNoGousiji:
        OnGousijiCmd(FALSE);
        break;
    case ClockAnswer::kNothing:
        break;
    }
}
