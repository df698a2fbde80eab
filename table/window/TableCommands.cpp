// The player's commands (see TableCommands.h).

#include "table/window/TableCommands.h"
#include "assets/resource.h"
#include "platform/resources/Resource.h"
#include "sprite/AppServices.h"
#include "sprite/SpriteButton.h"
#include "table/cards/CardLayout.h"
#include "table/window/CommandView.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameRecordWords.h"
#include "table/common/GameWndActionRules.h"
#include "table/common/GameWndIds.h"
#include "table/common/GameWndInfoText.h"
#include "table/panes/TablePanes.h"
#include "table/records/TableRecords.h"
#include "table/common/TableWndFields.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

void CTableCommands::ShowStringNotice(UINT id) {
    char text[512] = {};
    if (AfxLoadString(id, text, sizeof text) == 0) {
        WriteLog("The table has no text %u for its notice", id);
        return;
    }
    m_view.ShowNotice(text);
}

int CTableCommands::SelectedCodes(int* codes) const {
    for (int i = 0; i < kHandSize; ++i)
        codes[i] = kNoCard;
    return m_hands.GetSelectedCards(codes, kHandSize);
}

int CTableCommands::SendPlay(int kind, const int* codes, int count) {
    // Until the table moves on (a new play counter or a new mask) the same
    // play pressed again would only be refused by the server; another one
    // goes (a pass after a take out the table left unanswered). Once the
    // clock handed the turn to the table, nothing more goes in it.
    const int counter = m_board.GetPlayCounter();
    const int mask = m_view.MyMask();
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
    if (m_view.IsWatcher() || !m_view.IsInputAllowed())
        return;
    if ((m_view.MyMask() & (kActionTakeOut | kActionShao)) == 0)
        return;
    int codes[kHandSize];
    const int count = SelectedCodes(codes);
    if (count <= 0)
        return;
    const int seat = m_fields.viewpoint.nMySeat;
    if (kind == kActionTakeOut &&
        m_board.SelectionLeavesJoker(seat, codes, count, m_board.GetHand(seat), kHandSize) == 1) {
        ShowStringNotice(IDS_SHAO_NEEDS_JOKER);
        return;
    }
    const int result = SendPlay(kind, codes, count);
    if (result == kActionSent)
        return;
    // The cards stay raised so that the player can mend the choice.
    ShowStringNotice(PlayRefusalString(result));
    m_view.PlayGameSound("wrong.wav");
}

void CTableCommands::SendNoCardPlay(int kind, int maskBit) {
    // A right click by the leader of a round must not send a pass the
    // referee can only refuse.
    if (m_view.IsWatcher() || !m_view.IsInputAllowed() || (m_view.MyMask() & maskBit) == 0)
        return;
    if (SendPlay(kind, nullptr, 0) != kActionSent)
        return;
    m_hands.ClearSelection();
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
    if (m_view.IsWatcher() || !m_view.IsInputAllowed())
        return;
    const int seat = m_fields.viewpoint.nMySeat;
    const std::vector<tagPLAYENTRY>& plays = m_board.GetPlayList();
    const CardType toBeat = plays.empty() ? 0 : plays.back().type;
    // A list found for another round's play would offer plays that no
    // longer beat anything.
    if (plays.size() != m_nHintPlays || toBeat != m_hintToBeat)
        m_nHintIndex = 0;
    if (m_nHintIndex == 0) {
        m_hints.clear();
        m_board.Search(toBeat, seat, m_hints);
        m_nHintPlays = plays.size();
        m_hintToBeat = toBeat;
    }
    const int mask = m_view.MyMask();
    if (!m_hints.empty()) {
        if (m_nHintIndex < 0 || m_nHintIndex >= int(m_hints.size()))
            m_nHintIndex = 0;
        m_hands.SelectPlay(m_hints[size_t(m_nHintIndex)], seat);
        // After the last one the list is built afresh on the next press.
        m_nHintIndex = (m_nHintIndex + 1) % int(m_hints.size());
    } else if (mask & kActionPass) {
        OnPass();
    } else if (mask & kActionGiveUp) {
        OnGaveUp();
    }
    m_view.UpdateActionButtons(m_board.GetGameState(), m_view.MyMask(), TRUE);
    m_view.PlayGameSound("button.wav");
}

