#pragma once

// CMsgBoxDlg: the library's own message box. Shows a text, an icon and one
// to three buttons chosen by a message-box style word, sizes itself to the
// text, can close itself after a number of seconds (with the count shown
// beside the buttons) and can carry an input line under the text.
//
// After DoModal, m_nResult holds the button pressed; with the input line
// DoModal gives IDOK whichever button ended it, and m_strInput1 and
// m_strInput2 hold the input controls' texts.

#include "knbase05/TablehubApi.h"
#include "knclientUI05/HyperStatic.h"
#include "platform/CString.h"
#include "platform/controls/Dialog.h"

#define IDD_KN_MSGBOX 29810
#define IDC_KN_MSG_TEXT 29811
#define IDC_KN_MSG_ICON 29812
#define IDC_KN_MSG_COUNTDOWN 29813
#define IDC_KN_BUTTON1 29714
#define IDC_KN_BUTTON2 29715
#define IDC_KN_BUTTON3 29716
#define IDC_KN_INPUT1 29852
#define IDC_KN_INPUT2 29853

class TABLEHUB_API CMsgBoxDlg : public CDialog {
public:
    CMsgBoxDlg(LPCSTR text, UINT style, int seconds);
    CMsgBoxDlg(UINT stringId, UINT style, int seconds);
    // The owner form: with an input line when withInput is non-zero.
    CMsgBoxDlg(BOOL withInput, LPCSTR text, UINT style, int seconds);

    CStatic m_stcIcon;
    CStatic m_stcCountdown;
    CHyperStatic m_txtMessage;
    CButton m_btn1, m_btn2, m_btn3;
    CString m_strText;
    CString m_strInput1;
    CString m_strInput2;
    UINT m_nStyle;
    int m_nSeconds;
    int m_nButtons = 0;
    int m_nBtnResult[3] = {0, 0, 0};
    int m_nDefResult = 0;
    CFont* m_pFont = nullptr;
    // Use the second input control (29853) instead of the first; the caller
    // sets it before the box runs.
    BOOL m_bSecondInput = FALSE;
    BOOL m_bInput = FALSE;
    int m_nResult = -1;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnSetFont(CFont* font) override;
    // Escape and the close command leave the box open.
    void OnCancel() override;
    void OnTimer(UINT_PTR id) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnButton1();
    virtual void OnButton2();
    void OnButton3();

public:
    // Whether the box shows an icon (the text then stands right of it).
    BOOL m_bIconShown = FALSE;
};
