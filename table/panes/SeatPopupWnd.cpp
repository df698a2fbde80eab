#include "table/panes/SeatPopupWnd.h"

#include "platform/images/Picture.h"
#include "platform/resources/Resource.h"
#include "platform/window/Cursor.h"
#include "platform/window/WindowDcs.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "sprite/Picture.h"
#include "sprite/Theme.h"

namespace {

const char kPicture[] = "Avatar_Tip";
constexpr COLORREF kShapeKey = RGB(255, 0, 255);
constexpr int kStripFrames = 4;

const int kButtonIds[3] = {CSeatPopupWnd::kKickId, CSeatPopupWnd::kSitId, CSeatPopupWnd::kWatchId};
const char* const kToolTips[3] = {"踢人", "坐下", "旁观"};
const CGameLayout::Flag kStrips[3] = {CGameLayout::FLAG_OUT, CGameLayout::FLAG_DOWN,
                                      CGameLayout::FLAG_EYE};

SeatPopupDecision Notice(LPCSTR text) {
    return {SeatPopupAction::Notice, text};
}

BOOL IsOthersTakenSeat(const SeatPopupState& s) {
    return s.seat != s.mySeat && s.seatTaken;
}

} // namespace

SeatPopupDecision DecideKick(const SeatPopupState& s) {
    if (s.gameRunning)
        return {};
    if (s.watcher)
        return Notice("对不起，旁观不能使用踢人功能！");
    if (!s.member)
        return Notice("对不起，只有会员才能使用踢人功能！");
    if (!IsOthersTakenSeat(s))
        return {};
    return {SeatPopupAction::Standup, nullptr};
}

SeatPopupDecision DecideSit(const SeatPopupState& s) {
    if (s.gameRunning)
        return {};
    if ((s.seat == s.mySeat && !s.watcher) || s.seatTaken)
        return Notice("对不起，该座位已有人！");
    return {SeatPopupAction::Sit, nullptr};
}

SeatPopupDecision DecideWatch(const SeatPopupState& s) {
    if (s.gameRunning && !s.watcher)
        return {};
    if (IsOthersTakenSeat(s))
        return {SeatPopupAction::Watch, nullptr};
    return Notice("旁观换座位失败！");
}

// ---- the pop-up ----

CSeatPopupWnd::CSeatPopupWnd(CSeatPopupHost& host) : CDialog(IDD), m_host(host) {}

CSeatPopupWnd::~CSeatPopupWnd() {
    if (m_hCursor != nullptr)
        DestroyCursor(m_hCursor);
}

BOOL CSeatPopupWnd::Create(CWnd* owner, CGameLayout* layout) {
    m_pLayout = layout;
    if (!CDialog::Create(IDD, owner)) {
        WriteLog("The seat pop-up could not be made from dialog %d", int(IDD));
        return FALSE;
    }
    return TRUE;
}

BOOL CSeatPopupWnd::OnInitDialog() {
    CDialog::OnInitDialog();
    m_hCursor = static_cast<HCURSOR>(
        LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(kCursorId), IMAGE_CURSOR, 0, 0, 0));
    TakePicture();
    PlaceButtons();
    return TRUE;
}

