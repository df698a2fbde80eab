#pragma once
// The program's top-level window. Its client area is the main pane (table
// and chat); the skin draws its title bar and borders. It keeps the
// connection alive, asks before the user leaves, answers the title bar's
// user buttons, the screenshot and history keys and the about entry, and
// carries the network client's requests to the user.

#include "app/MainPane.h"
#include "app/ShellMessages.h"
#include "app/StartupRules.h"
#include "platform/window/Wnd.h"
#include "table/client/ClientShell.h"

class CGameWnd;
class CSettingDlg;
class CToolWnd;

class CMainFrame : public CWnd, public CClientShell {
    DECLARE_DYNCREATE(CMainFrame)

public:
    enum { kFrameResource = 3003, kAboutCommand = 0x10, kAboutString = 85 };
    enum { kIdleTimer = 1, kIdleMs = 30000, kSysCmdTimer = 7, kSysCmdMs = 1000 };
    enum { kTableTimer = 2, kTableClockTimer = 4009, kTableTimerMs = 1000 };
    enum { kHotKeyShot = 1001, kHotKeyHistory = 1002 };
    // User buttons of the title bar.
    enum { kAllowWatch = 0, kForbidWatch = 1, kShot = 2, kSettings = 3, kHelp = 4 };

    CMainFrame();
    ~CMainFrame() override;

    // Creates the window with the program's icon and the title of string 3003.
    BOOL LoadFrame(DWORD style);

    CGameWnd* GetGameWnd() const { return m_wndPane.GetGameWnd(); }
    CToolWnd* GetToolWnd() const { return m_wndPane.GetToolWnd(); }
    CMainPane& GetPane() { return m_wndPane; }
    BOOL IsActive() const { return m_bActive; }
    BOOL IsSysCmdReady() const { return m_bSysCmdReady; }
    BOOL IsMinimized() const { return m_bMinimized; }
    // The settings dialog last opened; null when none is open.
    CSettingDlg* GetSettingsDialog() const { return m_pOptionsDlg; }

    // What the close of this moment would ask and send, from theBoard and
    // theClient.
    static CloseFacts CurrentCloseFacts();

    // ---- what the network client asks of the frame ----
    HWND GetMainHwnd() const override { return m_hWnd; }
    int ShowMessageBox(LPCSTR text) override;
    CWnd* GetChatControl() const override;
    void AppendChatSysText(LPCSTR text) override;
    void SetChatUserField(LPCSTR user, LPCSTR caption, LPCSTR value) override;

    // Handlers, public so the frame's behaviour can be driven directly.
    int OnCreate(LPCREATESTRUCT cs) override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnSetFocus(CWnd*) override {}
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    void OnTimer(UINT_PTR id) override;
    void OnActivate(UINT state, CWnd* other, BOOL minimized) override;
    void OnHotKey(UINT id, UINT modifiers, UINT vk) override;
    void OnClose() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSetupChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrustExit(WPARAM wParam, LPARAM lParam);
    LRESULT OnUserButton(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCloseCommand();
    // The frame or one of its pop-ups is active.
    BOOL HotKeysMayAct() const;
    // Minimise, maximise and restore take effect at most once a second.
    BOOL TakeSysCommand();
    void TakeScreenshot();
    void OpenHelp();
    void OpenSettings();
    void CloseSettings();
    void PostToTable(UINT message);

    BOOL m_bActive;
    CMainPane m_wndPane;
    HICON m_hIcon;
    CSettingDlg* m_pOptionsDlg;
    BOOL m_bMinimized;
    BOOL m_bSysCmdReady;
    // The user's close was decided (or the connection is gone): the table's
    // close of the window goes through.
    BOOL m_bLeaveDecided = FALSE;
};
