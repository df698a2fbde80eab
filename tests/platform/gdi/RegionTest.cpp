#include "platform/gdi/Region.h"
#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <set>
#include <vector>

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet PixelsOf(HRGN region, const RECT& area) {
    PixelSet out;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (PtInRegion(region, x, y))
                out.insert({x, y});
    return out;
}

PixelSet PixelsOfRects(const std::vector<RECT>& rects) {
    PixelSet out;
    for (const RECT& r : rects)
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                out.insert({x, y});
    return out;
}

std::vector<RECT> RandomRects(std::mt19937& rng, int count) {
    std::vector<RECT> rects;
    for (int i = 0; i < count; ++i) {
        int x = int(rng() % 20) - 2, y = int(rng() % 20) - 2;
        rects.push_back(RECT{x, y, x + int(rng() % 8), y + int(rng() % 8)});
    }
    return rects;
}

HRGN RegionOf(const std::vector<RECT>& rects) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
        HRGN piece = CreateRectRgnIndirect(&r);
        CombineRgn(region, region, piece, RGN_OR);
        DeleteObject(piece);
    }
    return region;
}

// The stored rectangles are the banded form: disjoint, sorted, bands merged.
void ExpectBanded(HRGN region) {
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    ASSERT_EQ(GetRegionData(region, size, data), size);
    const RECT* r = reinterpret_cast<const RECT*>(buffer.data() + sizeof(RGNDATAHEADER));
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        ASSERT_LT(r[i].left, r[i].right);
        ASSERT_LT(r[i].top, r[i].bottom);
        if (i == 0)
            continue;
        const RECT& p = r[i - 1];
        if (p.top == r[i].top) {
            ASSERT_EQ(p.bottom, r[i].bottom);
            ASSERT_LT(p.right, r[i].left); // spans never touch
        } else {
            ASSERT_LE(p.bottom, r[i].top);
        }
    }
}

TEST(RegionTest, AlgebraMatchesPixelSets) {
    std::mt19937 rng(42);
    const RECT area{-4, -4, 30, 30};
    for (int round = 0; round < 150; ++round) {
        std::vector<RECT> a = RandomRects(rng, int(rng() % 6)),
                          b = RandomRects(rng, int(rng() % 6));
        HRGN ra = RegionOf(a), rb = RegionOf(b), out = CreateRectRgn(0, 0, 0, 0);
        PixelSet pa = PixelsOfRects(a), pb = PixelsOfRects(b);
        for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY}) {
            int type = CombineRgn(out, ra, rb, mode);
            PixelSet expected;
            for (int y = area.top; y < area.bottom; ++y)
                for (int x = area.left; x < area.right; ++x) {
                    bool inA = pa.count({x, y}), inB = pb.count({x, y});
                    bool in = mode == RGN_AND    ? inA && inB
                              : mode == RGN_OR   ? inA || inB
                              : mode == RGN_XOR  ? inA != inB
                              : mode == RGN_DIFF ? inA && !inB
                                                 : inA;
                    if (in)
                        expected.insert({x, y});
                }
            ASSERT_EQ(PixelsOf(out, area), expected) << "round " << round << " mode " << mode;
            ExpectBanded(out);
            RECT box;
            ASSERT_EQ(GetRgnBox(out, &box), type);
            if (expected.empty()) {
                EXPECT_EQ(type, NULLREGION);
            } else {
                // A single rectangle exactly when the set fills its bounding box.
                size_t boxArea = size_t(box.right - box.left) * size_t(box.bottom - box.top);
                EXPECT_EQ(type, boxArea == expected.size() ? SIMPLEREGION : COMPLEXREGION);
                RECT bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
                for (auto [x, y] : expected) {
                    bounds.left = std::min<LONG>(bounds.left, x);
                    bounds.top = std::min<LONG>(bounds.top, y);
                    bounds.right = std::max<LONG>(bounds.right, x + 1);
                    bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
                }
                EXPECT_TRUE(bounds.left == box.left && bounds.top == box.top &&
                            bounds.right == box.right && bounds.bottom == box.bottom);
            }
        }
        DeleteObject(ra);
        DeleteObject(rb);
        DeleteObject(out);
    }
}

TEST(RegionTest, EqualSetsHaveEqualRegionsWhateverTheirHistory) {
    // An L shape built two ways.
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN cut = CreateRectRgn(5, 5, 10, 10);
    CombineRgn(a, a, cut, RGN_DIFF);
    std::vector<RECT> pieces{{0, 0, 5, 10}, {5, 0, 10, 5}};
    HRGN b = RegionOf(pieces);
    EXPECT_TRUE(EqualRgn(a, b));
    OffsetRgn(b, 1, 0);
    EXPECT_FALSE(EqualRgn(a, b));
    EXPECT_EQ(OffsetRgn(b, -1, 0), COMPLEXREGION);
    EXPECT_TRUE(EqualRgn(a, b));
    for (HRGN r : {a, b, cut})
        DeleteObject(r);
}

