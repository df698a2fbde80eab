// DIB sections, packed DIBs and .bmp files of the drawing utilities.

#include "knclientUI05/DibCheck.h"
#include "tests/knclientUI05/BitmapKit.h"
#include "tests/support/CommandOutput.h"
#include "tests/support/TempFolder.h"

#include "knclientUI05/KNBitmap.h"
#include "knclientUI05/KnClientPublic.h"
#include "platform/images/BmpFile.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace ui_test {
namespace {

TEST(DibSectionTest, DepthsRowsAndMasks) {
    EXPECT_EQ(CreateDibSection(4, 4, 12, nullptr), nullptr);
    EXPECT_EQ(CreateDibSection(0, 4, 24, nullptr), nullptr);

    void* bits = nullptr;
    HBITMAP rgb = CreateDibSection(3, 2, 24, &bits);
    ASSERT_NE(rgb, nullptr);
    ASSERT_NE(bits, nullptr);
    // Rows of 12 bytes, top-down: the second row starts at byte 12.
    static_cast<BYTE*>(bits)[12 + 2] = 0xEE; // red of (0, 1)
    EXPECT_EQ(PixelOf(rgb, 0, 1), 0xEE0000u);
    DeleteObject(rgb);

    HBITMAP packed = CreateDibSection(2, 1, 16, &bits);
    ASSERT_NE(packed, nullptr);
    static_cast<WORD*>(bits)[0] = 0xF800;
    static_cast<WORD*>(bits)[1] = 0x07E0;
    EXPECT_EQ(PixelOf(packed, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelOf(packed, 1, 0), 0x00FF00u);
    DeleteObject(packed);

    HBITMAP cleared = CreateDibSection(5, 5, 32, nullptr);
    ASSERT_NE(cleared, nullptr);
    EXPECT_EQ(PixelOf(cleared, 4, 4), 0u);
    DeleteObject(cleared);
}

TEST(DibSectionTest, IndexedDepthsCarryTheStockPalette) {
    EXPECT_EQ(CreateDibSection(4, 4, 2, nullptr), nullptr);

    void* bits = nullptr;
    HBITMAP eight = CreateDibSection(256, 1, 8, &bits);
    ASSERT_NE(eight, nullptr);
    for (int i = 0; i < 256; ++i)
        static_cast<BYTE*>(bits)[i] = BYTE(i);
    EXPECT_EQ(PixelOf(eight, 0, 0), 0x000000u);
    EXPECT_EQ(PixelOf(eight, 1, 0), 0x800000u); // dark red
    EXPECT_EQ(PixelOf(eight, 7, 0), 0xC0C0C0u);
    EXPECT_EQ(PixelOf(eight, 13, 0), 0xFF0000u);
    EXPECT_EQ(PixelOf(eight, 19, 0), 0xFFFFFFu);
    // Past the stock palette's twenty colours the table holds zeros.
    for (int i = 20; i < 256; ++i)
        EXPECT_EQ(PixelOf(eight, i, 0), 0u) << "index " << i;
    DeleteObject(eight);

    HBITMAP four = CreateDibSection(2, 1, 4, &bits);
    ASSERT_NE(four, nullptr);
    static_cast<BYTE*>(bits)[0] = 0xF2; // indices 15, 2
    EXPECT_EQ(PixelOf(four, 0, 0), 0xFFFF00u);
    EXPECT_EQ(PixelOf(four, 1, 0), 0x008000u);
    DeleteObject(four);

    // One bit, width 7: rows of 4 bytes, the two first stock colours.
    HBITMAP one = CreateDibSection(7, 2, 1, &bits);
    ASSERT_NE(one, nullptr);
    static_cast<BYTE*>(bits)[4] = 0x40; // (1, 1) set
    EXPECT_EQ(PixelOf(one, 1, 1), 0x800000u);
    EXPECT_EQ(PixelOf(one, 0, 1), 0u);
    EXPECT_EQ(PixelOf(one, 1, 0), 0u);
    DeleteObject(one);

    HBITMAP cleared = CreateDibSection(9, 3, 8, nullptr);
    ASSERT_NE(cleared, nullptr);
    EXPECT_EQ(PixelOf(cleared, 8, 2), 0u);
    DeleteObject(cleared);
}

TEST(DibHeaderTest, ColourCountsOfCoreAndInfoHeaders) {
    BYTE core[12] = {12, 0, 0, 0, 4, 0, 4, 0, 1, 0, 8, 0};
    EXPECT_EQ(GetDibColorCount(core), 256);
    EXPECT_EQ(GetDibColorTableSize(core), 768u);
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biBitCount = 4;
    EXPECT_EQ(GetDibColorCount(&h), 16);
    EXPECT_EQ(GetDibColorTableSize(&h), 64u);
    h.biClrUsed = 0x10005;
    EXPECT_EQ(GetDibColorCount(&h), 5);
    h.biClrUsed = 0;
    h.biBitCount = 24;
    EXPECT_EQ(GetDibColorCount(&h), 0);
    EXPECT_EQ(GetDibColorCount(nullptr), 0);
}

HGLOBAL BlockOf(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

TEST(PackedDibTest, FromABitmapAtItsOwnDepth) {
    HBITMAP bitmap =
        MakeBitmap(3, 2, [](int x, int y) { return uint32_t(0x102030 * (x + 1) + y); });
    EXPECT_EQ(CreateDibFromBitmap(nullptr, BI_RGB, nullptr), nullptr);
    EXPECT_EQ(CreateDibFromBitmap(bitmap, BI_BITFIELDS, nullptr), nullptr);
    HGLOBAL dib = CreateDibFromBitmap(bitmap, BI_RGB, nullptr);
    ASSERT_NE(dib, nullptr);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    EXPECT_EQ(h->biSize, 40u);
    EXPECT_EQ(h->biWidth, 3);
    EXPECT_EQ(h->biHeight, 2);
    EXPECT_EQ(h->biBitCount, 32);
    EXPECT_EQ(h->biSizeImage, 24u);
    EXPECT_EQ(GlobalSize(dib), 40u + 24u);
    // Bottom-up: the first row in the block is the picture's last.
    uint32_t first;
    std::memcpy(&first, block + 40, 4);
    EXPECT_EQ(first & 0xFFFFFF, PixelOf(bitmap, 0, 1));
    GlobalUnlock(dib);
    FreeDib(dib);
    DeleteObject(bitmap);
}

class BmpFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::mt19937 rng{21};

    // An 8-bit packed DIB with biClrUsed 0 (a full table of 256).
    std::string EightBitDib(int width, int height) {
        DibLayout layout;
        layout.width = width;
        layout.height = height;
        layout.bits = 8;
        for (int i = 0; i < 256; ++i)
            layout.palette.push_back(rng() & 0xFFFFFF);
        for (int i = 0; i < width * height; ++i)
            layout.values.push_back(rng() % 256);
        std::string dib = PackedDib(layout);
        std::memset(dib.data() + 32, 0, 4); // biClrUsed 0
        return dib;
    }
};

TEST_F(BmpFileTest, SavedFileHasTheLayoutAndReadsBack) {
    std::string dib = EightBitDib(5, 3);
    HGLOBAL block = BlockOf(dib);
    std::string path = folder.File("saved.bmp");
    ASSERT_EQ(SaveDibToFile(path.c_str(), block), 1);
    std::string file = folder.Read("saved.bmp");
    ASSERT_EQ(file.size(), dib.size() + 14);
    uint32_t sizeField, offset;
    std::memcpy(&sizeField, file.data() + 2, 4);
    std::memcpy(&offset, file.data() + 10, 4);
    EXPECT_EQ(sizeField, GlobalSize(block) + 14);
    EXPECT_EQ(offset, 14u + 40u + 1024u);
    EXPECT_EQ(file.substr(14), dib);

    HBITMAP back = LoadBmpFileOrResource(nullptr, path.c_str(), nullptr, 0);
    ASSERT_NE(back, nullptr);
    HBITMAP direct = nullptr;
    {
        CheckedDib checked;
        ASSERT_TRUE(CheckPackedDib(dib.data(), dib.size(), checked));
        direct = CreateDIBitmap(nullptr, &checked.Header(), CBM_INIT, checked.bits, checked.Info(),
                                DIB_RGB_COLORS);
    }
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(PixelOf(back, x, y), PixelOf(direct, x, y));

    // The platform's own .bmp reader agrees.
    platform::PixelImage image;
    std::string why;
    ASSERT_TRUE(platform::DecodeBmp(file.data(), file.size(), image, &why)) << why;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(image.At(x, y) & 0xFFFFFF, PixelOf(back, x, y));

    // So does ImageMagick, where it is installed.
    if (std::system("convert -version 2>/dev/null | grep -q ImageMagick") == 0) {
        std::string txt = folder.File("saved.txt");
        ASSERT_EQ(std::system(("convert " + path + " -depth 8 txt:" + txt).c_str()), 0);
        std::string listing = folder.Read("saved.txt");
        char expected[16];
        std::snprintf(expected, sizeof expected, "#%06X", PixelOf(back, 4, 2));
        EXPECT_NE(listing.find(expected), std::string::npos) << listing;
    }
    DeleteObject(back);
    DeleteObject(direct);
    GlobalFree(block);
}

TEST_F(BmpFileTest, SavingReportsFailure) {
    HGLOBAL block = BlockOf(EightBitDib(2, 2));
    EXPECT_EQ(SaveDibToFile(folder.File("no/such/folder/x.bmp").c_str(), block), 0);
    EXPECT_EQ(SaveDibToFile(folder.File("x.bmp").c_str(), nullptr), 0);
    HGLOBAL tiny = BlockOf(std::string("\x28\0\0\0\1\0", 6)); // claims 40 bytes in 6
    EXPECT_EQ(SaveDibToFile(folder.File("tiny.bmp").c_str(), tiny), 0);
    GlobalFree(block);
    GlobalFree(tiny);
}

// A random picture at a depth, as a whole .bmp file, with the colours each
// pixel must read back as.
struct BmpSample {
    std::string file;
    std::vector<uint32_t> expected;
    int width = 7, height = 5;
};

BmpSample RandomBmp(int bits, bool topDown, std::mt19937& rng) {
    BmpSample s;
    DibLayout layout;
    layout.width = s.width;
    layout.height = topDown ? -s.height : s.height;
    layout.bits = bits;
    if (bits <= 8)
        for (int i = 0; i < (1 << bits); ++i)
            layout.palette.push_back(rng() & 0xFFFFFF);
    if (bits == 16)
        layout.masks = {0xF800, 0x07E0, 0x001F};
    for (int i = 0; i < s.width * s.height; ++i) {
        uint32_t v = rng();
        uint32_t rgb;
        if (bits <= 8) {
            v %= uint32_t(layout.palette.size());
            rgb = layout.palette[v];
        } else if (bits == 16) {
            v &= 0xFFFF;
            uint32_t r = v >> 11, g = (v >> 5) & 63, b = v & 31;
            rgb = (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
        } else {
            v &= 0xFFFFFF;
            rgb = v;
        }
        layout.values.push_back(v);
        s.expected.push_back(rgb);
    }
    std::string dib = PackedDib(layout);
    uint32_t tableEnd = 40 + 4 * uint32_t(layout.palette.size()) + (bits == 16 ? 12 : 0);
    s.file = BmpFile(dib, tableEnd);
    return s;
}

TEST_F(BmpFileTest, BmpDataAtEveryDepthBecomesASection) {
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, top-down " << topDown);
            BmpSample s = RandomBmp(bits, topDown, rng);
            HBITMAP section = CreateBitmapFromBmpData(reinterpret_cast<const BYTE*>(s.file.data()),
                                                      int(s.file.size()));
            ASSERT_NE(section, nullptr);
            for (int i = 0; i < s.width * s.height; ++i)
                ASSERT_EQ(PixelOf(section, i % s.width, i / s.width), s.expected[size_t(i)]) << i;
            DeleteObject(section);
        }
}

// The same picture as an OS/2 bitmap: the 12-byte core header (16-bit sides,
// planes and depth), colours of 3 bytes each, then the same rows.
std::string CoreBmp(const BmpSample& s, int bits) {
    const size_t colors = bits <= 8 ? size_t(1) << bits : 0;
    Bytes core;
    core.U32(12).U16(uint32_t(s.width)).U16(uint32_t(s.height)).U16(1).U16(uint32_t(bits));
    for (size_t i = 0; i < colors; ++i)
        core.data += s.file.substr(14 + 40 + 4 * i, 3);
    return BmpFile(core.data + s.file.substr(14 + 40 + 4 * colors), uint32_t(12 + 3 * colors));
}

TEST_F(BmpFileTest, Os2BitmapsReadAsThePlatformAndImageMagickReadThem) {
    const bool magick = std::system("convert -version 2>/dev/null | grep -q ImageMagick") == 0;
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(testing::Message() << bits << " bits");
        BmpSample s = RandomBmp(bits, false, rng);
        const std::string file = CoreBmp(s, bits);
        folder.Write("os2.bmp", file);
        CKNBitmap held;
        ASSERT_TRUE(held.LoadBmpFile(folder.File("os2.bmp").c_str()));
        platform::PixelImage image;
        ASSERT_TRUE(platform::DecodeBmp(file.data(), file.size(), image));
        const std::string rgb =
            magick ? CommandOutput("convert " + folder.File("os2.bmp") + " -depth 8 rgb:-") : "";
        ASSERT_EQ(rgb.size(), magick ? size_t(3 * s.width * s.height) : 0u);
        for (int i = 0; i < s.width * s.height; ++i) {
            const uint32_t want = s.expected[size_t(i)];
            const auto* theirs = reinterpret_cast<const uint8_t*>(rgb.data() + 3 * i);
            ASSERT_EQ(PixelOf(static_cast<HBITMAP>(held.GetSafeHandle()), i % s.width, i / s.width),
                      want);
            ASSERT_EQ(image.pixels[size_t(i)] & 0xFFFFFF, want);
            ASSERT_TRUE(!magick ||
                        (uint32_t(theirs[0]) << 16 | theirs[1] << 8 | theirs[2]) == want);
        }
        // Cut inside its header or its colour table, it is refused.
        CheckedDib checked;
        for (size_t cut : {size_t(14 + 8), size_t(14 + 12 + 3 * (bits <= 8 ? 1 << bits : 0) - 1)})
            EXPECT_FALSE(CheckBmpFile(file.data(), cut, checked)) << cut;
    }
    printf("OS/2 bitmaps: the kit reads them as the platform%s\n",
           magick ? " and ImageMagick do" : " does (ImageMagick is not installed)");
}

// Through a 16-bit BI_RGB DIB (5-5-5) a colour keeps five bits a channel.
uint32_t Through555(uint32_t rgb) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t five = (rgb >> (shift + 3)) & 31;
        out |= (five << 3 | five >> 2) << shift;
    }
    return out;
}

