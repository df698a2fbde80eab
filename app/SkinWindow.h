#pragma once
// A frame skin put on one top-level window by replacing the window's
// procedure: the client area inside the skin's borders, the painted frame and
// its outline, the caption buttons with their hot and pressed faces, the
// system menu, double-click to maximise, tooltips for the user buttons, and
// the private messages that show, enable and restyle the user buttons.

#include "app/SkinFrameDraw.h"
#include "platform/controls/ToolTip.h"

#include <vector>

// The skin's messages: WM_SKIN_ENABLEBUTTON, WM_SKIN_SHOWBUTTON,
// WM_SKIN_USERBUTTON and WM_SKIN_ALTLOOK (sprite/WindowMessages.h).
#include "sprite/WindowMessages.h"

class CSkinWindow {
public:
    // The timer that notices the mouse leaving the frame.
    static constexpr UINT_PTR kHoverTimer = 0x5436;
    static constexpr UINT kHoverTimerMs = 200;
    // A caption holds at most this many user buttons.
    static constexpr int kMaxShownButtons = 9;

    // Takes any skin off the window, then (with a skin) puts a new one on,
    // showing the user buttons whose group is empty or the section's name.
    // The skin is not owned: it must stay until the window goes or is
    // attached again (the layout holder keeps the program's one skin).
    static void Attach(HWND hwnd, LPCSTR section, CSkinFrame* skin);
    // The skin on a window, or null.
    static CSkinWindow* FromWindow(HWND hwnd);

    const std::vector<int>& ShownButtons() const { return m_aButtons; }
    int HotHit() const { return m_nHot; }
    int PressedHit() const { return m_nPressed; }
    BOOL IsActive() const { return m_bActive; }
    // The frame as it would be painted now.
    skin::FrameState State() const;

private:
    CSkinWindow(HWND hwnd, LPCSTR section, CSkinFrame* skin);
    ~CSkinWindow();
    static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Gives the window its old procedure back and deletes the object (at
    // once, or when a running press loop has let go of it).
    void Detach();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Old(UINT message, WPARAM wParam, LPARAM lParam);
    void RelayToTip(UINT message, WPARAM wParam, LPARAM lParam);
    void OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    void OnNcMouseMove(int hit, LPARAM lParam);
    void OnNcLButtonDown(int hit, LPARAM lParam);
    void OnNcLButtonUp(int hit);
    void RunPressLoop();
    void OnTimer();
    void ShowSystemMenu(POINT screen);
    void ShowButton(int index, bool show);
    void PaintFrame();
    void DrawButton(int hit, int state);
    int HitAtScreen(POINT screen) const;

    CSkinFrame* m_pSkin;
    CToolTipCtrl m_wndTip;
    WNDPROC m_pfnOldProc = nullptr;
    HWND m_hWnd;
    DWORD m_dwStyle;
    std::vector<int> m_aButtons;
    int m_nHot = 0;
    int m_nHover = 0;
    int m_nPressed = 0;
    BOOL m_bHoverTimer = FALSE;
    BOOL m_bActive = TRUE;
    BOOL m_bActivating = FALSE;
    BOOL m_bInMenu = FALSE;
    // A press loop runs on this object's stack: deleting must wait for it.
    bool m_bInPressLoop = false;
    bool m_bDetached = false;
};
