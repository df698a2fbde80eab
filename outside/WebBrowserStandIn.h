#pragma once

// CWebBrowser2: the web page control of the quick-buy pop-up. No browser
// engine can live in our windows, so this control renders no page: it
// accepts http and https addresses (and about:blank), records every
// navigation, and shows the address and the title it was given. The page's
// own request to close its window (window.close) can be raised by hand.

#include "platform/CString.h"
#include "platform/window/Wnd.h"

#include <functional>
#include <string>
#include <vector>

class CWebBrowser2 : public CWnd {
public:
    // The dispatch id of the page's window-closing event.
    static constexpr int kWindowClosingEvent = 263;
    using ClosingHandler = std::function<void(BOOL isChildWindow, BOOL* cancel)>;

    BOOL Create(LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // FALSE, and nothing recorded, for an address other than http://,
    // https:// or about:blank, or for one with spaces or control bytes.
    BOOL Navigate(LPCTSTR url);
    CString GetLocationURL() const { return CString(m_location.c_str()); }
    const std::vector<std::string>& GetNavigations() const { return m_navigations; }
    void SetTitle(LPCTSTR title);
    CString GetTitle() const { return CString(m_title.c_str()); }
    // Who hears the window-closing event (the hosting dialog).
    void SetWindowClosingHandler(ClosingHandler handler) { m_onClosing = std::move(handler); }
    // The page closes its window.
    void FireWindowClosing();

    static bool IsAcceptedAddress(const char* url);

    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;

private:
    std::string m_location;
    std::string m_title;
    std::vector<std::string> m_navigations;
    ClosingHandler m_onClosing;
};
