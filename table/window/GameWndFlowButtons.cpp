// Which play and declaration buttons the player sees, and which he may
// press, for the game's state and his action mask.

#include "game/GameLogic.h"
#include "table/window/GameWnd.h"

namespace {

const int kActionButtons[] = {kBtnTakeOut,     kBtnShaoPai,       kBtnPass,       kBtnGaveUp,
                              kBtnRangpai,     kBtnSearch,        kBtnDeclPoint,  kBtnDeclPointOpen,
                              kBtnDeclNoPoint, kBtnReturnTribute, kBtnRevolution, kBtnNoRevolution,
                              kBtnGousiji,     kBtnNoGousiji};

// Action mask bits.
enum {
    kMaskPass = 1,
    kMaskLet = 2,
    kMaskShao = 4,
    kMaskGiveUp = 8,
    kMaskTakeOut = 16,
    kMaskReturnTribute = 0x40
};

} // namespace

void CGameWnd::ShowActionButton(int button, BOOL enabled) {
    m_buttons[button].Enable(enabled);
    m_buttons[button].Show(TRUE);
}

void CGameWnd::ShowTrustButtons(BOOL trusted) {
    // A watcher's pair stays disabled from the window's creation on.
    if (m_fields.viewpoint.bWatcher)
        return;
    m_buttons[kBtnTrust].Enable(!trusted);
    m_buttons[kBtnTrust].Show(!trusted);
    m_buttons[kBtnTrustExit].Enable(trusted);
    m_buttons[kBtnTrustExit].Show(trusted);
}

void CGameWnd::UpdateCueButtons() {
    // A cue goes to a partner whose cards lie open beside his plate, so its
    // button stands there while those cards do, and may be pressed once one
    // of them is picked.
    const bool cues = !m_fields.viewpoint.bWatcher &&
                      (m_board.GetRuleFlags() & kRuleCardsLeftNotice) &&
                      m_board.GetGameState() != kStateWaitStart;
    const bool left = cues && !m_hands.GetLeftShown().empty();
    const bool right = cues && !m_hands.GetRightShown().empty();
    m_buttons[kBtnLeftCue].Show(left);
    m_buttons[kBtnLeftCue].Enable(left && m_hands.CountSelectedLeft() > 0);
    m_buttons[kBtnRightCue].Show(right);
    m_buttons[kBtnRightCue].Enable(right && m_hands.CountSelectedRight() > 0);
}

void CGameWnd::UpdateActionButtons(int state, int mask, BOOL show) {
    for (int b : kActionButtons)
        m_buttons[b].Enable(FALSE);
    for (int b : kActionButtons)
        m_buttons[b].Show(FALSE);
    UpdateCueButtons();
    const int me = m_fields.viewpoint.nMySeat;
    // A seat that has played out its hand has nothing left to hand over:
    // trusteeship switched on now would only outlast the game, and the table
    // closes on a seat still trusted at game over. Its exit stays offered.
    if (!m_fields.viewpoint.bWatcher && IsSeat(me) && m_board.IsSeatOut(me) &&
        !m_board.IsSeatTrusted(me)) {
        m_buttons[kBtnTrust].Enable(FALSE);
        m_buttons[kBtnTrust].Show(FALSE);
    }
    if (!show || !m_bInputAllowed || m_fields.viewpoint.bWatcher || mask == 0 || !IsSeat(me) ||
        m_board.IsSeatTrusted(me) || m_board.IsSeatOut(me))
        return;
    const int raised = m_hands.CountSelected();
    switch (state) {
    case 1:
        ShowActionButton(kBtnDeclPoint, TRUE);
        ShowActionButton(kBtnDeclNoPoint, TRUE);
        break;
    case 2:
        ShowActionButton(kBtnDeclPointOpen, TRUE);
        ShowActionButton(kBtnDeclNoPoint, TRUE);
        break;
    case 4:
        if (mask & kMaskReturnTribute) {
            const BOOL ready = !m_records.PendingTributes().empty() &&
                               m_records.PendingTributes().front().nReturningSeat == me &&
                               m_records.PendingTributes().front().nCount == raised;
            ShowActionButton(kBtnReturnTribute, ready);
        }
        break;
    case 6:
        ShowActionButton(kBtnRevolution, TRUE);
        ShowActionButton(kBtnNoRevolution, TRUE);
        break;
    case 7:
        ShowActionButton(kBtnGousiji, TRUE);
        ShowActionButton(kBtnNoGousiji, TRUE);
        break;
    case 8:
        ShowActionButton(kBtnSearch, TRUE);
        ShowActionButton(kBtnRangpai, (mask & kMaskLet) != 0);
        ShowActionButton(kBtnPass, (mask & kMaskPass) != 0);
        if (mask & kMaskTakeOut)
            ShowActionButton(kBtnTakeOut, raised > 0);
        if (mask & kMaskGiveUp)
            ShowActionButton(kBtnGaveUp, TRUE);
        if (mask & kMaskShao)
            ShowActionButton(kBtnShaoPai, raised > 0);
        break;
    default:
        break;
    }
}
