// Drawing a bitmap into a rectangle: copies, tiles, three and nine slices and
// stretching, read back pixel by pixel; and the region with a key colour.

#include "tests/knclientUI05/BitmapKit.h"

#include "knclientUI05/KnClientPublic.h"

#include <gtest/gtest.h>

namespace ui_test {
namespace {

constexpr uint32_t kBackground = 0x0000FF;

// Each source pixel names its own position, so a drawn pixel tells where it
// came from.
uint32_t Named(int x, int y) {
    return 0x800000u | uint32_t(x) << 8 | uint32_t(y);
}

class InRectTest : public ::testing::Test {
protected:
    void SetUp() override {
        source = MakeBitmap(9, 9, Named);
        canvas.Fill(kBackground);
    }
    void TearDown() override { DeleteObject(source); }

    void Draw(RECT dest, int mode, const RECT* part = nullptr) {
        DrawBitmapInRect(CDC::FromHandle(canvas.dc()), &dest, source, mode, part, -1);
    }
    // The source position a destination pixel came from, or (-1, -1).
    POINT From(int x, int y) const {
        const uint32_t p = canvas.At(x, y) & 0xFFFFFF;
        if (p == kBackground)
            return POINT{-1, -1};
        return POINT{LONG((p >> 8) & 0xFF), LONG(p & 0xFF)};
    }
    void ExpectFrom(int x, int y, int sx, int sy) const {
        const POINT got = From(x, y);
        EXPECT_TRUE(got.x == sx && got.y == sy)
            << "(" << x << "," << y << ") came from (" << got.x << "," << got.y << "), not (" << sx
            << "," << sy << ")";
    }

