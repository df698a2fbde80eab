#pragma once

// CKNChatEx: the window that hosts the extended chat control of the chat
// pane and turns the members the game uses into typed calls. The control's
// file version is read once, at construction; members that newer controls
// added do nothing (and give 0) on an older one.
//
// Column tables are passed by address: the control runs in this process and
// reads them in place during the call. The address and the notify window
// travel as pointer-sized integers.

#include "knbase05/TablehubApi.h"
#include "knclientbase05/FileVersion.h"
#include "platform/controls/ControlHost.h"
#include "platform/window/Wnd.h"

class TABLEHUB_API CKNChatEx : public CWnd {
public:
    CKNChatEx();
    ~CKNChatEx() override;

    static const CLSID& GetClsid();

    // The class name is not used: the control makes its own window.
    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT nID, void* context = nullptr) override;

    const CFileVersion& GetControlVersion() const { return m_version; }

    CString GetServerAddress();
    void SetServerAddress(LPCTSTR address);
    short GetServerPort();
    void SetServerPort(short port);
    BOOL Connect();
    void CallMember41();
    BOOL EnterRoom(const void* table, LONG length, LPCTSTR room, LPCTSTR text1, LPCTSTR text2,
                   LONG tableNumber, LONG value);
    BOOL SetColumns(const void* table, LONG length);
    BOOL CallMember50(short value);
    void AddText(LONG kind, LPCTSTR text);
    void CallMember53();
    void EnableControl(BOOL enable);
    BOOL SetUserField(LPCTSTR user, LPCTSTR caption, LPCTSTR value);
    void CallMember70(BOOL value);
    // A line of chat markup, shown as it is (system lines of the program).
    void AppendChatMarkup(LPCTSTR markup);
    // Where the control sends the lines the user writes and the lines that
    // arrive (the text in lParam).
    void SetNotifyWindow(HWND window, LONG ownLineMessage, LONG lineMessage);
    void CallMember77(LONG* value);

    // From 2.5.1.29.
    void CallMember81(LONG value);
    void CallMember82(LPCTSTR text);
    void CallMember83(LONG value);
    // From 2.5.1.30.
    void CallMember84();
    void CallMember85(BOOL value);
    void CallMember86(BOOL value);
    // From 2.7.0.13.
    void CallMember87(BOOL value);
    BOOL UpdateUserFields(const void* table, LONG length);

private:
    CFileVersion m_version;
};
