#pragma once

// The system's message box: a modal dialog made in code (no template) with
// the text, an optional icon and the buttons of the style. Escape answers
// Cancel when the box has one (OK when OK is its only button); the close
// command does the same.

#include "platform/controls/ControlDefs.h"

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_USERICON 0x00000080L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONSTOP MB_ICONHAND
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L

struct MSGBOXPARAMS {
    UINT cbSize;
    HWND hwndOwner;
    HINSTANCE hInstance; // where lpszIcon is found, with MB_USERICON
    LPCSTR lpszText;
    LPCSTR lpszCaption;
    DWORD dwStyle;
    LPCSTR lpszIcon;
    DWORD_PTR dwContextHelpId;
    void* lpfnMsgBoxCallback; // not called
    DWORD dwLanguageId;
};
typedef MSGBOXPARAMS MSGBOXPARAMSA;

// The button pressed (IDOK, IDCANCEL, IDYES, IDNO, ...); 0 when the box
// could not be shown. The owner (the main window when null) is disabled
// while the box runs.
int MessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
int MessageBoxIndirect(const MSGBOXPARAMS* params);
#define MessageBoxA MessageBox
#define MessageBoxIndirectA MessageBoxIndirect

// The framework's box, owned by the main window; the prompt id is a string
// of the resource search.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = UINT(-1));