// A section read from a file, turned back into a packed DIB, saved and read
// again shows the same pixels (16 bits go through 5-5-5: the packed DIB of a
// bitmap is never bit-field coded).
TEST_F(BmpFileTest, RoundTripThroughPackedDibAndFileAtEveryDepth) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(testing::Message() << bits << " bits");
        BmpSample s = RandomBmp(bits, false, rng);
        HBITMAP section = CreateBitmapFromBmpData(reinterpret_cast<const BYTE*>(s.file.data()),
                                                  int(s.file.size()));
        ASSERT_NE(section, nullptr);
        HGLOBAL dib = CreateDibFromBitmap(section, BI_RGB, nullptr);
        ASSERT_NE(dib, nullptr);
        std::string path = folder.File("round.bmp");
        ASSERT_EQ(SaveDibToFile(path.c_str(), dib), 1);
        HBITMAP back = LoadBmpFileOrResource(nullptr, path.c_str(), nullptr, 0);
        ASSERT_NE(back, nullptr);
        for (int i = 0; i < s.width * s.height; ++i) {
            uint32_t want = bits == 16 ? Through555(s.expected[size_t(i)]) : s.expected[size_t(i)];
            ASSERT_EQ(PixelOf(back, i % s.width, i / s.width), want) << i;
        }
        DeleteObject(back);
        FreeDib(dib);
        DeleteObject(section);
    }
}

