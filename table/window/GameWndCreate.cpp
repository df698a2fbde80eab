// The table window's own sprites and buttons, made once when it is created:
// the 27 buttons with their first states, the card faces, the deck of card
// backs for the deal and the turn clock.

#include "platform/system/Profile.h"
#include "sprite/AppServices.h"
#include "sprite/DigitImage.h"
#include "sprite/GameLayout.h"
#include "sprite/GifSpriteImage.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"
#include "table/common/TableAppLink.h"

namespace {

// The layout record of each GAMEWND_BTN button, by button index.
struct GameWndButtonRecord {
    int button;
    int layoutIndex;
};
const GameWndButtonRecord kGameWndButtons[] = {
    {kBtnTrust, CGameLayout::GB_TRUST},           {kBtnTrustExit, CGameLayout::GB_TRUSTEXIT},
    {kBtnHistory, CGameLayout::GB_HISTORY},       {kBtnPrevturn, CGameLayout::GB_PREVTURN},
    {kBtnSound, CGameLayout::GB_SOUND},           {kBtnTakeChance, CGameLayout::GB_TAKECHANCE},
    {kBtnExchange, CGameLayout::GB_EXCHANGE},     {kBtnReel, CGameLayout::GB_REEL},
    {kBtnReelOpen, CGameLayout::GB_REELOPEN},     {kBtnMagnif, CGameLayout::GB_MAGNIF},
    {kBtnMagnifOpen, CGameLayout::GB_MAGNIFOPEN},
};
const GameWndButtonRecord kButtonsEx[] = {
    {kBtnTakeOut, CGameLayout::BX_TAKEOUT},
    {kBtnShaoPai, CGameLayout::BX_SHAOPAI},
    {kBtnPass, CGameLayout::BX_PASS},
    {kBtnGaveUp, CGameLayout::BX_GAVEUP},
    {kBtnRangpai, CGameLayout::BX_RANGPAI},
    {kBtnSearch, CGameLayout::BX_SEARCH},
    {kBtnDeclPoint, CGameLayout::BX_DECLPOINT},
    {kBtnDeclPointOpen, CGameLayout::BX_DECLPOINTOPEN},
    {kBtnDeclNoPoint, CGameLayout::BX_DECLNOPOINT},
    {kBtnReturnTribute, CGameLayout::BX_RETURNTRIBUTE},
    {kBtnRevolution, CGameLayout::BX_REVOLUTION},
    {kBtnNoRevolution, CGameLayout::BX_NOREVOLUTION},
    {kBtnGousiji, CGameLayout::BX_GOUSIJI},
    {kBtnNoGousiji, CGameLayout::BX_NOGOUSIJI},
    {kBtnLeftCue, CGameLayout::BX_LEFTCUE},
    {kBtnRightCue, CGameLayout::BX_RIGHTCUE},
};

// Image ids of the clock's pictures in the window's image list.
constexpr int kClockImageId = 3000;
constexpr int kClockCounterImageId = 3001;
const char kClockSection[] = "SPRITE_倒计时";

void SetButtonState(CSpriteButtonEx& button, BOOL shown, BOOL enabled) {
    button.Enable(enabled);
    button.Show(shown);
}

} // namespace

void CGameWnd::UpdateViewpoint() {
    if (m_pClient != nullptr) {
        m_fields.viewpoint.nMySeat = m_pClient->m_nMySeat;
        m_fields.viewpoint.bWatcher = m_pClient->m_bWatcher;
    }
    m_fields.viewpoint.nCardOrder = TableApp().GetCardOrder();
    m_fields.viewpoint.nClockOrder = TableApp().GetClockOrder();
}

void CGameWnd::CreateButtons() {
    CGameLayout* layout = m_fields.pLayout;
    if (layout == nullptr) {
        WriteLog("The table has no layout: it makes no buttons");
        return;
    }
    for (const GameWndButtonRecord& r : kGameWndButtons) {
        CThemeImage& record = layout->m_gameWndButtons[r.layoutIndex];
        CSpriteButtonEx& button = m_buttons[r.button];
        button.Show(TRUE);
        if (!record.IsLoaded() ||
            !button.Create(static_cast<HBITMAP>(record.m_bitmap.GetSafeHandle()), record.m_nKind,
                           record.m_nMask, this, record.m_pos.x, record.m_pos.y,
                           record.m_pos.anchor, record.m_nLayer, ButtonIdOf(r.button)))
            WriteLog("The table could not make button \"%s\"",
                     CGameLayout::kGameWndButtonNames[r.layoutIndex]);
    }
    for (const GameWndButtonRecord& r : kButtonsEx) {
        CThemeImagePair& record = layout->m_buttonsEx[r.layoutIndex];
        CSpriteButtonEx& button = m_buttons[r.button];
        button.Show(TRUE);
        if (!record.IsLoaded() ||
            !button.CreateEx(static_cast<HBITMAP>(record.m_bitmap.GetSafeHandle()),
                             static_cast<HBITMAP>(record.m_channel.GetSafeHandle()),
                             record.m_nSameChannel, this, record.m_pos.x, record.m_pos.y,
                             record.m_pos.anchor, record.m_nLayer, ButtonIdOf(r.button)))
            WriteLog("The table could not make button \"%s\"",
                     CGameLayout::kButtonExNames[r.layoutIndex]);
    }
}