void CTableCommands::SendPoint(int value) {
    if (m_view.IsWatcher())
        return;
    int32_t record[7] = {0x908, 20, 0, value, m_fields.viewpoint.nMySeat, 0, 0};
    m_client->SendBuiltRecord(int(sizeof record), record);
    m_view.StopCountdown();
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
    if (m_view.IsWatcher())
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
        if ((m_board.GetRuleFlags() & kRuleThrees) && cards[i].rank == kRankThree) {
            ShowStringNotice(IDS_RETURN_NO_THREE);
            return;
        }
    }
    if (m_records.PendingTributes().empty())
        return;
    const tagPENDINGTRIBUTE& entry = m_records.PendingTributes().front();
    if (ReturnCountFits(entry.nCount, count)) {
        m_client->SendReturnTribute(entry.nTargetSeat, m_fields.viewpoint.nMySeat, cards, count,
                                    entry.nKind);
        return;
    }
    char format[512] = {};
    if (AfxLoadString(IDS_RETURN_COUNT_WRONG, format, sizeof format) == 0)
        return;
    // An entry without a count takes at most what the return record holds.
    const int wanted = entry.nCount >= 1 ? entry.nCount : kTributeMaxCards;
    char text[640] = {};
    snprintf(text, sizeof text, format, LPCSTR(SeatDisplayName(m_board, entry.nTargetSeat)), wanted,
             TributeKindWord(entry.nKind) != nullptr ? TributeKindWord(entry.nKind) : "");
    m_view.ShowNotice(text);
}

void CTableCommands::OnPayTribute() {
    m_view.StopCountdown();
    m_client->SendPayTribute();
}

void CTableCommands::OnBuyThree() {
    m_client->SendBuy3();
}

void CTableCommands::OnRevolutionCmd(BOOL yes) {
    m_view.StopCountdown();
    m_client->SendRevolution(yes ? 1 : 0);
}

void CTableCommands::OnGousijiCmd(BOOL yes) {
    m_view.StopCountdown();
    m_client->SendGousiji(yes ? 1 : 0);
}

void CTableCommands::SendCue(BOOL left) {
    if (m_view.IsWatcher())
        return;
    int codes[kHandSize];
    const int count = left ? m_hands.GetSelectedLeft(codes, kHandSize)
                           : m_hands.GetSelectedRight(codes, kHandSize);
    // The right cue goes out even empty: its button is only enabled while
    // that hand has a selection.
    if (left && count <= 0)
        return;
    const int teammate = left ? CGameLogic::GetNextTeammate(m_fields.viewpoint.nMySeat)
                              : CGameLogic::GetPrevTeammate(m_fields.viewpoint.nMySeat);
    if (!m_client->SendCue(teammate, codes, count)) {
        m_view.ShowNotice("您提示错误！");
        m_view.PlayGameSound("wrong.wav");
        return;
    }
    if (left)
        m_hands.DeselectLeft();
    else
        m_hands.DeselectRight();
    m_view.Button(left ? kBtnLeftCue : kBtnRightCue).Enable(FALSE);
    m_view.ShowNotice("提示成功！");
    m_view.PlayGameSound("prompt.wav");
}

void CTableCommands::OnLeftCue() {
    SendCue(TRUE);
}

void CTableCommands::OnRightCue() {
    SendCue(FALSE);
}

void CTableCommands::OnTrust() {
    if (m_board.GetGameState() == kStateWaitStart)
        return;
    m_view.Button(kBtnTrust).Enable(FALSE);
    m_client->SendTrust(1, 0);
}

void CTableCommands::OnTrustExit() {
    if (m_board.GetGameState() == kStateWaitStart)
        return;
    const int seat = m_fields.viewpoint.nMySeat;
    if (m_board.GetTrustCount(seat) > 3 && m_board.IsSeatTrusted(seat)) {
        ShowStringNotice(IDS_TRUST_LIMIT);
        return;
    }
    m_view.Button(kBtnTrustExit).Enable(FALSE);
    m_client->SendTrust(0, 0);
}

void CTableCommands::OnStartCmd() {
    if (m_view.IsWatcher())
        return;
    m_client->SendStart(m_records.GetMultiple());
}

void CTableCommands::OnChip(UINT id) {
    if (m_view.IsWatcher())
        return;
    const int multiple = int(id) - kChipBaseId;
    // Only the five chips are multiples one may choose.
    if (MultipleLevel(multiple) == 0 || multiple > m_board.GetTableHead().nMaxMultiple)
        return;
    // The chip pressed stays down; the one chosen before comes up.
    const int chosen = m_records.GetMultiple();
    if (multiple != chosen)
        if (auto* old = m_view.PaneButton(kChipBaseId + chosen))
            old->SetCheck(FALSE, TRUE);
    m_records.SetMultiple(multiple);
    m_client->SendStart(multiple);
}

void CTableCommands::AnswerClock(int event) {
    const int seat = m_fields.viewpoint.nMySeat;
    switch (ClockAnswerFor(event, m_view.MyMask(), m_board.IsSeatTrusted(seat),
                           m_view.IsWatcher() != FALSE)) {
    case ClockAnswer::kTrustOn:
        if (!m_view.IsWatcher()) {
            m_client->SendTrust(1, 1);
            // The turn is over for me: a late press must not play as well.
            m_sent = SentPlay{m_board.GetPlayCounter(), m_view.MyMask(), 0, {}, true};
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
