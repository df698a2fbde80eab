// Grey icons and icons from 16-bit bitmaps.

#include "tests/knclientUI05/BitmapKit.h"
#include "tests/support/IconBytes.h"

#include "knclientUI05/KnClientPublic.h"
#include "platform/resources/IconObject.h"

#include <gtest/gtest.h>

namespace ui_test {
namespace {

HICON IconFromPicture(const iconbytes::Picture& picture, int bitCount) {
    std::string image = iconbytes::DibImage(picture, bitCount);
    return CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()), DWORD(image.size()),
                                    TRUE, 0x30000, 0, 0, 0);
}

TEST(GrayIconTest, EveryPixelIsItsLumaAndBlackStaysBlack) {
    // Odd sizes: a size taken from the hot spot would lose a row and a column.
    iconbytes::Picture p = iconbytes::MakePicture(7, 5, 0x000A0B0C);
    p.At(0, 0) = 0x00FF0000; // red
    p.At(1, 0) = 0x0000FF00; // green
    p.At(2, 0) = 0x000000FF; // blue
    p.At(3, 0) = 0x00FFFFFF;
    p.At(4, 0) = 0x000AC81E; // red 10, green 200, blue 30
    p.At(6, 4) = 0;          // black
    p.MaskAt(5, 0) = 1;
    HICON icon = IconFromPicture(p, 24);
    ASSERT_NE(icon, nullptr);
    HICON grey = CreateGrayIcon(icon);
    ASSERT_NE(grey, nullptr);
    const platform::IconParts* parts = platform::IconPartsOf(grey);
    ASSERT_NE(parts, nullptr);
    ASSERT_EQ(parts->width, 7);
    ASSERT_EQ(parts->height, 5);
    auto at = [&](int x, int y) { return parts->colour[size_t(y * 7 + x)] & 0xFFFFFF; };
    // 0.299 R + 0.587 G + 0.114 B, the integer part.
    EXPECT_EQ(at(0, 0), 0x4C4C4Cu); // 76
    EXPECT_EQ(at(1, 0), 0x959595u); // 149
    EXPECT_EQ(at(2, 0), 0x1D1D1Du); // 29
    EXPECT_EQ(at(3, 0), 0xFFFFFFu);
    EXPECT_EQ(at(4, 0), 0x7B7B7Bu); // 123
    EXPECT_EQ(at(6, 4), 0u);
    EXPECT_EQ(at(6, 3), 0x0A0A0Au) << "the last row and column are greyed too";
    EXPECT_EQ(parts->andMask[5], 1) << "the icon's own mask";
    EXPECT_EQ(parts->andMask[4], 0);
    DestroyIcon(grey);
    DestroyIcon(icon);
}

TEST(GrayIconTest, AMonochromeIconHasNoColoursToGrey) {
    iconbytes::Picture p = iconbytes::MakePicture(16, 16, 0x00FFFFFF);
    HICON mono = IconFromPicture(p, 1);
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(CreateGrayIcon(mono), nullptr);
    DestroyIcon(mono);
    EXPECT_EQ(CreateGrayIcon(nullptr), nullptr);
}

// A 16-bit (5-6-5) bitmap from a pixel function.
HBITMAP Bitmap16(int width, int height, const PixelFunction& pixel) {
    HBITMAP source = MakeBitmap(width, height, pixel);
    void* bits = nullptr;
    HBITMAP section = CreateDibSectionOfDepth(width, height, 16, &bits);
    StretchDrawBitmap(section, source, nullptr, nullptr, nullptr);
    DeleteObject(source);
    return section;
}

TEST(IconFromBitmapTest, TheCornerColourIsTransparentAtAnyWidth) {
    for (int width : {16, 7, 33}) {
        SCOPED_TRACE(width);
        const int height = 5;
        // Key colour magenta; a diagonal and the last column of other colours.
        HBITMAP bitmap = Bitmap16(width, height, [&](int x, int y) -> uint32_t {
            if (x == y + 1 || x == width - 1)
                return 0x0000F800u | uint32_t(x * 8); // green with some blue
            return 0xFF00FFu;
        });
        HICON icon = CreateIconFromBitmap(bitmap);
        ASSERT_NE(icon, nullptr);
        const platform::IconParts* parts = platform::IconPartsOf(icon);
        ASSERT_NE(parts, nullptr);
        ASSERT_EQ(parts->width, width);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const size_t i = size_t(y * width + x);
                const bool opaque = x == y + 1 || x == width - 1;
                ASSERT_EQ(parts->andMask[i], opaque ? 0 : 1) << x << "," << y;
                if (!opaque)
                    ASSERT_EQ(parts->colour[i] & 0xFFFFFF, 0u) << "key pixels are blackened";
                else
                    ASSERT_NE(parts->colour[i] & 0xFFFFFF, 0u);
            }
        DestroyIcon(icon);
        DeleteObject(bitmap);
    }
}

TEST(IconFromBitmapTest, OnlySixteenBitBitmapsAreTaken) {
    HBITMAP deep = MakeBitmap(8, 8, [](int, int) { return 0x123456u; });
    EXPECT_EQ(CreateIconFromBitmap(deep), nullptr) << "32 bits";
    DeleteObject(deep);
    HBITMAP rgb = CreateDibSectionOfDepth(8, 8, 24, nullptr);
    EXPECT_EQ(CreateIconFromBitmap(rgb), nullptr) << "24 bits";
    DeleteObject(rgb);
    EXPECT_EQ(CreateIconFromBitmap(nullptr), nullptr);
}

} // namespace
} // namespace ui_test
