#include "table/window/GameWnd.h"

#include "platform/resources/Resource.h"
#include "platform/system/Clock.h"
#include "platform/window/Cursor.h"
#include "platform/window/SystemMetrics.h"
#include "sprite/AppServices.h"
#include "sprite/Theme.h"
#include "table/client/GameNetClient.h"
#include "table/common/TableAppLink.h"

IMPLEMENT_DYNCREATE(CGameWnd, CSpriteWnd)

namespace {

const char kSoundProduct[] = "Pellor2";
const char kMagnifierName[] = "Dovrik";

} // namespace

CGameWnd::CGameWnd() : CGameWnd(theBoard) {}

CGameWnd::CGameWnd(CGameLogic& board) : m_board(board), m_pClient(&theClient) {
    SetClient(m_pClient);
    // Sprite places are anchored to this window's client area.
    SetPosResolver(AnchorToClient);
    m_fields.cardsSettled = [this] { FinishCardsSettled(); };
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
    m_panes.SetLayoutFile(m_strThemeFile);
    m_marks.SetTheme(m_strThemeFile, m_strBitmapFolder);
    UpdateViewpoint();
    if (m_pMagnifier == nullptr)
        m_pMagnifier = TableApp().CreateMagnifier(this, kMagnifierName);
    CreateSeatDisplays();
    if (!m_dealPace.Create(this))
        WriteLog("The table could not create its deal window");
    m_info.CreateTips();
    CreateButtons();
    SetInitialButtonStates();
    CreateCardFaces();
    CreateDeck();
    CreateClock();
    UpdateActionButtons(0, 0, FALSE);
    if (m_pClient != nullptr)
        m_pClient->SetGameWnd(this);
    m_marks.CreateTextSprites();
    // The client has held receiving since it entered the table.
    if (m_pClient != nullptr)
        ReceiveGate().Release(CReceiveGate::kStartUp);
    SetTimer(kGateWatchTimer, CReceiveGate::kWatchPeriodMs, nullptr);
    if (!m_soundHost.Init(m_hWnd, this, kSoundProduct, kSoundProduct))
        WriteLog("The sound plug-in is not available; the table goes on without it");
    // A seat change is refused for a while after the table opens.
    m_dwSeatChangeTick = GetTickCount();
    return 0;
}

void CGameWnd::OnDestroy() {
    // The client must not reach a window that is gone.
    if (m_pClient != nullptr && m_pClient->m_pGameWnd == this) {
        m_pClient->SetGameWnd(nullptr);
        // A presentation cut short by the window's end never opens the gate.
        ReceiveGate().ReleaseAbandoned();
    }
    m_info.Release();
    m_panes.ClearReel();
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
    m_panes.SetClient(client);
    m_info.SetClient(client);
    m_marks.SetClient(client);
}

BOOL CGameWnd::IsWatcher() const {
    // Without a client nothing can be sent: treat the table as watched.
    return m_pClient == nullptr || m_fields.viewpoint.bWatcher;
}

int CGameWnd::MyMask() const {
    return m_board.GetSeatActionMask(m_fields.viewpoint.nMySeat);
}

void CGameWnd::ClearPlayMarks() {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        m_marks.MarkRevolution(seat, FALSE);
        m_marks.MarkShao(seat, FALSE, FALSE);
        m_marks.ShowActionMark(seat, 0);
    }
}

POINT CGameWnd::ToScreen(POINT clientPoint) {
    ClientToScreen(&clientPoint);
    return clientPoint;
}

void CGameWnd::OpenSoundPanel(POINT screenPoint) {
    const int place[2] = {screenPoint.x, screenPoint.y};
    m_soundHost.SetPosition(place, int(sizeof place));
    m_soundHost.ShowPanel(1);
}

CSpriteButtonEx* CGameWnd::PaneButton(int id) {
    return dynamic_cast<CSpriteButtonEx*>(FindItem(id));
}

int CGameWnd::OnSinkEvent(int type, int value, void* data, int size) {
    if (type == kSoundEventText && data != nullptr) {
        // The plug-in's words for a seat: its value names the seat.
        const auto* event = static_cast<const tagSOUNDTEXTEVENT*>(data);
        if ((event->dwFlags & 1) && event->pszText != nullptr && event->dwValue < kSeatCount)
            m_info.ShowSeatTip(event->pszText, int(event->dwValue));
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
    m_marks.ShowWaitMark(seat, !show);
}

void CGameWnd::RefreshSeat(int seat) {
    RedrawSeatPlate(seat);
}

void CGameWnd::RedrawTableInfo() {
    for (int seat = 0; seat < kSeatCount; ++seat)
        RedrawSeatPlate(seat);
}

void CGameWnd::OpenChargeDialog(const DWORD values[4]) {
    TableApp().OpenChargeDialog(this, values);
}

void CGameWnd::OpenExchangeDialog(DWORD amount) {
    TableApp().OpenExchangeDialog(this, amount);
}
