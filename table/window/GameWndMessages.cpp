// The table window's messages: the leave request, the deal window's cards,
// the network client's records, button hovers and chat lines, and the
// commands of the buttons, the start buttons and the chips.

#include "table/window/GameWnd.h"
#include "table/common/TableAppLink.h"

BOOL CGameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_TABLE_LEAVE:
        m_panes.ClearAllPanes();
        if (HWND main = TableApp().GetMainHwnd())
            ::PostMessage(main, WM_CLOSE, 0, 0);
        *result = 0;
        return TRUE;
    case WM_DEAL_CARD:
        OnDealCard(int(wParam), int(lParam));
        *result = 0;
        return TRUE;
    case WM_DEAL_DONE:
        OnDealEnd();
        *result = 0;
        return TRUE;
    case WM_GAME_RECORD:
        *result = OnGameMessage(wParam, lParam);
        return TRUE;
    case WM_SPRITEBUTTON_HOVER:
        // lParam 0 enter, 1 leave.
        m_info.OnButtonHover(int(wParam), lParam != 0);
        *result = 0;
        return TRUE;
    case WM_CHAT_OWN_LINE:
        m_info.OnOwnChatLine(reinterpret_cast<LPCSTR>(lParam));
        *result = 0;
        return TRUE;
    case WM_CHAT_RECEIVED:
        m_info.OnReceivedChatLine(reinterpret_cast<LPCSTR>(lParam));
        *result = 0;
        return TRUE;
    default:
        return CSpriteWnd::OnWndMsg(message, wParam, lParam, result);
    }
}

BOOL CGameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (id >= kCmdChipFirst && id <= kCmdChipLast) {
        m_commands.OnChip(id);
        return TRUE;
    }
    switch (id) {
    case kCmdTrust:
        m_commands.OnTrust();
        break;
    case kCmdTrustExit:
        m_commands.OnTrustExit();
        break;
    case kCmdHistory:
        m_commands.OnHistory();
        break;
    case kCmdPrevturn:
        m_commands.OnPrevturn();
        break;
    case kCmdSound:
        m_commands.OnSound();
        break;
    case kCmdExchange:
        m_commands.OnExchange();
        break;
    case kCmdReel:
        m_commands.OnReel();
        break;
    case kCmdReelOpen:
        m_commands.OnReelOpen();
        break;
    case kCmdMagnif:
        m_commands.OnMagnif();
        break;
    case kCmdMagnifOpen:
        m_commands.OnMagnifOpen();
        break;
    case kCmdTakeOut:
        m_commands.OnTakeOut();
        break;
    case kCmdShaoPai:
        m_commands.OnShaoPai();
        break;
    case kCmdPass:
        m_commands.OnPass();
        break;
    case kCmdGaveUp:
        m_commands.OnGaveUp();
        break;
    case kCmdRangpai:
        m_commands.OnRangpai();
        break;
    case kCmdSearch:
        m_commands.OnSearch();
        break;
    case kCmdDeclPoint:
        m_commands.OnDeclPoint();
        break;
    case kCmdDeclPointOpen:
        m_commands.OnDeclPointOpen();
        break;
    case kCmdDeclNoPoint:
        m_commands.OnDeclNoPoint();
        break;
    case kCmdReturnTribute:
        m_commands.OnReturnTributeCmd();
        break;
    case kCmdRevolution:
    case kCmdNoRevolution:
        m_commands.OnRevolutionCmd(id == kCmdRevolution);
        break;
    case kCmdGousiji:
    case kCmdNoGousiji:
        m_commands.OnGousijiCmd(id == kCmdGousiji);
        break;
    case kCmdBuyThree:
        m_commands.OnBuyThree();
        break;
    case kCmdPayTribute:
        m_commands.OnPayTribute();
        break;
    case kCmdLeftCue:
        m_commands.OnLeftCue();
        break;
    case kCmdRightCue:
        m_commands.OnRightCue();
        break;
    case kCmdTakeChance:
        m_commands.OnTakeChance();
        break;
    case kCmdStart:
    case kCmdRStart:
        m_commands.OnStartCmd();
        break;
    default:
        return CSpriteWnd::OnCommand(wParam, lParam);
    }
    return TRUE;
}
