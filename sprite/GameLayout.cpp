#include "sprite/GameLayout.h"

#include "platform/system/FileVersion.h"
#include "platform/system/Profile.h"
#include "sprite/AppServices.h"
#include "sprite/GdiRoutines.h"
#include "sprite/LayoutValues.h"

#include <algorithm>
#include <vector>

const char* const CGameLayout::kFlagKeys[FLAG_COUNT] = {
    "Trust_bmp",      "TrustExit_bmp", "Break_bmp",    "OpenPoint_bmp",  "ShaoPai_bmp",
    "Revolution_bmp", "NowPoint_bmp",  "PrePoint_bmp", "Federation_bmp", "NoFederation_bmp",
    "Out_bmp",        "Down_bmp",      "Eye_bmp",      "One_bmp",        "Two_bmp",
    "Three_bmp",      "Four_bmp",      "Five_bmp",     "Six_bmp",        "OneO_bmp",
    "TwoO_bmp",       "ThreeO_bmp",    "FourO_bmp",    "FiveO_bmp",      "SixO_bmp",
    "GaveUp_bmp",     "RangPai_bmp",   "Pass_bmp",     "Start_bmp",
};
const char* const CGameLayout::kGameWndButtonNames[GB_COUNT] = {
    "Trust",    "TrustExit", "History", "Prevturn", "Sound",      "TakeChance",
    "Exchange", "Reel",      "Magnif",  "ReelOpen", "MagnifOpen",
};
const char* const CGameLayout::kButtonExNames[BX_COUNT] = {
    "Start",         "StartMulti", "RStart",        "DeclPoint",  "DeclNoPoint",
    "DeclPointOpen", "TakeOut",    "Pass",          "Rangpai",    "Search",
    "ShaoPai",       "GaveUp",     "ReturnTribute", "Revolution", "NoRevolution",
    "Gousiji",       "NoGousiji",  "LeftCue",       "RightCue",
};
const char* const CGameLayout::kJetonNames[JETON_COUNT] = {
    "jetonA1", "jetonA2", "jetonA4", "jetonA8", "jetonA16",
    "jetonB1", "jetonB2", "jetonB4", "jetonB8", "jetonB16",
};

namespace {

void LoadBitmap(CBitmap& bitmap, LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR folder) {
    bitmap.DeleteObject();
    if (HBITMAP handle = LoadThemeBitmap(file, section, key, folder))
        bitmap.Attach(handle);
}

CString RecordKey(LPCSTR name, LPCSTR suffix) {
    CString key;
    key.Format("%s%s", name, suffix);
    return key;
}

int ReadInt(LPCSTR file, LPCSTR section, LPCSTR key, int defaultValue) {
    return int(GetPrivateProfileInt(section, key, defaultValue, file));
}

// A number of the file held to what it can sensibly mean, so that a broken
// theme cannot make card-fan arithmetic overflow or a font absurd.
int ReadBounded(LPCSTR file, LPCSTR section, LPCSTR key, int defaultValue, int low, int high) {
    return std::clamp(ReadInt(file, section, key, defaultValue), low, high);
}

// Measures in pixels: wider than any screen is a broken value.
constexpr int kMaxMeasure = 4096;

SIZE ReadMeasure(LPCSTR file, LPCSTR section, LPCSTR key) {
    const SIZE size = ReadLayoutSize(file, section, key);
    return SIZE{std::clamp<LONG>(size.cx, 0, kMaxMeasure),
                std::clamp<LONG>(size.cy, 0, kMaxMeasure)};
}

// "<prefix>COUNT" points "<prefix>_%d"; a count out of range reads none.
std::vector<POINT> ReadPoints(LPCSTR file, LPCSTR countKey, LPCSTR pointFormat) {
    const int count = ReadInt(file, "CARD", countKey, 0);
    std::vector<POINT> points;
    if (count <= 0 || count > CGameLayout::MAX_TRANSPARENT_POINTS)
        return points;
    for (int i = 0; i < count; ++i) {
        CString key;
        key.Format(pointFormat, i);
        points.push_back(ReadLayoutPoint(file, "CARD", key));
    }
    return points;
}

} // namespace

BOOL CThemeImage::Load(LPCSTR file, LPCSTR section, LPCSTR name, LPCSTR folder) {
    Release();
    LoadBitmap(m_bitmap, file, section, RecordKey(name, "_bmp"), folder);
    if (!IsLoaded())
        return FALSE;
    m_pos = ReadLayoutPos(file, section, RecordKey(name, "_pos"));
    m_nMask = ReadBounded(file, section, RecordKey(name, "_mask"), 1, 0, 1);
    m_nLayer = ReadInt(file, section, RecordKey(name, "_layer"), 0);
    return TRUE;
}

void CThemeImage::Release() {
    m_bitmap.DeleteObject();
    m_nKind = 4;
    m_nMask = 1;
    m_pos = CSpritePos();
    m_nLayer = 0;
}

