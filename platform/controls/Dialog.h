#pragma once

// CDialog: a dialog built from a template of the resource library (or one
// made in code), modal through the modal loop or modeless, with the dialog
// keys (Tab, arrows, Enter, Escape), the default button, control colours and
// data exchange between members and controls.
//
// Dialog units map to pixels from the dialog font as Windows maps them: the
// average width of the letters A-Z and a-z, and the font's height.

#include "platform/controls/ControlWnd.h"
#include "platform/resources/DialogTemplate.h"

class CDataExchange;
class CDC;

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCTSTR templateName, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally: the owner is disabled while it runs. Returns
    // what EndDialog was given, or -1 when the dialog could not be made.
    virtual int DoModal();
    // A dialog made in code instead of one from the resource library.
    BOOL InitModalIndirect(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);

    // Modeless.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(LPCTSTR templateName, CWnd* parent = nullptr);
    BOOL CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);

    // Ends a modal dialog with the result; hides a modeless one.
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnSetFont(CFont* font);
    virtual void DoDataExchange(CDataExchange* dx);
    // TRUE: controls to members (validating); FALSE: members to controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    void SetDefID(UINT id);
    DWORD GetDefID() const;
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* control);
    void MapDialogRect(LPRECT rect) const;
    void CenterWindow(CWnd* alternateOwner = nullptr);

    void SetDlgItemText(int id, LPCTSTR text);
    int GetDlgItemText(int id, LPTSTR buffer, int bufferSize) const;
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
    // translated (when given) says whether the text was a number in range.
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void CheckRadioButton(int firstId, int lastId, int checkId);
    int GetCheckedRadioButton(int firstId, int lastId) const;
    CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
    CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const;
    BOOL IsDialogMessage(LPMSG msg);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The dialog's default handling (what DefDlgProc does on Windows).
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A control asks for its colours; the default is the classic look.
    virtual HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT ctlColor);
    // An owner-drawn control asks to be drawn; the default hands the request
    // to the control's own object.
    virtual void OnDrawItem(int id, LPDRAWITEMSTRUCT item);

    UINT m_nIDHelp = 0;
    LPCTSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    // Whether a modal dialog is running its loop (or about to).
    bool IsModal() const { return m_modal; }

private:
    BOOL CreateFromTemplate(const DialogTemplate& dialogTemplate, HINSTANCE module, CWnd* parent);
    bool LoadTemplate(DialogTemplate& result, HINSTANCE* module) const;
    HWND OwnerFor(CWnd* parent) const;
    void ForgetFont();

    UINT m_templateId = 0;
    bool m_hasIndirect = false;
    DialogTemplate m_indirect; // a template made in code
    HFONT m_font = nullptr;
    bool m_ownsFont = false;
    SIZE m_baseUnits{8, 16};
    UINT m_defId = 0;
    HWND m_lastFocus = nullptr;
    bool m_modal = false;
    bool m_endedEarly = false; // EndDialog before the modal loop began
    int m_result = -1;
};
