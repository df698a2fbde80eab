#include "platform/gdi/Region.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace platform {

// Appends bands to a region, merging a band into the one above it when they
// touch and hold the same spans.
class BandWriter {
public:
    explicit BandWriter(Region& region) : m_rects(region.m_rects) {}

    void Add(int top, int bottom, const std::vector<Span>& spans) {
        if (spans.empty() || top >= bottom)
            return;
        if (m_lastBottom == top && m_rects.size() - m_lastStart == spans.size() &&
            SameSpans(spans)) {
            for (size_t i = m_lastStart; i < m_rects.size(); ++i)
                m_rects[i].bottom = bottom;
        } else {
            m_lastStart = m_rects.size();
            for (const Span& s : spans)
                m_rects.push_back(RECT{s.left, top, s.right, bottom});
        }
        m_lastBottom = bottom;
    }

private:
    bool SameSpans(const std::vector<Span>& spans) const {
        for (size_t i = 0; i < spans.size(); ++i) {
            const RECT& r = m_rects[m_lastStart + i];
            if (r.left != spans[i].left || r.right != spans[i].right)
                return false;
        }
        return true;
    }

    std::vector<RECT>& m_rects;
    size_t m_lastStart = 0;
    long long m_lastBottom = -(1LL << 40);
};

namespace {

// Adds [left, right) to sorted spans, joining it to the last one when they touch.
void AppendSpan(std::vector<Span>& spans, int left, int right) {
    if (left >= right)
        return;
    if (!spans.empty() && spans.back().right >= left)
        spans.back().right = std::max(spans.back().right, right);
    else
        spans.push_back(Span{left, right});
}

bool Apply(int mode, bool inA, bool inB) {
    switch (mode) {
    case RGN_AND:
        return inA && inB;
    case RGN_OR:
        return inA || inB;
    case RGN_XOR:
        return inA != inB;
    default: // RGN_DIFF
        return inA && !inB;
    }
}

// The spans of one band of a region, as a view of its rectangles.
struct BandView {
    const RECT* begin = nullptr;
    const RECT* end = nullptr;
};

void CombineSpans(BandView a, BandView b, int mode, std::vector<Span>& out) {
    out.clear();
    // Walk the edges of both span lists in x order.
    std::vector<int> edges;
    edges.reserve(size_t((a.end - a.begin) + (b.end - b.begin)) * 2);
    for (const RECT* r = a.begin; r != a.end; ++r) {
        edges.push_back(r->left);
        edges.push_back(r->right);
    }
    size_t split = edges.size();
    for (const RECT* r = b.begin; r != b.end; ++r) {
        edges.push_back(r->left);
        edges.push_back(r->right);
    }
    std::inplace_merge(edges.begin(), edges.begin() + ptrdiff_t(split), edges.end());
    const RECT* ia = a.begin;
    const RECT* ib = b.begin;
    for (size_t k = 0; k + 1 < edges.size(); ++k) {
        int x0 = edges[k], x1 = edges[k + 1];
        if (x0 == x1)
            continue;
        while (ia != a.end && ia->right <= x0)
            ++ia;
        while (ib != b.end && ib->right <= x0)
            ++ib;
        bool inA = ia != a.end && ia->left <= x0;
        bool inB = ib != b.end && ib->left <= x0;
        if (Apply(mode, inA, inB))
            AppendSpan(out, x0, x1);
    }
}

// Band boundaries of a region in order: each band's top and bottom.
void CollectBandEdges(const std::vector<RECT>& rects, std::vector<int>& ys) {
    for (size_t i = 0; i < rects.size(); ++i)
        if (i == 0 || rects[i].top != rects[i - 1].top) {
            ys.push_back(rects[i].top);
            ys.push_back(rects[i].bottom);
        }
}

// Moves a cursor to the band that covers y, if any.
BandView BandAt(const std::vector<RECT>& rects, size_t& cursor, int y) {
    while (cursor < rects.size() && rects[cursor].bottom <= y)
        ++cursor;
    BandView band;
    if (cursor < rects.size() && rects[cursor].top <= y) {
        size_t end = cursor;
        while (end < rects.size() && rects[end].top == rects[cursor].top)
            ++end;
        band.begin = rects.data() + cursor;
        band.end = rects.data() + end;
    }
    return band;
}

} // namespace

Region::Region(const RECT& rect) {
    if (rect.left < rect.right && rect.top < rect.bottom)
        m_rects.push_back(rect);
}

Region Region::FromRects(const RECT* rects, size_t count) {
    std::vector<RECT> sorted;
    sorted.reserve(count);
    std::vector<int> ys;
    for (size_t i = 0; i < count; ++i)
        if (rects[i].left < rects[i].right && rects[i].top < rects[i].bottom) {
            sorted.push_back(rects[i]);
            ys.push_back(rects[i].top);
            ys.push_back(rects[i].bottom);
        }
    std::sort(sorted.begin(), sorted.end(),
              [](const RECT& a, const RECT& b) { return a.top < b.top; });
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    Region region;
    BandWriter writer(region);
    std::vector<const RECT*> active;
    std::vector<std::pair<int, int>> xs;
    std::vector<Span> spans;
    size_t next = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int y0 = ys[k], y1 = ys[k + 1];
        std::erase_if(active, [y0](const RECT* r) { return r->bottom <= y0; });
        while (next < sorted.size() && sorted[next].top <= y0)
            active.push_back(&sorted[next++]);
        xs.clear();
        for (const RECT* r : active)
            xs.emplace_back(r->left, r->right);
        std::sort(xs.begin(), xs.end());
        spans.clear();
        for (auto [l, r] : xs)
            AppendSpan(spans, l, r);
        writer.Add(y0, y1, spans);
    }
    return region;
}

