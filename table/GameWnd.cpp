#include "table/GameWnd.h"

#include "platform/resources/Resource.h"
#include "platform/system/Clock.h"
#include "platform/window/Cursor.h"
#include "platform/window/SystemMetrics.h"
#include "sprite/AppServices.h"
#include "sprite/Theme.h"
#include "table/GameNetClient.h"
#include "table/TableAppLink.h"

IMPLEMENT_DYNCREATE(CGameWnd, CSpriteWnd)

namespace {

// One row of the balloon tips' settings.
struct TipSettings {
    int autoHideMs;
    SIZE minSize;
    SIZE maxSize;
    int opacity;
    COLORREF background;
    COLORREF text;
    int font;
    COLORREF frame;
    int frameWidth;
};

const TipSettings kSeatTip{5000, {70, 45}, {200, 100}, 50, 0x000000, 0x99F888, 0, 0xBFFD02, 1};
const TipSettings kTableTipSettings{0,        {70, 45}, {120, 200}, 60, 0x000000,
                                    0x99F888, 0,        0xBFFD02,   1};
const TipSettings kStatusTipSettings{5000,     {70, 45}, {500, 80}, 60, 0x000000,
                                     0x99F888, 1,        0xBFFD02,  1};
const TipSettings kHintTipSettings{2000,     {30, 20}, {180, 50}, 100, 0xE8E8E8,
                                   0x000000, 0,        0xD0C0C0,  2};

const TipSettings& SettingsOf(int tip) {
    switch (tip) {
    case kTableTip:
        return kTableTipSettings;
    case kStatusTip:
        return kStatusTipSettings;
    case kHintTip:
        return kHintTipSettings;
    default:
        return kSeatTip;
    }
}

const char kSoundProduct[] = "Pellor2";
const char kMagnifierName[] = "Dovrik";

} // namespace

CGameWnd::CGameWnd() : m_pClient(&theClient) {
    m_records.SetClient(m_pClient);
    m_commands.SetClient(m_pClient);
    // Sprite places are anchored to this window's client area.
    SetPosResolver(AnchorToClient);
    m_hands.m_pGameWndSprite = this;
    m_hands.m_pTable = &m_fields;
    m_tableCards.m_pGameWndSprite = this;
    m_tableCards.m_pTable = &m_fields;
}

CGameWnd::~CGameWnd() = default;

CString CGameWnd::BitmapFolderOf(const CString& themeFile) {
    const int dot = themeFile.ReverseFind('.');
    // A dot in a folder name is not the file's extension.
    const int slash = std::max(themeFile.ReverseFind('/'), themeFile.ReverseFind('\\'));
    if (dot < 0 || dot < slash)
        return CString();
    return themeFile.Left(dot);
}

BOOL CGameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style &= ~WS_BORDER;
    // With CS_DBLCLKS a fast second click comes as a double click, which the
    // sprite window takes as a press: a click on a card or button all the same.
    cs.lpszClass =
        AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS,
                            LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(kCursorId)),
                            GetSysColorBrush(COLOR_WINDOW));
    return CSpriteWnd::PreCreateWindow(cs);
}

int CGameWnd::OnCreate(LPCREATESTRUCT cs) {
    if (CSpriteWnd::OnCreate(cs) == -1)
        return -1;
    SetAnchorWindow(m_hWnd);
    m_strThemeFile = TableApp().GetThemeFile();
    m_strBitmapFolder = BitmapFolderOf(m_strThemeFile);
    SyncClientFields();
    if (m_pMagnifier == nullptr)
        m_pMagnifier = TableApp().CreateMagnifier(this, kMagnifierName);
    CreateSeatDisplays();
    if (!m_dealPace.Create(this))
        WriteLog("The table could not create its deal window");
    CreateTips();
    CreateButtons();
    SetInitialButtonStates();
    CreateCardFaces();
    CreateDeck();
    CreateClock();
    UpdateActionButtons(0, 0, FALSE);
    if (m_pClient != nullptr)
        m_pClient->SetGameWnd(this);
    CreateTextSprites();
    // The client has held receiving since it entered the table.
    EndHeldRecord();
    if (!m_soundHost.Init(m_hWnd, this, kSoundProduct, kSoundProduct))
        WriteLog("The sound plug-in is not available; the table goes on without it");
    // A seat change is refused for a while after the table opens.
    m_dwSeatChangeTick = GetTickCount();
    return 0;
}

void CGameWnd::OnDestroy() {
    // The client must not reach a window that is gone.
    if (m_pClient != nullptr && m_pClient->m_pGameWnd == this)
        m_pClient->SetGameWnd(nullptr);
    ReleaseInfo();
    SetAnchorWindow(nullptr);
    CSpriteWnd::OnDestroy();
}

