// CKNBitmap drawing against expected pixels: plain, centred, tiled,
// stretched, masked, the rectangle form and the nine-cell frame.

#include "tests/knclientUI05/BitmapKit.h"
#include "tests/support/DisplayFixture.h"

#include "knclientUI05/KNBitmap.h"

#include <gtest/gtest.h>

namespace ui_test {
namespace {

constexpr uint32_t kBack = 0x102030;

// A distinct colour for each source pixel, never the background.
uint32_t Code(int x, int y) {
    return 0x800000u | uint32_t(y) << 8 | uint32_t(x);
}

class BitmapDrawTest : public ::testing::Test {
protected:
    GdiCanvas canvas{64, 64};
    CDC* dc = nullptr;
    CKNBitmap bitmap;

    void SetUp() override {
        canvas.Fill(kBack);
        dc = CDC::FromHandle(canvas.dc());
    }
    void Hold(int w, int h, const PixelFunction& f = Code) { bitmap.Attach(MakeBitmap(w, h, f)); }
    uint32_t At(int x, int y) const { return canvas.At(x, y) & 0xFFFFFF; }
    // Every canvas pixel outside (x, y, w, h) still holds the background.
    void ExpectUntouchedOutside(int x, int y, int w, int h) {
        for (int py = 0; py < canvas.height(); ++py)
            for (int px = 0; px < canvas.width(); ++px)
                if (px < x || px >= x + w || py < y || py >= y + h) {
                    ASSERT_EQ(At(px, py), kBack) << px << "," << py;
                }
    }
};

TEST_F(BitmapDrawTest, EmptyObjectDrawsNothingAndSaysSo) {
    EXPECT_FALSE(bitmap.Draw(dc, 0, 0, 10, 10, 0));
    EXPECT_FALSE(bitmap.Draw(dc, 0, 0, BD_MASK));
    RECT r{0, 0, 10, 10};
    EXPECT_FALSE(bitmap.Draw(dc, &r, BD_TILE));
    SIZE size{7, 7};
    EXPECT_FALSE(bitmap.GetSize(&size));
    EXPECT_EQ(size.cx, 7);
    ExpectUntouchedOutside(0, 0, 0, 0);
}

TEST_F(BitmapDrawTest, PlainDrawCopiesAtItsSizeWithTheRasterOperation) {
    Hold(5, 4);
    ASSERT_TRUE(bitmap.Draw(dc, 3, 2, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(At(3 + x, 2 + y), Code(x, y));
    ExpectUntouchedOutside(3, 2, 5, 4);

    bitmap.SetRop(SRCINVERT);
    ASSERT_TRUE(bitmap.Draw(dc, 3, 2, 0));
    EXPECT_EQ(At(4, 3), 0u); // x ^ x
}

TEST_F(BitmapDrawTest, CentringTruncatesTowardZeroAndClipsToTheBox) {
    Hold(4, 4);
    // (9 - 4) / 2 = 2 both ways.
    ASSERT_TRUE(bitmap.Draw(dc, 10, 10, 9, 9, BD_HCENTER | BD_VCENTER));
    EXPECT_EQ(At(12, 12), Code(0, 0));
    EXPECT_EQ(At(15, 15), Code(3, 3));
    ExpectUntouchedOutside(12, 12, 4, 4);

    // A box narrower than the image: (1 - 4) / 2 = -1, clipped to the box.
    canvas.Fill(kBack);
    ASSERT_TRUE(bitmap.Draw(dc, 20, 20, 1, 4, BD_HCENTER));
    EXPECT_EQ(At(20, 20), Code(1, 0));
    ExpectUntouchedOutside(20, 20, 1, 4);

    // Only the named direction moves.
    canvas.Fill(kBack);
    ASSERT_TRUE(bitmap.Draw(dc, 0, 0, 10, 10, BD_VCENTER));
    EXPECT_EQ(At(0, 3), Code(0, 0));
}

TEST_F(BitmapDrawTest, TilesRepeatWithoutSeamsAndTheLastIsClipped) {
    Hold(10, 3);
    ASSERT_TRUE(bitmap.Draw(dc, 2, 1, 25, 7, BD_TILE));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 25; ++x)
            ASSERT_EQ(At(2 + x, 1 + y), Code(x % 10, y % 3)) << x << "," << y;
    ExpectUntouchedOutside(2, 1, 25, 7);
}

TEST_F(BitmapDrawTest, TilingWinsOverStretchingAndCentringIsIgnored) {
    Hold(4, 4);
    ASSERT_TRUE(bitmap.Draw(dc, 0, 0, 10, 6, BD_TILE | BD_STRETCH | BD_HCENTER | BD_VCENTER));
    EXPECT_EQ(At(0, 0), Code(0, 0));
    EXPECT_EQ(At(9, 5), Code(1, 1));

    canvas.Fill(kBack);
    ASSERT_TRUE(bitmap.Draw(dc, 0, 0, 8, 8, BD_STRETCH | BD_HCENTER));
    EXPECT_EQ(At(0, 0), Code(0, 0));
    EXPECT_EQ(At(7, 7), Code(3, 3));
}

TEST_F(BitmapDrawTest, StretchCoversTheBoxToItsEdges) {
    Hold(2, 2);
    ASSERT_TRUE(bitmap.Draw(dc, 5, 5, 6, 4, BD_STRETCH));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(At(5 + x, 5 + y), Code(x / 3, y / 2)) << x << "," << y;
    ExpectUntouchedOutside(5, 5, 6, 4);
}

// Left half the image (black where transparent), right half the mask (white
// where transparent).
uint32_t MaskedPair(int x, int y) {
    bool transparent = (x % 4 + y) % 3 == 0;
    if (x < 4)
        return transparent ? 0 : Code(x, y);
    return transparent ? 0xFFFFFF : 0;
}

TEST_F(BitmapDrawTest, MaskWithoutSourcePointIsTheRightHalf) {
    Hold(8, 4, MaskedPair);
    ASSERT_TRUE(bitmap.Draw(dc, 6, 6, BD_MASK));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            uint32_t want = (x + y) % 3 == 0 ? kBack : Code(x, y);
            ASSERT_EQ(At(6 + x, 6 + y), want) << x << "," << y;
        }
    ExpectUntouchedOutside(6, 6, 4, 4);
}

TEST_F(BitmapDrawTest, TallMaskedPicturesAreExactAcrossEveryRow) {
    // Taller than the rows a masked draw takes at a time, and not a multiple
    // of them, drawn at an odd offset with a source point further down.
    constexpr int kRows = 150;
    GdiCanvas tall(16, kRows + 10);
    tall.Fill(kBack);
    Hold(8, kRows + 7, [](int x, int y) {
        bool transparent = (x % 4 + y) % 3 == 0;
        uint32_t colour = 0x800000u | uint32_t(y) << 8 | uint32_t(x % 4);
        if (x < 4)
            return transparent ? 0u : colour;
        return transparent ? 0xFFFFFFu : 0u;
    });
    POINT from{0, 7}, mask{4, 7};
    SIZE size{4, kRows};
    ASSERT_TRUE(bitmap.Draw(CDC::FromHandle(tall.dc()), 3, 5, 0, 0, BD_MASK, &from, &mask, &size));
    for (int y = 0; y < tall.height(); ++y)
        for (int x = 0; x < tall.width(); ++x) {
            uint32_t want = kBack;
            int sy = y - 5 + 7;
            if (x >= 3 && x < 7 && y >= 5 && y < 5 + kRows && ((x - 3) + sy) % 3 != 0)
                want = 0x800000u | uint32_t(sy) << 8 | uint32_t(x - 3);
            ASSERT_EQ(tall.At(x, y) & 0xFFFFFF, want) << x << "," << y;
        }
}

TEST_F(BitmapDrawTest, StretchToTheOwnSizeDrawsAsAPlainDraw) {
    Hold(8, 4, MaskedPair);
    ASSERT_TRUE(bitmap.Draw(dc, 6, 6, 4, 4, BD_MASK | BD_STRETCH));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            uint32_t want = (x + y) % 3 == 0 ? kBack : Code(x, y);
            ASSERT_EQ(At(6 + x, 6 + y), want) << x << "," << y;
        }
    ExpectUntouchedOutside(6, 6, 4, 4);

