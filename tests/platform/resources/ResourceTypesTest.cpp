// Resources by type, name and language: custom types, icon and cursor
// groups stored as a resource compiler stores them, raw dialog templates,
// enumeration, and modules loaded as data files.

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/images/Picture.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"
#include "tests/support/GdiCanvas.h"
#include "tests/support/IconBytes.h"
#include "tests/support/ResourceBytes.h"
#include "tests/support/ResourceScriptText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace iconbytes;

namespace {

const char* const kModule = "TypesTest_res.dll";

class ResourceTypes : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder.Write("neutral.wav", "RIFF-neutral");
        m_folder.Write("chinese.wav", "RIFF-chinese");
        m_folder.Write("english.wav", "RIFF-english");
        m_folder.Write("picture.gif", "GIF89a-bytes");
        m_folder.Write("busy.ani", "RIFF-ani");
        // Three sizes, each its own colour.
        m_folder.Write(
            "game.ico",
            IconFile({Entry{16, 16, 32, DibImage(MakePicture(16, 16, 0x00FF0000), 32)},
                      Entry{32, 32, 32, DibImage(MakePicture(32, 32, 0x0000FF00), 32)},
                      Entry{48, 48, 32, DibImage(MakePicture(48, 48, 0x000000FF), 32)}}));
        m_folder.Write("small.ico",
                       IconFile({Entry{16, 16, 8, DibImage(MakePicture(16, 16, 0x00808080), 8)}}));
        m_folder.Write(
            "point.cur",
            IconFile({Entry{32, 32, 32, DibImage(MakePicture(32, 32, 0x00FFFFFF), 32), 4, 9}}, 2));
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText(kModule, Utf8(u8R"(
            101 WAVE "neutral.wav"
            LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED
            101 WAVE "chinese.wav"
            LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
            101 WAVE "english.wav"
            LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL
            SPLASH GIF "picture.gif"
            3 ANICURSORS "busy.ani"
            200 ICON "game.ico"
            GAME ICON "small.ico"
            300 CURSOR "point.cur"
            3005 DIALOGEX 10, 20, 180, 90
            STYLE DS_MODALFRAME | WS_POPUP
            CAPTION "提示"
            FONT 9, "宋体"
            BEGIN
                DEFPUSHBUTTON "确定", IDOK, 40, 55, 50, 14
                ICON 200, 7, 5, 6
                CONTROL "", 1200, "MyClass", WS_CHILD, 1, 2, 3, 4
            END
        )"),
                                               m_folder.Path(), &error))
            << error;
        m_module = LoadLibraryEx(kModule, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override {
        FreeLibrary(m_module);
        EXPECT_TRUE(UnregisterResourceModule(kModule));
    }

    TempFolder m_folder;
    HMODULE m_module = nullptr;
};

} // namespace

TEST_F(ResourceTypes, CustomTypesAreFoundByTypeNameAndLanguage) {
    const WORD chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    const WORD english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    HRSRC found = FindResourceEx(m_module, "WAVE", MAKEINTRESOURCE(101), chinese);
    EXPECT_EQ(ResourceBytes(m_module, found), "RIFF-chinese");
    found = FindResourceEx(m_module, "wave", MAKEINTRESOURCE(101), english); // type in any case
    EXPECT_EQ(ResourceBytes(m_module, found), "RIFF-english");
    // Another English: the same primary language.
    found = FindResourceEx(m_module, "WAVE", MAKEINTRESOURCE(101),
                           MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK));
    EXPECT_EQ(ResourceBytes(m_module, found), "RIFF-english");
    // A language the module lacks falls back to the neutral one.
    found = FindResourceEx(m_module, "WAVE", MAKEINTRESOURCE(101), MAKELANGID(0x07, 1));
    EXPECT_EQ(ResourceBytes(m_module, found), "RIFF-neutral");
    EXPECT_EQ(ResourceBytes(m_module, FindResource(m_module, MAKEINTRESOURCE(101), "WAVE")),
              "RIFF-neutral");
    // Names in text, "#n" for numbers, and the types of the other statements.
    EXPECT_EQ(ResourceBytes(m_module, FindResource(m_module, "splash", "GIF")), "GIF89a-bytes");
    EXPECT_EQ(ResourceBytes(m_module, FindResource(m_module, "#3", "ANICURSORS")), "RIFF-ani");
    SetLastError(0);
    EXPECT_EQ(FindResource(m_module, MAKEINTRESOURCE(102), "WAVE"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResource(m_module, MAKEINTRESOURCE(101), "JPG"), nullptr);
}

