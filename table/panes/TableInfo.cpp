// The table's information about its seats: the tips made with the window,
// the player information tip over a plate, the speech tips, the wide status
// tip, the seats' levels and the chat pane's user columns, and the window
// title after a seat change.

#include "table/panes/TableInfo.h"

#include "game/GameLogic.h"
#include "game/LevelTitles.h"
#include "game/Seats.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "sprite/SpriteWnd.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameWndInfoText.h"
#include "table/common/TableAppLink.h"
#include "table/common/TableWndFields.h"

namespace {

// One row of the balloon tips' settings.
struct TipSettings {
    int autoHideMs;
    SIZE minSize;
    SIZE maxSize;
    int opacity;
    COLORREF background;
    COLORREF text;
    int font;
    COLORREF frame;
    int frameWidth;
};

const TipSettings kSeatTip{5000, {70, 45}, {200, 100}, 50, 0x000000, 0x99F888, 0, 0xBFFD02, 1};
const TipSettings kTableTipSettings{0,        {70, 45}, {120, 200}, 60, 0x000000,
                                    0x99F888, 0,        0xBFFD02,   1};
const TipSettings kStatusTipSettings{5000,     {70, 45}, {500, 80}, 60, 0x000000,
                                     0x99F888, 1,        0xBFFD02,  1};
const TipSettings kHintTipSettings{2000,     {30, 20}, {180, 50}, 100, 0xE8E8E8,
                                   0x000000, 0,        0xD0C0C0,  2};

// The status tip's body stands this far above the point its tail touches,
// with its bottom right corner there.
constexpr int kStatusTipTailLength = 16;
constexpr int kTipBottomRightMode = 3;

const TipSettings& SettingsOf(int tip) {
    switch (tip) {
    case kTableTip:
        return kTableTipSettings;
    case kStatusTip:
        return kStatusTipSettings;
    case kHintTip:
        return kHintTipSettings;
    default:
        return kSeatTip;
    }
}

} // namespace

CTableInfo::CTableInfo(const CGameLogic& board, CSpriteWnd& wnd, CInfoHost& host,
                       const CTableWndFields& fields, const CTableRecords& records)
    : m_board(board), m_wnd(wnd), m_host(host), m_fields(fields), m_records(records) {}

CTableInfo::~CTableInfo() = default;

void CTableInfo::CreateTips() {
    for (int tip = 0; tip < kTipCount; ++tip) {
        const TipSettings& s = SettingsOf(tip);
        CBalloonTipWnd& wnd = m_tips[tip];
        if (!wnd.Create(&m_wnd)) {
            WriteLog("The table could not create balloon tip %d", tip);
            continue;
        }
        wnd.SetAutoHide(s.autoHideMs);
        wnd.SetTail(16, 8);
        wnd.SetMinSize(s.minSize.cx, s.minSize.cy);
        wnd.SetMaxSize(s.maxSize.cx, s.maxSize.cy);
        wnd.SetOpacity(s.opacity);
        wnd.SetBkColor(s.background);
        wnd.SetTextColor(s.text);
        wnd.SetFont(s.font);
        wnd.SetFrame(s.frame, s.frameWidth);
    }
}

// ---- tips ----

void CTableInfo::ShowSeatTip(LPCSTR text, int seat) {
    if (!IsSeat(seat) || text == nullptr) {
        WriteLog("The table has no speech tip for seat %d", seat);
        return;
    }
    const int view = m_fields.viewpoint.ViewOf(seat);
    const RECT avatar = m_host.PlateRect(view);
    POINT place{avatar.left, avatar.top};
    m_wnd.ClientToScreen(&place);
    const TipPoints points = SpeechTipPoints(view, place);
    m_tips[view].Show(text, points.body.x, points.body.y, points.tail.x, points.tail.y, 0);
}

void CTableInfo::HideSeatTips() {
    for (int view = 0; view < kSeatCount; ++view)
        m_tips[view].Hide(); // a tip still waiting to show stays hidden too
}

