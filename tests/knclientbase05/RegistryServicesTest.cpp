#include "knclientbase05/AppProfile.h"
#include "knclientbase05/GameRegistry.h"
#include "knclientbase05/LangResource.h"
#include "knclientbase05/PathMacros.h"

#include "SettingsFixture.h"

#include <cstring>

namespace {

class RegistryServicesTest : public SettingsFixture {};

TEST_F(RegistryServicesTest, ReadsStringsWithADefault) {
    SetUserText("Software\\Quillane\\Game\\Share", "Path", "/opt/share");
    EXPECT_EQ(RegGetString("Software\\Quillane\\Game\\share", "path", "none").str(), "/opt/share");
    EXPECT_EQ(RegGetString("Software\\Quillane\\Game\\Missing", "Path", "none").str(), "none");
    EXPECT_EQ(RegGetString("Software\\Quillane\\Game\\Share", "Other", nullptr).str(), "");
    EXPECT_EQ(GetShareFolder().str(), "/opt/share");
}

TEST_F(RegistryServicesTest, WritesAndReadsAGameValue) {
    ASSERT_TRUE(SetGameRegValue("Pellor", "path", "/games/pellor"));
    char buffer[64];
    DWORD type = 0;
    ASSERT_TRUE(GetGameRegValue("pellor", "Path", buffer, sizeof buffer, &type));
    EXPECT_STREQ(buffer, "/games/pellor");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(GetGameRegValue("Other", "path", buffer, sizeof buffer, &type));
    EXPECT_STREQ(buffer, "");
}

TEST_F(RegistryServicesTest, ReadValueFallsBackToTheDefaultWithoutOverrunningTheBuffer) {
    DWORD dword = 7;
    ASSERT_TRUE(RegWriteValue("Game\\Share", "KeepAlive", REG_DWORD, &dword, sizeof dword));
    DWORD read = 0;
    EXPECT_EQ(RegReadValue("Game\\Share", "KeepAlive", &read, sizeof read, 30), 1);
    EXPECT_EQ(read, 7u);
    EXPECT_EQ(RegReadValue("Game\\Share", "Missing", &read, sizeof read, 30), 0);
    EXPECT_EQ(read, 30u);
    EXPECT_EQ(RegReadValue2("Game\\Nowhere", "Missing", &read, sizeof read, 31), 0);
    EXPECT_EQ(read, 31u);
    // A buffer larger than the default is zeroed past it, not read past it.
    BYTE wide[8];
    memset(wide, 0xEE, sizeof wide);
    EXPECT_EQ(RegReadValue("Game\\Nowhere", "Missing", wide, sizeof wide, 0x01020304), 0);
    const BYTE expected[8] = {4, 3, 2, 1, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(wide, expected, 8), 0);
    // A value too large for the buffer counts as unread.
    const char text[] = "a long text value";
    ASSERT_TRUE(RegWriteValue("Game\\Share", "Text", REG_SZ, text, sizeof text));
    EXPECT_EQ(RegReadValue("Game\\Share", "Text", &read, sizeof read, 9), 0);
    EXPECT_EQ(read, 9u);
}

TEST_F(RegistryServicesTest, ReadValueVCopiesTheDefaultBlockOnEveryFailure) {
    const BYTE fallback[6] = {1, 2, 3, 4, 5, 6};
    BYTE buffer[6] = {};
    EXPECT_EQ(RegReadValueV("Game\\Nowhere", "Block", buffer, sizeof buffer, fallback), 0);
    EXPECT_EQ(memcmp(buffer, fallback, 6), 0);
    DWORD unused = 1;
    ASSERT_TRUE(RegWriteValue("Game\\Share", "Unrelated", REG_DWORD, &unused, 4));
    memset(buffer, 0, sizeof buffer);
    EXPECT_EQ(RegReadValueV("Game\\Share", "Block", buffer, sizeof buffer, fallback), 0);
    EXPECT_EQ(memcmp(buffer, fallback, 6), 0);
    const BYTE stored[6] = {9, 9, 9, 9, 9, 9};
    ASSERT_TRUE(RegWriteValue("Game\\Share", "Block", REG_BINARY, stored, 6));
    EXPECT_EQ(RegReadValueV("Game\\Share", "Block", buffer, sizeof buffer, fallback), 1);
    EXPECT_EQ(memcmp(buffer, stored, 6), 0);
}

TEST_F(RegistryServicesTest, ReadsColoursInEachForm) {
    files_.Write("skin.ini", "[Colors]\nred=255,0,0\nhex=0xFF8000\none=7\ntwo=17\npair=1,2\n");
    std::string ini = files_.File("skin.ini");
    EXPECT_EQ(ReadIniColor("Colors", "red", 0, ini.c_str()), RGB(255, 0, 0));
    EXPECT_EQ(ReadIniColor("Colors", "hex", 0, ini.c_str()), RGB(255, 128, 0));
    EXPECT_EQ(ReadIniColor("Colors", "one", 0, ini.c_str()), 7u);
    // Two digits are read as 0xRRGGBB: 17 is blue 17.
    EXPECT_EQ(ReadIniColor("Colors", "two", 0, ini.c_str()), RGB(0, 0, 17));
    EXPECT_EQ(ReadIniColor("Colors", "pair", 0, ini.c_str()), RGB(1, 2, 0));
    EXPECT_EQ(ReadIniColor("Colors", "absent", RGB(1, 2, 3), ini.c_str()), RGB(1, 2, 3));
}

TEST_F(RegistryServicesTest, ReadsPointsLeavingWhatIsNotGiven) {
    files_.Write("layout.ini", "[Pos]\nxonly=120\nboth=-5,40\n");
    std::string ini = files_.File("layout.ini");
    int x = 1, y = 2;
    ReadIniPoint("Pos", "xonly", &x, &y, ini.c_str());
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 2);
    ReadIniPoint("Pos", "both", &x, &y, ini.c_str());
    EXPECT_EQ(x, -5);
    EXPECT_EQ(y, 40);
    ReadIniPoint("Pos", "absent", &x, &y, ini.c_str());
    EXPECT_EQ(x, -5);
}

