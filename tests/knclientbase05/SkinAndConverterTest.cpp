#include "knclientbase05/CodePageConverter.h"
#include "knclientbase05/LangResource.h"
#include "knclientbase05/PlayerIcons.h"
#include "knclientbase05/SkinSettings.h"

#include "SettingsFixture.h"
#include "outside/OutsideModules.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"
#include "tests/support/GdiCanvas.h"

#include <cstring>

namespace {

class SkinPathsTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        saved_ = theSkin;
        theSkin = tagSKINSETTINGS{};
        SetSkinNoticeFunction(RecordNotice);
        notices_.clear();
        programFolder_ = GetProgramFolder().str();
    }
    void TearDown() override {
        FreeThemeResDll();
        theSkin = saved_;
        SetSkinNoticeFunction(nullptr);
        SettingsFixture::TearDown();
    }
    static void RecordNotice(LPCSTR text) { notices_ += text; }

    static inline std::string notices_;
    std::string programFolder_;
    tagSKINSETTINGS saved_;
};

TEST_F(SkinPathsTest, UsesTheProgramFolderOrTheSkinFolder) {
    ASSERT_EQ(SetSkinPaths("Pellor", 0, nullptr), 1);
    EXPECT_EQ(std::string(theSkin.szModuleFolder), programFolder_);
    EXPECT_EQ(std::string(theSkin.szGameIni), programFolder_ + "\\Pellor.ini");
    EXPECT_EQ(std::string(theSkin.szThemeFolder), programFolder_ + "\\Theme\\");
    EXPECT_EQ(std::string(theSkin.szThemeFile), programFolder_ + "\\Pellor.thm");
    EXPECT_TRUE(theSkin.bSkinInUse);

    CString skin = "D:\\Skins\\Blue";
    ASSERT_EQ(SetSkinPaths("Pellor", 0, &skin), 1);
    EXPECT_STREQ(theSkin.szThemeFolder, "D:\\Skins\\Blue\\Theme\\");
    EXPECT_STREQ(theSkin.szThemeFile, "D:\\Skins\\Blue\\Pellor.thm");
    EXPECT_EQ(theSkin.strGameName.str(), "Pellor");
    EXPECT_TRUE(notices_.empty());
}

TEST_F(SkinPathsTest, SharedPathsWithoutThePlatformRootStartEmpty) {
    // The test program does not lie under "Game\Pellor": the root is empty.
    ASSERT_EQ(SetSkinPaths("Pellor", 1, nullptr), 1);
    EXPECT_STREQ(theSkin.szThemeFolder, "Game\\Share\\Theme\\share\\");
    EXPECT_STREQ(theSkin.szThemeFile, "Game\\Share\\Theme\\Pellor.thm");
}

TEST_F(SkinPathsTest, ThePlatformRootIsTheFolderAboveGameInAnyCase) {
    EXPECT_EQ(PlatformRootOf("C:\\Quillane\\GAME\\pellor\\bin", "Pellor").str(), "C:\\Quillane\\");
    EXPECT_EQ(PlatformRootOf("C:\\Other\\Pellor", "Pellor").str(), "");
}

TEST_F(SkinPathsTest, ASkinWithSharedPathsIsRefusedWithANotice) {
    CString skin = "D:\\Skins\\Blue";
    ASSERT_EQ(SetSkinPaths("Pellor", 1, &skin), 1);
    EXPECT_NE(notices_.find("不能在使用共享路径的情况下使用皮肤。\r\nSetPathIni(Pellor,1)"),
              std::string::npos);
    EXPECT_STREQ(theSkin.szThemeFolder, "Game\\Share\\Theme\\share\\");
}

TEST_F(SkinPathsTest, ChoosesTheThemeLibraryByTheThemeFile) {
    CString skin = files_.Path().c_str();
    ASSERT_EQ(SetSkinPaths("Pellor", 0, &skin), 1);
    files_.Write("Pellor.thm", "[Settings]\nUseThemeResDll=0\n");
    EXPECT_EQ(LoadThemeResDll("Pellor"), 1);
    EXPECT_EQ(theSkin.hThemeRes, nullptr);

    files_.Write("Pellor.thm", "[Settings]\nUseThemeResDll=1\n");
    ASSERT_EQ(LoadThemeResDll("Pellor"), 1);
    EXPECT_NE(theSkin.hThemeRes, nullptr);
    FreeThemeResDll();
    EXPECT_EQ(theSkin.hThemeRes, nullptr);

    // A game without a theme library.
    EXPECT_EQ(LoadThemeResDll("Other"), 0);

    files_.Write("Pellor.thm", "[Settings]\nUseThemeResDll=2\n");
    EXPECT_EQ(LoadThemeResDll("Pellor"), 1);
    EXPECT_EQ(theSkin.hThemeRes, AfxGetResourceHandle());
}

TEST_F(SkinPathsTest, AMissingThemeLibraryFailsCleanly) {
    CString skin = files_.Path().c_str();
    ASSERT_EQ(SetSkinPaths("Pellor", 0, &skin), 1);
    files_.Write("Pellor.thm", "[Settings]\nUseThemeResDll=1\n");
    ASSERT_TRUE(UnregisterBuiltinModule("Pellor_thm.dll"));
    EXPECT_EQ(LoadThemeResDll("Pellor"), 0);
    EXPECT_EQ(theSkin.hThemeRes, nullptr);
    RegisterBuiltinModule(GameThemeModule());
}

