// The program in a folder named in Chinese: it starts from there, and every
// loader and writer it has reads and writes files whose names reach the disk
// in UTF-8, so that a person finds each file under the name the program gave.

#include "tests/app/StartupFixture.h"

#include "app/Snapshot.h"
#include "knclientUI05/JpegBinding.h"
#include "knclientUI05/KnClientPublic.h"
#include "platform/images/Picture.h"
#include "platform/sound/Mmio.h"
#include "platform/sound/Sound.h"
#include "platform/system/FindFile.h"
#include "platform/system/Path.h"
#include "platform/system/Profile.h"
#include "sprite/GifImage.h"
#include "tests/support/GifFixtures.h"
#include "tests/support/WaveBytes.h"

#include <fstream>

namespace app_test {
namespace {

namespace fs = std::filesystem;

// A UTF-8 literal as plain bytes (plain literals are compiled to GBK).
std::string Utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

TEST_F(StartupTest, AChineseFolderHoldsEveryFileUnderItsUtf8Name) {
    // "運" is 0xDF 0x5C in GBK: its trail byte is a backslash that must not
    // split the name.
    const std::string gbkFolder = program.Path() + "\\牌桌表運";
    const fs::path folder = fs::path(program.Path()) / Utf8(u8"牌桌表運");
    fs::create_directory(folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(program.Path())) {
        const fs::path name = entry.path().filename();
        if (name == "pellor2.ini")
            fs::copy_file(entry.path(), folder / name);
        else if (entry.is_symlink())
            fs::create_symlink(fs::read_symlink(entry.path()), folder / name);
    }
    SetExeFolderOverride((gbkFolder + "\\").c_str());
    SetLogFileOverride((gbkFolder + "\\日志表.log").c_str());

    // The program starts from there: settings, resources, theme and skin.
    StartHost();
    Launch("1");
    ASSERT_TRUE(theApp.InitInstance());
    platform_test::Settle();

    // The screenshot, into folders it makes, and the path it reports.
    SetSnapshotClock([] { return SnapshotTime{2026, 12, 7, 14, 3, 9, 45}; });
    CString notice;
    ASSERT_TRUE(theApp.SaveSnapshot((gbkFolder + "\\截图運\\表").c_str(), notice));
    SetSnapshotClock(nullptr);
    EXPECT_TRUE(fs::is_regular_file(folder / Utf8(u8"截图運") / Utf8(u8"表") /
                                    Utf8(u8"2026年12月07日14时03分09秒045.jpg")));
    const CString reported = notice.Mid(int(strlen("截图已存储到")));
    EXPECT_TRUE(fs::is_regular_file(NativePath(reported))) << NativePath(reported);

    // The log.
    WriteLog("表");
    EXPECT_TRUE(fs::is_regular_file(folder / Utf8(u8"日志表.log")));

    // An ini file.
    const std::string ini = gbkFolder + "\\设置表.ini";
    ASSERT_TRUE(WritePrivateProfileString("Setting", "PhotoPath", "表", ini.c_str()));
    EXPECT_TRUE(fs::is_regular_file(folder / Utf8(u8"设置表.ini")));
    char value[16] = {};
    GetPrivateProfileString("Setting", "PhotoPath", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "表");

    // BMP (a DIB file) and JPEG written, then each read back; an icon file
    // put there by hand, read.
    void* bits = nullptr;
    HBITMAP picture = CreateDibSection(8, 6, 32, &bits);
    ASSERT_NE(picture, nullptr);
    HGLOBAL dib = CreateDibFromBitmap(picture, BI_RGB, nullptr);
    const std::string bmp = gbkFolder + "\\图表.bmp", jpg = gbkFolder + "\\图表.jpg";
    EXPECT_TRUE(SaveDibToFile(bmp.c_str(), dib));
    EXPECT_TRUE(CallWriteDibToJpeg(dib, jpg.c_str(), 90));
    FreeDib(dib);
    EXPECT_TRUE(fs::is_regular_file(folder / Utf8(u8"图表.bmp")));
    EXPECT_TRUE(fs::is_regular_file(folder / Utf8(u8"图表.jpg")));
    EXPECT_NE(LoadImage(nullptr, bmp.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_NE(LoadBmpFileOrResource(nullptr, bmp.c_str(), nullptr, 0), nullptr);
    HBITMAP loaded = nullptr;
    HPALETTE palette = nullptr;
    int width = 0, height = 0;
    EXPECT_TRUE(CallLoadJpgFile(jpg.c_str(), &loaded, &palette, &width, &height));
    EXPECT_EQ(width, 8);
    fs::copy_file(fs::path(PELLOR_ASSET_DIR) / "pellor2.ico", folder / Utf8(u8"图标表.ico"));
    const std::string ico = gbkFolder + "\\图标表.ico";
    EXPECT_NE(LoadImage(nullptr, ico.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);

    // GIF and WAV files put there by hand, read by the program; the GIF's
    // decoded cache is written beside it.
    const std::vector<COLORREF> colours{RGB(0, 0, 0), RGB(255, 0, 0)};
    std::ofstream(folder / Utf8(u8"动画表.gif"), std::ios::binary)
        << gif_fixture::Builder(2, 1, colours).Add(gif_fixture::Picture(2, 1, {0, 1})).Finish();
    std::ofstream(folder / Utf8(u8"声音表.wav"), std::ios::binary)
        << wave_bytes::SilentWave(8000, 20);
    const std::string gif = gbkFolder + "\\动画表.gif", wav = gbkFolder + "\\声音表.wav";
    CGifImage animation;
    EXPECT_TRUE(animation.Load(gif.c_str(), FALSE));
    EXPECT_TRUE(fs::is_regular_file(folder / Utf8(u8"动画表.data")));
    EXPECT_TRUE(PlaySound(wav.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
    PlaySound(nullptr, nullptr, 0);
    HMMIO wave = mmioOpen(const_cast<LPSTR>(wav.c_str()), nullptr, MMIO_READ);
    EXPECT_NE(wave, nullptr);
    if (wave)
        mmioClose(wave, 0);

    // The folder's listing gives the names back as the program wrote them.
    WIN32_FIND_DATA found{};
    HANDLE search = FindFirstFile((gbkFolder + "\\图*.bmp").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(found.cFileName, "图表.bmp");
    FindClose(search);
}

} // namespace
} // namespace app_test