TEST_F(BmpFileTest, BmpDataRefusesOtherKindsAndBrokenFiles) {
    auto decode = [](const std::string& bytes) {
        return CreateBitmapFromBmpData(reinterpret_cast<const BYTE*>(bytes.data()),
                                       int(bytes.size()));
    };
    EXPECT_EQ(decode("GIF89a-----------------"), nullptr);
    EXPECT_EQ(decode("\x89PNG\r\n\x1a\n---------"), nullptr);
    EXPECT_EQ(decode("\xFF\xD8\xFF\xE0-----------"), nullptr);
    EXPECT_EQ(decode("BM"), nullptr);
    EXPECT_EQ(CreateBitmapFromBmpData(nullptr, 100), nullptr);

    BmpSample s = RandomBmp(24, false, rng);
    std::string wrongSize = s.file;
    wrongSize[2] = char(wrongSize[2] + 1);
    EXPECT_EQ(decode(wrongSize), nullptr);
    // A cut file whose size field says the cut size still lacks its rows.
    for (size_t cut = 6; cut < s.file.size(); ++cut) {
        std::string part = s.file.substr(0, cut);
        uint32_t size = uint32_t(cut);
        std::memcpy(part.data() + 2, &size, std::min<size_t>(4, cut - 2));
        ASSERT_EQ(decode(part), nullptr) << cut;
    }
    // The size argument limits the read even when the buffer is longer.
    EXPECT_EQ(CreateBitmapFromBmpData(reinterpret_cast<const BYTE*>(s.file.data()), -5), nullptr);
}

