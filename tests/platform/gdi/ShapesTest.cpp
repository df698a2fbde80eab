#include "tests/support/GdiCanvas.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

// The canvas as text, one character per pixel: '.' white, '#' the given pixel,
// '?' anything else.
std::string Picture(const GdiCanvas& c, uint32_t ink) {
    std::string out;
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x)
            out += c.At(x, y) == kWhite ? '.' : c.At(x, y) == ink ? '#' : '?';
        out += '\n';
    }
    return out;
}

TEST(FillTest, FillFrameAndInvertStayInsideTheRectangleAndTheBitmap) {
    GdiCanvas c(6, 4);
    c.Fill(kWhite);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT r{-3, 1, 2, 9};
    EXPECT_TRUE(FillRect(c.dc(), &r, red));
    RECT frame{2, 0, 6, 4};
    EXPECT_TRUE(FrameRect(c.dc(), &frame, red));
    EXPECT_EQ(Picture(c, 0x00FF0000), "..####\n###..#\n###..#\n######\n");
    RECT inv{0, 0, 3, 1};
    EXPECT_TRUE(InvertRect(c.dc(), &inv));
    EXPECT_EQ(c.At(0, 0), 0u);
    EXPECT_EQ(c.At(2, 0), 0x0000FFFFu);
    EXPECT_FALSE(FillRect(c.dc(), &r, nullptr));
    DeleteObject(red);
    EXPECT_FALSE(FillRect(c.dc(), &r, red)); // deleted
}

TEST(ShapeTest, RectangleDrawsPenOutlineAndBrushInside) {
    GdiCanvas c(6, 5);
    c.Fill(kWhite);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(c.dc(), blue);
    ASSERT_TRUE(Rectangle(c.dc(), 0, 0, 5, 4));
    EXPECT_EQ(c.At(0, 0), 0u);
    EXPECT_EQ(c.At(4, 3), 0u);
    EXPECT_EQ(c.At(5, 0), kWhite); // right edge excluded
    EXPECT_EQ(c.At(2, 2), 0x000000FFu);
    // Without a pen the filled part is one pixel smaller.
    c.Fill(kWhite);
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    ASSERT_TRUE(Rectangle(c.dc(), 0, 0, 5, 4));
    EXPECT_EQ(Picture(c, 0x000000FF), "####..\n####..\n####..\n......\n......\n");
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(blue);
}

TEST(ShapeTest, EllipseCoversTheSamePixelsAsItsRegion) {
    GdiCanvas c(16, 12);
    c.Fill(kWhite);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(Ellipse(c.dc(), 1, 2, 14, 11));
    HRGN region = CreateEllipticRgn(1, 2, 14, 11);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(c.At(x, y) == 0, bool(PtInRegion(region, x, y))) << x << "," << y;
    DeleteObject(region);
}

TEST(ShapeTest, WidePenOutlinesGrowInward) {
    GdiCanvas c(8, 8);
    c.Fill(kWhite);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 255, 0));
    HGDIOBJ oldPen = SelectObject(c.dc(), pen);
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    ASSERT_TRUE(Rectangle(c.dc(), 0, 0, 8, 8));
    EXPECT_EQ(Picture(c, 0x0000FF00),
              "########\n########\n##....##\n##....##\n##....##\n##....##\n########\n########\n");
    EXPECT_EQ(SelectObject(c.dc(), oldPen), pen);
    DeleteObject(pen);
}

TEST(LineTest, LinesStopBeforeTheEndPointAndMoveTheCurrentPosition) {
    GdiCanvas c(6, 3);
    c.Fill(kWhite);
    POINT previous;
    MoveToEx(c.dc(), 0, 1, &previous);
    EXPECT_EQ(previous.x, 0);
    ASSERT_TRUE(LineTo(c.dc(), 4, 1));
    EXPECT_EQ(Picture(c, 0), "......\n####..\n......\n");
    POINT now;
    GetCurrentPositionEx(c.dc(), &now);
    EXPECT_EQ(now.x, 4);
    // Diagonal, off the bitmap at both ends: clipped, no stray pixels.
    c.Fill(kWhite);
    MoveToEx(c.dc(), -2, -2, nullptr);
    LineTo(c.dc(), 10, 10);
    EXPECT_EQ(Picture(c, 0), "#.....\n.#....\n..#...\n");
}

TEST(PolygonTest, TriangleFillAndOutline) {
    GdiCanvas c(7, 5);
    c.Fill(kWhite);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    POINT triangle[3] = {{0, 0}, {6, 0}, {0, 5}};
    ASSERT_TRUE(Polygon(c.dc(), triangle, 3));
    HRGN region = CreatePolygonRgn(triangle, 3, ALTERNATE);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(c.At(x, y) == 0, bool(PtInRegion(region, x, y)));
    EXPECT_EQ(c.At(0, 4), 0u);
    EXPECT_EQ(c.At(6, 0), kWhite);
    DeleteObject(region);
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
}

TEST(RoundRectTest, CornersAreCutAndEdgesKept) {
    GdiCanvas c(10, 8);
    c.Fill(kWhite);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(RoundRect(c.dc(), 0, 0, 10, 8, 6, 6));
    EXPECT_EQ(c.At(0, 0), kWhite);
    EXPECT_EQ(c.At(9, 7), kWhite);
    EXPECT_EQ(c.At(5, 0), 0u);
    EXPECT_EQ(c.At(0, 4), 0u);
}

} // namespace

namespace {

TEST(ExtremeShapeTest, HugeShapesAndLinesAreRefusedWithoutHarm) {
    GdiCanvas c(4, 4);
    c.Fill(kWhite);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(Ellipse(c.dc(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(RoundRect(c.dc(), 0, 0, INT32_MAX, 4, INT32_MIN, INT32_MAX));
    POINT far[3] = {{INT32_MIN, 0}, {INT32_MAX, 0}, {0, 3}};
    EXPECT_TRUE(Polygon(c.dc(), far, 3));
    MoveToEx(c.dc(), INT32_MIN, INT32_MIN, nullptr);
    EXPECT_TRUE(LineTo(c.dc(), INT32_MAX, INT32_MAX));
    // The polygon is short enough to draw: its top rows cover the bitmap.
    EXPECT_EQ(c.At(1, 0), 0u);
    HRGN r = CreateRectRgn(0, 0, 10, 10);
    EXPECT_EQ(OffsetRgn(r, INT32_MAX, 0), ERROR);
    EXPECT_TRUE(PtInRegion(r, 5, 5)); // unchanged
    DeleteObject(r);
}

} // namespace

namespace {

TEST(FrameRgnTest, FramesFollowTheRegionsOutline) {
    GdiCanvas c(8, 6);
    c.Fill(kWhite);
    HRGN l = CreateRectRgn(0, 0, 8, 6);
    HRGN cut = CreateRectRgn(4, 3, 8, 6);
    CombineRgn(l, l, cut, RGN_DIFF);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(FrameRgn(c.dc(), l, black, 1, 1));
    EXPECT_EQ(Picture(c, 0), "########\n#......#\n#..#####\n#..#....\n#..#....\n####....\n");
    // A frame wider than the region fills all of it, quickly.
    c.Fill(kWhite);
    ASSERT_TRUE(FrameRgn(c.dc(), l, black, 100000, 3));
    EXPECT_EQ(Picture(c, 0), "########\n########\n########\n####....\n####....\n####....\n");
    DeleteObject(l);
    DeleteObject(cut);
}

} // namespace