TEST(RegionTest, RegionDataRoundTripsThroughExtCreateRegion) {
    std::mt19937 rng(9);
    HRGN original = RegionOf(RandomRects(rng, 12));
    DWORD size = GetRegionData(original, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    EXPECT_EQ(GetRegionData(original, size - 1, data), size); // too small: just the size
    ASSERT_EQ(GetRegionData(original, size, data), size);
    EXPECT_EQ(data->rdh.iType, DWORD(RDH_RECTANGLES));
    HRGN copy = ExtCreateRegion(nullptr, size, data);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(EqualRgn(original, copy));
    // Overlapping rectangles in the list are merged.
    struct {
        RGNDATAHEADER rdh;
        RECT rects[2];
    } overlapping{{sizeof(RGNDATAHEADER), RDH_RECTANGLES, 2, 0, {0, 0, 0, 0}},
                  {{0, 0, 4, 4}, {2, 2, 6, 6}}};
    HRGN merged = ExtCreateRegion(nullptr, sizeof(overlapping),
                                  reinterpret_cast<const RGNDATA*>(&overlapping));
    EXPECT_EQ(PixelsOf(merged, RECT{0, 0, 8, 8}).size(), 28u);
    // A count that runs past the bytes handed over is refused.
    overlapping.rdh.nCount = 3;
    EXPECT_EQ(ExtCreateRegion(nullptr, sizeof(overlapping),
                              reinterpret_cast<const RGNDATA*>(&overlapping)),
              nullptr);
    for (HRGN r : {original, copy, merged})
        DeleteObject(r);
}

TEST(RegionTest, QueriesAndBadHandles) {
    HRGN r = CreateRectRgn(10, 10, 0, 0); // corners in any order
    RECT box;
    EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.bottom, 10);
    EXPECT_TRUE(PtInRegion(r, 0, 0));
    EXPECT_FALSE(PtInRegion(r, 10, 5));
    RECT touching{10, 0, 12, 4}, crossing{9, 9, 20, 20};
    EXPECT_FALSE(RectInRegion(r, &touching));
    EXPECT_TRUE(RectInRegion(r, &crossing));
    DeleteObject(r);
    // A deleted region is no region.
    EXPECT_EQ(GetRgnBox(r, &box), ERROR);
    EXPECT_EQ(CombineRgn(r, r, r, RGN_OR), ERROR);
    EXPECT_FALSE(DeleteObject(r));
    HRGN empty = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetRgnBox(empty, &box), NULLREGION);
    EXPECT_EQ(CombineRgn(empty, empty, nullptr, 99), ERROR);
    DeleteObject(empty);
}

TEST(RegionTest, EllipseAndRoundRectStayInsideTheirBoxAndAreSymmetric) {
    HRGN e = CreateEllipticRgn(0, 0, 11, 7);
    HRGN rr = CreateRoundRectRgn(0, 0, 12, 8, 6, 4);
    for (HRGN r : {e, rr}) {
        RECT box;
        GetRgnBox(r, &box);
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) {
                ASSERT_EQ(PtInRegion(r, x, y), PtInRegion(r, box.right - 1 - (x - box.left), y));
                ASSERT_EQ(PtInRegion(r, x, y), PtInRegion(r, x, box.bottom - 1 - (y - box.top)));
            }
    }
    EXPECT_TRUE(PtInRegion(e, 5, 3));
    EXPECT_FALSE(PtInRegion(e, 0, 0));
    EXPECT_TRUE(PtInRegion(e, 0, 3));
    EXPECT_FALSE(PtInRegion(e, 11, 3));
    EXPECT_FALSE(PtInRegion(rr, 0, 0));
    EXPECT_TRUE(PtInRegion(rr, 3, 0));
    EXPECT_TRUE(PtInRegion(rr, 0, 2));
    DeleteObject(e);
    DeleteObject(rr);
}

TEST(RegionTest, PolygonFillRulesDiffer) {
    // A pentagram: the centre is outside under even-odd, inside under winding.
    POINT star[5] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    HRGN alternate = CreatePolygonRgn(star, 5, ALTERNATE);
    HRGN winding = CreatePolygonRgn(star, 5, WINDING);
    EXPECT_FALSE(PtInRegion(alternate, 10, 10));
    EXPECT_TRUE(PtInRegion(winding, 10, 10));
    EXPECT_TRUE(PtInRegion(alternate, 10, 3));
    DeleteObject(alternate);
    DeleteObject(winding);
}

} // namespace
