// CKNBitmap loads: packed DIBs at every depth, .bmp files with their bits
// offset, picture files, resources, and the refusal of broken input.

#include "tests/knclientUI05/BitmapKit.h"
#include "tests/support/TempFolder.h"

#include "knclientUI05/KNBitmap.h"
#include "platform/images/PngFile.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"

#include <gtest/gtest.h>

#include <random>

namespace ui_test {
namespace {

// A 5 x 3 picture of random colours and its DIB at the given depth, with a
// palette of the first colours for indexed depths.
struct Sample {
    DibLayout layout;
    std::vector<uint32_t> expected; // 0x00RRGGBB, top-down
};

Sample MakeSample(int bits, bool topDown, std::mt19937& rng) {
    Sample s;
    s.layout.width = 5;
    s.layout.height = topDown ? -3 : 3;
    s.layout.bits = bits;
    int colors = bits <= 8 ? (1 << bits) : 0;
    for (int i = 0; i < colors; ++i)
        s.layout.palette.push_back(rng() & 0xFFFFFF);
    for (int i = 0; i < 15; ++i) {
        uint32_t value = rng();
        uint32_t rgb;
        if (bits <= 8) {
            value %= uint32_t(colors);
            rgb = s.layout.palette[value];
        } else if (bits == 16) {
            value &= 0x7FFF; // 5-5-5; the 8-bit channels repeat their top bits
            uint32_t r = (value >> 10) & 31, g = (value >> 5) & 31, b = value & 31;
            rgb = ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
        } else {
            value &= 0xFFFFFF;
            rgb = value;
        }
        s.layout.values.push_back(value);
        s.expected.push_back(rgb);
    }
    return s;
}

void ExpectPixels(CKNBitmap& bitmap, const std::vector<uint32_t>& expected, int width) {
    SIZE size{};
    ASSERT_TRUE(bitmap.GetSize(&size));
    ASSERT_EQ(size.cx * size.cy, LONG(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(PixelOf(bitmap, int(i) % width, int(i) / width), expected[i]) << i;
}

TEST(BitmapLoadTest, PackedDibsAtEveryDepthAndOrientation) {
    std::mt19937 rng(7);
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, top-down " << topDown);
            Sample s = MakeSample(bits, topDown, rng);
            std::string dib = PackedDib(s.layout);
            CKNBitmap bitmap;
            ASSERT_TRUE(bitmap.CreateFromDib(dib.data(), dib.size()));
            EXPECT_EQ(bitmap.m_nColors, bits <= 8 ? 1 << bits : 0);
            EXPECT_EQ(bitmap.m_hPalette, nullptr); // a true-colour screen
            ExpectPixels(bitmap, s.expected, 5);
        }
}

// 5-6-5 pixels with the masks after a plain header, or inside a larger one.
TEST(BitmapLoadTest, BitFieldDibsReadTheirMasks) {
    for (uint32_t headerSize : {40u, 108u}) {
        DibLayout layout;
        layout.width = 2;
        layout.height = 1;
        layout.bits = 16;
        layout.headerSize = headerSize;
        layout.masks = {0xF800, 0x07E0, 0x001F};
        layout.values = {0xF800, 0x07FF};
        std::string dib = PackedDib(layout);
        CKNBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateFromDib(dib.data(), dib.size())) << headerSize;
        EXPECT_EQ(PixelOf(bitmap, 0, 0), 0xFF0000u);
        EXPECT_EQ(PixelOf(bitmap, 1, 0), 0x00FFFFu);
        EXPECT_EQ(bitmap.m_nColors, 0);
    }
}

TEST(BitmapLoadTest, UnsizedDibIsReadByItsHeader) {
    std::mt19937 rng(3);
    Sample s = MakeSample(8, false, rng);
    std::string dib = PackedDib(s.layout);
    CKNBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateFromDib(reinterpret_cast<const BITMAPINFO*>(dib.data()), FALSE));
    ExpectPixels(bitmap, s.expected, 5);
}

class BitmapFileTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::mt19937 rng{11};

