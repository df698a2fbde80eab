#include "app/MainFrame.h"

#include "app/AboutDlg.h"
#include "app/AppServices.h"
#include "app/GameApp.h"
#include "app/GameAppLink.h"
#include "app/SettingDlg.h"
#include "app/SkinWindow.h"
#include "app/ToolWnd.h"
#include "game/GameLogic.h"
#include "platform/resources/Resource.h"
#include "platform/system/Profile.h"
#include "platform/system/Shell.h"
#include "platform/window/HotKey.h"
#include "platform/window/Menu.h"
#include "platform/window/NonClient.h"
#include "platform/window/WindowAttention.h"
#include "sprite/Theme.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"

IMPLEMENT_DYNCREATE(CMainFrame, CWnd)

namespace {

// theBoard keeps the double-revolution mark for its referee; the frame only
// reads it.
struct BoardFacts : CGameLogic {
    static BOOL DoubleRevolution(const CGameLogic& board) {
        return board.*(&BoardFacts::m_bFirstGame) != 0;
    }
};

CString LoadResourceString(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

} // namespace

CMainFrame::CMainFrame()
    : m_bActive(FALSE), m_hIcon(LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(kFrameResource))),
      m_pOptionsDlg(nullptr), m_bMinimized(FALSE), m_bSysCmdReady(TRUE) {}

CMainFrame::~CMainFrame() {
    CloseSettings();
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CMainFrame::LoadFrame(DWORD style) {
    CString title;
    title.LoadString(kFrameResource);
    return CreateEx(0, AfxRegisterWndClass(0), title, style, 0, 0, 1024, 734, nullptr, nullptr);
}

CloseFacts CMainFrame::CurrentCloseFacts() {
    CloseFacts facts;
    facts.watcher = theClient.m_bWatcher;
    facts.gameState = theBoard.GetGameState();
    facts.ruleFlags = theBoard.GetRuleFlags();
    facts.gamesPlayed = theBoard.GetGamesPlayed();
    facts.gamesRequired = theBoard.GetTableHead().nGamesToPlay;
    facts.doubleRevolution = BoardFacts::DoubleRevolution(theBoard);
    return facts;
}

// ---- creation and destruction ----

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    CGameLayout& layout = theApp.m_layout;
    m_wndPane.SetSplitterBitmaps(&layout.m_bmpSplitterBack, &layout.m_bmpSplitterBackA,
                                 &layout.m_bmpSplitterOpen, &layout.m_bmpSplitterClose);
    const int side =
        layout.m_bmpLogo.GetSafeHandle() != nullptr ? GetBitmapSize(layout.m_bmpLogo).cx : 200;
    m_wndPane.SetBarWidths(side, side, side);
    CRect client;
    GetClientRect(&client);
    if (!m_wndPane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, client, this,
                          CMainPane::kPaneId) ||
        !m_wndPane.CreateViews(RUNTIME_CLASS(CGameWnd), RUNTIME_CLASS(CToolWnd)))
        return -1;
    theClient.SetShell(this);
    // Without a chat control nothing may be asked of it.
    if (CKNChatEx* chat = theApp.m_pChatCtrl) {
        if (CGameWnd* table = GetGameWnd())
            chat->SetNotifyWindow(table->m_hWnd, WM_CHAT_OWN_LINE, WM_CHAT_RECEIVED);
        chat->CallMember87(TRUE);
    }
    SetTimer(kIdleTimer, kIdleMs);
    const CString about = LoadResourceString(kAboutString);
    if (CMenu* menu = GetSystemMenu(FALSE); menu != nullptr && !about.IsEmpty()) {
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, kAboutCommand, about);
    }
    RegisterHotKey(m_hWnd, kHotKeyShot, MOD_CONTROL, 'S');
    RegisterHotKey(m_hWnd, kHotKeyHistory, MOD_CONTROL, 'W');
    return 0;
}

void CMainFrame::OnDestroy() {
    UnregisterHotKey(m_hWnd, kHotKeyShot);
    UnregisterHotKey(m_hWnd, kHotKeyHistory);
    KillTimer(kIdleTimer);
    if (theApp.m_pMainWnd == this || AfxGetMainWnd() == this)
        theClient.SetShell(nullptr);
    // The table in the pane goes with the frame: its dialogs go first.
    CloseSettings();
    TheGameAppLink().DestroyAll();
    CWnd::OnDestroy();
}

void CMainFrame::PostNcDestroy() {
    // The program ends with its main window.
    if (AfxGetMainWnd() == this) {
        AfxSetMainWnd(nullptr);
        PostQuitMessage(0);
    }
}

// ---- size, activation ----

void CMainFrame::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    int width = 0, height = 0;
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    const SIZE border{window.Width() - client.Width(), window.Height() - client.Height()};
    // A minimised frame keeps the user's size for the next start.
    if (StoredFrameSize(type, cx, cy, border, &width, &height)) {
        theApp.m_settings.m_nWindowWidth = width;
        theApp.m_settings.m_nWindowHeight = height;
    }
    if (type != SIZE_MINIMIZED && m_wndPane.m_hWnd != nullptr)
        m_wndPane.MoveWindow(0, 0, cx, cy);
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* info) {
    CWnd::OnGetMinMaxInfo(info);
    info->ptMinTrackSize.x = 930;
    info->ptMinTrackSize.y = 718;
}

