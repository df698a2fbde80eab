// DIB sections of every depth with their memory shared, the 5-6-5 rules in
// both directions, the bottom-based source rows of top-down DIBs, palettes.

#include "tests/support/GdiCanvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct Info {
    BITMAPINFOHEADER header{};
    RGBQUAD colors[256]{};
    BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

Info HeaderFor(int width, int height, int bpp, DWORD compression = BI_RGB) {
    Info info;
    info.header = BITMAPINFOHEADER{
        sizeof(BITMAPINFOHEADER), width, height, 1, WORD(bpp), compression, 0, 0, 0, 0, 0};
    return info;
}

// A memory DC holding a section for one scope.
struct SectionDc {
    explicit SectionDc(Info& info) {
        section = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &bits, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        old = SelectObject(dc, section);
    }
    ~SectionDc() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(section);
    }
    HBITMAP section = nullptr;
    void* bits = nullptr;
    HDC dc = nullptr;
    HGDIOBJ old = nullptr;
};

TEST(Rgb565Test, WideningRepeatsTheTopBitsForEveryWord) {
    Info info = HeaderFor(256, -256, 16, BI_BITFIELDS);
    DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info.colors, masks, sizeof masks);
    SectionDc s(info);
    ASSERT_NE(s.bits, nullptr);
    auto* words = static_cast<uint16_t*>(s.bits);
    for (int i = 0; i < 65536; ++i)
        words[i] = uint16_t(i);
    for (int i = 0; i < 65536; ++i) {
        int r5 = i >> 11, g6 = (i >> 5) & 63, b5 = i & 31;
        COLORREF expected =
            RGB((r5 << 3) | (r5 >> 2), (g6 << 2) | (g6 >> 4), (b5 << 3) | (b5 >> 2));
        ASSERT_EQ(GetPixel(s.dc, i % 256, i / 256), expected) << i;
    }
}

TEST(Rgb565Test, NarrowingKeepsTheTopBitsOfEveryChannelValue) {
    Info info = HeaderFor(256, -3, 16, BI_BITFIELDS);
    DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(info.colors, masks, sizeof masks);
    SectionDc s(info);
    for (int v = 0; v < 256; ++v) {
        SetPixel(s.dc, v, 0, RGB(v, 0, 0));
        SetPixel(s.dc, v, 1, RGB(0, v, 0));
        SetPixel(s.dc, v, 2, RGB(0, 0, v));
    }
    const auto* rows = static_cast<const uint8_t*>(s.bits);
    for (int v = 0; v < 256; ++v) {
        auto word = [&](int row) {
            uint16_t w;
            std::memcpy(&w, rows + row * 512 + v * 2, 2);
            return w;
        };
        ASSERT_EQ(word(0), uint16_t((v >> 3) << 11)) << v;
        ASSERT_EQ(word(1), uint16_t((v >> 2) << 5)) << v;
        ASSERT_EQ(word(2), uint16_t(v >> 3)) << v;
    }
}

TEST(DibSectionTest, PalettedSectionsShareTheirIndexesWithTheCaller) {
    for (int bpp : {1, 4, 8}) {
        Info info = HeaderFor(9, -2, bpp);
        info.header.biClrUsed = 2;
        info.colors[0] = RGBQUAD{0x10, 0x20, 0x30, 0}; // blue, green, red
        info.colors[1] = RGBQUAD{0xF0, 0xE0, 0xD0, 0};
        SectionDc s(info);
        ASSERT_NE(s.bits, nullptr) << bpp;
        auto* bytes = static_cast<uint8_t*>(s.bits);
        const int stride = platform::DibStride(9, bpp);
        // Pixel 8 of row 1 set to index 1 by the caller...
        int bit = 8 * bpp;
        bytes[stride + bit / 8] |= uint8_t(1 << (8 - bpp - bit % 8));
        EXPECT_EQ(GetPixel(s.dc, 8, 1), RGB(0xD0, 0xE0, 0xF0)) << bpp;
        EXPECT_EQ(GetPixel(s.dc, 7, 1), RGB(0x30, 0x20, 0x10)) << bpp;
        // ...and a colour drawn by GDI lands as the nearest index in memory.
        SetPixel(s.dc, 0, 0, RGB(0xD1, 0xE0, 0xF0));
        EXPECT_EQ(bytes[0] >> (8 - bpp), 1) << bpp;
    }
    Info twoBits = HeaderFor(4, 4, 2);
    EXPECT_EQ(CreateDIBSection(nullptr, twoBits.get(), DIB_RGB_COLORS, nullptr, nullptr, 0),
              nullptr);
}

