// The owner-drawn dialog's painting, over the kit's drawing routines: the
// corners keyed on magenta, the caption bar, the borders and the client
// background tiled.

#include "knclientUI05/KnClientPublic.h"
#include "knclubpub/KNOwnerDialog.h"
#include "platform/window/WindowDcs.h"

namespace {

constexpr COLORREF kFrameKey = RGB(255, 0, 255);
constexpr int kMaskTransparent = 1; // DrawBitmapMasked: leave the key out
constexpr int kTile = 3;            // DrawBitmapInRect: repeat, cut at the edges

} // namespace

void CKNOwnerDialog::DrawCaption() {
    if (!GetSafeHwnd()) {
        return;
    }
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    const int W = window.Width();
    const int H = window.Height();
    const auto w = [this](int piece) { return PieceWidth(piece); };
    const auto h = [this](int piece) { return PieceHeight(piece); };
    const auto keyed = [&](int piece, int x, int y) {
        DrawBitmapMasked(m_hFrameBmp[piece], kFrameKey, kMaskTransparent, dc.GetSafeHdc(), x, y, 0,
                         0, FALSE);
    };
    const auto tiled = [&](int piece, const CRect& area) {
        if (m_hFrameBmp[piece] != nullptr)
            DrawBitmapInRect(&dc, &area, m_hFrameBmp[piece], kTile, nullptr, -1);
    };
    keyed(kTopLeft, 0, 0);
    tiled(kCaption, CRect(w(kTopLeft), 0, W, h(kCaption)));
    keyed(kTopRight, W - w(kTopRight), 0);
    tiled(kLeft, CRect(0, h(kTopLeft), w(kLeft), H));
    tiled(kBottom, CRect(w(kLeft), H - h(kBottom), W, H));
    tiled(kRight, CRect(W - w(kRight), h(kTopRight), W, H - h(kBottom)));
    keyed(kBottomLeft, 0, H - h(kBottomLeft));
    keyed(kBottomRight, W - w(kBottomRight), H - h(kBottomRight));
    if (m_bShowCaptionText) {
        CFont ownFont;
        CFont* font = m_pCaptionFont;
        if (!font && ownFont.CreatePointFont(90, "宋体")) {
            font = &ownFont;
        }
        CFont* oldFont = font ? dc.SelectObject(font) : nullptr;
        CString text;
        GetWindowText(text);
        const CSize extent = dc.GetTextExtent(text);
        const int oldMode = dc.SetBkMode(TRANSPARENT);
        const COLORREF oldColour = dc.SetTextColor(m_crCaptionText);
        dc.TextOut(w(kTopLeft) + 6, (h(kCaption) - extent.cy) / 2 + 2, text);
        dc.SetTextColor(oldColour);
        dc.SetBkMode(oldMode);
        if (oldFont) {
            dc.SelectObject(oldFont);
        }
    }
    if (m_hFrameBmp[kClose]) {
        const CRect close = CloseRectIn(CRect(0, 0, W, H));
        const int frame = m_bCloseHover ? (m_bClosePressed ? 2 : 1) : 0;
        BlitBitmapPart(&dc, m_hFrameBmp[kClose], close.left, close.top, frame * close.Width(), 0,
                       close.Width(), close.Height());
    }
}

BOOL CKNOwnerDialog::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    if (m_hFrameBmp[kBackground] != nullptr)
        DrawBitmapInRect(dc, &client, m_hFrameBmp[kBackground], kTile, nullptr, -1);
    return TRUE;
}
