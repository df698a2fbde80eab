// The table's own commands: the dialogs the table opens (history, betting,
// exchange), the sound panel, and the reel, magnifier and last-card toggles.

#include "platform/window/SystemMetrics.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "sprite/SpriteButton.h"
#include "table/cards/CardLayout.h"
#include "table/window/CommandView.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameWndActionRules.h"
#include "table/common/GameWndIds.h"
#include "table/common/TableAppLink.h"
#include "table/window/TableCommands.h"
#include "table/panes/TablePanes.h"
#include "table/records/TableRecords.h"
#include "table/common/TableWndFields.h"

void CTableCommands::OnHistory() {
    CTableAppLink& app = TableApp();
    if (!app.HasHistoryDialog()) {
        if (!app.CreateHistoryDialog(m_view.DialogParent()))
            return;
        app.ShowHistoryDialog(TRUE);
    } else if (app.IsHistoryShown()) {
        app.ShowHistoryDialog(FALSE);
    } else {
        app.RefreshHistoryDialog();
        app.ShowHistoryDialog(TRUE);
    }
    if (app.IsHistoryShown() && m_view.HasWindow()) {
        // Centred on the table, but never over my play.
        const POINT line = m_view.ToScreen(POINT{0, m_view.MyPlayTop() - CTablePanes::kPlayGap});
        const POINT top = m_view.ToScreen(POINT{0, 0});
        app.KeepHistoryAbove(line.y, top.y);
    }
    m_view.TakeFocus();
    m_view.PlayGameSound("button.wav");
}

void CTableCommands::OnTakeChance() {
    if (m_view.IsWatcher())
        return;
    CTableAppLink& app = TableApp();
    if (!app.HasTakeChanceDialog() && !app.CreateTakeChanceDialog(m_view.DialogParent()))
        return;
    app.ShowTakeChanceDialog(!app.IsTakeChanceShown());
    m_view.TakeFocus();
    m_view.PlayGameSound("button.wav");
}

void CTableCommands::OnExchange() {
    const DWORD amount = m_client != nullptr ? DWORD(m_client->m_nExchangeAmount) : 0;
    TableApp().OpenExchangeDialog(m_view.DialogParent(), amount);
    m_view.PlayGameSound("button.wav");
}

void CTableCommands::OnSound() {
    if (m_view.IsWatcher() || m_fields.pLayout == nullptr)
        return;
    const CSpritePos& at = m_fields.pLayout->m_gameWndButtons[CGameLayout::GB_SOUND].m_pos;
    POINT point = m_view.ToScreen(ResolvePos(at));
    point.x -= 10;
    point.y -= 390;
    RECT work{};
    if (SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0) && work.right < point.x + 258)
        point.x = work.right - 268;
    m_view.OpenSoundPanel(point);
    m_view.PlayGameSound("button.wav");
}

void CTableCommands::SwapButtons(int hide, int show) {
    m_view.Button(hide).Enable(FALSE);
    m_view.Button(hide).Show(FALSE);
    m_view.Button(show).Enable(TRUE);
    m_view.Button(show).Show(TRUE);
}

void CTableCommands::OnReel() {
    SwapButtons(kBtnReel, kBtnReelOpen);
    m_panes.ShowReelPane(TRUE);
    m_view.PlayGameSound("button.wav");
}

void CTableCommands::OnReelOpen() {
    SwapButtons(kBtnReelOpen, kBtnReel);
    m_panes.ShowReelPane(FALSE);
    m_view.PlayGameSound("button.wav");
}

void CTableCommands::OnMagnif() {
    SwapButtons(kBtnMagnif, kBtnMagnifOpen);
    TableApp().ShowMagnifier(TRUE);
    m_view.TakeFocus();
    m_view.PlayGameSound("button.wav");
}

void CTableCommands::OnMagnifOpen() {
    SwapButtons(kBtnMagnifOpen, kBtnMagnif);
    TableApp().ShowMagnifier(FALSE);
    m_view.PlayGameSound("button.wav");
}

void CTableCommands::StepAsideForMyTurn() {
    if (m_panes.IsReelPaneShown()) {
        SwapButtons(kBtnReelOpen, kBtnReel);
        m_panes.ShowReelPane(FALSE);
    }
    if (m_panes.IsLastCardPaneShown())
        m_panes.ShowLastCardPane(FALSE);
    if (TableApp().IsHistoryShown())
        TableApp().ShowHistoryDialog(FALSE);
}

void CTableCommands::OnPrevturn() {
    m_panes.ShowLastCardPane(!m_panes.IsLastCardPaneShown());
    m_view.PlayGameSound("button.wav");
}
