#include "app/GameSettings.h"

#include "platform/system/Profile.h"
#include "sprite/AppServices.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kSection = "Setting";
constexpr const char* kMusicSection = "BackMusic";
constexpr const char* kMusicKey = "default";
constexpr DWORD kTextSize = 260;
constexpr DWORD kHelpSize = 200;
constexpr const char* kHelpAddress = "http://www.morvane.com/help/gouji.htm";

CString ReadText(LPCSTR section, LPCSTR key, LPCSTR fallback, DWORD size, LPCSTR path) {
    std::string buffer(size, '\0');
    const DWORD n = GetPrivateProfileString(section, key, fallback, buffer.data(), size, path);
    return CString(buffer.c_str(), int(n));
}

BOOL WriteInt(LPCSTR key, int value, LPCSTR path) {
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    return WritePrivateProfileString(kSection, key, text, path);
}

// The double-NUL list of the section's keys, grown until it fits.
std::string KeyList(LPCSTR path) {
    for (DWORD size = 1024;; size *= 2) {
        std::string buffer(size, '\0');
        const DWORD n =
            GetPrivateProfileString(kMusicSection, nullptr, "", buffer.data(), size, path);
        if (n != size - 2 || size >= (1u << 24)) {
            buffer.resize(n);
            return buffer;
        }
    }
}

} // namespace

CString CGameSettings::DefaultPath() {
    return GetExeFolder() + "pellor2.ini";
}

void CGameSettings::LoadSettings(LPCSTR path) {
    m_bAllowWatch = int(GetPrivateProfileInt(kSection, "AllowWatch", 0, path));
    m_bAllowPSound = int(GetPrivateProfileInt(kSection, "AllowPSound", 1, path));
    m_bAllowBSound = int(GetPrivateProfileInt(kSection, "AllowBSound", 1, path));
    m_nClockOrder = int(GetPrivateProfileInt(kSection, "ClockOrder", 0, path));
    m_nClockOrderNext = m_nClockOrder;
    m_nCardOrder = int(GetPrivateProfileInt(kSection, "CardOrder", 0, path));
    m_strPhotoPath = ReadText(kSection, "PhotoPath", GetExeFolder() + "snapshot", kTextSize, path);
    const CString size = ReadText(kSection, "WindowSize", "1024,734", kTextSize, path);
    int width = 0, height = 0;
    if (sscanf(size, "%d,%d", &width, &height) == 2) {
        m_nWindowWidth = width;
        m_nWindowHeight = height;
    } else {
        WriteLog("Settings: WindowSize \"%s\" is not \"width,height\"; kept %d,%d", (LPCSTR)size,
                 m_nWindowWidth, m_nWindowHeight);
    }
    const CString music = ReadText(kMusicSection, kMusicKey, "", kTextSize, path);
    if (!music.IsEmpty())
        m_strBackMusic = music;
    m_strHelp = ReadText(kSection, "help", kHelpAddress, kHelpSize, path);
}

BOOL CGameSettings::SaveSettings(LPCSTR path) const {
    BOOL ok = WriteInt("AllowWatch", m_bAllowWatch, path);
    ok &= WriteInt("AllowPSound", m_bAllowPSound, path);
    ok &= WriteInt("AllowBSound", m_bAllowBSound, path);
    ok &= WriteInt("ClockOrder", m_nClockOrderNext, path);
    ok &= WriteInt("CardOrder", m_nCardOrder, path);
    char size[32];
    snprintf(size, sizeof size, "%d,%d", m_nWindowWidth, m_nWindowHeight);
    ok &= WritePrivateProfileString(kSection, "WindowSize", size, path);
    ok &= WritePrivateProfileString(kSection, "PhotoPath", m_strPhotoPath, path);
    ok &= WritePrivateProfileString(kMusicSection, kMusicKey, m_strBackMusic, path);
    if (!ok)
        WriteLog("Settings: could not write %s", path);
    return ok;
}

std::vector<MusicEntry> ReadMusicList(LPCSTR path) {
    std::vector<MusicEntry> list;
    const std::string keys = KeyList(path);
    for (size_t at = 0; at < keys.size() && keys[at];) {
        const char* key = keys.c_str() + at;
        at += strlen(key) + 1;
        if (strcasecmp(key, kMusicKey) == 0)
            continue;
        list.push_back({key, ReadText(kMusicSection, key, "", kTextSize, path)});
    }
    return list;
}
