// The tooltip class and CToolTipCtrl.

#include "platform/controls/ControlSupport.h"
#include "platform/controls/ToolTip.h"
#include "platform/resources/Resource.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {
namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr int kDefaultInitialMs = 500;
constexpr int kCursorHeight = 20; // the tip shows below the cursor

struct Tool {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT flags = 0;
    RECT rect{};
    std::string text;
};

struct TipState {
    std::vector<Tool> tools;
    bool active = true;
    int initialMs = kDefaultInitialMs;
    int autoPopMs = kDefaultInitialMs * 10;
    int reshowMs = kDefaultInitialMs / 5;
    int current = -1; // the tool under the mouse
    bool shown = false;
    bool suppressed = false; // a click hid the tip: not again over the same tool
    POINT cursor{0, 0};      // screen coordinates of the last relayed move
    HFONT font = nullptr;
};

ControlStates<TipState>& States() {
    static auto* states = new ControlStates<TipState>;
    return *states;
}

std::string TextOf(const TOOLINFO& info) {
    if (!info.lpszText)
        return {};
    if (IS_INTRESOURCE(info.lpszText)) {
        char buffer[1024];
        const int n = LoadString(info.hinst, UINT(reinterpret_cast<ULONG_PTR>(info.lpszText)),
                                 buffer, int(sizeof buffer));
        return std::string(buffer, size_t(std::max(0, n)));
    }
    return info.lpszText;
}

int FindTool(const TipState& state, HWND hwnd, UINT_PTR id) {
    for (size_t i = 0; i < state.tools.size(); ++i)
        if (state.tools[i].hwnd == hwnd && state.tools[i].id == id)
            return int(i);
    return -1;
}

// The tool of the relayed window under a point of its client area.
int ToolAt(const TipState& state, HWND hwnd, POINT p) {
    for (size_t i = 0; i < state.tools.size(); ++i) {
        const Tool& tool = state.tools[i];
        if (tool.flags & TTF_IDISHWND) {
            if (reinterpret_cast<HWND>(tool.id) == hwnd)
                return int(i);
        } else if (tool.hwnd == hwnd && PtInRect(&tool.rect, p)) {
            return int(i);
        }
    }
    return -1;
}

void Hide(HWND hwnd, TipState& state) {
    KillTimer(hwnd, kShowTimer);
    KillTimer(hwnd, kPopTimer);
    if (state.shown) {
        state.shown = false;
        ShowWindow(hwnd, SW_HIDE);
    }
}

void Show(HWND hwnd, TipState& state) {
    KillTimer(hwnd, kShowTimer);
    if (!state.active || state.current < 0 || state.tools[size_t(state.current)].text.empty())
        return;
    MeasureDC measure(state.font);
    const std::string& text = state.tools[size_t(state.current)].text;
    const int width = measure.Width(text) + 8;
    const int height = measure.LineHeight() + 4;
    const int x =
        std::clamp(int(state.cursor.x), 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - width));
    int y = state.cursor.y + kCursorHeight;
    if (y + height > GetSystemMetrics(SM_CYSCREEN))
        y = state.cursor.y - height; // no room below: above the cursor
    SetWindowPos(hwnd, HWND_TOPMOST, x, y, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    state.shown = true;
    InvalidateRect(hwnd, nullptr, FALSE);
    SetTimer(hwnd, kPopTimer, UINT(state.autoPopMs), nullptr);
}

