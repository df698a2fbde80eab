// The image data: LZW streams as encoders write them and as no encoder
// does, broken and truncated pictures, sizes out of range, and extensions.

#include "GifDecoderKit.h"

#include <gtest/gtest.h>

using namespace gif_test;
using gif_fixture::BitWriter;
using gif_fixture::Builder;
using gif_fixture::Frame;
using gif_fixture::Picture;
using gif_fixture::Pixels;

namespace {

Frame Coded(int width, int height, std::vector<BYTE> code, int minCodeSize = 8) {
    Frame f;
    f.width = width;
    f.height = height;
    f.code = std::move(code);
    f.minCodeSize = minCodeSize;
    return f;
}

int FirstResult(const std::string& file) {
    CKNGif89 gif;
    if (gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE) != 0)
        return -1;
    return NextFrame(gif).result;
}

} // namespace

TEST(GifLzw, StreamsAsEncodersWriteThem) {
    // Runs give codes equal to the next free slot (KwKwK); noise fills the
    // table until the encoder clears it.
    std::vector<BYTE> runs(3000, 7),
        noise =
            Pixels(300, 200, [](int x, int y) { return (x * 7919 + y * 104729 + x * y) % 251; });
    for (const std::vector<BYTE>* pixels : {&runs, &noise}) {
        const int width = pixels == &runs ? 60 : 300;
        const int height = int(pixels->size()) / width;
        std::vector<DecodedFrame> frames = DecodeAll(
            Builder(width, height, Greys(256)).Add(Picture(width, height, *pixels)).Finish());
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].indices, *pixels);
    }
}

TEST(GifLzw, FullTableWithoutAClear) {
    // 5,000 literals: the table fills at 4,096 and stays full.
    std::vector<BYTE> pixels = Pixels(100, 50, [](int x, int y) { return (x + 3 * y) % 256; });
    std::vector<DecodedFrame> frames =
        DecodeAll(Builder(100, 50, Greys(256))
                      .Add(Coded(100, 50, gif_fixture::Literals(pixels, 8)))
                      .Finish());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].indices, pixels);
}

TEST(GifLzw, SmallestCodeSizeWithOneBitPictures) {
    std::vector<BYTE> pixels = Pixels(14, 11, [](int x, int y) { return (x ^ y) & 1; });
    Frame f = Picture(14, 11, pixels);
    f.minCodeSize = 2;
    std::vector<DecodedFrame> frames = DecodeAll(Builder(14, 11, Greys(2)).Add(f).Finish());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].indices, pixels);
}

TEST(GifLzw, CodeSizesOutsideTwoToNineFailTheFrame) {
    for (int size : {0, 1, 10, 11, 12}) {
        BitWriter bits;
        bits.Put(1 << size, size + 1);
        bits.Put(0, size + 1);
        bits.Put((1 << size) + 1, size + 1);
        EXPECT_EQ(
            FirstResult(Builder(1, 1, Greys(2)).Add(Coded(1, 1, bits.Finish(), size)).Finish()), 0)
            << size;
    }
    for (int size : {2, 9}) {
        Frame f = Picture(4, 1, {1, 0, 1, 1});
        f.minCodeSize = size;
        EXPECT_EQ(DecodeAll(Builder(4, 1, Greys(2)).Add(f).Finish()).at(0).indices, f.pixels);
    }
}

TEST(GifLzw, CodeAboveTheNextFreeSlotFailsTheFrame) {
    BitWriter bits;
    bits.Put(256, 9);
    bits.Put(1, 9);
    bits.Put(2, 9);   // adds 258
    bits.Put(300, 9); // the next free slot is 259
    bits.Put(257, 9);
    std::string file = Builder(4, 1, Greys(4))
                           .Add(Coded(4, 1, bits.Finish()))
                           .Add(Picture(4, 1, {3, 3, 3, 3}))
                           .Finish();
    EXPECT_EQ(FirstResult(file), 0);
    EXPECT_TRUE(DecodeAll(file).empty());
}

TEST(GifLzw, FirstCodeWithoutAClearAndCodesAfterAClear) {
    BitWriter bits;
    bits.Put(5, 9);   // no clear code first
    bits.Put(256, 9); // clear
    bits.Put(256, 9); // a second clear is skipped
    bits.Put(400, 9); // not in the fresh table: taken as 0
    bits.Put(6, 9);
    bits.Put(257, 9);
    std::vector<DecodedFrame> frames =
        DecodeAll(Builder(3, 1, Greys(8)).Add(Coded(3, 1, bits.Finish())).Finish());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].indices, (std::vector<BYTE>{5, 0, 6}));
}

TEST(GifLzw, ShortDataLeavesTheOtherRowsAtZero) {
    // The data ends after two rows of four: no end code, then the trailer.
    std::vector<BYTE> code = gif_fixture::Literals({1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 9}, 8);
    code.resize(9); // 8 codes of 9 bits, and no more
    CKNGif89 gif;
    std::string file = Builder(4, 3, Greys(16)).Add(Coded(4, 3, code)).Finish();
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    GifFrameRecord* r = gif.GetNextFrameRecord();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(FromRecord(*r).indices, (std::vector<BYTE>{1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 0}));
    GifFreeFrameRecord(r);
    EXPECT_EQ(NextFrame(gif).result, 2);
}

TEST(GifLzw, DataAfterTheEndCodeIsSkipped) {
    std::vector<BYTE> code = gif_fixture::Compress({1, 2}, 8);
    code.insert(code.end(), {0xAA, 0xBB, 0x2C, 0x21});
    Frame padded = Coded(2, 1, code);
    std::vector<DecodedFrame> frames =
        DecodeAll(Builder(2, 1, Greys(4)).Add(padded).Add(Picture(2, 1, {3, 0})).Finish());
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].indices, (std::vector<BYTE>{1, 2}));
    EXPECT_EQ(frames[1].indices, (std::vector<BYTE>{3, 0}));
}

