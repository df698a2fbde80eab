// Data exchange between dialog members and controls.

#include "platform/controls/DataExchange.h"

#include "platform/controls/ControlSupport.h"
#include "platform/controls/MessageBox.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// "请输入一个整数。" and "请输入一个正整数。", GBK: the parse failures.
const char kEnterInteger[] = "\xc7\xeb\xca\xe4\xc8\xeb\xd2\xbb\xb8\xf6\xd5\xfb\xca\xfd\xa1\xa3";
const char kEnterPositive[] =
    "\xc7\xeb\xca\xe4\xc8\xeb\xd2\xbb\xb8\xf6\xd5\xfd\xd5\xfb\xca\xfd\xa1\xa3";

// The whole text (blanks around it allowed) as a number in [low, high].
bool ParseNumber(const std::string& text, long long low, long long high, long long* value) {
    const char* start = text.c_str();
    while (*start == ' ')
        ++start;
    if (!*start)
        return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = strtoll(start, &end, 10);
    if (errno || end == start)
        return false;
    while (*end == ' ')
        ++end;
    if (*end || parsed < low || parsed > high)
        return false;
    *value = parsed;
    return true;
}

void ExchangeNumber(CDataExchange* dx, int id, long long& value, long long low, long long high,
                    const char* failureText) {
    HWND control = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        ::SetWindowText(control, std::to_string(value).c_str());
        return;
    }
    if (!ParseNumber(platform::WindowTextOf(control), low, high, &value)) {
        AfxMessageBox(failureText, MB_ICONEXCLAMATION);
        dx->Fail();
    }
}

} // namespace

HWND CDataExchange::PrepareCtrl(int id) {
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), id) : nullptr;
    if (!control) {
        fprintf(stderr, "data exchange: the dialog has no control %d\n", id);
        throw Failure{};
    }
    m_lastControl = control;
    m_lastIsEdit = false;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    HWND control = PrepareCtrl(id);
    m_lastIsEdit = true;
    return control;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_lastControl && ::IsWindow(m_lastControl)) {
        ::SetFocus(m_lastControl);
        if (m_lastIsEdit)
            ::SendMessage(m_lastControl, EM_SETSEL, 0, -1);
    }
    throw Failure{};
}

void DDX_Control(CDataExchange* dx, int id, CControlWnd& control) {
    if (control.GetSafeHwnd())
        return;
    if (!control.SubclassWindow(dx->PrepareCtrl(id)))
        dx->Fail();
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.GetSafeHwnd())
        return;
    if (!control.Attach(dx->PrepareCtrl(id)))
        dx->Fail();
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    HWND control = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = CString(platform::WindowTextOf(control));
    else
        ::SetWindowText(control, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    long long wide = value;
    ExchangeNumber(dx, id, wide, INT32_MIN, INT32_MAX, kEnterInteger);
    value = int(wide);
}

void DDX_Text(CDataExchange* dx, int id, UINT& value) {
    long long wide = value;
    ExchangeNumber(dx, id, wide, 0, UINT32_MAX, kEnterPositive);
    value = UINT(wide);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = int(::SendMessage(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessage(control, BM_SETCHECK, WPARAM(value), 0);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value) {
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = CString(platform::WindowTextOf(control));
    else if (::SendMessage(control, CB_SELECTSTRING, WPARAM(-1),
                           reinterpret_cast<LPARAM>(value.GetString())) == CB_ERR)
        ::SendMessage(control, CB_SETCURSEL, WPARAM(-1), 0);
}
