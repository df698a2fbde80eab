#include "knclientUI05/KitStartup.h"
#include "knclientUI05/MsgBoxStyle.h"
#include "knclientUI05/SkinIcon.h"
#include "knclientUI05/SkinMsgBox.h"
#include "knclientUI05/WaitDlg.h"
#include "knclientbase05/SkinSettings.h"
#include "knclientbase05/WaitWindow.h"
#include "platform/controls/DataExchange.h"
#include "platform/resources/Icon.h"
#include "platform/system/Profile.h"
#include "platform/window/WindowDcs.h"

#include <algorithm>

namespace {

constexpr int kIconSize = 32;

RECT ClientRectOf(CWnd* parent, CWnd& control) {
    RECT r;
    control.GetWindowRect(&r);
    parent->ScreenToClient(&r);
    return r;
}

} // namespace

CWaitDlg2::CWaitDlg2(LPCSTR text, BOOL showCancel, CWnd* parent, LPCSTR skinName)
    : CKNGameDialog(IDD_KN_SKIN_WAIT, parent), m_bShowCancel(showCancel), m_pParent(parent) {
    SetSkinName(skinName != nullptr ? skinName : "Wait");
    if (text != nullptr)
        Show(text, FALSE, FALSE);
}

CWaitDlg2::CWaitDlg2(UINT stringId, BOOL showCancel, CWnd* parent, LPCSTR skinName)
    : CKNGameDialog(IDD_KN_SKIN_WAIT, parent), m_bShowCancel(showCancel), m_pParent(parent) {
    SetSkinName(skinName != nullptr ? skinName : "Wait");
    if (stringId != 0)
        Show(stringId, FALSE, FALSE);
}

CWaitDlg2::~CWaitDlg2() {
    if (m_bCreated && m_hWnd != nullptr)
        DestroyWindow();
    if (m_hSkinIcon != nullptr)
        DestroyIcon(m_hSkinIcon);
}

void CWaitDlg2::DoDataExchange(CDataExchange* dx) {
    CKNGameDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_KN_WAIT_PICTURE, m_stcIcon);
    DDX_Control(dx, IDC_KN_WAIT_TEXT, m_txtMessage);
    DDX_Text(dx, IDC_KN_WAIT_TEXT, m_strText);
}

void CWaitDlg2::OnSetFont(CFont* font) {
    m_pFont = font;
    CKNGameDialog::OnSetFont(font);
}

BOOL CWaitDlg2::OnInitDialog() {
    CKNGameDialog::OnInitDialog();
    m_txtMessage.m_crText = m_crCtrlText;
    m_btnCancel.LoadSkin(this, IDC_KN_WAIT_CANCEL, GetSkinSection(), "IDCANCEL", 0, 0, TRUE);
    char value[260] = "";
    if (theSkin.szThemeFile[0] != '\0')
        GetPrivateProfileString(GetSkinSection(), "Icon", "", value, sizeof value,
                                theSkin.szThemeFile);
    m_hSkinIcon = LoadSkinIcon(value);
    return TRUE;
}

BOOL CWaitDlg2::OnCommand(WPARAM wParam, LPARAM lParam) {
    // The caption's close button cancels like the cancel button.
    if (LOWORD(wParam) == IDC_KN_WAIT_CANCEL || LOWORD(wParam) == IDC_KN_SYS_CLOSE) {
        OnCancel();
        return TRUE;
    }
    return CKNGameDialog::OnCommand(wParam, lParam);
}

