#include "knclientUI05/HyperStatic.h"

#include "knclientUI05/LineBreaks.h"
#include "platform/CodePage.h"
#include "platform/Crt.h"
#include "platform/resources/Resource.h"
#include "platform/system/Shell.h"
#include "platform/window/WindowDcs.h"

#include <cstring>

#ifndef WM_NCHITTEST
#define WM_NCHITTEST 0x0084
#endif

namespace {

constexpr int kHandCursorId = 29710;
constexpr int kLinkGap = 2; // pixels between lines, and below a link's rectangle

bool StartsWith(LPCSTR text, int length, int i, const char* prefix) {
    const int n = static_cast<int>(strlen(prefix));
    return i + n <= length && _strnicmp(text + i, prefix, n) == 0;
}

bool IsLead(LPCSTR text, int length, int i) {
    return i + 1 < length && IsDBCSLeadByte(static_cast<BYTE>(text[i]));
}

bool EndsAddress(char c) {
    return c == '"' || c == ' ' || c == ',' || c == ')' || static_cast<BYTE>(c) >= 0x80;
}

int AddressEnd(LPCSTR text, int length, int i) {
    while (i < length && !EndsAddress(text[i]))
        ++i;
    return i;
}

// One painted piece: a character, or a link's whole text.
struct Token {
    int start = 0;
    int length = 0;
    bool isLink = false;
    int urlStart = 0;
    int urlLength = 0;
};

// Reads the token at text[i] (no break, no "</a>" there) and moves i past it.
Token NextToken(LPCSTR text, int length, int& i) {
    Token t;
    if (StartsWith(text, length, i, "<A href=\"www.") ||
        StartsWith(text, length, i, "<A href=\"http://")) {
        i += 9;
        t.isLink = true;
        t.urlStart = i;
        i = AddressEnd(text, length, i);
        t.urlLength = i - t.urlStart;
        if (i < length && text[i] == '"')
            ++i;
        if (i < length && text[i] == '>')
            ++i;
        t.start = i;
        while (i < length && !StartsWith(text, length, i, "</a>"))
            i += IsLead(text, length, i) ? 2 : 1;
        t.length = i - t.start;
        return t;
    }
    if (StartsWith(text, length, i, "www.") || StartsWith(text, length, i, "http://")) {
        t.isLink = true;
        t.start = t.urlStart = i;
        i = AddressEnd(text, length, i);
        t.length = t.urlLength = i - t.start;
        return t;
    }
    t.start = i;
    t.length = IsLead(text, length, i) ? 2 : 1;
    i += t.length;
    return t;
}

void LoadHandCursor(CHyperStatic& text) {
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = FindResource(module, MAKEINTRESOURCE(kHandCursorId), "HANDCURSOR");
    if (found == nullptr || SizeofResource(module, found) < 256)
        return;
    const BYTE* planes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    if (planes != nullptr)
        text.m_hHandCursor = CreateCursor(module, 6, 0, 32, 32, planes + 128, planes);
}

// Enters the link under a client point, if any.
void HoverAt(CHyperStatic& text, POINT client) {
    for (const CHyperStatic::LinkRecord& link : text.m_links) {
        if (!PtInRect(&link.rect, client))
            continue;
        text.m_bOverLink = TRUE;
        text.m_pCurLink = &link;
        if (text.m_hHandCursor != nullptr)
            text.m_hPrevCursor = SetCursor(text.m_hHandCursor);
        text.SetCapture();
        return;
    }
}

void LeaveLink(CHyperStatic& text) {
    text.m_bOverLink = FALSE; // before the capture goes, which tells us again
    if (text.m_hHandCursor != nullptr)
        SetCursor(text.m_hPrevCursor);
    ReleaseCapture();
}

} // namespace

int LineBreakLengthAt(LPCSTR text, int length, int i) {
    if (i >= length)
        return 0;
    if (text[i] == '\r' || text[i] == '\n')
        return (i + 1 < length && (text[i + 1] == '\r' || text[i + 1] == '\n')) ? 2 : 1;
    if (text[i] == '\\' && i + 1 < length && text[i + 1] == 'n')
        return 2;
    return 0;
}