BOOL CThemeImagePair::Load(LPCSTR file, LPCSTR section, LPCSTR name, LPCSTR folder) {
    Release();
    LoadBitmap(m_bitmap, file, section, RecordKey(name, "_bmp"), folder);
    if (!IsLoaded())
        return FALSE;
    LoadBitmap(m_channel, file, section, RecordKey(name, "_cnl"), folder);
    m_nSameChannel = ReadBounded(file, section, RecordKey(name, "_samecnl"), 0, 0, 1);
    m_pos = ReadLayoutPos(file, section, RecordKey(name, "_pos"));
    m_nLayer = ReadInt(file, section, RecordKey(name, "_layer"), 0);
    return TRUE;
}

void CThemeImagePair::Release() {
    m_bitmap.DeleteObject();
    m_channel.DeleteObject();
    m_nSameChannel = 0;
    m_nKind = 4;
    m_pos = CSpritePos();
    m_nLayer = 0;
}

BOOL CGameLayout::Load() {
    return LoadFrom(GetThemeFile(0));
}

BOOL CGameLayout::LoadFrom(LPCSTR layoutFile) {
    Release();
    const CString file = layoutFile;
    const int dot = file.ReverseFind('.');
    const CString folder = dot >= 0 ? file.Left(dot) : file;

    ReadBitmaps(file, folder);
    ReadButtons(file, folder);
    ReadTexts(file);
    ReadCards(file, folder);
    ReadPlaces(file, folder);
    SetAnchorCardMeasures(m_sizeCard.cx, m_nBorder);

    m_pSkinFrame = std::make_unique<CSkinFrame>();
    m_pSkinFrame->LoadSkin(file, folder); // an incomplete skin is the frame's concern
    return TRUE;
}

void CGameLayout::ReadBitmaps(LPCSTR file, LPCSTR folder) {
    LoadBitmap(m_bmpSplitterBack, file, "SPLITTER", "BACK", folder);
    LoadBitmap(m_bmpSplitterBackA, file, "SPLITTER", "BACKA", folder);
    LoadBitmap(m_bmpSplitterOpen, file, "SPLITTER", "BTN_OPEN", folder);
    LoadBitmap(m_bmpSplitterClose, file, "SPLITTER", "BTN_CLOSE", folder);
    LoadBitmap(m_bmpLogo, file, "MAIN", "LOGO", folder);
    LoadBitmap(m_bmpChatHeader, file, "MAIN", "ChatHeader", folder);
    LoadBitmap(m_bmpBack, file, "MAIN", "back", folder);
    LoadBitmap(m_bmpBackA, file, "MAIN", "backA", folder);
    LoadBitmap(m_bmpBackF, file, "MAIN", "backF", folder);
    for (int i = 0; i < FLAG_COUNT; ++i)
        LoadBitmap(m_bmpFlags[i], file, "FLAG", kFlagKeys[i], folder);
    LoadBitmap(m_bmpCheckIn, file, "DLG", "checkinbmp", folder);
    LoadBitmap(m_bmpCheckOut, file, "DLG", "checkoutbmp", folder);
}

void CGameLayout::ReadButtons(LPCSTR file, LPCSTR folder) {
    // A record whose strip does not load stays unloaded; the layout goes on.
    for (int i = 0; i < GB_COUNT; ++i)
        m_gameWndButtons[i].Load(file, "GAMEWND_BTN", kGameWndButtonNames[i], folder);
    for (int i = 0; i < BX_COUNT; ++i)
        m_buttonsEx[i].Load(file, "BUTTONEX", kButtonExNames[i], folder);
    for (int i = 0; i < JETON_COUNT; ++i)
        m_jetons[i].Load(file, "BUTTON", kJetonNames[i], folder);
}

void CGameLayout::ReadTexts(LPCSTR file) {
    m_strFontName = ReadLayoutText(file, "MAIN", "FONT_NAME", "宋体", 32);
    m_nFontSize = ReadBounded(file, "MAIN", "FONT_SIZE", 16, 1, 200);
    m_nFontWeight = ReadBounded(file, "MAIN", "FONT_WEIGHT", 400, 0, 1000);
    m_clrText = ReadLayoutColor(file, "MAIN", "TEXT_COLOR", RGB(255, 255, 255));
    m_clrText2 = ReadLayoutColor(file, "MAIN", "TEXT_COLOR2", m_clrText);
    m_nBorder = ReadBounded(file, "MAIN", "BORDER", 40, 0, kMaxMeasure);

    m_strTextSpriteFont = ReadLayoutText(file, "TEXTSPRITE", "fontname", "宋体", 20);
    m_nTextSpriteSize = ReadBounded(file, "TEXTSPRITE", "fontsize", 20, 1, 200);
    m_nTextSpriteDelay = ReadBounded(file, "TEXTSPRITE", "delay", 300, 0, 60000);
    m_clrTextSprite = ReadLayoutColor(file, "TEXTSPRITE", "color", m_clrText);
    m_posTextBegin = ReadLayoutPos(file, "TEXTSPRITE", "begin");
    m_posTextEnd = ReadLayoutPos(file, "TEXTSPRITE", "end");
}

