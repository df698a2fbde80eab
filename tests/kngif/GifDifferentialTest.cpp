// Our GIF decoder against the GIF library (giflib behind "KNGIFTGA.dll"),
// frame by frame and pixel by pixel: over the GIF files Debian packages
// ship, the animated GIFs the asset generator draws for the theme, and
// pictures built here with every feature the format has.

#include "GifDecoderKit.h"

#include "knclientUI05/CodecBindings.h"
#include "outside/KNGifTga.h"
#include "platform/system/FileIo.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gif_test;
using gif_fixture::Builder;
using gif_fixture::Frame;
using gif_fixture::Pixels;

namespace {

// Compares every frame of the picture as both decoders read it.
void ExpectSameFrames(const std::string& file, const std::string& name) {
    CKNGif89 ours;
    ASSERT_EQ(ours.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0) << name;
    CKNGifTga theirs;
    ASSERT_EQ(theirs.LoadFromMemory(Bytes(file), DWORD(file.size()), TRUE), 0) << name;
    std::vector<BYTE> global(size_t(ours.GetGlobalPaletteInfo(nullptr)) * 3);
    ASSERT_EQ(ours.CopyGlobalPalette(global.data(), int(global.size())), 1);
    int frames = 0;
    for (;; ++frames) {
        GifFrameRecord* record = ours.GetNextFrameRecord();
        const GifTgaRawFrame* raw = theirs.GetNextRawFrameData();
        ASSERT_EQ(record != nullptr, raw != nullptr) << name << " frame " << frames;
        if (!record)
            break;
        const DecodedFrame f = FromRecord(*record);
        SCOPED_TRACE(name + " frame " + std::to_string(frames));
        EXPECT_EQ(f.left, raw->left);
        EXPECT_EQ(f.top, raw->top);
        EXPECT_EQ(f.width, raw->width);
        EXPECT_EQ(f.height, raw->height);
        EXPECT_EQ(f.delay, raw->delay ? raw->delay * 10 : 50);
        EXPECT_EQ(f.disposal, raw->disposal);
        EXPECT_EQ(f.transparent, raw->transparentIndex >= 0);
        if (f.transparent) {
            EXPECT_EQ(f.transparentIndex, raw->transparentIndex);
        }
        std::vector<BYTE> palette = global;
        if (record->palette) {
            PALETTEENTRY entries[256];
            const UINT n = GetPaletteEntries(record->palette, 0, 256, entries);
            palette.clear();
            for (UINT i = 0; i < n; ++i)
                palette.insert(palette.end(),
                               {entries[i].peRed, entries[i].peGreen, entries[i].peBlue});
        }
        EXPECT_EQ(palette, std::vector<BYTE>(raw->palette, raw->palette + raw->paletteEntries * 3));
        EXPECT_EQ(f.indices, std::vector<BYTE>(raw->pixels, raw->pixels + f.indices.size()));
        GifFreeFrameRecord(record);
    }
    EXPECT_GT(frames, 0) << name;
}

std::vector<std::string> GifFilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (entry.path().extension() == ".gif")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

void CompareFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(path, bytes, size_t(1) << 30)) << path;
        ExpectSameFrames(bytes, path);
    }
}

} // namespace

TEST(GifDifferential, FilesOfDebianPackages) {
    // libtk8.6: GIF87a, 8-bit palettes, transparency with delays, interlace;
    // idle-python3.11: odd widths, small palettes, disposal 1;
    // libpython3.11-testsuite: two more.
    std::vector<std::string> paths;
    for (const char* folder :
         {"/usr/share/tcltk/tk8.6/images", "/usr/lib/python3.11/idlelib/Icons",
          "/usr/lib/python3.11/test/imghdrdata", "/usr/lib/python3.11/test/test_email/data"})
        for (const std::string& path : GifFilesUnder(folder))
            paths.push_back(path);
    if (paths.empty())
        GTEST_SKIP() << "none of libtk8.6, idle-python3.11, libpython3.11-testsuite is "
                        "installed (scripts/install-deps.sh installs them)";
    CompareFiles(paths);
    RecordProperty("files", int(paths.size()));
}

TEST(GifDifferential, TheThemesAnimations) {
    const std::vector<std::string> paths = GifFilesUnder(PELLOR_ASSET_DIR);
    ASSERT_FALSE(paths.empty()) << "the asset generator wrote no GIF under " << PELLOR_ASSET_DIR;
    CompareFiles(paths);
}

TEST(GifDifferential, EveryFeatureOfTheFormat) {
    Builder builder(64, 48, Greys(256), 3);
    builder.Extension(0xFF, {"NETSCAPE2.0", std::string("\x01\x00\x00", 3)});
    for (int i = 0; i < 12; ++i) {
        Frame f;
        f.width = 10 + i * 4;
        f.height = 5 + i * 3;
        f.left = i;
        f.top = 48 - f.height;
        f.disposal = i % 8;
        f.delay = i * 3;
        f.interlaced = i % 3 == 1;
        f.transparent = i % 2 ? i * 7 % 16 : -1;
        if (i % 4 == 2)
            f.localTable = Greys(16);
        f.minCodeSize = f.localTable.empty() ? 8 : 4;
        const int colours = f.localTable.empty() ? 256 : 16;
        f.pixels = Pixels(f.width, f.height, [&](int x, int y) {
            return (x * (i + 1) + y * y + (x / 3) * 5) % colours;
        });
        if (i == 7)
            f.code = gif_fixture::Literals(f.pixels, 8); // the table fills without a clear
        builder.Add(f);
        if (i == 5)
            builder.Extension(0xFE, {"between frames"});
    }
    ExpectSameFrames(builder.Finish(), "built");
    std::string gif87 = Builder(7, 3, Greys(4))
                            .Add([] {
                                Frame f;
                                f.width = 7;
                                f.height = 3;
                                f.control = false;
                                f.minCodeSize = 2;
                                f.pixels = Pixels(7, 3, [](int x, int y) { return (x + y) % 4; });
                                return f;
                            }())
                            .Finish();
    gif87.replace(0, 6, "GIF87a");
    ExpectSameFrames(gif87, "GIF87a");
}
