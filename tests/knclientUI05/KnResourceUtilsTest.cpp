// Resources copied out of our resource modules byte for byte: dialog
// templates, strings, icon groups as .ico files and animated cursors; and a
// message box with the module's own icon.

#include "tests/support/DialogFixture.h"
#include "tests/support/IconBytes.h"
#include "tests/support/ResourceBytes.h"
#include "tests/support/ResourceScriptText.h"
#include "tests/support/TempFolder.h"

#include "knclientUI05/KnClientPublic.h"
#include "platform/controls/MessageBox.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

using namespace iconbytes;

namespace {

const char kModule[] = "KnUtilsTest_res.dll";

class ResourceUtilsTest : public ::testing::Test {
protected:
    void SetUp() override {
        gameIco = IconFile({Entry{16, 16, 32, DibImage(MakePicture(16, 16, 0x00FF0000), 32)},
                            Entry{32, 32, 8, DibImage(MakePicture(32, 32, 0x00008000), 8)}});
        smallIco = IconFile({Entry{16, 16, 4, DibImage(MakePicture(16, 16, 0x00808080), 4)}});
        temp.Write("game.ico", gameIco);
        temp.Write("small.ico", smallIco);
        const std::string frame =
            IconFile({Entry{32, 32, 32, DibImage(MakePicture(32, 32, 0x00FFFFFF), 32), 3, 4}}, 2);
        temp.Write("busy.ani", AniFile({frame, frame}, {}, {}));
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText(kModule, Utf8(u8R"(
            STRINGTABLE
            BEGIN
                7001 "你好，牌桌"
            END
            LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED
            3005 DIALOGEX 10, 20, 180, 90
            STYLE DS_MODALFRAME | WS_POPUP
            CAPTION "提示"
            FONT 9, "宋体"
            BEGIN
                DEFPUSHBUTTON "确定", IDOK, 40, 55, 50, 14
            END
            LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL
            200 ICON "game.ico"
            GAME ICON "small.ico"
            3 ANICURSORS "busy.ani"
        )"),
                                               temp.Path(), &error))
            << error;
        module = LoadLibrary(kModule);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        FreeLibrary(module);
        UnregisterResourceModule(kModule);
    }

    TempFolder temp;
    std::string gameIco, smallIco;
    HMODULE module = nullptr;
};

