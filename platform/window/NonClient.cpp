// The non-client area: client-area calculation, the default frame (its hit
// test and painting) and DefWindowProc's handling of the non-client messages.

#include "platform/window/NonClient.h"

#include "platform/Geometry.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowRecord.h"

#include <algorithm>
#include <utility>

using namespace platform;

namespace {

// The default frame of a window: the insets of its client area.
struct FrameInsets {
    int border = 0;
    int caption = 0;
};

FrameInsets DefaultFrame(DWORD style) {
    FrameInsets frame;
    if (style & WS_CHILD)
        return frame; // controls draw their own edges inside the client area
    if (style & WS_THICKFRAME)
        frame.border = GetSystemMetrics(SM_CXFRAME);
    if ((style & WS_CAPTION) == WS_CAPTION) {
        frame.caption = GetSystemMetrics(SM_CYCAPTION);
        frame.border = std::max(frame.border, GetSystemMetrics(SM_CXBORDER));
    }
    return frame;
}

void Inset(RECT& r, const FrameInsets& frame) {
    r.left += frame.border;
    r.right -= frame.border;
    r.top += frame.border + frame.caption;
    r.bottom -= frame.border;
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
}

// The caption buttons of the default frame, from the right: close, maximise,
// minimise (window coordinates).
struct CaptionButtons {
    RECT close{}, maximize{}, minimize{};
};

CaptionButtons PlaceButtons(const WindowRecord* record, const FrameInsets& frame) {
    CaptionButtons buttons;
    const int size = std::max(frame.caption - 4, 0);
    const int top = frame.border + 2;
    int right = record->Width() - frame.border - 2;
    auto take = [&](RECT& r) {
        r = RECT{right - size, top, right, top + size};
        right -= size + 2;
    };
    if (record->style & WS_SYSMENU) {
        take(buttons.close);
        if (record->style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
            take(buttons.maximize);
            take(buttons.minimize);
        }
    }
    return buttons;
}

bool Inside(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The sizing border's code at a point of the frame (window coordinates).
LRESULT BorderCode(const WindowRecord* record, POINT p, int border) {
    const int corner = GetSystemMetrics(SM_CXSIZE);
    const int w = record->Width(), h = record->Height();
    const bool left = p.x < border, right = p.x >= w - border;
    const bool top = p.y < border, bottom = p.y >= h - border;
    const bool nearLeft = p.x < corner, nearRight = p.x >= w - corner;
    const bool nearTop = p.y < corner, nearBottom = p.y >= h - corner;
    if ((top && nearLeft) || (left && nearTop))
        return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop))
        return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom))
        return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom))
        return HTBOTTOMRIGHT;
    if (left)
        return HTLEFT;
    if (right)
        return HTRIGHT;
    if (top)
        return HTTOP;
    if (bottom)
        return HTBOTTOM;
    return HTNOWHERE;
}

void DrawButtonGlyph(HDC hdc, const RECT& r, int kind) {
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(hdc, &r, face);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(hdc, pen);
    const int l = r.left + 4, t = r.top + 4, rt = r.right - 4, b = r.bottom - 4;
    if (kind == HTCLOSE) {
        MoveToEx(hdc, l, t, nullptr);
        LineTo(hdc, rt, b);
        MoveToEx(hdc, rt - 1, t, nullptr);
        LineTo(hdc, l - 1, b);
    } else if (kind == HTMAXBUTTON) {
        HBRUSH none = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        HGDIOBJ oldBrush = SelectObject(hdc, none);
        Rectangle(hdc, l, t, rt, b);
        SelectObject(hdc, oldBrush);
    } else {
        MoveToEx(hdc, l, b - 1, nullptr);
        LineTo(hdc, rt, b - 1);
    }
    SelectObject(hdc, old);
    DeleteObject(pen);
}

