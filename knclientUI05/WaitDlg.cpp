#include "knclientUI05/WaitDlg.h"

#include "knclientUI05/MsgBoxStyle.h"
#include "platform/controls/DataExchange.h"
#include "platform/window/WindowDcs.h"

namespace {

// The whole text as one line: line breaks are not broken at.
SIZE OneLineExtent(CWnd* window, CFont* font, const CString& text) {
    CClientDC dc(window);
    CFont* oldFont = font != nullptr ? dc.SelectObject(font) : nullptr;
    const CSize extent = dc.GetTextExtent(text, text.GetLength());
    if (oldFont != nullptr)
        dc.SelectObject(oldFont);
    return SIZE{extent.cx, extent.cy};
}

RECT ClientRectOf(CWnd* parent, CWnd& control) {
    RECT r;
    control.GetWindowRect(&r);
    parent->ScreenToClient(&r);
    return r;
}

} // namespace

CWaitDlg::CWaitDlg(LPCSTR text, BOOL showCancel, CWnd* parent)
    : CDialog(IDD_KN_WAIT), m_bShowCancel(showCancel), m_pParent(parent) {
    if (text != nullptr)
        Show(text, FALSE);
}

CWaitDlg::CWaitDlg(UINT stringId, BOOL showCancel, CWnd* parent)
    : CDialog(IDD_KN_WAIT), m_bShowCancel(showCancel), m_pParent(parent) {
    if (stringId != 0)
        Show(stringId, FALSE);
}

CWaitDlg::~CWaitDlg() {
    if (m_bCreated && m_hWnd != nullptr)
        DestroyWindow();
}

void CWaitDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_KN_WAIT_CANCEL, m_btnCancel);
    DDX_Control(dx, IDC_KN_WAIT_PICTURE, m_stcPicture);
    DDX_Control(dx, IDC_KN_WAIT_TEXT, m_txtMessage);
    DDX_Text(dx, IDC_KN_WAIT_TEXT, m_strText);
}

void CWaitDlg::OnSetFont(CFont* font) {
    m_pFont = font;
    CDialog::OnSetFont(font);
}

BOOL CWaitDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    RECT window, client, cancel;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    m_btnCancel.GetWindowRect(&cancel);
    m_nFullHeight = window.bottom - window.top + 5;
    m_nCancelTopInWindow = cancel.top - window.top;
    m_nCancelTopInClient = cancel.top - client.top + 5;
    return TRUE;
}

BOOL CWaitDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_KN_WAIT_CANCEL) {
        OnCancel();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CWaitDlg::Show(UINT stringId, BOOL showCancel) {
    Show(LoadedString(stringId), showCancel);
}

void CWaitDlg::Show(LPCSTR text, BOOL showCancel) {
    if (m_hWnd == nullptr) {
        // A template that cannot be made shows nothing; the next Show
        // tries again.
        if (!Create(IDD_KN_WAIT))
            return;
        // The window lives as long as the object.
        m_bCreated = TRUE;
    }
    m_bShowCancel = showCancel;
    m_bCancelled = FALSE;
    ShowWindow(SW_HIDE);
    m_strText = text != nullptr ? text : "";
    UpdateData(FALSE);

    const SIZE extent = OneLineExtent(this, m_pFont, m_strText);
    RECT textRect = ClientRectOf(this, m_txtMessage);
    m_txtMessage.MoveWindow(textRect.left, textRect.top, extent.cx, extent.cy + 2, FALSE);
    RECT window;
    GetWindowRect(&window);
    window.right = window.left + textRect.left + extent.cx + 32;

    if (m_bTopMost || showCancel)
        ModifyStyle(0, WS_CAPTION, SWP_FRAMECHANGED);
    else
        ModifyStyle(WS_CAPTION, 0, SWP_FRAMECHANGED);
    if (!showCancel) {
        window.bottom = window.top + (m_bTopMost ? m_nCancelTopInWindow : m_nCancelTopInClient);
        m_btnCancel.ShowWindow(SW_HIDE);
    } else {
        window.bottom = window.top + m_nFullHeight;
        const RECT cancel = ClientRectOf(this, m_btnCancel);
        const int width = cancel.right - cancel.left;
        m_btnCancel.MoveWindow((window.right - window.left - width) / 2, cancel.top, width,
                               cancel.bottom - cancel.top, FALSE);
        m_btnCancel.ShowWindow(SW_SHOW);
    }
    MoveWindow(&window, FALSE);
    CenterWindow(m_pParent);
    ShowWindow(SW_SHOW);
    UpdateWindow();
}

void CWaitDlg::SetTopMost() {
    m_bTopMost = TRUE;
    if (m_hWnd != nullptr)
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