TEST_F(RegistryServicesTest, ReadsTheLanguageFileOfTheSharedFolder) {
    UseSharedFolder();
    files_.Write("LangRsc.ini", "[String]\n12=\"网络连接关闭!\"\n[URL]\nHome=http://home.example/\n"
                                "[P80Port]\n3=8080\n");
    EXPECT_EQ(GetLangString(12).str(), "网络连接关闭!");
    EXPECT_EQ(GetLangString(13).str(), "");
    EXPECT_EQ(GetLangUrl("Home").str(), "http://home.example/");
    EXPECT_STREQ(GetAppProfileName(), "knclientbase05_tests"); // restored after the read
    // The test program lies in no Share tree: the registry's folder is used.
    EXPECT_EQ(GetShareP80Port(3), 8080u);
    EXPECT_EQ(GetShareP80Port(4), 0u);
}

TEST_F(RegistryServicesTest, FindsTheLanguageFileBesideTheProgramsShareFolder) {
    EXPECT_EQ(ShareLangFileBeside("C:\\Games\\Share\\Bin").str(), "c:\\games\\Share\\LangRsc.ini");
    EXPECT_EQ(ShareLangFileBeside("C:\\A\\share\\B\\SHARE\\c").str(),
              "c:\\a\\share\\b\\Share\\LangRsc.ini");
    EXPECT_EQ(ShareLangFileBeside("C:\\Games\\Pellor").str(), "c:\\games\\Share\\LangRsc.ini");
    EXPECT_EQ(ShareLangFileBeside("nofolder").str(), "");
}

TEST_F(RegistryServicesTest, GameFilePathsComeFromTheRegistryOrTheProgram) {
    SetUserText("Software\\Quillane\\Game\\Share", "path", "/opt/share");
    char path[MAX_PATH];
    ASSERT_EQ(GetGameFilePath("Tavorin", "people.dll", path, sizeof path), 1);
    EXPECT_STREQ(path, "/opt/share\\people.dll");
    ASSERT_EQ(GetGameFilePath("", "", path, sizeof path), 1);
    EXPECT_EQ(std::string(path), GetProgramFolder().str());
    EXPECT_EQ(GetGameFilePath("Unknown", "x", path, sizeof path), 0);
    EXPECT_STREQ(path, "");
    // An output too small fails instead of overrunning.
    char small[12] = "kept";
    EXPECT_EQ(GetGameFilePath("tavorin", "people.dll", small, sizeof small), 0);
    EXPECT_STREQ(small, "kept");
}

class PathMacroTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        UseSharedFolder();
        SetAppProfileName("Pellor");
        SetUserText("Software\\Quillane\\Game\\Pellor", "Path", "/games/pellor");
        files_.Write("LangRsc.ini", "[WorldPath]\nLRCmaps=/maps\n");
    }
    void TearDown() override {
        SetAppProfileName("knclientbase05_tests");
        SettingsFixture::TearDown();
    }
    std::string Expand(const char* text, int* result, size_t capacity = 260) {
        char buffer[260];
        strcpy(buffer, text);
        *result = ExpandPathMacro(buffer, capacity);
        return buffer;
    }
};

