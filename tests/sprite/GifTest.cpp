#include "SpriteTestKit.h"
#include "tests/support/GifFixtures.h"

#include "platform/system/Profile.h"
#include "sprite/GifSpriteImage.h"

#include <filesystem>
#include <fstream>

using namespace gif_fixture;
using namespace sprite_test;

namespace {

const std::vector<COLORREF> kPalette = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0),
                                        RGB(0, 0, 255)};

BOOL LoadBytes(CGifImage& gif, const std::string& bytes) {
    return gif.LoadGif(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// The frame's indexes in picture order, read back through its bottom-up rows.
std::vector<BYTE> Indexes(const CGifFrame& frame) {
    std::vector<BYTE> out;
    for (int y = 0; y < frame.m_nHeight; ++y)
        for (int x = 0; x < frame.m_nWidth; ++x) {
            BYTE index = 0;
            EXPECT_TRUE(frame.IndexAt(frame.m_nLeft + x, frame.m_nTop + y, index));
            out.push_back(index);
        }
    return out;
}

Frame Solid(int w, int h, std::vector<BYTE> pixels) {
    Frame f;
    f.width = w;
    f.height = h;
    f.pixels = std::move(pixels);
    return f;
}

TEST(GifDecodeTest, FramesKeepTheirOffsetsRowsDelaysAndTransparency) {
    Frame first = Solid(3, 2, {1, 2, 3, 0, 1, 2});
    first.left = 4;
    first.top = 5;
    first.delay = 0; // shown as 5
    first.transparent = 2;
    Frame second = Solid(2, 2, {3, 3, 1, 1});
    second.control = false; // reuses the pending values
    Frame third = Solid(1, 1, {1});
    third.transparentByte = 7; // without the flag it means nothing
    CGifImage gif;
    ASSERT_TRUE(
        LoadBytes(gif, Builder(20, 10, kPalette, 3).Add(first).Add(second).Add(third).Finish()));
    ASSERT_EQ(gif.GetFrameCount(), 3);
    EXPECT_EQ(gif.GetWidth(), 20);
    EXPECT_EQ(gif.GetHeight(), 10);
    EXPECT_EQ(gif.GetBackground(), RGB(0, 0, 255));
    const CGifFrame& f = *gif.GetFrame(0);
    EXPECT_EQ(f.m_nLeft, 4);
    EXPECT_EQ(f.m_nTop, 5);
    EXPECT_EQ(f.Stride(), 4);
    EXPECT_EQ(f.m_bits.size(), 8u);
    EXPECT_EQ(f.m_bits[0], 0); // the bottom row comes first
    EXPECT_EQ(f.m_bits[4], 1);
    EXPECT_EQ(Indexes(f), first.pixels);
    EXPECT_EQ(f.m_nDelay, 5);
    EXPECT_EQ(f.m_nTransparent, 2);
    EXPECT_TRUE(f.m_bBorrowedPalette);
    EXPECT_EQ(f.ColorOf(1), RGB(255, 0, 0));
    EXPECT_EQ(gif.GetFrame(1)->m_nDelay, 5);
    EXPECT_EQ(gif.GetFrame(1)->m_nTransparent, 2);
    EXPECT_EQ(gif.GetFrame(2)->m_nTransparent, -1);
    EXPECT_EQ(gif.GetFrame(2)->m_nDelay, 10);
    EXPECT_EQ(gif.GetFrame(3), nullptr);
}

TEST(GifDecodeTest, AnInterlacedFrameWithItsOwnTableIsPutInOrder) {
    Frame f = Solid(3, 10, Pixels(3, 10, [](int x, int y) { return y * 3 + x; }));
    f.interlaced = true;
    for (int i = 0; i < 30; ++i)
        f.localTable.push_back(RGB(i, 2 * i, 3 * i));
    CGifImage gif;
    ASSERT_TRUE(LoadBytes(gif, Builder(3, 10).Add(f).Finish()));
    const CGifFrame& frame = *gif.GetFrame(0);
    EXPECT_EQ(Indexes(frame), f.pixels);
    EXPECT_FALSE(frame.m_bBorrowedPalette);
    EXPECT_EQ(frame.PaletteCount(), 32);
    EXPECT_EQ(frame.ColorOf(29), RGB(29, 58, 87));
    EXPECT_EQ(frame.ColorOf(31), RGB(0, 0, 0));
}

TEST(GifDecodeTest, LongCompressedStreamsAndAFullTableDecode) {
    // Runs and noise: the table grows to 12 bits and is cleared on the way.
    std::vector<BYTE> pixels = Pixels(300, 200, [](int x, int y) {
        return (x / 7 + y / 5) % 3 == 0 ? (x * 31 + y * 17) % 251 : (x / 13) % 4;
    });
    CGifImage gif;
    ASSERT_TRUE(LoadBytes(gif, Builder(300, 200, kPalette).Add(Solid(300, 200, pixels)).Finish()));
    EXPECT_EQ(Indexes(*gif.GetFrame(0)), pixels);

    Frame literal = Solid(100, 60, Pixels(100, 60, [](int x, int y) { return (x + y) % 200; }));
    literal.code = Literals(literal.pixels, 8); // 6000 codes, no clear
    ASSERT_TRUE(LoadBytes(gif, Builder(100, 60, kPalette).Add(literal).Finish()));
    EXPECT_EQ(Indexes(*gif.GetFrame(0)), literal.pixels);
}

TEST(GifDecodeTest, ExtensionsOfAnyLengthAreSkipped) {
    Builder b(2, 1, kPalette);
    b.Extension(0xFE, {"a comment", "in two blocks"})
        .Extension(0xFF, {"XMP DataXMP", std::string(200, 'x'), std::string(255, 'y')})
        .Extension(0x99, {"unknown"})
        .Add(Solid(2, 1, {1, 3}));
    CGifImage gif;
    ASSERT_TRUE(LoadBytes(gif, b.Finish()));
    ASSERT_EQ(gif.GetFrameCount(), 1);
    EXPECT_EQ(Indexes(*gif.GetFrame(0)), (std::vector<BYTE>{1, 3}));
}

TEST(GifDecodeTest, BrokenFilesAreRefusedOrKeepWhatWasComplete) {
    const Frame one = Solid(4, 4, std::vector<BYTE>(16, 1));
    const Frame two = Solid(4, 4, std::vector<BYTE>(16, 2));
    const std::string whole = Builder(4, 4, kPalette).Add(one).Add(two).Finish();
    const size_t firstEnd = Builder(4, 4, kPalette).Add(one).Finish().size() - 1;
    CGifImage gif;
    // Every cut: never a read past the end; the frames complete before it stay.
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        const BOOL loaded = LoadBytes(gif, whole.substr(0, cut));
        const int expected = cut < firstEnd ? 0 : cut < whole.size() - 1 ? 1 : 2;
        EXPECT_EQ(loaded, expected > 0) << cut;
        EXPECT_EQ(gif.GetFrameCount(), expected) << cut;
    }
    EXPECT_FALSE(LoadBytes(gif, "PNG89a" + whole.substr(6)));
    EXPECT_EQ(gif.GetFrameCount(), 0);

    // A code beyond the table ends the frame; what came before stays.
    Frame bad = Solid(4, 1, {});
    BitWriter w;
    w.Put(256, 9);
    w.Put(2, 9);
    w.Put(3, 9);
    w.Put(400, 9); // the table holds 259 entries
    w.Put(1, 9);
    bad.code = w.Finish();
    ASSERT_TRUE(LoadBytes(gif, Builder(4, 1, kPalette).Add(bad).Finish()));
    EXPECT_EQ(Indexes(*gif.GetFrame(0)), (std::vector<BYTE>{2, 3, 0, 0}));

    // A frame too large to hold is refused, not allocated.
    Frame huge = Solid(65535, 65535, {});
    huge.code = {0};
    EXPECT_FALSE(LoadBytes(gif, Builder(4, 1, kPalette).Add(huge).Finish()));
}

class GifDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        dc = CreateCompatibleDC(nullptr);
        target = MakeBitmap(20, 20, [](int, int) { return RGB(9, 9, 9); });
        old = SelectObject(dc, target);
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(target);
        DeleteDC(dc);
    }
    uint32_t At(int x, int y) {
        return platform::SurfaceOfBitmap(target)->GetPixel(x, y) & 0xFFFFFF;
    }
    HDC dc = nullptr;
    HBITMAP target = nullptr;
    HGDIOBJ old = nullptr;
};

