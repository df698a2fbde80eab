#pragma once
// The layout holder: every value of the table's layout file (bitmaps of the
// frame, splitter, table, seat marks and buttons; fonts and colours; card
// sheets and measures; the clock, the avatars and the reference points), read
// once at start-up and kept for the table window, the card layout and the
// frame. It also answers the program's folder and file version.

#include "platform/gdi/GdiWrappers.h"
#include "sprite/SkinFrame.h"
#include "sprite/SpritePos.h"

#include <memory>
#include <vector>

// A button of the sections "GAMEWND_BTN" and "BUTTON": a state strip,
// optionally with a mask cell.
class CThemeImage {
public:
    // FALSE (the record stays unloaded) when "<name>_bmp" does not load.
    BOOL Load(LPCSTR file, LPCSTR section, LPCSTR name, LPCSTR folder);
    BOOL IsLoaded() const { return m_bitmap.GetSafeHandle() != nullptr; }
    void Release();

    CBitmap m_bitmap;
    int m_nKind = 4;
    int m_nMask = 1;
    CSpritePos m_pos;
    int m_nLayer = 0;
};

// A button of the section "BUTTONEX": a state strip with its alpha strip.
class CThemeImagePair {
public:
    BOOL Load(LPCSTR file, LPCSTR section, LPCSTR name, LPCSTR folder);
    BOOL IsLoaded() const { return m_bitmap.GetSafeHandle() != nullptr; }
    void Release();

    CBitmap m_bitmap;
    CBitmap m_channel;
    int m_nSameChannel = 0;
    int m_nKind = 4;
    CSpritePos m_pos;
    int m_nLayer = 0;
};

class CGameLayout {
public:
    // The seat marks of section "FLAG", in the file's order.
    enum Flag {
        FLAG_TRUST,
        FLAG_TRUSTEXIT,
        FLAG_BREAK,
        FLAG_OPENPOINT,
        FLAG_SHAOPAI,
        FLAG_REVOLUTION,
        FLAG_NOWPOINT,
        FLAG_PREPOINT,
        FLAG_FEDERATION,
        FLAG_NOFEDERATION,
        FLAG_OUT,
        FLAG_DOWN,
        FLAG_EYE,
        FLAG_ONE,
        FLAG_TWO,
        FLAG_THREE,
        FLAG_FOUR,
        FLAG_FIVE,
        FLAG_SIX,
        FLAG_ONEO,
        FLAG_TWOO,
        FLAG_THREEO,
        FLAG_FOURO,
        FLAG_FIVEO,
        FLAG_SIXO,
        FLAG_GAVEUP,
        FLAG_RANGPAI,
        FLAG_PASS,
        FLAG_START,
        FLAG_COUNT
    };
    // The table window's own buttons (section "GAMEWND_BTN").
    enum GameWndButton {
        GB_TRUST,
        GB_TRUSTEXIT,
        GB_HISTORY,
        GB_PREVTURN,
        GB_SOUND,
        GB_TAKECHANCE,
        GB_EXCHANGE,
        GB_REEL,
        GB_MAGNIF,
        GB_REELOPEN,
        GB_MAGNIFOPEN,
        GB_COUNT
    };
    // The play buttons (section "BUTTONEX").
    enum ButtonEx {
        BX_START,
        BX_STARTMULTI,
        BX_RSTART,
        BX_DECLPOINT,
        BX_DECLNOPOINT,
        BX_DECLPOINTOPEN,
        BX_TAKEOUT,
        BX_PASS,
        BX_RANGPAI,
        BX_SEARCH,
        BX_SHAOPAI,
        BX_GAVEUP,
        BX_RETURNTRIBUTE,
        BX_REVOLUTION,
        BX_NOREVOLUTION,
        BX_GOUSIJI,
        BX_NOGOUSIJI,
        BX_LEFTCUE,
        BX_RIGHTCUE,
        BX_COUNT
    };
    // The chips (section "BUTTON"): five of the start pane, five of the result pane.
    enum { JETON_COUNT = 10 };
    enum { SEAT_COUNT = 6 };
    // More transparency points than this are taken as a broken count.
    enum { MAX_TRANSPARENT_POINTS = 256 };