void CTableInfo::HitTestSeat(POINT screenPoint) {
    POINT client = screenPoint;
    m_wnd.ScreenToClient(&client);
    int found = -1;
    for (int view = 0; view < kSeatCount && found < 0; ++view) {
        const RECT avatar = m_host.PlateRect(view);
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
    const int seat = m_fields.viewpoint.SeatOfView(found);
    if (seat == m_nInfoTipSeat)
        return;
    m_nInfoTipSeat = seat;
    const tagUSERINFO& user = m_board.GetUserInfo(seat);
    if (IsSeatUserTaken(user))
        tip.Show(PlayerInfoText(user), screenPoint.x, screenPoint.y, screenPoint.x, screenPoint.y,
                 InfoTipMode(found));
    else if (tip.IsShown())
        tip.Hide(); // the last seat's player is not this free seat's
}

void CTableInfo::ShowStatusTip(LPCSTR text) {
    HWND main = TableApp().GetMainHwnd();
    RECT client{};
    if (main == nullptr || !::GetClientRect(main, &client)) {
        WriteLog("The table has no main window for the status tip");
        return;
    }
    // The tail points at the client's bottom edge, 160 pixels from its right
    // end, and the body stands above it, right end there: the tip stays in
    // the window (and on the screen) instead of hanging below it.
    POINT origin{0, 0};
    ::ClientToScreen(main, &origin);
    OffsetRect(&client, origin.x, origin.y);
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT area{};
    if (!IntersectRect(&area, &client, &screen))
        area = screen;
    const POINT tail{client.right - 160, client.bottom - 1};
    CBalloonTipWnd& tip = m_tips[kStatusTip];
    tip.SetBounds(area);
    tip.Show(text != nullptr ? text : "", tail.x, tail.y - kStatusTipTailLength, tail.x, tail.y,
             kTipBottomRightMode);
}

void CTableInfo::OnInfoTipTick() {
    POINT cursor{};
    if (GetCursorPos(&cursor))
        HitTestSeat(cursor);
}

// ---- the seats' information ----

void CTableInfo::UpdateUserInfo(BOOL levelRise) {
    const int mySeat = m_fields.viewpoint.nMySeat;
    CTableAppLink& app = TableApp();
    if (app.HasTakeChanceDialog() && IsSeat(mySeat)) {
        const tagTABLEHEAD& head = m_board.GetTableHead();
        const int figure =
            BeanFigure(m_board.GetUserInfo(mySeat).nBeans, head.nKeepBeans, head.nMaxStake);
        if (figure != m_nBeanFigure) {
            m_nBeanFigure = figure;
            app.SetTakeChanceBeans(figure);
        }
    }
    CClientShell* shell = m_client != nullptr ? m_client->GetShell() : nullptr;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const tagUSERINFO& user = m_board.GetUserInfo(seat);
        const int level = StoredLevel(user.nLevel);
        if (levelRise && level > m_seatLevel[seat])
            m_host.PlayLevelUp(seat);
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

void CTableInfo::UpdateTitle(BOOL watcher) {
    const CString version =
        m_fields.pLayout != nullptr ? m_fields.pLayout->GetFileVersion("Pellor2") : CString();
    CString nick, user;
    if (m_client != nullptr) {
        nick = FixedFieldText(m_client->m_szNickName, sizeof m_client->m_szNickName);
        user = FixedFieldText(m_client->m_szUserName, sizeof m_client->m_szUserName);
    }
    const int mySeat = m_fields.viewpoint.nMySeat;
    CString title;
    title.Format("Morvane积分版 (%s) %s [%s] %s", LPCSTR(version), LPCSTR(nick), LPCSTR(user),
                 watcher ? "旁观" : "");
    if (HWND main = TableApp().GetMainHwnd())
        ::SetWindowText(main, title);
    else
        WriteLog("The table has no main window for its title");
    if (!watcher) {
        m_host.ShowNotice("换座位成功！");
        return;
    }
    CString notice;
    notice.Format("旁观玩家 %s",
                  IsSeat(mySeat) ? LPCSTR(UserNameOf(m_board.GetUserInfo(mySeat))) : "");
    m_host.ShowNotice(notice);
}