// The default frame: border, caption bar with the window's text, buttons.
void PaintDefaultFrame(WindowRecord* record) {
    const FrameInsets frame = DefaultFrame(record->style);
    if (!record->HasFrame())
        return;
    HWND hwnd = record->handle;
    HDC hdc = GetWindowDC(hwnd);
    if (!hdc)
        return;
    const RECT whole{0, 0, record->Width(), record->Height()};
    HRGN outside = CreateRectRgnIndirect(&whole);
    HRGN inside = CreateRectRgnIndirect(&record->client);
    CombineRgn(outside, outside, inside, RGN_DIFF);
    FillRgn(hdc, outside, GetSysColorBrush(COLOR_BTNFACE));
    DeleteObject(inside);
    DeleteObject(outside);
    if (frame.caption > 0) {
        const bool active = record->frameActive;
        RECT bar{frame.border, frame.border, whole.right - frame.border,
                 frame.border + frame.caption};
        FillRect(hdc, &bar, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        const CaptionButtons buttons = PlaceButtons(record, frame);
        RECT text = bar;
        text.left += 4;
        if (record->style & WS_SYSMENU)
            text.right = buttons.minimize.left ? buttons.minimize.left
                         : buttons.close.left  ? buttons.close.left
                                               : text.right;
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
        DrawText(hdc, record->text.c_str(), int(record->text.size()), &text,
                 DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        SelectObject(hdc, oldFont);
        if (record->style & WS_SYSMENU) {
            DrawButtonGlyph(hdc, buttons.close, HTCLOSE);
            if (record->style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
                DrawButtonGlyph(hdc, buttons.maximize, HTMAXBUTTON);
                DrawButtonGlyph(hdc, buttons.minimize, HTMINBUTTON);
            }
        }
    }
    ReleaseDC(hwnd, hdc);
}

bool IsSizingCode(LRESULT hit) {
    return hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
}

bool IsCaptionButton(LRESULT hit) {
    return hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON;
}

void OpenSystemMenu(HWND hwnd, POINT screen) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (!menu)
        return;
    const UINT command = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                             screen.x, screen.y, 0, hwnd, nullptr));
    if (command && IsWindow(hwnd))
        SendMessage(hwnd, WM_SYSCOMMAND, command, MAKELPARAM(screen.x, screen.y));
}

LRESULT DefaultSysCommand(HWND hwnd, WPARAM wParam) {
    const UINT command = UINT(wParam) & 0xFFF0;
    switch (command) {
    case SC_MOVE:
        if (!IsZoomed(hwnd))
            RunMoveSizeLoop(hwnd, HTCAPTION);
        return 0;
    case SC_SIZE: {
        const int edge = int(wParam & 0xF);
        if (!IsZoomed(hwnd) && edge >= WMSZ_LEFT && edge <= WMSZ_BOTTOMRIGHT)
            RunMoveSizeLoop(hwnd, HTLEFT + edge - WMSZ_LEFT);
        return 0;
    }
    case SC_MAXIMIZE:
        ShowWindow(hwnd, SW_SHOWMAXIMIZED);
        return 0;
    case SC_MINIMIZE:
        ShowWindow(hwnd, SW_MINIMIZE);
        return 0;
    case SC_RESTORE:
        ShowWindow(hwnd, SW_RESTORE);
        return 0;
    case SC_CLOSE:
        SendMessage(hwnd, WM_CLOSE, 0, 0);
        return 0;
    default:
        return 0;
    }
}

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

