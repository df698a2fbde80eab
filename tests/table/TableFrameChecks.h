#pragma once

// What a person sees on the table's presented frame, each held against a
// reference that does not come from the window's own drawing: every card
// drawn where it lies, as its sheet's cell shows it, wherever the cards
// after it leave it open; everything drawn inside the table; texts apart,
// each notice once; every shown, enabled button and every seat's mark and
// pane drawn as itself; and the frame as a whole what its sprites make.
// Each check returns its faults in words, the first first.

#include "TableFrameKit.h"
#include "table/panes/CellPaneImages.h"

#include <set>
#include <sstream>
#include <string>
#include <tuple>

namespace table_test {

class FrameChecks {
public:
    static constexpr int kReelPaneId = 502, kLastCardPaneId = 516, kMultiplePaneId = 517;

    FrameChecks(SeenTableWnd& wnd, CGameLayout& layout)
        : m_wnd(wnd), m_sheets(wnd, layout), m_frame(wnd) {}

    // Reads the frame as it stands; false when the window has no pixels.
    // What the engine has still to show (its flush tick) is shown first.
    bool Take() {
        if (m_wnd.HasChangesToShow())
            m_wnd.FlushDirty();
        m_order = PaintOrder(m_wnd);
        m_sheets.Recut();
        // The drawn bounds kept are those of sprites still up.
        std::set<SPRITEINFO*> up;
        for (const PaintedEntry& e : m_order)
            up.insert(e.sprite);
        std::erase_if(m_inks,
                      [&](const auto& entry) { return !up.count(std::get<0>(entry.first)); });
        return m_frame.Take();
    }
    const PresentedFrame& Frame() const { return m_frame; }

    // 1. Every card sprite at full alpha shows its sheet's face (or back)
    // wherever no card painted after it lies. Cards whose drag tint is on
    // are left out.
    std::vector<std::string> CardsVisible() {
        std::vector<std::string> faults;
        std::vector<size_t> cards;
        for (size_t k = 0; k < m_order.size(); ++k)
            if (m_order[k].sprite != nullptr && CellOf(m_order[k].sprite) != nullptr)
                cards.push_back(k);
        for (size_t c = 0; c < cards.size(); ++c) {
            const std::string fault = CardFault(cards, c);
            if (!fault.empty())
                faults.push_back(fault);
        }
        return faults;
    }

    // 2. Everything drawn lies wholly inside the client area: a sprite by
    // its drawn pixels, an item by its rectangle.
    std::vector<std::string> InsideTable() {
        std::vector<std::string> faults;
        const CRect client = m_frame.Client();
        for (const PaintedEntry& e : m_order) {
            CRect drawn = AreaOf(e);
            if (drawn.IsRectEmpty() || (client & drawn) == drawn)
                continue;
            if (e.sprite != nullptr && CellOf(e.sprite) == nullptr)
                drawn = InkBounds(e.sprite);
            if (!drawn.IsRectEmpty() && (client & drawn) != drawn)
                faults.push_back(Name(e) + " drawn at " + Box(drawn) + " outside the table " +
                                 Box(client));
        }
        return faults;
    }

    // 3. No two texts (notices and the named text animations) overlap by
    // their drawn pixels, nothing else is drawn over one, and no notice is
    // up twice.
    std::vector<std::string> TextsApart(const std::map<int, std::string>& noticeTexts) {
        std::vector<std::string> faults;
        std::vector<std::pair<SPRITEINFO*, CRect>> texts;
        std::map<std::string, int> noticesUp;
        for (size_t k = 0; k < m_order.size(); ++k) {
            const PaintedEntry& e = m_order[k];
            if (e.sprite == nullptr || !IsText(e.sprite))
                continue;
            const CRect ink = InkBounds(e.sprite);
            if (!ink.IsRectEmpty())
                texts.emplace_back(e.sprite, ink);
            // Nor does anything but another text (counted below) lie over it.
            const std::string covered =
                PaintedOver(k, ink, true) ? CoveredAt(k, ink & m_frame.Client(), true) : "";
            if (!covered.empty())
                faults.push_back(Name(e) + " at " + Box(ink) + " covered" + covered);
            auto text = noticeTexts.find(e.sprite->nId);
            if (IsNotice(e.sprite) && text != noticeTexts.end() && ++noticesUp[text->second] == 2)
                faults.push_back("notice \"" + text->second + "\" up twice");
        }
        for (size_t a = 0; a < texts.size(); ++a)
            for (size_t b = a + 1; b < texts.size(); ++b)
                if (!(texts[a].second & texts[b].second).IsRectEmpty() &&
                    !InFlight(texts[a].first) && !InFlight(texts[b].first))
                    faults.push_back(Name(PaintedEntry{nullptr, texts[a].first}) + " at " +
                                     Box(texts[a].second) + " overlaps " +
                                     Name(PaintedEntry{nullptr, texts[b].first}) + " at " +
                                     Box(texts[b].second));
        return faults;
    }

