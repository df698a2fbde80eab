#pragma once

// What the table window hands the display, read as a person sees it: the
// pixels of its part of its top-level window's surface. And what to hold
// them against that is no part of the window's own drawing: the cells of
// the card sheets its faces are cut from, a picture drawn on its own over
// black and over white (where both agree it covers what lies below), and
// the window's sprite list composed afresh, entry by entry in its order.

#include "HostTableKit.h"
#include "platform/display/WindowSurfaces.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/WindowDc.h"
#include "platform/window/WindowVisibility.h"
#include "sprite/FrameImage.h"
#include "sprite/MemDC.h"
#include "sprite/SpriteItem.h"

#include <functional>
#include <map>
#include <vector>

namespace table_test {

inline uint32_t SurfacePixel(platform::Surface* s, int x, int y) {
    return s != nullptr ? s->GetPixel(x, y) & platform::kRgbMask : 0;
}

// Colours within a little of each other per channel: the alpha blits of the
// engine round by 1/256.
constexpr int kBlitTolerance = 3;

// A drawing of w x h on its own, made twice: over black and over white.
class Ink {
public:
    Ink() = default;
    Ink(int w, int h, const std::function<void(HDC)>& draw)
        : m_w(std::max(w, 0)), m_h(std::max(h, 0)) {
        if (m_w == 0 || m_h == 0)
            return;
        m_over[0].resize(size_t(m_w) * m_h);
        m_over[1].resize(size_t(m_w) * m_h);
        for (int pass = 0; pass < 2; ++pass) {
            CMemDC canvas(nullptr, m_w, m_h);
            canvas.FillSolidRect(0, 0, m_w, m_h, pass == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
            draw(canvas.GetSafeHdc());
            platform::Surface* s = platform::SurfaceOfBitmap(
                static_cast<HBITMAP>(canvas.GetBitmap()->GetSafeHandle()));
            for (int y = 0; y < m_h; ++y)
                for (int x = 0; x < m_w; ++x)
                    m_over[pass][size_t(y) * m_w + x] = SurfacePixel(s, x, y);
        }
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (Drawn(x, y))
                    m_bounds.UnionRect(m_bounds, CRect(x, y, x + 1, y + 1));
    }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    // The drawing covers what lies below here: the same over both.
    bool Opaque(int x, int y) const {
        return In(x, y) && m_over[0][Index(x, y)] == m_over[1][Index(x, y)];
    }
    uint32_t Color(int x, int y) const { return In(x, y) ? m_over[0][Index(x, y)] : 0; }
    // Anything is drawn here, even faintly.
    bool Drawn(int x, int y) const {
        return In(x, y) && (m_over[0][Index(x, y)] != 0 || m_over[1][Index(x, y)] != 0xFFFFFF);
    }
    // The drawn pixels' bounds, relative to the drawing; empty when none.
    CRect Bounds() const { return m_bounds; }
    // Up to `most` opaque points spread over the drawing (found once).
    const std::vector<POINT>& OpaquePoints(int most) const {
        if (m_spreadFor == most)
            return m_spread;
        std::vector<POINT> all;
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                if (Opaque(x, y) && m_over[0][Index(x, y)] != 0)
                    all.push_back(POINT{x, y});
        m_spread.clear();
        const size_t step = std::max<size_t>(1, all.size() / size_t(std::max(most, 1)));
        for (size_t i = step / 2; i < all.size() && int(m_spread.size()) < most; i += step)
            m_spread.push_back(all[i]);
        m_spreadFor = most;
        return m_spread;
    }

private:
    bool In(int x, int y) const { return x >= 0 && y >= 0 && x < m_w && y < m_h; }
    size_t Index(int x, int y) const { return size_t(y) * m_w + x; }
    int m_w = 0, m_h = 0;
    std::vector<uint32_t> m_over[2];
    CRect m_bounds{0, 0, 0, 0};
    mutable std::vector<POINT> m_spread;
    mutable int m_spreadFor = -1;
};

// A sprite's image drawn on its own, as the engine draws the sprite's frame
// (its caller words and alpha included), relative to the sprite's point.
inline Ink InkOfSprite(CSpriteWnd& wnd, SPRITEINFO* s, CRect* area) {
    CSpriteImage* image = wnd.GetImageList().GetAt(s->posImage);
    if (image == nullptr || s->nChannel < 0)
        return Ink();
    const int frame = std::max(0, wnd.GetChannel(s->nChannel).nFrame);
    const CRect rect = image->GetRect(s, frame);
    const POINT origin = image->GetOrigin(s, frame);
    if (area != nullptr)
        *area = rect;
    return Ink(rect.Width(), rect.Height(), [&](HDC dc) {
        image->Draw(dc, frame, s, 0, 0, rect.Width(), rect.Height(), origin.x, origin.y, s->alpha);
    });
}

// The table's pixels as its top-level window's surface holds them.
class PresentedFrame {
public:
    explicit PresentedFrame(CWnd& wnd) : m_wnd(wnd) {}
    // Finds the surface and the window's place on it; false when it has none.
    bool Take() {
        m_top = platform::TopLevelWindowOf(m_wnd.m_hWnd, &m_offset);
        platform::WindowSurfaces* surfaces = platform::GetWindowSurfaces();
        m_surface = surfaces != nullptr && m_top != nullptr ? surfaces->SurfaceOf(m_top) : nullptr;
        m_wnd.GetClientRect(&m_client);
        return m_surface != nullptr;
    }
    CRect Client() const { return m_client; }
    bool Inside(POINT p) const { return m_client.PtInRect(p) != FALSE; }
    // The pixel at a client point (0 outside the window).
    uint32_t At(POINT p) const {
        const int x = p.x + m_offset.x, y = p.y + m_offset.y;
        if (!Inside(p) || m_surface == nullptr || x >= m_surface->Width() ||
            y >= m_surface->Height())
            return 0;
        return SurfacePixel(m_surface, x, y);
    }
    HWND TopLevel() const { return m_top; }

private:
    CWnd& m_wnd;
    HWND m_top = nullptr;
    POINT m_offset{0, 0};
    platform::Surface* m_surface = nullptr;
    CRect m_client{0, 0, 0, 0};
};

// The cells of the layout's card sheets, by the table's card images: which
// sheet, where the face lies on it and where its mask lies.
class CardSheets {
public:
    struct Cell {
        platform::Surface* sheet = nullptr;
        POINT face{0, 0};
        POINT mask{0, 0};
        SIZE size{0, 0};
        int card = -1; // 0..53, -1 for the back
    };