void CMainFrame::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    CWnd::OnActivate(state, other, minimized);
    CGameWnd* table = GetGameWnd();
    if (table == nullptr)
        return;
    table->KillTimer(kTableTimer);
    table->KillTimer(kTableClockTimer);
    if (state != WA_INACTIVE) {
        table->SetTimer(kTableTimer, kTableTimerMs);
        table->SetTimer(kTableClockTimer, kTableTimerMs);
        m_bActive = TRUE;
    } else {
        if (table->Info().Tip(kTableTip).m_hWnd != nullptr)
            table->Info().Tip(kTableTip).Hide();
        table->Info().SetInfoTipSeat(-1);
        m_bActive = FALSE;
    }
}

// ---- system commands ----

BOOL CMainFrame::TakeSysCommand() {
    if (!m_bSysCmdReady)
        return FALSE;
    m_bSysCmdReady = FALSE;
    SetTimer(kSysCmdTimer, kSysCmdMs);
    return TRUE;
}

void CMainFrame::PostToTable(UINT message) {
    if (message == WM_TABLE_LEAVE)
        m_bLeaveDecided = TRUE;
    if (CGameWnd* table = GetGameWnd())
        table->PostMessage(message, 0, 0);
    else if (message == WM_TABLE_LEAVE)
        PostMessage(WM_CLOSE, 0, 0);
}

void CMainFrame::OnClose() {
    // The desktop's close button arrives as a plain close: it asks the same
    // questions as the system menu. The table's own close, after the
    // decision, goes through.
    if (!m_bLeaveDecided) {
        OnCloseCommand();
        return;
    }
    CWnd::OnClose();
}

void CMainFrame::OnCloseCommand() {
    CloseDecision decision = DecideClose(CurrentCloseFacts(), LoadResourceString);
    if (!decision.question.IsEmpty()) {
        if (ShowMessageBox(decision.question) != IDOK)
            return;
        // Records go on while the question is open: a game may have ended
        // (or begun) meanwhile, and the leave follows the table as it is now.
        decision = DecideClose(CurrentCloseFacts(), LoadResourceString);
    }
    if (decision.send == CloseSend::kTrustExitGame)
        theClient.TrustExitGame();
    else if (decision.send == CloseSend::kLeaveGame)
        theClient.LeaveGame();
    PostToTable(WM_TABLE_LEAVE);
}

void CMainFrame::OnSysCommand(UINT id, LPARAM lParam) {
    CGameWnd* table = GetGameWnd();
    // Only maximise and restore hold the table while its size changes.
    BOOL heldTable = FALSE;
    switch (id & 0xFFF0) {
    case SC_CLOSE:
        OnCloseCommand();
        return;
    case SC_MINIMIZE:
        if (!TakeSysCommand())
            return;
        m_bMinimized = TRUE;
        break;
    case SC_MAXIMIZE:
        if (!TakeSysCommand())
            return;
        m_bMinimized = FALSE;
        if (table != nullptr) {
            if (table->ReceiveGate().IsHeld())
                return;
            table->ReceiveGate().Hold(CReceiveGate::kLayout);
            heldTable = TRUE;
        }
        break;
    case SC_RESTORE:
        if (!TakeSysCommand())
            return;
        if (table != nullptr && !m_bMinimized) {
            if (table->ReceiveGate().IsHeld()) {
                m_bMinimized = FALSE;
                return;
            }
            table->ReceiveGate().Hold(CReceiveGate::kLayout);
            heldTable = TRUE;
        }
        m_bMinimized = FALSE;
        break;
    case kAboutCommand: {
        CAboutDlg about(this);
        about.DoModal();
        break;
    }
    default:
        break;
    }
    CWnd::OnSysCommand(id, lParam);
    // The size change has been laid out: the table takes clicks and records
    // again (it was ready when the command came).
    if (heldTable && ::IsWindow(table->m_hWnd))
        table->ReceiveGate().Release(CReceiveGate::kLayout);
}

// ---- timers and private messages ----

void CMainFrame::OnTimer(UINT_PTR id) {
    switch (id) {
    case kIdleTimer:
        theClient.SendIdle();
        break;
    case kCloseNoticeTimer:
        // The client starts this timer only when no leave is under way yet
        // (it marks the leave as it starts it), so the notice is due.
        KillTimer(kCloseNoticeTimer);
        if (CGameWnd* table = GetGameWnd())
            table->ShowStartButtons(FALSE);
        ShowMessageBox("网络连接关闭!");
        PostMessage(WM_LEAVE_TABLE, 0, 0);
        break;
    case kSysCmdTimer:
        KillTimer(kSysCmdTimer);
        m_bSysCmdReady = TRUE;
        break;
    default:
        break;
    }
    CWnd::OnTimer(id);
}