void CGameWnd::SetInitialButtonStates() {
    SetButtonState(m_buttons[kBtnReelOpen], FALSE, FALSE);
    SetButtonState(m_buttons[kBtnMagnifOpen], FALSE, FALSE);
    SetButtonState(m_buttons[kBtnTrustExit], FALSE, FALSE);
    if (m_fields.viewpoint.bWatcher) {
        for (int b : {kBtnTrust, kBtnTrustExit, kBtnSound, kBtnExchange, kBtnTakeChance})
            m_buttons[b].Enable(FALSE);
    }
    // The table records show them where the room allows.
    m_buttons[kBtnTakeChance].Show(FALSE);
    m_buttons[kBtnExchange].Show(FALSE);
    if (m_pClient != nullptr && m_pClient->m_bOption) {
        SetButtonState(m_buttons[kBtnTrust], FALSE, FALSE);
        SetButtonState(m_buttons[kBtnTrustExit], TRUE, TRUE);
    }
    SetButtonState(m_buttons[kBtnLeftCue], FALSE, FALSE);
    SetButtonState(m_buttons[kBtnRightCue], FALSE, FALSE);
}

void CGameWnd::CreateCardFaces() {
    CGameLayout* layout = m_fields.pLayout;
    if (layout == nullptr)
        return;
    const SIZE card = m_fields.CardSize();
    const SIZE little = m_fields.LittleCardSize();
    if (!m_hands.LoadCardFaces(&layout->m_bmpCards, card.cx, card.cy))
        WriteLog("The table could not cut the card faces");
    if (!m_hands.LoadLittleCardFaces(&layout->m_bmpLittleCards, little.cx, little.cy))
        WriteLog("The table could not cut the little card faces");
}

void CGameWnd::CreateDeck() {
    const SIZE card = m_fields.CardSize();
    const POSITION back = m_hands.GetCardBackImage();
    for (int i = 0; i < kDeckSize; ++i) {
        m_deck[i] = nullptr;
        CFixedLine* line = back != nullptr ? new CFixedLine : nullptr;
        if (line != nullptr) {
            line->Init(-(card.cx + 408) / 2 + kDeckStep * i, -card.cy / 2, 4, 0, 0, 4, 1, -1, 255,
                       255);
            m_deck[i] = AddSprite(back, line, kDeckSpriteBase + i, kDeckLayer, 0,
                                  (kDeckStep << 16) | i, "DeckBack", FALSE);
        }
        // A missing back leaves its slot empty; the deal skips it and the
        // table still opens.
        if (m_deck[i] == nullptr)
            WriteLog("The table could not make deck back %d", i);
    }
}

void CGameWnd::CreateClock() {
    CGameLayout* layout = m_fields.pLayout;
    if (layout == nullptr)
        return;
    auto* digits = new CDigitImage;
    digits->m_nId = kClockImageId;
    // The counter draws with the clock's digits: both live as long as the window.
    digits->m_bAutoFree = FALSE;
    digits->SetBitmaps(static_cast<HBITMAP>(layout->m_bmpClock.GetSafeHandle()),
                       static_cast<HBITMAP>(layout->m_bmpClockDigital.GetSafeHandle()),
                       layout->m_ptClockDigit1.x, layout->m_ptClockDigit1.y,
                       layout->m_ptClockDigit2.x, layout->m_ptClockDigit2.y);
    const POSITION clockImage = GetImageList().Add(digits);
    auto* clockLine = new CFixedLine;
    clockLine->Init(0, 0, 4, 0, 0, 4, 1, -1, 255, 255);
    if (AddSprite(clockImage, clockLine, kClockSprite, kClockLayer, 0, 0, "clock", FALSE) ==
        nullptr)
        WriteLog("The table could not make its clock");

    char resource[MAX_PATH] = {};
    GetPrivateProfileString(kClockSection, "resource", "", resource, sizeof resource,
                            m_strThemeFile);
    const int layer = int(GetPrivateProfileInt(kClockSection, "layer", 0, m_strThemeFile));
    auto* counter = new CCounterGifImage;
    const CString path = m_strBitmapFolder + "\\" + resource;
    if (resource[0] == '\0' || !counter->GetGif().Load(path, FALSE)) {
        // The clock keeps its picture; only the last seconds' counter is missing.
        WriteLog("The table's clock counter \"%s\" does not load", LPCSTR(path));
        delete counter;
        return;
    }
    counter->m_nId = kClockCounterImageId;
    counter->m_bAutoFree = FALSE;
    counter->SetDigits(digits);
    auto* counterLine = new CFixedLine;
    counterLine->Init(0, 0, 4, 0, 0, 4, 1, -1, 255, 255);
    if (AddSprite(GetImageList().Add(counter), counterLine, kClockCounterSprite, layer, 0, 0,
                  "gif_clock", FALSE) == nullptr)
        WriteLog("The table could not make its clock counter");
}
