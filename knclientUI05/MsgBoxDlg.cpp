#include "knclientUI05/MsgBoxDlg.h"

#include "knclientUI05/MsgBoxStyle.h"
#include "platform/controls/DataExchange.h"
#include "platform/controls/MessageBox.h"
#include "platform/resources/Resource.h"
#include "platform/window/WindowDcs.h"

#include <algorithm>
#include <string>

namespace {

constexpr UINT kCountdownTimer = 1;
constexpr int kMargin = 8;
constexpr int kButtonGap = 10;
constexpr int kButtonSlack = 64; // the button row's width beyond its buttons

SIZE SizeOf(CWnd& control) {
    RECT r;
    control.GetWindowRect(&r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void Place(CWnd* control, const RECT& r) {
    if (control != nullptr)
        control->MoveWindow(r.left, r.top, r.right - r.left, r.bottom - r.top);
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
    SetUpIcon();
    SetUpButtons();
    SetUpDefaultButton();
    Layout(MeasureText());
    if (m_nSeconds != 0) {
        SetTimer(kCountdownTimer, 1000);
        UpdateCountdown();
    }
    CenterWindow(AfxGetMainWnd());
    return FALSE; // the focus has been set
}

void CMsgBoxDlg::SetUpIcon() {
    // Shared system icons: the box never destroys them.
    HICON icon = LoadIcon(nullptr, MsgBoxSystemIcon(m_nStyle));
    if (icon == nullptr)
        return;
    m_stcIcon.SetIcon(icon);
    m_stcIcon.ShowWindow(SW_SHOW);
    m_bIconShown = TRUE;
}

void CMsgBoxDlg::SetUpButtons() {
    const tagMSGBOXBUTTONSET& buttons = MsgBoxButtonSet(m_nStyle);
    CButton* controls[3] = {&m_btn1, &m_btn2, &m_btn3};
    m_nButtons = buttons.count;
    for (int i = 0; i < buttons.count; ++i) {
        m_nBtnResult[i] = buttons.results[i];
        controls[i]->SetWindowText(LoadedString(buttons.captions[i]));
        controls[i]->ShowWindow(SW_SHOW);
    }
}

void CMsgBoxDlg::SetUpDefaultButton() {
    m_nDefResult = m_nBtnResult[0];
    CButton* controls[3] = {&m_btn1, &m_btn2, &m_btn3};
    const int index = MsgBoxDefaultIndex(m_nStyle, m_nButtons);
    if (index == kMsgBoxFirstFocus && m_btn1.m_hWnd != nullptr)
        m_btn1.SetFocus();
    if (index < 0)
        return;
    SetDefID(IDC_KN_BUTTON1 + UINT(index));
    if (controls[index]->m_hWnd != nullptr)
        controls[index]->SetFocus();
    m_nDefResult = m_nBtnResult[index];
}

SIZE CMsgBoxDlg::MeasureText() {
    return MeasureMsgBoxText(this, m_pFont, m_strText);
}

void CMsgBoxDlg::Layout(SIZE textSize) {
    const bool hasIcon = m_bIconShown;
    const SIZE icon = SizeOf(m_stcIcon);
    const SIZE button = SizeOf(m_btn1);
    const SIZE countdown = SizeOf(m_stcCountdown);

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

    const int rowWidth = m_nButtons * button.cx + (m_nButtons - 1) * kButtonGap + kButtonSlack;
    const int clientWidth = std::max<int>(textRect.right + kMargin, rowWidth);
    const int inputHeight = m_bInput ? button.cy + 8 : 0;
    RECT window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    MoveWindow(0, 0, clientWidth + frameWidth,
               rowTop + button.cy + kMargin + frameHeight + inputHeight);
    if (hasIcon)
        Place(&m_stcIcon, iconRect);
    Place(&m_txtMessage, textRect);

    CWnd* input1 = GetDlgItem(IDC_KN_INPUT1);
    CWnd* input2 = GetDlgItem(IDC_KN_INPUT2);
    if (!m_bInput) {
        if (input1 != nullptr)
            input1->ShowWindow(SW_HIDE);
        if (input2 != nullptr)
            input2->ShowWindow(SW_HIDE);
    } else {
        const RECT inputRect{textRect.left, textRect.bottom + 4, textRect.right,
                             textRect.bottom + 4 + button.cy};
        Place(m_bSecondInput ? input2 : input1, inputRect);
        if (m_bSecondInput && input1 != nullptr)
            input1->ShowWindow(SW_HIDE);
    }

    CButton* controls[3] = {&m_btn1, &m_btn2, &m_btn3};
    const int buttonTop = rowTop + inputHeight;
    int left = (clientWidth - rowWidth) / 2 + 32;
    int lastRight = left;
    for (int i = 0; i < m_nButtons; ++i) {
        Place(controls[i], RECT{left, buttonTop, left + button.cx, buttonTop + button.cy});
        lastRight = left + button.cx;
        left = lastRight + kButtonGap;
    }
    const int countdownLeft = lastRight + (clientWidth - lastRight - countdown.cx) / 2;
    const int countdownTop = buttonTop + (button.cy - countdown.cy) / 2;
    Place(&m_stcCountdown, RECT{countdownLeft, countdownTop, countdownLeft + countdown.cx,
                                countdownTop + countdown.cy});
}

void CMsgBoxDlg::UpdateCountdown() {
    CString text;
    text.Format("%d", m_nSeconds);
    m_stcCountdown.SetWindowText(text);
}

void CMsgBoxDlg::OnTimer(UINT_PTR id) {
    CDialog::OnTimer(id);
    --m_nSeconds;
    UpdateCountdown();
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

void CMsgBoxDlg::EndWithButton(int index) {
    if (m_nSeconds != 0)
        KillTimer(kCountdownTimer);
    m_nResult = m_nBtnResult[index];
    if (m_bInput)
        OnOK(); // the input texts move into their members first
    else
        EndDialog(m_nResult);
}

void CMsgBoxDlg::OnButton1() {
    EndWithButton(0);
}

void CMsgBoxDlg::OnButton2() {
    EndWithButton(1);
}

void CMsgBoxDlg::OnButton3() {
    EndWithButton(2);
}
