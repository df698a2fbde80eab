#include "knclientbase05/FileVersion.h"

#include "knclientbase05/FileVersionText.h"
#include "knclientbase05/LangResource.h"
#include "platform/CString.h"
#include "platform/system/FileVersion.h"
#include "platform/system/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// This library as the module table knows it.
constexpr char kOwnModule[] = "Tablehub.dll";

bool IsLead(char c) {
    return (static_cast<BYTE>(c) & 0x80) != 0;
}

// What a failed load leaves: no block, no path and a version of 0.
void Forget(BYTE*& info, WORD (&version)[4], char (&text)[64], char (&path)[MAX_PATH]) {
    delete[] info;
    info = nullptr;
    memset(version, 0, sizeof version);
    memset(text, 0, sizeof text);
    memset(path, 0, sizeof path);
}

} // namespace

CFileVersion::CFileVersion() : m_szPath{}, m_pInfo(nullptr), m_wVersion{}, m_szVersion{} {}

CFileVersion::~CFileVersion() {
    delete[] m_pInfo;
}

void CFileVersion::Parse(LPCSTR text, WORD version[4]) {
    memset(version, 0, 4 * sizeof(WORD));
    char buffer[64] = {};
    StrCopyN(buffer, text, sizeof buffer - 1);
    char separator = StrFindChar(buffer, '.') != nullptr ? '.' : ',';
    char* part = buffer;
    int index = 0;
    for (; index < 4; ++index) {
        char* next = const_cast<char*>(StrFindChar(part, separator));
        if (next == nullptr)
            break;
        *next = '\0';
        version[index] = static_cast<WORD>(atoi(part));
        part = next + 1;
    }
    if (index < 4)
        version[index] = static_cast<WORD>(atoi(part));
}

int CFileVersion::Load(LPCSTR path) {
    Forget(m_pInfo, m_wVersion, m_szVersion, m_szPath);
    char fileName[MAX_PATH] = {};
    if (path == nullptr || *path == '\0')
        snprintf(fileName, sizeof fileName, "%s\\%s", GetProgramFolder().GetString(), kOwnModule);
    else
        StrCopyN(fileName, path, sizeof fileName - 1);

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSize(fileName, &handle);
    if (size == 0)
        return 0;
    m_pInfo = new BYTE[size];
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfo(fileName, handle, size, m_pInfo) ||
        !VerQueryValue(m_pInfo, "\\", reinterpret_cast<LPVOID*>(&fixed), &length) ||
        fixed == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
        Forget(m_pInfo, m_wVersion, m_szVersion, m_szPath);
        return 0;
    }
    m_wVersion[0] = HIWORD(fixed->dwFileVersionMS);
    m_wVersion[1] = LOWORD(fixed->dwFileVersionMS);
    m_wVersion[2] = HIWORD(fixed->dwFileVersionLS);
    m_wVersion[3] = LOWORD(fixed->dwFileVersionLS);
    snprintf(m_szVersion, sizeof m_szVersion, "%d.%d.%d.%d", m_wVersion[0], m_wVersion[1],
             m_wVersion[2], m_wVersion[3]);
    StrCopyN(m_szPath, fileName, sizeof m_szPath - 1);
    return 1;
}

int CFileVersion::LoadFromGameFolder(LPCSTR fileName, LPCSTR folder) {
    char folderPath[MAX_PATH] = {};
    if (!GetGameFolderPath(folder != nullptr && *folder != '\0' ? folder : "Share", folderPath))
        return 0;
    CString path;
    path.Format("%s\\%s", folderPath, fileName);
    if (path.GetLength() > MAX_PATH - 1)
        return 0;
    return Load(path);
}

LPCSTR CFileVersion::GetStringInfo(LPCSTR item, WORD language, WORD codePage) const {
    if (m_pInfo == nullptr)
        return nullptr;
    if (language == 0xFFFF || codePage == 0xFFFF) {
        WORD* translation = nullptr;
        UINT length = 0;
        if (!VerQueryValue(m_pInfo, "\\VarFileInfo\\Translation",
                           reinterpret_cast<LPVOID*>(&translation), &length) ||
            length < 4)
            return nullptr;
        language = translation[0];
        codePage = translation[1];
    }
    char query[128];
    snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, item);
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValue(m_pInfo, query, reinterpret_cast<LPVOID*>(&value), &length))
        return nullptr;
    return value;
}

bool CFileVersion::IsAtLeast(LPCSTR text) const {
    WORD wanted[4];
    Parse(text, wanted);
    for (int i = 0; i < 4; ++i) {
        if (m_wVersion[i] != wanted[i])
            return m_wVersion[i] > wanted[i];
    }
    return true;
}

bool CFileVersion::IsEqual(LPCSTR text) const {
    WORD wanted[4];
    Parse(text, wanted);
    return memcmp(m_wVersion, wanted, sizeof wanted) == 0;
}

bool GetGameFolderPath(LPCSTR folder, char path[MAX_PATH]) {
    memset(path, 0, MAX_PATH);
    char keyPath[MAX_PATH];
    snprintf(keyPath, sizeof keyPath, "Software\\Quillane\\Game\\%s", folder);
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = MAX_PATH - 1;
    LSTATUS result =
        RegQueryValueEx(key, "path", nullptr, nullptr, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    path[MAX_PATH - 1] = '\0';
    return result == ERROR_SUCCESS;
}

LPCSTR StrFindChar(LPCSTR text, int ch) {
    for (; *text != '\0'; ++text) {
        if (IsLead(*text) && text[1] != '\0') {
            ++text;
            continue;
        }
        if (static_cast<BYTE>(*text) == static_cast<BYTE>(ch))
            return text;
    }
    return ch == '\0' ? text : nullptr;
}

void StrCopyN(char* destination, LPCSTR source, size_t count) {
    size_t copied = 0;
    while (source[copied] != '\0') {
        size_t step = IsLead(source[copied]) && source[copied + 1] != '\0' ? 2 : 1;
        if (copied + step > count)
            break;
        copied += step;
    }
    memcpy(destination, source, copied);
    memset(destination + copied, 0, count - copied);
}
