#include "sprite/Theme.h"

#include "platform/sound/Sound.h"
#include "platform/system/Profile.h"
#include "platform/system/Trace.h"
#include "platform/window/SystemMetrics.h"

#include <cstring>

namespace kn {

CTheme theTheme;

namespace {

constexpr DWORD kKeyListSize = 16384;
constexpr DWORD kFileNameSize = 260;

void CopyName(char (&dest)[260], LPCSTR name) {
    strncpy(dest, name, sizeof dest - 1);
    dest[sizeof dest - 1] = '\0';
}

// A rectangle of the picture's size combined with the cached shape, so that
// every caller receives a region of its own.
HRGN CopyOfRegion(HRGN cached, const CPicture& picture) {
    HRGN copy = CreateRectRgn(0, 0, picture.GetWidth(), picture.GetHeight());
    if (copy)
        CombineRgn(copy, copy, cached, RGN_AND);
    return copy;
}

} // namespace

int CTheme::SizeClassFor(int w, int h) {
    const bool small = w <= 800 || h <= 600 || (w < 1024 && h < 768);
    return small ? kSmallScreenClass : kLargeScreenClass;
}

BOOL CTheme::Open(LPCSTR code) {
    m_strCode = code ? code : "";
    const CString folder = GetExeFolder();
    CString settings;
    settings.Format("%s%s.ini", (LPCSTR)folder, (LPCSTR)m_strCode);
    char name[1024] = {};
    GetPrivateProfileString("Theme", "Theme", "", name, sizeof name, settings);
    if (!name[0])
        return FALSE;

    m_strThemeFile.Format("%s%s.thm", (LPCSTR)folder, name);
    m_strImageDir = folder + "Theme\\";
    m_strSoundDir = folder + "sound\\";
    m_nSizeClass = SizeClassFor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    Close();
    return CheckImages();
}

void CTheme::PlayMusic(LPCSTR file, int flag1, int flag2) {
    // A file of the table's ("sound") or the background music ("music").
    if (file && *file && platform::IsTraced(platform::TraceChannel::kSound, platform::kTraceDetail))
        platform::Trace(platform::TraceChannel::kSound, platform::kTraceDetail,
                        "%s %s at %llu ms of the audio output", flag1 ? "music" : "sound", file,
                        (unsigned long long)platform::AudioOutputMs());
    m_music.PlayFile(file, flag1, flag2);
}

BOOL CTheme::CheckImages() {
    std::vector<char> keys(kKeyListSize, '\0');
    const DWORD length =
        GetPrivateProfileString("Image", nullptr, "", keys.data(), kKeyListSize, m_strThemeFile);
    if (length <= 2)
        return TRUE;
    for (const char* key = keys.data(); *key; key += strlen(key) + 1) {
        // Read as long as GetImage reads, so a long name is checked whole.
        char file[kFileNameSize] = {};
        GetPrivateProfileString("Image", key, "", file, sizeof file, m_strThemeFile);
        if (!file[0])
            continue;
        const CString path = m_strImageDir + file;
        if (!FileExists(path)) {
            WriteLog("ID: %s File: %s Load Failed!", key, (LPCSTR)path);
            return FALSE;
        }
    }
    return TRUE;
}

CPicture* CTheme::GetImage(LPCSTR id, BOOL bBySize) {
    if (!id)
        return nullptr;
    CString key;
    if (bBySize)
        key.Format(m_nSizeClass == kSmallScreenClass ? "M%s" : "N%s", id);
    else
        key = id;

    CLockGuard guard(m_lock);
    for (const PictureEntry& entry : m_pictures) {
        if (strcmp(entry.name, key) == 0)
            return entry.picture;
    }
    return LoadPicture(key);
}

CPicture* CTheme::LoadPicture(const CString& key) {
    char file[kFileNameSize] = {};
    GetPrivateProfileString("Image", key, "", file, sizeof file, m_strThemeFile);
    if (!file[0])
        return nullptr;
    auto* picture = new CPicture;
    if (!picture->Load(m_strImageDir + file)) {
        delete picture; // not cached: the next request tries again
        return nullptr;
    }
    PictureEntry entry{};
    CopyName(entry.name, key);
    entry.picture = picture;
    m_pictures.push_back(entry);
    return picture;
}

HRGN CTheme::GetRegion(LPCSTR id, COLORREF key) {
    if (!id)
        return nullptr;
    CLockGuard guard(m_lock);
    CPicture* picture = GetImage(id, FALSE);
    if (!picture || !picture->IsLoaded())
        return nullptr;
    for (const RegionEntry& entry : m_regions) {
        if (entry.key == key && strcmp(entry.name, id) == 0)
            return CopyOfRegion(entry.region, *picture);
    }
    HRGN region = picture->GetRegion(key);
    if (!region)
        return nullptr;
    RegionEntry entry{};
    CopyName(entry.name, id);
    entry.key = key;
    entry.region = region;
    m_regions.push_back(entry);
    return CopyOfRegion(region, *picture);
}

void CTheme::Close() {
    CLockGuard guard(m_lock);
    for (PictureEntry& entry : m_pictures)
        delete entry.picture;
    m_pictures.clear();
    for (RegionEntry& entry : m_regions)
        DeleteObject(entry.region);
    m_regions.clear();
}

} // namespace kn

CString GetSoundDir() {
    return kn::theTheme.GetSoundDir();
}
