// The table's information about its seats: the player information tip over
// a plate, the speech tips, the wide status tip, the reel list, the chat
// pane's user columns, the window title after a seat change, and the seat
// pop-up with the timers that show it and watch the cursor leave it.

#include "game/LevelTitles.h"
#include "game/Seats.h"
#include "platform/window/Input.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/GameNetClient.h"
#include "table/GameWnd.h"
#include "table/GameWndActionRules.h"
#include "table/GameWndInfoText.h"
#include "table/SeatPopupWnd.h"
#include "table/TableAppLink.h"

#include <cstring>

namespace {

constexpr UINT kHoverTickMs = 1000;

// The pop-up the table makes goes with its window.
class CTableSeatPopup : public CSeatPopupWnd {
protected:
    void PostNcDestroy() override { delete this; }
};

} // namespace

// ---- places ----

RECT CGameWnd::NameLineRect(int view) const {
    return NameLineOf(PlateRect(view));
}

int CGameWnd::NameLineViewAt(POINT clientPoint) const {
    for (int view = 0; view < kSeatCount; ++view) {
        const RECT line = NameLineRect(view);
        if (PtInRect(&line, clientPoint))
            return view;
    }
    return -1;
}

// ---- tips ----

void CGameWnd::ShowSeatTip(LPCSTR text, int seat) {
    if (!IsSeat(seat) || text == nullptr) {
        WriteLog("The table has no speech tip for seat %d", seat);
        return;
    }
    const int view = m_fields.SeatToView(seat);
    const RECT avatar = PlateRect(view);
    POINT place{avatar.left, avatar.top};
    ClientToScreen(&place);
    const TipPoints points = SpeechTipPoints(view, place);
    m_tips[view].Show(text, points.body.x, points.body.y, points.tail.x, points.tail.y, 0);
}

void CGameWnd::HitTestSeat(POINT screenPoint) {
    POINT client = screenPoint;
    ScreenToClient(&client);
    int found = -1;
    for (int view = 0; view < kSeatCount && found < 0; ++view) {
        const RECT avatar = PlateRect(view);
        if (PtInRect(&avatar, client))
            found = view;
    }
    CBalloonTipWnd& tip = m_tips[kTableTip];
    if (found < 0) {
        if (tip.IsShown())
            tip.Hide();
        m_nInfoTipSeat = -1;
        return;
    }
    const int seat = ViewToSeat(found, m_fields.nMySeat, m_fields.nClockOrder != 0);
    if (seat == m_nInfoTipSeat)
        return;
    m_nInfoTipSeat = seat;
    const tagUSERINFO& user = theBoard.GetUserInfo(seat);
    if (IsSeatUserTaken(user))
        tip.Show(PlayerInfoText(user), screenPoint.x, screenPoint.y, screenPoint.x, screenPoint.y,
                 InfoTipMode(found));
    else if (tip.IsShown())
        tip.Hide(); // the last seat's player is not this free seat's
}

void CGameWnd::ShowStatusTip(LPCSTR text) {
    HWND main = TableApp().GetMainHwnd();
    RECT client{};
    if (main == nullptr || !::GetClientRect(main, &client)) {
        WriteLog("The table has no main window for the status tip");
        return;
    }
    POINT at{client.right - 160, client.bottom};
    ::ClientToScreen(main, &at);
    m_tips[kStatusTip].Show(text != nullptr ? text : "", at.x, at.y, at.x, at.y, 1);
}

void CGameWnd::OnInfoTipTick() {
    POINT cursor{};
    if (GetCursorPos(&cursor))
        HitTestSeat(cursor);
}

// ---- the reel list ----

void CGameWnd::AddReelLine(LPCSTR text, BOOL clear) {
    if (clear) {
        while (!m_reelLines.IsEmpty())
            delete static_cast<CString*>(m_reelLines.RemoveHead());
        return;
    }
    m_reelLines.AddTail(new CString(text != nullptr ? text : ""));
}

// ---- the seats' information ----

int CGameWnd::GetSeatLevel(int seat) const {
    return IsSeat(seat) ? m_seatLevel[seat] : 0;
}

void CGameWnd::UpdateUserInfo(BOOL levelRise) {
    const int mySeat = m_pClient != nullptr ? m_pClient->m_nMySeat : m_fields.nMySeat;
    CTableAppLink& app = TableApp();
    if (app.HasTakeChanceDialog() && IsSeat(mySeat)) {
        const tagTABLEHEAD& head = theBoard.GetTableHead();
        const int figure =
            BeanFigure(theBoard.GetUserInfo(mySeat).nBeans, head.nKeepBeans, head.nMaxStake);
        if (figure != m_nBeanFigure) {
            m_nBeanFigure = figure;
            app.SetTakeChanceBeans(figure);
        }
    }
    CClientShell* shell = m_pClient != nullptr ? m_pClient->GetShell() : nullptr;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const tagUSERINFO& user = theBoard.GetUserInfo(seat);
        const int level = StoredLevel(user.nLevel);
        if (levelRise && level > m_seatLevel[seat])
            PlayUpgradeAnim(seat);
        m_seatLevel[seat] = level;
        if (shell == nullptr || !IsSeatUserTaken(user))
            continue;
        const CString name = UserNameOf(user);
        CString value;
        value.Format("%d", user.nScore);
        shell->SetChatUserField(name, "积分", value);
        value.Format("%d", user.nBeans);
        shell->SetChatUserField(name, "游戏豆", value);
        shell->SetChatUserField(name, "级别", GetLevelTitle(user.nLevel));
        value.Format("%d", user.nWealth);
        shell->SetChatUserField(name, "财富", value);
    }
}

void CGameWnd::RefreshUserList() {
    UpdateUserInfo(FALSE);
}