    std::string SampleFile(int bits, Sample& s, uint32_t gap = 0) {
        s = MakeSample(bits, false, rng);
        std::string dib = PackedDib(s.layout);
        uint32_t tableEnd = 40 + 4 * uint32_t(s.layout.palette.size());
        return BmpFile(dib, tableEnd, gap);
    }
    std::string Png(uint32_t rgb) {
        platform::PixelImage image;
        image.Reset(3, 2, rgb);
        std::string bytes;
        EXPECT_TRUE(platform::EncodePng(image, bytes));
        return bytes;
    }
    // A held 1 x 1 bitmap that refused loads must leave in place.
    void HoldMarker(CKNBitmap& bitmap) {
        bitmap.DeleteObject();
        bitmap.Attach(MakeBitmap(1, 1, [](int, int) { return 0x123456u; }));
    }
    void ExpectMarker(CKNBitmap& bitmap) { EXPECT_EQ(PixelOf(bitmap, 0, 0), 0x123456u); }
};

TEST_F(BitmapFileTest, BmpFilesHonourTheirBitsOffset) {
    Sample s;
    folder.Write("gap.bmp", SampleFile(24, s, 12));
    CKNBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBmpFile(folder.File("gap.bmp").c_str()));
    ExpectPixels(bitmap, s.expected, 5);
}

TEST_F(BitmapFileTest, PathsRouteByTheBmpNameInAnyCase) {
    Sample s;
    folder.Write("A.BMP", SampleFile(8, s));
    folder.Write("picture.png", Png(0x336699));
    folder.Write("png-inside.bmp", Png(0x336699));
    CKNBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBmpFile(folder.File("A.BMP").c_str()));
    ExpectPixels(bitmap, s.expected, 5);

    ASSERT_TRUE(bitmap.LoadBmpFile(folder.File("picture.png").c_str()));
    EXPECT_EQ(PixelOf(bitmap, 2, 1), 0x336699u);
    EXPECT_EQ(bitmap.m_nColors, 256); // a picture load keeps the last DIB's count

    // The .bmp road wants the letters BM.
    HoldMarker(bitmap);
    EXPECT_FALSE(bitmap.LoadBmpFile(folder.File("png-inside.bmp").c_str()));
    ExpectMarker(bitmap);
    EXPECT_FALSE(bitmap.LoadBmpFile(folder.File("missing.jpg").c_str()));
    EXPECT_FALSE(bitmap.LoadPictureFile(folder.File("missing.jpg").c_str()));
    ExpectMarker(bitmap);
}

TEST_F(BitmapFileTest, APictureThatFailsLeavesNoBitmapAndAMissingFileChangesNothing) {
    folder.Write("broken.jpg", "\xFF\xD8\xFF\xE0 not a picture");
    CKNBitmap bitmap;
    HoldMarker(bitmap);
    EXPECT_FALSE(bitmap.LoadPictureFile(folder.File("missing.jpg").c_str()));
    ExpectMarker(bitmap);
    EXPECT_FALSE(bitmap.LoadPictureFile(folder.File("broken.jpg").c_str()));
    SIZE size{};
    EXPECT_FALSE(bitmap.GetSize(&size));
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
    EXPECT_FALSE(bitmap.Draw(nullptr, 0, 0, 0)); // nothing held, nothing drawn
}

TEST_F(BitmapFileTest, OffsetAndLengthReadAPictureInsideALargerFile) {
    Sample s;
    std::string bmp = SampleFile(4, s);
    folder.Write("pack.bmp", std::string(100, 'x') + bmp + std::string(30, 'y'));
    CKNBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBmpFile(folder.File("pack.bmp").c_str(), FALSE, 100, DWORD(bmp.size())));
    ExpectPixels(bitmap, s.expected, 5);

    HoldMarker(bitmap);
    DWORD fileSize = DWORD(130 + bmp.size());
    EXPECT_FALSE(bitmap.LoadBmpFile(folder.File("pack.bmp").c_str(), FALSE, fileSize + 1, 0));
    EXPECT_FALSE(bitmap.LoadBmpFile(folder.File("pack.bmp").c_str(), FALSE, 100, fileSize));
    ExpectMarker(bitmap);
}

