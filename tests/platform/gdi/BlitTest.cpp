#include "tests/support/GdiCanvas.h"

#include "platform/gdi/AlphaMath.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

const DWORD kNamedRops[] = {SRCCOPY,    SRCPAINT,    SRCAND,    SRCINVERT,  SRCERASE,
                            NOTSRCCOPY, NOTSRCERASE, MERGECOPY, MERGEPAINT, PATCOPY,
                            PATPAINT,   PATINVERT,   DSTINVERT, BLACKNESS,  0x00B8074A};

TEST(BitBltTest, EveryRasterOperationMatchesItsTruthTable) {
    std::mt19937 rng(7);
    GdiCanvas src(9, 5), dst(9, 5);
    HBRUSH brush = CreateSolidBrush(RGB(0x12, 0xA5, 0x3C));
    SelectObject(dst.dc(), brush);
    uint32_t pattern = 0x0012A53C; // the brush as a pixel: alpha byte 0
    for (DWORD rop : kNamedRops) {
        src.FillRandom(rng);
        dst.FillRandom(rng);
        std::vector<uint32_t> before = dst.Pixels(), source = src.Pixels();
        ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 9, 5, src.dc(), 0, 0, rop));
        std::vector<uint32_t> after = dst.Pixels();
        for (size_t i = 0; i < after.size(); ++i)
            ASSERT_EQ(after[i], RopModel(rop, pattern, source[i], before[i]))
                << std::hex << "rop " << rop << " pixel " << i;
    }
    // WHITENESS paints the colour white.
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 9, 5, nullptr, 0, 0, WHITENESS));
    EXPECT_EQ(dst.At(4, 2), 0x00FFFFFFu);
    // 0x8800C6 is SRCAND by another name.
    EXPECT_EQ(SRCAND, 0x8800C6);
    // Still selected: the brush lives on until the DC lets go of it.
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_TRUE(PatBlt(dst.dc(), 0, 0, 1, 1, PATCOPY));
    EXPECT_EQ(dst.At(0, 0), pattern);
}

TEST(BitBltTest, SourceOperationsWithoutSourceFailAndPatternOnesNeedNone) {
    GdiCanvas dst(4, 4);
    dst.Fill(0x00123456);
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 4, 4, nullptr, 0, 0, DSTINVERT));
    EXPECT_EQ(dst.At(3, 3), ~0x00123456u);
    // A hollow brush paints nothing.
    SelectObject(dst.dc(), GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(PatBlt(dst.dc(), 0, 0, 4, 4, PATCOPY));
    EXPECT_EQ(dst.At(0, 0), ~0x00123456u);
}

TEST(BitBltTest, ClipsToBothSurfacesWithoutTouchingAnythingElse) {
    std::mt19937 rng(3);
    GdiCanvas src(6, 6), dst(8, 8);
    src.FillRandom(rng, 0xFFFFFF);
    dst.Fill(0x00ABCDEF);
    // Partly off the destination's top left, source partly off its right.
    ASSERT_TRUE(BitBlt(dst.dc(), -2, -3, 10, 10, src.dc(), 1, 0, SRCCOPY));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            int sx = x + 2 + 1, sy = y + 3;
            uint32_t expected = sx < 6 && sy < 6 ? src.At(sx, sy) : 0x00ABCDEFu;
            ASSERT_EQ(dst.At(x, y), expected) << x << "," << y;
        }
    // Far outside: nothing happens, nothing breaks.
    EXPECT_TRUE(BitBlt(dst.dc(), 100000, -100000, 50, 50, src.dc(), -7, 9, SRCCOPY));
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 8, 8, src.dc(), 1 << 30, 1 << 30, SRCCOPY));
    EXPECT_EQ(dst.At(7, 7), 0x00ABCDEFu);
}