TEST_F(ResourceTypes, TheScriptRefusesTheSameResourceTwiceInOneLanguageOnly) {
    std::string error;
    EXPECT_FALSE(RegisterResourceModuleText("Twice_res.dll", Utf8(u8R"(
        1 WAVE "neutral.wav"
        1 WAVE "chinese.wav"
    )"),
                                            m_folder.Path(), &error));
    EXPECT_NE(error.find(":3:"), std::string::npos) << error;
    EXPECT_FALSE(RegisterResourceModuleText("BadLanguage_res.dll", "LANGUAGE 0x400, 0\n",
                                            m_folder.Path(), &error));
    EXPECT_NE(error.find("language out of range"), std::string::npos) << error;
}

TEST_F(ResourceTypes, IconStatementsBecomeGroupsWhoseLookupPicksTheSize) {
    HRSRC groupFound = FindResource(m_module, MAKEINTRESOURCE(200), RT_GROUP_ICON);
    ASSERT_NE(groupFound, nullptr);
    std::string group = ResourceBytes(m_module, groupFound);
    ASSERT_EQ(group.size(), 6u + 3 * 14);
    EXPECT_EQ(group[2], 1);
    EXPECT_EQ(group[4], 3);
    auto* bytes = reinterpret_cast<PBYTE>(group.data());
    struct Case {
        int cx;
        uint32_t colour;
    } cases[] = {{16, 0xFF0000}, {20, 0xFF0000}, {32, 0x00FF00}, {0, 0x00FF00}, {64, 0x0000FF}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cx);
        const int id = LookupIconIdFromDirectoryEx(bytes, TRUE, c.cx, c.cx, 0);
        HRSRC image = FindResource(m_module, MAKEINTRESOURCE(id), RT_ICON);
        ASSERT_NE(image, nullptr);
        std::string picture = ResourceBytes(m_module, image);
        HICON icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(picture.data()),
                                              DWORD(picture.size()), TRUE, 0x30000, 0, 0, 0);
        GdiCanvas canvas(1, 1);
        DrawIconEx(canvas.dc(), 0, 0, icon, 1, 1, 0, nullptr, DI_NORMAL);
        EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, c.colour);
        DestroyIcon(icon);
    }
    // Each image has its own id, numbered on across the module's icons.
    EXPECT_NE(FindResource(m_module, MAKEINTRESOURCE(4), RT_ICON), nullptr);
    EXPECT_EQ(FindResource(m_module, MAKEINTRESOURCE(5), RT_ICON), nullptr);
    // LoadIcon takes the system size; LoadImage the size asked.
    HICON shared = LoadIcon(m_module, MAKEINTRESOURCE(200));
    EXPECT_EQ(LoadIcon(m_module, MAKEINTRESOURCE(200)), shared);
    GdiCanvas canvas(1, 1);
    DrawIconEx(canvas.dc(), 0, 0, shared, 1, 1, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, 0x00FF00u);
    HICON large =
        static_cast<HICON>(LoadImage(m_module, MAKEINTRESOURCE(200), IMAGE_ICON, 48, 48, 0));
    ASSERT_NE(large, nullptr);
    DrawIconEx(canvas.dc(), 0, 0, large, 1, 1, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, 0x0000FFu);
    DestroyIcon(large);
    EXPECT_NE(LoadIcon(m_module, "game"), nullptr);
}

