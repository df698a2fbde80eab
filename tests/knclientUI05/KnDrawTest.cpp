// Drawing bitmaps through a colour mask, copying between bitmaps, regions
// from bitmaps against a brute-force pixel set, and the bitmap clipboard.

#include "tests/knclientUI05/BitmapKit.h"

#include "knclientUI05/KnClientPublic.h"
#include "platform/window/SystemMetrics.h"

#include <gtest/gtest.h>

#include <random>

namespace ui_test {
namespace {

constexpr uint32_t kKey = 0xFF00FF;
constexpr uint32_t kBack = 0x5A6B7C;

uint32_t Picture(int x, int y) {
    return (x + y) % 3 == 0 ? kKey : 0x200000u + uint32_t(x) * 0x100 + uint32_t(y);
}

class MaskedDrawTest : public ::testing::Test {
protected:
    GdiCanvas canvas{40, 30};
    HBITMAP bitmap = MakeBitmap(6, 4, Picture);

    void SetUp() override { canvas.Fill(kBack); }
    void TearDown() override { DeleteObject(bitmap); }
    uint32_t At(int x, int y) const { return canvas.At(x, y) & 0xFFFFFF; }
    void ExpectUntouchedOutside(int x, int y, int w, int h) {
        for (int py = 0; py < canvas.height(); ++py)
            for (int px = 0; px < canvas.width(); ++px)
                if (px < x || px >= x + w || py < y || py >= y + h) {
                    ASSERT_EQ(At(px, py), kBack) << px << "," << py;
                }
    }
};

TEST_F(MaskedDrawTest, TransparentModeLeavesKeyPixelsAndCopiesTheRest) {
    ASSERT_TRUE(DrawBitmapMasked(bitmap, RGB(255, 0, 255), 1, canvas.dc(), 3, 2, 0, 0, FALSE));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(At(3 + x, 2 + y), Picture(x, y) == kKey ? kBack : Picture(x, y));
    ExpectUntouchedOutside(3, 2, 6, 4);
}

TEST_F(MaskedDrawTest, DisabledDrawsOpaquePixelsThroughGreyText) {
    ASSERT_TRUE(DrawBitmapMasked(bitmap, RGB(255, 0, 255), 1, canvas.dc(), 0, 0, 0, 0, TRUE));
    uint32_t grey = Rgb(GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(At(1, 0), (kBack & grey) | Picture(1, 0));
    EXPECT_EQ(At(0, 0), kBack);
}

TEST_F(MaskedDrawTest, XorModeStretchMirrorAndRefusals) {
    ASSERT_TRUE(DrawBitmapMasked(bitmap, RGB(255, 0, 255), 2, canvas.dc(), 0, 0, 6, 4, FALSE));
    EXPECT_EQ(At(1, 0), kBack ^ Picture(1, 0));
    EXPECT_EQ(At(0, 0), kBack); // transparent pixels are black in the image: XOR keeps the target

    canvas.Fill(kBack);
    ASSERT_TRUE(DrawBitmapMasked(bitmap, RGB(255, 0, 255), 1, canvas.dc(), 10, 10, 12, 8, FALSE));
    EXPECT_EQ(At(10 + 2, 10), Picture(1, 0));
    EXPECT_EQ(At(10 + 3, 10 + 1), Picture(1, 0));
    ExpectUntouchedOutside(10, 10, 12, 8);

    // A negative width draws mirrored into the box left of x.
    canvas.Fill(kBack);
    ASSERT_TRUE(DrawBitmapMasked(bitmap, RGB(255, 0, 255), 1, canvas.dc(), 20, 0, -6, 4, FALSE));
    EXPECT_EQ(At(20 - 1 - 1, 0), Picture(1, 0));
    EXPECT_EQ(At(20 - 1 - 4, 1), Picture(4, 1));
    EXPECT_EQ(At(20 - 1 - 5, 1), kBack); // (5, 1) holds the key
    ExpectUntouchedOutside(14, 0, 6, 4);

    canvas.Fill(kBack);
    EXPECT_FALSE(DrawBitmapMasked(bitmap, RGB(255, 0, 255), 3, canvas.dc(), 0, 0, 0, 0, FALSE));
    EXPECT_FALSE(DrawBitmapMasked(bitmap, RGB(255, 0, 255), 0, canvas.dc(), 0, 0, 0, 0, FALSE));
    EXPECT_FALSE(DrawBitmapMasked(nullptr, RGB(255, 0, 255), 1, canvas.dc(), 0, 0, 0, 0, FALSE));
    ExpectUntouchedOutside(0, 0, 0, 0);
}

TEST_F(MaskedDrawTest, PlainAndStretchedCopies) {
    int w = 0, h = 0;
    ASSERT_TRUE(GetBitmapExtent(bitmap, &w, &h));
    EXPECT_EQ(w, 6);
    EXPECT_EQ(h, 4);
    EXPECT_FALSE(GetBitmapExtent(nullptr, &w, &h));
    ASSERT_TRUE(DrawBitmap(canvas.dc(), bitmap, 1, 1));
    EXPECT_EQ(At(1, 1), kKey);
    EXPECT_EQ(At(6, 4), Picture(5, 3));
    ExpectUntouchedOutside(1, 1, 6, 4);
    canvas.Fill(kBack);
    ASSERT_TRUE(DrawBitmapStretched(canvas.dc(), bitmap, 0, 0, 12, 4));
    EXPECT_EQ(At(11, 3), Picture(5, 3));
    EXPECT_EQ(At(2, 0), Picture(1, 0));
    ExpectUntouchedOutside(0, 0, 12, 4);
    EXPECT_FALSE(DrawBitmap(canvas.dc(), nullptr, 0, 0));
}

TEST(StretchDrawBitmapTest, PartsAndWholes) {
    HBITMAP source = MakeBitmap(4, 4, [](int x, int y) { return uint32_t(x * 16 + y + 1); });
    HBITMAP dest = MakeBitmap(8, 8, [](int, int) { return 0u; });
    ASSERT_TRUE(StretchDrawBitmap(dest, source, nullptr, nullptr, nullptr));
    EXPECT_EQ(PixelOf(dest, 7, 7), 0x34u);
    EXPECT_EQ(PixelOf(dest, 2, 0), 0x11u);
    RECT part{1, 1, 3, 3}, to{0, 0, 2, 2};
    ASSERT_TRUE(StretchDrawBitmap(dest, source, nullptr, &part, &to));
    EXPECT_EQ(PixelOf(dest, 0, 0), 0x12u);
    EXPECT_EQ(PixelOf(dest, 1, 1), 0x23u);
    EXPECT_EQ(PixelOf(dest, 2, 2), 0x12u); // the earlier whole copy
    EXPECT_FALSE(StretchDrawBitmap(nullptr, source, nullptr, nullptr, nullptr));
    DeleteObject(source);
    DeleteObject(dest);
}

// The brute-force model: pixel (x, y) is in the region when its 5-6-5 colour
// differs from the key pixel's.
WORD To565(uint32_t rgb) {
    return WORD(((rgb >> 19) & 31) << 11 | ((rgb >> 10) & 63) << 5 | ((rgb >> 3) & 31));
}

void ExpectRegionMatches(HRGN region, const std::vector<uint32_t>& pixels, int width, int height,
                         int keyX, int keyY) {
    WORD key = To565(pixels[size_t(keyY * width + keyX)]);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool inside = To565(pixels[size_t(y * width + x)]) != key;
            ASSERT_EQ(bool(PtInRegion(region, x, y)), inside) << x << "," << y;
        }
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.right, width);
    EXPECT_LE(box.bottom, height);
}

TEST(RegionFromBitmapTest, MatchesTheBruteForceSetOnRandomPictures) {
    std::mt19937 rng(99);
    for (int round = 0; round < 12; ++round) {
        int width = 1 + int(rng() % 70), height = 1 + int(rng() % 40);
        // Few colours, so runs of every length appear.
        uint32_t colours[4] = {uint32_t(rng() & 0xFFFFFF), uint32_t(rng() & 0xFFFFFF),
                               uint32_t(rng() & 0xFFFFFF), 0xFF00FF};
        std::vector<uint32_t> pixels;
        for (int i = 0; i < width * height; ++i)
            pixels.push_back(colours[rng() % (round % 2 ? 2 : 4)]);
        HBITMAP bitmap =
            MakeBitmap(width, height, [&](int x, int y) { return pixels[size_t(y * width + x)]; });
        int keyX = int(rng() % unsigned(width)), keyY = int(rng() % unsigned(height));
        HRGN region = CreateRegionFromBitmap(bitmap, keyX, keyY);
        bool any = false;
        for (uint32_t p : pixels)
            any = any || To565(p) != To565(pixels[size_t(keyY * width + keyX)]);
        ASSERT_EQ(region != nullptr, any) << round;
        if (region) {
            SCOPED_TRACE(round);
            ExpectRegionMatches(region, pixels, width, height, keyX, keyY);
            DeleteObject(region);
        }
        DeleteObject(bitmap);
    }
}

TEST(RegionFromBitmapTest, KeyCornerSinglePixelAndFiveSixFiveEquality) {
    HBITMAP allKey = MakeBitmap(5, 5, [](int, int) { return 0x123456u; });
    EXPECT_EQ(CreateRegionFromBitmap(allKey, 0, 0), nullptr);
    DeleteObject(allKey);

    HBITMAP one =
        MakeBitmap(5, 5, [](int x, int y) { return x == 3 && y == 1 ? 1u << 16 << 3 : 0u; });
    HRGN region = CreateRegionFromBitmap(one, -1, -1);
    ASSERT_NE(region, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.top, 1);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.bottom, 2);
    DeleteObject(region);
    // Keyed on the odd pixel itself, everything else is in.
    region = CreateRegionFromBitmap(one, 3, 1);
    EXPECT_FALSE(PtInRegion(region, 3, 1));
    EXPECT_TRUE(PtInRegion(region, 4, 4));
    DeleteObject(region);
    EXPECT_EQ(CreateRegionFromBitmap(one, 5, 0), nullptr); // no such pixel
    EXPECT_EQ(CreateRegionFromBitmap(nullptr, 0, 0), nullptr);
    DeleteObject(one);

