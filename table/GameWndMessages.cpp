// The table window's messages: the leave request, the deal window's cards,
// the network client's records, button hovers and chat lines, and the
// commands of the buttons, the start buttons and the chips.

#include "table/GameWnd.h"
#include "table/TableAppLink.h"

BOOL CGameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_TABLE_LEAVE:
        ClearAllPanes();
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
        OnButtonHover(int(wParam), lParam != 0);
        *result = 0;
        return TRUE;
    case WM_CHAT_OWN_LINE:
        OnOwnChatLine(reinterpret_cast<LPCSTR>(lParam));
        *result = 0;
        return TRUE;
    case WM_CHAT_RECEIVED:
        OnReceivedChatLine(reinterpret_cast<LPCSTR>(lParam));
        *result = 0;
        return TRUE;
    default:
        return CSpriteWnd::OnWndMsg(message, wParam, lParam, result);
    }
}

BOOL CGameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (id >= kCmdChipFirst && id <= kCmdChipLast) {
        OnChip(id);
        return TRUE;
    }
    switch (id) {
    case kCmdTrust:
        OnTrust();
        break;
    case kCmdTrustExit:
        OnTrustExit();
        break;
    case kCmdHistory:
        OnHistory();
        break;
    case kCmdPrevturn:
        OnPrevturn();
        break;
    case kCmdSound:
        OnSound();
        break;
    case kCmdExchange:
        OnExchange();
        break;
    case kCmdReel:
        OnReel();
        break;
    case kCmdReelOpen:
        OnReelOpen();
        break;
    case kCmdMagnif:
        OnMagnif();
        break;
    case kCmdMagnifOpen:
        OnMagnifOpen();
        break;
    case kCmdTakeOut:
        OnTakeOut();
        break;
    case kCmdShaoPai:
        OnShaoPai();
        break;
    case kCmdPass:
        OnPass();
        break;
    case kCmdGaveUp:
        OnGaveUp();
        break;
    case kCmdRangpai:
        OnRangpai();
        break;
    case kCmdSearch:
        OnSearch();
        break;
    case kCmdDeclPoint:
        OnDeclPoint();
        break;
    case kCmdDeclPointOpen:
        OnDeclPointOpen();
        break;
    case kCmdDeclNoPoint:
        OnDeclNoPoint();
        break;
    case kCmdReturnTribute:
        OnReturnTributeCmd();
        break;
    case kCmdRevolution:
    case kCmdNoRevolution:
        OnRevolutionCmd(id == kCmdRevolution);
        break;
    case kCmdGousiji:
    case kCmdNoGousiji:
        OnGousijiCmd(id == kCmdGousiji);
        break;
    case kCmdBuyThree:
        OnBuyThree();
        break;
    case kCmdPayTribute:
        OnPayTribute();
        break;
    case kCmdLeftCue:
        OnLeftCue();
        break;
    case kCmdRightCue:
        OnRightCue();
        break;
    case kCmdTakeChance:
        OnTakeChance();
        break;
    case kCmdStart:
    case kCmdRStart:
        OnStartCmd();
        break;
    default:
        return CSpriteWnd::OnCommand(wParam, lParam);
    }
    return TRUE;
}