    // 4. Each shown, enabled button of the table shows its own drawing over
    // what lies below it: nothing painted after it changes its pixels.
    std::vector<std::string> ButtonsUncovered() {
        std::vector<std::string> faults;
        for (size_t k = 0; k < m_order.size(); ++k) {
            CSpriteItem* item = m_order[k].item;
            if (item == nullptr || !item->IsEnabled() || item->GetId() < kCmdTrust ||
                item->GetId() > kCmdChipLast)
                continue;
            const CRect box = item->GetRect() & m_frame.Client();
            const std::string covered = PaintedOver(k, box, false) ? CoveredAt(k, box, false) : "";
            if (!covered.empty())
                faults.push_back("button " + std::to_string(item->GetId()) + " at " +
                                 Box(item->GetRect()) + " covered" + covered);
        }
        return faults;
    }

    // 5. Each seat's mark and pane (trusteeship, pass, points, shao,
    // revolution, place, ready; remnant, gousiji, multiple) shows its own
    // drawing: nothing painted after it changes its pixels.
    std::vector<std::string> SeatPicturesUncovered() {
        std::vector<std::string> faults;
        for (size_t k = 0; k < m_order.size(); ++k) {
            SPRITEINFO* s = m_order[k].sprite;
            if (s == nullptr || !IsSeatPicture(s->nId))
                continue;
            const CRect box = AreaOf(m_order[k]) & m_frame.Client();
            const std::string covered = PaintedOver(k, box, false) ? CoveredAt(k, box, false) : "";
            if (!covered.empty())
                faults.push_back(Name(m_order[k]) + " at " + Box(AreaOf(m_order[k])) + " covered" +
                                 covered);
        }
        return faults;
    }

    // The frame shows what its sprite list makes, composed afresh: no stale
    // picture is left where a sprite was, nothing the list holds is missing.
    // Sampled on a grid of `step` pixels.
    std::vector<std::string> FrameIsItsSprites(int step) {
        std::vector<std::string> faults;
        const CRect client = m_frame.Client();
        Canvas();
        ComposeTable(m_wnd, m_canvas, m_order, client);
        for (int y = step / 2; y < client.bottom; y += step)
            for (int x = step / 2; x < client.right; x += step) {
                const POINT p{x, y};
                const uint32_t want = CanvasPixel(m_canvas, p), got = m_frame.At(p);
                if (Near(got, want, kBlitTolerance))
                    continue;
                faults.push_back("the frame holds " + Hex6(got) + " at " + Where(p) +
                                 " where its sprites make " + Hex6(want) + Over(p, SIZE_MAX));
                return faults;
            }
        return faults;
    }

    // The playing sprite of the id, null when none plays.
    SPRITEINFO* Playing(int id) {
        POSITION pos = m_wnd.FindSpritePos(id);
        SPRITEINFO* s = pos != nullptr ? m_wnd.GetSpriteAt(pos) : nullptr;
        return s != nullptr && s->nChannel >= 0 && s->bShown ? s : nullptr;
    }
    // Whether the reference drawing, placed at the sprite's point, shows on
    // the frame at its opaque points; the first that does not, in words.
    std::string ShowsAs(SPRITEINFO* s, const Ink& reference, const std::string& what) {
        const size_t at = IndexOf(s);
        for (const POINT q : reference.OpaquePoints(24)) {
            const POINT p{s->x + q.x, s->y + q.y};
            const uint32_t want = reference.Color(q.x, q.y), got = m_frame.At(p);
            if (!Near(got, want, kBlitTolerance) && !MayLieOver(p, at))
                return what + " not drawn at " + Where(p) + ": " + Hex6(got) + " for " +
                       Hex6(want) + Over(p, SIZE_MAX);
        }
        return "";
    }

