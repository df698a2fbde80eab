#include "table/cards/SeatMarkPlaces.h"

#include "sprite/GameLayout.h"
#include "table/common/TableWndFields.h"

#include <algorithm>

namespace {

// Between a mark and the card it keeps clear of.
constexpr int kMarkGap = 2;

CSpritePos Moved(const CSpritePos& at, int dx, int dy) {
    CSpritePos moved = at;
    moved.x += dx;
    moved.y += dy;
    return moved;
}

} // namespace

SIZE TableClientSize() {
    CSpritePos bottomRight;
    bottomRight.Set(0, 0, 8);
    const POINT corner = ResolvePos(bottomRight);
    return SIZE{corner.x, corner.y};
}

CRect PlacedRect(const CSpritePos& at, SIZE size) {
    const POINT p = ResolvePos(at);
    return CRect(p.x, p.y, p.x + size.cx, p.y + size.cy);
}

CSpritePos InsideTable(const CSpritePos& at, SIZE size) {
    const SIZE client = TableClientSize();
    const CRect r = PlacedRect(at, size);
    const int left = std::max(0, std::min(int(r.left), int(client.cx - size.cx)));
    const int top = std::max(0, std::min(int(r.top), int(client.cy - size.cy)));
    return Moved(at, left - r.left, top - r.top);
}

CSpritePos RightOf(const CSpritePos& at, SIZE size, const std::vector<CRect>& taken) {
    CSpritePos moved = at;
    // Each step clears one rectangle; there are no more steps than rectangles.
    for (size_t step = 0; step <= taken.size(); ++step) {
        const CRect r = PlacedRect(moved, size);
        CRect overlap;
        const auto met = std::find_if(taken.begin(), taken.end(), [&](const CRect& t) {
            return overlap.IntersectRect(&r, &t) != FALSE;
        });
        if (met == taken.end())
            break;
        moved = Moved(moved, met->right + kMarkGap - r.left, 0);
    }
    return moved;
}

CSpritePos ClearOf(const CSpritePos& at, SIZE size, const std::vector<CRect>& taken, int reach) {
    const CRect from = PlacedRect(at, size);
    const auto meets = [&](const CRect& r) {
        CRect overlap;
        return std::any_of(taken.begin(), taken.end(),
                           [&](const CRect& t) { return overlap.IntersectRect(&r, &t) != FALSE; });
    };
    if (!meets(from))
        return at;
    // The nearest clear place touches a rectangle or the table's edge on
    // each axis it moved along: only those lefts and tops need trying.
    const SIZE client = TableClientSize();
    const int maxLeft = std::max(0, int(client.cx - size.cx));
    const int maxTop = std::max(0, int(client.cy - size.cy));
    std::vector<int> lefts{int(from.left), 0, maxLeft};
    std::vector<int> tops{int(from.top), 0, maxTop};
    for (const CRect& t : taken) {
        lefts.push_back(t.right + kMarkGap);
        lefts.push_back(t.left - kMarkGap - size.cx);
        tops.push_back(t.bottom + kMarkGap);
        tops.push_back(t.top - kMarkGap - size.cy);
    }
    const auto keepInside = [](std::vector<int>& v, int most) {
        std::erase_if(v, [&](int p) { return p < 0 || p > most; });
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
    };
    keepInside(lefts, maxLeft);
    keepInside(tops, maxTop);
    const int64_t most = int64_t(reach) * reach;
    int64_t best = most + 1;
    POINT bestAt{0, 0};
    for (const int left : lefts) {
        const int64_t dx = left - from.left;
        if (dx * dx >= best)
            continue;
        for (const int top : tops) {
            const int64_t dy = top - from.top;
            const int64_t cost = dx * dx + dy * dy;
            if (cost >= best || meets(CRect(left, top, left + size.cx, top + size.cy)))
                continue;
            best = cost;
            bestAt = POINT{left, top};
        }
    }
    if (best > most)
        return at;
    return Moved(at, bestAt.x - from.left, bestAt.y - from.top);
}

CSpritePos SeatMarkPlace(const CTableWndFields& fields, int view, POINT offset, SIZE size) {
    const CSpritePos plate = fields.AvatarPoint(view);
    if (view == 0) {
        const SIZE plateSize = fields.pLayout != nullptr ? fields.pLayout->m_sizeAvatar : SIZE{};
        const SIZE client = TableClientSize();
        const POINT mine = ResolvePos(plate);
        const int mirrorLeft = client.cx - mine.x - plateSize.cx;
        CSpritePos at;
        at.Set(mirrorLeft + (plateSize.cx - size.cx) / 2 - client.cx, mine.y + offset.y - client.cy,
               8);
        return InsideTable(at, size);
    }
    CSpritePos at = Moved(plate, offset.x, offset.y);
    const SIZE cardSize = fields.CardSize();
    // The cards of the seat opposite lie centred below its marks.
    if (view == 3 || cardSize.cx <= 0 || cardSize.cy <= 0)
        return InsideTable(at, size);
    CRect card = PlacedRect(fields.TableCardPos(view, 0, 1), cardSize);
    card.InflateRect(kMarkGap, kMarkGap);
    const CRect mark = PlacedRect(at, size);
    CRect overlap;
    if (overlap.IntersectRect(&mark, &card)) {
        const bool cardsRightOfPlate = ResolvePos(plate).x < card.CenterPoint().x;
        at = Moved(at, cardsRightOfPlate ? card.left - mark.right : card.right - mark.left, 0);
    }
    return InsideTable(at, size);
}
