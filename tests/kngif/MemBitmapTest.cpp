// The memory image: its layout, conversions, colour key, clip rectangle,
// pixel access, fills and grey, and where blits land after clipping.

#include "MemBitmapKit.h"

#include <gtest/gtest.h>

using namespace membitmap_test;

TEST(MemBitmapCreate, RowsStartOnFourByteBoundaries) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(3, 2));
    EXPECT_EQ(image.GetPitch(), 8);
    ASSERT_TRUE(image.Create(2, 5));
    EXPECT_EQ(image.GetPitch(), 4);
    const BITMAPINFOHEADER& h = image.GetBitmapInfo()->bmiHeader;
    EXPECT_EQ(h.biWidth, 2);
    EXPECT_EQ(h.biHeight, -5); // top-down
    EXPECT_EQ(h.biBitCount, 16);
    EXPECT_EQ(h.biCompression, (DWORD)BI_BITFIELDS);
    EXPECT_EQ(h.biSizeImage, 20u);
    const DWORD* masks = reinterpret_cast<const DWORD*>(&h + 1);
    EXPECT_EQ(masks[0], 0xF800u);
    EXPECT_EQ(masks[1], 0x07E0u);
    EXPECT_EQ(masks[2], 0x001Fu);
}

TEST(MemBitmapCreate, BadSizesLeaveTheImageEmpty) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(4, 4));
    for (auto size : {std::pair{0, 4}, {4, 0}, {-1, 4}, {4, -7}, {0x7FFFFFFF, 2}, {70000, 70000}}) {
        EXPECT_FALSE(image.Create(size.first, size.second));
        EXPECT_EQ(image.GetBits(), nullptr);
        EXPECT_EQ(image.GetWidth(), 0);
        EXPECT_EQ(image.GetPitch(), 0);
    }
    // Everything on an empty image is refused or does nothing.
    CKNMemBitmap other;
    ASSERT_TRUE(other.Create(2, 2));
    EXPECT_FALSE(image.Blt(&other, nullptr, 0, 0));
    EXPECT_FALSE(other.Blt(&image, nullptr, 0, 0));
    EXPECT_FALSE(other.Blt(nullptr, nullptr, 0, 0));
    EXPECT_FALSE(other.BltKeyed(nullptr, nullptr, 0, 0));
    EXPECT_FALSE(image.FillAlpha(0, nullptr, 9, FALSE));
    EXPECT_EQ(image.GetPixel(0, 0), 0u);
    image.FillRect565(0, 0, 5, 5, 1);
    image.Grayscale(nullptr);
    image.ReplaceColor565(0, 1);
}

TEST(MemBitmapColour, ConversionsTruncateDownAndReplicateUp) {
    EXPECT_EQ(CKNMemBitmap::RGB565ToRGB(0xF800), RGB(255, 0, 0));
    EXPECT_EQ(CKNMemBitmap::RGB565ToRGB(0x07E0), RGB(0, 255, 0));
    EXPECT_EQ(CKNMemBitmap::RGB565ToRGB(0x0000), RGB(0, 0, 0));
    EXPECT_EQ(CKNMemBitmap::RGBTo565(RGB(255, 255, 255)), 0xFFFF);
    EXPECT_EQ(CKNMemBitmap::RGBTo565(RGB(7, 3, 7)), 0);
    EXPECT_EQ(CKNMemBitmap::RGB565ToRGB(0x0821), RGB(8, 4, 8)); // 1, 1, 1
    // Widening then truncating gives every word back.
    for (unsigned w = 0; w < 0x10000; ++w) {
        ASSERT_EQ(CKNMemBitmap::RGBTo565(CKNMemBitmap::RGB565ToRGB((WORD)w)), w);
    }
}