void Relay(HWND hwnd, TipState& state, const MSG& msg) {
    switch (msg.message) {
    case WM_MOUSEMOVE: {
        POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        state.cursor = p;
        ClientToScreen(msg.hwnd, &state.cursor);
        const int tool = ToolAt(state, msg.hwnd, p);
        if (tool == state.current)
            return;
        const bool wasShown = state.shown;
        Hide(hwnd, state);
        state.current = tool;
        state.suppressed = false;
        if (tool >= 0 && state.active)
            SetTimer(hwnd, kShowTimer, UINT(wasShown ? state.reshowMs : state.initialMs), nullptr);
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        Hide(hwnd, state);
        state.suppressed = true;
        return;
    case WM_MOUSELEAVE:
        Hide(hwnd, state);
        state.current = -1;
        return;
    default:
        return;
    }
}

void Paint(HWND hwnd, TipState& state) {
    ControlPaint paint(hwnd, state.font);
    HDC hdc = paint.dc();
    if (!hdc)
        return;
    RECT rc = paint.client();
    FillSolid(hdc, rc, GetSysColor(COLOR_INFOBK));
    Frame3d(hdc, rc, RGB(0, 0, 0), RGB(0, 0, 0));
    if (state.current < 0)
        return;
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_INFOTEXT));
    const std::string& text = state.tools[size_t(state.current)].text;
    rc.left += 4;
    DrawText(hdc, text.c_str(), int(text.size()), &rc,
             DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void SetDelay(TipState& state, WPARAM which, int ms) {
    const bool reset = ms < 0;
    switch (which) {
    case TTDT_AUTOMATIC:
        ms = reset ? kDefaultInitialMs : ms;
        state.initialMs = ms;
        state.autoPopMs = ms * 10;
        state.reshowMs = ms / 5;
        break;
    case TTDT_INITIAL:
        state.initialMs = reset ? kDefaultInitialMs : ms;
        break;
    case TTDT_AUTOPOP:
        state.autoPopMs = reset ? kDefaultInitialMs * 10 : ms;
        break;
    case TTDT_RESHOW:
        state.reshowMs = reset ? kDefaultInitialMs / 5 : ms;
        break;
    default:
        break;
    }
}

LRESULT OnToolMessage(HWND hwnd, TipState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool takesTool = message == TTM_ADDTOOL || message == TTM_DELTOOL ||
                           message == TTM_NEWTOOLRECT || message == TTM_UPDATETIPTEXT ||
                           message == TTM_GETTOOLINFO;
    auto* info = takesTool ? reinterpret_cast<LPTOOLINFO>(lParam) : nullptr;
    const int index = info ? FindTool(state, info->hwnd, info->uId) : -1;
    switch (message) {
    case TTM_ADDTOOL:
        if (!info)
            return FALSE;
        state.tools.push_back(Tool{info->hwnd, info->uId, info->uFlags, info->rect, TextOf(*info)});
        return TRUE;
    case TTM_DELTOOL:
        if (index >= 0) {
            if (state.current == index)
                Hide(hwnd, state);
            state.current = state.current > index ? state.current - 1
                                                  : (state.current == index ? -1 : state.current);
            state.tools.erase(state.tools.begin() + index);
        }
        return 0;
    case TTM_NEWTOOLRECT:
        if (index >= 0)
            state.tools[size_t(index)].rect = info->rect;
        return 0;
    case TTM_UPDATETIPTEXT:
        if (index >= 0) {
            state.tools[size_t(index)].text = TextOf(*info);
            if (state.shown && state.current == index)
                Show(hwnd, state); // re-fit to the new text
        }
        return 0;
    case TTM_GETTOOLINFO:
        if (index < 0)
            return FALSE;
        info->uFlags = state.tools[size_t(index)].flags;
        info->rect = state.tools[size_t(index)].rect;
        if (info->lpszText && !IS_INTRESOURCE(info->lpszText))
            strcpy(info->lpszText, state.tools[size_t(index)].text.c_str());
        return TRUE;
    case TTM_GETTOOLCOUNT:
        return LRESULT(state.tools.size());
    case TTM_ACTIVATE:
        state.active = wParam != 0;
        // An inactive tip is not told where the mouse goes: once active
        // again, the next move over a tool counts as coming to it.
        if (!state.active) {
            Hide(hwnd, state);
            state.current = -1;
        }
        return 0;
    case TTM_SETDELAYTIME:
        SetDelay(state, wParam, short(LOWORD(lParam)));
        return 0;
    case TTM_GETDELAYTIME:
        return wParam == TTDT_AUTOPOP ? state.autoPopMs
                                      : (wParam == TTDT_RESHOW ? state.reshowMs : state.initialMs);
    case TTM_RELAYEVENT:
        if (lParam && state.active)
            Relay(hwnd, state, *reinterpret_cast<const MSG*>(lParam));
        return 0;
    case TTM_POP:
        Hide(hwnd, state);
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK ToolTipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        States().Drop(hwnd);
        return 0;
    }
    TipState& state = States().Get(hwnd);
    LRESULT common = 0;
    if (CommonControlMessage(hwnd, state.font, message, wParam, lParam, &common))
        return common;
    switch (message) {
    case WM_TIMER:
        if (wParam == kShowTimer && !state.suppressed)
            Show(hwnd, state);
        else if (wParam == kPopTimer)
            Hide(hwnd, state);
        KillTimer(hwnd, wParam == kShowTimer ? kShowTimer : kPopTimer);
        return 0;
    case WM_PAINT:
        Paint(hwnd, state);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
        Hide(hwnd, state); // the mouse reached the tip itself
        return 0;
    default:
        return OnToolMessage(hwnd, state, message, wParam, lParam);
    }
}

} // namespace

