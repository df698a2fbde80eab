#include "outside/WebBrowserStandIn.h"

#include "platform/text/CFont.h"
#include "platform/text/Text.h"
#include "platform/window/WindowDcs.h"

#include <cstring>
#include <strings.h>

namespace {

// Addresses kept and shown are bounded; longer ones are refused.
constexpr size_t kMaxAddress = 2048;

} // namespace

bool CWebBrowser2::IsAcceptedAddress(const char* url) {
    if (!url) {
        return false;
    }
    const size_t length = strnlen(url, kMaxAddress + 1);
    if (length == 0 || length > kMaxAddress) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = (unsigned char)url[i];
        if (c <= ' ' || c == 0x7F) {
            return false;
        }
    }
    if (strcasecmp(url, "about:blank") == 0) {
        return true;
    }
    const char* rest = nullptr;
    if (strncasecmp(url, "http://", 7) == 0) {
        rest = url + 7;
    } else if (strncasecmp(url, "https://", 8) == 0) {
        rest = url + 8;
    }
    return rest && *rest != '\0' && *rest != '/';
}

BOOL CWebBrowser2::Create(LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                          UINT id) {
    return CWnd::Create(AfxRegisterWndClass(0), windowName, style, rect, parent, id);
}

BOOL CWebBrowser2::Navigate(LPCTSTR url) {
    if (!IsAcceptedAddress(url)) {
        return FALSE;
    }
    m_location = url;
    m_navigations.push_back(m_location);
    if (GetSafeHwnd()) {
        Invalidate(TRUE);
    }
    return TRUE;
}

void CWebBrowser2::SetTitle(LPCTSTR title) {
    m_title = title ? title : "";
    if (GetSafeHwnd()) {
        Invalidate(TRUE);
    }
}

void CWebBrowser2::FireWindowClosing() {
    if (m_onClosing) {
        BOOL cancel = FALSE;
        m_onClosing(FALSE, &cancel);
    }
}

BOOL CWebBrowser2::OnEraseBkgnd(CDC*) {
    return TRUE; // painted whole in OnPaint
}

void CWebBrowser2::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 255));
    CFont font;
    font.CreatePointFont(90, "宋体");
    CFont* old = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    // The title and the address: no page is drawn.
    CRect line(client.left + 8, client.top + 8, client.right - 8, client.top + 26);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.DrawText(CString(m_title.c_str()), &line, DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS);
    line.OffsetRect(0, 20);
    dc.SetTextColor(RGB(0, 0, 160));
    dc.DrawText(CString(m_location.c_str()), &line, DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS);
    dc.SelectObject(old);
}
