// CGraphy: the colour-key blits against a per-pixel model, the alpha blends
// against their byte formula, and the bitmap queries.

#include "tests/knclientUI05/BitmapKit.h"

#include "knclientUI05/Graphy.h"

#include <gtest/gtest.h>

#include <random>

namespace ui_test {
namespace {

constexpr uint32_t kKey = 0xFF00FF;
constexpr COLORREF kKeyColor = RGB(255, 0, 255);

class GraphyTest : public ::testing::Test {
protected:
    std::mt19937 rng{5};
    GdiCanvas target{24, 16};
    GdiCanvas source{24, 16};
    CGraphy graphy;
    CDC* dc = CDC::FromHandle(target.dc());
    CDC* from = CDC::FromHandle(source.dc());

    void SetUp() override {
        target.FillRandom(rng, 0xFFFFFF);
        source.FillRandom(rng, 0xFFFFFF);
    }
    // Makes about a third of the source the key colour.
    void SprinkleKey() {
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                if (rng() % 3 == 0)
                    source.Set(x, y, kKey);
    }
    uint32_t T(int x, int y) const { return target.At(x, y) & 0xFFFFFF; }
    uint32_t S(int x, int y) const { return source.At(x, y) & 0xFFFFFF; }
};

TEST_F(GraphyTest, KeyBlitKeepsTheTargetExactlyWhereTheSourceHoldsTheKey) {
    SprinkleKey();
    std::vector<uint32_t> before = target.Pixels();
    RECT rect{3, 2, 20, 14};
    POINT at{4, 1};
    graphy.TransparentBlt(dc, &rect, from, &at, &kKeyColor);
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x) {
            uint32_t old = before[size_t(y * target.width() + x)] & 0xFFFFFF;
            bool inside = x >= 3 && x < 20 && y >= 2 && y < 14;
            uint32_t s = inside ? S(x - 3 + 4, y - 2 + 1) : 0;
            uint32_t want = !inside || s == kKey ? old : s;
            ASSERT_EQ(T(x, y), want) << x << "," << y;
        }
}

TEST_F(GraphyTest, KeyBlitWithAbsentKeyCopiesAndWithAllKeyLeavesAlone) {
    std::vector<uint32_t> before = target.Pixels();
    RECT rect{0, 0, 24, 16};
    COLORREF absent = RGB(1, 2, 3);
    source.Fill(kKey);
    graphy.TransparentBlt(dc, &rect, from, &kKeyColor);
    EXPECT_EQ(target.Pixels(), before);

    source.FillRandom(rng, 0xFFFFFF);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            if (S(x, y) == 0x010203)
                source.Set(x, y, 0x010204);
    graphy.TransparentBlt(dc, &rect, from, &absent);
    EXPECT_EQ(target.Pixels(), source.Pixels());
}

TEST_F(GraphyTest, KeyReadFromAPointAndFromABitmap) {
    SprinkleKey();
    source.Set(0, 0, kKey);
    std::vector<uint32_t> before = target.Pixels();
    RECT rect{0, 0, 24, 16};
    POINT keyPoint{0, 0};
    graphy.TransparentBlt(dc, &rect, from, &keyPoint);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(T(x, y), S(x, y) == kKey ? before[size_t(y * 24 + x)] & 0xFFFFFF : S(x, y));

    CBitmap strip;
    strip.Attach(MakeBitmap(4, 4, [](int x, int) { return x < 2 ? kKey : 0x00AA00u; }));
    target.Fill(0x111111);
    RECT small{10, 10, 14, 14};
    graphy.TransparentBlt(dc, &small, &strip, &kKeyColor);
    EXPECT_EQ(T(10, 10), 0x111111u);
    EXPECT_EQ(T(12, 10), 0x00AA00u);
    EXPECT_EQ(T(14, 10), 0x111111u);
}

TEST_F(GraphyTest, StretchedKeyBlitComparesAfterStretching) {
    CBitmap picture;
    picture.Attach(
        MakeBitmap(2, 2, [](int x, int y) { return x == 0 && y == 0 ? kKey : 0x0000CCu; }));
    target.Fill(0x222222);
    RECT rect{4, 4, 8, 8};
    graphy.StretchTransparentBlt(dc, &rect, &picture, &kKeyColor);
    EXPECT_EQ(T(4, 4), 0x222222u);
    EXPECT_EQ(T(5, 5), 0x222222u);
    EXPECT_EQ(T(6, 5), 0x0000CCu);
    EXPECT_EQ(T(7, 7), 0x0000CCu);
    EXPECT_EQ(T(8, 8), 0x222222u);
}

TEST_F(GraphyTest, BlitsFromDcAndBitmapUseTheRectangleSize) {
    RECT rect{2, 2, 6, 5};
    POINT at{1, 1};
    EXPECT_TRUE(graphy.BitBlt(dc, &rect, from, &at, SRCCOPY));
    EXPECT_EQ(T(2, 2), S(1, 1));
    EXPECT_EQ(T(5, 4), S(4, 3));
    EXPECT_NE(T(6, 5), S(5, 4));

    CBitmap picture;
    picture.Attach(MakeBitmap(2, 2, [](int x, int y) { return uint32_t(0x10 * (x + 2 * y + 1)); }));
    RECT wide{0, 0, 4, 4};
    EXPECT_TRUE(graphy.StretchBlt(dc, &wide, &picture, SRCCOPY));
    EXPECT_EQ(T(3, 3), 0x40u);
    EXPECT_EQ(T(1, 2), 0x30u);
    CBitmap empty;
    EXPECT_FALSE(graphy.BitBlt(dc, &rect, &empty, SRCCOPY));
}

uint32_t Blend(uint32_t d, uint32_t s, int alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t db = (d >> shift) & 0xFF, sb = (s >> shift) & 0xFF;
        out |= ((db * uint32_t(256 - alpha) + sb * uint32_t(alpha)) >> 8) << shift;
    }
    return out;
}