void CSeatPopupWnd::TakePicture() {
    CPicture* picture = kn::theTheme.GetImage(kPicture, FALSE);
    if (picture == nullptr || picture->GetWidth() <= 0 || picture->GetHeight() <= 0) {
        // A plain rectangle: the window keeps its template size and no picture.
        WriteLog("The seat pop-up has no picture \"%s\"", kPicture);
        return;
    }
    m_size = {picture->GetWidth(), picture->GetHeight()};
    SetWindowPos(nullptr, 0, 0, m_size.cx, m_size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (HRGN region = kn::theTheme.GetRegion(kPicture, kShapeKey))
        SetWindowRgn(region, TRUE); // the window owns it now
    CClientDC screen(this);
    if (!m_memDC.Create(&screen, m_size.cx, m_size.cy))
        return;
    const RECT whole{0, 0, m_size.cx, m_size.cy};
    m_bHasPicture = picture->Render(m_memDC.m_hDC, whole);
    m_memDC.SetBkMode(TRANSPARENT);
}

void CSeatPopupWnd::PlaceButtons() {
    int x = kButtonLeft;
    for (int i = 0; i < 3; ++i) {
        CHoverButton& button = m_buttons[i];
        HWND control = ::GetDlgItem(m_hWnd, kButtonIds[i]);
        CBitmap* strip = m_pLayout != nullptr ? &m_pLayout->m_bmpFlags[kStrips[i]] : nullptr;
        if (control == nullptr ||
            !button.SubclassAndSetStrip(control, strip, kStripFrames, FALSE)) {
            WriteLog("The seat pop-up has no button %d", kButtonIds[i]);
            continue;
        }
        button.SetWindowPos(nullptr, x, kButtonTop, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        CRect rect;
        button.GetWindowRect(&rect);
        x += rect.Width();
        button.SetToolTipText(kToolTips[i], TRUE);
    }
}

void CSeatPopupWnd::EnableButtons() {
    for (CHoverButton& button : m_buttons) {
        if (button.m_hWnd != nullptr)
            button.EnableWindow(TRUE);
    }
}

void CSeatPopupWnd::OnShowWindow(BOOL show, UINT status) {
    for (CHoverButton& button : m_buttons)
        button.ActivateToolTip(show);
    CDialog::OnShowWindow(show, status);
}

void CSeatPopupWnd::OnPaint() {
    CPaintDC dc(this);
    if (m_bHasPicture)
        dc.BitBlt(0, 0, m_size.cx, m_size.cy, &m_memDC, 0, 0, SRCCOPY);
}

BOOL CSeatPopupWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (m_hCursor == nullptr)
        return CDialog::OnSetCursor(wnd, hitTest, message);
    SetCursor(m_hCursor);
    return TRUE;
}

BOOL CSeatPopupWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case kKickId:
        OnKick();
        return TRUE;
    case kSitId:
        OnSit();
        return TRUE;
    case kWatchId:
        OnWatch();
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CSeatPopupWnd::Carry(const SeatPopupDecision& decision, int seat) {
    switch (decision.action) {
    case SeatPopupAction::Notice:
        m_host.ShowSeatPopupNotice(decision.notice);
        break;
    case SeatPopupAction::Standup: {
        const CString name = m_host.SeatUserName(seat);
        if (!name.IsEmpty())
            m_host.RequestStandup(name);
        break;
    }
    case SeatPopupAction::Sit:
        m_host.RequestSeat(seat, 0);
        break;
    case SeatPopupAction::Watch:
        m_host.RequestSeat(seat, 1);
        break;
    case SeatPopupAction::None:
        break;
    }
}

namespace {

// The state of the seat the pop-up acts on; a seat outside the table acts
// on nothing.
bool StateOf(const CSeatPopupHost& host, SeatPopupState* state) {
    *state = host.SeatPopupStateNow();
    if (state->seat < 0 || state->seat >= 6) {
        WriteLog("The seat pop-up has no seat to act on (%d)", state->seat);
        return false;
    }
    return true;
}

} // namespace

void CSeatPopupWnd::OnKick() {
    ShowWindow(SW_HIDE);
    SeatPopupState state;
    if (StateOf(m_host, &state))
        Carry(DecideKick(state), state.seat);
}

void CSeatPopupWnd::OnSit() {
    SeatPopupState state;
    if (StateOf(m_host, &state))
        Carry(DecideSit(state), state.seat);
    ShowWindow(SW_HIDE);
}

void CSeatPopupWnd::OnWatch() {
    SeatPopupState state;
    if (StateOf(m_host, &state))
        Carry(DecideWatch(state), state.seat);
    ShowWindow(SW_HIDE);
}
