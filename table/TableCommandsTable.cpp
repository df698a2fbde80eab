// The table's own commands: the dialogs the table opens (history, betting,
// exchange), the sound panel, and the reel, magnifier and last-card toggles.

#include "platform/window/SystemMetrics.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/GameNetClient.h"
#include "table/GameWnd.h"
#include "table/GameWndActionRules.h"
#include "table/TableAppLink.h"
#include "table/TableCommands.h"

void CTableCommands::OnHistory() {
    CTableAppLink& app = TableApp();
    if (!app.HasHistoryDialog()) {
        if (!app.CreateHistoryDialog(&m_table))
            return;
        app.ShowHistoryDialog(TRUE);
    } else if (app.IsHistoryShown()) {
        app.ShowHistoryDialog(FALSE);
    } else {
        app.RefreshHistoryDialog();
        app.ShowHistoryDialog(TRUE);
    }
    if (app.IsHistoryShown() && m_table.m_hWnd != nullptr) {
        // Centred on the table, but never over my play.
        POINT line{0, m_table.MyPlayTop() - CTablePanes::kPlayGap};
        POINT top{0, 0};
        m_table.ClientToScreen(&line);
        m_table.ClientToScreen(&top);
        app.KeepHistoryAbove(line.y, top.y);
    }
    m_table.SetFocus();
    m_table.PlayGameSound("button.wav");
}

void CTableCommands::OnTakeChance() {
    if (m_table.IsWatcher())
        return;
    CTableAppLink& app = TableApp();
    if (!app.HasTakeChanceDialog() && !app.CreateTakeChanceDialog(&m_table))
        return;
    app.ShowTakeChanceDialog(!app.IsTakeChanceShown());
    m_table.SetFocus();
    m_table.PlayGameSound("button.wav");
}

void CTableCommands::OnExchange() {
    const DWORD amount = m_client != nullptr ? DWORD(m_client->m_nExchangeAmount) : 0;
    TableApp().OpenExchangeDialog(&m_table, amount);
    m_table.PlayGameSound("button.wav");
}

void CTableCommands::OnSound() {
    if (m_table.IsWatcher() || m_table.Fields().pLayout == nullptr)
        return;
    const CSpritePos& at = m_table.Fields().pLayout->m_gameWndButtons[CGameLayout::GB_SOUND].m_pos;
    POINT point = ResolvePos(at);
    m_table.ClientToScreen(&point);
    point.x -= 10;
    point.y -= 390;
    RECT work{};
    if (SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0) && work.right < point.x + 258)
        point.x = work.right - 268;
    const int place[2] = {point.x, point.y};
    m_table.SoundHost().SetPosition(place, int(sizeof place));
    m_table.SoundHost().ShowPanel(1);
    m_table.PlayGameSound("button.wav");
}

void CTableCommands::SwapButtons(int hide, int show) {
    m_table.Button(hide).Enable(FALSE);
    m_table.Button(hide).Show(FALSE);
    m_table.Button(show).Enable(TRUE);
    m_table.Button(show).Show(TRUE);
}

void CTableCommands::OnReel() {
    SwapButtons(kBtnReel, kBtnReelOpen);
    m_table.Panes().ShowReelPane(TRUE);
    m_table.PlayGameSound("button.wav");
}

void CTableCommands::OnReelOpen() {
    SwapButtons(kBtnReelOpen, kBtnReel);
    m_table.Panes().ShowReelPane(FALSE);
    m_table.PlayGameSound("button.wav");
}

void CTableCommands::OnMagnif() {
    SwapButtons(kBtnMagnif, kBtnMagnifOpen);
    TableApp().ShowMagnifier(TRUE);
    m_table.SetFocus();
    m_table.PlayGameSound("button.wav");
}

void CTableCommands::OnMagnifOpen() {
    SwapButtons(kBtnMagnifOpen, kBtnMagnif);
    TableApp().ShowMagnifier(FALSE);
    m_table.PlayGameSound("button.wav");
}

void CTableCommands::StepAsideForMyTurn() {
    if (m_table.Panes().IsReelPaneShown()) {
        SwapButtons(kBtnReelOpen, kBtnReel);
        m_table.Panes().ShowReelPane(FALSE);
    }
    if (m_table.Panes().IsLastCardPaneShown())
        m_table.Panes().ShowLastCardPane(FALSE);
    if (TableApp().IsHistoryShown())
        TableApp().ShowHistoryDialog(FALSE);
}

void CTableCommands::OnPrevturn() {
    m_table.Panes().ShowLastCardPane(!m_table.Panes().IsLastCardPaneShown());
    m_table.PlayGameSound("button.wav");
}
