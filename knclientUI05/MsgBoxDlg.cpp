#include "knclientUI05/MsgBoxDlg.h"

#include "knclientUI05/MsgBoxLayout.h"
#include "knclientUI05/MsgBoxStyle.h"
#include "platform/controls/DataExchange.h"
#include "platform/controls/MessageBox.h"
#include "platform/resources/Resource.h"
#include "platform/window/WindowDcs.h"

#include <algorithm>
#include <string>

using namespace msgbox;

namespace {

void SetUpIcon(CMsgBoxDlg& box) {
    // Shared system icons: the box never destroys them.
    HICON icon = LoadIcon(nullptr, MsgBoxSystemIcon(box.m_nStyle));
    if (icon == nullptr)
        return;
    box.m_stcIcon.SetIcon(icon);
    box.m_stcIcon.ShowWindow(SW_SHOW);
    box.m_bIconShown = TRUE;
}

void SetUpButtons(CMsgBoxDlg& box) {
    const tagMSGBOXBUTTONSET& buttons = MsgBoxButtonSet(box.m_nStyle);
    CButton* controls[3] = {&box.m_btn1, &box.m_btn2, &box.m_btn3};
    box.m_nButtons = buttons.count;
    for (int i = 0; i < buttons.count; ++i) {
        box.m_nBtnResult[i] = buttons.results[i];
        controls[i]->SetWindowText(LoadedString(buttons.captions[i]));
        controls[i]->ShowWindow(SW_SHOW);
    }
}

void Layout(CMsgBoxDlg& box, SIZE textSize) {
    const bool hasIcon = box.m_bIconShown;
    const SIZE icon = SizeOf(box.m_stcIcon);
    const SIZE button = SizeOf(box.m_btn1);

    RECT iconRect{kMargin, kMargin, kMargin + icon.cx, kMargin + icon.cy};
    const int textLeft = hasIcon ? iconRect.right + kMargin : kMargin;
    const int textHeight = textSize.cy + 2;
    RECT textRect{textLeft, kMargin, textLeft + textSize.cx, kMargin + textHeight};
    int rowTop = textRect.bottom + 16;
    if (hasIcon) {
        if (icon.cy > textHeight) {
            OffsetRect(&textRect, 0, (icon.cy - textHeight) / 2);
            rowTop = iconRect.bottom + kMargin;
        } else {
            OffsetRect(&iconRect, 0, (textHeight - icon.cy) / 2);
        }
    }

    const int rowWidth =
        box.m_nButtons * button.cx + (box.m_nButtons - 1) * kButtonGap + kButtonSlack;
    const int clientWidth = std::max<int>(textRect.right + kMargin, rowWidth);
    const int inputHeight = box.m_bInput ? button.cy + 8 : 0;
    RECT window, client;
    box.GetWindowRect(&window);
    box.GetClientRect(&client);
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    box.MoveWindow(0, 0, clientWidth + frameWidth,
                   rowTop + button.cy + kMargin + frameHeight + inputHeight);
    if (hasIcon)
        Place(&box.m_stcIcon, iconRect);
    Place(&box.m_txtMessage, textRect);

    PlaceInputs(box, textRect, button.cy);

    PlaceButtonRow(box, (clientWidth - rowWidth) / 2 + 32, rowTop + inputHeight, button,
                   clientWidth);
}

} // namespace

CMsgBoxDlg::CMsgBoxDlg(LPCSTR text, UINT style, int seconds)
    : CDialog(IDD_KN_MSGBOX), m_strText(text != nullptr ? text : ""), m_nStyle(style & 0x7FFFFFFF),
      m_nSeconds(seconds) {}

CMsgBoxDlg::CMsgBoxDlg(UINT stringId, UINT style, int seconds)
    : CMsgBoxDlg(LoadedString(stringId).GetString(), style, seconds) {}

CMsgBoxDlg::CMsgBoxDlg(BOOL withInput, LPCSTR text, UINT style, int seconds)
    : CMsgBoxDlg(text, style, seconds) {
    m_bInput = withInput;
}

void CMsgBoxDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_KN_MSG_TEXT, m_txtMessage);
    DDX_Control(dx, IDC_KN_MSG_COUNTDOWN, m_stcCountdown);
    DDX_Control(dx, IDC_KN_MSG_ICON, m_stcIcon);
    DDX_Control(dx, IDC_KN_BUTTON1, m_btn1);
    DDX_Control(dx, IDC_KN_BUTTON2, m_btn2);
    DDX_Control(dx, IDC_KN_BUTTON3, m_btn3);
    DDX_Text(dx, IDC_KN_MSG_TEXT, m_strText);
    DDX_Text(dx, IDC_KN_INPUT1, m_strInput1);
    DDX_Text(dx, IDC_KN_INPUT2, m_strInput2);
}

void CMsgBoxDlg::OnSetFont(CFont* font) {
    m_pFont = font;
    CDialog::OnSetFont(font);
}

void CMsgBoxDlg::OnCancel() {}

BOOL CMsgBoxDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetUpIcon(*this);
    SetUpButtons(*this);
    SetUpDefaultButton(*this);
    Layout(*this, MeasureMsgBoxText(this, m_pFont, m_strText));
    if (m_nSeconds != 0) {
        SetTimer(kCountdownTimer, 1000);
        UpdateCountdown(*this);
    }
    CenterWindow(AfxGetMainWnd());
    return FALSE; // the focus has been set
}

void CMsgBoxDlg::OnTimer(UINT_PTR id) {
    CDialog::OnTimer(id);
    --m_nSeconds;
    UpdateCountdown(*this);
    if (m_nSeconds != 0)
        return;
    KillTimer(kCountdownTimer);
    if (GetCapture() == this)
        ReleaseCapture();
    m_nResult = m_nDefResult;
    EndDialog(m_nResult);
}

BOOL CMsgBoxDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_KN_BUTTON1:
            OnButton1();
            return TRUE;
        case IDC_KN_BUTTON2:
            OnButton2();
            return TRUE;
        case IDC_KN_BUTTON3:
            OnButton3();
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CMsgBoxDlg::OnButton1() {
    if (EndWithButton(*this, 0))
        OnOK(); // the input texts move into their members first
}

void CMsgBoxDlg::OnButton2() {
    if (EndWithButton(*this, 1))
        OnOK(); // the input texts move into their members first
}

void CMsgBoxDlg::OnButton3() {
    if (EndWithButton(*this, 2))
        OnOK(); // the input texts move into their members first
}