    static bool IsSeatPicture(const SPRITEINFO* s) { return IsSeatPicture(s->nId); }
    static bool IsSeatPicture(int id) {
        return (id >= kTrustMark && id < int(kReadyMark) + kSeatCount) ||
               (id >= kRemnantPaneSprite && id < int(kGousjPaneSprite) + kSeatCount) ||
               (id >= kMultiplePaneId && id < kMultiplePaneId + kSeatCount);
    }
    static bool IsNotice(const SPRITEINFO* s) {
        return s->nId >= kFirstNoticeId && s->nId <= kLastNoticeId;
    }
    // Notices, the line of my open question and the theme's text animations
    // (the banners of a revolution, points, tribute, the first place, the
    // burn, the clean sweep, win and loss, the exchange and the level-up).
    static bool IsText(const SPRITEINFO* s) {
        static const std::set<int> kTexts = {
            kRevolutionSprite, kOpenPointSprite, kPrePointSprite,  kTributeSprite,     kTouKeSprite,
            kBurnOneSprite,    kBurnTwoSprite,   kBurnThreeSprite, kChuanSanHuSprite,  kWinSprite,
            kLoseSprite,       kExchangeSprite,  kUpgradeSprite,   kQuestionLineSprite};
        return IsNotice(s) || kTexts.count(s->nId) != 0;
    }

