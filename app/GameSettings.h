#pragma once
// The player's settings kept in pellor2.ini in the program's folder: section
// "Setting" for the switches, the seat direction, the card order, the window
// size and the screenshot folder, and the background music in use as key
// "default" of section "BackMusic", whose other keys list the music a player
// may choose (shown name = file relative to the theme's sound folder).

#include "platform/CString.h"

#include <vector>

// The operator's web pages the program opens, one address per link. Each is
// a key of section "Setting" (read with the settings, never written) whose
// default lies on the operator's example host.
enum WebLink {
    kLinkHelp,
    kLinkBeanShop,
    kLinkGameIntro,
    kLinkWealthHelp,
    kLinkCardShop,
    kLinkCount
};

class CGameSettings {
public:
    // pellor2.ini in the program's folder.
    static CString DefaultPath();

    // Missing keys, and values that are not what their key holds (a word
    // for a switch, a size that is not two numbers), give the defaults, the
    // latter logged; an empty stored music leaves the current one.
    void LoadSettings(LPCSTR path);
    // FALSE when the file could not be written.
    BOOL SaveSettings(LPCSTR path) const;

    int m_bAllowWatch = 0;
    int m_bAllowPSound = 1;
    int m_bAllowBSound = 1;
    int m_nClockOrder = 0;
    int m_nClockOrderNext = 0;
    int m_nCardOrder = 0;
    int m_nWindowWidth = 1024;
    int m_nWindowHeight = 734;
    CString m_strPhotoPath;
    CString m_strBackMusic;
    // By WebLink; the defaults until the settings are read.
    CString m_strLinks[kLinkCount] = {"http://www.morvane.example/pellor/help.htm",
                                      "http://www.morvane.example/pellor/beans.htm",
                                      "http://www.morvane.example/pellor/gouji.htm",
                                      "http://www.morvane.example/pellor/wealth.htm",
                                      "http://www.morvane.example/pellor/cards.htm"};
};

// The address of a link in the application's settings store.
CString WebLinkAddress(WebLink link);
// Hands the link's page to the desktop's browser when its address is a web
// page's; FALSE, logged, when it is not or the browser could not be started.
BOOL OpenWebLink(WebLink link);

// One entry of the music list.
struct MusicEntry {
    CString name;
    CString file;
};

// Every key of "BackMusic" but "default" (wherever it stands, in any case),
// in file order, with its value; nothing is cut however long the section.
std::vector<MusicEntry> ReadMusicList(LPCSTR path);
