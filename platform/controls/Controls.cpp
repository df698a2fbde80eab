// Creation and owner drawing of the MFC control classes, and the control
// classes' registration.

#include "platform/controls/Controls.h"

#include "platform/controls/ControlSupport.h"

namespace {

BOOL CreateControl(CControlWnd& control, LPCTSTR className, LPCTSTR text, DWORD style,
                   const RECT& rect, CWnd* parent, UINT id) {
    platform::RegisterControlClasses();
    return control.CreateEx(0, className, text, style | WS_CHILD, rect, parent, id);
}

// Owner-draw reflection: the parent hands WM_DRAWITEM back to the control.
template <class Control>
BOOL DrawReflected(Control& control, UINT message, LPARAM lParam, LRESULT* result) {
    if (message != WM_DRAWITEM)
        return FALSE;
    control.DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *result = TRUE;
    return TRUE;
}

// Registered once, when the library loads, so that windows of these classes
// can be made by name before any control object exists.
struct RegisterAtLoad {
    RegisterAtLoad() { platform::RegisterControlClasses(); }
} g_registerAtLoad;

} // namespace

namespace platform {

void RegisterControlClasses() {
    static const bool registered = [] {
        RegisterButtonClass();
        RegisterStaticClass();
        RegisterEditClass();
        RegisterListBoxClass();
        RegisterListViewClass();
        RegisterComboBoxClass();
        RegisterToolTipClass();
        RegisterDialogClass();
        return true;
    }();
    (void)registered;
}

} // namespace platform

BOOL CStatic::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, WC_STATIC, text, style, rect, parent, id);
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    return DrawReflected(*this, message, lParam, result);
}

BOOL CButton::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, WC_BUTTON, text, style, rect, parent, id);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    return DrawReflected(*this, message, lParam, result);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, WC_EDIT, "", style, rect, parent, id);
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, WC_LISTBOX, "", style, rect, parent, id);
}

void CListBox::GetText(int index, CString& text) const {
    const int length = GetTextLen(index);
    if (length < 0) {
        text.Empty();
        return;
    }
    GetText(index, text.GetBufferSetLength(length));
    text.ReleaseBuffer(length);
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateControl(*this, WC_COMBOBOX, "", style, rect, parent, id);
}

void CComboBox::GetLBText(int index, CString& text) const {
    const int length = GetLBTextLen(index);
    if (length < 0) {
        text.Empty();
        return;
    }
    GetLBText(index, text.GetBufferSetLength(length));
    text.ReleaseBuffer(length);
}
