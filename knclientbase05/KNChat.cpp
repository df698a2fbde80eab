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
    InvokeMethod(m_hWnd, 57, VT_EMPTY, {DispatchValue::Bool(enable)});
}

BOOL CKNChat::Connect() {
    return InvokeMethod(m_hWnd, 35, VT_BOOL, {}).AsBool();
}

BOOL CKNChat::SetColumns(const void* block, LONG length) {
    return InvokeMethod(m_hWnd, 49, VT_BOOL,
                        {DispatchValue::Pointer(block), DispatchValue::I4(length)})
        .AsBool();
}

BOOL CKNChat::EnterRoom(const void* row, LONG length, LPCTSTR room, LPCTSTR text1, LPCTSTR text2,
                        LONG tableNumber, LONG value) {
    return InvokeMethod(m_hWnd, 47, VT_BOOL,
                        {DispatchValue::Pointer(row), DispatchValue::I4(length),
                         DispatchValue::Text(room), DispatchValue::Text(text1),
                         DispatchValue::Text(text2), DispatchValue::I4(tableNumber),
                         DispatchValue::I4(value)})
        .AsBool();
}

LONG CKNChat::SetUserValue(LPCTSTR user, LONG value) {
    return InvokeMethod(m_hWnd, 64, VT_I4, {DispatchValue::Text(user), DispatchValue::I4(value)})
        .AsI4();
}

void CKNChat::AboutBox() {
    InvokeMethod(m_hWnd, DISPID_ABOUTBOX, VT_EMPTY);
}

void CKNChat::CallMember70(BOOL value) {
    if (m_version.IsAtLeast(kVersion2_5_1_29))
        InvokeMethod(m_hWnd, 70, VT_EMPTY, {DispatchValue::Bool(value)});
}

void CKNChat::CallMember71(LPCTSTR text) {
    if (m_version.IsAtLeast(kVersion2_5_1_29))
        InvokeMethod(m_hWnd, 71, VT_EMPTY, {DispatchValue::Text(text)});
}

void CKNChat::CallMember72() {
    if (m_version.IsAtLeast(kVersion2_5_1_30))
        InvokeMethod(m_hWnd, 72, VT_EMPTY, {});
}

void CKNChat::CallMember73(BOOL value) {
    if (m_version.IsAtLeast(kVersion2_5_1_30))
        InvokeMethod(m_hWnd, 73, VT_EMPTY, {DispatchValue::Bool(value)});
}

void CKNChat::CallMember74(BOOL value) {
    if (m_version.IsAtLeast(kVersion2_5_1_30))
        InvokeMethod(m_hWnd, 74, VT_EMPTY, {DispatchValue::Bool(value)});
}
