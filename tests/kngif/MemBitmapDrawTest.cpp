// The memory image on device contexts: where Draw puts which rows, scaled
// and colour-keyed drawing, system bitmaps both ways, the image's own DC and
// the loaders' refusals.

#include "../support/GdiCanvas.h"
#include "MemBitmapKit.h"
#include "platform/resources/Resource.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace membitmap_test;

namespace {

// The canvas holds 0x00RRGGBB; the image speaks COLORREF.
uint32_t Xrgb(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

uint32_t XrgbOf565(WORD w) {
    return Xrgb(CKNMemBitmap::RGB565ToRGB(w));
}

// Every pixel a different word, so a misplaced row or column shows.
void FillCounting(CKNMemBitmap& image) {
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            image.FillRect565(x, y, 1, 1, (WORD)(0x0841 * (x + 1) + 0x2000 * y));
        }
    }
}

const uint32_t kPaper = 0x123456;

} // namespace

TEST(MemBitmapDraw, DrawPutsTheRectangleWithItsRowsInOrder) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(5, 4));
    FillCounting(image);
    GdiCanvas canvas(8, 8);
    canvas.Fill(kPaper);
    const RECT part{1, 1, 4, 3};
    ASSERT_TRUE(image.Draw(canvas.dc(), &part, 2, 5));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 5 && y < 7;
            const uint32_t want =
                inside ? XrgbOf565(image.GetPixel565(x - 2 + 1, y - 5 + 1)) : kPaper;
            ASSERT_EQ(canvas.At(x, y), want) << x << "," << y;
        }
    }
}

TEST(MemBitmapDraw, DrawIsCutByTheDeviceAndTheClipRectangle) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(4, 4));
    FillCounting(image);
    GdiCanvas canvas(6, 6);
    canvas.Fill(kPaper);
    // Half past the device's left edge: only columns 2 and 3 show, at 0 and 1.
    ASSERT_TRUE(image.Draw(canvas.dc(), nullptr, -2, 0));
    EXPECT_EQ(canvas.At(0, 0), XrgbOf565(image.GetPixel565(2, 0)));
    EXPECT_EQ(canvas.At(1, 3), XrgbOf565(image.GetPixel565(3, 3)));
    EXPECT_EQ(canvas.At(2, 0), kPaper);
    // The clip rectangle is in device coordinates.
    canvas.Fill(kPaper);
    const RECT clip{3, 3, 4, 4};
    image.SetClipRect(&clip);
    ASSERT_TRUE(image.Draw(canvas.dc(), nullptr, 1, 1));
    EXPECT_EQ(canvas.At(3, 3), XrgbOf565(image.GetPixel565(2, 2)));
    EXPECT_EQ(canvas.At(2, 3), kPaper);
    EXPECT_EQ(canvas.At(3, 2), kPaper);
    // Wholly outside: nothing to do counts as done.
    EXPECT_TRUE(image.Draw(canvas.dc(), nullptr, 100, 100));
    CKNMemBitmap empty;
    EXPECT_FALSE(empty.Draw(canvas.dc(), nullptr, 0, 0));
    EXPECT_FALSE(image.Draw(nullptr, nullptr, 0, 0));
}

TEST(MemBitmapDraw, StretchDrawDoublesEveryPixel) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(3, 2));
    FillCounting(image);
    GdiCanvas canvas(6, 4);
    canvas.Fill(kPaper);
    const RECT dst{0, 0, 6, 4};
    ASSERT_TRUE(image.StretchDraw(canvas.dc(), nullptr, &dst));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            ASSERT_EQ(canvas.At(x, y), XrgbOf565(image.GetPixel565(x / 2, y / 2))) << x << "," << y;
        }
    }
    EXPECT_FALSE(image.StretchDraw(canvas.dc(), nullptr, nullptr));
}

TEST(MemBitmapDraw, TransparentDrawingLeavesKeyPixelsAlone) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(4, 3));
    FillCounting(image);
    const WORD key = 0xF81F;
    image.FillRect565(1, 0, 2, 2, key);
    // A key colour the image cannot hold exactly: the nearest drawn one wins.
    image.SetColorKey(RGB(250, 3, 252));
    GdiCanvas canvas(6, 5);
    canvas.Fill(kPaper);
    ASSERT_TRUE(image.DrawTransparent(canvas.dc(), nullptr, 1, 1));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 4;
            const WORD source = inside ? image.GetPixel565(x - 1, y - 1) : key;
            const uint32_t want = source == key ? kPaper : XrgbOf565(source);
            ASSERT_EQ(canvas.At(x, y), want) << x << "," << y;
        }
    }
    // The target's colours are put back.
    EXPECT_EQ(GetBkColor(canvas.dc()), RGB(255, 255, 255));
    SetBkColor(canvas.dc(), RGB(1, 2, 3));
    ASSERT_TRUE(image.DrawTransparent(canvas.dc(), nullptr, 1, 1));
    EXPECT_EQ(GetBkColor(canvas.dc()), RGB(1, 2, 3));
}

TEST(MemBitmapDraw, TransparentDrawingWithTheOriginKeyAndACutRectangle) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(4, 4));
    FillCounting(image);
    const WORD key = image.GetPixel565(0, 0);
    image.FillRect565(2, 2, 1, 1, key);
    image.SetColorKeyFromOrigin();
    GdiCanvas canvas(4, 4);
    canvas.Fill(kPaper);
    const RECT part{1, 1, 4, 4};
    // Half off the device's top-left: rows and columns 1..2 of the part show.
    ASSERT_TRUE(image.DrawTransparent(canvas.dc(), &part, -1, -1));
    EXPECT_EQ(canvas.At(0, 0), kPaper); // (2, 2) holds the key
    EXPECT_EQ(canvas.At(1, 0), XrgbOf565(image.GetPixel565(3, 2)));
    EXPECT_EQ(canvas.At(1, 1), XrgbOf565(image.GetPixel565(3, 3)));
    EXPECT_EQ(canvas.At(2, 0), kPaper);
}