    static std::string Hex6(uint32_t pixel) {
        char text[16];
        snprintf(text, sizeof text, "#%06X", unsigned(pixel & 0xFFFFFF));
        return text;
    }
    static std::string Where(POINT p) {
        return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
    }
    static std::string Box(const CRect& r) {
        return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
               std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
    }
    std::string Name(const PaintedEntry& e) {
        if (e.item != nullptr)
            return "item " + std::to_string(e.item->GetId());
        SPRITEINFO* s = e.sprite;
        if (const CardSheets::Cell* cell = CellOf(s))
            return CardName(s, *cell);
        return "sprite " + std::to_string(s->nId) + " \"" +
               std::string(s->szName, strnlen(s->szName, sizeof s->szName)) + "\"";
    }

private:
    // The first point of the card at cards[c] that the cards after it leave
    // open and that the frame does not show as the card's sheet does.
    std::string CardFault(const std::vector<size_t>& cards, size_t c) {
        SPRITEINFO* s = m_order[cards[c]].sprite;
        if (s->alpha != 255 || (s->nUser[2] & CAlphaFrameImage::kHighlightBit))
            return "";
        const CardSheets::Cell& cell = *CellOf(s);
        const CRect own(s->x, s->y, s->x + cell.size.cx, s->y + cell.size.cy);
        std::vector<CRect> open{AreaOf(m_order[cards[c]]) & own};
        for (size_t later = c + 1; later < cards.size(); ++later)
            open = Cut(open, AreaOf(m_order[cards[later]]));
        for (const CRect& piece : open)
            for (const POINT p : Spread(piece, 4, 5)) {
                if (!CardSheets::Covers(cell, p.x - s->x, p.y - s->y))
                    continue;
                const uint32_t want = CardSheets::Face(cell, p.x - s->x, p.y - s->y);
                const uint32_t got = m_frame.At(p);
                if (MayLieOver(p, cards[c]) || (CardInFlight(s) && DrawnOver(p, cards[c])))
                    continue;
                if (!m_frame.Inside(p) || !Near(got, want, kBlitTolerance))
                    return CardName(s, cell) + " not shown at " + Where(p) + ": " + Hex6(got) +
                           " for " + Hex6(want) + Over(p, cards[c]);
            }
        return "";
    }
    const CardSheets::Cell* CellOf(SPRITEINFO* s) { return m_sheets.CellOf(s->posImage); }
    static std::string CardName(SPRITEINFO* s, const CardSheets::Cell& cell) {
        return (cell.card < 0 ? std::string("card back") : "card " + std::to_string(cell.card)) +
               " \"" + std::string(s->szName, strnlen(s->szName, sizeof s->szName)) + "\"";
    }
    CRect AreaOf(const PaintedEntry& e) {
        if (e.item != nullptr)
            return e.item->GetRect();
        CSpriteImage* image = m_wnd.GetImageList().GetAt(e.sprite->posImage);
        if (image == nullptr)
            return CRect(0, 0, 0, 0);
        CRect area =
            image->GetRect(e.sprite, std::max(0, m_wnd.GetChannel(e.sprite->nChannel).nFrame));
        area.OffsetRect(e.sprite->x, e.sprite->y);
        return area;
    }
    // Whether an entry painted after entry k (a text too unless textsApart)
    // lies over the box.
    bool PaintedOver(size_t k, const CRect& box, bool textsApart) {
        for (size_t later = k + 1; later < m_order.size(); ++later) {
            const PaintedEntry& e = m_order[later];
            if (!(textsApart && e.sprite != nullptr && IsText(e.sprite)) &&
                !(AreaOf(e) & box).IsRectEmpty())
                return true;
        }
        return false;
    }
    // The first point of the box where the frame differs from the picture
    // composed up to and with entry k (and, with textsApart, where not only
    // texts lie over it), in words; empty when none does.
    std::string CoveredAt(size_t k, const CRect& box, bool textsApart) {
        if (box.IsRectEmpty())
            return "";
        Canvas();
        ComposeTable(m_wnd, m_canvas, m_order, box, k);
        for (const POINT p : Spread(box, 3, 3)) {
            const uint32_t want = CanvasPixel(m_canvas, p), got = m_frame.At(p);
            if (!Near(got, want, kBlitTolerance) && !(textsApart && OnlyTextsOver(p, k)) &&
                !MayLieOver(p, k))
                return " at " + Where(p) + Over(p, k);
        }
        return "";
    }
    // A theme text animation on its way along a line (the burn's slide to
    // the seat it burns): it passes over the table for a moment, as cards
    // in flight do; once it stands it is held to every check.
    static bool InFlight(const SPRITEINFO* s) {
        return IsText(s) && !IsNotice(s) && s->nId != kQuestionLineSprite && s->pLine != nullptr &&
               !s->pLine->IsFixed();
    }
    // The reel and the last round are panes the person opens with their
    // buttons over the table's middle and closes with a click or as their
    // turn begins: what lies below is hidden because they asked to look.
    static bool OpenedByPerson(const SPRITEINFO* s) {
        return s->nId == kReelPaneId || s->nId == kLastCardPaneId;
    }
    // Whether what is drawn after entry k over the point may hide it: a text
    // animation in flight or a pane the person opened.
    bool MayLieOver(POINT p, size_t k) {
        for (size_t later = k == SIZE_MAX ? 0 : k + 1; later < m_order.size(); ++later) {
            const PaintedEntry& e = m_order[later];
            if (e.sprite != nullptr && (InFlight(e.sprite) || OpenedByPerson(e.sprite)) &&
                AreaOf(e).PtInRect(p))
                return true;
        }
        return false;
    }
    // A card on its way (laid from a plate or my hand, gathered to the
    // centre, handed to a seat) passes under the marks, texts and buttons
    // that stand between where it leaves and where it lands, for the few
    // ticks of its flight: it shows its own face wherever nothing lies over
    // it, and wholly once it rests.
    static bool CardInFlight(const SPRITEINFO* s) {
        return s->pLine != nullptr && !s->pLine->IsFixed();
    }
    bool DrawnOver(POINT p, size_t k) {
        for (size_t later = k + 1; later < m_order.size(); ++later)
            if (AreaOf(m_order[later]).PtInRect(p))
                return true;
        return false;
    }
    size_t IndexOf(const SPRITEINFO* s) const {
        for (size_t k = 0; k < m_order.size(); ++k)
            if (m_order[k].sprite == s)
                return k;
        return SIZE_MAX;
    }
    bool OnlyTextsOver(POINT p, size_t k) {
        for (size_t later = k + 1; later < m_order.size(); ++later) {
            const PaintedEntry& e = m_order[later];
            if (AreaOf(e).PtInRect(p) && !(e.sprite != nullptr && IsText(e.sprite)))
                return false;
        }
        return true;
    }
    // The client rectangle of the sprite's drawn pixels, drawn on its own;
    // kept while the sprite shows the same frame of the same picture.
    CRect InkBounds(SPRITEINFO* s) {
        const int frame = std::max(0, m_wnd.GetChannel(s->nChannel).nFrame);
        const InkKey key{s, m_wnd.GetImageList().GetAt(s->posImage), frame, s->alpha};
        auto found = m_inks.find(key);
        if (found == m_inks.end()) {
            CRect area;
            CRect bounds = InkOfSprite(m_wnd, s, &area).Bounds();
            if (!bounds.IsRectEmpty())
                bounds.OffsetRect(area.left, area.top);
            found = m_inks.emplace(key, bounds).first;
        }
        CRect bounds = found->second;
        if (!bounds.IsRectEmpty())
            bounds.OffsetRect(s->x, s->y);
        return bounds;
    }
    // What is painted after the entry over the point.
    std::string Over(POINT p, size_t after) {
        std::string over;
        for (size_t k = after == SIZE_MAX ? 0 : after + 1; k < m_order.size(); ++k)
            if (AreaOf(m_order[k]).PtInRect(p))
                over += (over.empty() ? "" : ", ") + Name(m_order[k]);
        return over.empty() ? "" : "; over it: " + over;
    }
    // Points spread over the rectangle, about one every `gap` pixels
    // across and a few down, at most `across` x `down` of them.
    static std::vector<POINT> Spread(const CRect& r, int across, int down) {
        std::vector<POINT> points;
        if (r.IsRectEmpty())
            return points;
        const int nx = std::min(across, std::max(1, r.Width() / 3));
        const int ny = std::min(down, std::max(1, r.Height() / 3));
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i)
                points.push_back(POINT{r.left + (2 * i + 1) * r.Width() / (2 * nx),
                                       r.top + (2 * j + 1) * r.Height() / (2 * ny)});
        return points;
    }
    static std::vector<CRect> Cut(const std::vector<CRect>& pieces, const CRect& c) {
        std::vector<CRect> out;
        for (const CRect& p : pieces) {
            if ((p & c).IsRectEmpty()) {
                out.push_back(p);
                continue;
            }
            const LONG top = std::max(p.top, c.top), bottom = std::min(p.bottom, c.bottom);
            if (p.top < c.top)
                out.emplace_back(p.left, p.top, p.right, c.top);
            if (c.bottom < p.bottom)
                out.emplace_back(p.left, c.bottom, p.right, p.bottom);
            if (p.left < c.left)
                out.emplace_back(p.left, top, c.left, bottom);
            if (c.right < p.right)
                out.emplace_back(c.right, top, p.right, bottom);
        }
        return out;
    }
    void Canvas() {
        const CRect client = m_frame.Client();
        const CSize size = m_canvas.GetSize();
        if (size.cx != client.Width() || size.cy != client.Height())
            m_canvas.Create(nullptr, client.Width(), client.Height());
    }

