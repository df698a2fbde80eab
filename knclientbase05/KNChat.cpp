#include "knclientbase05/KNChat.h"

namespace {

// The control's class id.
const CLSID kClsid = {0x5A8C1E46, 0x2B3D, 0x4F61, {0x9C, 0x0E, 0x71, 0x3A, 0xD2, 0x44, 0x8B, 0x15}};

constexpr char kControlFile[] = "KNChat.dll";
constexpr char kVersion2_5_1_29[] = "2.5.1.29";
constexpr char kVersion2_5_1_30[] = "2.5.1.30";

using V = DispatchValue;

} // namespace

IMPLEMENT_DYNCREATE(CKNChat, CWnd)

CKNChat::CKNChat() {
    m_version.LoadFromGameFolder(kControlFile, nullptr);
}

CKNChat::~CKNChat() = default;

const CLSID& CKNChat::GetClsid() {
    return kClsid;
}

BOOL CKNChat::Create(LPCTSTR, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                     UINT nID, void*) {
    return CreateControl(this, GetClsid(), windowName, style, rect, parent, nID);
}

DispatchValue CKNChat::Call(DISPID id, VARTYPE result, std::initializer_list<DispatchValue> args) {
    return InvokeMethod(m_hWnd, id, result, args);
}

void CKNChat::CallFrom(LPCSTR version, DISPID id, std::initializer_list<DispatchValue> args) {
    if (m_version.IsAtLeast(version))
        InvokeMethod(m_hWnd, id, VT_EMPTY, args);
}

DispatchValue CKNChat::Get(DISPID id, VARTYPE type) {
    return GetControlProperty(m_hWnd, id, type);
}

void CKNChat::Set(DISPID id, const DispatchValue& value) {
    SetControlProperty(m_hWnd, id, value);
}

// ---- properties ----

short CKNChat::GetBorderStyle() {
    return Get(DISPID_BORDERSTYLE, VT_I2).AsI2();
}

void CKNChat::SetBorderStyle(short value) {
    Set(DISPID_BORDERSTYLE, V::I2(value));
}

short CKNChat::GetAppearance() {
    return Get(DISPID_APPEARANCE, VT_I2).AsI2();
}

void CKNChat::SetAppearance(short value) {
    Set(DISPID_APPEARANCE, V::I2(value));
}

#define KNCHAT_DEFINE_LONG(id)                                                                     \
    LONG CKNChat::GetProperty##id() {                                                              \
        return Get(id, VT_I4).AsI4();                                                              \
    }                                                                                              \
    void CKNChat::SetProperty##id(LONG value) {                                                    \
        Set(id, V::I4(value));                                                                     \
    }
#define KNCHAT_DEFINE_TEXT(id)                                                                     \
    CString CKNChat::GetProperty##id() {                                                           \
        return Get(id, VT_BSTR).text;                                                              \
    }                                                                                              \
    void CKNChat::SetProperty##id(LPCTSTR value) {                                                 \
        Set(id, V::Text(value));                                                                   \
    }
#define KNCHAT_DEFINE_OBJECT(id)                                                                   \
    COleDispatchDriver CKNChat::GetProperty##id() {                                                \
        return COleDispatchDriver(Get(id, VT_DISPATCH).AsDispatch());                              \
    }                                                                                              \
    void CKNChat::SetProperty##id(LPDISPATCH value) {                                              \
        Set(id, V::Dispatch(value));                                                               \
    }

KNCHAT_LONG_PROPERTIES(KNCHAT_DEFINE_LONG)
KNCHAT_TEXT_PROPERTIES(KNCHAT_DEFINE_TEXT)
KNCHAT_OBJECT_PROPERTIES(KNCHAT_DEFINE_OBJECT)

BOOL CKNChat::GetProperty15() {
    return Get(15, VT_BOOL).AsBool();
}

void CKNChat::SetProperty15(BOOL value) {
    Set(15, V::Bool(value));
}

