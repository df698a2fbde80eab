#pragma once

// The modeless wait windows: one line of text while the caller does
// something that takes time, optionally with a cancel button. Each fits
// itself to its text at every Show. Cancelling never closes the window: it
// only sets a flag the owner reads; the next Show clears it.
//
// CWaitDlg is the plain one; CWaitDlg2 the skinned one (skin section
// "KNDLG_Wait" unless another name is given), with a skinned cancel
// button, hyperlink text and an icon from the skin.

#include "knbase05/TablehubApi.h"
#include "knclientUI05/CoolButton.h"
#include "knclientUI05/HyperStatic.h"
#include "knclientUI05/KNGameDialog.h"
#include "platform/CString.h"
#include "platform/controls/Dialog.h"

#define IDD_KN_WAIT 29800
#define IDD_KN_SKIN_WAIT 29734
#define IDC_KN_WAIT_PICTURE 29802
#define IDC_KN_WAIT_TEXT 29803
#define IDC_KN_WAIT_CANCEL 29804

class TABLEHUB_API CWaitDlg : public CDialog {
public:
    // A non-null text (non-zero id) is shown at once, without cancel.
    CWaitDlg(LPCSTR text, BOOL showCancel, CWnd* parent);
    CWaitDlg(UINT stringId, BOOL showCancel, CWnd* parent);
    ~CWaitDlg() override;

    void Show(LPCSTR text, BOOL showCancel);
    void Show(UINT stringId, BOOL showCancel);
    void SetTopMost();

    CButton m_btnCancel;
    CStatic m_stcPicture;
    CStatic m_txtMessage;
    CString m_strText;
    BOOL m_bShowCancel;
    BOOL m_bCancelled = FALSE;
    BOOL m_bCreated = FALSE;
    CWnd* m_pParent;
    CFont* m_pFont = nullptr;
    int m_nFullHeight = 0;
    int m_nCancelTopInWindow = 0;
    int m_nCancelTopInClient = 0;
    BOOL m_bTopMost = FALSE;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnSetFont(CFont* font) override;
    void OnOK() override {}
    void OnCancel() override { m_bCancelled = TRUE; }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

class TABLEHUB_API CWaitDlg2 : public CKNGameDialog {
public:
    // skinName null: "Wait". A non-null text (non-zero id) is shown at
    // once, without cancel and without the caption text.
    CWaitDlg2(LPCSTR text, BOOL showCancel, CWnd* parent, LPCSTR skinName = nullptr);
    CWaitDlg2(UINT stringId, BOOL showCancel, CWnd* parent, LPCSTR skinName = nullptr);
    ~CWaitDlg2() override;

    void Show(LPCSTR text, BOOL showCancel, BOOL showTitle = FALSE);
    void Show(UINT stringId, BOOL showCancel, BOOL showTitle = FALSE);
    void SetTopMost();

    CStatic m_stcIcon;
    CCoolButton m_btnCancel;
    CHyperStatic m_txtMessage;
    CString m_strText;
    BOOL m_bShowCancel;
    BOOL m_bCancelled = FALSE;
    BOOL m_bCreated = FALSE;
    HICON m_hSkinIcon = nullptr;
    CWnd* m_pParent;
    CFont* m_pFont = nullptr;
    BOOL m_bTopMost = FALSE;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnSetFont(CFont* font) override;
    void OnOK() override {}
    void OnCancel() override { m_bCancelled = TRUE; }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnPaintAfter(CDC* dc) override;
};
