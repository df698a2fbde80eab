#include "tests/support/GdiCanvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A BITMAPINFO with room for 256 colours or three masks.
struct Info {
    BITMAPINFOHEADER header{};
    RGBQUAD colors[256]{};
    BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

Info HeaderFor(int width, int height, int bpp, DWORD compression = BI_RGB) {
    Info info;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(bpp);
    info.header.biCompression = compression;
    return info;
}

// Colours every depth holds exactly: black, white and the pure primaries at
// full strength (in the default palettes, and exact in 5 and 6 bits).
const uint32_t kExact[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};

TEST(DibTest, RoundTripsAtEveryDepthBothOrientations) {
    struct Case {
        int bpp;
        DWORD compression;
        int colors;
    } cases[] = {{1, BI_RGB, 2},        {4, BI_RGB, 6},  {8, BI_RGB, 6}, {16, BI_RGB, 6},
                 {16, BI_BITFIELDS, 6}, {24, BI_RGB, 6}, {32, BI_RGB, 6}};
    for (const Case& c : cases)
        for (int orientation : {1, -1}) {
            GdiCanvas source(13, 5), copy(13, 5);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 13; ++x)
                    source.Set(x, y, kExact[(x * 3 + y) % c.colors]);
            Info info = HeaderFor(13, 5 * orientation, c.bpp, c.compression);
            std::vector<uint8_t> bits(size_t(platform::DibStride(13, c.bpp)) * 5 + 16, 0xCD);
            ASSERT_EQ(GetDIBits(source.dc(), source.bitmap(), 0, 5, bits.data(), info.get(),
                                DIB_RGB_COLORS),
                      5);
            // Nothing written past the image.
            EXPECT_EQ(bits[bits.size() - 1], 0xCD);
            ASSERT_EQ(
                SetDIBits(copy.dc(), copy.bitmap(), 0, 5, bits.data(), info.get(), DIB_RGB_COLORS),
                5);
            EXPECT_EQ(copy.Pixels(), source.Pixels()) << c.bpp << " bpp, " << orientation;
        }
}

