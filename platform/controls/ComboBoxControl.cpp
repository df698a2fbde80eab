// The combo box class, drop-down list kind (CBS_DROPDOWNLIST): the chosen
// item in a box, and a list that drops down in a window of its own.

#include "platform/controls/ControlSupport.h"
#include "platform/controls/ListItems.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

constexpr int kButtonWidth = 16;
constexpr UINT kKeyF4 = VK_F1 + 3;

struct ComboState {
    ListItems items;
    int selected = -1;
    int selectedWhenDropped = -1;
    HFONT font = nullptr;
    bool focused = false;
    HWND list = nullptr; // the drop-down while it shows
    int dropHeight = 0;  // the height the template gave, list included
};

ControlStates<ComboState>& States() {
    static auto* states = new ControlStates<ComboState>;
    return *states;
}

int BoxHeight(const ComboState& state) {
    return MeasureDC(state.font).LineHeight() + 6;
}

// The box keeps the height of one line; the template's height is the list's.
void FitHeight(HWND hwnd, const ComboState& state) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    if (rc.bottom - rc.top != BoxHeight(state))
        SetWindowPos(hwnd, nullptr, 0, 0, rc.right - rc.left, BoxHeight(state),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The drop button at the right of the box, with its arrow.
void PaintDropButton(HDC hdc, const RECT& button, bool enabled) {
    FillSolid(hdc, button, GetSysColor(COLOR_BTNFACE));
    Frame3d(hdc, button, GetSysColor(COLOR_BTNHIGHLIGHT), RGB(64, 64, 64));
    const int cx = (button.left + button.right) / 2;
    const int cy = (button.top + button.bottom) / 2 - 1;
    for (int row = 0; row < 4; ++row)
        FillSolid(hdc, RECT{cx - 3 + row, cy + row, cx + 4 - row, cy + row + 1},
                  enabled ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
}

void Paint(HWND hwnd, ComboState& state) {
    ControlPaint paint(hwnd, state.font);
    HDC hdc = paint.dc();
    if (!hdc)
        return;
    const RECT& rc = paint.client();
    const bool enabled = IsWindowEnabled(hwnd);
    FillRect(hdc, &rc, QueryControlColors(hwnd, hdc, WM_CTLCOLOREDIT));
    const RECT inner = DrawSunkenFrame(hdc, rc);
    const RECT button{inner.right - kButtonWidth, inner.top, inner.right, inner.bottom};
    PaintDropButton(hdc, button, enabled);
    const RECT text{inner.left + 1, inner.top + 1, button.left - 1, inner.bottom - 1};
    const bool highlighted = state.focused && !state.list;
    if (highlighted) {
        FillSolid(hdc, text, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    if (state.items.Valid(state.selected)) {
        SetBkMode(hdc, TRANSPARENT);
        const RECT label{text.left + 2, text.top, text.right, text.bottom};
        DrawControlText(hdc, state.items.At(state.selected).text, label,
                        DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, enabled);
    }
    if (highlighted)
        DrawFocusRect(hdc, text);
}

bool Select(HWND hwnd, ComboState& state, int index) {
    if (!state.items.Valid(index))
        index = -1;
    if (index == state.selected)
        return false;
    state.selected = index;
    InvalidateRect(hwnd, nullptr, FALSE);
    return true;
}

void DropDown(HWND hwnd, ComboState& state) {
    if (state.list || state.items.Count() == 0)
        return;
    NotifyParent(hwnd, CBN_DROPDOWN);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    const int itemHeight = MeasureDC(state.font).LineHeight() + 1;
    const int wanted = state.items.Count() * itemHeight + 2;
    const int room = std::max(itemHeight + 2, state.dropHeight - int(rc.bottom - rc.top));
    const int height = std::min(wanted, std::max(room, itemHeight * 3 + 2));
    HWND list = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WC_LISTBOX, "",
                               WS_POPUP | (wanted > height ? WS_VSCROLL : 0), rc.left, rc.bottom,
                               rc.right - rc.left, height, hwnd, nullptr, nullptr, nullptr);
    if (!list)
        return;
    SendMessage(list, kListAttachCombo, reinterpret_cast<WPARAM>(hwnd), 0);
    SendMessage(list, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    for (int i = 0; i < state.items.Count(); ++i)
        SendMessage(list, LB_ADDSTRING, 0,
                    reinterpret_cast<LPARAM>(state.items.At(i).text.c_str()));
    SendMessage(list, LB_SETCURSEL, WPARAM(state.selected), 0);
    state.list = list;
    state.selectedWhenDropped = state.selected;
    ShowWindow(list, SW_SHOWNA);
    SetCapture(list);
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Closes the list; chosen takes its selection.
void CloseUp(HWND hwnd, ComboState& state, bool chosen) {
    HWND list = state.list;
    if (!list)
        return;
    const int picked = int(SendMessage(list, LB_GETCURSEL, 0, 0));
    state.list = nullptr;
    if (GetCapture() == list)
        ReleaseCapture();
    DestroyWindow(list);
    InvalidateRect(hwnd, nullptr, FALSE);
    NotifyParent(hwnd, CBN_CLOSEUP);
    if (chosen) {
        if (Select(hwnd, state, picked))
            NotifyParent(hwnd, CBN_SELCHANGE);
        NotifyParent(hwnd, CBN_SELENDOK);
    } else {
        NotifyParent(hwnd, CBN_SELENDCANCEL);
    }
}

void OnKey(HWND hwnd, ComboState& state, UINT key) {
    const bool alt = GetKeyState(VK_MENU) < 0;
    if (key == kKeyF4 || (alt && (key == VK_DOWN || key == VK_UP))) {
        if (state.list)
            CloseUp(hwnd, state, true);
        else
            DropDown(hwnd, state);
        return;
    }
    if (state.list) {
        if (key == VK_RETURN)
            CloseUp(hwnd, state, true);
        else if (key == VK_ESCAPE)
            CloseUp(hwnd, state, false);
        else
            ComboListKey(state.list, key);
        return;
    }
    int at = state.selected;
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        at = std::max(0, at - 1);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        at = at + 1;
        break;
    case VK_HOME:
        at = 0;
        break;
    case VK_END:
        at = state.items.Count() - 1;
        break;
    default:
        return;
    }
    at = std::min(at, state.items.Count() - 1);
    if (at >= 0 && Select(hwnd, state, at)) {
        NotifyParent(hwnd, CBN_SELCHANGE);
        NotifyParent(hwnd, CBN_SELENDOK);
    }
}

constexpr ItemMessages kComboItemMessages{CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING,
                                          CB_RESETCONTENT, CB_GETCOUNT,     CB_GETLBTEXT,
                                          CB_GETLBTEXTLEN, CB_FINDSTRING,   CB_FINDSTRINGEXACT,
                                          CB_GETITEMDATA,  CB_SETITEMDATA,  CB_ERR};

LRESULT OnComboMessage(HWND hwnd, ComboState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CB_RESETCONTENT)
        CloseUp(hwnd, state, false);
    LRESULT result = 0;
    if (HandleItemMessage(kComboItemMessages, state.items, state.selected, StyleOf(hwnd) & CBS_SORT,
                          message, wParam, lParam, &result)) {
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    switch (message) {
    case CB_GETCURSEL:
        return state.selected;
    case CB_SETCURSEL:
        Select(hwnd, state, int(wParam));
        return state.items.Valid(int(wParam)) ? LRESULT(wParam) : CB_ERR;
    case CB_SELECTSTRING: {
        const int found =
            state.items.Find(int(wParam), lParam ? reinterpret_cast<LPCSTR>(lParam) : "", false);
        if (found >= 0)
            Select(hwnd, state, found);
        return found;
    }
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropDown(hwnd, state);
        else
            CloseUp(hwnd, state, false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return state.list != nullptr;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        States().Drop(hwnd);
        return 0;
    }
    ComboState& state = States().Get(hwnd);
    LRESULT common = 0;
    if (CommonControlMessage(hwnd, state.font, message, wParam, lParam, &common)) {
        if (message == WM_SETFONT)
            FitHeight(hwnd, state); // the box is one line of the new font high
        return common;
    }
    switch (message) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<LPCREATESTRUCT>(lParam);
        state.dropHeight = cs ? cs->cy : 0;
        FitHeight(hwnd, state);
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_DESTROY:
        if (state.list)
            DestroyWindow(state.list);
        state.list = nullptr;
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (state.list ? DLGC_WANTALLKEYS : 0);
    case WM_GETTEXT:
        if (!lParam || wParam == 0)
            return 0;
        if (!state.items.Valid(state.selected)) {
            reinterpret_cast<LPSTR>(lParam)[0] = '\0';
            return 0;
        } else {
            const std::string& text = state.items.At(state.selected).text;
            const size_t n = std::min(text.size(), size_t(wParam) - 1);
            memcpy(reinterpret_cast<LPSTR>(lParam), text.data(), n);
            reinterpret_cast<LPSTR>(lParam)[n] = '\0';
            return LRESULT(n);
        }
    case WM_GETTEXTLENGTH:
        return state.items.Valid(state.selected)
                   ? LRESULT(state.items.At(state.selected).text.size())
                   : 0;
    case WM_SETTEXT: {
        // A drop-down list shows only its items: the text selects one.
        const int found =
            state.items.Find(-1, lParam ? reinterpret_cast<LPCSTR>(lParam) : "", true);
        Select(hwnd, state, found);
        return found >= 0 ? TRUE : CB_ERR;
    }
    case WM_PAINT:
        Paint(hwnd, state);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state.focused = message == WM_SETFOCUS;
        if (!state.focused)
            CloseUp(hwnd, state, false);
        InvalidateRect(hwnd, nullptr, FALSE);
        NotifyParent(hwnd, state.focused ? CBN_SETFOCUS : CBN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        if (state.list)
            CloseUp(hwnd, state, false);
        else
            DropDown(hwnd, state);
        return 0;
    case WM_KEYDOWN:
        OnKey(hwnd, state, UINT(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        if (!state.list)
            OnKey(hwnd, state, short(HIWORD(wParam)) > 0 ? VK_UP : VK_DOWN);
        return 0;
    case kComboListDone:
        // A press on the box itself while the list shows only closes it.
        CloseUp(hwnd, state, wParam != 0);
        return 0;
    default:
        return OnComboMessage(hwnd, state, message, wParam, lParam);
    }
}

} // namespace

void RegisterComboBoxClass() {
    RegisterControlClass(WC_COMBOBOX, ComboBoxProc);
}

} // namespace platform