    HBITMAP source = nullptr;
    GdiCanvas canvas{24, 24};
};

TEST_F(InRectTest, OneCopyFromThePartsOrigin) {
    const RECT part{2, 1, 8, 8};
    Draw(RECT{3, 4, 7, 6}, 1, &part);
    ExpectFrom(3, 4, 2, 1);
    ExpectFrom(6, 5, 5, 2);
    ExpectFrom(7, 4, -1, -1);
    ExpectFrom(3, 6, -1, -1);
}

TEST_F(InRectTest, TilesCutAtTheEdges) {
    const RECT part{1, 1, 4, 3}; // 3 x 2
    Draw(RECT{2, 2, 10, 7}, 3, &part);
    for (int y = 2; y < 7; ++y)
        for (int x = 2; x < 10; ++x)
            ExpectFrom(x, y, 1 + (x - 2) % 3, 1 + (y - 2) % 2);
    ExpectFrom(10, 2, -1, -1);
    ExpectFrom(2, 7, -1, -1);
}

TEST_F(InRectTest, NineSlicesKeepCornersAndRepeatEdgesAndCentre) {
    Draw(RECT{0, 0, 15, 12}, 5);
    // Columns: the left cell, the middle cell repeated, the right cell.
    auto column = [](int x) { return x < 3 ? x : x < 12 ? 3 + (x - 3) % 3 : 6 + (x - 12); };
    // Bands: the top cells, the middle cells twice, the bottom cells.
    auto row = [](int y) { return y < 3 ? y : y < 9 ? 3 + (y - 3) % 3 : 6 + (y - 9); };
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 15; ++x)
            ExpectFrom(x, y, column(x), row(y));
}

TEST_F(InRectTest, NarrowNineSlicesShowTheLeftCellAndTheRightEnd) {
    // Wider than one cell, narrower than two: nothing from the middle cell.
    Draw(RECT{0, 0, 5, 3}, 5);
    ExpectFrom(0, 0, 0, 0);
    ExpectFrom(2, 1, 2, 1);
    ExpectFrom(3, 0, 7, 0);
    ExpectFrom(4, 2, 8, 2);
    // Narrower than one cell: the left part of the left cell only.
    canvas.Fill(kBackground);
    Draw(RECT{0, 10, 2, 13}, 5);
    ExpectFrom(0, 10, 0, 0);
    ExpectFrom(1, 12, 1, 2);
    ExpectFrom(2, 10, -1, -1);
}

TEST_F(InRectTest, AShortSecondBandEndsTheBottomCells) {
    Draw(RECT{0, 0, 9, 5}, 5);
    ExpectFrom(0, 2, 0, 2);
    ExpectFrom(0, 3, 0, 7);
    ExpectFrom(4, 4, 4, 8);
}

TEST_F(InRectTest, ThreeSlicesInRowsFromTheTop) {
    Draw(RECT{0, 0, 12, 12}, 4);
    ExpectFrom(0, 8, 0, 8);
    ExpectFrom(0, 9, 0, 0); // the second row starts at the source's top again
    ExpectFrom(5, 11, 3 + (5 - 3) % 3, 2);
    ExpectFrom(11, 0, 8, 0);
}

TEST_F(InRectTest, OtherModesStretchTheWholePart) {
    Draw(RECT{0, 0, 18, 18}, 0);
    ExpectFrom(0, 0, 0, 0);
    ExpectFrom(17, 17, 8, 8);
    ExpectFrom(8, 4, 4, 2);
}

TEST_F(InRectTest, PartsTooSmallToStepDrawNothingAndReturn) {
    const RECT empty{2, 2, 2, 6};
    Draw(RECT{0, 0, 20, 20}, 3, &empty);
    const RECT thin{0, 0, 2, 9}; // slices of no width
    Draw(RECT{0, 0, 20, 20}, 4, &thin);
    Draw(RECT{0, 0, 20, 20}, 5, &thin);
    const RECT flat{0, 0, 9, 2}; // bands of no height
    Draw(RECT{0, 0, 20, 20}, 5, &flat);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(canvas.At(x, y) & 0xFFFFFF, kBackground);
    DrawBitmapInRect(nullptr, &empty, source, 1, nullptr, -1);
    DrawBitmapInRect(CDC::FromHandle(canvas.dc()), &empty, nullptr, 1, nullptr, -1);
}

TEST(BitmapToRegionTest, AKeyColourComparedInFiveSixFive) {
    // Magenta key; (1, 1) differs from it only below 5-6-5 precision.
    HBITMAP bitmap = MakeBitmap(4, 3, [](int x, int y) -> uint32_t {
        if (x == 1 && y == 1)
            return 0xFC03FC;
        return x == 3 ? 0x00FF00u : 0xFF00FFu;
    });
    HRGN region = BitmapToRegion(bitmap, RGB(255, 0, 255));
    ASSERT_NE(region, nullptr);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(bool(PtInRegion(region, x, y)), x == 3) << x << "," << y;
    // A key that differs only below 5-6-5 precision is the same key.
    HRGN near = BitmapToRegion(bitmap, RGB(250, 2, 251));
    ASSERT_NE(near, nullptr);
    EXPECT_TRUE(EqualRgn(near, region));
    DeleteObject(near);
    DeleteObject(region);
    // The point form keys on a pixel, the last one for negative coordinates.
    HRGN byPoint = BitmapToRegion(bitmap, -1, -1);
    ASSERT_NE(byPoint, nullptr);
    EXPECT_FALSE(PtInRegion(byPoint, 3, 2));
    EXPECT_TRUE(PtInRegion(byPoint, 0, 0));
    DeleteObject(byPoint);
    EXPECT_EQ(BitmapToRegion(nullptr, RGB(0, 0, 0)), nullptr);
    DeleteObject(bitmap);
}

TEST(DibSectionOfDepthTest, DepthsNoSectionCanHaveGiveNull) {
    EXPECT_EQ(CreateDibSectionOfDepth(4, 4, 12, nullptr), nullptr);
    EXPECT_EQ(CreateDibSectionOfDepth(4, 4, 2, nullptr), nullptr);
    void* bits = nullptr;
    HBITMAP section = CreateDibSectionOfDepth(5, 3, 16, &bits);
    ASSERT_NE(section, nullptr);
    EXPECT_NE(bits, nullptr);
    DeleteObject(section);
}

} // namespace
} // namespace ui_test