    static const char* const kFlagKeys[FLAG_COUNT];
    static const char* const kGameWndButtonNames[GB_COUNT];
    static const char* const kButtonExNames[BX_COUNT];
    static const char* const kJetonNames[JETON_COUNT];

    CGameLayout() = default;
    ~CGameLayout() { Release(); }
    CGameLayout(const CGameLayout&) = delete;
    CGameLayout& operator=(const CGameLayout&) = delete;

    // Releases everything, then reads the layout file. 0 only when the frame
    // skin cannot be created; missing keys and bitmaps read as defaults.
    BOOL Load();
    // Reads the given layout file (the bitmaps from the folder beside it).
    BOOL LoadFrom(LPCSTR layoutFile);
    void Release();

    // 0: the layout file; 1: its GIF-theme alternative; otherwise empty.
    CString GetThemeFile(int kind) const;
    CString GetModuleDirectory() const;
    // "%d.%d.%d.%d" of the program folder's "<name>.exe"; empty without a version.
    CString GetFileVersion(LPCSTR name) const;
    int GetCardsWidth(int n) const { return (n - 1) * m_nInterval + m_sizeCard.cx; }
    int GetLittleCardsWidth(int n) const {
        return (n - 1) * m_nLittleInterval + m_sizeLittleCard.cx;
    }
    int GetCardsFitting(int width) const;

    // "SPLITTER"
    CBitmap m_bmpSplitterBack, m_bmpSplitterBackA, m_bmpSplitterOpen, m_bmpSplitterClose;
    // "MAIN"
    CBitmap m_bmpLogo, m_bmpChatHeader, m_bmpBack, m_bmpBackA, m_bmpBackF;
    CBitmap m_bmpFlags[FLAG_COUNT];
    // "DLG"
    CBitmap m_bmpCheckIn, m_bmpCheckOut;
    CThemeImage m_gameWndButtons[GB_COUNT];
    CThemeImagePair m_buttonsEx[BX_COUNT];
    CThemeImage m_jetons[JETON_COUNT];

    // Name plates ("MAIN").
    CString m_strFontName = "宋体";
    int m_nFontSize = 16;
    int m_nFontWeight = 400;
    COLORREF m_clrText = RGB(255, 255, 255);
    // The opponents' name colour ("TEXT_COLOR2"; the first colour when missing).
    COLORREF m_clrText2 = RGB(255, 255, 255);
    int m_nBorder = 40;
    // Floating notices ("TEXTSPRITE").
    CString m_strTextSpriteFont = "宋体";
    int m_nTextSpriteSize = 20;
    int m_nTextSpriteDelay = 300;
    COLORREF m_clrTextSprite = RGB(255, 255, 255);
    CSpritePos m_posTextBegin, m_posTextEnd;

    // "CARD"
    CBitmap m_bmpCards, m_bmpCardsBig, m_bmpLittleCards;
    int m_nInterval = 15;
    int m_nIntervalWork = 15;
    SIZE m_sizeCard{0, 0};
    SIZE m_sizeCardWork{0, 0};
    int m_nIntervalBig = 20;
    SIZE m_sizeCardBig{0, 0};
    std::vector<POINT> m_transparentPoints;
    int m_nLittleInterval = 15;
    SIZE m_sizeLittleCard{0, 0};
    std::vector<POINT> m_littleTransparentPoints;

    // "CLOCK"
    CBitmap m_bmpClock, m_bmpClockDigital;
    POINT m_ptClockDigit1{0, 0}, m_ptClockDigit2{0, 0};
    // "AVATAR"
    SIZE m_sizeAvatar{0, 0};
    CBitmap m_bmpAvatarBack;
    // "REFPOINT": as read, and the working copies the table moves.
    CSpritePos m_posAvatarRead[SEAT_COUNT], m_posAvatar[SEAT_COUNT];
    CSpritePos m_posOutCardRead[SEAT_COUNT], m_posOutCard[SEAT_COUNT];
    CSpritePos m_posClockPutCard;

    std::unique_ptr<CSkinFrame> m_pSkinFrame;

private:
    void ReadBitmaps(LPCSTR file, LPCSTR folder);
    void ReadButtons(LPCSTR file, LPCSTR folder);
    void ReadTexts(LPCSTR file);
    void ReadCards(LPCSTR file, LPCSTR folder);
    void ReadPlaces(LPCSTR file, LPCSTR folder);
};