TEST_F(GifDrawTest, AFrameDrawsOnlyItsPartAndLeavesItsTransparentPixels) {
    Frame f = Solid(3, 2, {1, 0, 2, 3, 3, 1});
    f.left = 2;
    f.top = 1;
    f.transparent = 0; // black, which must not key anything else
    CGifImage gif;
    ASSERT_TRUE(LoadBytes(gif, Builder(8, 8, kPalette).Add(f).Finish()));
    const CGifFrame& frame = *gif.GetFrame(0);
    frame.Draw(dc, 10, 10, 0, 0, 8, 8, SRCCOPY);
    EXPECT_EQ(At(12, 11), Rgb(RGB(255, 0, 0)));
    EXPECT_EQ(At(13, 11), 0u); // index 0 drawn as black
    EXPECT_EQ(At(14, 12), Rgb(RGB(255, 0, 0)));
    EXPECT_EQ(At(11, 11), Rgb(RGB(9, 9, 9))); // outside the frame
    frame.DrawTransparent(dc, 0, 0, 3, 1, 2, 2, SRCCOPY);
    EXPECT_EQ(At(0, 0), Rgb(RGB(9, 9, 9)));
    EXPECT_EQ(At(1, 0), Rgb(RGB(0, 255, 0)));
    EXPECT_EQ(At(0, 1), Rgb(RGB(0, 0, 255)));
    EXPECT_EQ(At(2, 0), Rgb(RGB(9, 9, 9))); // beyond the asked part
}

