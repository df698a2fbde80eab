// The quick-buy pop-up's page control.

#include "outside/WebBrowser.h"

#include "outside/PageFetcher.h"
#include "platform/system/Shell.h"
#include "platform/window/Cursor.h"
#include "platform/window/Input.h"
#include "platform/window/WindowDcs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <utility>

namespace {

// Addresses kept and shown are bounded; longer ones are refused.
constexpr size_t kMaxAddress = 2048;
// A fetch has finished: wParam is its ticket.
constexpr UINT kFetchedMessage = WM_USER + 0x2B1;
// The layout has a view ready.
constexpr UINT kLaidOutMessage = WM_USER + 0x2B2;
constexpr int kWheelStepPx = 48;

bool IsTextType(const std::string& type) {
    return type.empty() || strncasecmp(type.c_str(), "text/", 5) == 0 ||
           strncasecmp(type.c_str(), "application/xhtml", 17) == 0;
}

void Trace(const std::string& text) {
    fprintf(stderr, "page control: %s\n", text.c_str());
}

} // namespace

CWebBrowser2::CWebBrowser2() = default;

CWebBrowser2::~CWebBrowser2() {
    m_fetcher.reset(); // the threads end before the window goes
    m_layout.reset();
    if (GetSafeHwnd())
        DestroyWindow();
}

bool CWebBrowser2::IsAcceptedAddress(const char* url) {
    if (!url)
        return false;
    const size_t length = strnlen(url, kMaxAddress + 1);
    if (length == 0 || length > kMaxAddress)
        return false;
    return strcasecmp(url, "about:blank") == 0 || IsWebAddress(url);
}

BOOL CWebBrowser2::Create(LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                          UINT id) {
    if (!CWnd::Create(AfxRegisterWndClass(0), windowName, style, rect, parent, id))
        return FALSE;
    m_fetcher = std::make_unique<PageFetcher>(m_hWnd, kFetchedMessage);
    m_layout = std::make_unique<PageLayout>(m_hWnd, kLaidOutMessage);
    CRect client;
    GetClientRect(&client);
    m_layout->SetSize(client.Width(), client.Height());
    return TRUE;
}

void CWebBrowser2::OnDestroy() {
    m_fetcher.reset();
    m_layout.reset();
    CWnd::OnDestroy();
}

BOOL CWebBrowser2::Navigate(LPCTSTR url) {
    if (!IsAcceptedAddress(url))
        return FALSE;
    m_navigations.push_back(url);
    if (!m_history.empty())
        m_history.resize(m_current + 1); // what lay ahead is dropped
    m_history.push_back(url);
    m_current = m_history.size() - 1;
    Load(url);
    return TRUE;
}

BOOL CWebBrowser2::GoBack() {
    if (m_history.empty() || m_current == 0)
        return FALSE;
    --m_current;
    m_navigations.push_back(m_history[m_current]);
    Load(m_history[m_current]);
    return TRUE;
}

std::string CWebBrowser2::GetLocationName() const {
    return m_frame ? m_frame->title : std::string();
}

BOOL CWebBrowser2::GetBusy() const {
    return m_pageTicket != 0 || !m_pictureTickets.empty() || (m_layout && m_layout->Busy());
}

void CWebBrowser2::FireWindowClosing() {
    if (m_onClosing) {
        BOOL cancel = FALSE;
        m_onClosing(FALSE, &cancel);
    }
}