TEST(BitBltTest, OverlappingCopyWithinOneBitmapMovesPixelsIntact) {
    std::mt19937 rng(11);
    GdiCanvas c(10, 10);
    c.FillRandom(rng);
    std::vector<uint32_t> before = c.Pixels();
    ASSERT_TRUE(BitBlt(c.dc(), 2, 3, 7, 6, c.dc(), 0, 1, SRCCOPY));
    for (int y = 3; y < 9; ++y)
        for (int x = 2; x < 9; ++x)
            ASSERT_EQ(c.At(x, y), before[size_t((y - 2) * 10 + (x - 2))]);
    // And the other way.
    before = c.Pixels();
    ASSERT_TRUE(BitBlt(c.dc(), 0, 0, 8, 8, c.dc(), 1, 2, SRCCOPY));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(c.At(x, y), before[size_t((y + 2) * 10 + (x + 1))]);
}

TEST(MonochromeTest, ColourToMonoMarksTheSourceBackgroundColourWhite) {
    GdiCanvas colour(4, 2), mono(4, 2, true);
    colour.Fill(0x00FF00FF);
    colour.Set(1, 0, 0x00123456);
    colour.Set(3, 1, 0xFF00FF00); // alpha differs, colour is another one
    colour.Set(2, 1, 0x7FFF00FF); // alpha differs only: still the key
    SetBkColor(colour.dc(), RGB(255, 0, 255));
    ASSERT_TRUE(BitBlt(mono.dc(), 0, 0, 4, 2, colour.dc(), 0, 0, SRCCOPY));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            bool key = !((x == 1 && y == 0) || (x == 3 && y == 1));
            EXPECT_EQ(mono.At(x, y), key ? 0x00FFFFFFu : 0u) << x << "," << y;
        }
}

