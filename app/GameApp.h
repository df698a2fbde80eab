#pragma once
// The application object: the settings of pellor2.ini, the resource
// library, the layout holder, the chat control, start-up and shut-down, and
// the screenshot of the main window.

#include "app/AppServices.h"
#include "app/GameSettings.h"
#include "platform/CString.h"
#include "platform/system/Module.h"
#include "platform/window/Wnd.h"
#include "sprite/GameLayout.h"

class CKNChatEx;
class CLoadingWnd;
class CMainFrame;

class CGameApp {
public:
    CGameApp();
    ~CGameApp();
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    // Brings the client up; FALSE ends the program (ExitInstance still runs).
    BOOL InitInstance();
    int ExitInstance();
    // The message loop, until the main window is gone; the quit code.
    int Run();

    // Reads and writes m_settings from and to the settings file.
    void LoadSettings();
    void SaveSettings();
    // pellor2.ini in the program's folder.
    CString GetSettingsFile() const;

    // Copies the main window (frame included) to the clipboard and into a
    // JPEG file in the folder; the notice naming the file goes to out and to
    // the chat area. FALSE when nothing was written: without a window with
    // no notice, else with the notice that the file could not be written.
    BOOL SaveSnapshot(LPCSTR folder, CString& out);

    // The company key under which the program's profile lives in the registry.
    void SetRegistryKey(LPCSTR company);
    // TRUE when a copy of the program already plays this account's seat; else
    // this copy now holds the seat until ExitInstance. Call it once the
    // client knows the seat. Start-up does not ask.
    BOOL IsAlreadyRunning();

    HMODULE m_hResDll;
    CGameLayout m_layout;
    CKNChatEx* m_pChatCtrl;
    CString m_strThemeFileBmp;
    CString m_strThemeFileGif;
    // The settings of pellor2.ini; the settings dialog edits them in place.
    CGameSettings m_settings;

    CMainFrame* m_pMainWnd;
    // Nobody is at the screen: questions are answered OK and printed.
    BOOL m_bUnattended = FALSE;
    // How questions are answered then (null: OK, printed and logged).
    MessageBoxPresenter m_pfnUnattendedAnswer = nullptr;
    // The text of the failure that ended start-up (empty after a good start).
    CString m_strStartFailure;

private:
    // Logs the failure, takes the splash down and gives FALSE.
    BOOL FailStart(LPCSTR text);
    BOOL LoadResourceLibrary();
    void PlaceMainWindow();

    void ReleaseInstanceMapping();

    CLoadingWnd* m_pLoading;
    HANDLE m_hInstanceMapping = nullptr;
};

extern CGameApp theApp;
