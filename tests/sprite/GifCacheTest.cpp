#include "tests/support/GifFixtures.h"

#include "platform/system/FileIo.h"
#include "platform/system/FileStamp.h"
#include "sprite/GifImage.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace gif_fixture;
namespace fs = std::filesystem;

namespace {

const std::vector<COLORREF> kPalette = {RGB(10, 20, 30), RGB(255, 0, 0), RGB(0, 255, 0),
                                        RGB(0, 0, 255)};

std::string TwoFrameGif(BYTE shade) {
    Frame first;
    first.width = 5;
    first.height = 3;
    first.pixels = Pixels(5, 3, [&](int x, int y) { return (x + y + shade) % 4; });
    first.transparent = 3;
    first.delay = 7;
    Frame second;
    second.left = 1;
    second.top = 2;
    second.width = 2;
    second.height = 2;
    second.pixels = {5, 6, 7, shade};
    second.localTable = {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4),
                         RGB(5, 5, 5), RGB(6, 6, 6), RGB(7, 7, 7), RGB(8, 8, 8)};
    return Builder(6, 5, kPalette, 2).Add(first).Add(second).Finish();
}

std::string Read(const fs::path& path) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path.string(), bytes, size_t(1) << 30));
    return bytes;
}

BOOL LoadCacheBytes(CGifImage& gif, const std::string& bytes) {
    return gif.LoadCache(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void Put32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = char(value >> (8 * i) & 0xFF);
}

class GifCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("gif-cache-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        gifPath = folder / "anim.gif";
        cachePath = folder / "anim.data";
        ASSERT_TRUE(WriteFileAtomically(gifPath.string(), TwoFrameGif(1)));
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder, gifPath, cachePath;
};

TEST_F(GifCacheTest, TheCacheIsWrittenOnceAndReadsBackIdentically) {
    CGifImage fromGif;
    EXPECT_FALSE(fromGif.Load(gifPath.string().c_str(), TRUE)); // no cache yet
    ASSERT_TRUE(fromGif.Load(gifPath.string().c_str(), FALSE));
    ASSERT_TRUE(fs::exists(cachePath));
    const std::string written = Read(cachePath);
    EXPECT_EQ(written, fromGif.SaveCache());

    CGifImage fromCache;
    ASSERT_TRUE(fromCache.Load(gifPath.string().c_str(), TRUE));
    EXPECT_TRUE(SameGifContent(fromGif, fromCache));
    EXPECT_EQ(fromCache.SaveCache(), written);
    ASSERT_EQ(fromCache.GetFrameCount(), 2);
    EXPECT_EQ(fromCache.GetFrame(0)->m_nTransparent, 3);
    EXPECT_EQ(fromCache.GetFrame(1)->ColorOf(6), RGB(7, 7, 7));
    EXPECT_EQ(fromCache.GetFrame(0)->ColorOf(1), RGB(255, 0, 0)); // the global table
    EXPECT_EQ(fromCache.GetBackground(), RGB(0, 255, 0));

    // Loading the same GIF again leaves the cache alone.
    const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(cachePath, stamp);
    ASSERT_TRUE(fromGif.Load(gifPath.string().c_str(), FALSE));
    EXPECT_EQ(fs::last_write_time(cachePath), stamp);

    // A changed GIF renews it.
    ASSERT_TRUE(WriteFileAtomically(gifPath.string(), TwoFrameGif(2)));
    ASSERT_TRUE(fromGif.Load(gifPath.string().c_str(), FALSE));
    EXPECT_NE(fs::last_write_time(cachePath), stamp);
    ASSERT_TRUE(fromCache.Load(gifPath.string().c_str(), TRUE));
    EXPECT_TRUE(SameGifContent(fromGif, fromCache));
}

TEST_F(GifCacheTest, ADamagedCacheIsRefusedAndRebuiltFromTheGif) {
    CGifImage gif;
    ASSERT_TRUE(gif.Load(gifPath.string().c_str(), FALSE));
    const std::string good = Read(cachePath);
    CGifImage probe;
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_FALSE(LoadCacheBytes(probe, good.substr(0, cut))) << cut;
    EXPECT_EQ(probe.GetFrameCount(), 0);

    const size_t entriesAt = 4 + 9, frameCountAt = 4 + 13 + 16, recordAt = frameCountAt + 4;
    std::vector<std::pair<size_t, uint32_t>> damage = {
        {0, 0xFFFFFFF0u},             // header length beyond the file
        {0, 5},                       // header shorter than its fields
        {entriesAt, 1000},            // more palette entries than exist
        {frameCountAt, 0x7FFFFFFF},   // frame count beyond the file
        {recordAt, 0x7FFFFFFF},       // record length beyond the file
        {recordAt + 21, 3},           // pixel bytes fewer than the rows need
        {recordAt + 25, 0xFFFFFFFFu}, // palette bytes beyond the record
    };
    for (const auto& [at, value] : damage) {
        std::string bad = good;
        Put32(bad, at, value);
        EXPECT_FALSE(LoadCacheBytes(probe, bad)) << at;
    }
    std::string badIndex = good;
    badIndex[recordAt + 18] = char(0x2C); // transparent index 300
    badIndex[recordAt + 19] = char(0x01);
    EXPECT_FALSE(LoadCacheBytes(probe, badIndex));

    // A cache written over by garbage is rebuilt by the next load of the GIF.
    ASSERT_TRUE(WriteFileAtomically(cachePath.string(), good.substr(0, good.size() / 2)));
    EXPECT_FALSE(probe.Load(gifPath.string().c_str(), TRUE));
    ASSERT_TRUE(gif.Load(gifPath.string().c_str(), FALSE));
    EXPECT_EQ(Read(cachePath), good);
    EXPECT_TRUE(probe.Load(gifPath.string().c_str(), TRUE));
}

// A picture is decoded once and kept; a change of the file shows all the same.
TEST_F(GifCacheTest, AKeptPictureIsDecodedAgainOnceItsFileChanges) {
    SetFileSettleTime(0);
    CGifImage first, again;
    ASSERT_TRUE(first.Load(gifPath.string().c_str(), FALSE));
    ASSERT_TRUE(again.Load(gifPath.string().c_str(), FALSE));
    EXPECT_TRUE(SameGifContent(first, again));
    EXPECT_EQ(again.GetFrame(1)->ColorOf(6), RGB(7, 7, 7));

    Frame other;
    other.width = 3;
    other.height = 1;
    other.pixels = {2, 2, 2};
    ASSERT_TRUE(WriteFileAtomically(gifPath.string(), Builder(6, 5, kPalette).Add(other).Finish()));
    CGifImage changed;
    ASSERT_TRUE(changed.Load(gifPath.string().c_str(), FALSE));
    ASSERT_EQ(changed.GetFrameCount(), 1);
    EXPECT_EQ(changed.GetFrame(0)->ColorOf(2), RGB(0, 255, 0));
    // The images loaded before keep what they showed.
    EXPECT_EQ(first.GetFrameCount(), 2);
    EXPECT_TRUE(SameGifContent(first, again));
    SetFileSettleTime(2'000'000'000);
}

TEST(GifCachePathTest, OnlyTheNamesOwnExtensionIsReplaced) {
    EXPECT_EQ(CGifImage::CachePath("theme_bmp\\Default\\clock.gif"),
              "theme_bmp\\Default\\clock.data");
    EXPECT_EQ(CGifImage::CachePath("theme.v2/clock"), "theme.v2/clock.data");
    EXPECT_EQ(CGifImage::CachePath("a.b.gif"), "a.b.data");
}

} // namespace
