#include "table/panes/BalloonTipWnd.h"

#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "platform/window/Window.h"
#include "platform/window/WindowDcs.h"
#include "sprite/SystemProcs.h"

#include <algorithm>

namespace {

constexpr char kTipFace[] = "宋体";
// The application's face for font 1.
constexpr char kApplicationFace[] = "宋体";

LPARAM PointParam(CPoint point) {
    return MAKELPARAM(WORD(short(point.x)), WORD(short(point.y)));
}

} // namespace

CBalloonTipWnd::CBalloonTipWnd()
    : m_bClickHides(1), m_bShown(0), m_nOpacity(70), m_pOwner(nullptr), m_bSingleLine(0),
      m_nAutoHideMs(2000), m_nFrameWidth(1), m_crFrame(0x3C3C3C), m_crText(0),
      m_crBackground(0xDCDCDC), m_nMaxWidth(150), m_nMaxHeight(-1), m_nMinWidth(20),
      m_nMinHeight(20), m_nTailBase(12), m_nTailOffset(16), m_nMarginX(8), m_nMarginY(8),
      m_nCornerWidth(12), m_nCornerHeight(12), m_nShadowX(0), m_nShadowY(0), m_nShadowPercent(25),
      m_nLineSpacing(2), m_nSelectedFont(1), m_Bounds{0, 0, 0, 0}, m_nMode(0), m_Tail{0, 0},
      m_BodyPoint{0, 0}, m_Origin{0, 0}, m_Body{0, 0, 0, 0}, m_TextRect{0, 0, 0, 0},
      m_nTextHeight(0) {}

