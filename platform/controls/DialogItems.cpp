// CDialog: its default handling, the default button, focus, dialog units and
// the members that reach controls by id.

#include "platform/controls/ControlSupport.h"
#include "platform/controls/Dialog.h"
#include "platform/controls/DialogNavigation.h"
#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <cstdlib>

using namespace platform;

namespace platform {
void RegisterDialogClass() {
    WNDCLASS wc{};
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = WC_DIALOG;
    RegisterClass(&wc);
}
} // namespace platform

namespace {

// The dialog's child that has (or holds) the focus.
HWND FocusedControl(HWND dialog) {
    HWND focus = GetFocus();
    while (focus && GetParent(focus) != dialog) {
        if (!(GetWindowLong(focus, GWL_STYLE) & WS_CHILD))
            return nullptr;
        focus = GetParent(focus);
    }
    return focus;
}

// A raised frame for dialogs with a border (there is no non-client area).
void PaintFrame(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    if (hdc) {
        RECT rc;
        GetClientRect(hwnd, &rc);
        Frame3d(hdc, rc, GetSysColor(COLOR_BTNFACE), RGB(64, 64, 64));
        Frame3d(hdc, RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1},
                GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }
    EndPaint(hwnd, &paint);
}

} // namespace

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsCtlColorMessage(message))
        return reinterpret_cast<LRESULT>(
            DefaultControlColors(reinterpret_cast<HDC>(wParam), message));
    switch (message) {
    case WM_ERASEBKGND: {
        // The background is the brush the dialog answers WM_CTLCOLORDLG with.
        HDC hdc = reinterpret_cast<HDC>(wParam);
        HBRUSH brush = reinterpret_cast<HBRUSH>(
            SendMessage(WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(m_hWnd)));
        RECT rc;
        GetClientRect(&rc);
        if (hdc && brush)
            ::FillRect(hdc, &rc, brush);
        return TRUE;
    }
    case WM_PAINT:
        if (GetStyle() & (WS_BORDER | WS_DLGFRAME | DS_MODALFRAME)) {
            PaintFrame(m_hWnd);
            return 0;
        }
        break;
    case DM_GETDEFID:
        return m_defId ? MAKELONG(WORD(m_defId), DC_HASDEFID) : 0;
    case DM_SETDEFID:
        SetDefID(UINT(wParam));
        return TRUE;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_NEXTDLGCTL: {
        HWND target = LOWORD(lParam)
                          ? reinterpret_cast<HWND>(wParam)
                          : ::GetNextDlgTabItem(m_hWnd, FocusedControl(m_hWnd), wParam != 0);
        if (target)
            FocusDialogControl(m_hWnd, target);
        return 0;
    }
    case WM_CLOSE:
        PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                    reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDCANCEL)));
        return 0;
    case WM_ACTIVATE:
        // The control that had the focus gets it back when the dialog does.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focus = FocusedControl(m_hWnd))
                m_lastFocus = focus;
        } else if (m_lastFocus && ::IsWindow(m_lastFocus) && ::IsChild(m_hWnd, m_lastFocus)) {
            ::SetFocus(m_lastFocus);
        }
        return 0;
    case WM_SETFOCUS: {
        HWND target = m_lastFocus && ::IsChild(m_hWnd, m_lastFocus)
                          ? m_lastFocus
                          : ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
        if (target)
            ::SetFocus(target);
        return 0;
    }
    default:
        break;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

void CDialog::SetDefID(UINT id) {
    const UINT old = m_defId;
    m_defId = id;
    if (!m_hWnd)
        return;
    const auto restyle = [this](UINT buttonId, UINT style) {
        HWND button = ::GetDlgItem(m_hWnd, int(buttonId));
        if (!button)
            return;
        const DWORD kind = DWORD(::GetWindowLong(button, GWL_STYLE)) & BS_TYPEMASK;
        if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)
            ::SendMessage(button, BM_SETSTYLE, style, TRUE);
    };
    if (old && old != id)
        restyle(old, BS_PUSHBUTTON);
    if (id)
        restyle(id, BS_DEFPUSHBUTTON);
}

DWORD CDialog::GetDefID() const {
    return DWORD(::SendMessage(m_hWnd, DM_GETDEFID, 0, 0));
}

void CDialog::NextDlgCtrl() const {
    ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const {
    ::SendMessage(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control && control->GetSafeHwnd())
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->GetSafeHwnd()), TRUE);
}