TEST_F(PathMacroTest, ExpandsEachMacroInAnyCase) {
    int result = 0;
    EXPECT_EQ(Expand("%GAME%\\a;%game%\\b", &result), "/games/pellor\\a;/games/pellor\\b");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Expand("%room%\\x", &result), files_.Path() + "\\x");
    EXPECT_EQ(Expand("%Advert%\\y", &result), files_.Path() + "\\Advert\\y");
    EXPECT_EQ(Expand("%LRCmaps%\\z", &result), "/maps\\z");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Expand("plain", &result), "plain");
    EXPECT_EQ(result, 0);
}

TEST_F(PathMacroTest, HandlesOnlyTheFirstMacroPresent) {
    int result = 1;
    // The system folders do not exist here: nothing is replaced.
    EXPECT_EQ(Expand("%system%\\%game%", &result), "%system%\\%game%");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Expand("%advert%;%game%", &result), "%advert%;/games/pellor");
    EXPECT_EQ(result, 1);
}

TEST_F(PathMacroTest, TakesTheLanguageKeyWhereTheMacroStands) {
    int result = 0;
    EXPECT_EQ(Expand("d:\\%LRCmaps%\\z", &result), "d:\\/maps\\z");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Expand("%LRCmaps", &result), "%LRCmaps");
    EXPECT_EQ(result, 0);
}

TEST_F(PathMacroTest, RefusesAnExpansionThatDoesNotFit) {
    int result = 1;
    EXPECT_EQ(Expand("%game%", &result, 10), "%game%");
    EXPECT_EQ(result, 0);
}

// A shared-file frame: 8-byte header, text at 8, index at 48, value at 52.
std::vector<BYTE> AdvertFrame(DWORD type, DWORD index, const char* text, DWORD payload) {
    std::vector<BYTE> frame(8 + payload, 0);
    memcpy(frame.data(), &type, 4);
    memcpy(frame.data() + 4, &payload, 4);
    if (frame.size() >= 52)
        memcpy(frame.data() + 48, &index, 4);
    if (frame.size() >= 56) {
        DWORD value = 0x1234;
        memcpy(frame.data() + 52, &value, 4);
    }
    memcpy(frame.data() + 8, text, std::min<size_t>(strlen(text), frame.size() - 8));
    return frame;
}

TEST_F(RegistryServicesTest, ReadsTheAdvertOfSharedFileFrames) {
    auto frame = AdvertFrame(0x207, 0, "advert.gif", 48);
    DWORD out = 7;
    EXPECT_EQ(GetShareFileAdvert(frame.data(), frame.size(), &out).str(), "advert.gif");
    EXPECT_EQ(out, 0x1234u);
    frame = AdvertFrame(0x40000206, 0, "b.gif", 44);
    EXPECT_EQ(GetShareFileAdvert(frame.data(), frame.size(), &out).str(), "b.gif");
    EXPECT_EQ(out, 0u);
    frame = AdvertFrame(0x208, 0, "c.gif", 48);
    EXPECT_EQ(GetShareFileAdvert(frame.data(), frame.size(), nullptr).str(), "");

    SetUserText("Software\\Quillane\\Game\\Share\\FileAdvert", "File3", "third.gif");
    frame = AdvertFrame(0x205, 3, "", 44);
    EXPECT_EQ(GetShareFileAdvert(frame.data(), frame.size(), nullptr).str(), "third.gif");
}

TEST_F(RegistryServicesTest, RefusesSharedFileFramesTooShortForTheirFields) {
    auto frame = AdvertFrame(0x205, 0, "abc", 20);
    testing::internal::CaptureStderr();
    EXPECT_EQ(GetShareFileAdvert(frame.data(), frame.size(), nullptr).str(), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("too short"), std::string::npos);
    // 0x207 needs its value at 52 as well.
    frame = AdvertFrame(0x207, 0, "abc", 44);
    DWORD out = 5;
    EXPECT_EQ(GetShareFileAdvert(frame.data(), frame.size(), &out).str(), "");
    EXPECT_EQ(out, 0u);
    // A text without its terminator ends with the frame.
    frame = AdvertFrame(0x205, 0, "", 44);
    memset(frame.data() + 8, 'x', 40);
    EXPECT_EQ(GetShareFileAdvert(frame.data(), frame.size(), nullptr).str(), std::string(40, 'x'));
    // A frame whose length word is larger than the bytes at hand.
    frame = AdvertFrame(0x205, 0, "", 44);
    frame.resize(30);
    EXPECT_EQ(GetShareFileAdvert(frame.data(), frame.size(), nullptr).str(), "");
}

} // namespace
