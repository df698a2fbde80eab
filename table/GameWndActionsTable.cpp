// The table's other commands: start and the chips, the dialogs the table
// opens (history, betting, exchange), the sound panel, and the reel,
// magnifier and last-card toggles.

#include "platform/window/SystemMetrics.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/GameNetClient.h"
#include "table/GameWnd.h"
#include "table/GameWndActionRules.h"
#include "table/TableAppLink.h"

void CGameWnd::OnHistory() {
    CTableAppLink& app = TableApp();
    if (!app.HasHistoryDialog()) {
        if (!app.CreateHistoryDialog(this))
            return;
        app.ShowHistoryDialog(TRUE);
    } else if (app.IsHistoryShown()) {
        app.ShowHistoryDialog(FALSE);
    } else {
        app.RefreshHistoryDialog();
        app.ShowHistoryDialog(TRUE);
    }
    SetFocus();
    PlayGameSound("button.wav");
}

void CGameWnd::OnTakeChance() {
    if (IsWatcher())
        return;
    CTableAppLink& app = TableApp();
    if (!app.HasTakeChanceDialog() && !app.CreateTakeChanceDialog(this))
        return;
    app.ShowTakeChanceDialog(!app.IsTakeChanceShown());
    SetFocus();
    PlayGameSound("button.wav");
}

void CGameWnd::OnExchange() {
    const DWORD amount = m_pClient != nullptr ? DWORD(m_pClient->m_nExchangeAmount) : 0;
    TableApp().OpenExchangeDialog(this, amount);
    PlayGameSound("button.wav");
}

void CGameWnd::OnSound() {
    if (IsWatcher() || m_fields.pLayout == nullptr)
        return;
    const CSpritePos& at = m_fields.pLayout->m_gameWndButtons[CGameLayout::GB_SOUND].m_pos;
    POINT point = ResolvePos(at);
    ClientToScreen(&point);
    point.x -= 10;
    point.y -= 390;
    RECT work{};
    if (SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0) && work.right < point.x + 258)
        point.x = work.right - 268;
    const int place[2] = {point.x, point.y};
    m_soundHost.SetPosition(place, int(sizeof place));
    m_soundHost.ShowPanel(1);
    PlayGameSound("button.wav");
}

void CGameWnd::SwapButtons(int hide, int show) {
    m_buttons[hide].Enable(FALSE);
    m_buttons[hide].Show(FALSE);
    m_buttons[show].Enable(TRUE);
    m_buttons[show].Show(TRUE);
}

void CGameWnd::OnReel() {
    SwapButtons(kBtnReel, kBtnReelOpen);
    m_panes.ShowReelPane(TRUE);
    PlayGameSound("button.wav");
}

void CGameWnd::OnReelOpen() {
    SwapButtons(kBtnReelOpen, kBtnReel);
    m_panes.ShowReelPane(FALSE);
    PlayGameSound("button.wav");
}

void CGameWnd::OnMagnif() {
    SwapButtons(kBtnMagnif, kBtnMagnifOpen);
    TableApp().ShowMagnifier(TRUE);
    SetFocus();
    PlayGameSound("button.wav");
}

void CGameWnd::OnMagnifOpen() {
    SwapButtons(kBtnMagnifOpen, kBtnMagnif);
    TableApp().ShowMagnifier(FALSE);
    PlayGameSound("button.wav");
}

void CGameWnd::OnPrevturn() {
    m_panes.ShowLastCardPane(!m_panes.IsLastCardPaneShown());
    PlayGameSound("button.wav");
}
