// Opening pictures: signatures, the header-less form, the global palette and
// the screen values, from memory and from files.

#include "GifDecoderKit.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace gif_test;
using gif_fixture::Frame;
using gif_fixture::Picture;

namespace {

// GIF89a, 1 x 1 screen, two-entry global palette (black, white), one 1 x 1
// image of index 1 (minimum code size 2: clear, 1, end), trailer.
const BYTE kTiny[] = {'G', 'I', 'F', '8', '9', 'a', 1,   0,    1,    0, 0x80, 1,
                      0,   0,   0,   0,   255, 255, 255, 0x2C, 0,    0, 0,    0,
                      1,   0,   1,   0,   0,   2,   2,   0x4C, 0x01, 0, 0x3B};

std::string Tiny() {
    return std::string(reinterpret_cast<const char*>(kTiny), sizeof kTiny);
}

} // namespace

TEST(GifOpen, OneFrameThenTheEnd) {
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(kTiny, sizeof kTiny, TRUE), 0);
    FrameCall first = NextFrame(gif);
    EXPECT_EQ(first.result, 1);
    EXPECT_EQ(first.width, 1);
    EXPECT_EQ(first.height, 1);
    EXPECT_TRUE(first.hasBitmap);
    EXPECT_TRUE(first.hasPalette);
    EXPECT_EQ(NextFrame(gif).result, 2);
    EXPECT_EQ(NextFrame(gif).result, 2);
    std::vector<DecodedFrame> frames = DecodeAll(Tiny());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].indices, std::vector<BYTE>{1});
}

TEST(GifOpen, OnlyGif87aAndGif89aSignatures) {
    for (const char* signature : {"GIF87a", "GIF89a", "GIF88a", "GIF89b", "GIF79a", "gif89a"}) {
        std::string file = Tiny();
        file.replace(0, 6, signature);
        const bool good = std::string(signature) == "GIF87a" || std::string(signature) == "GIF89a";
        CKNGif89 gif;
        EXPECT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), good ? 0 : 3)
            << signature;
    }
}

TEST(GifOpen, WithoutSignatureTheDescriptorComesFirst) {
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(kTiny + 6, sizeof kTiny - 6, FALSE), 0);
    int width = 0, height = 0;
    COLORREF background = 0;
    EXPECT_EQ(gif.GetScreenInfo(&width, &height, &background), 1);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(background, PALETTERGB(255, 255, 255)); // background index 1
    EXPECT_EQ(NextFrame(gif).result, 1);
    // The same shortened bytes with the signature asked for are refused.
    EXPECT_EQ(gif.LoadFromMemory(kTiny + 6, sizeof kTiny - 6, TRUE), 3);
    EXPECT_EQ(gif.GetScreenInfo(&width, &height, &background), 0);
}

TEST(GifOpen, ShortHeadersAndPalettesAreRefused) {
    CKNGif89 gif;
    EXPECT_EQ(gif.LoadFromMemory(nullptr, 20, TRUE), 3);
    EXPECT_EQ(gif.LoadFromMemory(kTiny, 12, TRUE), 3);
    EXPECT_EQ(gif.LoadFromMemory(kTiny + 6, 6, FALSE), 3);
    // The two palette entries need 6 bytes after the header: 5 is short.
    EXPECT_EQ(gif.LoadFromMemory(kTiny, 13 + 5, TRUE), 3);
    // Header and palette and nothing else: opens, and has no frame.
    ASSERT_EQ(gif.LoadFromMemory(kTiny, 13 + 6, TRUE), 0);
    EXPECT_EQ(NextFrame(gif).result, 2);
}

TEST(GifOpen, GlobalPaletteAndBackground) {
    std::string file = gif_fixture::Builder(4, 4, {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)}, 2)
                           .Add(Picture(1, 1, {0}))
                           .Finish();
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    int background = -1;
    EXPECT_EQ(gif.GetGlobalPaletteInfo(&background), 4); // three colours round up to four
    EXPECT_EQ(background, 2);
    BYTE palette[12] = {};
    EXPECT_EQ(gif.CopyGlobalPalette(palette, 11), 0);
    EXPECT_EQ(gif.CopyGlobalPalette(nullptr, 12), 0);
    ASSERT_EQ(gif.CopyGlobalPalette(palette, 12), 1);
    EXPECT_EQ(palette[3], 4);
    EXPECT_EQ(palette[8], 9);
    int w = 0, h = 0;
    COLORREF colour = 0;
    ASSERT_EQ(gif.GetScreenInfo(&w, &h, &colour), 1);
    EXPECT_EQ(colour, PALETTERGB(7, 8, 9));
}

TEST(GifOpen, BackgroundIndexPastThePaletteGivesNoColour) {
    std::string file = Tiny();
    file[11] = char(200);
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    int w, h;
    COLORREF colour = 1;
    ASSERT_EQ(gif.GetScreenInfo(&w, &h, &colour), 1);
    EXPECT_EQ(colour, 0u);
}

TEST(GifOpen, NothingOpenGivesZeros) {
    CKNGif89 gif;
    int w, h, index;
    COLORREF colour;
    BYTE buffer[8];
    EXPECT_EQ(gif.GetScreenInfo(&w, &h, &colour), 0);
    EXPECT_EQ(gif.GetGlobalPaletteInfo(&index), 0);
    EXPECT_EQ(gif.CopyGlobalPalette(buffer, 8), 0);
    EXPECT_EQ(NextFrame(gif).result, 0);
    EXPECT_EQ(gif.GetNextFrameRecord(), nullptr);
    EXPECT_EQ(gif.CreateFrameBitmap(), nullptr);
    gif.Rewind();
}

TEST(GifOpen, FromFiles) {
    TempFolder folder;
    std::string file =
        gif_fixture::Builder(3, 2, Greys(4)).Add(Picture(3, 2, {0, 1, 2, 3, 2, 1})).Finish();
    folder.Write("whole.gif", file);
    folder.Write("short-palette.gif", file.substr(0, 13 + 5));
    folder.Write("header-only.gif", file.substr(0, 13 + 12));
    folder.Write("not-a-gif.gif", "GIF90a" + file.substr(6));
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromFile(folder.File("whole.gif").c_str()), 0);
    GifFrameRecord* record = gif.GetNextFrameRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(FromRecord(*record).indices, (std::vector<BYTE>{0, 1, 2, 3, 2, 1}));
    GifFreeFrameRecord(record);
    EXPECT_EQ(gif.LoadFromFile(folder.File("short-palette.gif").c_str()), 3);
    EXPECT_EQ(gif.LoadFromFile(folder.File("not-a-gif.gif").c_str()), 3);
    EXPECT_EQ(gif.LoadFromFile(folder.File("missing.gif").c_str()), 3);
    ASSERT_EQ(gif.LoadFromFile(folder.File("header-only.gif").c_str()), 0);
    EXPECT_EQ(NextFrame(gif).result, 2);
}
