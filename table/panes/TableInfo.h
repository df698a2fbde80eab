#pragma once

// The table's information and chat: the seats' speech tips, the information
// tip of the plate under the cursor, the wide status tip and the buttons'
// hint tip; the seats' levels and the chat pane's user columns; the chat
// lines the chat pane hands over; the main window's title after a seat
// change; and the seat pop-up at another player's name line, with the
// timers that show it and watch the cursor leave it. The table window owns
// it and gives it its tips' parent and timers; what it asks of the window
// besides is its host (InfoHost.h). It is the seat pop-up's host in turn.

#include "game/Cards.h"
#include "platform/gdi/GdiWrappers.h"
#include "table/common/GameWndIds.h"
#include "table/panes/BalloonTipWnd.h"
#include "table/panes/InfoHost.h"
#include "table/panes/SeatPopupHost.h"

class CGameLogic;
class CGameNetClient;
class CSeatPopupWnd;
class CSpriteWnd;
class CTableRecords;
struct CTableWndFields;

class CTableInfo : private CSeatPopupHost {
public:
    CTableInfo(const CGameLogic& board, CSpriteWnd& wnd, CInfoHost& host,
               const CTableWndFields& fields, const CTableRecords& records);
    ~CTableInfo() override;
    CTableInfo(const CTableInfo&) = delete;
    CTableInfo& operator=(const CTableInfo&) = delete;

    void SetClient(CGameNetClient* client) { m_client = client; }
    // The tips are made as the window is created; as it goes, the seat
    // pop-up (owned by the main window, so not destroyed with this one) goes too.
    void CreateTips();
    void Release();

    // ---- tips ----
    CBalloonTipWnd& Tip(int which) { return m_tips[which]; }
    // The speech tip of a seat.
    void ShowSeatTip(LPCSTR text, int seat);
    void HideSeatTips();
    // The information tip of the seat whose plate lies under the screen point.
    void HitTestSeat(POINT screenPoint);
    // The seat whose information tip shows; -1 for none.
    void SetInfoTipSeat(int seat) { m_nInfoTipSeat = seat; }
    // The wide status tip at the main window's bottom right.
    void ShowStatusTip(LPCSTR text);
    // 0x54F: a button's hint tip (leave: hidden).
    void OnButtonHover(int id, BOOL leave);

    // ---- chat lines ----
    // 0x6A7 and 0x6A8: a line I sent and a line the chat pane received.
    void OnOwnChatLine(LPCSTR text);
    void OnReceivedChatLine(LPCSTR text);

    // ---- the seats' information ----
    // Every seat's level and chat columns; with levelRise a seat whose level
    // rose shows the level-up.
    void UpdateUserInfo(BOOL levelRise);
    void SetSeatLevel(int seat, int level) { m_seatLevel[seat] = level; }
    // The main window's title after a seat change.
    void UpdateTitle(BOOL watcher);

    // ---- name lines and the seat pop-up ----
    // The view whose name line holds the client point, -1 none.
    int NameLineViewAt(POINT clientPoint) const;
    // The ticks of the timers 2 (information tip), 4009 (seat pop-up) and
    // 4010 (the seat pop-up watches the cursor leave).
    void OnInfoTipTick();
    void OnSeatHoverTick();
    void OnSeatPopupCheckTick();
    // Shows the seat pop-up at the cursor (from the hover tick).
    void OnHoverTimer();
    // The view whose name line shows the seat pop-up (-1 none), and the
    // pop-up (made on first use).

private:
    // ---- what the seat pop-up asks (CSeatPopupHost) ----
    SeatPopupState SeatPopupStateNow() const override;
    void ShowSeatPopupNotice(LPCSTR text) override { m_host.ShowNotice(text); }
    CString SeatUserName(int seat) const override;
    void RequestStandup(LPCSTR userName) override;
    void RequestSeat(int seat, int watch) override;

    // The name line of a view's plate, in client coordinates.
    RECT NameLineRect(int view) const;
    // A line shown in the chat pane's text.
    void AddChatText(LPCSTR text);
    void HideSeatPopup();

    const CGameLogic& m_board;
    CSpriteWnd& m_wnd;
    CInfoHost& m_host;
    const CTableWndFields& m_fields;
    const CTableRecords& m_records;
    CGameNetClient* m_client = nullptr;

    CBalloonTipWnd m_tips[kTipCount];
    int m_nInfoTipSeat = -1;
    // The seats' last known levels.
    int m_seatLevel[kSeatCount] = {};
    // The bean figure last written to the betting dialog (-1 none).
    int m_nBeanFigure = -1;
    CSeatPopupWnd* m_pSeatPopup = nullptr;
    int m_bSeatPopupMayShow = 1;
    // The view whose name line shows the seat pop-up, its place, and the view
    // of the name line under the cursor at the last hover tick (-1 none).
    int m_nPopupView = -1;
    POINT m_ptPopup{0, 0};
    int m_nHoverView = -1;
};