TEST_F(ResourceUtilsTest, DialogTemplatesAreCopiedByteForByte) {
    const std::string original =
        ResourceBytes(module, FindResource(module, MAKEINTRESOURCE(3005), RT_DIALOG));
    ASSERT_FALSE(original.empty());
    void* copy = nullptr;
    const int size = LoadDialogTemplateCopy(&copy, module, MAKEINTRESOURCE(3005));
    ASSERT_EQ(size_t(size), original.size());
    EXPECT_EQ(std::string(static_cast<char*>(copy), size_t(size)), original);
    std::free(copy);

    void* byLanguage = nullptr;
    const int sized =
        CopyStringOrDialogResource(&byLanguage, module, MAKEINTRESOURCE(3005), FALSE,
                                   MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    ASSERT_EQ(sized, size);
    EXPECT_EQ(std::string(static_cast<char*>(byLanguage), size_t(sized)), original);
    std::free(byLanguage);

    void* missing = &copy;
    EXPECT_EQ(LoadDialogTemplateCopy(&missing, module, MAKEINTRESOURCE(9)), 0);
    EXPECT_EQ(missing, nullptr);
    missing = &copy;
    EXPECT_EQ(CopyStringOrDialogResource(&missing, module, MAKEINTRESOURCE(9), FALSE, 0), 0);
    EXPECT_EQ(missing, nullptr);
}

TEST_F(ResourceUtilsTest, StringsAreCopiedAndAMissingOneGivesNothing) {
    void* text = nullptr;
    const int length = CopyStringOrDialogResource(&text, module, MAKEINTRESOURCE(7001), TRUE, 0);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(static_cast<char*>(text), "你好，牌桌");
    EXPECT_EQ(length, int(std::strlen("你好，牌桌")));
    std::free(text);
    void* none = &text;
    EXPECT_EQ(CopyStringOrDialogResource(&none, module, MAKEINTRESOURCE(7002), TRUE, 0), 0);
    EXPECT_EQ(none, nullptr);
}

TEST_F(ResourceUtilsTest, AnIconGroupIsWrittenAsTheIcoFileItCameFrom) {
    const std::string out = temp.File("group.ico");
    ASSERT_TRUE(SaveIconGroupToIcoFile(kModule, MAKEINTRESOURCE(200), out.c_str()));
    EXPECT_EQ(temp.Read("group.ico"), gameIco);
    ASSERT_TRUE(SaveIconGroupToIcoFile(kModule, "GAME", out.c_str()));
    EXPECT_EQ(temp.Read("group.ico"), smallIco);
    EXPECT_FALSE(SaveIconGroupToIcoFile(kModule, "NOSUCH", temp.File("none.ico").c_str()));
    EXPECT_FALSE(SaveIconGroupToIcoFile("NoSuchModule.dll", "GAME", temp.File("none.ico").c_str()));
    EXPECT_FALSE(SaveIconGroupToIcoFile(nullptr, "GAME", out.c_str()));
    EXPECT_FALSE(std::filesystem::exists(temp.File("none.ico")));
}

TEST(IconGroupSizeTest, TheSizeWrittenIsTheImagesOwnNotTheGroups) {
    TempFolder temp;
    const std::string image = DibImage(MakePicture(16, 16, 0x00336699), 32);
    temp.Write("one.ico", IconFile({Entry{16, 16, 32, image}}));
    const char* const name = "KnLyingGroup_res.dll";
    // The id the icon's image gets in a module.
    ASSERT_TRUE(RegisterResourceModuleText(name, "IMG ICON \"one.ico\"\n", temp.Path()));
    HMODULE module = LoadLibrary(name);
    const std::string honest = ResourceBytes(module, FindResource(module, "IMG", RT_GROUP_ICON));
    FreeLibrary(module);
    UnregisterResourceModule(name);
    ASSERT_EQ(honest.size(), 6u + 14u);
    // The same group, but its entry claims 9,999 bytes for that image.
    std::string lying = honest;
    lying.replace(6 + 8, 4, std::string("\x0F\x27\0\0", 4));
    temp.Write("lying.grp", lying);
    std::string error;
    ASSERT_TRUE(RegisterResourceModuleText(name, "IMG ICON \"one.ico\"\nLIAR 14 \"lying.grp\"\n",
                                           temp.Path(), &error))
        << error;
    const std::string out = temp.File("out.ico");
    ASSERT_TRUE(SaveIconGroupToIcoFile(name, "LIAR", out.c_str()));
    EXPECT_EQ(temp.Read("out.ico"), IconFile({Entry{16, 16, 32, image}}));
    UnregisterResourceModule(name);
}

TEST_F(ResourceUtilsTest, GroupsByPositionTextNamesFirst) {
    const std::string out = temp.File("by-index.ico");
    ASSERT_TRUE(SaveIconGroupByIndexToIcoFile(kModule, 0, out.c_str()));
    EXPECT_EQ(temp.Read("by-index.ico"), smallIco);
    ASSERT_TRUE(SaveIconGroupByIndexToIcoFile(kModule, 1, out.c_str()));
    EXPECT_EQ(temp.Read("by-index.ico"), gameIco);
    EXPECT_FALSE(SaveIconGroupByIndexToIcoFile(kModule, 2, temp.File("past.ico").c_str()))
        << "a position equal to the number of groups";
    EXPECT_FALSE(SaveIconGroupByIndexToIcoFile(kModule, -1, temp.File("past.ico").c_str()));
    EXPECT_FALSE(std::filesystem::exists(temp.File("past.ico")));
}

TEST_F(ResourceUtilsTest, AnimatedCursorsComeFromTheApplicationsResources) {
    HINSTANCE previous = AfxGetResourceHandle();
    EXPECT_EQ(LoadAniCursor(3), nullptr) << "the program itself holds no resources";
    AfxSetResourceHandle(module);
    HCURSOR cursor = LoadAniCursor(0x10003); // only the low word is the id
    ASSERT_NE(cursor, nullptr);
    platform::AnimatedCursorInfo info;
    ASSERT_TRUE(platform::GetAnimatedCursorInfo(cursor, info));
    EXPECT_EQ(info.frameCount, 2);
    EXPECT_EQ(LoadAniCursor(4), nullptr);
    DestroyCursor(cursor);
    AfxSetResourceHandle(previous);
}

class IconMessageBoxTest : public platform_test::DialogTest {};

TEST_F(IconMessageBoxTest, TheBoxShowsTheModulesIcon) {
    TempFolder folder;
    folder.Write("own.ico",
                 IconFile({Entry{32, 32, 24, DibImage(MakePicture(32, 32, 0x00123456), 24)}}));
    ASSERT_TRUE(
        RegisterResourceModuleText("KnOwnIcon_res.dll", "105 ICON \"own.ico\"\n", folder.Path()));
    HINSTANCE own = LoadLibrary("KnOwnIcon_res.dll");
    HICON shown = nullptr;
    platform_test::Script::Run({[&] {
        shown =
            HICON(SendMessage(platform_test::IconStaticOf(GetActiveWindow()), STM_GETICON, 0, 0));
        Key(VK_RETURN);
    }});
    EXPECT_EQ(ShowIconMessageBox(nullptr, "文字", "标题", MB_OK, MAKEINTRESOURCE(105), own), IDOK);
    EXPECT_EQ(shown, LoadIcon(own, MAKEINTRESOURCE(105)));
    FreeLibrary(own);
    UnregisterResourceModule("KnOwnIcon_res.dll");
}

} // namespace
