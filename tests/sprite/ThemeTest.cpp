#include "sprite/Theme.h"
#include "platform/gdi/WindowDc.h"
#include "tests/sprite/MusicPlayerKit.h"
#include "tests/sprite/ThemeFixture.h"

namespace {

using sprite_test::ProgramFolderTest;

constexpr uint32_t kMagenta = 0x00FF00FFu;

class ThemeTest : public ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        platform::SetScreenSize(1280, 1024);
        Write("Test.ini", "[Theme]\nTheme=skin\\Table\n");
        CreateDirectory((folder + "skin").c_str(), nullptr);
    }
    void TearDown() override {
        theme.Close();
        ProgramFolderTest::TearDown();
    }
    void WriteTheme(const std::string& images) { Write("skin/Table.thm", "[Image]\n" + images); }

    kn::CTheme theme;
};

TEST_F(ThemeTest, SizeClassFollowsTheScreen) {
    EXPECT_EQ(kn::CTheme::SizeClassFor(1024, 600), kn::kSmallScreenClass);
    EXPECT_EQ(kn::CTheme::SizeClassFor(1000, 800), kn::kLargeScreenClass);
    EXPECT_EQ(kn::CTheme::SizeClassFor(800, 1024), kn::kSmallScreenClass);
    EXPECT_EQ(kn::CTheme::SizeClassFor(1000, 700), kn::kSmallScreenClass);
    EXPECT_EQ(kn::CTheme::SizeClassFor(1024, 768), kn::kLargeScreenClass);
}

TEST_F(ThemeTest, OpenSetsFoldersAndSizeClass) {
    WriteTheme("");
    EXPECT_EQ(theme.GetSizeClass(), 0);
    ASSERT_TRUE(theme.Open("Test")); // an [Image] section without keys passes
    EXPECT_EQ(theme.GetSizeClass(), kn::kLargeScreenClass);
    EXPECT_EQ(std::string(theme.GetThemeFile()), folder + "skin\\Table.thm");
    EXPECT_EQ(std::string(theme.GetImageDir()), folder + "Theme\\");
    EXPECT_EQ(std::string(theme.GetSoundDir()), folder + "sound\\");
    EXPECT_EQ(std::string(theme.GetProductCode()), "Test");
}

TEST_F(ThemeTest, OpenFailsWithoutThemeNameAndLogsNothing) {
    Write("Bare.ini", "[Theme]\nTheme=\n");
    EXPECT_FALSE(theme.Open("Bare"));
    EXPECT_FALSE(theme.Open("NoSuchSettings"));
    EXPECT_EQ(Log(), "");
}

TEST_F(ThemeTest, OpenFailsAndLogsTheFirstMissingPicture) {
    WritePicture("Theme/there.bmp", 4, 4, [](int, int) { return 0x00112233u; });
    WriteTheme("Here=there.bmp\nGone=missing.bmp\n");
    EXPECT_FALSE(theme.Open("Test"));
    const std::string expected = "ID: Gone File: " + folder + "Theme\\missing.bmp Load Failed!";
    EXPECT_NE(Log().find(expected), std::string::npos) << Log();
}

TEST_F(ThemeTest, OpenChecksLongFileNamesWhole) {
    // A name longer than 63 characters is checked as GetImage will read it.
    const std::string longName(70, 'a');
    DeleteFile((folder + "Theme/" + longName).c_str()); // left by an earlier run
    WritePicture("Theme/" + longName.substr(0, 63), 2, 2, [](int, int) { return 0u; });
    WriteTheme("Long=" + longName + "\n");
    EXPECT_FALSE(theme.Open("Test"));
    WritePicture("Theme/" + longName, 2, 2, [](int, int) { return 0u; });
    EXPECT_TRUE(theme.Open("Test"));
}

TEST_F(ThemeTest, SamePictureTwiceAndNullForUnknownIds) {
    WritePicture("Theme/a.bmp", 8, 6, [](int, int) { return 0x00FF0000u; });
    WriteTheme("A=a.bmp\nAlso=a.bmp\n");
    ASSERT_TRUE(theme.Open("Test"));
    CPicture* first = theme.GetImage("A", FALSE);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetWidth(), 8);
    EXPECT_EQ(theme.GetImage("A", FALSE), first);
    // Two ids naming one file are two pictures.
    CPicture* also = theme.GetImage("Also", FALSE);
    ASSERT_NE(also, nullptr);
    EXPECT_NE(also, first);
    EXPECT_EQ(theme.GetImage("Unknown", FALSE), nullptr);
}

