// What the standard controls share.

#include "platform/controls/ControlSupport.h"

#include "platform/controls/ControlWnd.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>

namespace platform {

void NotifyParent(HWND control, UINT code) {
    HWND parent = GetParent(control);
    if (!parent)
        return;
    const int id = GetDlgCtrlID(control);
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(WORD(id), WORD(code)),
                reinterpret_cast<LPARAM>(control));
}

HBRUSH DefaultControlColors(HDC hdc, UINT ctlColorMessage) {
    const bool windowLike =
        ctlColorMessage == WM_CTLCOLOREDIT || ctlColorMessage == WM_CTLCOLORLISTBOX;
    const int background = windowLike ? COLOR_WINDOW : COLOR_BTNFACE;
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(background));
    return GetSysColorBrush(background);
}

HBRUSH QueryControlColors(HWND control, HDC hdc, UINT ctlColorMessage) {
    HWND parent = GetParent(control);
    HBRUSH brush = nullptr;
    if (parent)
        brush = reinterpret_cast<HBRUSH>(SendMessage(parent, ctlColorMessage,
                                                     reinterpret_cast<WPARAM>(hdc),
                                                     reinterpret_cast<LPARAM>(control)));
    return brush ? brush : DefaultControlColors(hdc, ctlColorMessage);
}

BOOL ReflectToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* object = dynamic_cast<CControlWnd*>(CWnd::FromHandlePermanent(control));
    LRESULT ignored = 0;
    return object && object->OnChildNotify(message, wParam, lParam, result ? result : &ignored);
}

void SendDrawItem(HWND control, DRAWITEMSTRUCT& item) {
    HWND parent = GetParent(control);
    const LRESULT handled = parent ? SendMessage(parent, WM_DRAWITEM, WPARAM(item.CtlID),
                                                 reinterpret_cast<LPARAM>(&item))
                                   : 0;
    if (!handled)
        ReflectToControl(control, WM_DRAWITEM, WPARAM(item.CtlID), reinterpret_cast<LPARAM>(&item),
                         nullptr);
}

LRESULT PassMouseToParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND parent = GetParent(hwnd);
    if (!parent)
        return 0;
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MapWindowPoints(hwnd, parent, &p, 1);
    return SendMessage(parent, message, wParam, MAKELPARAM(p.x, p.y));
}

HFONT ControlFontOr(HFONT font) {
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

MeasureDC::MeasureDC(HFONT font) : m_dc(CreateCompatibleDC(nullptr)) {
    m_oldFont = SelectObject(m_dc, ControlFontOr(font));
}

MeasureDC::~MeasureDC() {
    SelectObject(m_dc, m_oldFont);
    DeleteDC(m_dc);
}

int MeasureDC::LineHeight() const {
    TEXTMETRIC metrics{};
    if (!GetTextMetrics(m_dc, &metrics) || metrics.tmHeight <= 0)
        return 12; // no font installed: keep layouts sane
    return metrics.tmHeight;
}

int MeasureDC::Width(const std::string& text) const {
    SIZE size{0, 0};
    GetTextExtentPoint32(m_dc, text.data(), int(text.size()), &size);
    return size.cx;
}

void FillSolid(HDC hdc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

void Frame3d(HDC hdc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    FillSolid(hdc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillSolid(hdc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillSolid(hdc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    FillSolid(hdc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

RECT DrawSunkenFrame(HDC hdc, const RECT& rect) {
    Frame3d(hdc, rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    Frame3d(hdc, inner, RGB(64, 64, 64), GetSysColor(COLOR_BTNFACE));
    return RECT{inner.left + 1, inner.top + 1, inner.right - 1, inner.bottom - 1};
}

StripThumb ScrollThumb(int stripLength, int total, int visible, int position) {
    if (total <= visible || total <= 0)
        return StripThumb{0, stripLength};
    const int length = std::min(stripLength, std::max(8, stripLength * visible / total));
    return StripThumb{(stripLength - length) * position / std::max(1, total - visible), length};
}

void PaintScrollStrip(HDC hdc, const RECT& strip, bool horizontal, int total, int visible,
                      int position) {
    FillSolid(hdc, strip, GetSysColor(COLOR_BTNFACE));
    if (total <= visible)
        return;
    const int along = horizontal ? strip.right - strip.left : strip.bottom - strip.top;
    const StripThumb thumb = ScrollThumb(along, total, visible, position);
    const RECT knob = horizontal ? RECT{strip.left + thumb.start, strip.top + 1,
                                        strip.left + thumb.start + thumb.length, strip.bottom - 1}
                                 : RECT{strip.left + 1, strip.top + thumb.start, strip.right - 1,
                                        strip.top + thumb.start + thumb.length};
    FillSolid(hdc, knob, GetSysColor(COLOR_BTNSHADOW));
}

void DrawFocusRect(HDC hdc, const RECT& r) {
    const COLORREF ink = RGB(0, 0, 0);
    for (int x = r.left; x < r.right; x += 2) {
        SetPixelV(hdc, x, r.top, ink);
        SetPixelV(hdc, x, r.bottom - 1, ink);
    }
    for (int y = r.top; y < r.bottom; y += 2) {
        SetPixelV(hdc, r.left, y, ink);
        SetPixelV(hdc, r.right - 1, y, ink);
    }
}

void DrawControlText(HDC hdc, const std::string& text, RECT rect, UINT format, bool enabled) {
    if (enabled) {
        DrawText(hdc, text.c_str(), int(text.size()), &rect, format);
        return;
    }
    const int mode = SetBkMode(hdc, TRANSPARENT);
    const COLORREF old = SetTextColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
    RECT shadow{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
    DrawText(hdc, text.c_str(), int(text.size()), &shadow, format);
    SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawText(hdc, text.c_str(), int(text.size()), &rect, format);
    SetTextColor(hdc, old);
    SetBkMode(hdc, mode);
}

ControlPaint::ControlPaint(HWND hwnd, HFONT font) : m_hwnd(hwnd), m_dc(BeginPaint(hwnd, &m_paint)) {
    GetClientRect(hwnd, &m_client);
    if (m_dc)
        m_oldFont = SelectObject(m_dc, ControlFontOr(font));
}

ControlPaint::~ControlPaint() {
    if (m_dc)
        SelectObject(m_dc, m_oldFont);
    EndPaint(m_hwnd, &m_paint);
}

bool CommonControlMessage(HWND hwnd, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* result) {
    *result = 0;
    switch (message) {
    case WM_SETFONT:
        font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, FALSE);
        return true;
    case WM_GETFONT:
        *result = reinterpret_cast<LRESULT>(font);
        return true;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return true;
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    default:
        return false;
    }
}

void RegisterControlClass(LPCSTR name, WNDPROC proc, UINT classStyle) {
    WNDCLASS wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClass(&wc);
}

std::string WindowTextOf(HWND hwnd) {
    const int length = GetWindowTextLength(hwnd);
    std::string text(size_t(length) + 1, '\0');
    const int copied = GetWindowText(hwnd, text.data(), length + 1);
    text.resize(size_t(copied > 0 ? copied : 0));
    return text;
}

} // namespace platform