Region Region::FromRows(int top, const std::vector<std::vector<Span>>& rows) {
    Region region;
    BandWriter writer(region);
    std::vector<Span> spans;
    for (size_t i = 0; i < rows.size(); ++i) {
        std::vector<Span> row = rows[i];
        std::sort(row.begin(), row.end(),
                  [](const Span& a, const Span& b) { return a.left < b.left; });
        spans.clear();
        for (const Span& s : row)
            AppendSpan(spans, s.left, s.right);
        writer.Add(top + int(i), top + int(i) + 1, spans);
    }
    return region;
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
    std::vector<int> ys;
    CollectBandEdges(a.m_rects, ys);
    CollectBandEdges(b.m_rects, ys);
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    Region result;
    BandWriter writer(result);
    std::vector<Span> spans;
    size_t cursorA = 0, cursorB = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        BandView bandA = BandAt(a.m_rects, cursorA, ys[k]);
        BandView bandB = BandAt(b.m_rects, cursorB, ys[k]);
        if (bandA.begin == nullptr && bandB.begin == nullptr)
            continue;
        CombineSpans(bandA, bandB, mode, spans);
        writer.Add(ys[k], ys[k + 1], spans);
    }
    return result;
}

RECT Region::Bounds() const {
    if (m_rects.empty())
        return RECT{0, 0, 0, 0};
    RECT box{m_rects.front().left, m_rects.front().top, m_rects.front().right,
             m_rects.back().bottom};
    for (const RECT& r : m_rects) {
        box.left = std::min(box.left, r.left);
        box.right = std::max(box.right, r.right);
    }
    return box;
}

int Region::Complexity() const {
    if (m_rects.empty())
        return NULLREGION;
    return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

bool Region::CanOffset(int dx, int dy) const {
    if (m_rects.empty())
        return true;
    RECT box = Bounds();
    auto inside = [](int64_t v) { return v >= -kCoordinateLimit && v <= kCoordinateLimit; };
    return inside(int64_t(box.left) + dx) && inside(int64_t(box.right) + dx) &&
           inside(int64_t(box.top) + dy) && inside(int64_t(box.bottom) + dy);
}

void Region::Offset(int dx, int dy) {
    auto move = [](LONG& v, int d) {
        v = LONG(std::clamp<int64_t>(int64_t(v) + d, -kCoordinateLimit, kCoordinateLimit));
    };
    for (RECT& r : m_rects) {
        move(r.left, dx);
        move(r.right, dx);
        move(r.top, dy);
        move(r.bottom, dy);
    }
}

bool Region::Contains(int x, int y) const {
    auto it = std::lower_bound(m_rects.begin(), m_rects.end(), y,
                               [](const RECT& r, int v) { return r.bottom <= v; });
    for (; it != m_rects.end() && it->top <= y; ++it)
        if (x >= it->left && x < it->right)
            return true;
    return false;
}

bool Region::Intersects(const RECT& rect) const {
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return false;
    auto it = std::lower_bound(m_rects.begin(), m_rects.end(), rect.top,
                               [](const RECT& r, int v) { return r.bottom <= v; });
    for (; it != m_rects.end() && it->top < rect.bottom; ++it)
        if (it->left < rect.right && it->right > rect.left)
            return true;
    return false;
}

Region Region::Intersected(const RECT& rect) const {
    Region out;
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return out;
    // Clipping to a rectangle keeps the banded form except for bands that may
    // now touch with equal spans; rebuilding through the writer merges those.
    BandWriter writer(out);
    std::vector<Span> spans;
    size_t i = 0;
    while (i < m_rects.size()) {
        size_t end = i;
        while (end < m_rects.size() && m_rects[end].top == m_rects[i].top)
            ++end;
        int top = std::max(m_rects[i].top, rect.top);
        int bottom = std::min(m_rects[i].bottom, rect.bottom);
        if (top < bottom) {
            spans.clear();
            for (size_t k = i; k < end; ++k)
                AppendSpan(spans, std::max(m_rects[k].left, rect.left),
                           std::min(m_rects[k].right, rect.right));
            writer.Add(top, bottom, spans);
        }
        i = end;
    }
    return out;
}

bool Region::operator==(const Region& other) const {
    return std::equal(m_rects.begin(), m_rects.end(), other.m_rects.begin(), other.m_rects.end(),
                      [](const RECT& a, const RECT& b) {
                          return a.left == b.left && a.top == b.top && a.right == b.right &&
                                 a.bottom == b.bottom;
                      });
}

} // namespace platform
