// CDialog: creation from a template, modal and modeless use, the dialog's
// default handling.

#include "platform/controls/Dialog.h"

#include "platform/controls/ControlSupport.h"
#include "platform/controls/DataExchange.h"
#include "platform/controls/DialogNavigation.h"
#include "platform/gdi/Dc.h"
#include "platform/resources/Resource.h"
#include "platform/window/SystemMetrics.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

using namespace platform;

namespace {

int Scale(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    // Rounded half away from zero, as MulDiv rounds.
    const long long half = denominator / 2;
    return int(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

// The dialog base units of a font: the average width of the 52 letters
// (rounded) and the line height.
SIZE BaseUnitsOf(HFONT font) {
    MeasureDC measure(font);
    const int letters = measure.Width("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    if (letters <= 0)
        return SIZE{8, 16}; // no font installed: the system font's units
    return SIZE{(letters / 26 + 1) / 2, measure.LineHeight()};
}

RECT ToPixels(const DialogUnitRect& r, SIZE units) {
    const int x = Scale(r.x, units.cx, 4);
    const int y = Scale(r.y, units.cy, 8);
    return RECT{x, y, x + Scale(r.cx, units.cx, 4), y + Scale(r.cy, units.cy, 8)};
}

bool IsPlainPushButton(HWND hwnd) {
    char name[16] = "";
    GetClassName(hwnd, name, sizeof name);
    const DWORD kind = DWORD(GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK;
    return strcasecmp(name, WC_BUTTON) == 0 && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON);
}

// The window name a template control is created with: a picture static
// names its picture by "#id" when the script gave a number.
std::string ControlText(const DialogControlTemplate& control) {
    const bool picture =
        strcasecmp(control.className.c_str(), WC_STATIC) == 0 &&
        ((control.style & SS_TYPEMASK) == SS_BITMAP || (control.style & SS_TYPEMASK) == SS_ICON);
    if (picture && control.text.empty() && control.textResourceId)
        return "#" + std::to_string(control.textResourceId);
    return control.text;
}

} // namespace

CDialog::CDialog() = default;

CDialog::CDialog(UINT templateId, CWnd* parent) : m_pParentWnd(parent), m_templateId(templateId) {
    m_nIDHelp = templateId;
}

CDialog::CDialog(LPCTSTR templateName, CWnd* parent) : m_pParentWnd(parent) {
    m_lpszTemplateName = templateName;
    if (IS_INTRESOURCE(templateName))
        m_templateId = UINT(reinterpret_cast<ULONG_PTR>(templateName));
}

CDialog::~CDialog() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    ForgetFont();
}

void CDialog::ForgetFont() {
    if (m_ownsFont && m_font)
        ::DeleteObject(m_font);
    m_font = nullptr;
    m_ownsFont = false;
}

bool CDialog::LoadTemplate(DialogTemplate& result, HINSTANCE* module) const {
    if (m_hasIndirect) {
        result = m_indirect;
        *module = AfxGetResourceHandle();
        return true;
    }
    LPCSTR name = m_lpszTemplateName ? m_lpszTemplateName : MAKEINTRESOURCE(m_templateId);
    if (!LoadDialogTemplate(name, result, module)) {
        fprintf(stderr, "dialog template %u not found\n", m_templateId);
        return false;
    }
    return true;
}

HWND CDialog::OwnerFor(CWnd* parent) const {
    HWND owner = parent ? parent->GetSafeHwnd() : nullptr;
    if (!owner && AfxGetMainWnd() && AfxGetMainWnd() != this)
        owner = AfxGetMainWnd()->GetSafeHwnd();
    // A popup dialog is owned by the top-level window of its parent.
    while (owner && (::GetWindowLong(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    return owner;
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate& t, HINSTANCE module, CWnd* parent) {
    RegisterControlClasses();
    ForgetFont();
    if ((t.style & DS_SETFONT) && t.fontPointSize > 0) {
        m_font = ::CreateFont(-Scale(t.fontPointSize, 96, 72), 0, 0, 0,
                              t.fontWeight ? t.fontWeight : FW_NORMAL, t.fontItalic, 0, 0,
                              t.fontCharSet, 0, 0, 0, 0, t.fontFace.c_str());
        m_ownsFont = m_font != nullptr;
    }
    if (!m_font)
        m_font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    m_baseUnits = BaseUnitsOf(m_font);

    const bool child = (t.style & WS_CHILD) != 0;
    HWND owner = child ? (parent ? parent->GetSafeHwnd() : nullptr) : OwnerFor(parent);
    RECT rect = ToPixels(t.rect, m_baseUnits);
    // The template gives the client area's size; a caption comes on top of it.
    RECT framed{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    ::AdjustWindowRectEx(&framed, t.style, FALSE, t.exStyle);
    rect.right = rect.left + (framed.right - framed.left);
    rect.bottom = rect.top + (framed.bottom - framed.top);
    if (!child && owner && !(t.style & DS_ABSALIGN)) {
        POINT origin{0, 0};
        ::ClientToScreen(owner, &origin);
        ::OffsetRect(&rect, origin.x, origin.y);
    }
    m_defId = 0;
    if (!CreateEx(t.exStyle, WC_DIALOG, t.caption.c_str(), t.style & ~WS_VISIBLE, rect.left,
                  rect.top, rect.right - rect.left, rect.bottom - rect.top, owner, nullptr))
        return FALSE;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);

    for (const DialogControlTemplate& control : t.controls) {
        const RECT r = ToPixels(control.rect, m_baseUnits);
        const std::string text = ControlText(control);
        HWND hwnd = ::CreateWindowEx(
            control.exStyle, control.className.c_str(), text.c_str(), control.style | WS_CHILD,
            r.left, r.top, r.right - r.left, r.bottom - r.top, m_hWnd,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), module, nullptr);
        if (!hwnd) {
            fprintf(stderr, "dialog %u: the control of line %d (class %s) cannot be made\n",
                    m_templateId, control.line, control.className.c_str());
            DestroyWindow();
            return FALSE;
        }
        // Template order is the z-order and the Tab order.
        ::SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        if (!m_defId && IsPlainPushButton(hwnd) &&
            (control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            m_defId = UINT(control.id);
    }
    if (t.style & DS_CENTER)
        CenterWindow();

    HWND first = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
    if (SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(first), 0) && first &&
        ::IsWindow(first) && ::IsWindow(m_hWnd))
        FocusDialogControl(m_hWnd, first);
    if (::IsWindow(m_hWnd) && (t.style & WS_VISIBLE) && !m_modal)
        ShowWindow(SW_SHOWNORMAL);
    return ::IsWindow(m_hWnd);
}

int CDialog::DoModal() {
    DialogTemplate t;
    HINSTANCE module = nullptr;
    if (m_hWnd || !LoadTemplate(t, &module))
        return -1;
    m_modal = true;
    m_endedEarly = false;
    m_result = -1;
    HWND owner = OwnerFor(m_pParentWnd);
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);
    int result = -1;
    if (CreateFromTemplate(t, module, m_pParentWnd)) {
        result = m_result;
        if (!m_endedEarly) {
            ShowWindow(SW_SHOWNORMAL);
            ::SetActiveWindow(m_hWnd);
            result = RunModalLoop();
        }
    }
    m_modal = false;
    // The owner comes back before the dialog goes, so it takes the activation.
    if (disableOwner && ::IsWindow(owner))
        ::EnableWindow(owner, TRUE);
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ShowWindow(SW_HIDE);
        if (owner && ::IsWindow(owner))
            ::SetActiveWindow(owner);
        DestroyWindow();
    }
    return result;
}

BOOL CDialog::InitModalIndirect(const DialogTemplate& dialogTemplate, CWnd* parent) {
    m_indirect = dialogTemplate;
    m_hasIndirect = true;
    m_pParentWnd = parent;
    return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    m_templateId = templateId;
    m_lpszTemplateName = nullptr;
    return Create(MAKEINTRESOURCE(templateId), parent);
}

BOOL CDialog::Create(LPCTSTR templateName, CWnd* parent) {
    if (m_hWnd)
        return FALSE;
    m_lpszTemplateName = templateName;
    if (IS_INTRESOURCE(templateName))
        m_templateId = UINT(reinterpret_cast<ULONG_PTR>(templateName));
    m_pParentWnd = parent;
    DialogTemplate t;
    HINSTANCE module = nullptr;
    return LoadTemplate(t, &module) && CreateFromTemplate(t, module, parent);
}

BOOL CDialog::CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent) {
    if (m_hWnd)
        return FALSE;
    m_pParentWnd = parent;
    return CreateFromTemplate(dialogTemplate, AfxGetResourceHandle(), parent);
}

void CDialog::EndDialog(int result) {
    m_result = result;
    if (m_modal) {
        if (ContinueModal())
            EndModalLoop(result);
        else
            m_endedEarly = true;
    }
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnSetFont(CFont*) {}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT code = HIWORD(wParam);
    if (code != BN_CLICKED && lParam != 0)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (IsCtlColorMessage(message)) {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        CWnd* control = CWnd::FromHandle(reinterpret_cast<HWND>(lParam));
        *result = reinterpret_cast<LRESULT>(OnCtlColor(dc, control, message - WM_CTLCOLORMSGBOX));
        return TRUE;
    }
    switch (message) {
    case WM_INITDIALOG:
        *result = OnInitDialog();
        return TRUE;
    case WM_SETFONT:
        OnSetFont(wParam ? CFont::FromHandle(reinterpret_cast<HFONT>(wParam)) : nullptr);
        *result = 0;
        return TRUE;
    case WM_DRAWITEM:
        OnDrawItem(int(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        *result = TRUE;
        return TRUE;
    case WM_NCDESTROY: {
        const BOOL handled = CWnd::OnWndMsg(message, wParam, lParam, result);
        ForgetFont();
        return handled;
    }
    default:
        return CWnd::OnWndMsg(message, wParam, lParam, result);
    }
}

HBRUSH CDialog::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}

void CDialog::OnDrawItem(int id, LPDRAWITEMSTRUCT item) {
    if (item)
        ReflectToControl(item->hwndItem, WM_DRAWITEM, WPARAM(id), reinterpret_cast<LPARAM>(item),
                         nullptr);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_KEYDOWN && msg->message <= WM_CHAR)
        return IsDialogMessage(msg);
    return FALSE;
}

BOOL CDialog::IsDialogMessage(LPMSG msg) {
    return ::IsDialogMessage(m_hWnd, msg);
}