    CardSheets(SeenTableWnd& wnd, CGameLayout& layout) : m_wnd(wnd), m_layout(layout) {}

    // The cell the image was cut from; null for an image that shows no card.
    const Cell* CellOf(POSITION image) {
        auto found = m_cells.find(image);
        return found == m_cells.end() ? nullptr : &found->second;
    }
    // Reads which images the table shows its cards by now (faces cut anew
    // may take the places of the old ones in the image list).
    void Recut() {
        m_cells.clear();
        CCardLayout& hands = m_wnd.Hands();
        const SIZE big = SizeOf(hands.GetCardImage(0));
        CBitmap& faces = big.cx == m_layout.m_sizeCardBig.cx && big.cy == m_layout.m_sizeCardBig.cy
                             ? m_layout.m_bmpCardsBig
                             : m_layout.m_bmpCards;
        Add(faces, big, [&](int card) {
            return card < 0 ? hands.GetCardBackImage() : hands.GetCardImage(card);
        });
        Add(m_layout.m_bmpLittleCards, SizeOf(hands.GetLittleCardImage(0)), [&](int card) {
            return card < 0 ? hands.GetLittleCardBackImage() : hands.GetLittleCardImage(card);
        });
    }
    // The sheet's pixel of the card at a point of the card, and whether the
    // card covers what lies below there.
    static bool Covers(const Cell& cell, int x, int y) {
        return x >= 0 && y >= 0 && x < cell.size.cx && y < cell.size.cy &&
               SurfacePixel(cell.sheet, cell.mask.x + x, cell.mask.y + y) == 0;
    }
    static uint32_t Face(const Cell& cell, int x, int y) {
        return SurfacePixel(cell.sheet, cell.face.x + x, cell.face.y + y);
    }

private:
    SIZE SizeOf(POSITION image) {
        CSpriteImage* i = m_wnd.GetImageList().GetAt(image);
        return i != nullptr ? i->GetSize(nullptr) : SIZE{0, 0};
    }
    template <class ImageOf> void Add(CBitmap& sheet, SIZE size, ImageOf imageOf) {
        platform::Surface* pixels =
            platform::SurfaceOfBitmap(static_cast<HBITMAP>(sheet.GetSafeHandle()));
        if (pixels == nullptr || size.cx <= 0 || size.cy <= 0)
            return;
        const int perRow = pixels->Width() / size.cx;
        if (perRow < 4)
            return;
        for (int card = -1; card < 54; ++card) {
            Cell cell;
            cell.sheet = pixels;
            cell.size = size;
            cell.card = card;
            cell.mask = POINT{3 * size.cx, 4 * size.cy};
            cell.face = card < 0 ? POINT{2 * size.cx, 4 * size.cy}
                                 : POINT{(card % perRow) * size.cx, (card / perRow) * size.cy};
            if (POSITION image = imageOf(card))
                m_cells[image] = cell;
        }
    }

