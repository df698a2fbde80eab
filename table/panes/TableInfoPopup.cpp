// The seat pop-up beside another player's name line while no game runs:
// the hover tick that shows it at the cursor, and the tick that hides it
// once the cursor has left both the name line and the pop-up.

#include "game/GameLogic.h"
#include "game/Seats.h"
#include "platform/window/Input.h"
#include "sprite/SpriteWnd.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameWndActionRules.h"
#include "table/common/GameWndInfoText.h"
#include "table/panes/SeatPopupWnd.h"
#include "table/panes/TableInfo.h"
#include "table/common/TableWndFields.h"

#include <cstring>

namespace {

constexpr UINT kHoverTickMs = 1000;

// The pop-up the table makes goes with its window.
class CTableSeatPopup : public CSeatPopupWnd {
public:
    explicit CTableSeatPopup(CSeatPopupHost& host) : CSeatPopupWnd(host) {}

protected:
    void PostNcDestroy() override { delete this; }
};

} // namespace

RECT CTableInfo::NameLineRect(int view) const {
    return NameLineOf(m_host.PlateRect(view));
}

int CTableInfo::NameLineViewAt(POINT clientPoint) const {
    // Without a layout no plate has a place.
    if (m_fields.pLayout == nullptr)
        return -1;
    for (int view = 0; view < kSeatCount; ++view) {
        const RECT line = NameLineRect(view);
        if (PtInRect(&line, clientPoint))
            return view;
    }
    return -1;
}

// ---- the seat pop-up ----

void CTableInfo::OnHoverTimer() {
    m_wnd.KillTimer(kHoverTimer);
    if (m_nHoverView < 0 || m_nHoverView >= kSeatCount)
        return;
    if (m_pSeatPopup == nullptr) {
        auto* popup = new CTableSeatPopup(*this);
        if (!popup->Create(&m_wnd, m_fields.pLayout)) {
            delete popup;
            return;
        }
        m_pSeatPopup = popup;
    } else {
        m_pSeatPopup->EnableButtons();
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    m_ptPopup = cursor;
    const RECT r = SeatPopupRect(m_nHoverView, cursor);
    m_nPopupView = m_nHoverView;
    m_bSeatPopupMayShow = 0;
    m_pSeatPopup->SetWindowPos(nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
    m_pSeatPopup->ShowWindow(SW_SHOWNOACTIVATE);
    m_wnd.SetTimer(kPopupCheckTimer, kHoverTickMs, nullptr);
}

SeatPopupState CTableInfo::SeatPopupStateNow() const {
    SeatPopupState state;
    state.gameRunning = m_board.GetGameState() != 0;
    state.watcher = m_client != nullptr && m_fields.viewpoint.bWatcher;
    state.mySeat = m_fields.viewpoint.nMySeat;
    state.member = IsSeat(state.mySeat) && m_board.GetUserInfo(state.mySeat).bMember;
    state.seat = m_nHoverView >= 0 ? m_fields.viewpoint.SeatOfView(m_nHoverView) : -1;
    state.seatTaken = IsSeat(state.seat) && IsSeatUserTaken(m_board.GetUserInfo(state.seat));
    return state;
}

CString CTableInfo::SeatUserName(int seat) const {
    return UserNameOf(m_board.GetUserInfo(seat));
}

void CTableInfo::RequestStandup(LPCSTR userName) {
    if (m_client != nullptr) {
        // A name may fill all 20 bytes of its field.
        char buffer[21] = {};
        strncpy(buffer, userName, sizeof buffer - 1);
        m_client->Standup(buffer);
    }
}

void CTableInfo::RequestSeat(int seat, int watch) {
    if (m_client != nullptr)
        m_client->ChangeSeat(WORD(seat), watch);
}

void CTableInfo::OnSeatHoverTick() {
    if (m_board.GetGameState() != 0)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    POINT client = cursor;
    m_wnd.ScreenToClient(&client);
    const int view = NameLineViewAt(client);
    m_nHoverView = view;
    if (view < 0 || !m_bSeatPopupMayShow)
        return;
    const int seat = m_fields.viewpoint.SeatOfView(view);
    const int mySeat = m_fields.viewpoint.nMySeat;
    if (seat != mySeat && IsSeatUserTaken(m_board.GetUserInfo(seat)))
        OnHoverTimer();
}

void CTableInfo::HideSeatPopup() {
    if (m_pSeatPopup != nullptr)
        m_pSeatPopup->ShowWindow(SW_HIDE);
    m_bSeatPopupMayShow = 1;
    m_nPopupView = -1;
    m_wnd.KillTimer(kHoverTimer);
    m_wnd.KillTimer(kPopupCheckTimer);
    m_wnd.SetTimer(kHoverTimer, kHoverTickMs, nullptr);
}

void CTableInfo::Release() {
    if (m_pSeatPopup != nullptr) {
        // Deletes itself as its window goes.
        m_pSeatPopup->DestroyWindow();
        m_pSeatPopup = nullptr;
    }
    m_nPopupView = -1;
}

void CTableInfo::OnSeatPopupCheckTick() {
    // A pop-up one of its buttons hid starts the watch over again, or the
    // hover tick would stay stopped and no pop-up would come back.
    if (m_pSeatPopup == nullptr || !m_pSeatPopup->IsWindowVisible() || m_nPopupView < 0) {
        HideSeatPopup();
        return;
    }
    const int seat = m_fields.viewpoint.SeatOfView(m_nPopupView);
    POINT cursor{};
    GetCursorPos(&cursor);
    POINT client = cursor;
    m_wnd.ScreenToClient(&client);
    const RECT line = NameLineRect(m_nPopupView);
    const RECT popup = SeatPopupRect(m_nPopupView, m_ptPopup);
    const BOOL stays = m_board.GetGameState() == 0 && IsSeatUserTaken(m_board.GetUserInfo(seat)) &&
                       (PtInRect(&line, client) || PtInRect(&popup, cursor));
    if (!stays)
        HideSeatPopup();
}