TEST(MemBitmapColour, KeyModes) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(3, 3));
    image.FillRect565(0, 0, 3, 3, 0x001F);
    COLORREF key = 1;
    EXPECT_FALSE(image.GetColorKey(&key));
    image.SetColorKey565(0xF800);
    ASSERT_TRUE(image.GetColorKey(&key));
    EXPECT_EQ(key, RGB(255, 0, 0));
    EXPECT_TRUE(image.GetColorKey(nullptr));

    // A key taken from a pixel keeps its colour; the origin key follows it.
    image.SetColorKeyFromPixel(1, 1);
    image.FillRect565(1, 1, 1, 1, 0x07E0);
    ASSERT_TRUE(image.GetColorKey(&key));
    EXPECT_EQ(key, RGB(0, 0, 255));
    image.SetColorKeyFromPixel(3, 0); // outside: unchanged
    ASSERT_TRUE(image.GetColorKey(&key));
    EXPECT_EQ(key, RGB(0, 0, 255));
    image.SetColorKeyFromOrigin();
    image.FillRect565(0, 0, 1, 1, 0xFFFF);
    ASSERT_TRUE(image.GetColorKey(&key));
    EXPECT_EQ(key, RGB(255, 255, 255));
}

TEST(MemBitmapColour, OriginKeyIsReadWhenTheBlitRuns) {
    CKNMemBitmap src;
    CKNMemBitmap dst;
    ASSERT_TRUE(src.Create(2, 1));
    ASSERT_TRUE(dst.Create(2, 1));
    src.FillRect565(0, 0, 1, 1, 0x1111);
    src.FillRect565(1, 0, 1, 1, 0x2222);
    src.SetColorKeyFromOrigin();
    dst.FillRect565(0, 0, 2, 1, 0x0001);
    ASSERT_TRUE(dst.BltKeyed(&src, nullptr, 0, 0));
    EXPECT_EQ(Pixels(dst), (std::vector<WORD>{0x0001, 0x2222}));
    src.FillRect565(0, 0, 1, 1, 0x2222); // now the second pixel is the key
    src.FillRect565(1, 0, 1, 1, 0x2222);
    src.FillRect565(0, 0, 1, 1, 0x3333);
    dst.FillRect565(0, 0, 2, 1, 0x0001);
    ASSERT_TRUE(dst.BltKeyed(&src, nullptr, 0, 0));
    EXPECT_EQ(Pixels(dst), (std::vector<WORD>{0x0001, 0x2222}));
}

TEST(MemBitmapPixels, FillsAndGreyAreCutToTheImage) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(20, 3));
    image.FillRect565(0, 0, 20, 3, 0xFFFF);
    image.FillRect565(-5, -1, 7, 2, 0x1234); // lands on x 0..1, y 0
    EXPECT_EQ(image.GetPixel565(0, 0), 0x1234);
    EXPECT_EQ(image.GetPixel565(1, 0), 0x1234);
    EXPECT_EQ(image.GetPixel565(2, 0), 0xFFFF);
    EXPECT_EQ(image.GetPixel565(0, 1), 0xFFFF);
    image.FillRect565(18, 2, 0x7FFFFFFF, 0x7FFFFFFF, 0x0042);
    EXPECT_EQ(image.GetPixel565(19, 2), 0x0042);
    EXPECT_EQ(image.GetPixel565(17, 2), 0xFFFF);

    // Grey of x -5..10 touches columns 0..9 only.
    image.FillRect565(0, 0, 20, 3, 0xFFFF);
    const RECT grey{-5, 0, 10, 3};
    image.Grayscale(&grey);
    const WORD white = (23 << 11) | (23 << 6) | 23;
    EXPECT_EQ(image.GetPixel565(0, 1), white);
    EXPECT_EQ(image.GetPixel565(9, 1), white);
    EXPECT_EQ(image.GetPixel565(10, 1), 0xFFFF);
    EXPECT_EQ(image.GetPixel565(14, 1), 0xFFFF);

    // The same cut for the alpha fill.
    image.FillRect565(0, 0, 20, 3, 0);
    const RECT fill{-5, -5, 2, 1};
    ASSERT_TRUE(image.FillAlpha(RGB(255, 255, 255), &fill, 255, FALSE));
    EXPECT_NE(image.GetPixel565(1, 0), 0);
    EXPECT_EQ(image.GetPixel565(2, 0), 0);
    EXPECT_EQ(image.GetPixel565(0, 1), 0);

    image.ReplaceColor565(0, 0x0F0F);
    EXPECT_EQ(image.GetPixel565(19, 2), 0x0F0F);
    EXPECT_EQ(image.GetPixel(-1, 0), 0u);
    EXPECT_EQ(image.GetPixel565(20, 0), 0);
}

