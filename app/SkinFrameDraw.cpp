#include "app/SkinFrameDraw.h"

#include "platform/gdi/Gdi.h"
#include "platform/text/Font.h"
#include "platform/text/Text.h"
#include "sprite/GdiRoutines.h"
#include "sprite/MemDC.h"

#include <algorithm>

namespace skin {

namespace {

using Piece = CSkinFrame::Piece;

// The small icon's size; the frame has no icon of its own.
constexpr int kSmallIcon = 16;
// The top sizing strip is thinner than the title.
constexpr int kTopSizingStrip = 5;
// The active caption's colour: the skin's TextColor is only used inactive.
constexpr COLORREF kActiveCaption = 0xBABABB;

bool HasMinMax(DWORD style) {
    return (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) != 0;
}

// Walks the caption row from the right, as placement, hit-testing and painting
// all see it, calling visit(hit, rect, art) for each button the style allows.
template <typename Visit>
void ForEachButton(const CSkinFrame& skin, const FrameState& state, Visit visit) {
    POINT running = skin.m_ptFirstButton;
    auto place = [&](int hit, const CSkinFrame::ButtonArt& art, const CSkinFrame::ButtonArt& at) {
        const bool automatic =
            at.pos.x == CSkinFrame::kAutoPlace && at.pos.y == CSkinFrame::kAutoPlace;
        const POINT pos = automatic ? running : at.pos;
        const CRect rect(state.width + pos.x - at.frameWidth, pos.y, state.width + pos.x,
                         pos.y + at.height);
        running = POINT{pos.x - at.frameWidth - skin.m_nButtonInter, pos.y};
        return visit(hit, rect, art);
    };
    if (state.style & WS_SYSMENU)
        if (place(HTCLOSE, skin.m_sysButtons[CSkinFrame::SYS_CLOSE],
                  skin.m_sysButtons[CSkinFrame::SYS_CLOSE]))
            return;
    if (HasMinMax(state.style)) {
        // Restore takes the maximise button's place; the one shown follows the zoom.
        const auto& max = skin.m_sysButtons[CSkinFrame::SYS_MAX];
        const auto& shown = state.zoomed ? skin.m_sysButtons[CSkinFrame::SYS_RESTORE] : max;
        if (place(HTMAXBUTTON, shown, max))
            return;
        if (place(HTMINBUTTON, skin.m_sysButtons[CSkinFrame::SYS_MIN],
                  skin.m_sysButtons[CSkinFrame::SYS_MIN]))
            return;
    }
    for (int index : state.userButtons) {
        if (index < 0 || index >= int(skin.m_userButtons.size()))
            continue;
        const auto& art = skin.m_userButtons[index].art;
        if (place(kUserHitBase + index, art, art))
            return;
    }
}

// The frame a button is painted in when nothing is hot or pressed.
int RestingState(const CSkinFrame& skin, const FrameState& state, int hit) {
    if (hit == HTMAXBUTTON && !(state.style & WS_MAXIMIZEBOX))
        return BS_DISABLED;
    if (hit == HTMINBUTTON && !(state.style & WS_MINIMIZEBOX))
        return BS_DISABLED;
    if (hit >= kUserHitBase && !skin.m_userButtons[hit - kUserHitBase].art.enabled)
        return BS_DISABLED;
    return BS_NORMAL;
}

void BlitFrame(const CSkinFrame& skin, HDC dc, const CRect& rect, const CSkinFrame::ButtonArt& art,
               int frame) {
    if (!art.strip || rect.IsRectEmpty())
        return;
    SourceDC source(*art.strip);
    const int sx = frame * art.frameWidth;
    if (skin.m_clrKey == 0)
        BitBlt(dc, rect.left, rect.top, rect.Width(), rect.Height(), source.dc(), sx, 0, SRCCOPY);
    else
        TransparentBlit(dc, rect.left, rect.top, rect.Width(), rect.Height(), source.dc(), sx, 0,
                        rect.Width(), rect.Height(), skin.m_clrKey);
}

void Blit(HDC dc, const CBitmap& piece, int x, int y) {
    const CSize size = GetBitmapSize(piece);
    if (size.cx > 0)
        BlitBitmap(dc, x, y, size.cx, size.cy, piece, 0, 0, SRCCOPY);
}

// Copies the piece again and again from (left, top), the last copies cut to
// what is left of the area.
void Tile(HDC dc, const CBitmap& piece, int left, int top, int right, int bottom) {
    const CSize size = GetBitmapSize(piece);
    if (size.cx <= 0 || size.cy <= 0)
        return;
    for (int y = top; y < bottom; y += size.cy)
        for (int x = left; x < right; x += size.cx)
            BlitBitmap(dc, x, y, std::min<int>(size.cx, right - x),
                       std::min<int>(size.cy, bottom - y), piece, 0, 0, SRCCOPY);
}

// The pixels of the outline colour of one corner piece, within an R x R
// square at that corner of the window (0 top-left, 1 top-right, 2 bottom-left,
// 3 bottom-right), in window coordinates.
HRGN CornerRegion(const CSkinFrame& skin, const CBitmap& piece, int corner, int width, int height) {
    const int r = skin.m_nRoundMax;
    const CSize size = GetBitmapSize(piece);
    std::vector<uint32_t> pixels;
    if (size.cx <= 0 || !ReadBitmapPixels(piece, size, pixels))
        return nullptr;
    const bool right = corner == 1 || corner == 3, bottom = corner >= 2;
    const uint32_t outline = (GetRValue(skin.m_clrTransparent) << 16) |
                             (GetGValue(skin.m_clrTransparent) << 8) |
                             GetBValue(skin.m_clrTransparent);
    // 0 marks a pixel to cut; everything else stays.
    std::vector<uint32_t> square(size_t(r) * r, 0xFFFFFF);
    for (int y = 0; y < r; ++y)
        for (int x = 0; x < r; ++x) {
            const int px = right ? size.cx - r + x : x;
            const int py = bottom ? size.cy - r + y : y;
            if (px >= 0 && py >= 0 && px < size.cx && py < size.cy &&
                pixels[size_t(py) * size.cx + px] == outline)
                square[size_t(y) * r + x] = 0;
        }
    HRGN region = RegionFromPixels(square.data(), r, r, r, RGB(255, 255, 255));
    if (region)
        OffsetRgn(region, right ? width - r : 0, bottom ? height - r : 0);
    return region;
}

} // namespace

PlacedButton PlaceButton(const CSkinFrame& skin, const FrameState& state, int hit) {
    PlacedButton found;
    ForEachButton(skin, state, [&](int h, const CRect& rect, const CSkinFrame::ButtonArt& art) {
        if (h != hit)
            return false;
        found = PlacedButton{rect, &art};
        return true;
    });
    return found;
}

int HitTest(const CSkinFrame& skin, const FrameState& state, POINT pt) {
    const int left = skin.GetFrameSize(0), title = skin.GetFrameSize(1);
    const int right = skin.GetFrameSize(2), bottom = skin.GetFrameSize(3);
    const CRect icon(left + 5, (title - kSmallIcon) / 2, left + 5 + kSmallIcon,
                     (title - kSmallIcon) / 2 + kSmallIcon);
    if (icon.PtInRect(pt))
        return (state.style & WS_SYSMENU) ? HTSYSMENU : HTCAPTION;

    int hit = HTNOWHERE;
    bool onButton = false;
    ForEachButton(skin, state, [&](int h, const CRect& rect, const CSkinFrame::ButtonArt& art) {
        if (!rect.PtInRect(pt))
            return false;
        onButton = true;
        if (h == HTMAXBUTTON)
            hit = (state.style & WS_MAXIMIZEBOX) ? HTMAXBUTTON : HTNOWHERE;
        else if (h == HTMINBUTTON)
            hit = (state.style & WS_MINIMIZEBOX) ? HTMINBUTTON : HTNOWHERE;
        else if (h >= kUserHitBase)
            hit = art.enabled ? h : HTNOWHERE;
        else
            hit = h;
        return true;
    });
    if (onButton)
        return hit;

    if (!(state.style & WS_THICKFRAME) || state.zoomed)
        return pt.y < title ? HTCAPTION : HTCLIENT;
    if (pt.x >= left && pt.x < state.width - right) {
        if (pt.y < kTopSizingStrip)
            return HTTOP;
        if (pt.y < title)
            return HTCAPTION;
        if (pt.y >= state.height - bottom)
            return HTBOTTOM;
        return HTCLIENT;
    }
    const bool leftSide = pt.x < left;
    if (pt.y < kTopSizingStrip)
        return leftSide ? HTTOPLEFT : HTTOPRIGHT;
    if (pt.y < state.height - bottom)
        return leftSide ? HTLEFT : HTRIGHT;
    return leftSide ? HTBOTTOMLEFT : HTBOTTOMRIGHT;
}

CRect ClientInside(const CSkinFrame& skin, const RECT& window) {
    CRect client(window.left + skin.GetFrameSize(0), window.top + skin.GetFrameSize(1),
                 window.right - skin.GetFrameSize(2), window.bottom - skin.GetFrameSize(3));
    if (client.right < client.left)
        client.right = client.left;
    if (client.bottom < client.top)
        client.bottom = client.top;
    return client;
}

void PaintFrame(const CSkinFrame& skin, HDC dc, const FrameState& state, LPCSTR caption) {
    const int w = state.width, h = state.height;
    const int saved = SaveDC(dc);
    const CRect hole = ClientInside(skin, CRect(0, 0, w, h));
    ExcludeClipRect(dc, hole.left, hole.top, hole.right, hole.bottom);

    const bool alt = skin.m_bAltLook != FALSE;
    const Piece titleLeft = state.active ? Piece::TITLE_LEFT : Piece::TITLE_LEFT_NA;
    const Piece titleCenter = state.active ? Piece::TITLE_CENTER : Piece::TITLE_CENTER_NA;
    const Piece titleRight = alt            ? Piece::TITLE_RIGHT_A
                             : state.active ? Piece::TITLE_RIGHT
                                            : Piece::TITLE_RIGHT_NA;
    const CSize leftSize = skin.PieceSize(titleLeft), rightSize = skin.PieceSize(titleRight);

    // The title bar is composed off-screen and copied in one piece.
    const int titleHeight = std::max<int>(rightSize.cy, skin.GetFrameSize(1));
    if (w > 0 && titleHeight > 0) {
        HDC title = CreateCompatibleDC(dc);
        HBITMAP canvas = CreateCompatibleBitmap(dc, w, titleHeight);
        HGDIOBJ oldCanvas = SelectObject(title, canvas);
        Tile(title, skin.m_bmpPieces[titleCenter], leftSize.cx, 0, w - rightSize.cx, titleHeight);
        if (!alt)
            Blit(title, skin.m_bmpPieces[Piece::TITLE_CENTER_A], w - 182, 0);
        Blit(title, skin.m_bmpPieces[titleLeft], 0, 0);
        Blit(title, skin.m_bmpPieces[titleRight], w - rightSize.cx, 0);

        if (caption && *caption) {
            HFONT font = CreateFont(skin.m_nFontSize, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                                    0, 0, 0, 0, skin.m_strFontName);
            HGDIOBJ oldFont = SelectObject(title, font);
            SetBkMode(title, TRANSPARENT);
            SetTextColor(title, state.active ? kActiveCaption : skin.m_clrTextInactive);
            RECT text{leftSize.cx + 8, 2, w + 8, skin.GetFrameSize(1) + 2};
            DrawText(title, caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
            SelectObject(title, oldFont);
            DeleteObject(font);
        }
        ForEachButton(skin, state, [&](int hit, const CRect& rect, const auto& art) {
            BlitFrame(skin, title, rect, art, RestingState(skin, state, hit));
            return false;
        });
        BitBlt(dc, 0, 0, w, titleHeight, title, 0, 0, SRCCOPY);
        SelectObject(title, oldCanvas);
        DeleteObject(canvas);
        DeleteDC(title);
    }

    const Piece bottomRight = alt ? Piece::BOTTOM_RIGHT_A : Piece::BOTTOM_RIGHT;
    const CSize bl = skin.PieceSize(Piece::BOTTOM_LEFT), br = skin.PieceSize(bottomRight);
    Blit(dc, skin.m_bmpPieces[Piece::BOTTOM_LEFT], 0, h - bl.cy);
    Blit(dc, skin.m_bmpPieces[bottomRight], w - br.cx, h - br.cy);
    Tile(dc, skin.m_bmpPieces[Piece::LEFT], 0, leftSize.cy, skin.GetFrameSize(0), h - bl.cy);
    const int rightX = w - skin.GetFrameSize(2);
    Tile(dc, skin.m_bmpPieces[Piece::RIGHT], rightX, rightSize.cy, w, h - br.cy);
    if (alt)
        Tile(dc, skin.m_bmpPieces[Piece::RIGHT_A], rightX, rightSize.cy, w, h - br.cy);
    else
        Tile(dc, skin.m_bmpPieces[Piece::RIGHT_A], rightX, rightSize.cy + 138, w,
             std::min<int>(rightSize.cy + 144, h - br.cy));
    const int bottomY = h - skin.GetFrameSize(3);
    Tile(dc, skin.m_bmpPieces[Piece::BOTTOM_CENTER], bl.cx, bottomY, w - br.cx, h);
    if (!alt)
        Tile(dc, skin.m_bmpPieces[Piece::BOTTOM_CENTER_A], std::max<int>(w - 182, bl.cx), bottomY,
             std::min<int>(w - 175, w - br.cx), h);
    RestoreDC(dc, saved);
}

void DrawButton(const CSkinFrame& skin, HDC dc, const FrameState& state, int hit, int buttonState) {
    const PlacedButton button = PlaceButton(skin, state, hit);
    if (button.art)
        BlitFrame(skin, dc, button.rect, *button.art, buttonState);
}

HRGN MakeRegion(const CSkinFrame& skin, int width, int height) {
    if (skin.m_clrTransparent == RGB(255, 255, 255) || skin.m_nRoundMax <= 0)
        return nullptr;
    HRGN outline = CreateRectRgn(0, 0, width, height);
    const Piece corners[4] = {Piece::TITLE_LEFT, Piece::TITLE_RIGHT, Piece::BOTTOM_LEFT,
                              Piece::BOTTOM_RIGHT};
    for (int corner = 0; corner < 4; ++corner) {
        HRGN cut = CornerRegion(skin, skin.m_bmpPieces[corners[corner]], corner, width, height);
        if (!cut)
            continue;
        CombineRgn(outline, outline, cut, RGN_DIFF);
        DeleteObject(cut);
    }
    return outline;
}

} // namespace skin
