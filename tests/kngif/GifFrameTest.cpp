// Frames: the graphic control values, palettes, transparency, interlace,
// the bitmap and the raw record, and several pictures read at once.

#include "GifDecoderKit.h"

#include "knclientUI05/CodecBindings.h"

#include <gtest/gtest.h>

using namespace gif_test;
using gif_fixture::Builder;
using gif_fixture::Frame;
using gif_fixture::Pixels;

namespace {

Frame Solid(int width, int height, int index = 1) {
    Frame f;
    f.width = width;
    f.height = height;
    f.pixels.assign(size_t(width) * size_t(height), BYTE(index));
    return f;
}

} // namespace

TEST(GifFrames, DelaysInMillisecondsWithADefault) {
    Frame none = Solid(2, 2), seven = Solid(2, 2), long_ = Solid(2, 2), bare = Solid(2, 2);
    none.delay = 0;
    seven.delay = 7;
    long_.delay = 65535;
    bare.control = false;
    std::string file = Builder(2, 2, Greys(2)).Add(none).Add(seven).Add(long_).Add(bare).Finish();
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    EXPECT_EQ(NextFrame(gif).delay, 50);
    EXPECT_EQ(NextFrame(gif).delay, 70);
    EXPECT_EQ(NextFrame(gif).delay, 655350);
    EXPECT_EQ(NextFrame(gif).delay, 50);
    EXPECT_EQ(NextFrame(gif).result, 2);
}

TEST(GifFrames, DisposalAndPositionAsWritten) {
    Builder builder(8, 8, Greys(4));
    for (int disposal = 0; disposal < 8; ++disposal) {
        Frame f = Solid(2, 3);
        f.left = disposal;
        f.top = 7 - disposal;
        f.disposal = disposal;
        builder.Add(f);
    }
    std::vector<DecodedFrame> frames = DecodeAll(builder.Finish());
    ASSERT_EQ(frames.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(frames[size_t(i)].disposal, i);
        EXPECT_EQ(frames[size_t(i)].left, i);
        EXPECT_EQ(frames[size_t(i)].top, 7 - i);
        EXPECT_EQ(frames[size_t(i)].width, 2);
    }
}

TEST(GifFrames, TransparentColourFromThePalette) {
    Frame global = Solid(1, 1), local = Solid(1, 1), past = Solid(1, 1), opaque = Solid(1, 1);
    global.transparent = 1;
    local.transparent = 2;
    local.localTable = {RGB(9, 9, 9), RGB(8, 8, 8), RGB(10, 20, 30), RGB(0, 0, 0)};
    past.transparent = 7; // a four-entry palette has no index 7
    opaque.transparentByte = 3;
    std::string file = Builder(1, 1, {RGB(0, 0, 0), RGB(200, 100, 50), RGB(1, 1, 1), RGB(2, 2, 2)})
                           .Add(global)
                           .Add(local)
                           .Add(past)
                           .Add(opaque)
                           .Finish();
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    FrameCall a = NextFrame(gif), b = NextFrame(gif), c = NextFrame(gif), d = NextFrame(gif);
    EXPECT_TRUE(a.transparent);
    EXPECT_EQ(a.transparentColor, PALETTERGB(200, 100, 50));
    EXPECT_EQ(b.transparentColor, PALETTERGB(10, 20, 30));
    EXPECT_TRUE(c.transparent);
    EXPECT_EQ(c.transparentColor, 7u); // no colour for it: the index stays
    EXPECT_FALSE(d.transparent);
    EXPECT_EQ(d.transparentColor, PALETTERGB(2, 2, 2)); // the byte is reported all the same
}

TEST(GifFrames, BitmapColoursComeFromTheFramesPalette) {
    Frame local = Solid(5, 3);
    local.pixels = Pixels(5, 3, [](int x, int) { return x % 2; });
    local.localTable = {RGB(255, 0, 0), RGB(0, 0, 255)};
    Frame global = Solid(5, 3, 1);
    std::string file =
        Builder(5, 3, {RGB(0, 0, 0), RGB(0, 200, 0)}).Add(local).Add(global).Finish();
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    for (COLORREF odd : {RGB(0, 0, 255), RGB(0, 200, 0)}) {
        int l, t, w, h, disposal, delay;
        HBITMAP bitmap = nullptr;
        HPALETTE palette = nullptr;
        BOOL transparent;
        COLORREF key;
        ASSERT_EQ(gif.GetNextFrame(&l, &t, &w, &h, &bitmap, &transparent, &key, &palette, &disposal,
                                   &delay),
                  1);
        BITMAP info{};
        ASSERT_TRUE(GetObject(bitmap, sizeof info, &info));
        EXPECT_EQ(info.bmBitsPixel, 8);
        EXPECT_EQ(info.bmWidth, 5);
        const uint32_t expected = Rgb(odd);
        EXPECT_EQ(PixelOf(bitmap, 3, 2), expected);
        EXPECT_EQ(PixelOf(bitmap, 1, 0), expected);
        PALETTEENTRY entries[4];
        EXPECT_EQ(GetPaletteEntries(palette, 0, 4, entries), 2u);
        DeleteObject(bitmap);
        DeleteObject(palette);
    }
}

