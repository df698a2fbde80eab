#include "knclientbase05/AppProfile.h"

#include "platform/system/Module.h"
#include "platform/system/Registry.h"

#include <cstring>

namespace {

CString& ProfileName() {
    static CString name = [] {
        char path[MAX_PATH] = {};
        GetModuleFileName(nullptr, path, sizeof path);
        CString file = path;
        file = file.Mid(file.ReverseFind('\\') + 1);
        int dot = file.ReverseFind('.');
        return dot > 0 ? file.Left(dot) : file;
    }();
    return name;
}

CString& RegistryKey() {
    static CString company = "Quillane\\Game";
    return company;
}

} // namespace

LPCSTR GetAppRegistryKey() {
    return RegistryKey();
}

void SetAppRegistryKey(LPCSTR company) {
    if (company != nullptr && *company != '\0')
        RegistryKey() = company;
}

LPCSTR GetAppProfileName() {
    return ProfileName();
}

void SetAppProfileName(LPCSTR name) {
    ProfileName() = name;
}

CString GetAppProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) {
    CString keyPath = "Software\\" + RegistryKey() + "\\";
    keyPath += ProfileName();
    if (section != nullptr && *section != '\0') {
        keyPath += "\\";
        keyPath += section;
    }
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return defaultValue;
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    DWORD type = REG_NONE;
    LSTATUS result =
        RegQueryValueEx(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return defaultValue;
    return value;
}

CAppProfileNameSwap::CAppProfileNameSwap(LPCSTR name) : m_strSaved(ProfileName()) {
    ProfileName() = name;
}

CAppProfileNameSwap::~CAppProfileNameSwap() {
    ProfileName() = m_strSaved;
}

CString GetShareProfilePath() {
    CAppProfileNameSwap share("Share");
    return GetAppProfileString("", "Path", "");
}