TEST_F(GraphyTest, AlphaBlendFollowsTheByteFormulaOnOddWidths) {
    for (int percent : {0, 37, 50, 100, 150, -20}) {
        SCOPED_TRACE(percent);
        target.FillRandom(rng, 0xFFFFFF);
        std::vector<uint32_t> before = target.Pixels();
        graphy.AlphaBlend(target.dc(), 3, 4, 7, 5, source.dc(), 2, 1, percent);
        int clamped = std::clamp(percent, 0, 100);
        int alpha = (clamped * 256 + 50) / 100;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 24; ++x) {
                uint32_t old = before[size_t(y * 24 + x)] & 0xFFFFFF;
                bool inside = x >= 3 && x < 10 && y >= 4 && y < 9;
                uint32_t want = inside ? Blend(old, S(x - 1, y - 3), alpha) : old;
                ASSERT_EQ(T(x, y), want) << x << "," << y;
            }
    }
}

TEST_F(GraphyTest, AlphaBlendFullCopiesAndEmptySizesDoNothing) {
    graphy.AlphaBlend(target.dc(), 0, 0, 24, 16, source.dc(), 0, 0, 100);
    EXPECT_EQ(T(7, 7), S(7, 7));
    std::vector<uint32_t> before = target.Pixels();
    graphy.AlphaBlend(target.dc(), 0, 0, 0, 16, source.dc(), 0, 0, 50);
    graphy.AlphaBlend(target.dc(), 0, 0, -5, -5, source.dc(), 0, 0, 50);
    RECT rect{4, 4, 4, 9};
    POINT at{0, 0};
    graphy.AlphaBlend(target.dc(), &rect, source.dc(), &at, 50);
    EXPECT_EQ(target.Pixels(), before);
}

TEST_F(GraphyTest, AlphaBlendRectangleFormHasNoExtraPixel) {
    target.Fill(0);
    source.Fill(0xFFFFFF);
    RECT rect{2, 2, 5, 4};
    POINT at{0, 0};
    graphy.AlphaBlend(target.dc(), &rect, source.dc(), &at, 50);
    EXPECT_EQ(T(4, 3), 0x7F7F7Fu);
    EXPECT_EQ(T(5, 3), 0u);
    EXPECT_EQ(T(4, 4), 0u);
}

TEST_F(GraphyTest, AlphaBlendKeySkipsKeyedPixels) {
    SprinkleKey();
    std::vector<uint32_t> before = target.Pixels();
    graphy.AlphaBlendKey(target.dc(), 0, 0, 24, 16, source.dc(), 0, 0, 50, kKey);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x) {
            uint32_t old = before[size_t(y * 24 + x)] & 0xFFFFFF;
            uint32_t want = S(x, y) == kKey ? old : Blend(old, S(x, y), 128);
            ASSERT_EQ(T(x, y), want) << x << "," << y;
        }
}

TEST_F(GraphyTest, QueriesAndTheBottomUpSection) {
    CBitmap picture;
    picture.Attach(MakeBitmap(6, 3, [](int x, int y) { return uint32_t(x * 16 + y); }));
    EXPECT_EQ(graphy.GetBitmapSize(&picture), CSize(6, 3));
    CBitmap empty;
    EXPECT_EQ(graphy.GetBitmapSize(&empty), CSize(0, 0));
    BITMAPINFOHEADER header{};
    header.biWidth = 9;
    header.biHeight = -4;
    EXPECT_EQ(graphy.GetSize(&header), CSize(9, -4));
    EXPECT_EQ(graphy.GetBitmapPixel(&picture, POINT{5, 2}), RGB(0, 0, 0x52));

    BITMAPINFO info{};
    void* bits = nullptr;
    HBITMAP section = graphy.CreateDIB32(target.dc(), 3, 2, &info, &bits);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(info.bmiHeader.biSize, 40u);
    EXPECT_EQ(info.bmiHeader.biHeight, 2);
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);
    static_cast<uint32_t*>(bits)[0] = 0x00ABCDEF; // the first row in memory is the bottom one
    EXPECT_EQ(PixelOf(section, 0, 1), 0xABCDEFu);
    DeleteObject(section);
}

} // namespace
} // namespace ui_test
