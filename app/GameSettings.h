#pragma once
// The player's settings kept in pellor2.ini in the program's folder: section
// "Setting" for the switches, the seat direction, the card order, the window
// size and the screenshot folder, and the background music in use as key
// "default" of section "BackMusic", whose other keys list the music a player
// may choose (shown name = file relative to the theme's sound folder).

#include "platform/CString.h"

#include <vector>

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
    CString m_strHelp;
};

// One entry of the music list.
struct MusicEntry {
    CString name;
    CString file;
};

// Every key of "BackMusic" but "default" (wherever it stands, in any case),
// in file order, with its value; nothing is cut however long the section.
std::vector<MusicEntry> ReadMusicList(LPCSTR path);
