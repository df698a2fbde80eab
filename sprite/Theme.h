#pragma once
// The theme object: pictures by image id from the theme file, window regions
// cut out of them by a key colour, the sound folder and the background music.
// Pictures and regions are cached for the life of the program (or until the
// theme is closed); the theme owns them.

#include "platform/CString.h"
#include "sprite/AppServices.h"
#include "sprite/MusicPlayerLink.h"
#include "sprite/Picture.h"

#include <vector>

namespace kn {

constexpr int kSmallScreenClass = 4097;
constexpr int kLargeScreenClass = 4098;

class CTheme {
public:
    CTheme() = default;
    ~CTheme() { Close(); }
    CTheme(const CTheme&) = delete;
    CTheme& operator=(const CTheme&) = delete;

    // FALSE when the settings name no theme, or when a picture the theme file
    // names is missing (logged).
    BOOL Open(LPCSTR code);
    // Owned by the theme; null when the id names nothing or does not load.
    // With bBySize the id is asked as "M<id>" on a small screen, "N<id>" on a
    // large one.
    CPicture* GetImage(LPCSTR id, BOOL bBySize);
    // A new region (the caller deletes it) of the id's picture without its
    // key-colour pixels; null when there is none.
    HRGN GetRegion(LPCSTR id, COLORREF key);
    // Through the music link; traced on the sound channel with where in the
    // audio output the request falls.
    void PlayMusic(LPCSTR file, int flag1, int flag2);
    // Empties both caches.
    void Close();

    int GetSizeClass() const { return m_nSizeClass; }
    const CString& GetThemeFile() const { return m_strThemeFile; }
    const CString& GetImageDir() const { return m_strImageDir; }
    CString GetSoundDir() const { return m_strSoundDir; }
    const CString& GetProductCode() const { return m_strCode; }
    CMusicPlayerLink& GetMusicLink() { return m_music; }

    // The size class of a screen of w x h pixels.
    static int SizeClassFor(int w, int h);

private:
    struct PictureEntry {
        char name[260];
        CPicture* picture;
    };
    struct RegionEntry {
        char name[260];
        COLORREF key; // a region cut by another colour is another shape
        HRGN region;
    };

    CPicture* LoadPicture(const CString& key);
    // FALSE (logged) at the first picture the theme file names that is missing.
    BOOL CheckImages();

    int m_nSizeClass = 0;
    CString m_strThemeFile;
    std::vector<PictureEntry> m_pictures;
    std::vector<RegionEntry> m_regions;
    CString m_strImageDir;
    CString m_strSoundDir;
    CLock m_lock;
    CMusicPlayerLink m_music;
    CString m_strCode;
};

extern CTheme theTheme;

} // namespace kn

// The sound folder of the theme (a copy).
CString GetSoundDir();