// Starts showing an address: a blank control until the page arrives.
void CWebBrowser2::Load(const std::string& url) {
    m_location = url;
    if (m_layout)
        m_layout->Begin(++m_page, url, m_limits);
    m_frame.reset();
    m_pictureTickets.clear();
    m_picturesAsked = 0;
    m_pageTicket = 0;
    if (m_fetcher)
        m_fetcher->CancelAll();
    if (strcasecmp(url.c_str(), "about:blank") != 0) {
        if (m_fetcher)
            m_pageTicket = m_fetcher->Fetch(url, m_limits.pageBytes, m_limits.timeoutMs);
        else
            Trace(url + " not shown: the control has no window");
    }
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

LRESULT CWebBrowser2::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kFetchedMessage) {
        Fetched(unsigned(wParam));
        return 0;
    }
    if (message == kLaidOutMessage) {
        TakeFrame();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CWebBrowser2::Fetched(unsigned ticket) {
    FetchResult result;
    if (!m_fetcher || !m_fetcher->Take(ticket, result))
        return; // cancelled by a later navigation
    if (ticket == m_pageTicket) {
        m_pageTicket = 0;
        ShowPage(result);
        return;
    }
    auto asked = std::find_if(m_pictureTickets.begin(), m_pictureTickets.end(),
                              [&](const auto& entry) { return entry.first == ticket; });
    if (asked == m_pictureTickets.end())
        return;
    const std::string url = asked->second;
    m_pictureTickets.erase(asked);
    if (!result.error.empty() || result.status >= 400) {
        Trace("picture " + url + " not shown: " +
              (result.error.empty() ? "status " + std::to_string(result.status) : result.error));
        return;
    }
    m_layout->AddPicture(m_page, url, std::move(result.body)); // the layout draws it in
}

// The page's bytes go to the layout as they are: reading them (their
// charset, their markup) takes time the window does not have.
void CWebBrowser2::ShowPage(FetchResult& result) {
    if (!result.error.empty())
        return m_layout->ShowError(m_page, result.error);
    if (result.status >= 400)
        return m_layout->ShowError(m_page, "服务器回答 " + std::to_string(result.status));
    if (!IsTextType(result.contentType))
        return m_layout->ShowError(m_page, "不是网页（" + result.contentType + "）");
    m_layout->Show(m_page, std::move(result.body), result.contentType,
                   result.finalUrl.empty() ? result.url : result.finalUrl);
}

// The newest frame replaces the one shown, and says what the page asks for.
void CWebBrowser2::TakeFrame() {
    std::unique_ptr<PageFrame> frame = m_layout ? m_layout->Take() : nullptr;
    if (!frame)
        return;
    if (!frame->reason.empty() && (!m_frame || m_frame->reason != frame->reason)) {
        Trace(m_location + " not shown: " + frame->reason);
        m_pictureTickets.clear();
        if (m_fetcher)
            m_fetcher->CancelAll();
    }
    m_frame = std::move(frame);
    AskForPictures(m_frame->wanted);
    Invalidate(FALSE);
    // Following a link replaces the page that reported it.
    const std::string link = m_frame->clickedLink;
    if (!link.empty() && !Navigate(link.c_str()))
        Trace("link " + link + " not followed: only web pages are shown");
}

void CWebBrowser2::AskForPictures(const std::vector<std::string>& urls) {
    for (const std::string& url : urls) {
        if (!m_fetcher || m_picturesAsked >= m_limits.pictures ||
            (strncasecmp(url.c_str(), "http://", 7) != 0 &&
             strncasecmp(url.c_str(), "https://", 8) != 0))
            continue;
        ++m_picturesAsked;
        m_pictureTickets.push_back(
            {m_fetcher->Fetch(url, m_limits.pictureBytes, m_limits.timeoutMs), url});
    }
}

void CWebBrowser2::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    if (m_layout)
        m_layout->SetSize(cx, cy); // a view at the new size follows
}

BOOL CWebBrowser2::OnEraseBkgnd(CDC*) {
    return TRUE; // painted whole in OnPaint
}

void CWebBrowser2::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 255));
    if (!m_frame || !m_frame->bitmap)
        return;
    HDC source = CreateCompatibleDC(dc.GetSafeHdc());
    HGDIOBJ old = SelectObject(source, m_frame->bitmap);
    BitBlt(dc.GetSafeHdc(), 0, 0, m_frame->width, m_frame->height, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

void CWebBrowser2::OnLButtonDown(UINT, CPoint point) {
    SetFocus();
    if (m_layout)
        m_layout->Mouse(PageLayout::Input::Press, point.x, point.y);
}

void CWebBrowser2::OnLButtonUp(UINT, CPoint point) {
    if (m_layout)
        m_layout->Mouse(PageLayout::Input::Release, point.x, point.y);
}

void CWebBrowser2::OnMouseMove(UINT, CPoint point) {
    if (!m_layout)
        return;
    if (!m_trackingLeave) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        m_trackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    m_layout->Mouse(PageLayout::Input::Move, point.x, point.y);
}

// What is under the mouse stops being so when it leaves the control.
void CWebBrowser2::OnMouseLeave() {
    m_trackingLeave = false;
    if (m_layout)
        m_layout->Mouse(PageLayout::Input::Leave, 0, 0);
}

BOOL CWebBrowser2::OnMouseWheel(UINT, short delta, CPoint) {
    if (!m_frame || !m_layout)
        return FALSE;
    m_layout->Scroll(-delta * kWheelStepPx / WHEEL_DELTA);
    return TRUE;
}

void CWebBrowser2::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    if (key == VK_BACK) {
        GoBack();
        return;
    }
    CWnd::OnKeyDown(key, repeat, flags);
}

BOOL CWebBrowser2::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (hitTest == HTCLIENT && m_frame && m_frame->overLink) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}
