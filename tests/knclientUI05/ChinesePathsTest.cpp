// The UI kit's own picture files (PNG written and read, .ico written, GIF
// or BMP read) in a folder named in Chinese: each file is found on disk
// under its UTF-8 name. The program's loaders and writers are checked the
// same way in the application's tests.

#include "knclientUI05/CodecBindings.h"
#include "knclientUI05/KnClientPublic.h"
#include "platform/images/Picture.h"
#include "tests/support/GifFixtures.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

std::string Utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

TEST(ChinesePaths, TheKitsPicturesKeepTheirUtf8Names) {
    TempFolder temp;
    // "運" is 0xDF 0x5C in GBK: its trail byte must not split the name.
    const fs::path folder = fs::path(temp.Path()) / Utf8(u8"图片表運");
    fs::create_directory(folder);
    const std::string gbkFolder = temp.Path() + "\\图片表運";

    void* bits = nullptr;
    HBITMAP picture = CreateDibSection(8, 6, 32, &bits);
    ASSERT_NE(picture, nullptr);
    const std::string png = gbkFolder + "\\图表.png", ico = gbkFolder + "\\图表.ico";
    EXPECT_TRUE(CallWriteBmpToPNGFile(picture, png.c_str()));
    EXPECT_TRUE(fs::is_regular_file(folder / Utf8(u8"图表.png")));
    HBITMAP loaded = nullptr;
    HPALETTE palette = nullptr;
    int width = 0, height = 0;
    EXPECT_TRUE(CallLoadPNGFile(png.c_str(), &loaded, &palette, &width, &height));
    EXPECT_EQ(width, 8);
    HICON icon = reinterpret_cast<HICON>(
        LoadImage(nullptr, PELLOR_ASSET_DIR "/pellor2.ico", IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(SaveIconToIcoFile(icon, ico.c_str()));
    EXPECT_TRUE(fs::is_regular_file(folder / Utf8(u8"图表.ico")));

    std::ofstream(folder / Utf8(u8"动画表.gif"), std::ios::binary)
        << gif_fixture::Builder(2, 1, {RGB(0, 0, 0), RGB(255, 0, 0)})
               .Add(gif_fixture::Picture(2, 1, {0, 1}))
               .Finish();
    const std::string gif = gbkFolder + "\\动画表.gif";
    EXPECT_NE(LoadGifOrBmpFileOrResource(nullptr, gif.c_str(), nullptr, 0), nullptr);
}

} // namespace
