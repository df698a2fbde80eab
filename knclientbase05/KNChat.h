#pragma once

// CKNChat: the window that hosts the older chat control and turns every
// property and method of the control into a typed call. The control's file
// version ("KNChat.dll" in the shared folder) is read once, at construction;
// members that newer controls added do nothing on an older one, or when the
// file is not found. The class can be made from its runtime-class record.
//
// The column block is passed by address: the control runs in this process
// and reads it in place during the call. A call the control refuses (or a
// wrapper without a window) gives 0, FALSE, an empty text or a null object.

#include "knbase05/TablehubApi.h"
#include "knclientbase05/FileVersion.h"
#include "platform/controls/ControlHost.h"
#include "platform/window/Wnd.h"

// The control's numbered properties without a name, by type. Each has a
// getter and a setter named after its dispatch id: GetProperty1 and
// SetProperty1, and so on.
#define KNCHAT_LONG_PROPERTIES(X)                                                                  \
    X(1) X(2) X(3) X(4) X(5) X(6) X(7) X(8) X(9) X(10) X(11) X(12) X(13) X(14) X(16) X(17) X(34)
#define KNCHAT_TEXT_PROPERTIES(X) X(20) X(31) X(32)
#define KNCHAT_OBJECT_PROPERTIES(X)                                                                \
    X(21) X(22) X(23) X(24) X(25) X(26) X(27) X(28) X(29) X(30) X(33)

#define KNCHAT_DECLARE_LONG(id)                                                                    \
    LONG GetProperty##id();                                                                        \
    void SetProperty##id(LONG value);
#define KNCHAT_DECLARE_TEXT(id)                                                                    \
    CString GetProperty##id();                                                                     \
    void SetProperty##id(LPCTSTR value);
#define KNCHAT_DECLARE_OBJECT(id)                                                                  \
    COleDispatchDriver GetProperty##id();                                                          \
    void SetProperty##id(LPDISPATCH value);

class TABLEHUB_API CKNChat : public CWnd {
    DECLARE_DYNCREATE(CKNChat)

public:
    CKNChat();
    ~CKNChat() override;

    static const CLSID& GetClsid();

    // The class name is not used: the control makes its own window.
    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT nID, void* context = nullptr) override;

    const CFileVersion& GetControlVersion() const { return m_version; }

    // ---- properties ----
    short GetBorderStyle();
    void SetBorderStyle(short value);
    short GetAppearance();
    void SetAppearance(short value);
    KNCHAT_LONG_PROPERTIES(KNCHAT_DECLARE_LONG)
    BOOL GetProperty15();
    void SetProperty15(BOOL value);
    CString GetServerAddress();
    void SetServerAddress(LPCTSTR address);
    short GetServerPort();
    void SetServerPort(short port);
    KNCHAT_TEXT_PROPERTIES(KNCHAT_DECLARE_TEXT)
    KNCHAT_OBJECT_PROPERTIES(KNCHAT_DECLARE_OBJECT)

    // ---- methods, by dispatch id ----
    BOOL Connect();
    void CallMember36();
    void CallMember37(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4, LPCTSTR text5,
                      LONG value1, LONG value2);
    void CallMember38(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4);
    void CallMember39(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4, LPCTSTR text5,
                      LONG value1, LONG value2);
    BOOL CallMember40(LPCTSTR text);
    void CallMember41();
    void CallMember42();
    void CallMember43(LPCTSTR text);
    LONG CallMember44();
    BOOL CallMember45(LONG value1, LONG value2, LPCTSTR text1, LPCTSTR text2, LPCTSTR text3,
                      LONG value3, LONG value4);
    BOOL CallMember46(LONG value1, LONG value2, LPCTSTR text1, LPCTSTR text2);
    BOOL EnterRoom(const void* row, LONG length, LPCTSTR room, LPCTSTR text1, LPCTSTR text2,
                   LONG tableNumber, LONG value);
    BOOL CallMember48(LONG value, BOOL flag);
    BOOL SetColumns(const void* block, LONG length);
    BOOL CallMember50(short value);
    BOOL CallMember51(LPCTSTR text1, LPCTSTR text2);
    void CallMember52(LONG value, LPCTSTR text);
    void CallMember53();
    void CallMember54();
    void CallMember55(LPCTSTR text);
    BOOL CallMember56();
    void EnableControl(BOOL enable);
    void CallMember58(LPCTSTR text);
    void CallMember59(BOOL flag);
    void CallMember60(BOOL flag);
    BOOL CallMember61(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4, LPCTSTR text5);
    BOOL CallMember62(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4, LPCTSTR text5,
                      LPCTSTR text6);
    BOOL CallMember63(LPCTSTR text, LONG* value);
    // One user's value, as the server's user records carry them.
    LONG SetUserValue(LPCTSTR user, LONG value);
    BOOL CallMember65(LPCTSTR text, LONG* value);
    LONG CallMember66(LPCTSTR text, LONG value);
    BOOL CallMember67(LPCTSTR text1, LPCTSTR text2, LONG value);
    BOOL CallMember68(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3);
    BOOL CallMember69(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4, LPCTSTR text5,
                      LPCTSTR text6);
    // From 2.5.1.29.
    void CallMember70(BOOL value);
    void CallMember71(LPCTSTR text);
    // From 2.5.1.30.
    void CallMember72();
    void CallMember73(BOOL value);
    void CallMember74(BOOL value);
    void AboutBox();

private:
    DispatchValue Call(DISPID id, VARTYPE result, std::initializer_list<DispatchValue> args);
    // A method newer controls added: nothing is sent to an older one.
    void CallFrom(LPCSTR version, DISPID id, std::initializer_list<DispatchValue> args);
    DispatchValue Get(DISPID id, VARTYPE type);
    void Set(DISPID id, const DispatchValue& value);

    CFileVersion m_version;
};

#undef KNCHAT_DECLARE_LONG
#undef KNCHAT_DECLARE_TEXT
#undef KNCHAT_DECLARE_OBJECT
