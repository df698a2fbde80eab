#pragma once

// CWebBrowser2: the web page control of the quick-buy pop-up. It takes http
// and https addresses (and about:blank), fetches the page (platform-free
// libcurl on a worker thread, outside/PageFetcher.h) and hands it to its
// layout thread (outside/PageLayout.h), which reads it, lays it out with
// litehtml, answers the mouse and the wheel over it and draws it through our
// GDI, pictures as they arrive, kept at the size they are drawn; the window
// only shows the frames it gets back, so no page holds it up. A click on a
// link opens it in the control; Backspace goes back one page. A page that
// cannot be had (no answer, an error status, more bytes than the cap, no
// answer within the time-out, markup too large, deep or costly to lay out,
// pictures past their budget) is replaced by an error page of our own that
// says why. The wheel scrolls a page taller than the control. The page's
// own request to close its window (window.close) can be raised by hand: no
// script runs.

#include "outside/PageLayout.h"
#include "platform/CString.h"
#include "platform/window/Wnd.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class PageFetcher;
struct FetchResult;

class CWebBrowser2 : public CWnd {
public:
    // The dispatch id of the page's window-closing event.
    static constexpr int kWindowClosingEvent = 263;
    using ClosingHandler = std::function<void(BOOL isChildWindow, BOOL* cancel)>;

    // What a page may cost: its fetches here, its layout and pictures in
    // PageCosts.
    struct Limits : PageCosts {
        size_t pageBytes = size_t(1) << 20;
        size_t pictureBytes = size_t(2) << 20; // each picture's file
        int pictures = 32;
        long timeoutMs = 15000;
    };

    CWebBrowser2();
    ~CWebBrowser2() override;

    BOOL Create(LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // FALSE, and nothing recorded, for an address other than http://,
    // https:// or about:blank, or for one with spaces or control bytes.
    BOOL Navigate(LPCTSTR url);
    // The page before this one; FALSE when there is none.
    BOOL GoBack();
    CString GetLocationURL() const { return CString(m_location.c_str()); }
    // The shown page's title (UTF-8), the error page's when it failed.
    std::string GetLocationName() const;
    // A page or its pictures are still being fetched.
    BOOL GetBusy() const;
    const std::vector<std::string>& GetNavigations() const { return m_navigations; }
    void SetLimits(const Limits& limits) { m_limits = limits; }
    // Who hears the window-closing event (the hosting dialog).
    void SetWindowClosingHandler(ClosingHandler handler) { m_onClosing = std::move(handler); }
    // The page closes its window.
    void FireWindowClosing();

    static bool IsAcceptedAddress(const char* url);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnDestroy() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) override;

private:
    void Load(const std::string& url);
    void Fetched(unsigned ticket);
    void ShowPage(FetchResult& result);
    void TakeFrame();
    void AskForPictures(const std::vector<std::string>& urls);

    Limits m_limits;
    std::string m_location;
    std::vector<std::string> m_navigations;
    std::vector<std::string> m_history;
    size_t m_current = 0; // in m_history
    ClosingHandler m_onClosing;
    std::unique_ptr<PageFrame> m_frame; // what the control shows, null while blank
    std::unique_ptr<PageLayout> m_layout;
    std::unique_ptr<PageFetcher> m_fetcher;
    unsigned m_page = 0; // counts the pages shown, naming the current one to the layout
    unsigned m_pageTicket = 0;
    std::vector<std::pair<unsigned, std::string>> m_pictureTickets;
    int m_picturesAsked = 0;
    bool m_trackingLeave = false;
};
