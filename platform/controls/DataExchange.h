#pragma once

// Data exchange between a dialog's members and its controls (UpdateData):
// DDX_Control binds a control object to the dialog's control of that id,
// DDX_Text and DDX_Check move values both ways. A text that is not a number
// for a number member fails the exchange: the user is told, the control gets
// the focus, and UpdateData returns FALSE.

#include "platform/CString.h"
#include "platform/controls/ControlWnd.h"

class CDataExchange {
public:
    // What a failed exchange throws; UpdateData catches it.
    struct Failure {};

    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control of that id; a missing control fails the exchange.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Gives the last control the focus (an edit its text selected) and throws.
    [[noreturn]] void Fail();

private:
    HWND m_lastControl = nullptr;
    bool m_lastIsEdit = false;
};

void DDX_Control(CDataExchange* dx, int id, CControlWnd& control);
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// A combo box's chosen item by its text.
void DDX_CBString(CDataExchange* dx, int id, CString& value);
