#pragma once
// The main window's frame skin, as far as the layout holder needs it: the
// names and settings of the sections "FRAME", "SYS_BUTTON" and "USER_BUTTON"
// of the layout file. Drawing the frame is the application shell's part.

#include "platform/CString.h"

#include <vector>

class CSkinFrame {
public:
    static constexpr int kFramePieceCount = 16;
    static const char* const kFramePieceKeys[kFramePieceCount];

    struct UserButton {
        CString bitmap;
        CString pos;
        CString group; // the frame sections it belongs to; empty: all
        CString tip;
    };

    // FALSE when a frame piece is not named; what is named is kept either way.
    BOOL LoadSkin(LPCSTR layoutFile, LPCSTR bitmapFolder);

    CString m_strBitmapFolder;
    CString m_strPieces[kFramePieceCount];
    COLORREF m_clrTransparent = 0;
    int m_nRoundMax = 0;
    COLORREF m_clrText = 0;
    COLORREF m_clrTextInactive = 0;
    CString m_strFontName;
    int m_nFontSize = 16;
    CString m_strClose, m_strMax, m_strRestore, m_strMin;
    CString m_strPosClose, m_strPosMax, m_strPosMin;
    std::vector<UserButton> m_userButtons;
};