CHyperStatic::~CHyperStatic() {
    if (m_hHandCursor != nullptr)
        DestroyCursor(m_hHandCursor);
}

void CHyperStatic::OnPaint() {
    CPaintDC dc(this);
    CWnd* parent = GetParent();
    m_pFont = AfxGetWindowFont(parent != nullptr ? parent : this);
    if (m_bCollectLinks && m_hHandCursor == nullptr)
        LoadHandCursor(*this);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_crText);
    CFont* oldFont = m_pFont != nullptr ? dc.SelectObject(m_pFont) : nullptr;
    RECT client;
    GetClientRect(&client);
    char text[1024] = "";
    const int length = GetWindowText(text, sizeof text);

    if (m_bCollectLinks) {
        m_links.clear();
        m_pCurLink = nullptr;
        m_bOverLink = FALSE;
    }
    size_t linkIndex = 0;
    int x = 0, y = 0, h = 0;
    for (int i = 0; i < length;) {
        if (const int br = LineBreakLengthAt(text, length, i)) {
            x = 0;
            y += h + kLinkGap;
            i += br;
            continue;
        }
        if (StartsWith(text, length, i, "</a>")) {
            i += 4;
            continue;
        }
        const Token token = NextToken(text, length, i);
        const CSize size = dc.GetTextExtent(text + token.start, token.length);
        if (y + size.cy + kLinkGap > client.bottom)
            break;
        h = size.cy;
        // A piece wider than the whole line stays on its line: wrapping it at
        // the line's start would only leave a blank line.
        if (x > 0 && x + size.cx > client.right) {
            x = 0;
            y += h + kLinkGap;
        }
        if (!token.isLink) {
            dc.TextOut(x, y, text + token.start, token.length);
        } else {
            dc.SetTextColor(m_crLink);
            dc.TextOut(x, y, text + token.start, token.length);
            dc.FillSolidRect(x, y + size.cy, size.cx, 1, m_crLink);
            dc.SetTextColor(m_crText);
            const RECT place{x, y, x + size.cx, y + size.cy + kLinkGap};
            if (m_bCollectLinks) {
                LinkRecord record{place, ""};
                const int n = token.urlLength < 255 ? token.urlLength : 255;
                memcpy(record.szURL, text + token.urlStart, n);
                record.szURL[n] = '\0';
                m_links.push_back(record);
            } else if (linkIndex < m_links.size()) {
                m_links[linkIndex].rect = place;
            }
            ++linkIndex;
        }
        x += size.cx;
    }
    if (oldFont != nullptr)
        dc.SelectObject(oldFont);
    m_bCollectLinks = FALSE;
}

BOOL CHyperStatic::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NCHITTEST && !m_bOverLink) {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(&point);
        HoverAt(*this, point);
    }
    return CStatic::OnWndMsg(message, wParam, lParam, result);
}

// Mouse moves reach the control directly here (no hit-test round), so a move
// is also where the mouse first meets a link.
void CHyperStatic::OnMouseMove(UINT flags, CPoint point) {
    if (!m_bOverLink)
        HoverAt(*this, point);
    else if (m_pCurLink == nullptr || !PtInRect(&m_pCurLink->rect, point))
        LeaveLink(*this);
    CStatic::OnMouseMove(flags, point);
}

void CHyperStatic::OnCaptureChanged(CWnd* wnd) {
    if (m_bOverLink) {
        m_bOverLink = FALSE;
        if (m_hHandCursor != nullptr)
            SetCursor(m_hPrevCursor);
    }
    CStatic::OnCaptureChanged(wnd);
}

void CHyperStatic::OnLButtonDown(UINT flags, CPoint point) {
    if (m_bOverLink && m_pCurLink != nullptr)
        ShellExecute(nullptr, "open", m_pCurLink->szURL, nullptr, nullptr, SW_SHOW);
    CStatic::OnLButtonDown(flags, point);
}