CString CKNChat::GetServerAddress() {
    return Get(18, VT_BSTR).text;
}

void CKNChat::SetServerAddress(LPCTSTR address) {
    Set(18, V::Text(address));
}

short CKNChat::GetServerPort() {
    return Get(19, VT_I2).AsI2();
}

void CKNChat::SetServerPort(short port) {
    Set(19, V::I2(port));
}

// ---- methods ----

BOOL CKNChat::Connect() {
    return Call(35, VT_BOOL, {}).AsBool();
}

void CKNChat::CallMember36() {
    Call(36, VT_EMPTY, {});
}

void CKNChat::CallMember37(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4,
                           LPCTSTR text5, LONG value1, LONG value2) {
    Call(37, VT_EMPTY,
         {V::Text(text1), V::Text(text2), V::Text(text3), V::Text(text4), V::Text(text5),
          V::I4(value1), V::I4(value2)});
}

void CKNChat::CallMember38(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4) {
    Call(38, VT_EMPTY, {V::Text(text1), V::Text(text2), V::Text(text3), V::Text(text4)});
}

void CKNChat::CallMember39(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4,
                           LPCTSTR text5, LONG value1, LONG value2) {
    Call(39, VT_EMPTY,
         {V::Text(text1), V::Text(text2), V::Text(text3), V::Text(text4), V::Text(text5),
          V::I4(value1), V::I4(value2)});
}

BOOL CKNChat::CallMember40(LPCTSTR text) {
    return Call(40, VT_BOOL, {V::Text(text)}).AsBool();
}

void CKNChat::CallMember41() {
    Call(41, VT_EMPTY, {});
}

void CKNChat::CallMember42() {
    Call(42, VT_EMPTY, {});
}

void CKNChat::CallMember43(LPCTSTR text) {
    Call(43, VT_EMPTY, {V::Text(text)});
}

LONG CKNChat::CallMember44() {
    return Call(44, VT_I4, {}).AsI4();
}

BOOL CKNChat::CallMember45(LONG value1, LONG value2, LPCTSTR text1, LPCTSTR text2, LPCTSTR text3,
                           LONG value3, LONG value4) {
    return Call(45, VT_BOOL,
                {V::I4(value1), V::I4(value2), V::Text(text1), V::Text(text2), V::Text(text3),
                 V::I4(value3), V::I4(value4)})
        .AsBool();
}

BOOL CKNChat::CallMember46(LONG value1, LONG value2, LPCTSTR text1, LPCTSTR text2) {
    return Call(46, VT_BOOL, {V::I4(value1), V::I4(value2), V::Text(text1), V::Text(text2)})
        .AsBool();
}

BOOL CKNChat::EnterRoom(const void* row, LONG length, LPCTSTR room, LPCTSTR text1, LPCTSTR text2,
                        LONG tableNumber, LONG value) {
    return Call(47, VT_BOOL,
                {V::Pointer(row), V::I4(length), V::Text(room), V::Text(text1), V::Text(text2),
                 V::I4(tableNumber), V::I4(value)})
        .AsBool();
}

BOOL CKNChat::CallMember48(LONG value, BOOL flag) {
    return Call(48, VT_BOOL, {V::I4(value), V::Bool(flag)}).AsBool();
}

BOOL CKNChat::SetColumns(const void* block, LONG length) {
    return Call(49, VT_BOOL, {V::Pointer(block), V::I4(length)}).AsBool();
}

BOOL CKNChat::CallMember50(short value) {
    return Call(50, VT_BOOL, {V::I2(value)}).AsBool();
}

BOOL CKNChat::CallMember51(LPCTSTR text1, LPCTSTR text2) {
    return Call(51, VT_BOOL, {V::Text(text1), V::Text(text2)}).AsBool();
}

void CKNChat::CallMember52(LONG value, LPCTSTR text) {
    Call(52, VT_EMPTY, {V::I4(value), V::Text(text)});
}

