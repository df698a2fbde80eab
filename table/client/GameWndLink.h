#pragma once

// What the network client asks of the table window. The table window
// implements it and registers itself with theClient.SetGameWnd when it is
// created, and with SetGameWnd(nullptr) when it is destroyed. Records reach
// the window as message 0x1005 sent to GetLinkWindow().

#include "platform/window/Wnd.h"

#include "sprite/WindowMessages.h"

class CGameWndLink {
public:
    virtual ~CGameWndLink() = default;

    // The table window's handle; the client checks it with IsWindow first.
    virtual HWND GetLinkWindow() const = 0;

    virtual void ShowNotice(LPCSTR text) = 0;
    virtual void ShowStartButtons(BOOL show) = 0;
    virtual void StopSprite(int id) = 0;

    // A seat left a table that keeps its watchers.
    virtual void ShowSeatMark(int seat, BOOL show) = 0;
    virtual void ResetTable() = 0;
    virtual void HideFreeSeatMarks() = 0;
    virtual void RedrawTableInfo() = 0;
    virtual void UpdateSeatCards(int seat) = 0;
    virtual void RefreshUserList() = 0;
    virtual BOOL IsGameOverMarkShown() const = 0;
    virtual int GetMultiple() const = 0;
    virtual void ShowStartPane(BOOL show, int multiple) = 0;

    // The watcher's own values of the chat row (beans, score).
    virtual void GetWatcherValues(int* beans, int* score) const = 0;
    // The seat change succeeded: the table is rebuilt for the new seat.
    virtual void OnChangeSeatScene() = 0;
    // The seat's picture and texts after its beans changed.
    virtual void RefreshSeat(int seat) = 0;
    // The exchange mark over a seat whose beans were exchanged.
    virtual void ShowExchangeMark(int seat) = 0;
    // The coin dialogs: the charge dialog with its four values, the exchange
    // dialog with the amount; each replaces an open one.
    virtual void OpenChargeDialog(const DWORD values[4]) = 0;
    virtual void OpenExchangeDialog(DWORD amount) = 0;
};