// A 4 x 2 run-length picture (rows bottom-up) with a palette of black, red,
// green and blue: the bottom row red, the top row green and blue by turns.
// RLE8 writes the top row as a literal string, RLE4 as a run of two indices.
std::string RunLengthBmp(bool fourBits, const std::string& runs) {
    Bytes header;
    header.U32(40).U32(4).U32(2).U16(1).U16(fourBits ? 4 : 8).U32(fourBits ? BI_RLE4 : BI_RLE8);
    header.U32(uint32_t(runs.size())).U32(0).U32(0).U32(4).U32(0);
    for (uint32_t c : {0x000000u, 0xFF0000u, 0x00FF00u, 0x0000FFu})
        header.U8(c).U8(c >> 8).U8(c >> 16).U8(0);
    return BmpFile(header.data + runs, 40 + 16);
}

TEST_F(BmpFileTest, RunLengthPicturesDecodeAndABrokenOneIsRefusedWithItsReason) {
    const std::string rle8("\x04\x01\x00\x00\x00\x04\x02\x03\x02\x03\x00\x01", 12);
    const std::string rle4("\x04\x11\x00\x00\x04\x23\x00\x01", 8);
    for (const std::string& file : {RunLengthBmp(false, rle8), RunLengthBmp(true, rle4)}) {
        const auto* bytes = reinterpret_cast<const BYTE*>(file.data());
        HBITMAP section = CreateBitmapFromBmpData(bytes, int(file.size()));
        ASSERT_NE(section, nullptr);
        folder.Write("runs.bmp", file);
        CKNBitmap held;
        ASSERT_TRUE(held.LoadBmpFile(folder.File("runs.bmp").c_str()));
        for (HBITMAP picture : {section, static_cast<HBITMAP>(held.GetSafeHandle())}) {
            EXPECT_EQ(PixelOf(picture, 0, 1), 0xFF0000u);
            EXPECT_EQ(PixelOf(picture, 3, 1), 0xFF0000u);
            EXPECT_EQ(PixelOf(picture, 0, 0), 0x00FF00u);
            EXPECT_EQ(PixelOf(picture, 1, 0), 0x0000FFu);
            EXPECT_EQ(PixelOf(picture, 2, 0), 0x00FF00u);
        }
        DeleteObject(section);
    }
    // Data that ends before its end-of-picture mark: refused, and the trace
    // says why.
    const std::string cut = RunLengthBmp(false, rle8.substr(0, 6));
    testing::internal::CaptureStderr();
    EXPECT_EQ(CreateBitmapFromBmpData(reinterpret_cast<const BYTE*>(cut.data()), int(cut.size())),
              nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("DIB refused"), std::string::npos);
}

