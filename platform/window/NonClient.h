#pragma once

// The non-client area: a window's frame around its client area.
//
// A window's client area is what WM_NCCALCSIZE leaves of its rectangle. By
// default a top-level window with a caption gets a caption bar of
// SM_CYCAPTION pixels and, with WS_THICKFRAME, a sizing border of SM_CXFRAME
// pixels; child windows and windows with neither style have no frame (the
// dialog layer draws its thin borders inside the client area). A window that
// answers WM_NCCALCSIZE itself decides: returning without changing the
// proposed rectangle makes the client area the whole window, as skinned
// windows that draw their own caption do.
//
// Mouse input goes through WM_NCHITTEST (screen point in lParam): HTCLIENT
// gives the client mouse messages, any other code the WM_NC* mouse messages
// (hit code in wParam, screen point in lParam), HTTRANSPARENT hands the input
// to the window beneath (a sibling below, else the parent), HTERROR drops it.
// The frame is painted on WM_NCPAINT through GetWindowDC, before WM_PAINT,
// whenever the window has a frame and it needs painting.

#include "platform/Types.h"

#define WM_GETMINMAXINFO 0x0024
#define WM_WINDOWPOSCHANGING 0x0046
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_NCCREATE 0x0081
#define WM_NCCALCSIZE 0x0083
#define WM_NCHITTEST 0x0084
#define WM_NCPAINT 0x0085
#define WM_NCACTIVATE 0x0086
#define WM_NCMOUSEMOVE 0x00A0
#define WM_NCLBUTTONDOWN 0x00A1
#define WM_NCLBUTTONUP 0x00A2
#define WM_NCLBUTTONDBLCLK 0x00A3
#define WM_NCRBUTTONDOWN 0x00A4
#define WM_NCRBUTTONUP 0x00A5
#define WM_NCRBUTTONDBLCLK 0x00A6
#define WM_NCMBUTTONDOWN 0x00A7
#define WM_NCMBUTTONUP 0x00A8
#define WM_NCMBUTTONDBLCLK 0x00A9
#define WM_SYSCOMMAND 0x0112
#define WM_SIZING 0x0214
#define WM_MOVING 0x0216
#define WM_ENTERSIZEMOVE 0x0231
#define WM_EXITSIZEMOVE 0x0232

// Hit-test codes (HTERROR, HTNOWHERE and HTCLIENT are in Input.h).
#define HTTRANSPARENT (-1)
#define HTCAPTION 2
#define HTSYSMENU 3
#define HTGROWBOX 4
#define HTSIZE HTGROWBOX
#define HTMENU 5
#define HTHSCROLL 6
#define HTVSCROLL 7
#define HTMINBUTTON 8
#define HTREDUCE HTMINBUTTON
#define HTMAXBUTTON 9
#define HTZOOM HTMAXBUTTON
#define HTLEFT 10
#define HTRIGHT 11
#define HTTOP 12
#define HTTOPLEFT 13
#define HTTOPRIGHT 14
#define HTBOTTOM 15
#define HTBOTTOMLEFT 16
#define HTBOTTOMRIGHT 17
#define HTBORDER 18
#define HTCLOSE 20
#define HTHELP 21

// WM_SYSCOMMAND commands; the low four bits are the system's own (for SC_SIZE
// the edge, WMSZ_*; SC_MOVE + HTCAPTION is a move started by the mouse).
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_NEXTWINDOW 0xF040
#define SC_PREVWINDOW 0xF050
#define SC_CLOSE 0xF060
#define SC_KEYMENU 0xF100
#define SC_RESTORE 0xF120
#define SC_ICON SC_MINIMIZE
#define SC_ZOOM SC_MAXIMIZE

// WM_SIZING edges.
#define WMSZ_LEFT 1
#define WMSZ_RIGHT 2
#define WMSZ_TOP 3
#define WMSZ_TOPLEFT 4
#define WMSZ_TOPRIGHT 5
#define WMSZ_BOTTOM 6
#define WMSZ_BOTTOMLEFT 7
#define WMSZ_BOTTOMRIGHT 8

// WM_ACTIVATE states.
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// WM_NCCALCSIZE results with wParam TRUE.
#define WVR_ALIGNTOP 0x0010
#define WVR_VALIDRECTS 0x0400

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};
typedef WINDOWPOS* LPWINDOWPOS;

// rgrc[0]: the proposed window rectangle, to be made the client rectangle
// (both in the parent's client coordinates); rgrc[1]: the window rectangle
// before; rgrc[2]: the client rectangle before.
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos;
};
typedef NCCALCSIZE_PARAMS* LPNCCALCSIZE_PARAMS;

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};
typedef MINMAXINFO* LPMINMAXINFO;

// Grows a client rectangle to the window rectangle the default frame of the
// style puts around it (a window that answers WM_NCCALCSIZE itself may differ).
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);

// Maximised (WS_MAXIMIZE) and minimised (WS_MINIMIZE).
BOOL IsZoomed(HWND hwnd);
BOOL IsIconic(HWND hwnd);
// The screen point of the last message taken from the queue (LOWORD x,
// HIWORD y, signed).
DWORD GetMessagePos();

namespace platform {

// The default frame's hit test, for DefWindowProc.
LRESULT DefaultNcHitTest(HWND hwnd, POINT screen);
// DefWindowProc's share of the non-client messages; false for other messages.
bool DefaultNonClientMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT* result);

} // namespace platform