TEST_F(ThemeTest, SizedIdsTakeThePrefixOfTheSizeClass) {
    WritePicture("Theme/small.bmp", 3, 3, [](int, int) { return 0u; });
    WritePicture("Theme/large.bmp", 5, 5, [](int, int) { return 0u; });
    WriteTheme("MBack=small.bmp\nNBack=large.bmp\n");
    ASSERT_TRUE(theme.Open("Test"));
    ASSERT_NE(theme.GetImage("Back", TRUE), nullptr);
    EXPECT_EQ(theme.GetImage("Back", TRUE)->GetWidth(), 5);
    EXPECT_EQ(theme.GetImage("Back", FALSE), nullptr);

    platform::SetScreenSize(1024, 600);
    ASSERT_TRUE(theme.Open("Test"));
    EXPECT_EQ(theme.GetSizeClass(), kn::kSmallScreenClass);
    ASSERT_NE(theme.GetImage("Back", TRUE), nullptr);
    EXPECT_EQ(theme.GetImage("Back", TRUE)->GetWidth(), 3);
}

TEST_F(ThemeTest, PictureThatDoesNotDecodeIsRetried) {
    Write("Theme/broken.bmp", "BM this is no picture");
    WriteTheme("Broken=broken.bmp\n");
    ASSERT_TRUE(theme.Open("Test")); // it exists, so the check passes
    EXPECT_EQ(theme.GetImage("Broken", FALSE), nullptr);
    WritePicture("Theme/broken.bmp", 4, 2, [](int, int) { return 0x00FFFFFFu; });
    ASSERT_NE(theme.GetImage("Broken", FALSE), nullptr);
    EXPECT_EQ(theme.GetImage("Broken", FALSE)->GetWidth(), 4);
}

TEST_F(ThemeTest, RegionFollowsTheMagentaKey) {
    // A 20 x 10 picture: a magenta left half and a magenta hole at (15, 5).
    auto pixel = [](int x, int y) {
        return x < 10 || (x == 15 && y == 5) ? kMagenta : 0x00336699u;
    };
    WritePicture("Theme/shape.bmp", 20, 10, pixel);
    WriteTheme("Shape=shape.bmp\n");
    ASSERT_TRUE(theme.Open("Test"));
    HRGN region = theme.GetRegion("Shape", RGB(255, 0, 255));
    ASSERT_NE(region, nullptr);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(PtInRegion(region, x, y) != FALSE, pixel(x, y) != kMagenta) << x << "," << y;

    // Each caller owns its copy; deleting it leaves the cached shape intact.
    HRGN again = theme.GetRegion("Shape", RGB(255, 0, 255));
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, region);
    DeleteObject(region);
    HRGN third = theme.GetRegion("Shape", RGB(255, 0, 255));
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(EqualRgn(again, third));
    DeleteObject(again);
    DeleteObject(third);

    EXPECT_EQ(theme.GetRegion(nullptr, RGB(255, 0, 255)), nullptr);
    EXPECT_EQ(theme.GetRegion("Unknown", RGB(255, 0, 255)), nullptr);
}

TEST_F(ThemeTest, RegionsOfOtherKeysAreOtherShapes) {
    WritePicture("Theme/two.bmp", 4, 1, [](int x, int) { return x < 2 ? kMagenta : 0x000A141Eu; });
    WriteTheme("Two=two.bmp\n");
    ASSERT_TRUE(theme.Open("Test"));
    HRGN byMagenta = theme.GetRegion("Two", RGB(255, 0, 255));
    HRGN byOther = theme.GetRegion("Two", RGB(10, 20, 30));
    ASSERT_NE(byMagenta, nullptr);
    ASSERT_NE(byOther, nullptr);
    EXPECT_TRUE(PtInRegion(byMagenta, 3, 0));
    EXPECT_FALSE(PtInRegion(byOther, 3, 0));
    EXPECT_TRUE(PtInRegion(byOther, 0, 0));
    DeleteObject(byMagenta);
    DeleteObject(byOther);
}

TEST_F(ThemeTest, MusicIsForwardedToThePlayerWithItsCommand) {
    sprite_test::RecordingMusicPlayer player;
    ASSERT_TRUE(player.Open());
    theme.PlayMusic("bgm.wav", 1, 0);
    theme.PlayMusic("win.wav", 0, 1);
    ASSERT_EQ(player.received.size(), 2u);
    EXPECT_EQ(player.received[0].data, (17u << 16) | 1u);
    EXPECT_EQ(player.received[0].text, std::string("bgm.wav", 8));
    EXPECT_EQ(player.received[1].data, 1u); // command 0 with a text
    EXPECT_EQ(player.received[1].text, std::string("win.wav", 8));
    player.DestroyWindow();
}

TEST_F(ThemeTest, GlobalSoundFolderIsTheThemes) {
    WriteTheme("");
    ASSERT_TRUE(kn::theTheme.Open("Test"));
    EXPECT_EQ(std::string(GetSoundDir()), folder + "sound\\");
    kn::theTheme.Close();
}

} // namespace