void CGameLayout::ReadCards(LPCSTR file, LPCSTR folder) {
    LoadBitmap(m_bmpCards, file, "CARD", "cards", folder);
    LoadBitmap(m_bmpCardsBig, file, "CARD", "cardsbig", folder);
    m_nInterval = m_nIntervalWork = ReadBounded(file, "CARD", "INTERVAL", 15, 0, kMaxMeasure);
    m_sizeCard = m_sizeCardWork = ReadMeasure(file, "CARD", "SIZE");
    m_nIntervalBig = ReadBounded(file, "CARD", "INTERVALBIG", 20, 0, kMaxMeasure);
    m_sizeCardBig = ReadMeasure(file, "CARD", "SIZEBIG");
    m_transparentPoints = ReadPoints(file, "TRANSPTCOUNT", "TRANSPT_%d");
    LoadBitmap(m_bmpLittleCards, file, "CARD", "littlecards", folder);
    m_nLittleInterval = ReadBounded(file, "CARD", "LITTLEINTERVAL", 15, 0, kMaxMeasure);
    m_sizeLittleCard = ReadMeasure(file, "CARD", "LITTLESIZE");
    m_littleTransparentPoints = ReadPoints(file, "LITTLETRANSPTCOUNT", "LITTLETRANSPT_%d");
}

void CGameLayout::ReadPlaces(LPCSTR file, LPCSTR folder) {
    LoadBitmap(m_bmpClock, file, "CLOCK", "clock", folder);
    LoadBitmap(m_bmpClockDigital, file, "CLOCK", "clock_digital", folder);
    m_ptClockDigit1 = ReadLayoutPoint(file, "CLOCK", "point1");
    m_ptClockDigit2 = ReadLayoutPoint(file, "CLOCK", "point2");
    m_sizeAvatar = ReadMeasure(file, "AVATAR", "SIZE");
    LoadBitmap(m_bmpAvatarBack, file, "AVATAR", "Avatarbk_bmp", folder);
    for (int seat = 0; seat < SEAT_COUNT; ++seat) {
        CString key;
        key.Format("avatar%d", seat);
        m_posAvatarRead[seat] = m_posAvatar[seat] = ReadLayoutPos(file, "REFPOINT", key);
        key.Format("outcard%d", seat);
        m_posOutCardRead[seat] = m_posOutCard[seat] = ReadLayoutPos(file, "REFPOINT", key);
    }
    m_posClockPutCard = ReadLayoutPos(file, "REFPOINT", "clock_putcard");
}

void CGameLayout::Release() {
    CBitmap* bitmaps[] = {&m_bmpSplitterBack,  &m_bmpSplitterBackA, &m_bmpSplitterOpen,
                          &m_bmpSplitterClose, &m_bmpLogo,          &m_bmpChatHeader,
                          &m_bmpBack,          &m_bmpBackA,         &m_bmpBackF,
                          &m_bmpCheckIn,       &m_bmpCheckOut,      &m_bmpCards,
                          &m_bmpCardsBig,      &m_bmpLittleCards,   &m_bmpClock,
                          &m_bmpClockDigital,  &m_bmpAvatarBack};
    for (CBitmap* bitmap : bitmaps)
        bitmap->DeleteObject();
    for (CBitmap& bitmap : m_bmpFlags)
        bitmap.DeleteObject();
    for (CThemeImage& record : m_gameWndButtons)
        record.Release();
    for (CThemeImagePair& record : m_buttonsEx)
        record.Release();
    for (CThemeImage& record : m_jetons)
        record.Release();
    m_transparentPoints.clear();
    m_littleTransparentPoints.clear();
    m_pSkinFrame.reset();
}

CString CGameLayout::GetThemeFile(int kind) const {
    if (kind == 0)
        return GetModuleDirectory() + "theme_bmp\\Default.thm";
    if (kind == 1)
        return GetModuleDirectory() + "theme_gif\\Default.thm";
    return CString();
}

CString CGameLayout::GetModuleDirectory() const {
    return GetExeFolder();
}

CString CGameLayout::GetFileVersion(LPCSTR name) const {
    CString path;
    path.Format("%s%s.exe", (LPCSTR)GetModuleDirectory(), name);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSize(path, &handle);
    if (size == 0)
        return CString();
    std::vector<char> block(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfo(path, handle, size, block.data()) ||
        !VerQueryValue(block.data(), "\\", reinterpret_cast<LPVOID*>(&info), &length) || !info)
        return CString();
    CString version;
    version.Format("%d.%d.%d.%d", int(HIWORD(info->dwFileVersionMS)),
                   int(LOWORD(info->dwFileVersionMS)), int(HIWORD(info->dwFileVersionLS)),
                   int(LOWORD(info->dwFileVersionLS)));
    return version;
}

int CGameLayout::GetCardsFitting(int width) const {
    if (m_nInterval <= 0)
        return width >= m_sizeCard.cx ? 1 : 0;
    return (width - m_sizeCard.cx) / m_nInterval + 1;
}