TEST_F(ResourceTypes, CursorStatementsKeepTheHotSpotInTheirImages) {
    std::string group =
        ResourceBytes(m_module, FindResource(m_module, MAKEINTRESOURCE(300), RT_GROUP_CURSOR));
    ASSERT_EQ(group.size(), 6u + 14);
    EXPECT_EQ(group[2], 2);
    EXPECT_EQ(uint8_t(group[6 + 2]), 64); // the height doubled, as the image header has it
    std::string image =
        ResourceBytes(m_module, FindResource(m_module, MAKEINTRESOURCE(1), RT_CURSOR));
    ASSERT_GT(image.size(), 4u);
    EXPECT_EQ(image[0], 4);
    EXPECT_EQ(image[2], 9);
    HCURSOR cursor = static_cast<HCURSOR>(
        LoadImage(m_module, MAKEINTRESOURCE(300), IMAGE_CURSOR, 0, 0, LR_SHARED));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(LoadCursor(m_module, MAKEINTRESOURCE(300)), cursor);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(cursor), &info));
    EXPECT_EQ(info.xHotspot, 4u);
    EXPECT_EQ(info.yHotspot, 9u);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST_F(ResourceTypes, DialogsAreAlsoTheirBinaryTemplate) {
    std::string bytes =
        ResourceBytes(m_module, FindResource(m_module, MAKEINTRESOURCE(3005), RT_DIALOG));
    ASSERT_GT(bytes.size(), 26u);
    size_t at = 0;
    auto u16 = [&]() {
        unsigned v = uint8_t(bytes.at(at)) | uint8_t(bytes.at(at + 1)) << 8;
        at += 2;
        return v;
    };
    auto u32 = [&]() { return uint32_t(u16()) | uint32_t(u16()) << 16; };
    auto text = [&]() {
        std::u32string out;
        while (unsigned c = u16())
            out += char32_t(c);
        return platform::UnicodeToGbk(out);
    };
    EXPECT_EQ(u16(), 1u);
    EXPECT_EQ(u16(), 0xFFFFu);
    EXPECT_EQ(u32(), 0u); // help id
    EXPECT_EQ(u32(), 0u); // extended style
    EXPECT_EQ(u32(), uint32_t(DS_MODALFRAME | WS_POPUP | WS_CAPTION | DS_SETFONT));
    EXPECT_EQ(u16(), 3u);
    EXPECT_EQ(u16(), 10u);
    EXPECT_EQ(u16(), 20u);
    EXPECT_EQ(u16(), 180u);
    EXPECT_EQ(u16(), 90u);
    EXPECT_EQ(u16(), 0u); // menu
    EXPECT_EQ(u16(), 0u); // class
    EXPECT_EQ(text(), "提示");
    EXPECT_EQ(u16(), 9u);
    u16(); // weight
    u16(); // italic, charset
    EXPECT_EQ(text(), "宋体");
    struct Item {
        uint32_t id;
        unsigned atom;
        std::string className;
        std::string title;
        unsigned titleId;
    } items[] = {{IDOK, 0x80, "", "确定", 0}, {7, 0x82, "", "", 200}, {1200, 0, "MyClass", "", 0}};
    for (const Item& item : items) {
        SCOPED_TRACE(item.id);
        at = (at + 3) / 4 * 4;
        u32();
        u32();
        u32();   // help id, extended style, style
        at += 8; // rectangle
        EXPECT_EQ(u32(), item.id);
        if (item.atom) {
            EXPECT_EQ(u16(), 0xFFFFu);
            EXPECT_EQ(u16(), item.atom);
        } else {
            EXPECT_EQ(text(), item.className);
        }
        if (item.titleId) {
            EXPECT_EQ(u16(), 0xFFFFu);
            EXPECT_EQ(u16(), item.titleId);
        } else {
            EXPECT_EQ(text(), item.title);
        }
        EXPECT_EQ(u16(), 0u);
    }
    EXPECT_EQ(at, bytes.size());
}

TEST_F(ResourceTypes, NamesAreEnumeratedOncePerNameTextFirst) {
    std::vector<std::string> names;
    auto collect = [](HMODULE, LPSTR, LPSTR name, LONG_PTR param) -> BOOL {
        auto* list = reinterpret_cast<std::vector<std::string>*>(param);
        list->push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(ULONG_PTR(name)) : name);
        return TRUE;
    };
    ASSERT_TRUE(EnumResourceNames(m_module, RT_GROUP_ICON, collect, LONG_PTR(&names)));
    EXPECT_EQ(names, (std::vector<std::string>{"GAME", "#200"}));
    names.clear();
    ASSERT_TRUE(EnumResourceNames(m_module, "WAVE", collect, LONG_PTR(&names)));
    EXPECT_EQ(names, (std::vector<std::string>{"#101"})); // three languages, one name
    names.clear();
    auto stopAtFirst = [](HMODULE, LPSTR, LPSTR, LONG_PTR param) -> BOOL {
        ++*reinterpret_cast<int*>(param);
        return FALSE;
    };
    int calls = 0;
    EXPECT_FALSE(EnumResourceNames(m_module, RT_ICON, stopAtFirst, LONG_PTR(&calls)));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_ENUM_USER_STOP));
    EXPECT_FALSE(EnumResourceNames(m_module, "JPEG", collect, LONG_PTR(&names)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_TYPE_NOT_FOUND));
}

TEST_F(ResourceTypes, DataFileLoadsGiveTheModuleAndRefuseWhatTheyCannotDo) {
    HMODULE again =
        LoadLibraryEx("C:\\Games\\TypesTest_res.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_EQ(again, m_module);
    FreeLibrary(again);
    int fileHandle = 0;
    EXPECT_EQ(LoadLibraryEx(kModule, &fileHandle, 0), nullptr);
    EXPECT_EQ(LoadLibraryEx(kModule, nullptr, 0x100000), nullptr);
    EXPECT_EQ(LoadLibraryEx("NoSuch_res.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
}

TEST(ResourceModuleChecks, BrokenIconFilesAreRefusedWhenTheModuleIsRegistered) {
    TempFolder folder;
    std::string good = IconFile({Entry{16, 16, 32, DibImage(MakePicture(16, 16, 0x00FF0000), 32)}});
    folder.Write("cut.ico", good.substr(0, good.size() - 40));
    std::string error;
    EXPECT_FALSE(
        RegisterResourceModuleText("Cut_res.dll", "1 ICON \"cut.ico\"\n", folder.Path(), &error));
    EXPECT_NE(error.find("cut.ico"), std::string::npos) << error;
    EXPECT_NE(error.find("image 1 lies outside the file"), std::string::npos) << error;
    EXPECT_EQ(LoadLibrary("Cut_res.dll"), nullptr);
}