TEST(MonochromeTest, MonoToColourUsesTheDestinationsBackgroundAndTextColours) {
    GdiCanvas colour(3, 1), mono(3, 1, true);
    mono.Set(0, 0, 0x00FFFFFF);
    mono.Set(1, 0, 0);
    mono.Set(2, 0, 0x00FFFFFF);
    SetBkColor(colour.dc(), RGB(10, 20, 30));
    SetTextColor(colour.dc(), RGB(200, 100, 50));
    ASSERT_TRUE(BitBlt(colour.dc(), 0, 0, 3, 1, mono.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(colour.At(0, 0), 0x000A141Eu);
    EXPECT_EQ(colour.At(1, 0), 0x00C86432u);
    EXPECT_EQ(colour.At(2, 0), 0x000A141Eu);
}

TEST(MonochromeTest, MaskedDrawingLeavesTheKeyTransparent) {
    // The classic sequence: mask from the key, black out the key, AND, PAINT.
    GdiCanvas image(4, 1), mask(4, 1, true), target(4, 1);
    const uint32_t key = 0x00FF00FF;
    image.Set(0, 0, key);
    image.Set(1, 0, 0x00112233);
    image.Set(2, 0, key);
    image.Set(3, 0, 0x00445566);
    target.Fill(0x00808080);
    SetBkColor(image.dc(), RGB(255, 0, 255));
    BitBlt(mask.dc(), 0, 0, 4, 1, image.dc(), 0, 0, SRCCOPY);
    SetBkColor(image.dc(), RGB(0, 0, 0));
    SetTextColor(image.dc(), RGB(255, 255, 255));
    BitBlt(image.dc(), 0, 0, 4, 1, mask.dc(), 0, 0, SRCAND);
    SetBkColor(target.dc(), RGB(255, 255, 255));
    SetTextColor(target.dc(), RGB(0, 0, 0));
    BitBlt(target.dc(), 0, 0, 4, 1, mask.dc(), 0, 0, SRCAND);
    BitBlt(target.dc(), 0, 0, 4, 1, image.dc(), 0, 0, SRCPAINT);
    EXPECT_EQ(target.At(0, 0), 0x00808080u);
    EXPECT_EQ(target.At(1, 0), 0x00112233u);
    EXPECT_EQ(target.At(2, 0), 0x00808080u);
    EXPECT_EQ(target.At(3, 0), 0x00445566u);
}

TEST(StretchBltTest, NearestPixelScalesAndMirrors) {
    GdiCanvas src(4, 2), dst(8, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            src.Set(x, y, uint32_t(y * 16 + x));
    SetStretchBltMode(dst.dc(), COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 8, 4, src.dc(), 0, 0, 4, 2, SRCCOPY));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dst.At(x, y), uint32_t((y / 2) * 16 + x / 2));
    // Halving takes the pixel under each destination pixel's centre.
    GdiCanvas small(2, 1);
    ASSERT_TRUE(StretchBlt(small.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(small.At(0, 0), 17u);
    EXPECT_EQ(small.At(1, 0), 19u);
    // A negative destination width mirrors: the rectangle runs left of x.
    ASSERT_TRUE(StretchBlt(dst.dc(), 4, 0, -4, 2, src.dc(), 0, 0, 4, 2, SRCCOPY));
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(dst.At(x, 0), uint32_t(3 - x));
        EXPECT_EQ(dst.At(x, 1), uint32_t(16 + 3 - x));
    }
    // Negative on both sides is no mirror.
    ASSERT_TRUE(StretchBlt(dst.dc(), 4, 2, -4, -2, src.dc(), 4, 2, -4, -2, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), 0u);
    EXPECT_EQ(dst.At(3, 1), 19u);
}

TEST(StretchBltTest, RasterOperationsApplyAfterScaling) {
    GdiCanvas src(2, 2), dst(4, 4);
    src.Fill(0x000F0F0F);
    dst.Fill(0x00FFFF00);
    SetStretchBltMode(dst.dc(), COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 2, 2, SRCAND));
    EXPECT_EQ(dst.At(3, 3), 0x000F0F00u);
}

TEST(StretchBltTest, HalftoneAveragesTheSourceBox) {
    GdiCanvas src(4, 2), dst(2, 1);
    // Left box: 0, 10, 20, 30 in blue -> 15; right box: 100, 100, 101, 102 -> 100.
    uint32_t left[4] = {0, 10, 20, 30}, right[4] = {100, 100, 101, 102};
    src.Set(0, 0, left[0]);
    src.Set(1, 0, left[1]);
    src.Set(0, 1, left[2]);
    src.Set(1, 1, left[3]);
    src.Set(2, 0, right[0] << 8);
    src.Set(3, 0, right[1] << 8);
    src.Set(2, 1, right[2] << 8);
    src.Set(3, 1, right[3] << 8);
    SetStretchBltMode(dst.dc(), HALFTONE);
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), 15u);
    EXPECT_EQ(dst.At(1, 0), 100u << 8);
    // Mirrored.
    ASSERT_TRUE(StretchBlt(dst.dc(), 2, 0, -2, 1, src.dc(), 0, 0, 4, 2, SRCCOPY));
    EXPECT_EQ(dst.At(0, 0), 100u << 8);
    EXPECT_EQ(dst.At(1, 0), 15u);
}

TEST(TransparentBltTest, SkipsTheKeyColourAndStretches) {
    GdiCanvas src(2, 2), dst(4, 4);
    src.Set(0, 0, 0x00FF00FF);
    src.Set(1, 0, 0x00010203);
    src.Set(0, 1, 0xAAFF00FF); // the key whatever its alpha byte
    src.Set(1, 1, 0x00FF00FE);
    dst.Fill(0x00777777);
    ASSERT_TRUE(TransparentBlt(dst.dc(), 1, 1, 2, 2, src.dc(), 0, 0, 2, 2, RGB(255, 0, 255)));
    EXPECT_EQ(dst.At(1, 1), 0x00777777u);
    EXPECT_EQ(dst.At(2, 1), 0x00010203u);
    EXPECT_EQ(dst.At(1, 2), 0x00777777u);
    EXPECT_EQ(dst.At(2, 2), 0x00FF00FEu);
    EXPECT_EQ(dst.At(0, 0), 0x00777777u);
    ASSERT_TRUE(TransparentBlt(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 2, 2, RGB(255, 0, 255)));
    EXPECT_EQ(dst.At(1, 1), 0x00777777u);
    EXPECT_EQ(dst.At(3, 0), 0x00010203u);
    EXPECT_EQ(dst.At(3, 3), 0x00FF00FEu);
}