void CWaitDlg2::OnPaintAfter(CDC* dc) {
    CWnd* icon = GetDlgItem(IDC_KN_WAIT_PICTURE);
    if (icon == nullptr || m_hSkinIcon == nullptr)
        return;
    const RECT r = ClientRectOf(this, *icon);
    DrawIconEx(dc->m_hDC, r.left, r.top, m_hSkinIcon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
}

void CWaitDlg2::Show(UINT stringId, BOOL showCancel, BOOL showTitle) {
    Show(LoadedString(stringId), showCancel, showTitle);
}

void CWaitDlg2::Show(LPCSTR text, BOOL showCancel, BOOL showTitle) {
    m_bShowCancel = showCancel;
    m_bCancelled = FALSE;
    ShowTitle(m_bTopMost || showCancel || showTitle);
    if (m_hWnd == nullptr) {
        if (!Create(IDD_KN_SKIN_WAIT, m_pParent))
            return;
        m_bCreated = TRUE;
    }
    ShowWindow(SW_HIDE);
    m_strText = text != nullptr ? text : "";
    UpdateData(FALSE);

    RECT inner, window;
    GetInnerRect(&inner);
    GetWindowRect(&window);
    const int innerWidth = inner.right - inner.left;
    const int innerHeight = inner.bottom - inner.top;
    const int frame = std::max(0, (int(window.right - window.left) - innerWidth) / 2);
    const int topExtra = std::max(0, int(window.bottom - window.top) - innerHeight - 2 * frame);

    CClientDC dc(this);
    CFont* oldFont = m_pFont != nullptr ? dc.SelectObject(m_pFont) : nullptr;
    const CSize extent = dc.GetTextExtent(m_strText, m_strText.GetLength());
    if (oldFont != nullptr)
        dc.SelectObject(oldFont);
    RECT cancel{0, 0, 0, 0};
    if (m_btnCancel.m_hWnd != nullptr)
        m_btnCancel.GetWindowRect(&cancel);
    const int cancelWidth = cancel.right - cancel.left;
    const int cancelHeight = cancel.bottom - cancel.top;

    int width = std::max<int>(extent.cx + 56, 200);
    int height = showCancel ? topExtra + cancelHeight + 56 : 48 + (m_bTopMost ? topExtra : 0);
    width += 2 * frame;
    height += 2 * frame;
    m_sysBtns.ShowButton(SW_HIDE, 0);
    MoveWindow(0, 0, width, height, FALSE);

    GetInnerRect(&inner);
    if (m_stcIcon.m_hWnd != nullptr) {
        const RECT icon = ClientRectOf(this, m_stcIcon);
        m_stcIcon.MoveWindow(inner.left + 8, inner.top + 8, icon.right - icon.left,
                             icon.bottom - icon.top, FALSE);
        // The after-paint hook draws the skin's icon in its place.
        if (m_hSkinIcon != nullptr)
            m_stcIcon.ShowWindow(SW_HIDE);
    }
    const int iconHeight = m_stcIcon.m_hWnd != nullptr ? ClientRectOf(this, m_stcIcon).bottom -
                                                             ClientRectOf(this, m_stcIcon).top
                                                       : extent.cy;
    m_txtMessage.MoveWindow(inner.left + 48, inner.top + 8 + (kIconSize - extent.cy) / 2, extent.cx,
                            iconHeight, FALSE);
    if (m_btnCancel.m_hWnd != nullptr) {
        if (!showCancel) {
            m_btnCancel.ShowWindow(SW_HIDE);
        } else {
            m_btnCancel.MoveWindow((inner.right - inner.left - cancelWidth) / 2, inner.top + 48,
                                   cancelWidth, cancelHeight, FALSE);
            m_btnCancel.ShowWindow(SW_SHOW);
        }
    }
    CenterWindow(m_pParent);
    ShowWindow(SW_SHOW);
    UpdateWindow();
}

void CWaitDlg2::SetTopMost() {
    m_bTopMost = TRUE;
    if (m_hWnd != nullptr)
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

namespace {

// The entry's wait window: no text yet, no cancel button, no parent.
template <class Dialog> class LibraryWaitWindow : public CWaitWindow {
public:
    void ShowText(UINT stringId) override { m_dialog.Show(stringId, FALSE); }

private:
    Dialog m_dialog{static_cast<LPCSTR>(nullptr), FALSE, nullptr};
};

CWaitWindow* MakeLibraryWaitWindow() {
    if (theSkin.bSkinInUse)
        return new LibraryWaitWindow<CWaitDlg2>();
    return new LibraryWaitWindow<CWaitDlg>();
}

} // namespace

void InstallWaitWindows() {
    SetWaitWindowMaker(MakeLibraryWaitWindow);
}