TEST_F(BmpFileTest, BmpFromAResourceOrAFile) {
    BmpSample s = RandomBmp(8, false, rng);
    folder.Write("sample.bmp", s.file);
    std::string error;
    ASSERT_TRUE(RegisterResourceModuleText("KnDibTest.dll", "77 BMPDATA \"sample.bmp\"\n",
                                           folder.Path(), &error))
        << error;
    HMODULE module = LoadLibrary("KnDibTest.dll");
    ASSERT_NE(module, nullptr);
    HBITMAP fromResource = LoadBmpFileOrResource(module, MAKEINTRESOURCE(77), "BMPDATA", 0);
    ASSERT_NE(fromResource, nullptr);
    EXPECT_EQ(PixelOf(fromResource, 6, 4), s.expected.back());
    EXPECT_EQ(LoadBmpFileOrResource(module, MAKEINTRESOURCE(78), "BMPDATA", 0), nullptr);
    HBITMAP fromFile =
        LoadBmpFileOrResource(nullptr, folder.File("sample.bmp").c_str(), nullptr, 0);
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(PixelOf(fromFile, 0, 0), s.expected.front());
    EXPECT_EQ(LoadBmpFileOrResource(nullptr, folder.File("none.bmp").c_str(), nullptr, 0), nullptr);
    DeleteObject(fromResource);
    DeleteObject(fromFile);
    FreeLibrary(module);
    UnregisterResourceModule("KnDibTest.dll");
}

} // namespace
} // namespace ui_test
