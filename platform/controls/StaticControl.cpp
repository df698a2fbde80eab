// The static class: text (left, centred, right), pictures (bitmap, icon),
// rectangles and frames, owner-drawn statics.

#include "platform/controls/ControlSupport.h"
#include "platform/resources/Resource.h"
#include "platform/window/SystemMetrics.h"

#include <cstdlib>

namespace platform {
namespace {

struct StaticState {
    HFONT font = nullptr;
    HANDLE image = nullptr; // bitmap or icon
    bool ownsImage = false; // loaded from the template's resource
};

ControlStates<StaticState>& States() {
    static auto* states = new ControlStates<StaticState>;
    return *states;
}

DWORD KindOf(HWND hwnd) {
    return StyleOf(hwnd) & SS_TYPEMASK;
}

bool IsPicture(DWORD kind) {
    return kind == SS_BITMAP || kind == SS_ICON;
}

void FreeImage(HWND hwnd, StaticState& state) {
    if (state.ownsImage && state.image) {
        if (KindOf(hwnd) == SS_BITMAP)
            DeleteObject(state.image);
        else
            DestroyIcon(static_cast<HICON>(state.image));
    }
    state.image = nullptr;
    state.ownsImage = false;
}

// A bitmap static takes its picture's size unless it centres the picture.
void FitToPicture(HWND hwnd, const StaticState& state) {
    if (KindOf(hwnd) != SS_BITMAP || !state.image || (StyleOf(hwnd) & SS_CENTERIMAGE))
        return;
    BITMAP bm{};
    if (GetObject(state.image, sizeof bm, &bm))
        SetWindowPos(hwnd, nullptr, 0, 0, bm.bmWidth, bm.bmHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The picture a template names in the control's text: "#id" or a name.
void LoadTemplatePicture(HWND hwnd, StaticState& state, const CREATESTRUCT* cs) {
    if (!cs || !cs->lpszName || !*cs->lpszName)
        return;
    const char* name = cs->lpszName;
    LPCSTR resource = name;
    if (name[0] == '#')
        resource = MAKEINTRESOURCE(atoi(name + 1));
    if (KindOf(hwnd) == SS_BITMAP)
        state.image = LoadBitmap(cs->hInstance, resource);
    else
        state.image = LoadIcon(cs->hInstance, resource);
    state.ownsImage = state.image != nullptr;
    FitToPicture(hwnd, state);
}

void DrawPicture(HWND hwnd, HDC hdc, const StaticState& state, const RECT& rc) {
    if (!state.image)
        return;
    if (KindOf(hwnd) == SS_ICON) {
        DrawIcon(hdc, rc.left, rc.top, static_cast<HICON>(state.image));
        return;
    }
    BITMAP bm{};
    if (!GetObject(state.image, sizeof bm, &bm))
        return;
    int x = rc.left, y = rc.top;
    if (StyleOf(hwnd) & SS_CENTERIMAGE) {
        x = (rc.left + rc.right - bm.bmWidth) / 2;
        y = (rc.top + rc.bottom - bm.bmHeight) / 2;
    }
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ old = SelectObject(memory, state.image);
    BitBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

UINT TextFormat(DWORD style) {
    UINT format = 0;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format = DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format = DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP:
        format = DT_LEFT | DT_SINGLELINE;
        break;
    default:
        format = DT_LEFT | DT_WORDBREAK;
        break;
    }
    if (style & SS_CENTERIMAGE)
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (style & SS_ENDELLIPSIS)
        format |= DT_END_ELLIPSIS;
    // Words longer than the line break where they must, as in an edit.
    if (format & DT_WORDBREAK)
        format |= DT_EDITCONTROL;
    return format | DT_EXPANDTABS;
}

// Rectangles and frames of a fixed colour.
bool DrawShape(HDC hdc, DWORD kind, const RECT& rc) {
    switch (kind) {
    case SS_BLACKRECT:
        FillSolid(hdc, rc, RGB(0, 0, 0));
        return true;
    case SS_GRAYRECT:
        FillSolid(hdc, rc, GetSysColor(COLOR_BTNSHADOW));
        return true;
    case SS_WHITERECT:
        FillSolid(hdc, rc, RGB(255, 255, 255));
        return true;
    case SS_BLACKFRAME:
        Frame3d(hdc, rc, RGB(0, 0, 0), RGB(0, 0, 0));
        return true;
    case SS_GRAYFRAME:
        Frame3d(hdc, rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
        return true;
    case SS_WHITEFRAME:
        Frame3d(hdc, rc, RGB(255, 255, 255), RGB(255, 255, 255));
        return true;
    case SS_ETCHEDHORZ:
        FillSolid(hdc, RECT{rc.left, rc.top, rc.right, rc.top + 1}, GetSysColor(COLOR_BTNSHADOW));
        FillSolid(hdc, RECT{rc.left, rc.top + 1, rc.right, rc.top + 2},
                  GetSysColor(COLOR_BTNHIGHLIGHT));
        return true;
    case SS_ETCHEDVERT:
        FillSolid(hdc, RECT{rc.left, rc.top, rc.left + 1, rc.bottom}, GetSysColor(COLOR_BTNSHADOW));
        FillSolid(hdc, RECT{rc.left + 1, rc.top, rc.left + 2, rc.bottom},
                  GetSysColor(COLOR_BTNHIGHLIGHT));
        return true;
    case SS_ETCHEDFRAME:
        Frame3d(hdc, rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        return true;
    default:
        return false;
    }
}

void Paint(HWND hwnd, StaticState& state) {
    ControlPaint paint(hwnd, state.font);
    HDC hdc = paint.dc();
    if (!hdc)
        return;
    const RECT& rc = paint.client();
    const DWORD style = StyleOf(hwnd);
    const DWORD kind = KindOf(hwnd);
    if (kind == SS_OWNERDRAW) {
        const UINT itemState = IsWindowEnabled(hwnd) ? 0u : UINT(ODS_DISABLED);
        DRAWITEMSTRUCT item{
            ODT_STATIC, UINT(GetDlgCtrlID(hwnd)), 0, ODA_DRAWENTIRE, itemState, hwnd, hdc, rc, 0};
        SendDrawItem(hwnd, item);
        return;
    }
    if (DrawShape(hdc, kind, rc))
        return;
    FillRect(hdc, &rc, QueryControlColors(hwnd, hdc, WM_CTLCOLORSTATIC));
    RECT inside = rc;
    if (style & SS_SUNKEN) {
        Frame3d(hdc, rc, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        inside = RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
    }
    if (IsPicture(kind))
        DrawPicture(hwnd, hdc, state, inside);
    else
        DrawControlText(hdc, WindowTextOf(hwnd), inside, TextFormat(style), IsWindowEnabled(hwnd));
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        if (StaticState* state = States().Find(hwnd))
            FreeImage(hwnd, *state);
        States().Drop(hwnd);
        return 0;
    }
    StaticState& state = States().Get(hwnd);
    const bool notify = (StyleOf(hwnd) & SS_NOTIFY) != 0;
    LRESULT common = 0;
    if (CommonControlMessage(hwnd, state.font, message, wParam, lParam, &common))
        return common;
    switch (message) {
    case WM_CREATE:
        if (IsPicture(KindOf(hwnd)))
            LoadTemplatePicture(hwnd, state, reinterpret_cast<LPCREATESTRUCT>(lParam));
        return DefWindowProc(hwnd, message, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    case WM_PAINT:
        Paint(hwnd, state);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
        if (!notify)
            return PassMouseToParent(hwnd, message, wParam, lParam);
        if (message == WM_LBUTTONUP)
            NotifyParent(hwnd, STN_CLICKED);
        else if (message == WM_LBUTTONDBLCLK)
            NotifyParent(hwnd, STN_DBLCLK);
        return 0;
    case STM_SETICON:
    case STM_SETIMAGE: {
        const bool isIcon = message == STM_SETICON || wParam == IMAGE_ICON;
        HANDLE image = reinterpret_cast<HANDLE>(message == STM_SETICON ? wParam : lParam);
        if (isIcon != (KindOf(hwnd) == SS_ICON))
            return 0;
        HANDLE old = state.ownsImage ? nullptr : state.image;
        FreeImage(hwnd, state);
        state.image = image;
        FitToPicture(hwnd, state);
        InvalidateRect(hwnd, nullptr, FALSE);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
    case STM_GETIMAGE:
        return reinterpret_cast<LRESULT>(state.image);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace

void RegisterStaticClass() {
    RegisterControlClass(WC_STATIC, StaticProc);
}

} // namespace platform
