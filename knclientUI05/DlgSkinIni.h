#pragma once

// The skin ini of the skinned dialogs: the shared section "KNDLG" and one
// section "KNDLG_<name>" per dialog, in the skin's ini file. Numbers and
// colours read "KNDLG" first and let the dialog's section override it;
// strings and pictures read the dialog's section first and "KNDLG" only when
// that is empty. Without a skin ini every read gives its default.

#include "platform/CString.h"
#include "platform/Types.h"

class CKNBitmap;

class CDlgSkinIni {
public:
    // skinName "MsgBox" reads the section "KNDLG_MsgBox".
    explicit CDlgSkinIni(LPCSTR skinName);

    const CString& Section() const { return m_section; }
    // Pictures are (resource id, kind) pairs of the theme library rather
    // than file names.
    BOOL ThemeLibraryMode() const;

    int ReadInt(LPCSTR key, int defaultValue) const;
    // The dialog's own section only ("Resize").
    int ReadOwnInt(LPCSTR key, int defaultValue) const;
    COLORREF ReadColor(LPCSTR key, COLORREF defaultColor) const;
    CString ReadString(LPCSTR key) const;
    // The dialog's pair, or "KNDLG"'s when both numbers of it are 0.
    void ReadPair(LPCSTR key, int* first, int* second) const;

    // The picture named by key: in file mode the dialog's name, "KNDLG"'s,
    // then builtInFile (may be null), under the skin picture folder; in
    // theme-library mode the dialog's pair, then "KNDLG"'s. FALSE when no
    // picture loads.
    BOOL LoadPicture(CKNBitmap* bitmap, LPCSTR key, LPCSTR builtInFile) const;
    // The maximised dialog's caption button: "KNDLG" only; in file mode the
    // name after the first comma, when there is one, without its blanks.
    BOOL LoadRestorePicture(CKNBitmap* bitmap) const;
    // The file mode path of a picture key, empty when nothing names one.
    CString PicturePath(LPCSTR key, LPCSTR builtInFile) const;

private:
    CString ReadText(LPCSTR section, LPCSTR key) const;
    BOOL LoadResourcePair(CKNBitmap* bitmap, LPCSTR section, LPCSTR key) const;
    BOOL LoadFile(CKNBitmap* bitmap, const CString& name) const;

    CString m_section;
};

// What the dialog base and its caption buttons read, once at creation
// (SysBtnRight and SysBtnTop again at every size change).
struct tagDLGSKINVALUES {
    int nAnomalyFrame = 1;
    int nResize = 0;
    int nUseTitleMax = 0;
    COLORREF crCtrl = RGB(0x80, 0x80, 0x80);
    COLORREF crCtrlText = RGB(0xFF, 0xFF, 0xFF);
    int nBorderWidth = 4;
    int nCaptionHeight = 20;
    int nTitleAlign = 1;        // read, the caption is always centred
    int nTitleFontSize[2] = {}; // read, the caption font is always 12 x 6
    COLORREF crTitle = RGB(0xFF, 0xFF, 0xFF);
    CString strTitle;     // empty: the dialog keeps its own text
    CString strTitleFont; // empty in the ini: the library's default face
    int nSysBtnRight = 6;
    int nSysBtnTop = 3;
};

void ReadDlgSkinValues(const CDlgSkinIni& ini, tagDLGSKINVALUES* values);
// The caption button placement, re-read at every size change.
void ReadDlgSkinButtonPlace(const CDlgSkinIni& ini, tagDLGSKINVALUES* values);
