#include "app/GameSettings.h"

#include "platform/Crt.h"
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
constexpr DWORD kLinkSize = 200;
// The keys of the links, by WebLink.
constexpr const char* kLinkKeys[kLinkCount] = {"help", "BeanShop", "GameIntro", "WealthHelp",
                                               "CardShop"};
const CGameSettings kDefaults;

CString ReadText(LPCSTR section, LPCSTR key, LPCSTR fallback, DWORD size, LPCSTR path) {
    std::string buffer(size, '\0');
    const DWORD n = GetPrivateProfileString(section, key, fallback, buffer.data(), size, path);
    return CString(buffer.c_str(), int(n));
}

// The key's text; false when the file does not hold the key.
bool ReadStored(LPCSTR section, LPCSTR key, LPCSTR path, CString* text) {
    const char kMissing[] = "\x01missing";
    const CString value = ReadText(section, key, kMissing, kTextSize, path);
    if (value == kMissing)
        return false;
    *text = value;
    return true;
}

// A switch: 0 or 1, else the default.
int ReadSwitch(LPCSTR key, int defaultValue, LPCSTR path) {
    CString text;
    if (!ReadStored(kSection, key, path, &text))
        return defaultValue;
    text.Trim();
    if (text == "0" || text == "1")
        return text == "1";
    WriteLog("pellor2.ini: %s=%s is not 0 or 1; %d is used", key, (LPCSTR)text, defaultValue);
    return defaultValue;
}

bool ParseSize(const CString& text, int* width, int* height) {
    int w = 0, h = 0;
    char rest = 0;
    if (sscanf(text, " %d , %d %c", &w, &h, &rest) != 2)
        return false;
    // Sizes beyond any screen are as wrong as words.
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767)
        return false;
    *width = w;
    *height = h;
    return true;
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
    m_bAllowWatch = ReadSwitch("AllowWatch", 0, path);
    m_bAllowPSound = ReadSwitch("AllowPSound", 1, path);
    m_bAllowBSound = ReadSwitch("AllowBSound", 1, path);
    m_nClockOrder = m_nClockOrderNext = ReadSwitch("ClockOrder", 0, path);
    m_nCardOrder = ReadSwitch("CardOrder", 0, path);

    CString text;
    m_strPhotoPath = GetExeFolder() + "snapshot";
    if (ReadStored(kSection, "PhotoPath", path, &text) && !text.IsEmpty())
        m_strPhotoPath = text;

    m_nWindowWidth = 1024;
    m_nWindowHeight = 734;
    if (ReadStored(kSection, "WindowSize", path, &text) &&
        !ParseSize(text, &m_nWindowWidth, &m_nWindowHeight))
        WriteLog("pellor2.ini: WindowSize=%s is not a size; 1024,734 is used", (LPCSTR)text);

    if (ReadStored(kMusicSection, kMusicKey, path, &text) && !text.IsEmpty())
        m_strBackMusic = text;
    for (int link = 0; link < kLinkCount; ++link)
        m_strLinks[link] =
            ReadText(kSection, kLinkKeys[link], kDefaults.m_strLinks[link], kLinkSize, path);
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
        if (_stricmp(key, kMusicKey) == 0)
            continue;
        list.push_back({key, ReadText(kMusicSection, key, "", kTextSize, path)});
    }
    return list;
}
