#include "app/GameApp.h"

#include "app/AppServices.h"
#include "app/GameAppLink.h"
#include "app/HeadlessPlay.h"
#include "app/LoadingWnd.h"
#include "app/MainFrame.h"
#include "app/MessageBoxDlg.h"
#include "app/ProgramVersion.h"
#include "app/SkinWindow.h"
#include "app/StartupRules.h"
#include "platform/resources/Resource.h"
#include "platform/system/Path.h"
#include "platform/window/SystemMetrics.h"
#include "sprite/Theme.h"
#include "table/client/GameNetClient.h"

CGameApp theApp;

namespace {

const char kResourceLibrary[] = "Pellor2_res.dll";
const char kResourceScript[] = "Pellor2_res.rc";

} // namespace

CGameApp::CGameApp()
    : m_hResDll(nullptr), m_pChatCtrl(nullptr), m_pMainWnd(nullptr), m_pLoading(nullptr) {}

CGameApp::~CGameApp() {
    delete m_pLoading;
    ReleaseInstanceMapping();
}

CString CGameApp::GetSettingsFile() const {
    return CGameSettings::DefaultPath();
}

void CGameApp::LoadSettings() {
    m_settings.LoadSettings(GetSettingsFile());
}

void CGameApp::SaveSettings() {
    m_settings.SaveSettings(GetSettingsFile());
}

BOOL CGameApp::FailStart(LPCSTR text) {
    if (m_pLoading != nullptr) {
        m_pLoading->DestroyWindow();
        delete m_pLoading;
        m_pLoading = nullptr;
    }
    m_strStartFailure = text;
    WriteLog("%s", text);
    return FALSE;
}

BOOL CGameApp::LoadResourceLibrary() {
    // The resource library is a script beside the program; it must be known
    // before it can be loaded.
    const CString script = GetExeFolder() + kResourceScript;
    std::string error;
    if (!RegisterResourceModule(kResourceLibrary, NativePath(script), &error)) {
        WriteLog("%s", error.c_str());
        return FALSE;
    }
    m_hResDll = LoadLibrary(kResourceLibrary);
    if (m_hResDll == nullptr)
        return FALSE;
    AfxSetResourceHandle(m_hResDll);
    return TRUE;
}

BOOL CGameApp::InitInstance() {
    m_strStartFailure.Empty();
    RegisterProgramVersion();
    LoadSettings();
    m_strThemeFileBmp = m_layout.GetThemeFile(0);
    m_strThemeFileGif = m_layout.GetThemeFile(1);
    SetRegistryKey("Quillane\\Game");
    // The box is there before anything can fail, so that every failure the
    // player is told of reaches the screen.
    if (m_bUnattended)
        SetMessageBoxPresenter(m_pfnUnattendedAnswer != nullptr ? m_pfnUnattendedAnswer
                                                                : &CHeadlessPlay::AnswerUnattended);
    else
        InstallMessageBox();
    if (!LoadResourceLibrary()) {
        FailStart("载入资源库失败!");
        ShowMessageBox("载入资源库失败!");
        return FALSE;
    }
    SetTableAppLink(&TheGameAppLink());

    m_pLoading = new CLoadingWnd;
    m_pLoading->Create();
    if (!kn::theTheme.Open("Pellor2"))
        return FailStart("kn::theTheme初始化失败!");
    if (!m_layout.Load())
        return FailStart("载入资源失败!");
    if (!theClient.Init(0))
        return FailStart("初始化网络模块失败!");
    if (!theClient.EnterGame()) {
        FailStart("进入游戏通道失败!");
        ShowMessageBox("进入游戏通道失败!");
        return FALSE;
    }
    // No record comes in before the table window exists; its creation opens the gate.
    theClient.ReceiveGate().Hold(CReceiveGate::kStartUp);
    CString reason;
    int seat = theClient.m_nMySeat;
    if (!SettleSeat(theClient.m_bWatcher, &seat, &reason)) {
        // A player's seat indexes every table of six: one outside them is refused.
        theClient.LeaveGame();
        return FailStart(reason);
    }
    theClient.m_nMySeat = seat;

    RECT work{};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    const SIZE workArea{work.right - work.left, work.bottom - work.top};
    const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const WindowPlacementChoice place = ChooseWindowPlacement(
        m_settings.m_nWindowWidth, m_settings.m_nWindowHeight, workArea, screen);

    m_pMainWnd = new CMainFrame;
    AfxSetMainWnd(m_pMainWnd);
    if (!m_pMainWnd->LoadFrame(WS_OVERLAPPEDWINDOW)) {
        delete m_pMainWnd;
        m_pMainWnd = nullptr;
        AfxSetMainWnd(nullptr);
        return FailStart("主窗口创建失败!");
    }
    const CString version = m_layout.GetFileVersion("Pellor2");
    m_pMainWnd->SetWindowText(FormatGameTitle(version, theClient.m_szNickName,
                                              theClient.m_szUserName, theClient.m_bWatcher));
    m_pLoading->DestroyWindow();
    delete m_pLoading;
    m_pLoading = nullptr;

    CSkinWindow::Attach(m_pMainWnd->m_hWnd, "main", m_layout.m_pSkinFrame.get());
    m_pMainWnd->PostMessage(WM_SKIN_SHOWBUTTON, m_settings.m_bAllowWatch ? 0 : 1, 0);
    if (!place.maximized) {
        m_pMainWnd->MoveWindow((screen.cx - place.width) / 2, (screen.cy - place.height) / 2,
                               place.width, place.height);
        m_pMainWnd->ShowWindow(SW_SHOW);
    } else {
        if (place.resolutionNotice)
            ShowMessageBox("您显示器的分辨率达不到1024*768的标准，为不影响您继续游戏，强烈建议您"
                           "把分辨率设置成1024*768以上!");
        m_pMainWnd->ShowWindow(SW_MAXIMIZE);
    }
    m_pMainWnd->UpdateWindow();
    kn::theTheme.PlayMusic("", 0, 1);
    // An empty name hands the player the sound folder itself.
    if (m_settings.m_bAllowBSound)
        kn::theTheme.PlayMusic(kn::theTheme.GetSoundDir() + m_settings.m_strBackMusic, 1, 1);
    return TRUE;
}

int CGameApp::Run() {
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        if (!AfxPreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    return int(msg.wParam);
}

int CGameApp::ExitInstance() {
    SaveSettings();
    SetTableAppLink(nullptr);
    if (m_pMainWnd != nullptr) {
        if (m_pMainWnd->m_hWnd != nullptr)
            m_pMainWnd->DestroyWindow();
        delete m_pMainWnd;
        m_pMainWnd = nullptr;
    }
    if (m_pLoading != nullptr) {
        m_pLoading->DestroyWindow();
        delete m_pLoading;
        m_pLoading = nullptr;
    }
    if (m_hResDll != nullptr) {
        AfxSetResourceHandle(nullptr);
        FreeLibrary(m_hResDll);
        m_hResDll = nullptr;
    }
    // Held since the table was entered when no table window ever opened it.
    theClient.ReceiveGate().ReleaseAbandoned();
    ReleaseInstanceMapping();
    return 0;
}
