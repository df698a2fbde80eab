#pragma once

// The MFC control classes over the standard controls: each member is the
// control message it stands for.

#include "platform/controls/ControlWnd.h"

class CStatic : public CControlWnd {
public:
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HBITMAP SetBitmap(HBITMAP bitmap) {
        return reinterpret_cast<HBITMAP>(
            SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
    HBITMAP GetBitmap() const {
        return reinterpret_cast<HBITMAP>(::SendMessage(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    HICON SetIcon(HICON icon) {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
    HICON GetIcon() const {
        return reinterpret_cast<HICON>(::SendMessage(m_hWnd, STM_GETICON, 0, 0));
    }
    // SS_OWNERDRAW statics draw here.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CButton : public CControlWnd {
public:
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const { return int(::SendMessage(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, WPARAM(check)); }
    UINT GetState() const { return UINT(::SendMessage(m_hWnd, BM_GETSTATE, 0, 0)); }
    void SetState(BOOL pushed) { SendMessage(BM_SETSTATE, WPARAM(pushed)); }
    UINT GetButtonStyle() const { return UINT(GetStyle() & 0xFFFF); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HBITMAP SetBitmap(HBITMAP bitmap) {
        return reinterpret_cast<HBITMAP>(
            SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
    HBITMAP GetBitmap() const {
        return reinterpret_cast<HBITMAP>(::SendMessage(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    // BS_OWNERDRAW buttons draw here.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CEdit : public CControlWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void LimitText(int bytes = 0) { SendMessage(EM_LIMITTEXT, WPARAM(bytes)); }
    void SetLimitText(UINT bytes) { SendMessage(EM_LIMITTEXT, bytes); }
    UINT GetLimitText() const { return UINT(::SendMessage(m_hWnd, EM_GETLIMITTEXT, 0, 0)); }
    void SetSel(int start, int end, BOOL noScroll = FALSE) {
        (void)noScroll;
        SendMessage(EM_SETSEL, WPARAM(start), LPARAM(end));
    }
    void GetSel(int& start, int& end) const {
        DWORD s = 0, e = 0;
        ::SendMessage(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s),
                      reinterpret_cast<LPARAM>(&e));
        start = int(s);
        end = int(e);
    }
    void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE) {
        (void)canUndo;
        SendMessage(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
    }
    void SetPasswordChar(char ch) { SendMessage(EM_SETPASSWORDCHAR, WPARAM(BYTE(ch))); }
    char GetPasswordChar() const { return char(::SendMessage(m_hWnd, EM_GETPASSWORDCHAR, 0, 0)); }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return BOOL(SendMessage(EM_SETREADONLY, readOnly)); }
    BOOL GetModify() const { return BOOL(::SendMessage(m_hWnd, EM_GETMODIFY, 0, 0)); }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
    void Clear() { SendMessage(WM_CLEAR); }
};

class CListBox : public CControlWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(LPCTSTR text) { return Send(LB_ADDSTRING, 0, text); }
    int InsertString(int index, LPCTSTR text) { return Send(LB_INSERTSTRING, WPARAM(index), text); }
    int DeleteString(UINT index) { return int(SendMessage(LB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    int GetCount() const { return int(::SendMessage(m_hWnd, LB_GETCOUNT, 0, 0)); }
    int GetCurSel() const { return int(::SendMessage(m_hWnd, LB_GETCURSEL, 0, 0)); }
    int SetCurSel(int index) { return int(SendMessage(LB_SETCURSEL, WPARAM(index))); }
    int GetText(int index, LPTSTR buffer) const {
        return int(
            ::SendMessage(m_hWnd, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buffer)));
    }
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const {
        return int(::SendMessage(m_hWnd, LB_GETTEXTLEN, WPARAM(index), 0));
    }
    int FindString(int start, LPCTSTR text) const {
        return int(
            ::SendMessage(m_hWnd, LB_FINDSTRING, WPARAM(start), reinterpret_cast<LPARAM>(text)));
    }
    int FindStringExact(int start, LPCTSTR text) const {
        return int(::SendMessage(m_hWnd, LB_FINDSTRINGEXACT, WPARAM(start),
                                 reinterpret_cast<LPARAM>(text)));
    }
    int SelectString(int start, LPCTSTR text) { return Send(LB_SELECTSTRING, WPARAM(start), text); }
    int GetTopIndex() const { return int(::SendMessage(m_hWnd, LB_GETTOPINDEX, 0, 0)); }
    int SetTopIndex(int index) { return int(SendMessage(LB_SETTOPINDEX, WPARAM(index))); }
    DWORD_PTR GetItemData(int index) const {
        return DWORD_PTR(::SendMessage(m_hWnd, LB_GETITEMDATA, WPARAM(index), 0));
    }
    int SetItemData(int index, DWORD_PTR data) {
        return int(SendMessage(LB_SETITEMDATA, WPARAM(index), LPARAM(data)));
    }
    int GetItemHeight(int) const { return int(::SendMessage(m_hWnd, LB_GETITEMHEIGHT, 0, 0)); }

private:
    int Send(UINT message, WPARAM wParam, LPCTSTR text) {
        return int(SendMessage(message, wParam, reinterpret_cast<LPARAM>(text)));
    }
};

class CComboBox : public CControlWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(LPCTSTR text) { return Send(CB_ADDSTRING, 0, text); }
    int InsertString(int index, LPCTSTR text) { return Send(CB_INSERTSTRING, WPARAM(index), text); }
    int DeleteString(UINT index) { return int(SendMessage(CB_DELETESTRING, index)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return int(::SendMessage(m_hWnd, CB_GETCOUNT, 0, 0)); }
    int GetCurSel() const { return int(::SendMessage(m_hWnd, CB_GETCURSEL, 0, 0)); }
    int SetCurSel(int index) { return int(SendMessage(CB_SETCURSEL, WPARAM(index))); }
    int GetLBText(int index, LPTSTR buffer) const {
        return int(
            ::SendMessage(m_hWnd, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buffer)));
    }
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const {
        return int(::SendMessage(m_hWnd, CB_GETLBTEXTLEN, WPARAM(index), 0));
    }
    int FindString(int start, LPCTSTR text) const {
        return int(
            ::SendMessage(m_hWnd, CB_FINDSTRING, WPARAM(start), reinterpret_cast<LPARAM>(text)));
    }
    int FindStringExact(int start, LPCTSTR text) const {
        return int(::SendMessage(m_hWnd, CB_FINDSTRINGEXACT, WPARAM(start),
                                 reinterpret_cast<LPARAM>(text)));
    }
    int SelectString(int start, LPCTSTR text) { return Send(CB_SELECTSTRING, WPARAM(start), text); }
    DWORD_PTR GetItemData(int index) const {
        return DWORD_PTR(::SendMessage(m_hWnd, CB_GETITEMDATA, WPARAM(index), 0));
    }
    int SetItemData(int index, DWORD_PTR data) {
        return int(SendMessage(CB_SETITEMDATA, WPARAM(index), LPARAM(data)));
    }
    void ShowDropDown(BOOL show = TRUE) { SendMessage(CB_SHOWDROPDOWN, show); }
    BOOL GetDroppedState() const { return BOOL(::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0)); }

private:
    int Send(UINT message, WPARAM wParam, LPCTSTR text) {
        return int(SendMessage(message, wParam, reinterpret_cast<LPARAM>(text)));
    }
};