// Three rows, top to bottom 0x111111, 0x222222, 0x333333, stored top-down.
TEST(TopDownDibTest, SourceRowsCountUpFromTheBottomAsForBottomUpDibs) {
    Info info = HeaderFor(1, -3, 32);
    uint32_t bits[3] = {0x111111, 0x222222, 0x333333};
    GdiCanvas c(1, 2);
    // ySrc 0 with one row is the bottom row, whichever way rows are stored.
    ASSERT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 1, 1, 0, 0, 0, 3, bits, info.get(), DIB_RGB_COLORS),
              3);
    EXPECT_EQ(c.At(0, 0), 0x333333u);
    ASSERT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 1, 2, 0, 1, 0, 3, bits, info.get(), DIB_RGB_COLORS),
              3);
    EXPECT_EQ(c.At(0, 0), 0x111111u); // rows 2 and 1 from the bottom: the top two
    EXPECT_EQ(c.At(0, 1), 0x222222u);
    ASSERT_NE(
        StretchDIBits(c.dc(), 0, 0, 1, 1, 0, 0, 1, 1, bits, info.get(), DIB_RGB_COLORS, SRCCOPY),
        0);
    EXPECT_EQ(c.At(0, 0), 0x333333u);
    StretchDIBits(c.dc(), 0, 0, 1, 2, 0, 1, 1, 2, bits, info.get(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(c.At(0, 0), 0x111111u);
    EXPECT_EQ(c.At(0, 1), 0x222222u);
    // The same picture stored bottom-up draws the same.
    Info upright = HeaderFor(1, 3, 32);
    uint32_t flipped[3] = {0x333333, 0x222222, 0x111111};
    c.Fill(0);
    StretchDIBits(c.dc(), 0, 0, 1, 2, 0, 1, 1, 2, flipped, upright.get(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(c.At(0, 0), 0x111111u);
    EXPECT_EQ(c.At(0, 1), 0x222222u);
}

TEST(PaletteTest, EntriesReadWriteAndTheStockPalette) {
    HPALETTE stock = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(GetPaletteEntries(stock, 0, 0, nullptr), 20u);
    PALETTEENTRY entries[20];
    ASSERT_EQ(GetPaletteEntries(stock, 0, 20, entries), 20u);
    EXPECT_EQ(entries[0].peRed + entries[0].peGreen + entries[0].peBlue, 0);
    EXPECT_EQ(entries[19].peRed & entries[19].peGreen & entries[19].peBlue, 255);
    EXPECT_EQ(entries[8].peGreen, 220); // the pale system colours sit in the middle
    WORD count = 0;
    EXPECT_EQ(GetObject(stock, sizeof count, &count), int(sizeof count));
    EXPECT_EQ(count, 20);

    struct {
        WORD version, count;
        PALETTEENTRY entries[3];
    } log{0x300, 3, {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}}};
    HPALETTE own = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(GetPaletteEntries(own, 1, 10, entries), 2u); // clipped to the palette
    EXPECT_EQ(entries[0].peGreen, 255);
    EXPECT_EQ(entries[1].peBlue, 255);
    EXPECT_EQ(GetNearestPaletteIndex(own, RGB(10, 20, 200)), 2u);
    PALETTEENTRY grey{128, 128, 128, 0};
    EXPECT_EQ(SetPaletteEntries(own, 2, 1, &grey), 1u);
    EXPECT_EQ(GetNearestPaletteIndex(own, RGB(120, 130, 125)), 2u);
    EXPECT_EQ(SetPaletteEntries(stock, 0, 1, &grey), 0u); // the stock palette stays

    // Selecting and realising change nothing: the screen is true colour.
    GdiCanvas c(2, 1);
    HPALETTE previous = SelectPalette(c.dc(), own, FALSE);
    EXPECT_EQ(previous, stock);
    EXPECT_EQ(RealizePalette(c.dc()), 0u);
    SetPixel(c.dc(), 0, 0, PALETTERGB(12, 34, 56));
    EXPECT_EQ(c.At(0, 0), 0x0C2238u);
    EXPECT_EQ(GetDeviceCaps(c.dc(), BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(c.dc(), RASTERCAPS) & RC_PALETTE, 0);
    PALETTEENTRY system[256];
    system[0].peRed = 7;
    EXPECT_EQ(GetSystemPaletteEntries(c.dc(), 0, 256, system), 0u);
    EXPECT_EQ(system[0].peRed, 7);
    SelectPalette(c.dc(), previous, FALSE);
    DeleteObject(own);
    EXPECT_EQ(GetPaletteEntries(own, 0, 1, entries), 0u);
}

} // namespace