void CGameWnd::RedrawTableInfo() {
    for (int seat = 0; seat < kSeatCount; ++seat)
        RedrawSeatPlate(seat);
}

void CGameWnd::UpdateTitle(BOOL watcher) {
    const CString version =
        m_fields.pLayout != nullptr ? m_fields.pLayout->GetFileVersion("Pellor2") : CString();
    CString nick, user;
    int mySeat = m_fields.nMySeat;
    if (m_pClient != nullptr) {
        nick = FixedFieldText(m_pClient->m_szNickName, sizeof m_pClient->m_szNickName);
        user = FixedFieldText(m_pClient->m_szUserName, sizeof m_pClient->m_szUserName);
        mySeat = m_pClient->m_nMySeat;
    }
    CString title;
    title.Format("Morvane积分版 (%s) %s [%s] %s", LPCSTR(version), LPCSTR(nick), LPCSTR(user),
                 watcher ? "旁观" : "");
    if (HWND main = TableApp().GetMainHwnd())
        ::SetWindowText(main, title);
    else
        WriteLog("The table has no main window for its title");
    if (!watcher) {
        ShowNotice("换座位成功！");
        return;
    }
    CString notice;
    notice.Format("旁观玩家 %s",
                  IsSeat(mySeat) ? LPCSTR(UserNameOf(theBoard.GetUserInfo(mySeat))) : "");
    ShowNotice(notice);
}

// ---- the seat pop-up ----

void CGameWnd::OnHoverTimer() {
    KillTimer(kHoverTimer);
    if (m_nHoverView < 0 || m_nHoverView >= kSeatCount)
        return;
    if (m_pSeatPopup == nullptr) {
        CSeatPopupWnd::Links links;
        links.state = [this] {
            SeatPopupState state;
            state.gameRunning = theBoard.GetGameState() != 0;
            state.watcher = m_pClient != nullptr && m_pClient->m_bWatcher;
            state.mySeat = m_pClient != nullptr ? m_pClient->m_nMySeat : m_fields.nMySeat;
            state.member = IsSeat(state.mySeat) && theBoard.GetUserInfo(state.mySeat).bMember;
            state.seat = m_nHoverView >= 0
                             ? ViewToSeat(m_nHoverView, m_fields.nMySeat, m_fields.nClockOrder != 0)
                             : -1;
            state.seatTaken =
                IsSeat(state.seat) && IsSeatUserTaken(theBoard.GetUserInfo(state.seat));
            return state;
        };
        links.notice = [this](LPCSTR text) { ShowNotice(text); };
        links.userName = [](int seat) { return UserNameOf(theBoard.GetUserInfo(seat)); };
        links.standup = [this](LPCSTR name) {
            if (m_pClient != nullptr) {
                // A name may fill all 20 bytes of its field.
                char buffer[21] = {};
                strncpy(buffer, name, sizeof buffer - 1);
                m_pClient->Standup(buffer);
            }
        };
        links.changeSeat = [this](int seat, int watch) {
            if (m_pClient != nullptr)
                m_pClient->ChangeSeat(WORD(seat), watch);
        };
        auto* popup = new CTableSeatPopup;
        if (!popup->Create(this, m_fields.pLayout, std::move(links))) {
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
    SetTimer(kPopupCheckTimer, kHoverTickMs, nullptr);
}

void CGameWnd::OnSeatHoverTick() {
    if (theBoard.GetGameState() != 0)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    POINT client = cursor;
    ScreenToClient(&client);
    const int view = NameLineViewAt(client);
    m_nHoverView = view;
    if (view < 0 || !m_bSeatPopupMayShow)
        return;
    const int seat = ViewToSeat(view, m_fields.nMySeat, m_fields.nClockOrder != 0);
    const int mySeat = m_pClient != nullptr ? m_pClient->m_nMySeat : m_fields.nMySeat;
    if (seat != mySeat && IsSeatUserTaken(theBoard.GetUserInfo(seat)))
        OnHoverTimer();
}

void CGameWnd::HideSeatPopup() {
    if (m_pSeatPopup != nullptr)
        m_pSeatPopup->ShowWindow(SW_HIDE);
    m_bSeatPopupMayShow = 1;
    m_nPopupView = -1;
    KillTimer(kHoverTimer);
    KillTimer(kPopupCheckTimer);
    SetTimer(kHoverTimer, kHoverTickMs, nullptr);
}

void CGameWnd::ReleaseInfo() {
    if (m_pSeatPopup != nullptr) {
        // Deletes itself as its window goes.
        m_pSeatPopup->DestroyWindow();
        m_pSeatPopup = nullptr;
    }
    m_nPopupView = -1;
    AddReelLine(nullptr, TRUE);
}

void CGameWnd::OnSeatPopupCheckTick() {
    // A pop-up one of its buttons hid starts the watch over again, or the
    // hover tick would stay stopped and no pop-up would come back.
    if (m_pSeatPopup == nullptr || !m_pSeatPopup->IsWindowVisible() || m_nPopupView < 0) {
        HideSeatPopup();
        return;
    }
    const int seat = ViewToSeat(m_nPopupView, m_fields.nMySeat, m_fields.nClockOrder != 0);
    POINT cursor{};
    GetCursorPos(&cursor);
    POINT client = cursor;
    ScreenToClient(&client);
    const RECT line = NameLineRect(m_nPopupView);
    const RECT popup = SeatPopupRect(m_nPopupView, m_ptPopup);
    const BOOL stays = theBoard.GetGameState() == 0 &&
                       IsSeatUserTaken(theBoard.GetUserInfo(seat)) &&
                       (PtInRect(&line, client) || PtInRect(&popup, cursor));
    if (!stays)
        HideSeatPopup();
}