void CDialog::MapDialogRect(LPRECT rect) const {
    if (!rect)
        return;
    const auto scale = [](LONG v, int units, int per) {
        return LONG((static_cast<long long>(v) * units + per / 2) / per);
    };
    rect->left = scale(rect->left, m_baseUnits.cx, 4);
    rect->right = scale(rect->right, m_baseUnits.cx, 4);
    rect->top = scale(rect->top, m_baseUnits.cy, 8);
    rect->bottom = scale(rect->bottom, m_baseUnits.cy, 8);
}

void CDialog::CenterWindow(CWnd* alternateOwner) {
    RECT window;
    GetWindowRect(&window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const bool child = (GetStyle() & WS_CHILD) != 0;
    HWND center = alternateOwner ? alternateOwner->GetSafeHwnd() : ::GetParent(m_hWnd);
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (child && center)
        ::GetClientRect(center, &area);
    else if (center && ::IsWindowVisible(center))
        ::GetWindowRect(center, &area);
    int x = (area.left + area.right - width) / 2;
    int y = (area.top + area.bottom - height) / 2;
    if (!child) { // keep it on the screen
        x = std::clamp(x, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - width));
        y = std::clamp(y, 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - height));
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::SetDlgItemText(int id, LPCTSTR text) {
    if (HWND control = ::GetDlgItem(m_hWnd, id))
        ::SetWindowText(control, text);
}

int CDialog::GetDlgItemText(int id, LPTSTR buffer, int bufferSize) const {
    HWND control = ::GetDlgItem(m_hWnd, id);
    if (!control) {
        if (buffer && bufferSize > 0)
            buffer[0] = '\0';
        return 0;
    }
    return ::GetWindowText(control, buffer, bufferSize);
}

int CDialog::GetDlgItemText(int id, CString& text) const {
    HWND control = ::GetDlgItem(m_hWnd, id);
    text = control ? CString(WindowTextOf(control)) : CString();
    return text.GetLength();
}

void CDialog::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
    char text[16];
    snprintf(text, sizeof text, isSigned ? "%d" : "%u", isSigned ? int(value) : value);
    SetDlgItemText(id, text);
}

UINT CDialog::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
    if (translated)
        *translated = FALSE;
    CString text;
    GetDlgItemText(id, text);
    const char* at = text;
    while (*at == ' ')
        ++at;
    const bool negative = isSigned && *at == '-';
    if (negative)
        ++at;
    if (*at < '0' || *at > '9')
        return 0;
    unsigned long long value = 0;
    while (*at >= '0' && *at <= '9') {
        value = value * 10 + unsigned(*at++ - '0');
        if (value > 0xFFFFFFFFull)
            return 0; // out of range
    }
    while (*at == ' ')
        ++at;
    if (*at)
        return 0;
    if (isSigned && value > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        return 0;
    if (translated)
        *translated = TRUE;
    return negative ? UINT(-static_cast<long long>(value)) : UINT(value);
}

void CDialog::CheckDlgButton(int id, UINT check) {
    if (HWND button = ::GetDlgItem(m_hWnd, id))
        ::SendMessage(button, BM_SETCHECK, check, 0);
}

UINT CDialog::IsDlgButtonChecked(int id) const {
    HWND button = ::GetDlgItem(m_hWnd, id);
    return button ? UINT(::SendMessage(button, BM_GETCHECK, 0, 0)) : 0;
}

void CDialog::CheckRadioButton(int firstId, int lastId, int checkId) {
    for (int id = firstId; id <= lastId; ++id)
        CheckDlgButton(id, id == checkId ? BST_CHECKED : BST_UNCHECKED);
}

int CDialog::GetCheckedRadioButton(int firstId, int lastId) const {
    for (int id = firstId; id <= lastId; ++id)
        if (IsDlgButtonChecked(id) == BST_CHECKED)
            return id;
    return 0;
}

CWnd* CDialog::GetNextDlgTabItem(CWnd* control, BOOL previous) const {
    return CWnd::FromHandle(
        ::GetNextDlgTabItem(m_hWnd, control ? control->GetSafeHwnd() : nullptr, previous));
}

CWnd* CDialog::GetNextDlgGroupItem(CWnd* control, BOOL previous) const {
    return CWnd::FromHandle(
        ::GetNextDlgGroupItem(m_hWnd, control ? control->GetSafeHwnd() : nullptr, previous));
}