LRESULT CMainFrame::OnSetupChanged(WPARAM wParam, LPARAM lParam) {
    CGameWnd* table = GetGameWnd();
    if (wParam == 1) {
        if (int(lParam) != theApp.m_settings.m_nCardOrder) {
            theApp.m_settings.m_nCardOrder = int(lParam);
            if (table != nullptr) {
                // Cards dealt from now on follow the new order too.
                table->UpdateViewpoint();
                table->Hands().SortCardbyWeight(table->Viewpoint().nCardOrder);
            }
        }
    } else if (table != nullptr) {
        table->ShowStartButtons(TRUE);
    }
    return 0;
}

LRESULT CMainFrame::OnTrustExit(WPARAM, LPARAM) {
    if (GetGameWnd() != nullptr) {
        theClient.TrustExitGame();
        PostToTable(WM_TABLE_LEAVE);
    }
    return 0;
}

LRESULT CMainFrame::OnUserButton(WPARAM wParam, LPARAM) {
    switch (wParam) {
    case kAllowWatch:
    case kForbidWatch: {
        if (theClient.m_bWatcher)
            break;
        const int allow = wParam == kAllowWatch ? 1 : 0;
        theApp.m_settings.m_bAllowWatch = allow;
        theClient.SendWatcherCanSeeMyCard(allow);
        // The pressed button goes, the other one comes.
        PostMessage(WM_SKIN_SHOWBUTTON, wParam, 0);
        PostMessage(WM_SKIN_SHOWBUTTON, wParam == kAllowWatch ? kForbidWatch : kAllowWatch, 1);
        break;
    }
    case kShot:
        TakeScreenshot();
        break;
    case kSettings:
        OpenSettings();
        break;
    case kHelp:
        OpenHelp();
        break;
    default:
        break;
    }
    return 0;
}

void CMainFrame::OpenSettings() {
    // The one left from before goes first.
    CloseSettings();
    m_pOptionsDlg = new CSettingDlg(this, theApp.m_settings, theApp.GetSettingsFile(),
                                    kn::theTheme.GetSoundDir());
    if (!m_pOptionsDlg->Create()) {
        WriteLog("The settings dialog could not be made");
        CloseSettings();
        return;
    }
    m_pOptionsDlg->ShowWindow(SW_SHOW);
}

void CMainFrame::CloseSettings() {
    if (m_pOptionsDlg == nullptr)
        return;
    if (m_pOptionsDlg->GetSafeHwnd() != nullptr)
        m_pOptionsDlg->DestroyWindow();
    delete m_pOptionsDlg;
    m_pOptionsDlg = nullptr;
}

void CMainFrame::TakeScreenshot() {
    CString notice;
    // A picture that could not be written is told as a saved one is.
    theApp.SaveSnapshot(theApp.m_settings.m_strPhotoPath, notice);
    if (notice.IsEmpty())
        return;
    if (CGameWnd* table = GetGameWnd())
        table->ShowStatusTip(notice);
}

void CMainFrame::OpenHelp() {
    OpenWebLink(kLinkHelp);
}

BOOL CMainFrame::HotKeysMayAct() const {
    if (m_bActive)
        return TRUE;
    // One of the program's own pop-ups over the frame (the history or the
    // betting dialog) holds the activation: the keys are still the user's
    // at this table, so that Ctrl+W closes the history it opened.
    const HWND active = ::GetActiveWindow();
    if (active == nullptr || active == m_hWnd)
        return FALSE;
    for (HWND owner = ::GetParent(active); owner != nullptr; owner = ::GetParent(owner))
        if (owner == m_hWnd)
            return TRUE;
    return FALSE;
}

void CMainFrame::OnHotKey(UINT id, UINT, UINT) {
    if (!HotKeysMayAct())
        return;
    if (id == kHotKeyShot)
        TakeScreenshot();
    else if (id == kHotKeyHistory && GetGameWnd() != nullptr)
        GetGameWnd()->Commands().OnHistory();
}

BOOL CMainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (m_wndPane.m_hWnd != nullptr && m_wndPane.OnCommand(wParam, lParam))
        return TRUE;
    return CWnd::OnCommand(wParam, lParam);
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHELL_RESORT:
        return OnSetupChanged(wParam, lParam);
    case WM_LEAVE_TABLE:
        return OnTrustExit(wParam, lParam);
    case WM_SKIN_USERBUTTON:
        return OnUserButton(wParam, lParam);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

// ---- what the network client asks ----

int CMainFrame::ShowMessageBox(LPCSTR text) {
    return ::ShowMessageBox(text);
}

CWnd* CMainFrame::GetChatControl() const {
    return theApp.m_pChatCtrl;
}

void CMainFrame::AppendChatSysText(LPCSTR text) {
    ::AppendChatSysText(theApp.m_pChatCtrl != nullptr ? theApp.m_pChatCtrl->m_hWnd : nullptr, text);
}

void CMainFrame::SetChatUserField(LPCSTR user, LPCSTR caption, LPCSTR value) {
    if (theApp.m_pChatCtrl != nullptr)
        theApp.m_pChatCtrl->SetUserField(user, caption, value);
}
