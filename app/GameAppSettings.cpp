// The settings file pellor2.ini beside the program. A value that is not what
// its key holds (a word where a number belongs, a switch other than 0 or 1,
// a size that is not two numbers) is logged and replaced by the default, so
// a damaged file never starts the program in a state the dialogs cannot show.

#include "app/GameApp.h"
#include "platform/system/Profile.h"
#include "sprite/AppServices.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

const char kSetting[] = "Setting";
const char kBackMusic[] = "BackMusic";

// The key's text, or null when the file does not hold it.
bool ReadText(LPCSTR key, LPCSTR section, LPCSTR file, CString* text) {
    const char kMissing[] = "\x01missing";
    char buffer[260] = {};
    GetPrivateProfileString(section, key, kMissing, buffer, sizeof buffer, file);
    if (CString(buffer) == kMissing)
        return false;
    *text = buffer;
    return true;
}

// A switch: 0 or 1, else the default.
int ReadSwitch(LPCSTR key, int defaultValue, LPCSTR file) {
    CString text;
    if (!ReadText(key, kSetting, file, &text))
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

void WriteInt(LPCSTR key, int value, LPCSTR file) {
    CString text;
    text.Format("%d", value);
    WritePrivateProfileString(kSetting, key, text, file);
}

} // namespace

CString CGameApp::GetSettingsFile() const {
    return GetExeFolder() + "pellor2.ini";
}

void CGameApp::LoadSettings() {
    const CString file = GetSettingsFile();
    m_bAllowWatch = ReadSwitch("AllowWatch", 0, file);
    m_bAllowPSound = ReadSwitch("AllowPSound", 1, file);
    m_bAllowBSound = ReadSwitch("AllowBSound", 1, file);
    m_nClockOrder = m_nClockOrderNext = ReadSwitch("ClockOrder", 0, file);
    m_nCardOrder = ReadSwitch("CardOrder", 0, file);

    CString text;
    m_strPhotoPath = GetExeFolder() + "snapshot";
    if (ReadText("PhotoPath", kSetting, file, &text) && !text.IsEmpty())
        m_strPhotoPath = text;

    m_nWindowWidth = 1024;
    m_nWindowHeight = 734;
    if (ReadText("WindowSize", kSetting, file, &text) &&
        !ParseSize(text, &m_nWindowWidth, &m_nWindowHeight))
        WriteLog("pellor2.ini: WindowSize=%s is not a size; 1024,734 is used", (LPCSTR)text);

    if (ReadText("default", kBackMusic, file, &text) && !text.IsEmpty())
        m_strBackMusic = text;
}

void CGameApp::SaveSettings() {
    const CString file = GetSettingsFile();
    WriteInt("AllowWatch", m_bAllowWatch, file);
    WriteInt("AllowPSound", m_bAllowPSound, file);
    WriteInt("AllowBSound", m_bAllowBSound, file);
    WriteInt("ClockOrder", m_nClockOrderNext, file);
    WriteInt("CardOrder", m_nCardOrder, file);
    CString size;
    size.Format("%d,%d", m_nWindowWidth, m_nWindowHeight);
    WritePrivateProfileString(kSetting, "WindowSize", size, file);
    WritePrivateProfileString(kSetting, "PhotoPath", m_strPhotoPath, file);
    WritePrivateProfileString(kBackMusic, "default", m_strBackMusic, file);
}