// Onto another memory image's own DC, which holds a 16-bit section: the DC
// still reports the device's 32 bits, as every DC here does, so the 16-bit
// way is not taken; the mask way gives the same pixels.
TEST(MemBitmapDraw, TransparentDrawingOntoASixteenBitImagesOwnDc) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(3, 2));
    FillCounting(image);
    const WORD key = 0x07E0;
    image.FillRect565(1, 0, 1, 2, key);
    image.SetColorKey565(key);
    CKNMemBitmap target;
    ASSERT_TRUE(target.Create(4, 3));
    target.FillRect565(0, 0, 4, 3, 0x1234);
    HDC dc = target.GetDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    ASSERT_TRUE(image.DrawTransparent(dc, nullptr, 1, 1));
    ASSERT_TRUE(target.ReleaseDC(dc));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool inside = x >= 1 && y >= 1;
            const WORD source = inside ? image.GetPixel565(x - 1, y - 1) : key;
            EXPECT_EQ(target.GetPixel565(x, y), source == key ? WORD(0x1234) : source)
                << x << "," << y;
        }
    }
}

TEST(MemBitmapDraw, SystemBitmapsBothWays) {
    GdiCanvas canvas(3, 2);
    const uint32_t colours[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x070307, 0x8899AA};
    for (int i = 0; i < 6; ++i) {
        canvas.Set(i % 3, i / 3, colours[i]);
    }
    CKNMemBitmap image;
    // A bitmap still selected into a DC cannot be read.
    HBITMAP loose = CreateCompatibleBitmap(canvas.dc(), 3, 2);
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, loose);
        BitBlt(dc, 0, 0, 3, 2, canvas.dc(), 0, 0, SRCCOPY);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    ASSERT_TRUE(image.CreateFromBitmap(loose));
    DeleteObject(loose);
    ASSERT_EQ(image.GetWidth(), 3);
    ASSERT_EQ(image.GetHeight(), 2);
    const WORD want[6] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8CD5};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(image.GetPixel565(i % 3, i / 3), want[i]) << i;
    }
    HBITMAP back = image.ToBitmap();
    ASSERT_NE(back, nullptr);
    CKNMemBitmap again;
    ASSERT_TRUE(again.CreateFromBitmap(back));
    DeleteObject(back);
    EXPECT_EQ(Pixels(again), Pixels(image));
    EXPECT_FALSE(again.CreateFromBitmap(nullptr));
    CKNMemBitmap empty;
    EXPECT_EQ(empty.ToBitmap(), nullptr);
}

TEST(MemBitmapDraw, OwnDcWritesBackOnRelease) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(5, 3));
    FillCounting(image);
    const std::vector<WORD> before = Pixels(image);
    HDC dc = image.GetDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(image.GetDC(), nullptr); // one at a time
    // Drawing happens on the DC only until it is released.
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT r{1, 1, 3, 2};
    FillRect(dc, &r, red);
    DeleteObject(red);
    EXPECT_EQ(Pixels(image), before);
    GdiCanvas other(1, 1);
    EXPECT_FALSE(image.ReleaseDC(other.dc()));
    ASSERT_TRUE(image.ReleaseDC(dc)); // still open after the wrong release
    std::vector<WORD> want = before;
    want[1 * 5 + 1] = want[1 * 5 + 2] = 0xF800;
    EXPECT_EQ(Pixels(image), want);
    EXPECT_FALSE(image.ReleaseDC(dc));
    // And a new DC can be had again.
    HDC again = image.GetDC();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(image.ReleaseDC(again));
    CKNMemBitmap empty;
    EXPECT_EQ(empty.GetDC(), nullptr);
}

TEST(MemBitmapDraw, LoadersRefuseWhatIsNotAPicture) {
    CKNMemBitmap image;
    const BYTE junk[16] = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'};
    EXPECT_FALSE(image.LoadFromImageData(junk, sizeof junk));
    EXPECT_FALSE(image.LoadFromImageData(nullptr, 40));
    EXPECT_FALSE(image.LoadFromImageData(junk, -1));
    // Without a module the name must be a path, never a resource number.
    EXPECT_FALSE(image.LoadFromFileOrResource(nullptr, MAKEINTRESOURCE(29664), RT_BITMAP, 0));
    EXPECT_FALSE(image.LoadFile("/nonexistent/picture.bmp"));
    EXPECT_FALSE(image.LoadFile(nullptr));
    EXPECT_EQ(image.GetBits(), nullptr);
}

TEST(MemBitmapDraw, LoadsABmpFromMemory) {
    // A 2 x 2, 24-bit bottom-up .bmp: blue, green / red, white.
    std::vector<BYTE> file(54 + 16, 0);
    const auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, (uint32_t)file.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, 2);
    put32(22, 2);
    file[26] = 1;
    file[28] = 24;
    const BYTE rows[16] = {0,   0, 255, 255, 255, 255, 0, 0,  // bottom: red, white
                           255, 0, 0,   0,   255, 0,   0, 0}; // top: blue, green
    std::memcpy(&file[54], rows, 16);
    CKNMemBitmap image;
    ASSERT_TRUE(image.LoadFromImageData(file.data(), (int)file.size()));
    EXPECT_EQ(Pixels(image), (std::vector<WORD>{0x001F, 0x07E0, 0xF800, 0xFFFF}));
}
