#pragma once

// Windows: one tree per process, top-level windows and their children.
//
// A window's client area is its rectangle less its frame (platform/window/
// NonClient.h). Child rectangles are kept in their parent's client
// coordinates, top-level ones in screen coordinates. Nothing is
// drawn here; a display driver follows the tree (platform/DisplayDriver.h).

#include "platform/Types.h"
#include "platform/window/Messages.h"
#include "platform/window/NonClient.h"

// Window styles.
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW                                                                        \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)

#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_LAYERED 0x00080000L

// Class styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008

#define CW_USEDEFAULT ((int)0x80000000)

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9

// SetWindowPos flags and insert-after values.
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOSENDCHANGING 0x0400
#define SWP_DEFERERASE 0x2000
#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)-1)
#define HWND_NOTOPMOST ((HWND)-2)

// WM_SIZE types.
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// Get/SetWindowLong indexes.
#define GWL_WNDPROC (-4)
#define GWLP_WNDPROC GWL_WNDPROC
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_ID (-12)
#define GWLP_ID GWL_ID
#define GWL_USERDATA (-21)
#define GWLP_USERDATA GWL_USERDATA

// Layered attribute flags.
#define LWA_COLORKEY 0x00000001
#define LWA_ALPHA 0x00000002

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef BOOL(CALLBACK* WNDENUMPROC)(HWND, LPARAM);

struct WNDCLASS {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

struct CREATESTRUCT {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

// Classes: names are case-insensitive. Registering a name again fails.
BOOL RegisterClass(const WNDCLASS* wc);
BOOL GetClassInfo(HINSTANCE instance, LPCSTR className, WNDCLASS* wc);

// A child (WS_CHILD) needs a valid parent; for a top-level window the parent is
// its owner. The window's id is the hMenu value of a child. Returns null when the
// class is unknown, the parent invalid, or WM_CREATE returns -1.
HWND CreateWindowEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                    LPVOID param);
// WM_DESTROY goes to the window, then to its children; WM_NCDESTROY to the
// children first. Timers, focus and capture die with the window.
BOOL DestroyWindow(HWND hwnd);
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

BOOL IsWindow(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetParent(HWND hwnd);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
// Top-level windows by class and/or title (null matches any).
HWND FindWindow(LPCSTR className, LPCSTR windowName);
// Every descendant, depth first, front to back; stops when proc returns FALSE.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
// The deepest visible, enabled-or-not window under a screen point, inside
// the window regions of the windows on the way.
HWND WindowFromPoint(POINT point);

// Returns whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int command);
// Visible itself and all its ancestors.
BOOL IsWindowVisible(HWND hwnd);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND hwnd);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
// The desktop: a handle of no window record whose rectangle is the screen;
// painting it does nothing (the display composes the windows itself).
HWND GetDesktopWindow();
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL ClientToScreen(HWND hwnd, LPPOINT point);
BOOL ScreenToClient(HWND hwnd, LPPOINT point);
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);

// Returns whether the window was disabled before.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetCapture(HWND hwnd);
HWND GetCapture();
BOOL ReleaseCapture();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND hwnd);

LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);

BOOL SetWindowText(HWND hwnd, LPCSTR text);
int GetWindowText(HWND hwnd, LPSTR buffer, int bufferSize);
int GetWindowTextLength(HWND hwnd);
int GetClassName(HWND hwnd, LPSTR buffer, int bufferSize);

// The region is the system's from now on: the one it replaces is deleted
// through the backend. Null removes the region.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags);

// Painting: invalidated areas are kept per window until painted.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
// Sends WM_PAINT at once when the window has an invalid area.
BOOL UpdateWindow(HWND hwnd);
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