    SeenTableWnd& m_wnd;
    CGameLayout& m_layout;
    std::map<POSITION, Cell> m_cells;
};

// One entry of the window's picture, in the order the engine paints: the
// shown items and the playing sprites by layer, an item before a sprite of
// its number.
struct PaintedEntry {
    CSpriteItem* item = nullptr;
    SPRITEINFO* sprite = nullptr;
};
inline std::vector<PaintedEntry> PaintOrder(SeenTableWnd& wnd) {
    std::vector<PaintedEntry> order;
    const std::vector<SPRITEINFO*> sprites = wnd.PlayingSprites();
    const std::vector<CSpriteItem*> items = wnd.Items();
    size_t s = 0, i = 0;
    while (s < sprites.size() || i < items.size()) {
        if (i < items.size() && (s == sprites.size() || items[i]->GetLayer() <= sprites[s]->z)) {
            if (items[i]->IsVisible())
                order.push_back(PaintedEntry{items[i], nullptr});
            ++i;
        } else {
            order.push_back(PaintedEntry{nullptr, sprites[s++]});
        }
    }
    return order;
}

// The window's picture composed afresh inside box on a canvas of the
// client's size: the background, then each entry of the paint order up to
// and with entry `last` (all when last is past the end).
inline void ComposeTable(SeenTableWnd& wnd, CMemDC& canvas, const std::vector<PaintedEntry>& order,
                         const RECT& box, size_t last = SIZE_MAX) {
    canvas.BitBlt(box.left, box.top, box.right - box.left, box.bottom - box.top,
                  wnd.GetBackgroundDC(), box.left, box.top, SRCCOPY);
    for (size_t k = 0; k < order.size() && k <= last; ++k) {
        RECT part;
        if (CSpriteItem* item = order[k].item) {
            const CRect area = item->GetRect();
            if (!IntersectRect(&part, &area, &box))
                continue;
            CMemDC own(&canvas, area.Width(), area.Height());
            own.BitBlt(0, 0, area.Width(), area.Height(), &canvas, area.left, area.top, SRCCOPY);
            item->Draw(&own);
            canvas.BitBlt(part.left, part.top, part.right - part.left, part.bottom - part.top, &own,
                          part.left - area.left, part.top - area.top, SRCCOPY);
            continue;
        }
        SPRITEINFO* s = order[k].sprite;
        CSpriteImage* image = wnd.GetImageList().GetAt(s->posImage);
        if (image == nullptr)
            continue;
        const int frame = std::max(0, wnd.GetChannel(s->nChannel).nFrame);
        CRect area = image->GetRect(s, frame);
        area.OffsetRect(s->x, s->y);
        if (!IntersectRect(&part, &area, &box))
            continue;
        const POINT origin = image->GetOrigin(s, frame);
        image->Draw(canvas.GetSafeHdc(), frame, s, part.left, part.top, part.right - part.left,
                    part.bottom - part.top, part.left - area.left + origin.x,
                    part.top - area.top + origin.y, s->alpha);
    }
}

inline uint32_t CanvasPixel(CMemDC& canvas, POINT p) {
    return SurfacePixel(
        platform::SurfaceOfBitmap(static_cast<HBITMAP>(canvas.GetBitmap()->GetSafeHandle())), p.x,
        p.y);
}

} // namespace table_test