void CKNChat::CallMember53() {
    Call(53, VT_EMPTY, {});
}

void CKNChat::CallMember54() {
    Call(54, VT_EMPTY, {});
}

void CKNChat::CallMember55(LPCTSTR text) {
    Call(55, VT_EMPTY, {V::Text(text)});
}

BOOL CKNChat::CallMember56() {
    return Call(56, VT_BOOL, {}).AsBool();
}

void CKNChat::EnableControl(BOOL enable) {
    Call(57, VT_EMPTY, {V::Bool(enable)});
}

void CKNChat::CallMember58(LPCTSTR text) {
    Call(58, VT_EMPTY, {V::Text(text)});
}

void CKNChat::CallMember59(BOOL flag) {
    Call(59, VT_EMPTY, {V::Bool(flag)});
}

void CKNChat::CallMember60(BOOL flag) {
    Call(60, VT_EMPTY, {V::Bool(flag)});
}

BOOL CKNChat::CallMember61(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4,
                           LPCTSTR text5) {
    return Call(61, VT_BOOL,
                {V::Text(text1), V::Text(text2), V::Text(text3), V::Text(text4), V::Text(text5)})
        .AsBool();
}

BOOL CKNChat::CallMember62(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4,
                           LPCTSTR text5, LPCTSTR text6) {
    return Call(62, VT_BOOL,
                {V::Text(text1), V::Text(text2), V::Text(text3), V::Text(text4), V::Text(text5),
                 V::Text(text6)})
        .AsBool();
}

BOOL CKNChat::CallMember63(LPCTSTR text, LONG* value) {
    return Call(63, VT_BOOL, {V::Text(text), V::I4Ref(value)}).AsBool();
}

LONG CKNChat::SetUserValue(LPCTSTR user, LONG value) {
    return Call(64, VT_I4, {V::Text(user), V::I4(value)}).AsI4();
}

BOOL CKNChat::CallMember65(LPCTSTR text, LONG* value) {
    return Call(65, VT_BOOL, {V::Text(text), V::I4Ref(value)}).AsBool();
}

LONG CKNChat::CallMember66(LPCTSTR text, LONG value) {
    return Call(66, VT_I4, {V::Text(text), V::I4(value)}).AsI4();
}

BOOL CKNChat::CallMember67(LPCTSTR text1, LPCTSTR text2, LONG value) {
    return Call(67, VT_BOOL, {V::Text(text1), V::Text(text2), V::I4(value)}).AsBool();
}

BOOL CKNChat::CallMember68(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3) {
    return Call(68, VT_BOOL, {V::Text(text1), V::Text(text2), V::Text(text3)}).AsBool();
}

BOOL CKNChat::CallMember69(LPCTSTR text1, LPCTSTR text2, LPCTSTR text3, LPCTSTR text4,
                           LPCTSTR text5, LPCTSTR text6) {
    return Call(69, VT_BOOL,
                {V::Text(text1), V::Text(text2), V::Text(text3), V::Text(text4), V::Text(text5),
                 V::Text(text6)})
        .AsBool();
}

void CKNChat::CallMember70(BOOL value) {
    CallFrom(kVersion2_5_1_29, 70, {V::Bool(value)});
}

void CKNChat::CallMember71(LPCTSTR text) {
    CallFrom(kVersion2_5_1_29, 71, {V::Text(text)});
}

void CKNChat::CallMember72() {
    CallFrom(kVersion2_5_1_30, 72, {});
}

void CKNChat::CallMember73(BOOL value) {
    CallFrom(kVersion2_5_1_30, 73, {V::Bool(value)});
}

void CKNChat::CallMember74(BOOL value) {
    CallFrom(kVersion2_5_1_30, 74, {V::Bool(value)});
}

void CKNChat::AboutBox() {
    Call(DISPID_ABOUTBOX, VT_EMPTY, {});
}