TEST(DibTest, BottomUpRowsStartWithTheBottomRowAnd565IsFilledIn) {
    GdiCanvas c(2, 2);
    c.Set(0, 0, 0x00FF0000); // top row red
    c.Set(0, 1, 0x000000FF); // bottom row blue
    Info info = HeaderFor(2, 2, 16, BI_BITFIELDS);
    uint16_t bits[4] = {};
    ASSERT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 2, bits, info.get(), DIB_RGB_COLORS), 2);
    const DWORD* masks = reinterpret_cast<const DWORD*>(info.colors);
    EXPECT_EQ(masks[0], 0xF800u);
    EXPECT_EQ(masks[1], 0x07E0u);
    EXPECT_EQ(bits[0], 0x001F); // first row in memory: the bottom one, blue
    EXPECT_EQ(bits[2], 0xF800);
    // Only some of the rows.
    uint16_t one[2] = {};
    EXPECT_EQ(GetDIBits(c.dc(), c.bitmap(), 1, 5, one, info.get(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(one[0], 0xF800);
}

TEST(DibTest, GetDIBitsWithoutBitsDescribesTheBitmap) {
    GdiCanvas c(7, 3);
    Info info;
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_NE(GetDIBits(c.dc(), c.bitmap(), 0, 3, nullptr, info.get(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(info.header.biWidth, 7);
    EXPECT_EQ(info.header.biHeight, 3);
    EXPECT_EQ(info.header.biBitCount, 32);
    EXPECT_EQ(info.header.biSizeImage, 7u * 4 * 3);
    // The default 8-bit table: the sixteen standard colours first.
    Info eight = HeaderFor(7, 3, 8);
    ASSERT_NE(GetDIBits(c.dc(), c.bitmap(), 0, 3, nullptr, eight.get(), DIB_RGB_COLORS), 0);
    EXPECT_EQ(eight.colors[9].rgbRed, 0xFF);
    EXPECT_EQ(eight.colors[9].rgbGreen, 0);
    EXPECT_EQ(eight.header.biSizeImage, 8u * 3);
}

TEST(DibTest, BadHeadersAreRefused) {
    GdiCanvas c(4, 4);
    uint8_t bits[64] = {};
    Info info = HeaderFor(4, 4, 7);
    EXPECT_EQ(SetDIBits(c.dc(), c.bitmap(), 0, 4, bits, info.get(), DIB_RGB_COLORS), 0);
    info = HeaderFor(0, 4, 32);
    EXPECT_EQ(CreateDIBSection(c.dc(), info.get(), DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    info = HeaderFor(1 << 20, 1 << 20, 32);
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(c.dc(), info.get(), DIB_RGB_COLORS, &p, nullptr, 0), nullptr);
    EXPECT_EQ(p, nullptr);
    info = HeaderFor(4, 4, 8, BI_RLE8);
    EXPECT_EQ(
        StretchDIBits(c.dc(), 0, 0, 4, 4, 0, 0, 4, 4, bits, info.get(), DIB_RGB_COLORS, SRCCOPY),
        0);
    info = HeaderFor(4, 4, 8);
    EXPECT_EQ(SetDIBits(c.dc(), c.bitmap(), 0, 4, bits, info.get(), DIB_PAL_COLORS), 0);
}

TEST(DibSectionTest, PixelsAreSharedWithTheCaller) {
    for (int bpp : {24, 32})
        for (int orientation : {1, -1}) {
            Info info = HeaderFor(3, 2 * orientation, bpp);
            void* bits = nullptr;
            HDC dc = CreateCompatibleDC(nullptr);
            HBITMAP section = CreateDIBSection(dc, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
            ASSERT_NE(section, nullptr);
            ASSERT_NE(bits, nullptr);
            BITMAP bm;
            ASSERT_EQ(GetObject(section, sizeof(bm), &bm), int(sizeof(bm)));
            EXPECT_EQ(bm.bmBits, bits);
            EXPECT_EQ(bm.bmWidthBytes, platform::DibStride(3, bpp));
            EXPECT_EQ(bm.bmBitsPixel, bpp);
            HGDIOBJ old = SelectObject(dc, section);
            SetPixel(dc, 2, 0, RGB(1, 2, 3)); // top row
            // The top row is the first in memory only for a top-down section.
            int row = orientation > 0 ? 1 : 0;
            auto* p = static_cast<uint8_t*>(bits) + row * bm.bmWidthBytes + 2 * (bpp / 8);
            EXPECT_EQ(p[0], 3);
            EXPECT_EQ(p[1], 2);
            EXPECT_EQ(p[2], 1);
            p[0] = 0x40; // written by the caller, seen by GDI
            EXPECT_EQ(GetPixel(dc, 2, 0), RGB(1, 2, 0x40));
            SelectObject(dc, old);
            DeleteObject(section);
            DeleteDC(dc);
        }
}

TEST(StretchDIBitsTest, PalettedSourceWithRasterOperation) {
    GdiCanvas c(4, 2);
    c.Fill(0x00FFFFFF);
    Info info = HeaderFor(2, 1, 8);
    info.header.biClrUsed = 2;
    info.colors[0] = RGBQUAD{0x00, 0x00, 0xFF, 0}; // red
    info.colors[1] = RGBQUAD{0xFF, 0x00, 0x00, 0}; // blue
    uint8_t bits[4] = {0, 1, 0, 0};
    ASSERT_NE(
        StretchDIBits(c.dc(), 0, 0, 4, 2, 0, 0, 2, 1, bits, info.get(), DIB_RGB_COLORS, SRCAND), 0);
    EXPECT_EQ(c.At(0, 0), 0x00FF0000u);
    EXPECT_EQ(c.At(1, 1), 0x00FF0000u);
    EXPECT_EQ(c.At(2, 0), 0x000000FFu);
    EXPECT_EQ(c.At(3, 1), 0x000000FFu);
}

TEST(StretchDIBitsTest, BottomUpSourceRectangleCountsFromTheBottom) {
    GdiCanvas c(1, 1);
    Info info = HeaderFor(1, 3, 32); // rows in memory: bottom, middle, top
    uint32_t bits[3] = {0x111111, 0x222222, 0x333333};
    StretchDIBits(c.dc(), 0, 0, 1, 1, 0, 0, 1, 1, bits, info.get(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(c.At(0, 0), 0x111111u);
    StretchDIBits(c.dc(), 0, 0, 1, 1, 0, 2, 1, 1, bits, info.get(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(c.At(0, 0), 0x333333u);
}

TEST(SetDIBitsToDeviceTest, DrawsTheDibUprightAndInBands) {
    GdiCanvas c(2, 3);
    Info info = HeaderFor(2, 3, 32);
    uint32_t bits[6] = {1, 2, 3, 4, 5, 6}; // bottom row first
    ASSERT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 2, 3, 0, 0, 0, 3, bits, info.get(), DIB_RGB_COLORS),
              3);
    EXPECT_EQ(c.At(0, 0), 5u);
    EXPECT_EQ(c.At(1, 2), 2u);
    // Only scan lines 1 and 2 (middle and top) in the buffer.
    c.Fill(0);
    ASSERT_EQ(
        SetDIBitsToDevice(c.dc(), 0, 0, 2, 3, 0, 0, 1, 2, bits + 2, info.get(), DIB_RGB_COLORS), 2);
    EXPECT_EQ(c.At(0, 0), 5u);
    EXPECT_EQ(c.At(0, 1), 3u);
    EXPECT_EQ(c.At(0, 2), 0u);
}

TEST(BitmapTest, CreationAndDescription) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(dc, 5, 3);
    BITMAP bm;
    ASSERT_EQ(GetObject(colour, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmBitsPixel, 32); // colour, though the DC holds a monochrome bitmap
    EXPECT_EQ(bm.bmWidth, 5);
    EXPECT_EQ(bm.bmWidthBytes, 20);
    EXPECT_EQ(bm.bmBits, nullptr);
    const uint8_t maskBits[4] = {0xA0, 0, 0x50, 0}; // rows padded to 16 bits
    HBITMAP mono = CreateBitmap(4, 2, 1, 1, maskBits);
    ASSERT_EQ(GetObject(mono, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmWidthBytes, 2);
    HGDIOBJ old = SelectObject(dc, mono);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    // A zero size gives a 1x1 monochrome bitmap.
    HBITMAP tiny = CreateCompatibleBitmap(dc, 0, 0);
    ASSERT_EQ(GetObject(tiny, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(GetObject(colour, sizeof(bm) - 1, &bm), 0);
    EXPECT_EQ(CreateBitmap(-1, 5, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), nullptr);
    SelectObject(dc, old);
    for (HBITMAP b : {colour, mono, tiny})
        EXPECT_TRUE(DeleteObject(b));
    DeleteDC(dc);
}

} // namespace

namespace {

TEST(DibSectionTest, SixteenBitSectionTakesBlitsIn565) {
    // The window-shape routine copies a bitmap into a 5-6-5 section and reads it.
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info{{sizeof(BITMAPINFOHEADER), 3, -2, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0},
           {0xF800, 0x07E0, 0x001F}};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    GdiCanvas source(3, 2);
    source.Set(0, 0, 0x00FF00FF);
    source.Set(1, 0, 0x00FC03FB); // drops to the same 5-6-5 colour
    source.Set(2, 1, 0x00123456);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    ASSERT_TRUE(BitBlt(dc, 0, 0, 3, 2, source.dc(), 0, 0, SRCCOPY));
    const uint16_t* row0 = static_cast<const uint16_t*>(bits);
    const uint16_t* row1 = row0 + 4; // rows padded to 32 bits
    EXPECT_EQ(row0[0], 0xF81F);
    EXPECT_EQ(row0[1], 0xF81F);
    EXPECT_EQ(row0[2], 0x0000);
    EXPECT_EQ(row1[2], uint16_t((0x12 >> 3) << 11 | (0x34 >> 2) << 5 | (0x56 >> 3)));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}

} // namespace