namespace platform {

void RecalcClientArea(WindowRecord* record, const RECT& before) {
    const HWND hwnd = record->handle;
    NCCALCSIZE_PARAMS params{};
    WINDOWPOS pos{hwnd,
                  nullptr,
                  int(record->rect.left),
                  int(record->rect.top),
                  record->Width(),
                  record->Height(),
                  0};
    params.rgrc[0] = record->rect;
    params.rgrc[1] = before;
    params.rgrc[2] = record->client;
    OffsetRect(&params.rgrc[2], before.left, before.top);
    params.lppos = &pos;
    SendMessage(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
    if (!(record = FindWindowRecord(hwnd)))
        return;
    // Whatever the handler made of it, the client area stays inside the window.
    RECT client = params.rgrc[0];
    OffsetRect(&client, -record->rect.left, -record->rect.top);
    client.left = std::clamp<LONG>(client.left, 0, record->Width());
    client.top = std::clamp<LONG>(client.top, 0, record->Height());
    client.right = std::clamp<LONG>(client.right, client.left, record->Width());
    client.bottom = std::clamp<LONG>(client.bottom, client.top, record->Height());
    record->client = client;
    record->ncInvalid = record->HasFrame();
}

LRESULT DefaultNcHitTest(HWND hwnd, POINT screen) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return HTNOWHERE;
    const POINT origin = ScreenOrigin(record);
    const POINT p{screen.x - origin.x, screen.y - origin.y};
    if (p.x < 0 || p.y < 0 || p.x >= record->Width() || p.y >= record->Height())
        return HTNOWHERE;
    if (Inside(record->client, p))
        return HTCLIENT;
    const FrameInsets frame = DefaultFrame(record->style);
    if ((record->style & WS_THICKFRAME) && !IsZoomed(hwnd)) {
        const LRESULT border = BorderCode(record, p, frame.border);
        if (border != HTNOWHERE)
            return border;
    }
    if (frame.caption > 0 && p.y < frame.border + frame.caption) {
        const CaptionButtons buttons = PlaceButtons(record, frame);
        if (Inside(buttons.close, p))
            return HTCLOSE;
        if (Inside(buttons.maximize, p))
            return (record->style & WS_MAXIMIZEBOX) ? HTMAXBUTTON : HTCAPTION;
        if (Inside(buttons.minimize, p))
            return (record->style & WS_MINIMIZEBOX) ? HTMINBUTTON : HTCAPTION;
        return HTCAPTION;
    }
    return HTBORDER;
}

bool DefaultNonClientMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT* result) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (!record)
        return false;
    *result = 0;
    switch (message) {
    case WM_NCCREATE:
        *result = TRUE;
        return true;
    case WM_NCCALCSIZE: {
        RECT* proposed = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(lParam);
        if (proposed)
            Inset(*proposed, DefaultFrame(record->style));
        return true;
    }
    case WM_NCHITTEST:
        *result = DefaultNcHitTest(hwnd, PointOf(lParam));
        return true;
    case WM_NCPAINT:
        PaintDefaultFrame(record);
        return true;
    case WM_NCACTIVATE:
        record->frameActive = wParam != 0;
        if (record->HasFrame() && IsWindowVisible(hwnd))
            SendMessage(hwnd, WM_NCPAINT, 1, 0);
        *result = TRUE;
        return true;
    case WM_NCLBUTTONDOWN: {
        const LRESULT hit = LRESULT(wParam);
        if (hit == HTCAPTION)
            SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
        else if (IsSizingCode(hit))
            SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + (hit - HTLEFT + WMSZ_LEFT), lParam);
        else if (IsCaptionButton(hit))
            record->pressedButton = int(hit);
        else if (hit == HTSYSMENU)
            OpenSystemMenu(hwnd, PointOf(lParam));
        return true;
    }
    case WM_NCLBUTTONUP: {
        const int pressed = std::exchange(record->pressedButton, 0);
        if (pressed == 0 || LRESULT(wParam) != pressed)
            return true; // released away from the button it went down on
        UINT command = SC_CLOSE;
        if (pressed == HTMINBUTTON)
            command = SC_MINIMIZE;
        else if (pressed == HTMAXBUTTON)
            command = IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
        SendMessage(hwnd, WM_SYSCOMMAND, command, lParam);
        return true;
    }
    case WM_NCLBUTTONDBLCLK:
        if (LRESULT(wParam) == HTCAPTION && (record->style & WS_MAXIMIZEBOX))
            SendMessage(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        else if (LRESULT(wParam) == HTSYSMENU)
            SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        return true;
    case WM_NCRBUTTONUP:
        if (LRESULT(wParam) == HTCAPTION || LRESULT(wParam) == HTSYSMENU)
            OpenSystemMenu(hwnd, PointOf(lParam));
        return true;
    case WM_NCMOUSEMOVE:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
    case WM_GETMINMAXINFO:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
    case WM_SIZING:
    case WM_MOVING:
        return true;
    case WM_SYSCOMMAND:
        *result = DefaultSysCommand(hwnd, wParam);
        return true;
    default:
        return false;
    }
}

} // namespace platform

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD) {
    if (!rect)
        return FALSE;
    const FrameInsets frame = DefaultFrame(style);
    rect->left -= frame.border;
    rect->right += frame.border;
    rect->top -= frame.border + frame.caption;
    rect->bottom += frame.border;
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

BOOL IsZoomed(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record && (record->style & WS_MAXIMIZE) && !(record->style & WS_MINIMIZE);
}

BOOL IsIconic(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    return record && (record->style & WS_MINIMIZE);
}