TEST_F(GifDrawTest, MaskModesAndTheCounterDrawWhatTheyShould) {
    CGifSpriteImage keyed;
    Frame f = Solid(2, 1, {0, 1});
    f.transparent = 0;
    ASSERT_TRUE(LoadBytes(keyed.GetGif(), Builder(2, 1, kPalette).Add(f).Finish()));
    keyed.Draw(dc, 0, nullptr, 0, 0, 2, 1, 0, 0, 255);
    EXPECT_EQ(At(0, 0), Rgb(RGB(9, 9, 9)));
    EXPECT_EQ(At(1, 0), Rgb(RGB(255, 0, 0)));

    // Mode 1: the mask (white outside, black inside) with SRCAND, then the picture with SRCPAINT.
    CGifSpriteImage masked;
    masked.SetMaskMode(1);
    ASSERT_TRUE(
        LoadBytes(masked.GetGif(), Builder(2, 1, kPalette).Add(Solid(2, 1, {0, 3})).Finish()));
    ASSERT_TRUE(LoadBytes(
        masked.GetMask(),
        Builder(2, 1, {RGB(255, 255, 255), RGB(0, 0, 0)}).Add(Solid(2, 1, {0, 1})).Finish()));
    masked.Draw(dc, 0, nullptr, 0, 2, 2, 1, 0, 0, 255);
    EXPECT_EQ(At(0, 2), Rgb(RGB(9, 9, 9)));
    EXPECT_EQ(At(1, 2), Rgb(RGB(0, 0, 255)));

    // The counter: an opaque face and the value's digits shifted by (8, 2).
    HBITMAP background = MakeBitmap(2, 2, [](int, int) { return RGB(255, 255, 255); });
    HBITMAP digits = MakeBitmap(30, 4, [](int x, int) { return RGB((x / 3) * 20, 100, 0); });
    CDigitImage digitImage;
    digitImage.SetBitmaps(background, digits, 0, 0, 4, 0);
    CCounterGifImage counter;
    counter.SetMaskMode(2);
    ASSERT_TRUE(
        LoadBytes(counter.GetGif(),
                  Builder(18, 8, kPalette).Add(Solid(18, 8, std::vector<BYTE>(144, 2))).Finish()));
    ASSERT_TRUE(LoadBytes(counter.GetMask(), Builder(18, 8, {RGB(255, 0, 0), RGB(0, 0, 0)})
                                                 .Add(Solid(18, 8, std::vector<BYTE>(144, 0)))
                                                 .Finish()));
    counter.SetDigits(&digitImage);
    counter.SetValue(42);
    counter.Draw(dc, 0, nullptr, 0, 10, 18, 8, 0, 0, 255);
    EXPECT_EQ(At(0, 10), Rgb(RGB(0, 255, 0)));
    EXPECT_EQ(At(8, 12), Rgb(RGB(80, 100, 0)));
    EXPECT_EQ(At(12, 12), Rgb(RGB(40, 100, 0)));
    DeleteObject(background);
    DeleteObject(digits);
}

TEST_F(GifDrawTest, SpriteImagesComeFromTheirIniSectionWithAlphaMasks) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("gif-sprite-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    };
    write("clock.gif", Builder(2, 1, kPalette).Add(Solid(2, 1, {1, 2})).Finish());
    // The mask's reds: fully opaque, then invisible.
    write("mask.gif",
          Builder(2, 1, {RGB(255, 0, 0), RGB(0, 0, 0)}).Add(Solid(2, 1, {0, 1})).Finish());
    const std::string ini = (folder / "theme.ini").string();
    WritePrivateProfileString("clock", "ID", "2005", ini.c_str());
    WritePrivateProfileString("clock", "GIF", "clock.gif", ini.c_str());
    WritePrivateProfileString("clock", "MASKMODE", "2", ini.c_str());
    WritePrivateProfileString("clock", "MASK", "mask.gif", ini.c_str());
    WritePrivateProfileString("nomask", "GIF", "clock.gif", ini.c_str());
    WritePrivateProfileString("nomask", "MASKMODE", "1", ini.c_str());
    WritePrivateProfileString("nomask", "MASK", "missing.gif", ini.c_str());

    std::unique_ptr<CGifSpriteImage> image(
        NewGifSpriteImage("clock", ini.c_str(), folder.string().c_str(), FALSE));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->m_nId, 2005);
    EXPECT_TRUE(image->m_bAutoFree);
    EXPECT_EQ(image->GetSize(nullptr).cx, 2);
    EXPECT_EQ(image->GetFrameDelay(0), 10);
    image->Draw(dc, 0, nullptr, 4, 4, 2, 1, 0, 0, 255);
    EXPECT_EQ(At(4, 4), Rgb(RGB(255, 0, 0)));
    EXPECT_EQ(At(5, 4), Rgb(RGB(9, 9, 9)));
    EXPECT_EQ(NewGifSpriteImage("nomask", ini.c_str(), folder.string().c_str(), FALSE), nullptr);
    EXPECT_EQ(NewGifSpriteImage("absent", ini.c_str(), folder.string().c_str(), FALSE), nullptr);
    std::filesystem::remove_all(folder);
}

} // namespace