    // Unmasked, the raster operation still applies.
    CKNBitmap inverting;
    inverting.Attach(MakeBitmap(2, 2, Code));
    inverting.m_dwRop = SRCINVERT;
    ASSERT_TRUE(inverting.Draw(dc, 20, 20, 2, 2, BD_STRETCH));
    EXPECT_EQ(At(21, 21), (kBack ^ Code(1, 1)) & 0xFFFFFF);
}

TEST_F(BitmapDrawTest, MaskedStretchAndTileKeepTheTransparentPixels) {
    Hold(8, 4, MaskedPair);
    ASSERT_TRUE(bitmap.Draw(dc, 0, 0, 8, 8, BD_MASK | BD_STRETCH));
    EXPECT_EQ(At(0, 0), kBack);      // source (0, 0) is transparent
    EXPECT_EQ(At(2, 0), Code(1, 0)); // source (1, 0)
    EXPECT_EQ(At(7, 7), kBack);      // source (3, 3): (3 + 3) % 3 == 0

    canvas.Fill(kBack);
    ASSERT_TRUE(bitmap.Draw(dc, 0, 0, 10, 4, BD_MASK | BD_TILE));
    EXPECT_EQ(At(5, 0), Code(1, 0));
    EXPECT_EQ(At(4, 0), kBack);
    EXPECT_EQ(At(9, 1), Code(1, 1));
    ExpectUntouchedOutside(0, 0, 10, 4);
}

TEST_F(BitmapDrawTest, SourceAndMaskPointsPickFramesOfAStrip) {
    // Two frames of 3 x 2 and a mask frame after them.
    Hold(9, 2, [](int x, int y) -> uint32_t {
        if (x >= 6)
            return x == 6 ? 0xFFFFFF : 0; // column 0 of each frame transparent
        return x % 3 == 0 ? 0 : Code(x, y);
    });
    POINT frame{3, 0}, mask{6, 0};
    SIZE size{3, 2};
    ASSERT_TRUE(bitmap.Draw(dc, 1, 1, 0, 0, BD_MASK, &frame, &mask, &size));
    EXPECT_EQ(At(1, 1), kBack);
    EXPECT_EQ(At(2, 1), Code(4, 0));
    EXPECT_EQ(At(3, 2), Code(5, 1));
    ExpectUntouchedOutside(1, 1, 3, 2);
}

TEST_F(BitmapDrawTest, RectangleFormDrawsOnePixelMoreEachWay) {
    Hold(1, 1, [](int, int) { return 0x00FF00u; });
    RECT r{2, 3, 12, 8}; // 10 x 5 as a rectangle, 11 x 6 drawn
    ASSERT_TRUE(bitmap.Draw(dc, &r, BD_STRETCH));
    EXPECT_EQ(At(12, 8), 0x00FF00u);
    EXPECT_EQ(At(2, 3), 0x00FF00u);
    ExpectUntouchedOutside(2, 3, 11, 6);
}

TEST_F(BitmapDrawTest, EmptySourceTilesNothingAndReturns) {
    Hold(4, 4);
    POINT from{0, 0};
    SIZE none{0, 4};
    EXPECT_TRUE(bitmap.Draw(dc, 0, 0, 20, 20, BD_TILE, &from, nullptr, &none));
    SIZE negative{-3, 2};
    EXPECT_TRUE(bitmap.Draw(dc, 0, 0, 20, 20, BD_TILE, &from, nullptr, &negative));
    ExpectUntouchedOutside(0, 0, 0, 0);
}

TEST_F(BitmapDrawTest, DrawLeavesTheTargetClipAsItWas) {
    Hold(4, 4);
    ASSERT_TRUE(bitmap.Draw(dc, 0, 0, 2, 2, 0));
    ASSERT_TRUE(bitmap.Draw(dc, 10, 10, 0));
    EXPECT_EQ(At(13, 13), Code(3, 3));
}

// A 9 x 9 frame picture: cell (c, r) filled with colour 0x10 * (3r + c + 1).
uint32_t Cells(int x, int y) {
    return 0x10u * uint32_t(3 * (y / 3) + x / 3 + 1);
}

TEST_F(BitmapDrawTest, NineCellFrameTilesEdgesAndFillsTheCentreOnlyWhenAsked) {
    Hold(9, 9, Cells);
    RECT r{5, 5, 25, 20};
    bitmap.DrawFrame(dc, &r, 0, FALSE);
    EXPECT_EQ(At(5, 5), Cells(0, 0));
    EXPECT_EQ(At(24, 5), Cells(6, 0));
    EXPECT_EQ(At(5, 19), Cells(0, 6));
    EXPECT_EQ(At(24, 19), Cells(6, 6));
    EXPECT_EQ(At(15, 6), Cells(3, 0));  // top edge
    EXPECT_EQ(At(21, 18), Cells(3, 6)); // bottom edge, last tile clipped before the corner
    EXPECT_EQ(At(6, 12), Cells(0, 3));  // left edge
    EXPECT_EQ(At(23, 16), Cells(6, 3)); // right edge
    for (int y = 8; y < 17; ++y)
        for (int x = 8; x < 22; ++x)
            ASSERT_EQ(At(x, y), kBack) << x << "," << y;
    ExpectUntouchedOutside(5, 5, 20, 15);

    bitmap.DrawFrame(dc, &r, 0, TRUE);
    EXPECT_EQ(At(15, 12), Cells(3, 3));
}

TEST_F(BitmapDrawTest, FrameInflatesTheRectangle) {
    Hold(9, 9, Cells);
    RECT r{10, 10, 20, 20};
    bitmap.DrawFrame(dc, &r, 2, TRUE);
    EXPECT_EQ(At(8, 8), Cells(0, 0));
    EXPECT_EQ(At(21, 21), Cells(8, 8));
    ExpectUntouchedOutside(8, 8, 14, 14);
}

TEST_F(BitmapDrawTest, TheClassSaysItsNameAndItsBase) {
    EXPECT_TRUE(bitmap.IsKindOf(RUNTIME_CLASS(CBitmap)));
    EXPECT_STREQ(bitmap.GetRuntimeClass()->m_lpszClassName, "CKNBitmap");
    EXPECT_EQ(RUNTIME_CLASS(CKNBitmap)->m_pBaseClass, RUNTIME_CLASS(CBitmap));
    // Not creatable by name.
    EXPECT_EQ(RUNTIME_CLASS(CKNBitmap)->CreateObject(), nullptr);
}

TEST_F(BitmapDrawTest, NullRectangleOnAMemoryDCDrawsNothing) {
    Hold(4, 4);
    EXPECT_TRUE(bitmap.Draw(dc, nullptr, BD_STRETCH));
    ExpectUntouchedOutside(0, 0, 0, 0);
}

using BitmapWindowTest = platform_test::DisplayTest;

TEST_F(BitmapWindowTest, NullRectangleFillsTheClientAreaOfTheDCsWindow) {
    platform_test::SolidWnd top, child;
    ASSERT_TRUE(top.Top({0, 0, 60, 50}));
    ASSERT_TRUE(child.Child(&top, {10, 5, 30, 25}));
    platform_test::PumpPending();
    CKNBitmap bitmap;
    bitmap.Attach(MakeBitmap(1, 1, [](int, int) { return 0x00FF00u; }));
    {
        CClientDC dc(&child);
        ASSERT_TRUE(bitmap.Draw(&dc, nullptr, BD_STRETCH));
    }
    EXPECT_EQ(PixelOf(top, 10, 5), 0x00FF00u);
    EXPECT_EQ(PixelOf(top, 29, 24), 0x00FF00u);
    // The child's client area bounds the drawing; its parent keeps its colour.
    EXPECT_EQ(PixelOf(top, 9, 5), 0xFF0000u);
    EXPECT_EQ(PixelOf(top, 30, 24), 0xFF0000u);
}

} // namespace
} // namespace ui_test