void CGameWnd::CreateSeatDisplays() {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        CSeatDisplayWnd& display = m_seatDisplays[seat];
        if (display.m_hWnd != nullptr)
            display.SetName(display.GetNameRecord(), 0);
        else if (!display.Create("", 0, this, seat))
            WriteLog("The table could not create the display of seat %d", seat);
        else
            display.ShowWindow(SW_HIDE); // the plates draw it; its own window stays hidden
    }
}

void CGameWnd::CreateTips() {
    for (int tip = 0; tip < kTipCount; ++tip) {
        const TipSettings& s = SettingsOf(tip);
        CBalloonTipWnd& wnd = m_tips[tip];
        if (!wnd.Create(this)) {
            WriteLog("The table could not create balloon tip %d", tip);
            continue;
        }
        wnd.SetAutoHide(s.autoHideMs);
        wnd.SetTail(16, 8);
        wnd.SetMinSize(s.minSize.cx, s.minSize.cy);
        wnd.SetMaxSize(s.maxSize.cx, s.maxSize.cy);
        wnd.SetOpacity(s.opacity);
        wnd.SetBkColor(s.background);
        wnd.SetTextColor(s.text);
        wnd.SetFont(s.font);
        wnd.SetFrame(s.frame, s.frameWidth);
    }
}

void CGameWnd::StopSprite(int id) {
    if (POSITION pos = FindSpritePos(id))
        CSpriteWnd::StopSprite(pos, TRUE, FALSE);
}

void CGameWnd::GetWatcherValues(int* beans, int* score) const {
    m_records.GetWatcherValues(beans, score);
}

void CGameWnd::SetClient(CGameNetClient* client) {
    m_pClient = client;
    m_records.SetClient(client);
    m_commands.SetClient(client);
}

int CGameWnd::MySeat() const {
    return m_pClient != nullptr ? m_pClient->m_nMySeat : 0;
}

BOOL CGameWnd::IsWatcher() const {
    // Without a client nothing can be sent: treat the table as watched.
    return m_pClient == nullptr || m_pClient->m_bWatcher;
}

int CGameWnd::MyMask() const {
    return theBoard.GetSeatActionMask(MySeat());
}

int CGameWnd::OnSinkEvent(int type, int value, void* data, int size) {
    if (type == kSoundEventText && data != nullptr) {
        // The plug-in's words for a seat: its value names the seat.
        const auto* event = static_cast<const tagSOUNDTEXTEVENT*>(data);
        if ((event->dwFlags & 1) && event->pszText != nullptr && event->dwValue < kSeatCount)
            ShowSeatTip(event->pszText, int(event->dwValue));
        return 1;
    }
    if (type == kSoundEventPeerData && data != nullptr && size >= kSoundPeerDataSize &&
        m_pClient != nullptr) {
        m_pClient->SendPluginData(data);
        return 1;
    }
    WriteLog("The table ignored sound event %d (%d, %d bytes)", type, value, size);
    return 0;
}

void CGameWnd::NotBuiltYet(LPCSTR operation) const {
    WriteLog("The table cannot show %s yet", operation);
}

CSpriteButtonEx* CGameWnd::ButtonById(int id) {
    for (int i = 0; i < kButtonCount; ++i)
        if (ButtonIdOf(i) == id)
            return &m_buttons[i];
    return nullptr;
}

int CGameWnd::ButtonIdOf(int index) {
    static const int kIds[kButtonCount] = {
        kCmdTakeChance,    kCmdSound,      kCmdTrust,        kCmdTrustExit,     kCmdPrevturn,
        kCmdHistory,       kCmdExchange,   kCmdReel,         kCmdReelOpen,      kCmdMagnif,
        kCmdMagnifOpen,    kCmdTakeOut,    kCmdShaoPai,      kCmdPass,          kCmdGaveUp,
        kCmdRangpai,       kCmdSearch,     kCmdDeclPoint,    kCmdDeclPointOpen, kCmdDeclNoPoint,
        kCmdReturnTribute, kCmdRevolution, kCmdNoRevolution, kCmdGousiji,       kCmdNoGousiji,
        kCmdLeftCue,       kCmdRightCue};
    return index >= 0 && index < kButtonCount ? kIds[index] : -1;
}

void CGameWnd::ShowSeatMark(int seat, BOOL show) {
    ShowWaitMark(seat, !show);
}

void CGameWnd::RefreshSeat(int seat) {
    RedrawSeatPlate(seat);
}

void CGameWnd::OpenChargeDialog(const DWORD values[4]) {
    TableApp().OpenChargeDialog(this, values);
}

void CGameWnd::OpenExchangeDialog(DWORD amount) {
    TableApp().OpenExchangeDialog(this, amount);
}