void RegisterToolTipClass() {
    RegisterControlClass(TOOLTIPS_CLASS, ToolTipProc, 0);
}

} // namespace platform

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    platform::RegisterControlClasses();
    return CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASS, nullptr, WS_POPUP | style, 0,
                    0, 0, 0, parent ? parent->GetSafeHwnd() : nullptr, nullptr);
}

// As MFC fills it: tool id 0 means the whole window (known by its handle,
// held by its parent); another id is an area of the window.
TOOLINFO CToolTipCtrl::Tool(CWnd* wnd, UINT_PTR toolId, LPCRECT toolRect) const {
    TOOLINFO info{};
    info.cbSize = sizeof info;
    HWND hwnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    if (toolId == 0) {
        info.hwnd = ::GetParent(hwnd);
        info.uFlags = TTF_IDISHWND;
        info.uId = reinterpret_cast<UINT_PTR>(hwnd);
    } else {
        info.hwnd = hwnd;
        info.uId = toolId;
    }
    if (toolRect)
        info.rect = *toolRect;
    return info;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCTSTR text, LPCRECT toolRect, UINT_PTR toolId) {
    TOOLINFO info = Tool(wnd, toolId, toolRect);
    info.lpszText = const_cast<LPSTR>(text);
    return BOOL(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, UINT textId, LPCRECT toolRect, UINT_PTR toolId) {
    TOOLINFO info = Tool(wnd, toolId, toolRect);
    info.hinst = AfxFindResourceHandle(MAKEINTRESOURCE(textId / 16 + 1), RT_STRING);
    info.lpszText = MAKEINTRESOURCE(textId);
    return BOOL(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR toolId) {
    TOOLINFO info = Tool(wnd, toolId, nullptr);
    SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR text, CWnd* wnd, UINT_PTR toolId) {
    TOOLINFO info = Tool(wnd, toolId, nullptr);
    info.lpszText = const_cast<LPSTR>(text);
    SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR toolId, LPCRECT rect) {
    if (!rect)
        return;
    TOOLINFO info = Tool(wnd, toolId, rect);
    SendMessage(TTM_NEWTOOLRECT, 0, reinterpret_cast<LPARAM>(&info));
}

int CToolTipCtrl::GetToolCount() const {
    return int(::SendMessage(m_hWnd, TTM_GETTOOLCOUNT, 0, 0));
}

void CToolTipCtrl::Activate(BOOL activate) {
    SendMessage(TTM_ACTIVATE, activate, 0);
}

void CToolTipCtrl::RelayEvent(LPMSG msg) {
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg));
}

void CToolTipCtrl::Pop() {
    SendMessage(TTM_POP);
}

void CToolTipCtrl::SetDelayTime(DWORD which, int timeMs) {
    SendMessage(TTM_SETDELAYTIME, which, MAKELPARAM(WORD(timeMs), 0));
}

int CToolTipCtrl::GetDelayTime(DWORD which) const {
    return int(::SendMessage(m_hWnd, TTM_GETDELAYTIME, which, 0));
}
