#include "knclientbase05/KNChat.h"

namespace {

// The control's class id.
const CLSID kClsid = {0x5A8C1E46, 0x2B3D, 0x4F61, {0x9C, 0x0E, 0x71, 0x3A, 0xD2, 0x44, 0x8B, 0x15}};

constexpr char kControlFile[] = "KNChat.dll";
constexpr char kVersion2_5_1_29[] = "2.5.1.29";
constexpr char kVersion2_5_1_30[] = "2.5.1.30";

} // namespace

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

DispatchValue CKNChat::Invoke(DISPID id, VARTYPE result,
                              std::initializer_list<DispatchValue> args) {
    return InvokeMethod(m_hWnd, id, result, args);
}

CString CKNChat::GetServerAddress() {
    return GetControlProperty(m_hWnd, 18, VT_BSTR).text;
}

void CKNChat::SetServerAddress(LPCTSTR address) {
    SetControlProperty(m_hWnd, 18, DispatchValue::Text(address));
}

short CKNChat::GetServerPort() {
    return GetControlProperty(m_hWnd, 19, VT_I2).AsI2();
}

void CKNChat::SetServerPort(short port) {
    SetControlProperty(m_hWnd, 19, DispatchValue::I2(port));
}

void CKNChat::EnableControl(BOOL enable) {
    Invoke(57, VT_EMPTY, {DispatchValue::Bool(enable)});
}

BOOL CKNChat::Connect() {
    return Invoke(35, VT_BOOL).AsBool();
}

BOOL CKNChat::SetColumns(const void* block, LONG length) {
    return Invoke(49, VT_BOOL, {DispatchValue::Pointer(block), DispatchValue::I4(length)}).AsBool();
}

BOOL CKNChat::EnterRoom(const void* row, LONG length, LPCTSTR room, LPCTSTR text1, LPCTSTR text2,
                        LONG tableNumber, LONG value) {
    return Invoke(47, VT_BOOL,
                  {DispatchValue::Pointer(row), DispatchValue::I4(length),
                   DispatchValue::Text(room), DispatchValue::Text(text1),
                   DispatchValue::Text(text2), DispatchValue::I4(tableNumber),
                   DispatchValue::I4(value)})
        .AsBool();
}

LONG CKNChat::SetUserValue(LPCTSTR user, LONG value) {
    return Invoke(64, VT_I4, {DispatchValue::Text(user), DispatchValue::I4(value)}).AsI4();
}

void CKNChat::AboutBox() {
    Invoke(DISPID_ABOUTBOX, VT_EMPTY);
}

void CKNChat::CallMember70(BOOL value) {
    if (m_version.IsAtLeast(kVersion2_5_1_29))
        Invoke(70, VT_EMPTY, {DispatchValue::Bool(value)});
}

void CKNChat::CallMember71(LPCTSTR text) {
    if (m_version.IsAtLeast(kVersion2_5_1_29))
        Invoke(71, VT_EMPTY, {DispatchValue::Text(text)});
}

void CKNChat::CallMember72() {
    if (m_version.IsAtLeast(kVersion2_5_1_30))
        Invoke(72, VT_EMPTY);
}

void CKNChat::CallMember73(BOOL value) {
    if (m_version.IsAtLeast(kVersion2_5_1_30))
        Invoke(73, VT_EMPTY, {DispatchValue::Bool(value)});
}

void CKNChat::CallMember74(BOOL value) {
    if (m_version.IsAtLeast(kVersion2_5_1_30))
        Invoke(74, VT_EMPTY, {DispatchValue::Bool(value)});
}
