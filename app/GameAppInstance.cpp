// The application's place among other running copies and in the registry.

#include "app/GameApp.h"

#include "knclientbase05/AppProfile.h"
#include "platform/Errors.h"
#include "platform/system/Registry.h"
#include "platform/system/SharedMemory.h"
#include "table/client/GameNetClient.h"

void CGameApp::SetRegistryKey(LPCSTR company) {
    SetAppRegistryKey(company);
    // The program's own key is made at once, so that the registry file shows
    // where its profile lives.
    HKEY key = nullptr;
    const CString path = CString("Software\\") + GetAppRegistryKey() + "\\" + GetAppProfileName();
    if (RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                       nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

BOOL CGameApp::IsAlreadyRunning() {
    // One copy per account and seat: two seats played from one desktop do not
    // see each other. The block lives while a copy holds it, and one left by a
    // copy that died counts as gone.
    CString name;
    name.Format("pellor2-%s-%d", theClient.m_szUserName, theClient.m_nMySeat);
    HANDLE mapping = CreateFileMapping(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1, name);
    if (mapping == nullptr)
        return FALSE;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mapping);
        return TRUE;
    }
    if (m_hInstanceMapping != nullptr)
        CloseHandle(m_hInstanceMapping);
    m_hInstanceMapping = mapping;
    return FALSE;
}

void CGameApp::ReleaseInstanceMapping() {
    if (m_hInstanceMapping != nullptr) {
        CloseHandle(m_hInstanceMapping);
        m_hInstanceMapping = nullptr;
    }
}