TEST(GifFrames, InterlacedRowsInPassOrder) {
    for (int height : {1, 2, 5, 8, 9, 17}) {
        Frame f = Solid(3, height);
        f.pixels = Pixels(3, height, [](int, int y) { return y; });
        f.interlaced = true;
        std::vector<DecodedFrame> frames = DecodeAll(Builder(3, height, Greys(32)).Add(f).Finish());
        ASSERT_EQ(frames.size(), 1u) << height;
        EXPECT_EQ(frames[0].indices, f.pixels) << height;
    }
    // Height 5: the rows arrive as 0, 4, 2, 1, 3. Written in file order
    // 10..14, each row must hold the value of the line that went to it.
    Frame raw = Solid(1, 5);
    raw.interlaced = true;
    raw.code = gif_fixture::Compress({10, 11, 12, 13, 14}, 8);
    std::vector<DecodedFrame> frames = DecodeAll(Builder(1, 5, Greys(32)).Add(raw).Finish());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].indices, (std::vector<BYTE>{10, 13, 12, 14, 11}));
}

TEST(GifFrames, RecordCarriesTheFramesOwnPalette) {
    Frame local = Solid(6, 2, 3);
    local.localTable = Greys(8);
    local.delay = 12;
    local.transparent = 5;
    std::string file = Builder(6, 2, Greys(2)).Add(local).Add(Solid(6, 2)).Finish();
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    GifFrameRecord* r = gif.GetNextFrameRecord();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->size, sizeof(GifFrameRecord));
    EXPECT_EQ(r->stride, 8u);
    EXPECT_EQ(r->pixelSize, 16u);
    EXPECT_EQ(r->delay, 120u);
    EXPECT_EQ(r->transparent, 1u);
    EXPECT_EQ(r->transparentIndex, 5u);
    EXPECT_EQ(r->paletteEntries, 8u);
    EXPECT_NE(r->palette, nullptr);
    EXPECT_EQ(r->pixels[5], 3);
    EXPECT_EQ(r->pixels[7], 0); // the stride's padding
    GifFreeFrameRecord(r);
    r = gif.GetNextFrameRecord();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->palette, nullptr); // the global palette is not the frame's
    GifFreeFrameRecord(r);
    EXPECT_EQ(gif.GetNextFrameRecord(), nullptr);
}

TEST(GifFrames, RewindStartsAgain) {
    std::string file = Builder(2, 2, Greys(4)).Add(Solid(2, 2, 1)).Add(Solid(2, 2, 2)).Finish();
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    EXPECT_EQ(NextFrame(gif).result, 1);
    EXPECT_EQ(NextFrame(gif).result, 1);
    EXPECT_EQ(NextFrame(gif).result, 2);
    gif.Rewind();
    GifFrameRecord* r = gif.GetNextFrameRecord();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->pixels[0], 1);
    GifFreeFrameRecord(r);
}

TEST(GifFrames, PicturesReadInTurnKeepTheirOwnState) {
    std::vector<std::string> files;
    for (int seed = 0; seed < 3; ++seed) {
        Builder builder(40, 30, Greys(256));
        for (int i = 0; i < 4; ++i) {
            Frame f = Solid(40, 30);
            f.interlaced = (i + seed) % 2 == 1;
            f.pixels = Pixels(40, 30, [&](int x, int y) { return (x * (seed + 3) + y * i) % 256; });
            builder.Add(f);
        }
        files.push_back(builder.Finish());
    }
    std::vector<HKNGIF> handles;
    for (const std::string& f : files)
        handles.push_back(GifOpenMemory(Bytes(f), DWORD(f.size()), TRUE));
    for (int frame = 0; frame < 4; ++frame)
        for (size_t i = 0; i < files.size(); ++i) {
            GifFrameRecord* r = GifGetNextFrameRecord(handles[i]);
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(FromRecord(*r).indices, DecodeAll(files[i])[size_t(frame)].indices);
            GifFreeFrameRecord(r);
        }
    for (HKNGIF h : handles)
        GifClose(h);
}

TEST(GifFrames, IndicesPastThePaletteDrawBlack) {
    Frame f = Solid(4, 1);
    f.pixels = {0, 1, 2, 3};
    std::string file = Builder(4, 1, {RGB(255, 255, 255), RGB(255, 255, 255)}).Add(f).Finish();
    HBITMAP bitmap = CreateBitmapFromGifOrBmpData(Bytes(file), int(file.size()));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 1, 0), 0xFFFFFFu);
    EXPECT_EQ(PixelOf(bitmap, 2, 0), 0u);
    EXPECT_EQ(PixelOf(bitmap, 3, 0), 0u);
    DeleteObject(bitmap);
}
