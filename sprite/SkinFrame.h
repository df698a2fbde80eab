#pragma once
// The main window's frame skin as the layout file gives it: the sixteen frame
// pieces, the caption buttons' strips and places, the colours and the caption
// font of the sections "FRAME", "SYS_BUTTON", "USER_BUTTON" and "DEFAULT".
// Placing, hit-testing and painting the frame is the application shell's part.

#include "platform/CString.h"
#include "platform/gdi/GdiWrappers.h"

#include <memory>
#include <vector>

class CSkinFrame {
public:
    static constexpr int kFramePieceCount = 16;
    static const char* const kFramePieceKeys[kFramePieceCount];
    // The pieces by their place in kFramePieceKeys.
    enum Piece {
        TITLE_LEFT,
        TITLE_CENTER,
        TITLE_CENTER_A,
        TITLE_RIGHT,
        TITLE_LEFT_NA,
        TITLE_CENTER_NA,
        TITLE_RIGHT_NA,
        TITLE_RIGHT_A,
        LEFT,
        RIGHT,
        RIGHT_A,
        BOTTOM_LEFT,
        BOTTOM_CENTER,
        BOTTOM_CENTER_A,
        BOTTOM_RIGHT,
        BOTTOM_RIGHT_A,
    };
    // The place (1000,1000) asks for the running place of the caption row.
    static constexpr int kAutoPlace = 1000;
    // More user buttons than this would not fit a title bar; a larger count
    // in the file is cut to it.
    static constexpr int kMaxUserButtons = 32;

    // A caption button: four frames side by side (normal, hot, pressed,
    // disabled); without a strip it is placed with no width and not drawn.
    struct ButtonArt {
        std::shared_ptr<CBitmap> strip;
        int frameWidth = 0;
        int height = 0;
        POINT pos{kAutoPlace, kAutoPlace};
        BOOL enabled = TRUE;
    };
    struct UserButton {
        CString bitmap;
        CString pos;
        CString group; // the frame sections it belongs to; empty: all
        CString tip;
        ButtonArt art;
    };
    enum SysButton { SYS_CLOSE, SYS_MAX, SYS_RESTORE, SYS_MIN, SYS_COUNT };

    // Reads everything it can. FALSE when a frame piece is missing or does not
    // load (each such piece is logged and then simply not drawn).
    BOOL LoadSkin(LPCSTR layoutFile, LPCSTR bitmapFolder);
    // 0 left border width, 1 title height, 2 right border width, 3 bottom
    // border height; 0 for a piece that did not load or another number.
    int GetFrameSize(int which) const;
    CSize PieceSize(int piece) const;

    CString m_strBitmapFolder;
    CString m_strPieces[kFramePieceCount];
    CBitmap m_bmpPieces[kFramePieceCount];
    COLORREF m_clrTransparent = RGB(255, 255, 255);
    COLORREF m_clrKey = RGB(255, 255, 255);
    int m_nRoundMax = 0;
    COLORREF m_clrText = 0;
    COLORREF m_clrTextInactive = 0;
    CString m_strFontName;
    int m_nFontSize = 16;
    POINT m_ptFirstButton{0, 0};
    int m_nButtonInter = 0;
    CString m_strClose, m_strMax, m_strRestore, m_strMin;
    CString m_strPosClose, m_strPosMax, m_strPosMin;
    ButtonArt m_sysButtons[SYS_COUNT];
    std::vector<UserButton> m_userButtons;
    // The alternative look (the chat area hidden); the only value that
    // changes after loading.
    BOOL m_bAltLook = FALSE;

private:
    ButtonArt LoadButton(LPCSTR file, LPCSTR section, LPCSTR key, const CString& pos);
};
