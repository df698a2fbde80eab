// The quick-buy pop-up's page control.

#include "outside/WebBrowser.h"

#include "outside/PageCanvas.h"
#include "outside/PageDefaults.h"
#include "outside/PageFetcher.h"
#include "outside/PageScreen.h"
#include "outside/PageText.h"
#include "platform/system/Shell.h"
#include "platform/window/Cursor.h"
#include "platform/window/Input.h"
#include "platform/window/WindowDcs.h"

#include <litehtml/litehtml.h>

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
constexpr int kWheelStepPx = 48;

bool IsTextType(const std::string& type) {
    return type.empty() || strncasecmp(type.c_str(), "text/", 5) == 0 ||
           strncasecmp(type.c_str(), "application/xhtml", 17) == 0;
}

void Trace(const std::string& text) {
    fprintf(stderr, "page control: %s\n", text.c_str());
}

} // namespace

CWebBrowser2::CWebBrowser2() : m_context(std::make_unique<litehtml::context>()) {
    m_context->load_master_stylesheet(kPageDefaultStyle);
    m_canvas = std::make_unique<PageCanvas>(PageCanvas::Events{
        [this](const std::string& url) {
            if (m_fetcher && m_picturesAsked < m_limits.pictures &&
                (strncasecmp(url.c_str(), "http://", 7) == 0 ||
                 strncasecmp(url.c_str(), "https://", 8) == 0)) {
                ++m_picturesAsked;
                m_pictureTickets.push_back(
                    {m_fetcher->Fetch(url, m_limits.pictureBytes, m_limits.timeoutMs), url});
            }
        },
        [this](const std::string& url) { m_pendingLink = url; }});
}

CWebBrowser2::~CWebBrowser2() {
    m_fetcher.reset(); // its thread ends before the window goes
    m_document.reset();
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
    return TRUE;
}

void CWebBrowser2::OnDestroy() {
    m_fetcher.reset();
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
    return m_canvas->Title();
}

BOOL CWebBrowser2::GetBusy() const {
    return m_pageTicket != 0 || !m_pictureTickets.empty();
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
    m_document.reset();
    m_canvas->ForgetPictures();
    m_canvas->SetPage(url);
    m_pictureTickets.clear();
    m_picturesAsked = 0;
    m_pageTicket = 0;
    m_scroll = 0;
    if (m_fetcher)
        m_fetcher->CancelAll();
    if (strcasecmp(url.c_str(), "about:blank") != 0) {
        if (m_fetcher)
            m_pageTicket = m_fetcher->Fetch(url, m_limits.pageBytes, m_limits.timeoutMs);
        else
            ShowError("控件没有窗口");
    }
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

LRESULT CWebBrowser2::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kFetchedMessage) {
        Fetched(unsigned(wParam));
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
    if (!m_canvas->AddPicture(url, result.body)) {
        Trace("picture " + url + " not shown: not a picture this control reads");
        return;
    }
    Layout(); // the picture's size may move what follows it
    Invalidate(FALSE);
}

void CWebBrowser2::ShowPage(const FetchResult& result) {
    if (!result.error.empty())
        return ShowError(result.error);
    if (result.status >= 400)
        return ShowError("服务器回答 " + std::to_string(result.status));
    if (!IsTextType(result.contentType))
        return ShowError("不是网页（" + result.contentType + "）");
    std::string text = PageTextToUtf8(result.body, result.contentType);
    if (strncasecmp(result.contentType.c_str(), "text/plain", 10) == 0)
        text = "<pre>" + EscapeMarkup(text) + "</pre>";
    ShowMarkup(text, result.finalUrl.empty() ? result.url : result.finalUrl);
}

void CWebBrowser2::ShowMarkup(const std::string& utf8, const std::string& base) {
    const std::string refusal = ScreenMarkup(utf8, m_limits.elements, m_limits.depth);
    if (!refusal.empty())
        return ShowError(refusal);
    m_canvas->SetPage(base);
    m_document = litehtml::document::createFromUTF8(utf8.c_str(), m_canvas.get(), m_context.get());
    if (!m_document)
        return ShowError("网页无法排版");
    const std::string slow = ScreenLayout(*m_document, m_limits.nestedBoxes);
    if (!slow.empty())
        return ShowError(slow);
    Layout();
    Invalidate(TRUE);
}

void CWebBrowser2::ShowError(const std::string& reason) {
    Trace(m_location + " not shown: " + reason);
    m_pictureTickets.clear();
    if (m_fetcher)
        m_fetcher->CancelAll();
    m_canvas->ForgetPictures();
    m_canvas->SetPage(m_location);
    m_document = litehtml::document::createFromUTF8(ErrorPageMarkup(m_location, reason).c_str(),
                                                    m_canvas.get(), m_context.get());
    Layout();
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

void CWebBrowser2::Layout() {
    if (!m_document || !GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    m_canvas->SetViewport(client.Width(), client.Height());
    m_document->render(std::max(1, client.Width()));
    m_scroll = std::clamp(m_scroll, 0, std::max(0, m_document->height() - client.Height()));
}

void CWebBrowser2::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    Layout();
}

BOOL CWebBrowser2::OnEraseBkgnd(CDC*) {
    return TRUE; // painted whole in OnPaint
}

void CWebBrowser2::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 255));
    if (!m_document)
        return;
    m_canvas->BeginDraw(dc.GetSafeHdc(), client);
    litehtml::position clip(client.left, client.top, client.Width(), client.Height());
    m_document->draw(litehtml::uint_ptr(dc.GetSafeHdc()), 0, -m_scroll, &clip);
    m_canvas->EndDraw();
}

void CWebBrowser2::OnLButtonDown(UINT, CPoint point) {
    SetFocus();
    litehtml::position::vector redraw;
    if (m_document &&
        m_document->on_lbutton_down(point.x, point.y + m_scroll, point.x, point.y, redraw))
        Invalidate(FALSE);
}

void CWebBrowser2::OnLButtonUp(UINT, CPoint point) {
    litehtml::position::vector redraw;
    if (m_document &&
        m_document->on_lbutton_up(point.x, point.y + m_scroll, point.x, point.y, redraw))
        Invalidate(FALSE);
    FollowPendingLink();
}

// After the layout's own handling has returned: following a link replaces
// the document that reported it.
void CWebBrowser2::FollowPendingLink() {
    const std::string link = std::exchange(m_pendingLink, std::string());
    if (link.empty())
        return;
    if (!Navigate(link.c_str()))
        Trace("link " + link + " not followed: only web pages are shown");
}

void CWebBrowser2::OnMouseMove(UINT, CPoint point) {
    litehtml::position::vector redraw;
    if (m_document &&
        m_document->on_mouse_over(point.x, point.y + m_scroll, point.x, point.y, redraw))
        Invalidate(FALSE);
}

BOOL CWebBrowser2::OnMouseWheel(UINT, short delta, CPoint) {
    if (!m_document)
        return FALSE;
    CRect client;
    GetClientRect(&client);
    const int most = std::max(0, m_document->height() - client.Height());
    const int scroll = std::clamp(m_scroll - delta * kWheelStepPx / WHEEL_DELTA, 0, most);
    if (scroll != m_scroll) {
        m_scroll = scroll;
        Invalidate(FALSE);
    }
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
    if (hitTest == HTCLIENT && m_canvas->OverLink()) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}