TEST_F(BitmapFileTest, BrokenFilesAreRefusedAndTheHeldBitmapStays) {
    Sample s;
    std::string good = SampleFile(8, s);
    CKNBitmap bitmap;
    HoldMarker(bitmap);
    // Every cut of the file is refused.
    for (size_t cut = 0; cut < good.size(); ++cut) {
        folder.Write("cut.bmp", good.substr(0, cut));
        ASSERT_FALSE(bitmap.LoadBmpFile(folder.File("cut.bmp").c_str())) << cut;
    }
    auto patched = [&](size_t at, uint32_t value, int bytes) {
        std::string copy = good;
        for (int i = 0; i < bytes; ++i)
            copy[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
        folder.Write("bad.bmp", copy);
        return bitmap.LoadBmpFile(folder.File("bad.bmp").c_str());
    };
    EXPECT_FALSE(patched(14, 300, 4));                    // header size past the file
    EXPECT_FALSE(patched(14, 12, 4));                     // too small for the header read
    EXPECT_FALSE(patched(18, 0, 4));                      // zero width
    EXPECT_FALSE(patched(22, 0, 4));                      // zero height
    EXPECT_FALSE(patched(18, 1u << 20, 4));               // huge width
    EXPECT_FALSE(patched(22, 0x80000000, 4));             // the most negative height
    EXPECT_FALSE(patched(26, 2, 2));                      // two planes
    EXPECT_FALSE(patched(28, 12, 2));                     // 12 bits per pixel
    EXPECT_FALSE(patched(30, 2, 4));                      // 4-bit run lengths at 8 bits
    EXPECT_FALSE(patched(46, 300, 4));                    // more colours than 8 bits hold
    EXPECT_FALSE(patched(10, 20, 4));                     // bits offset inside the header
    EXPECT_FALSE(patched(10, DWORD(good.size()) + 1, 4)); // bits offset past the end
    EXPECT_FALSE(patched(10, DWORD(good.size()) - 4, 4)); // rows past the end
    ExpectMarker(bitmap);
    // A bits offset of 0 means "after the table".
    EXPECT_TRUE(patched(10, 0, 4));
}

TEST_F(BitmapFileTest, ResourcesLoadWithAndWithoutPalette) {
    Sample s;
    folder.Write("sample.bmp", SampleFile(8, s));
    folder.Write("picture.png", Png(0x445566));
    const char* script = "301 BITMAP \"sample.bmp\"\n"
                         "302 JPG \"picture.png\"\n"
                         "303 JPEG \"picture.png\"\n"
                         "304 GIF \"picture.png\"\n";
    std::string error;
    ASSERT_TRUE(RegisterResourceModuleText("BitmapTest.dll", script, folder.Path(), &error))
        << error;
    HMODULE module = LoadLibrary("BitmapTest.dll");
    ASSERT_NE(module, nullptr);
    HINSTANCE oldResource = AfxGetResourceHandle();
    AfxSetResourceHandle(module);

    for (BOOL palette : {FALSE, TRUE}) {
        CKNBitmap bitmap;
        ASSERT_TRUE(bitmap.LoadBitmap(301, palette));
        ExpectPixels(bitmap, s.expected, 5);
        EXPECT_EQ(bitmap.m_nColors, palette ? 256 : 0);
        EXPECT_FALSE(bitmap.LoadBitmap(399, palette));
        ExpectPixels(bitmap, s.expected, 5);
    }
    for (int kind = 0; kind < 4; ++kind) {
        HBITMAP loaded = LoadImageResourceById(module, UINT(0x10000 + 301 + kind), kind);
        ASSERT_NE(loaded, nullptr) << kind;
        EXPECT_EQ(PixelOf(loaded, 0, 0), kind == 0 ? s.expected[0] : 0x445566u);
        DeleteObject(loaded);
    }
    EXPECT_EQ(LoadImageResourceById(module, 302, 4), nullptr);
    EXPECT_EQ(LoadImageResourceById(module, 302, 3), nullptr); // no GIF resource 302
    HBITMAP current = LoadPictureResourceById(nullptr, 303, "JPEG");
    EXPECT_NE(current, nullptr);
    DeleteObject(current);

    AfxSetResourceHandle(oldResource);
    FreeLibrary(module);
    UnregisterResourceModule("BitmapTest.dll");
}

} // namespace
} // namespace ui_test