TEST(AlphaBlendTest, DivisionByTwoHundredFiftyFiveIsExactOverTheWholeRange) {
    for (uint32_t x = 0; x <= 255 * 255; ++x)
        ASSERT_EQ(platform::Div255Lanes(x | (x << 16)), (x / 255) | ((x / 255) << 16)) << x;
}

TEST(AlphaBlendTest, ConstantAlphaFollowsTheFormulaExactly) {
    GdiCanvas src(256, 1), dst(256, 1);
    for (uint32_t a : {0u, 1u, 0x80u, 200u, 254u, 255u}) {
        for (int x = 0; x < 256; ++x) {
            src.Set(x, 0, uint32_t(x) * 0x01010101u);
            dst.Set(x, 0, uint32_t(255 - x) * 0x00010101u + (uint32_t(x / 2) << 24));
        }
        std::vector<uint32_t> before = dst.Pixels();
        BLENDFUNCTION blend{AC_SRC_OVER, 0, BYTE(a), 0};
        ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 256, 1, src.dc(), 0, 0, 256, 1, blend));
        for (int x = 0; x < 256; ++x) {
            uint32_t s = src.At(x, 0), d = before[size_t(x)], expected = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
                expected |= ((sc * a + dc * (255 - a)) / 255) << shift;
            }
            ASSERT_EQ(dst.At(x, 0), expected) << "alpha " << a << " x " << x;
        }
    }
}

TEST(AlphaBlendTest, PerPixelPremultipliedAlphaFollowsTheFormula) {
    std::mt19937 rng(5);
    GdiCanvas src(64, 8), dst(64, 8);
    for (uint32_t constant : {255u, 128u}) {
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 64; ++x) {
                uint32_t a = rng() & 0xFF;
                if (x < 4)
                    a = x == 0 ? 0 : 255; // the shortcuts
                uint32_t p = a << 24;
                for (int shift = 0; shift < 24; shift += 8)
                    p |= (uint32_t(rng() % (a + 1))) << shift; // premultiplied
                src.Set(x, y, p);
            }
        dst.FillRandom(rng);
        std::vector<uint32_t> before = dst.Pixels(), source = src.Pixels();
        BLENDFUNCTION blend{AC_SRC_OVER, 0, BYTE(constant), AC_SRC_ALPHA};
        ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 64, 8, src.dc(), 0, 0, 64, 8, blend));
        std::vector<uint32_t> after = dst.Pixels();
        for (size_t i = 0; i < after.size(); ++i) {
            uint32_t s = source[i], d = before[i], scaled = 0, expected = 0;
            for (int shift = 0; shift < 32; shift += 8)
                scaled |= ((((s >> shift) & 0xFF) * constant) / 255) << shift;
            uint32_t sa = scaled >> 24;
            for (int shift = 0; shift < 32; shift += 8) {
                uint32_t v =
                    ((scaled >> shift) & 0xFF) + (((d >> shift) & 0xFF) * (255 - sa)) / 255;
                expected |= std::min(v, 255u) << shift;
            }
            ASSERT_EQ(after[i], expected) << "constant " << constant << " pixel " << i;
        }
    }
}

TEST(AlphaBlendTest, RefusesSourcesOutsideTheBitmapAndBadArguments) {
    GdiCanvas src(4, 4), dst(4, 4);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 128, 0};
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 1, 0, 4, 4, blend));
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, -4, 4, src.dc(), 0, 0, 4, 4, blend));
    blend.BlendOp = 1;
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 4, 4, blend));
    // Destination partly outside is fine: clipped.
    blend.BlendOp = AC_SRC_OVER;
    EXPECT_TRUE(AlphaBlend(dst.dc(), 2, 2, 4, 4, src.dc(), 0, 0, 4, 4, blend));
}

