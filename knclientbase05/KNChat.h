#pragma once

// CKNChat: the window that hosts the older chat control and turns its
// members into typed calls. The control's file version ("KNChat.dll" in the
// shared folder) is read once, at construction; members that newer controls
// added do nothing on an older one, or when the file is not found.
//
// The column block is passed by address: the control runs in this process
// and reads it in place during the call.

#include "knbase05/TablehubApi.h"
#include "knclientbase05/FileVersion.h"
#include "platform/controls/ControlHost.h"
#include "platform/window/Wnd.h"

class TABLEHUB_API CKNChat : public CWnd {
public:
    CKNChat();
    ~CKNChat() override;

    static const CLSID& GetClsid();

    // The class name is not used: the control makes its own window.
    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT nID, void* context = nullptr) override;

    const CFileVersion& GetControlVersion() const { return m_version; }

    CString GetServerAddress();
    void SetServerAddress(LPCTSTR address);
    short GetServerPort();
    void SetServerPort(short port);
    void EnableControl(BOOL enable);
    BOOL Connect();
    BOOL SetColumns(const void* block, LONG length);
    BOOL EnterRoom(const void* row, LONG length, LPCTSTR room, LPCTSTR text1, LPCTSTR text2,
                   LONG tableNumber, LONG value);
    // One user's value, as the server's user records carry them.
    LONG SetUserValue(LPCTSTR user, LONG value);
    void AboutBox();

    // From 2.5.1.29.
    void CallMember70(BOOL value);
    void CallMember71(LPCTSTR text);
    // From 2.5.1.30.
    void CallMember72();
    void CallMember73(BOOL value);
    void CallMember74(BOOL value);

private:
    CFileVersion m_version;
};