    SeenTableWnd& m_wnd;
    CardSheets m_sheets;
    PresentedFrame m_frame;
    std::vector<PaintedEntry> m_order;
    CMemDC m_canvas;
    using InkKey = std::tuple<SPRITEINFO*, CSpriteImage*, int, int>;
    std::map<InkKey, CRect> m_inks;
};

// The pictures a seat's panes and marks show, made anew from the theme:
// a remnant or multiple pane with its value, a mark's [FLAG] picture.
class SeatPictures {
public:
    explicit SeatPictures(CGameLayout& layout) : m_layout(layout) {}

    const Ink& Remnant(int count) { return Pane("PANE_REMNANT", FALSE, count); }
    const Ink& Multiple(int level) { return Pane("PANE_MULTIPLE", TRUE, level); }
    const Ink& Flag(int flag) {
        auto found = m_inks.find({-1, flag});
        if (found != m_inks.end())
            return found->second;
        CBitmap& picture = m_layout.m_bmpFlags[flag];
        const CSize size = GetBitmapSize(picture);
        const HBITMAP bitmap = static_cast<HBITMAP>(picture.GetSafeHandle());
        return m_inks[{-1, flag}] = Ink(size.cx / 2, size.cy, [&](HDC dc) {
                   AlphaBlit(dc, 0, 0, size.cx / 2, size.cy, bitmap, 0, 0, bitmap, size.cx / 2, 0);
               });
    }

private:
    const Ink& Pane(LPCSTR section, BOOL shortStrip, int value) {
        const int kind = shortStrip ? 1 : 0;
        auto found = m_inks.find({kind, value});
        if (found != m_inks.end())
            return found->second;
        CRemnantPaneImage pane(0);
        pane.LoadRemnantCardPane(kLayoutFile.c_str(), section, shortStrip);
        pane.m_nValue = value;
        return m_inks[{kind, value}] = Ink(pane.m_cx, pane.m_cy, [&](HDC dc) {
                   pane.Draw(dc, 0, nullptr, 0, 0, pane.m_cx, pane.m_cy, 0, 0, 255);
               });
    }

    CGameLayout& m_layout;
    std::map<std::pair<int, int>, Ink> m_inks; // {pane kind or -1 for a flag, value}
};

} // namespace table_test