// A resource library that names the server's code page.
class ConverterTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        savedHandle_ = AfxGetResourceHandle();
    }
    void TearDown() override {
        FreeCodePageConverter();
        theCodePage.nCodePage = 936;
        AfxSetResourceHandle(savedHandle_);
        if (resources_ != nullptr) {
            FreeLibrary(resources_);
            UnregisterResourceModule("Converter_res.dll");
        }
        SettingsFixture::TearDown();
    }
    void UseResources(const char* codePage) {
        std::string script = "STRINGTABLE\nBEGIN\n 29936 \"" + std::string(codePage) + "\"\nEND\n";
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText("Converter_res.dll", script, ".", &error)) << error;
        resources_ = LoadLibrary("Converter_res.dll");
        ASSERT_NE(resources_, nullptr);
        AfxSetResourceHandle(resources_);
    }

    HINSTANCE savedHandle_ = nullptr;
    HINSTANCE resources_ = nullptr;
};

TEST_F(ConverterTest, WithoutTheCodePageStringNothingIsLoaded) {
    UseResources("");
    EXPECT_EQ(InitCodePageConverter(), 0);
    EXPECT_EQ(theCodePage.nCodePage, 936);
    EXPECT_FALSE(IsCodePageConverterAvailable());
    char out[16];
    EXPECT_EQ(ConvertText(out, "abc", 950, 936, 0x5F5F), 0);
    EXPECT_STREQ(out, "abc");
}

TEST_F(ConverterTest, ConvertsServerTextsThroughTheLibrary) {
    UseResources("950");
    ASSERT_EQ(InitCodePageConverter(), 1);
    EXPECT_EQ(theCodePage.nCodePage, 950);
    ASSERT_TRUE(IsCodePageConverterAvailable());
    // "中文" in Big5, converted to the system's GBK: the frame's code page
    // is b, the target a.
    char out[16];
    EXPECT_EQ(ConvertText(out, "\xA4\xA4\xA4\xE5", 0, 950, 0x5F5F), 1);
    EXPECT_STREQ(out, "中文");
}

TEST_F(ConverterTest, AMissingLibraryLeavesTextsUnconverted) {
    UseResources("950");
    ASSERT_TRUE(UnregisterBuiltinModule("codecvt.dll"));
    EXPECT_EQ(InitCodePageConverter(), 0);
    EXPECT_FALSE(IsCodePageConverterAvailable());
    char out[16];
    EXPECT_EQ(ConvertText(out, "\xA4\xA4", 0, 950, 0x5F5F), 0);
    EXPECT_STREQ(out, "\xA4\xA4");
    RegisterBuiltinModule(CodeConverterModule());
}

TEST_F(ConverterTest, ALibraryWithoutEveryEntryIsLetGo) {
    UseResources("950");
    BuiltinModuleDefinition partial = CodeConverterModule();
    partial.exports.pop_back(); // no TranStrCodePage
    ASSERT_TRUE(RegisterBuiltinModule(partial));
    EXPECT_EQ(InitCodePageConverter(), 0);
    EXPECT_EQ(theCodePage.hLibrary, nullptr);
    EXPECT_EQ(theCodePage.pTranCodePage, nullptr);
    // Freed: the real module can take its name back.
    EXPECT_TRUE(RegisterBuiltinModule(CodeConverterModule()));
}

class PlayerIconTest : public SettingsFixture {};

TEST_F(PlayerIconTest, GivesIconsFromTheSharedFolderLibrary) {
    UseSharedFolder();
    HICON icon = GetPlayerIcon(1);
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
    EXPECT_EQ(GetPlayerIcon(-1), nullptr);
    EXPECT_EQ(GetPlayerIcon(1000), nullptr);
    EXPECT_EQ(DrawPlayerIcon(nullptr, 0, 0, -1), FALSE);
}

TEST_F(PlayerIconTest, DrawsTheIconAtItsPlace) {
    UseSharedFolder();
    GdiCanvas canvas(40, 40);
    canvas.Fill(0x123456);
    ASSERT_EQ(DrawPlayerIcon(canvas.dc(), 4, 4, 0), TRUE);
    int changed = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            changed += canvas.At(x, y) != 0x123456u;
    EXPECT_GT(changed, 0);
    EXPECT_EQ(canvas.At(0, 0), 0x123456u);   // left of and above the icon
    EXPECT_EQ(canvas.At(39, 39), 0x123456u); // past its 32 by 32 pixels
    EXPECT_EQ(DrawPlayerIcon(canvas.dc(), 4, 4, 99), FALSE);
}

TEST_F(PlayerIconTest, AMissingLibraryGivesNoIcons) {
    UseSharedFolder();
    ASSERT_TRUE(UnregisterBuiltinModule("people.dll"));
    EXPECT_EQ(GetPlayerIcon(1), nullptr);
    RegisterBuiltinModule(PeopleIconsModule());
}

} // namespace