TEST(MemBitmapPixels, GreyOfKnownColours) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(3, 1));
    image.FillRect565(0, 0, 1, 1, 0xFFFF);
    image.FillRect565(1, 0, 1, 1, 0x0000);
    image.FillRect565(2, 0, 1, 1, 0x07E0); // green 63: t 63, 31 - 23 = 8
    image.Grayscale(nullptr);
    EXPECT_EQ(Pixels(image),
              (std::vector<WORD>{(23 << 11) | (23 << 6) | 23, 0, (8 << 11) | (8 << 6) | 8}));
}

TEST(MemBitmapClip, ClipRectangleIsCutToTheImage) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(10, 8));
    const RECT wide{-3, 2, 40, 5};
    image.SetClipRect(&wide);
    EXPECT_EQ(image.GetClipRect().left, 0);
    EXPECT_EQ(image.GetClipRect().right, 10);
    EXPECT_EQ(image.GetClipRect().top, 2);
    const RECT outside{12, 0, 20, 8};
    image.SetClipRect(&outside);
    const RECT now = image.GetClipRect();
    EXPECT_TRUE(IsRectEmpty(&now));
}

// Every placement of a source rectangle, against a brute-force model that
// asks of each destination pixel where it would come from.
TEST(MemBitmapClip, BlitsLandWhereTheModelSays) {
    Noise noise(7);
    CKNMemBitmap src;
    CKNMemBitmap dst;
    ASSERT_TRUE(src.Create(7, 5));
    ASSERT_TRUE(dst.Create(9, 6));
    for (int round = 0; round < 3000; ++round) {
        FillNoise(src, noise);
        FillNoise(dst, noise);
        RECT part{noise.Below(12) - 3, noise.Below(10) - 3, 0, 0};
        part.right = part.left + noise.Below(12) - 1;
        part.bottom = part.top + noise.Below(10) - 1;
        const int x = noise.Below(16) - 6;
        const int y = noise.Below(14) - 6;
        RECT clip{noise.Below(10), noise.Below(7), 0, 0};
        clip.right = clip.left + noise.Below(9);
        clip.bottom = clip.top + noise.Below(7);
        const bool clipped = round % 2 == 1;
        dst.SetClipRect(clipped ? &clip : nullptr);
        const RECT used = dst.GetClipRect();
        const std::vector<WORD> before = Pixels(dst);
        ASSERT_TRUE(dst.Blt(&src, &part, x, y));
        for (int dy = 0; dy < 6; ++dy) {
            for (int dx = 0; dx < 9; ++dx) {
                const int sx = dx - x + part.left;
                const int sy = dy - y + part.top;
                const bool inPart =
                    sx >= part.left && sx < part.right && sy >= part.top && sy < part.bottom;
                const bool inSrc = sx >= 0 && sx < 7 && sy >= 0 && sy < 5;
                const bool inClip = IsRectEmpty(&used) || (dx >= used.left && dx < used.right &&
                                                           dy >= used.top && dy < used.bottom);
                const WORD want =
                    inPart && inSrc && inClip ? src.GetPixel565(sx, sy) : before[dy * 9 + dx];
                ASSERT_EQ(dst.GetPixel565(dx, dy), want)
                    << "round " << round << " at " << dx << "," << dy;
            }
        }
    }
}

TEST(MemBitmapClip, AnImageDrawnOntoItselfDoesNotSmear) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(4, 6));
    for (int y = 0; y < 6; ++y) {
        image.FillRect565(0, y, 4, 1, (WORD)(y + 1));
    }
    const RECT top{0, 0, 4, 4};
    ASSERT_TRUE(image.Blt(&image, &top, 1, 2)); // down and right
    for (int y = 2; y < 6; ++y) {
        EXPECT_EQ(image.GetPixel565(0, y), y + 1);
        EXPECT_EQ(image.GetPixel565(1, y), y - 1);
        EXPECT_EQ(image.GetPixel565(3, y), y - 1);
    }
    const RECT all{0, 0, 4, 6};
    ASSERT_TRUE(image.BltAdd(&image, &all, 0, 1));
    EXPECT_EQ(image.GetPixel565(0, 1), 2 + 1);
    EXPECT_EQ(image.GetPixel565(0, 2), 3 + 2);
}
