#pragma once

// CSkinMsgBox: the skinned twin of the plain message box: the same style
// word, button sets, results, countdown and input line, drawn as a skinned
// dialog (skin section "KNDLG_MsgBox") with skinned buttons and an icon the
// skin may replace. It cannot be closed from its caption.

#include "knbase05/TablehubApi.h"
#include "knclientUI05/CoolButton.h"
#include "knclientUI05/HyperStatic.h"
#include "knclientUI05/KNGameDialog.h"
#include "platform/CString.h"

#define IDD_KN_SKIN_MSGBOX 29733

class TABLEHUB_API CSkinMsgBox : public CKNGameDialog {
public:
    CSkinMsgBox(LPCSTR text, UINT style, int seconds);
    CSkinMsgBox(UINT stringId, UINT style, int seconds);
    // The owner form: with an input line when withInput is non-zero.
    CSkinMsgBox(BOOL withInput, LPCSTR text, UINT style, int seconds);
    ~CSkinMsgBox() override;

    CStatic m_stcIcon;
    CStatic m_stcCountdown;
    CHyperStatic m_txtMessage;
    CCoolButton m_btn1, m_btn2, m_btn3;
    CString m_strText;
    CString m_strInput1;
    CString m_strInput2;
    UINT m_nStyle;
    int m_nSeconds;
    int m_nButtons = 0;
    int m_nBtnResult[3] = {0, 0, 0};
    int m_nDefResult = 0;
    HICON m_hSkinIcon = nullptr;
    CFont* m_pFont = nullptr;
    BOOL m_bSecondInput = FALSE;
    BOOL m_bInput = FALSE;
    int m_nResult = -1;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnSetFont(CFont* font) override;
    void OnCancel() override {}
    void OnPaintAfter(CDC* dc) override;
    void OnTimer(UINT_PTR id) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    virtual void OnButton2();

public:
    // Whether the box shows an icon (the text then stands right of it).
    BOOL m_bIconShown = FALSE;
};
