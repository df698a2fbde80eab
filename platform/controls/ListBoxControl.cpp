// The list box class: single selection, scrolling by wheel, keys and the
// scroll strip, LBS_NOTIFY notifications; also the combo box's drop-down.

#include "platform/controls/ControlSupport.h"
#include "platform/controls/ListItems.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

constexpr int kWheelLines = 3;

struct ListState {
    ListItems items;
    int selected = -1;
    int top = 0;
    HFONT font = nullptr;
    bool focused = false;
    HWND combo = nullptr; // set when this list is a combo box's drop-down
};

ControlStates<ListState>& States() {
    static auto* states = new ControlStates<ListState>;
    return *states;
}

bool HasFrame(HWND hwnd) {
    return (StyleOf(hwnd) & WS_BORDER) || (GetWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

int ItemHeight(const ListState& state) {
    return MeasureDC(state.font).LineHeight() + 1;
}

RECT ItemsArea(HWND hwnd, const ListState& state) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (HasFrame(hwnd))
        rc = RECT{rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom - 2};
    if ((StyleOf(hwnd) & WS_VSCROLL) || state.combo)
        rc.right -= kScrollStripWidth;
    return rc;
}

int VisibleCount(HWND hwnd, const ListState& state) {
    const RECT area = ItemsArea(hwnd, state);
    return std::max(1, int(area.bottom - area.top) / ItemHeight(state));
}

void SetTop(HWND hwnd, ListState& state, int top) {
    const int maxTop = std::max(0, state.items.Count() - VisibleCount(hwnd, state));
    top = std::clamp(top, 0, maxTop);
    if (top != state.top) {
        state.top = top;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void ShowItem(HWND hwnd, ListState& state, int index) {
    if (index < state.top)
        SetTop(hwnd, state, index);
    else if (index >= state.top + VisibleCount(hwnd, state))
        SetTop(hwnd, state, index - VisibleCount(hwnd, state) + 1);
}

// Returns whether the selection changed.
bool Select(HWND hwnd, ListState& state, int index) {
    if (!state.items.Valid(index))
        index = -1;
    if (index == state.selected)
        return false;
    state.selected = index;
    if (index >= 0)
        ShowItem(hwnd, state, index);
    InvalidateRect(hwnd, nullptr, FALSE);
    return true;
}

void NotifySelection(HWND hwnd, UINT code) {
    if (StyleOf(hwnd) & LBS_NOTIFY)
        NotifyParent(hwnd, code);
}

int ItemAt(HWND hwnd, const ListState& state, POINT p) {
    const RECT area = ItemsArea(hwnd, state);
    if (p.x < area.left || p.x >= area.right || p.y < area.top)
        return -1;
    const int index = state.top + int(p.y - area.top) / ItemHeight(state);
    return state.items.Valid(index) ? index : -1;
}

void PaintStrip(HDC hdc, const RECT& area, const ListState& state, int visible) {
    const RECT strip{area.right, area.top, area.right + kScrollStripWidth, area.bottom};
    PaintScrollStrip(hdc, strip, false, state.items.Count(), visible, state.top);
}

void PaintItem(HDC hdc, const ListState& state, int index, RECT line, COLORREF ink, bool enabled) {
    const bool selected = index == state.selected;
    if (selected)
        FillSolid(hdc, line, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(hdc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ink);
    const RECT text{line.left + 2, line.top, line.right, line.bottom};
    const int mode = SetBkMode(hdc, TRANSPARENT);
    DrawControlText(hdc, state.items.At(index).text, text,
                    DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, enabled);
    SetBkMode(hdc, mode);
    if (selected && state.focused)
        DrawFocusRect(hdc, line);
}

void Paint(HWND hwnd, ListState& state) {
    ControlPaint paint(hwnd, state.font);
    HDC hdc = paint.dc();
    if (!hdc)
        return;
    const RECT& rc = paint.client();
    FillRect(hdc, &rc, QueryControlColors(hwnd, hdc, WM_CTLCOLORLISTBOX));
    if (state.combo)
        Frame3d(hdc, rc, RGB(0, 0, 0), RGB(0, 0, 0));
    else if (HasFrame(hwnd))
        DrawSunkenFrame(hdc, rc);
    const RECT area = ItemsArea(hwnd, state);
    const int height = ItemHeight(state);
    const int visible = VisibleCount(hwnd, state);
    const COLORREF ink = GetTextColor(hdc);
    const bool enabled = IsWindowEnabled(hwnd);
    for (int i = state.top; i < state.items.Count() && i < state.top + visible + 1; ++i) {
        const int y = area.top + (i - state.top) * height;
        PaintItem(hdc, state, i,
                  RECT{area.left, y, area.right, std::min<LONG>(y + height, area.bottom)}, ink,
                  enabled);
    }
    if ((StyleOf(hwnd) & WS_VSCROLL) || state.combo)
        PaintStrip(hdc, area, state, visible);
}

// Up, down, pages, ends: the keyboard moves the selection.
bool OnKey(HWND hwnd, ListState& state, UINT key) {
    const int count = state.items.Count();
    if (count == 0)
        return false;
    const int page = VisibleCount(hwnd, state);
    int at = state.selected;
    switch (key) {
    case VK_UP:
        at = at < 0 ? 0 : at - 1;
        break;
    case VK_DOWN:
        at = at + 1;
        break;
    case VK_PRIOR:
        at = std::max(0, at - page + 1);
        break;
    case VK_NEXT:
        at = at + page - 1;
        break;
    case VK_HOME:
        at = 0;
        break;
    case VK_END:
        at = count - 1;
        break;
    default:
        return false;
    }
    at = std::clamp(at, 0, count - 1);
    if (Select(hwnd, state, at) && !state.combo)
        NotifySelection(hwnd, LBN_SELCHANGE);
    return true;
}

void CloseAsComboList(HWND hwnd, ListState& state, bool chosen, POINT screen) {
    HWND combo = state.combo;
    RECT comboRect;
    GetWindowRect(combo, &comboRect);
    const bool onCombo = PtInRect(&comboRect, screen);
    ReleaseCapture();
    SendMessage(combo, kComboListDone, chosen, onCombo);
    (void)hwnd;
}

void OnComboListMouse(HWND hwnd, ListState& state, UINT message, POINT p) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    POINT screen = p;
    ClientToScreen(hwnd, &screen);
    const bool inside = PtInRect(&rc, p);
    if (message == WM_MOUSEMOVE) {
        if (inside)
            Select(hwnd, state, ItemAt(hwnd, state, p));
    } else if (message == WM_LBUTTONDOWN && !inside) {
        CloseAsComboList(hwnd, state, false, screen);
    } else if (message == WM_LBUTTONUP && inside && ItemAt(hwnd, state, p) >= 0) {
        Select(hwnd, state, ItemAt(hwnd, state, p));
        CloseAsComboList(hwnd, state, true, screen);
    }
}

void OnStripClick(HWND hwnd, ListState& state, POINT p) {
    const RECT area = ItemsArea(hwnd, state);
    const int page = VisibleCount(hwnd, state);
    const StripThumb thumb =
        ScrollThumb(area.bottom - area.top, state.items.Count(), page, state.top);
    SetTop(hwnd, state, p.y < area.top + thumb.start ? state.top - page : state.top + page);
}

LRESULT OnMouse(HWND hwnd, ListState& state, UINT message, WPARAM, LPARAM lParam) {
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (state.combo) {
        OnComboListMouse(hwnd, state, message, p);
        return 0;
    }
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        const RECT area = ItemsArea(hwnd, state);
        if ((StyleOf(hwnd) & WS_VSCROLL) && p.x >= area.right) {
            OnStripClick(hwnd, state, p);
            return 0;
        }
        const int index = ItemAt(hwnd, state, p);
        if (index >= 0 && Select(hwnd, state, index))
            NotifySelection(hwnd, LBN_SELCHANGE);
        if (index >= 0 && message == WM_LBUTTONDBLCLK)
            NotifySelection(hwnd, LBN_DBLCLK);
    }
    return 0;
}

constexpr ItemMessages kListItemMessages{
    LB_ADDSTRING,  LB_INSERTSTRING, LB_DELETESTRING,    LB_RESETCONTENT, LB_GETCOUNT,    LB_GETTEXT,
    LB_GETTEXTLEN, LB_FINDSTRING,   LB_FINDSTRINGEXACT, LB_GETITEMDATA,  LB_SETITEMDATA, LB_ERR};

LRESULT OnListMessage(HWND hwnd, ListState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleItemMessage(kListItemMessages, state.items, state.selected, StyleOf(hwnd) & LBS_SORT,
                          message, wParam, lParam, &result)) {
        SetTop(hwnd, state, state.top); // the items may be fewer now
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    switch (message) {
    case LB_SETCURSEL:
        Select(hwnd, state, int(wParam));
        return state.items.Valid(int(wParam)) ? LRESULT(wParam) : LB_ERR;
    case LB_GETCURSEL:
        return state.selected;
    case LB_SELECTSTRING: {
        const int found =
            state.items.Find(int(wParam), lParam ? reinterpret_cast<LPCSTR>(lParam) : "", false);
        if (found >= 0)
            Select(hwnd, state, found);
        return found;
    }
    case LB_GETTOPINDEX:
        return state.top;
    case LB_SETTOPINDEX:
        SetTop(hwnd, state, int(wParam));
        return state.items.Valid(int(wParam)) ? 0 : LB_ERR;
    case LB_GETITEMHEIGHT:
        return ItemHeight(state);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        States().Drop(hwnd);
        return 0;
    }
    ListState& state = States().Get(hwnd);
    LRESULT common = 0;
    if (CommonControlMessage(hwnd, state.font, message, wParam, lParam, &common))
        return common;
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case kListAttachCombo:
        state.combo = reinterpret_cast<HWND>(wParam);
        return 0;
    case WM_PAINT:
        Paint(hwnd, state);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state.focused = message == WM_SETFOCUS;
        InvalidateRect(hwnd, nullptr, FALSE);
        NotifySelection(hwnd, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
        return 0;
    case WM_KEYDOWN:
        OnKey(hwnd, state, UINT(wParam));
        return 0;
    case WM_MOUSEWHEEL: {
        const int steps = short(HIWORD(wParam)) / WHEEL_DELTA;
        SetTop(hwnd, state, state.top - steps * kWheelLines);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
        return OnMouse(hwnd, state, message, wParam, lParam);
    case WM_CAPTURECHANGED:
        if (state.combo && reinterpret_cast<HWND>(lParam) != hwnd && IsWindow(state.combo))
            PostMessage(state.combo, kComboListDone, FALSE, FALSE);
        return 0;
    default:
        return OnListMessage(hwnd, state, message, wParam, lParam);
    }
}

} // namespace

void RegisterListBoxClass() {
    RegisterControlClass(WC_LISTBOX, ListBoxProc);
}

// The list's own keys and selection, for the combo box that drives it.
bool ComboListKey(HWND list, UINT key) {
    ListState* state = States().Find(list);
    return state && OnKey(list, *state, key);
}

} // namespace platform
