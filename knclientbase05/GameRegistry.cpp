#include "knclientbase05/GameRegistry.h"

#include "platform/system/Registry.h"

#include <cstring>

namespace {

CString GameKey(LPCSTR game) {
    CString key;
    key.Format("Software\\Quillane\\Game\\%s", game);
    return key;
}

CString GeneralKey(LPCSTR subKey) {
    CString key = "Software\\Quillane\\";
    key += subKey;
    return key;
}

void CopyDefault(void* buffer, DWORD size, DWORD defaultValue) {
    memset(buffer, 0, size);
    memcpy(buffer, &defaultValue, size < sizeof defaultValue ? size : sizeof defaultValue);
}

} // namespace

CString RegGetString(LPCSTR subKey, LPCSTR valueName, LPCSTR defaultValue) {
    CString fallback = defaultValue != nullptr ? defaultValue : "";
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return fallback;
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    LSTATUS result =
        RegQueryValueEx(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? CString(value) : fallback;
}

bool GetGameRegValue(LPCSTR game, LPCSTR valueName, void* buffer, DWORD size, DWORD* type) {
    memset(buffer, 0, size);
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, GameKey(game), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    LSTATUS result =
        RegQueryValueEx(key, valueName, nullptr, type, static_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool SetGameRegValue(LPCSTR game, LPCSTR valueName, LPCSTR text) {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CURRENT_USER, GameKey(game), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                       &key, nullptr) != ERROR_SUCCESS)
        return false;
    LSTATUS result = RegSetValueEx(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                   static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

int RegReadValue(LPCSTR subKey, LPCSTR valueName, void* buffer, DWORD size, DWORD defaultValue) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, GeneralKey(subKey), 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS) {
        CopyDefault(buffer, size, defaultValue);
        return 0;
    }
    DWORD read = size; // a failed query reports the size it needed here
    LSTATUS result =
        RegQueryValueEx(key, valueName, nullptr, nullptr, static_cast<BYTE*>(buffer), &read);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) {
        CopyDefault(buffer, size, defaultValue);
        return 0;
    }
    return 1;
}

int RegReadValue2(LPCSTR subKey, LPCSTR valueName, void* buffer, DWORD size, DWORD defaultValue) {
    return RegReadValue(subKey, valueName, buffer, size, defaultValue);
}

int RegReadValueV(LPCSTR subKey, LPCSTR valueName, void* buffer, DWORD size,
                  const void* defaultBytes) {
    HKEY key = nullptr;
    LSTATUS result = RegOpenKeyEx(HKEY_CURRENT_USER, GeneralKey(subKey), 0, KEY_ALL_ACCESS, &key);
    if (result == ERROR_SUCCESS) {
        DWORD read = size;
        result =
            RegQueryValueEx(key, valueName, nullptr, nullptr, static_cast<BYTE*>(buffer), &read);
        RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS) {
        memcpy(buffer, defaultBytes, size);
        return 0;
    }
    return 1;
}

bool RegWriteValue(LPCSTR subKey, LPCSTR valueName, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    CString keyClass = valueName != nullptr ? valueName : "";
    if (RegCreateKeyEx(HKEY_CURRENT_USER, GeneralKey(subKey), 0,
                       const_cast<LPSTR>(keyClass.GetString()), 0, KEY_ALL_ACCESS, nullptr, &key,
                       nullptr) != ERROR_SUCCESS)
        return false;
    LSTATUS result = RegSetValueEx(key, valueName, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

CString GetShareFolder() {
    return RegGetString("Software\\Quillane\\Game\\share", "Path", "");
}
