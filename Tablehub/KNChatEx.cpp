#include "Tablehub/KNChatEx.h"

namespace {

// The control's class id.
const CLSID kClsid = {0x5A8C1E47, 0x2B3D, 0x4F61, {0x9C, 0x0E, 0x71, 0x3A, 0xD2, 0x44, 0x8B, 0x15}};

constexpr char kControlFile[] = "KNChatEx.dll";
constexpr char kVersion2_5_1_29[] = "2.5.1.29";
constexpr char kVersion2_5_1_30[] = "2.5.1.30";
constexpr char kVersion2_7_0_13[] = "2.7.0.13";

} // namespace

CKNChatEx::CKNChatEx() {
    m_version.LoadFromGameFolder(kControlFile, nullptr);
}

CKNChatEx::~CKNChatEx() = default;

const CLSID& CKNChatEx::GetClsid() {
    return kClsid;
}

BOOL CKNChatEx::Create(LPCTSTR, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                       UINT nID, void*) {
    return CreateControl(this, GetClsid(), windowName, style, rect, parent, nID);
}

CString CKNChatEx::GetServerAddress() {
    return GetControlProperty(m_hWnd, 18, VT_BSTR).text;
}

void CKNChatEx::SetServerAddress(LPCTSTR address) {
    SetControlProperty(m_hWnd, 18, DispatchValue::Text(address));
}

short CKNChatEx::GetServerPort() {
    return GetControlProperty(m_hWnd, 19, VT_I2).AsI2();
}

void CKNChatEx::SetServerPort(short port) {
    SetControlProperty(m_hWnd, 19, DispatchValue::I2(port));
}

BOOL CKNChatEx::Connect() {
    return InvokeMethod(m_hWnd, 35, VT_BOOL, {}).AsBool();
}

void CKNChatEx::CallMember41() {
    InvokeMethod(m_hWnd, 41, VT_EMPTY, {});
}

BOOL CKNChatEx::EnterRoom(const void* table, LONG length, LPCTSTR room, LPCTSTR text1,
                          LPCTSTR text2, LONG tableNumber, LONG value) {
    return InvokeMethod(m_hWnd, 47, VT_BOOL,
                        {DispatchValue::Pointer(table), DispatchValue::I4(length),
                         DispatchValue::Text(room), DispatchValue::Text(text1),
                         DispatchValue::Text(text2), DispatchValue::I4(tableNumber),
                         DispatchValue::I4(value)})
        .AsBool();
}

BOOL CKNChatEx::SetColumns(const void* table, LONG length) {
    return InvokeMethod(m_hWnd, 49, VT_BOOL,
                        {DispatchValue::Pointer(table), DispatchValue::I4(length)})
        .AsBool();
}

BOOL CKNChatEx::CallMember50(short value) {
    return InvokeMethod(m_hWnd, 50, VT_BOOL, {DispatchValue::I2(value)}).AsBool();
}

void CKNChatEx::AddText(LONG kind, LPCTSTR text) {
    InvokeMethod(m_hWnd, 52, VT_EMPTY, {DispatchValue::I4(kind), DispatchValue::Text(text)});
}

void CKNChatEx::CallMember53() {
    InvokeMethod(m_hWnd, 53, VT_EMPTY, {});
}

void CKNChatEx::EnableControl(BOOL enable) {
    InvokeMethod(m_hWnd, 57, VT_EMPTY, {DispatchValue::Bool(enable)});
}

BOOL CKNChatEx::SetUserField(LPCTSTR user, LPCTSTR caption, LPCTSTR value) {
    return InvokeMethod(m_hWnd, 68, VT_BOOL,
                        {DispatchValue::Text(user), DispatchValue::Text(caption),
                         DispatchValue::Text(value)})
        .AsBool();
}

void CKNChatEx::CallMember70(BOOL value) {
    InvokeMethod(m_hWnd, 70, VT_EMPTY, {DispatchValue::Bool(value)});
}

void CKNChatEx::AppendChatMarkup(LPCTSTR markup) {
    InvokeMethod(m_hWnd, 75, VT_EMPTY, {DispatchValue::Text(markup)});
}

void CKNChatEx::SetNotifyWindow(HWND window, LONG ownLineMessage, LONG lineMessage) {
    InvokeMethod(m_hWnd, 76, VT_EMPTY,
                 {DispatchValue::Pointer(window), DispatchValue::I4(ownLineMessage),
                  DispatchValue::I4(lineMessage)});
}

void CKNChatEx::CallMember77(LONG* value) {
    InvokeMethod(m_hWnd, 77, VT_EMPTY, {DispatchValue::I4Ref(value)});
}

void CKNChatEx::CallMember81(LONG value) {
    if (m_version.IsAtLeast(kVersion2_5_1_29))
        InvokeMethod(m_hWnd, 81, VT_EMPTY, {DispatchValue::I4(value)});
}

void CKNChatEx::CallMember82(LPCTSTR text) {
    if (m_version.IsAtLeast(kVersion2_5_1_29))
        InvokeMethod(m_hWnd, 82, VT_EMPTY, {DispatchValue::Text(text)});
}

void CKNChatEx::CallMember83(LONG value) {
    if (m_version.IsAtLeast(kVersion2_5_1_29))
        InvokeMethod(m_hWnd, 83, VT_EMPTY, {DispatchValue::I4(value)});
}

void CKNChatEx::CallMember84() {
    if (m_version.IsAtLeast(kVersion2_5_1_30))
        InvokeMethod(m_hWnd, 84, VT_EMPTY, {});
}

void CKNChatEx::CallMember85(BOOL value) {
    if (m_version.IsAtLeast(kVersion2_5_1_30))
        InvokeMethod(m_hWnd, 85, VT_EMPTY, {DispatchValue::Bool(value)});
}

void CKNChatEx::CallMember86(BOOL value) {
    if (m_version.IsAtLeast(kVersion2_5_1_30))
        InvokeMethod(m_hWnd, 86, VT_EMPTY, {DispatchValue::Bool(value)});
}

void CKNChatEx::CallMember87(BOOL value) {
    if (m_version.IsAtLeast(kVersion2_7_0_13))
        InvokeMethod(m_hWnd, 87, VT_EMPTY, {DispatchValue::Bool(value)});
}

BOOL CKNChatEx::UpdateUserFields(const void* table, LONG length) {
    if (!m_version.IsAtLeast(kVersion2_7_0_13))
        return FALSE;
    return InvokeMethod(m_hWnd, 88, VT_BOOL,
                        {DispatchValue::Pointer(table), DispatchValue::I4(length)})
        .AsBool();
}