TEST(PixelTest, GetAndSetPixelConvertColoursAndRespectBounds) {
    GdiCanvas c(3, 3);
    EXPECT_EQ(SetPixel(c.dc(), 1, 2, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(c.At(1, 2), 0x00010203u);
    EXPECT_EQ(GetPixel(c.dc(), 1, 2), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(c.dc(), 3, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(c.dc(), -1, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc(), 0, 3, 0), CLR_INVALID);
    GdiCanvas mono(2, 1, true);
    EXPECT_EQ(SetPixel(mono.dc(), 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
    EXPECT_EQ(SetPixel(mono.dc(), 1, 0, RGB(90, 20, 20)), RGB(0, 0, 0));
}

} // namespace

namespace {

TEST(SameBitmapTest, StretchAndBlendWithinOneBitmapReadTheOriginalPixels) {
    std::mt19937 rng(21);
    GdiCanvas c(8, 8), reference(8, 8);
    c.FillRandom(rng, 0xFFFFFF);
    BitBlt(reference.dc(), 0, 0, 8, 8, c.dc(), 0, 0, SRCCOPY);
    SetStretchBltMode(c.dc(), COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(c.dc(), 1, 1, 6, 6, c.dc(), 0, 0, 3, 3, SRCCOPY));
    for (int y = 1; y < 7; ++y)
        for (int x = 1; x < 7; ++x)
            ASSERT_EQ(c.At(x, y), reference.At((x - 1) / 2, (y - 1) / 2));
    BitBlt(c.dc(), 0, 0, 8, 8, reference.dc(), 0, 0, SRCCOPY);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, 0};
    ASSERT_TRUE(AlphaBlend(c.dc(), 1, 1, 7, 7, c.dc(), 0, 0, 7, 7, blend));
    for (int y = 1; y < 8; ++y)
        for (int x = 1; x < 8; ++x)
            ASSERT_EQ(c.At(x, y), reference.At(x - 1, y - 1));
}

} // namespace

namespace {

TEST(ExtremeCoordinatesTest, HugeAndOverflowingArgumentsDrawOnlyWhatIsOnTheBitmap) {
    GdiCanvas src(4, 4), dst(4, 4);
    src.Fill(0x00112233);
    dst.Fill(0);
    const int big = INT32_MAX, small = INT32_MIN;
    EXPECT_TRUE(BitBlt(dst.dc(), big, big, big, big, src.dc(), small, small, SRCCOPY));
    EXPECT_TRUE(BitBlt(dst.dc(), small, 0, big, 4, src.dc(), big, 0, SRCCOPY));
    EXPECT_TRUE(PatBlt(dst.dc(), big, small, small, big, BLACKNESS));
    for (int mode : {COLORONCOLOR, HALFTONE}) {
        SetStretchBltMode(dst.dc(), mode);
        EXPECT_TRUE(StretchBlt(dst.dc(), 0, 0, big, big, src.dc(), 0, 0, 4, 4, SRCCOPY));
        EXPECT_TRUE(
            StretchBlt(dst.dc(), small, small, big, big, src.dc(), small, 0, big, 4, SRCCOPY));
    }
    EXPECT_TRUE(TransparentBlt(dst.dc(), 0, 0, big, big, src.dc(), 0, 0, 4, 4, 0));
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, 0};
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), big, big, big, big, blend));
    // The first huge stretch covered the bitmap with the source's top-left pixels.
    EXPECT_EQ(dst.At(3, 3), 0x00112233u);
    RECT huge{small, small, big, big};
    HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
    EXPECT_TRUE(FillRect(dst.dc(), &huge, brush));
    EXPECT_EQ(dst.At(0, 0), 0x00010101u);
    DeleteObject(brush);
}

} // namespace
