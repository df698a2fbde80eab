#pragma once

// The window tree's own records. Used by the files of the window manager only;
// the system's code goes through platform/Window.h and CWnd.

#include "platform/window/Window.h"

#include <string>
#include <thread>
#include <vector>

class CWnd;

namespace platform {

struct WindowRecord {
    HWND handle = nullptr;
    CWnd* wnd = nullptr;     // the attached CWnd, if any
    CWnd* wrapper = nullptr; // a CWnd made by CWnd::FromHandle, owned here
    WNDPROC classProc = nullptr;
    UINT classStyle = 0;
    HCURSOR classCursor = nullptr;
    std::string className;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    RECT rect{};                    // parent client coordinates; screen for top-level windows
    RECT client{};                  // the client area in window coordinates (WM_NCCALCSIZE)
    bool ncInvalid = false;         // the frame waits for WM_NCPAINT
    RECT restoreRect{};             // where a maximised window goes back to
    WNDPROC subclassProc = nullptr; // set through GWL_WNDPROC; null: the window's own
    HMENU systemMenu = nullptr;
    HICON bigIcon = nullptr; // WM_SETICON: the window shows these, it does not own them
    HICON smallIcon = nullptr;
    bool frameActive = false; // the frame is drawn as active (WM_NCACTIVATE)
    int pressedButton = 0;    // the caption button pressed (HTCLOSE ...), 0: none
    WindowRecord* parent = nullptr;
    HWND owner = nullptr;
    std::vector<WindowRecord*> children; // front first
    HRGN region = nullptr;
    COLORREF layeredKey = 0;
    BYTE layeredAlpha = 255;
    DWORD layeredFlags = 0;
    std::vector<RECT> invalid; // client coordinates
    bool eraseBackground = false;
    bool destroying = false;
    std::thread::id thread;

    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
    bool Visible() const { return (style & WS_VISIBLE) != 0; }
    int ClientWidth() const { return client.right - client.left; }
    int ClientHeight() const { return client.bottom - client.top; }
    // The client area is smaller than the window: there is a frame to paint.
    bool HasFrame() const {
        return client.left != 0 || client.top != 0 || client.right != Width() ||
               client.bottom != Height();
    }
};

// Null for a handle that is not (or no longer) a window. User-interface thread.
WindowRecord* FindWindowRecord(HWND hwnd);
// The top-level windows, front first.
const std::vector<WindowRecord*>& TopLevelWindows();
// The z-ordered siblings list the record lives in (its parent's children or the
// top-level list).
std::vector<WindowRecord*>& SiblingsOf(WindowRecord* record);
// The thread that created the window; false when there is no such window. Any thread.
bool WindowThread(HWND hwnd, std::thread::id* thread);

// Delivers a message to the window's CWnd or class procedure, in this thread.
LRESULT DeliverMessage(WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam);

// The window's origin in screen coordinates.
POINT ScreenOrigin(const WindowRecord* record);
// The client area's origin in screen coordinates.
POINT ClientScreenOrigin(const WindowRecord* record);
// Asks the window for its client area (WM_NCCALCSIZE) after its rectangle
// changed from `before` (or its frame styles changed); marks the frame for
// painting when there is one.
void RecalcClientArea(WindowRecord* record, const RECT& before);
// The procedure messages reach first: the one set through GWL_WNDPROC, else
// the window's own (its CWnd's dispatch or its class procedure).
WNDPROC CurrentWindowProc(const WindowRecord* record);
// The procedure standing for a CWnd's own dispatch.
LRESULT CALLBACK WndObjectProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The deepest visible window under a screen point, leaving out the windows
// in passedOver (they answered HTTRANSPARENT): a sibling below or the parent
// takes the point instead.
HWND WindowBeneath(POINT screen, const std::vector<HWND>& passedOver);

// Input messages carry the cursor's screen point (MSG::pt).
BOOL PostInputMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, POINT screen);
POINT CursorPosition();
// Activation that says how it came (WA_ACTIVE or WA_CLICKACTIVE).
HWND ActivateWindow(HWND hwnd, WPARAM how);
// Maximising, minimising and restoring for ShowWindow and WM_SYSCOMMAND.
void MaximizeWindow(WindowRecord* record);
void MinimizeWindow(WindowRecord* record);
void RestoreWindow(WindowRecord* record);
// The move or size loop: follows the mouse until the left button is released
// (or Escape puts the window back). hit is HTCAPTION or a border code.
void RunMoveSizeLoop(HWND hwnd, int hit);
// Hot keys: a key press that is a registered hot key becomes WM_HOTKEY.
bool DeliverHotKey(UINT vk);

// Invalid-area bookkeeping shared by the tree and the painter.
void InvalidateWhole(WindowRecord* record, bool erase);
void ForgetInvalid(WindowRecord* record);
// A visible window with an invalid area (of hwnd when given), or null.
HWND NextWindowToPaint(HWND filter);

// DefWindowProc's handling of WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH.
LRESULT DefaultTextMessage(WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam);
// DefWindowProc's handling of WM_SETICON and WM_GETICON.
LRESULT DefaultIconMessage(WindowRecord* record, UINT message, WPARAM wParam, LPARAM lParam);

// Hooks from the tree into CWnd (Wnd.cpp).
LRESULT CallWndObject(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam);
void AttachWndObject(CWnd* wnd, HWND hwnd);
void DetachWndObject(CWnd* wnd, bool callPostNcDestroy);

// Creates a window with its CWnd attached before the first message (WM_CREATE).
HWND CreateWindowWithObject(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param, CWnd* wnd);

// The message queue's and the input state's share of destroying a window.
void ForgetWindowMessages(HWND hwnd);
void KillAllTimers(HWND hwnd);
void ForgetFocus();

} // namespace platform