CBalloonTipWnd::~CBalloonTipWnd() {
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CBalloonTipWnd::Create(CWnd* owner) {
    m_pOwner = owner;
    LPCTSTR className = AfxRegisterWndClass(0);
    if (!CreateEx(0, className, "", WS_POPUP | WS_SYSMENU, 0, 0, 0, 0,
                  owner != nullptr ? owner->m_hWnd : nullptr, nullptr))
        return FALSE;
    if (m_Fonts[0].m_hObject == nullptr)
        m_Fonts[0].CreateFont(12, 0, 0, 0, 400, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, kTipFace);
    if (m_Fonts[1].m_hObject == nullptr)
        m_Fonts[1].CreateFont(14, 0, 0, 0, 450, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0,
                              kApplicationFace);
    SetFont(1);
    return TRUE;
}

void CBalloonTipWnd::SetFont(int which) {
    if (which != 0 && which != 1)
        return;
    m_nSelectedFont = which;
    LOGFONT font;
    if (m_Fonts[which].m_hObject == nullptr || !m_Fonts[which].GetLogFont(&font))
        return;
    m_Font.DeleteObject();
    m_Font.CreateFontIndirect(&font);
}

void CBalloonTipWnd::SetTail(int baseWidth, int offset) {
    if (baseWidth != 0)
        m_nTailBase = baseWidth;
    m_nTailOffset = offset;
}

void CBalloonTipWnd::SetMinSize(int width, int height) {
    if (width > 0)
        m_nMinWidth = width;
    if (height > 0)
        m_nMinHeight = height;
}

BOOL CBalloonTipWnd::SetMaxSize(int width, int height) {
    if (width <= 0 || height < -1)
        return FALSE;
    m_nMaxWidth = std::max(width, m_nMinWidth);
    m_nMaxHeight = height == -1 ? -1 : std::max(height, m_nMinHeight);
    return TRUE;
}

void CBalloonTipWnd::SetMargins(int x, int y) {
    if (x != 0)
        m_nMarginX = x;
    if (y != 0)
        m_nMarginY = y;
}

void CBalloonTipWnd::SetCorner(int width, int height) {
    if (width != 0)
        m_nCornerWidth = width;
    if (height != 0)
        m_nCornerHeight = height;
}

void CBalloonTipWnd::SetShadow(int x, int y, int percent) {
    m_nShadowX = x;
    m_nShadowY = y;
    m_nShadowPercent = percent;
}

void CBalloonTipWnd::SetOpacity(int percent) {
    // Outside 0..100 the value means nothing.
    if (percent < 0 || percent > 100)
        return;
    m_nOpacity = percent;
}

void CBalloonTipWnd::SetFrame(COLORREF colour, int width) {
    m_crFrame = colour;
    m_nFrameWidth = width;
}

RECT CBalloonTipWnd::GetBodyRect() const {
    RECT body = m_Body;
    OffsetRect(&body, m_Origin.x, m_Origin.y);
    return body;
}

void CBalloonTipWnd::StorePoints(int bodyX, int bodyY, int tailX, int tailY, int mode) {
    m_nMode = mode;
    m_BodyPoint = POINT{bodyX, bodyY};
    m_Tail = POINT{tailX, tailY};
}

void CBalloonTipWnd::ApplyOpacity() {
    ModifyStyleEx(WS_EX_LAYERED, 0);
    ModifyStyleEx(0, WS_EX_LAYERED);
    // Without the call the tip stays opaque.
    if (SetLayeredWindowAttributesProc setAlpha = FindSetLayeredWindowAttributes())
        setAlpha(m_hWnd, 0, BYTE(m_nOpacity * 255 / 100), LWA_ALPHA);
}

bool CBalloonTipWnd::Measure(HDC dc) {
    HGDIOBJ oldFont = m_Font.m_hObject != nullptr ? SelectObject(dc, m_Font) : nullptr;
    SIZE a = {0, 0};
    GetTextExtentPoint32(dc, "a", 1, &a);
    const int charWidth = a.cx;
    m_nTextHeight = a.cy;
    bool measured = charWidth > 0;
    if (measured) {
        m_Lines = WrapTipLines(m_strText, TipPieceBytes(m_nMaxWidth, m_nMarginX, charWidth));
        int width = 0;
        int height = 0;
        if (m_Lines.size() == 1) {
            m_bSingleLine = 1;
            SIZE text = {0, 0};
            GetTextExtentPoint32(dc, m_Lines[0].c_str(), int(m_Lines[0].size()), &text);
            width = text.cx <= m_nMinWidth - 2 * m_nMarginX
                        ? m_nMinWidth
                        : std::min(int(text.cx) + 2 * m_nMarginX, m_nMaxWidth);
            height = std::max(m_nMinHeight, int(text.cy) + 2 * m_nMarginY);
        } else {
            m_bSingleLine = 0;
            // Double-byte characters may be wider than two of "a": the
            // widest line as drawn counts too, so no character is cut off.
            size_t longest = 0;
            int widest = 0;
            for (const std::string& line : m_Lines) {
                longest = std::max(longest, line.size());
                SIZE extent = {0, 0};
                GetTextExtentPoint32(dc, line.c_str(), int(line.size()), &extent);
                widest = std::max(widest, int(extent.cx));
            }
            height = (m_nLineSpacing + m_nTextHeight) * int(m_Lines.size()) + 2 * m_nMarginY;
            height = std::max(height, m_nMinHeight);
            if (m_nMaxHeight != -1)
                height = std::min(height, m_nMaxHeight);
            width = std::max(int(longest) * charWidth, widest) + 2 * m_nMarginX;
        }
        // Within the bounds the tail point moves in first and takes the body
        // along, so the shape stays whole; then the body slides in on its
        // own. The body's shape reaches a pixel past its right and bottom.
        RECT inside = m_Bounds;
        if (!IsRectEmpty(&inside))
            inside = RECT{inside.left, inside.top, inside.right - 1, inside.bottom - 1};
        const RECT spot =
            KeepTipInside(RECT{m_Tail.x, m_Tail.y, m_Tail.x + 1, m_Tail.y + 1}, m_Bounds);
        RECT body = PlaceTipBody(m_nMode, m_BodyPoint, width, height);
        OffsetRect(&body, spot.left - m_Tail.x, spot.top - m_Tail.y);
        body = KeepTipInside(body, inside);
        const POINT tail{spot.left, spot.top};
        // The window's box holds the body, the tail point and the shadow.
        m_Origin = POINT{std::min(body.left, tail.x), std::min(body.top, tail.y)};
        m_Tail = tail;
        m_Body = body;
        OffsetRect(&m_Body, -m_Origin.x, -m_Origin.y);
        m_TextRect = m_Body;
        if (!m_bSingleLine)
            InflateRect(&m_TextRect, -m_nMarginX, -m_nMarginY);
    }
    if (oldFont != nullptr)
        SelectObject(dc, oldFont);
    return measured;
}

void CBalloonTipWnd::BuildShape() {
    const POINT tail = {m_Tail.x - m_Origin.x, m_Tail.y - m_Origin.y};
    POINT triangle[3];
    TipTailTriangle(m_Body, tail, ChooseTipTail(m_Body, tail), m_nTailBase, m_nTailOffset,
                    triangle);
    m_BodyRgn.DeleteObject();
    m_TailRgn.DeleteObject();
    m_ShapeRgn.DeleteObject();
    m_ShadowRgn.DeleteObject();
    m_BodyRgn.CreateRoundRectRgn(m_Body.left, m_Body.top, m_Body.right + 1, m_Body.bottom + 1,
                                 m_nCornerWidth, m_nCornerHeight);
    m_TailRgn.CreatePolygonRgn(triangle, 3, WINDING);
    m_ShapeRgn.CreateRectRgn(0, 0, 0, 0);
    m_ShapeRgn.CombineRgn(&m_BodyRgn, &m_TailRgn, RGN_OR);

    CRgn window;
    window.CreateRectRgn(0, 0, 0, 0);
    window.CopyRgn(&m_ShapeRgn);
    if (m_nShadowX != 0 || m_nShadowY != 0) {
        m_ShadowRgn.CreateRectRgn(0, 0, 0, 0);
        m_ShadowRgn.CopyRgn(&m_ShapeRgn);
        m_ShadowRgn.OffsetRgn(m_nShadowX, m_nShadowY);
        window.CombineRgn(&m_ShapeRgn, &m_ShadowRgn, RGN_OR);
    }
    RECT box;
    GetRgnBox(window, &box);
    SetWindowPos(nullptr, m_Origin.x, m_Origin.y, std::max(box.right, LONG(0)),
                 std::max(box.bottom, LONG(0)), SWP_NOZORDER | SWP_NOACTIVATE);
    // The window owns the region it is given.
    SetWindowRgn(HRGN(window.Detach()), TRUE);
}

void CBalloonTipWnd::Show(LPCSTR text, int bodyX, int bodyY, int tailX, int tailY, int mode) {
    StorePoints(bodyX, bodyY, tailX, tailY, mode);
    if (m_hWnd == nullptr)
        return;
    m_strText = text != nullptr ? text : "";
    // Measured on the screen's DC: the hidden tip of size 0 may have none yet.
    HDC dc = ::GetDC(nullptr);
    if (dc == nullptr) {
        SetTimer(kShowTimer, kShowLaterMs, nullptr);
        return;
    }
    ShowWindow(SW_HIDE);
    m_bShown = 0;
    ApplyOpacity();
    const bool measured = Measure(dc);
    ::ReleaseDC(nullptr, dc);
    if (!measured)
        return;
    BuildShape();
    m_bShown = 1;
    ShowWindow(SW_SHOWNOACTIVATE);
    Invalidate();
    if (m_nAutoHideMs > 0)
        SetTimer(kHideTimer, UINT(m_nAutoHideMs), nullptr);
}

void CBalloonTipWnd::ShowLater(LPCSTR text, int bodyX, int bodyY, int tailX, int tailY, int mode) {
    StorePoints(bodyX, bodyY, tailX, tailY, mode);
    m_strText = text != nullptr ? text : "";
    if (m_hWnd != nullptr)
        SetTimer(kShowTimer, kShowLaterMs, nullptr);
}

void CBalloonTipWnd::MoveTo(LPCSTR text, int bodyX, int bodyY, int tailX, int tailY, int mode) {
    if (!m_bShown)
        return;
    const bool sameOffset = tailX - bodyX == m_Tail.x - m_BodyPoint.x &&
                            tailY - bodyY == m_Tail.y - m_BodyPoint.y && mode == m_nMode;
    if (!sameOffset) {
        Show(text, bodyX, bodyY, tailX, tailY, mode);
        return;
    }
    const int dx = bodyX - m_BodyPoint.x;
    const int dy = bodyY - m_BodyPoint.y;
    StorePoints(bodyX, bodyY, tailX, tailY, mode);
    m_Origin.x += dx;
    m_Origin.y += dy;
    SetWindowPos(nullptr, m_Origin.x, m_Origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBalloonTipWnd::Hide() {
    m_strText.Empty();
    m_Lines.clear();
    m_Body = RECT{0, 0, 0, 0};
    m_TextRect = m_Body;
    m_bShown = 0;
    if (m_hWnd == nullptr)
        return;
    KillTimer(kHideTimer);
    KillTimer(kShowTimer);
    ShowWindow(SW_HIDE);
}

void CBalloonTipWnd::OnTimer(UINT_PTR id) {
    if (id == kHideTimer) {
        Hide();
    } else if (id == kShowTimer) {
        KillTimer(kShowTimer);
        const CString text = m_strText;
        Show(text, m_BodyPoint.x, m_BodyPoint.y, m_Tail.x, m_Tail.y, m_nMode);
    } else {
        CWnd::OnTimer(id);
    }
}

void CBalloonTipWnd::OnPaint() {
    CPaintDC paint(this);
    if (!m_bShown) {
        ShowWindow(SW_HIDE);
        return;
    }
    HDC dc = paint.m_hDC;
    if (m_ShadowRgn.m_hObject != nullptr) {
        const int grey = 255 * (100 - m_nShadowPercent) / 100;
        HBRUSH shadow = CreateSolidBrush(RGB(grey, grey, grey));
        // Only where the tip itself does not cover it.
        CRgn visible;
        visible.CreateRectRgn(0, 0, 0, 0);
        visible.CombineRgn(&m_ShadowRgn, &m_ShapeRgn, RGN_DIFF);
        FillRgn(dc, visible, shadow);
        DeleteObject(shadow);
    }
    HBRUSH background = CreateSolidBrush(m_crBackground);
    FillRgn(dc, m_ShapeRgn, background);
    DeleteObject(background);
    if (m_nFrameWidth > 0) {
        HBRUSH frame = CreateSolidBrush(m_crFrame);
        FrameRgn(dc, m_ShapeRgn, frame, m_nFrameWidth, m_nFrameWidth);
        DeleteObject(frame);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_crText);
    HGDIOBJ oldFont = m_Font.m_hObject != nullptr ? ::SelectObject(dc, m_Font) : nullptr;
    if (m_bSingleLine) {
        RECT rect = m_TextRect;
        ::DrawText(dc, m_strText, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
        int y = m_TextRect.top;
        for (const std::string& line : m_Lines) {
            TextOut(dc, m_TextRect.left, y, line.c_str(), int(line.size()));
            y += m_nTextHeight + m_nLineSpacing;
        }
    }
    if (oldFont != nullptr)
        ::SelectObject(dc, oldFont);
}

void CBalloonTipWnd::MouseUp(UINT message, UINT flags, CPoint point) {
    if (m_bClickHides) {
        Hide();
        return;
    }
    if (m_pOwner != nullptr && ::IsWindow(m_pOwner->m_hWnd))
        ::SendMessage(m_pOwner->m_hWnd, message, WPARAM(flags), PointParam(point));
}

void CBalloonTipWnd::OnLButtonUp(UINT flags, CPoint point) {
    MouseUp(WM_LBUTTONUP, flags, point);
}

void CBalloonTipWnd::OnRButtonUp(UINT flags, CPoint point) {
    MouseUp(WM_RBUTTONUP, flags, point);
}