    // Colours that differ only in the low three bits of red are one colour.
    HBITMAP near = MakeBitmap(4, 1, [](int x, int) { return x < 2 ? 0x800000u : 0x870000u; });
    EXPECT_EQ(CreateRegionFromBitmap(near, 0, 0), nullptr);
    DeleteObject(near);
}

TEST(RegionFromBitmapTest, ManyRunsCrossBatchBoundaries) {
    // 1,700 runs: every other pixel of 34 rows of 100, shifted on odd rows
    // so no run lines up with the one above.
    int width = 100, height = 34;
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back((x + y) % 2 ? 0x00FF00u : 0u);
    HBITMAP bitmap =
        MakeBitmap(width, height, [&](int x, int y) { return pixels[size_t(y * width + x)]; });
    HRGN region = CreateRegionFromBitmap(bitmap, 0, 0);
    ASSERT_NE(region, nullptr);
    ExpectRegionMatches(region, pixels, width, height, 0, 0);
    DeleteObject(region);
    DeleteObject(bitmap);
}

TEST(BitmapClipboardTest, CopyTakesOwnershipAndNullEmpties) {
    HBITMAP bitmap = MakeBitmap(2, 2, [](int, int) { return 0xABCDEFu; });
    ASSERT_TRUE(CopyBitmapToClipboard(bitmap));
    EXPECT_EQ(GetBitmapFromClipboard(), bitmap);
    EXPECT_FALSE(CopyBitmapToClipboard(nullptr));
    EXPECT_EQ(GetBitmapFromClipboard(), nullptr);
    // The clipboard is closed on every path: a later open succeeds.
    ASSERT_TRUE(OpenClipboard(nullptr));
    HBITMAP other = MakeBitmap(1, 1, [](int, int) { return 1u; });
    EXPECT_FALSE(CopyBitmapToClipboard(other)); // someone else has it open
    EXPECT_EQ(GetBitmapFromClipboard(), nullptr);
    CloseClipboard();
    DeleteObject(other);
}

} // namespace
} // namespace ui_test
