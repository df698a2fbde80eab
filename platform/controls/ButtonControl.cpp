// The button class: push buttons (also default and owner-drawn), check boxes,
// radio buttons and group boxes.

#include "platform/controls/ControlSupport.h"
#include "platform/controls/DialogNavigation.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

namespace platform {
namespace {

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;   // drawn pressed
    bool tracking = false; // the left button went down on it and is held
    bool spaceDown = false;
    bool hot = false;
    bool focused = false;
    HFONT font = nullptr;
    HANDLE image = nullptr; // BM_SETIMAGE
};

ControlStates<ButtonState>& States() {
    static auto* states = new ControlStates<ButtonState>;
    return *states;
}

DWORD KindOf(HWND hwnd) {
    return StyleOf(hwnd) & BS_TYPEMASK;
}

bool IsCheckBox(DWORD kind) {
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE ||
           kind == BS_AUTO3STATE;
}
bool IsRadio(DWORD kind) {
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}
bool IsPush(DWORD kind) {
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_OWNERDRAW ||
           kind == BS_USERBUTTON || kind == BS_PUSHBOX;
}

void SetCheck(HWND hwnd, ButtonState& state, UINT check) {
    if (state.check == check)
        return;
    state.check = check;
    // A checked radio button is the group's tab stop.
    if (IsRadio(KindOf(hwnd))) {
        const DWORD style = StyleOf(hwnd);
        SetWindowLong(hwnd, GWL_STYLE,
                      LONG(check == BST_CHECKED ? style | WS_TABSTOP : style & ~WS_TABSTOP));
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

// The auto behaviour of a click, then BN_CLICKED.
void Click(HWND hwnd) {
    ButtonState& state = States().Get(hwnd);
    switch (KindOf(hwnd)) {
    case BS_AUTOCHECKBOX:
        SetCheck(hwnd, state, state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        break;
    case BS_AUTO3STATE:
        SetCheck(hwnd, state, (state.check + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON:
        for (HWND other : GroupOf(hwnd))
            if (other != hwnd && (StyleOf(other) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
                SendMessage(other, BM_SETCHECK, BST_UNCHECKED, 0);
        SetCheck(hwnd, state, BST_CHECKED);
        break;
    default:
        break;
    }
    NotifyParent(hwnd, BN_CLICKED);
}

COLORREF Lighter(COLORREF c) {
    return RGB((GetRValue(c) + 255 * 2) / 3, (GetGValue(c) + 255 * 2) / 3,
               (GetBValue(c) + 255 * 2) / 3);
}

void DrawPushButton(HWND hwnd, HDC hdc, const ButtonState& state, RECT rc, bool enabled) {
    const DWORD style = StyleOf(hwnd);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    FillSolid(hdc, rc, state.hot && enabled && !state.pushed ? Lighter(face) : face);
    const bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    if (isDefault) {
        Frame3d(hdc, rc, RGB(0, 0, 0), RGB(0, 0, 0));
        rc = RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
    }
    if (state.pushed) {
        Frame3d(hdc, rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    } else {
        Frame3d(hdc, rc, GetSysColor(COLOR_BTNHIGHLIGHT), RGB(64, 64, 64));
        Frame3d(hdc, RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1}, face,
                GetSysColor(COLOR_BTNSHADOW));
    }
    RECT text = rc;
    if (state.pushed)
        OffsetRect(&text, 1, 1);
    if (state.image && (style & BS_BITMAP)) {
        BITMAP bm{};
        HBITMAP bitmap = static_cast<HBITMAP>(state.image);
        if (GetObject(bitmap, sizeof bm, &bm)) {
            HDC memory = CreateCompatibleDC(hdc);
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(hdc, (text.left + text.right - bm.bmWidth) / 2,
                   (text.top + text.bottom - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, memory, 0,
                   0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
    } else {
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        const UINT format = (style & BS_MULTILINE) ? DT_CENTER | DT_WORDBREAK
                                                   : DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        DrawControlText(hdc, WindowTextOf(hwnd), text, format, enabled);
    }
    if (state.focused)
        DrawFocusRect(hdc, RECT{rc.left + 3, rc.top + 3, rc.right - 3, rc.bottom - 3});
}

void DrawCheckMark(HDC hdc, const RECT& box, COLORREF ink) {
    // The classic tick: seven columns, three pixels high, going down then up.
    static const int drop[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        for (int k = 0; k < 3; ++k)
            SetPixelV(hdc, box.left + 3 + i, box.top + 3 + drop[i] + k, ink);
}

void DrawCheckOrRadio(HWND hwnd, HDC hdc, const ButtonState& state, const RECT& rc, bool enabled) {
    const DWORD style = StyleOf(hwnd);
    const bool radio = IsRadio(style & BS_TYPEMASK);
    const int box = 13;
    const int top = (rc.top + rc.bottom - box) / 2;
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    RECT square{leftText ? rc.right - box : rc.left, top, 0, top + box};
    square.right = square.left + box;
    const COLORREF inside = enabled && state.check != BST_INDETERMINATE && !state.pushed
                                ? GetSysColor(COLOR_WINDOW)
                                : GetSysColor(COLOR_BTNFACE);
    if (radio) {
        HBRUSH brush = CreateSolidBrush(inside);
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ oldBrush = SelectObject(hdc, brush);
        HGDIOBJ oldPen = SelectObject(hdc, pen);
        Ellipse(hdc, square.left, square.top, square.right - 1, square.bottom - 1);
        SelectObject(hdc, oldPen);
        SelectObject(hdc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
        if (state.check == BST_CHECKED) {
            HBRUSH dot = CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT));
            HGDIOBJ old = SelectObject(hdc, dot);
            HGDIOBJ noPen = SelectObject(hdc, GetStockObject(NULL_PEN));
            Ellipse(hdc, square.left + 4, square.top + 4, square.left + 9, square.top + 9);
            SelectObject(hdc, noPen);
            SelectObject(hdc, old);
            DeleteObject(dot);
        }
    } else {
        const RECT inner = DrawSunkenFrame(hdc, square);
        FillSolid(hdc, inner, inside);
        if (state.check != BST_UNCHECKED)
            DrawCheckMark(hdc, square,
                          enabled && state.check == BST_CHECKED ? GetSysColor(COLOR_WINDOWTEXT)
                                                                : GetSysColor(COLOR_GRAYTEXT));
    }
    RECT text = leftText ? RECT{rc.left, rc.top, square.left - 4, rc.bottom}
                         : RECT{square.right + 4, rc.top, rc.right, rc.bottom};
    const std::string caption = WindowTextOf(hwnd);
    DrawControlText(hdc, caption, text,
                    DT_VCENTER | DT_SINGLELINE | (leftText ? DT_RIGHT : DT_LEFT), enabled);
    if (state.focused && !caption.empty()) {
        RECT extent = text;
        DrawText(hdc, caption.c_str(), int(caption.size()), &extent, DT_SINGLELINE | DT_CALCRECT);
        const int height = extent.bottom - extent.top;
        const int y = (rc.top + rc.bottom - height) / 2;
        DrawFocusRect(hdc, RECT{text.left - 1, y - 1, text.left + extent.right - extent.left + 1,
                                y + height + 1});
    }
}

void DrawGroupBox(HWND hwnd, HDC hdc, const RECT& rc, bool enabled) {
    const std::string caption = WindowTextOf(hwnd);
    SIZE extent{0, 0};
    GetTextExtentPoint32(hdc, caption.c_str(), int(caption.size()), &extent);
    const int line = rc.top + extent.cy / 2;
    const RECT frame{rc.left, line, rc.right, rc.bottom};
    Frame3d(hdc, frame, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    Frame3d(hdc, RECT{frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1},
            GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    if (caption.empty())
        return;
    RECT label{rc.left + 8, rc.top, rc.left + 8 + extent.cx + 4, rc.top + extent.cy};
    if (GetBkMode(hdc) == OPAQUE)
        FillSolid(hdc, label, GetBkColor(hdc));
    label.left += 2;
    DrawControlText(hdc, caption, label, DT_LEFT | DT_SINGLELINE, enabled);
}

void Paint(HWND hwnd) {
    ButtonState& state = States().Get(hwnd);
    ControlPaint paint(hwnd, state.font);
    HDC hdc = paint.dc();
    if (!hdc)
        return;
    const RECT& rc = paint.client();
    const DWORD kind = KindOf(hwnd);
    const bool enabled = IsWindowEnabled(hwnd);
    if (kind == BS_OWNERDRAW) {
        DRAWITEMSTRUCT item{
            ODT_BUTTON, UINT(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE, 0, hwnd, hdc, rc, 0};
        item.itemState = (state.pushed ? ODS_SELECTED : 0) | (state.focused ? ODS_FOCUS : 0) |
                         (enabled ? 0 : ODS_DISABLED);
        SendDrawItem(hwnd, item);
        return;
    }
    HBRUSH brush = QueryControlColors(hwnd, hdc, IsPush(kind) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
    if (IsPush(kind)) {
        DrawPushButton(hwnd, hdc, state, rc, enabled);
        return;
    }
    FillRect(hdc, &rc, brush);
    if (kind == BS_GROUPBOX)
        DrawGroupBox(hwnd, hdc, rc, enabled);
    else
        DrawCheckOrRadio(hwnd, hdc, state, rc, enabled);
}

void SetPushed(HWND hwnd, ButtonState& state, bool pushed) {
    if (state.pushed != pushed) {
        state.pushed = pushed;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

UINT DialogCode(HWND hwnd) {
    const DWORD kind = KindOf(hwnd);
    if (kind == BS_GROUPBOX)
        return DLGC_STATIC;
    if (IsRadio(kind))
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    if (kind == BS_DEFPUSHBUTTON)
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    if (IsPush(kind))
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    return DLGC_BUTTON;
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        States().Drop(hwnd);
        return 0;
    }
    ButtonState& state = States().Get(hwnd);
    const bool groupBox = KindOf(hwnd) == BS_GROUPBOX;
    if (groupBox && message >= WM_MOUSEMOVE && message <= WM_RBUTTONDBLCLK)
        return PassMouseToParent(hwnd, message, wParam, lParam);
    LRESULT common = 0;
    if (CommonControlMessage(hwnd, state.font, message, wParam, lParam, &common))
        return common;
    switch (message) {
    case WM_GETDLGCODE:
        return DialogCode(hwnd);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (groupBox)
            return 0;
        SetFocus(hwnd);
        SetCapture(hwnd);
        state.tracking = true;
        SetPushed(hwnd, state, true);
        return 0;
    case WM_MOUSEMOVE: {
        if (!state.hot && !groupBox) {
            state.hot = true;
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        if (state.tracking) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            SetPushed(hwnd, state, PtInRect(&rc, p));
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        state.hot = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP: {
        if (!state.tracking)
            return 0;
        const bool inside = state.pushed;
        state.tracking = false;
        SetPushed(hwnd, state, false);
        ReleaseCapture();
        if (inside)
            Click(hwnd);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (state.tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
            state.tracking = false;
            SetPushed(hwnd, state, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !groupBox) {
            state.spaceDown = true;
            SetPushed(hwnd, state, true);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && state.spaceDown) {
            state.spaceDown = false;
            SetPushed(hwnd, state, false);
            Click(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
        state.focused = true;
        InvalidateRect(hwnd, nullptr, FALSE);
        if (StyleOf(hwnd) & BS_NOTIFY)
            NotifyParent(hwnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        state.focused = false;
        state.spaceDown = false;
        if (!state.tracking)
            SetPushed(hwnd, state, false);
        InvalidateRect(hwnd, nullptr, FALSE);
        if (StyleOf(hwnd) & BS_NOTIFY)
            NotifyParent(hwnd, BN_KILLFOCUS);
        return 0;
    case BM_GETCHECK:
        return state.check;
    case BM_SETCHECK:
        if (IsCheckBox(KindOf(hwnd)) || IsRadio(KindOf(hwnd)))
            SetCheck(hwnd, state, UINT(wParam) > BST_INDETERMINATE ? BST_CHECKED : UINT(wParam));
        return 0;
    case BM_GETSTATE:
        return LRESULT(state.check | (state.pushed ? BST_PUSHED : 0) |
                       (state.focused ? BST_FOCUS : 0));
    case BM_SETSTATE:
        SetPushed(hwnd, state, wParam != 0);
        return 0;
    case BM_SETSTYLE:
        SetWindowLong(hwnd, GWL_STYLE, LONG((StyleOf(hwnd) & 0xFFFF0000u) | LOWORD(wParam)));
        if (lParam)
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case BM_CLICK:
        if (IsWindowEnabled(hwnd) && !groupBox)
            Click(hwnd);
        return 0;
    case BM_GETIMAGE:
        return reinterpret_cast<LRESULT>(state.image);
    case BM_SETIMAGE: {
        HANDLE old = state.image;
        state.image = reinterpret_cast<HANDLE>(lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return reinterpret_cast<LRESULT>(old);
    }
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterButtonClass() {
    RegisterControlClass(WC_BUTTON, ButtonProc);
}

} // namespace platform