TEST(GifBadInput, TruncatedAtEveryByteEndsWithoutLooping) {
    Frame interlaced = Picture(9, 7, Pixels(9, 7, [](int x, int y) { return x * y % 16; }));
    interlaced.interlaced = true;
    Frame local = Picture(5, 5, std::vector<BYTE>(25, 2));
    local.localTable = Greys(4);
    std::string file = Builder(10, 10, Greys(16))
                           .Extension(0xFF, {"NETSCAPE2.0", std::string("\x01\x00\x00", 3)})
                           .Add(interlaced)
                           .Extension(0xFE, {"a comment"})
                           .Add(local)
                           .Finish();
    ASSERT_EQ(DecodeAll(file).size(), 2u);
    for (size_t cut = 0; cut < file.size(); ++cut) {
        CKNGif89 gif;
        if (gif.LoadFromMemory(Bytes(file), DWORD(cut), TRUE) != 0) {
            EXPECT_LT(cut, 13u + 48u);
            continue;
        }
        int calls = 0, result = 1;
        while (result == 1 && calls < 10) {
            result = NextFrame(gif).result;
            ++calls;
        }
        EXPECT_LE(calls, 3) << "cut at " << cut;
        EXPECT_NE(result, 1);
        if (result == 2) {
            EXPECT_EQ(NextFrame(gif).result, 2) << "cut at " << cut;
        }
    }
}

TEST(GifBadInput, EmptyAndHugeFramesAreSkipped) {
    Frame empty = Picture(0, 5, {});
    empty.code = gif_fixture::Compress({}, 8);
    Frame huge = Coded(65535, 65535, gif_fixture::Compress({1, 1, 1}, 8));
    std::string file =
        Builder(4, 4, Greys(4)).Add(empty).Add(huge).Add(Picture(2, 1, {3, 1})).Finish();
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    FrameCall first = NextFrame(gif);
    EXPECT_EQ(first.result, 1);
    EXPECT_EQ(first.width, 0);
    EXPECT_FALSE(first.hasBitmap);
    EXPECT_EQ(NextFrame(gif).result, 0); // refused without allocating 4 GB
    FrameCall last = NextFrame(gif);
    EXPECT_EQ(last.result, 1);
    EXPECT_EQ(last.width, 2);
    EXPECT_EQ(NextFrame(gif).result, 2);
}

TEST(GifBadInput, FrameOutsideTheScreenIsReportedWhereItLies) {
    std::vector<DecodedFrame> frames =
        DecodeAll(Builder(4, 4, Greys(4)).Add(Picture(3, 2, {1, 2, 3, 3, 2, 1})).Finish());
    Frame far = Picture(3, 2, {1, 2, 3, 3, 2, 1});
    far.left = 60000;
    far.top = 3;
    frames = DecodeAll(Builder(4, 4, Greys(4)).Add(far).Finish());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].left, 60000);
    EXPECT_EQ(frames[0].indices, far.pixels);
}

TEST(GifExtensions, SkippedOrRefused) {
    Frame f = Picture(1, 1, {1});
    std::string skipped = Builder(1, 1, Greys(2))
                              .Extension(0xFE, {"one", "two"})
                              .Extension(0x01, {std::string(12, 'p'), "text"})
                              .Extension(0xFF, {"NETSCAPE2.0", "abc"})
                              .Add(f)
                              .Finish();
    EXPECT_EQ(DecodeAll(skipped).size(), 1u);
    EXPECT_EQ(FirstResult(Builder(1, 1, Greys(2)).Extension(0x99, {"x"}).Add(f).Finish()), 0);
    std::string badControl = Builder(1, 1, Greys(2)).Add(f).Finish();
    const size_t control = badControl.find("\x21\xF9\x04");
    ASSERT_NE(control, std::string::npos);
    badControl[control + 2] = 5;
    EXPECT_EQ(FirstResult(badControl), 0);
}

TEST(GifBadInput, AnythingButAnExtensionOrImageEndsThePicture) {
    std::string file = Builder(1, 1, Greys(2)).Add(Picture(1, 1, {1})).Finish();
    file.back() = 0x00; // no trailer, a stray byte instead
    file += std::string("\x2C\x00", 2);
    CKNGif89 gif;
    ASSERT_EQ(gif.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0);
    EXPECT_EQ(NextFrame(gif).result, 1);
    EXPECT_EQ(NextFrame(gif).result, 2);
}

TEST(GifLzw, LongestStringTheTableCanHold) {
    // One colour with no clear code: every code after the first is the next
    // free slot, so the strings grow to 4,091 bytes (minimum code size 2)
    // and each is unwound through the whole chain of its prefixes.
    BitWriter bits;
    int width = 3, next = 6;
    bits.Put(4, width);
    bits.Put(1, width);
    for (int code = 6; code < 4096; ++code) {
        bits.Put(code, width);
        if (++next == 1 << width && width < 12)
            ++width;
    }
    bits.Put(5, width);
    const int pixels = 4091 * 4092 / 2;
    Frame f = Coded(4091, 2046, bits.Finish(), 2);
    ASSERT_EQ(4091LL * 2046, pixels);
    std::vector<DecodedFrame> frames = DecodeAll(Builder(4091, 2046, Greys(4)).Add(f).Finish());
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(std::count(frames[0].indices.begin(), frames[0].indices.end(), 1), pixels);
}
