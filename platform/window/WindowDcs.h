#pragma once

// MFC-shaped DCs of a window: CClientDC and CWindowDC over GetDC/GetWindowDC
// and ReleaseDC, CPaintDC over BeginPaint/EndPaint (m_ps holds the paint).
// Each gives its DC back when it goes out of scope.

#include "platform/gdi/Dc.h"
#include "platform/window/Window.h"

class CWnd;

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};
