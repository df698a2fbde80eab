// The resource calls through the resource handle and the search chain:
// strings, dialog templates, raw resources, bitmaps, cursors and icons.

#include "platform/resources/Resource.h"
#include "platform/system/Module.h"
#include "tests/support/ResourceScriptText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const char* const kProgramModule = "ChainProgram_res.dll";
const char* const kLibraryModule = "ChainLibrary_res.dll";

class ResourceChain : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText(kProgramModule, Utf8(u8R"(
            STRINGTABLE
            BEGIN
                1 "程序"
                2 "只在程序里"
            END
            3005 DIALOGEX 0, 0, 100, 50
            CAPTION "程序的框"
            BEGIN
                DEFPUSHBUTTON "确定", 1, 10, 30, 40, 14
            END
            3008 BITMAP "card_sheet.bmp"
            3017 CURSOR "hand.cur"
            3003 ICON "pellor2.ico"
            29710 HANDCURSOR "handcursor.bin"
        )"),
                                               PELLOR_ASSET_DIR, &error))
            << error;
        ASSERT_TRUE(RegisterResourceModuleText(kLibraryModule, Utf8(u8R"(
            STRINGTABLE
            BEGIN
                1 "库"
                29700 "确定"
            END
            3005 DIALOGEX 0, 0, 100, 50
            CAPTION "库的框"
            BEGIN
            END
            29810 DIALOGEX 0, 0, 186, 70
            BEGIN
                LTEXT "", 29811, 36, 7, 143, 20
            END
        )"),
                                               ".", &error))
            << error;
        m_program = LoadLibrary(kProgramModule);
        m_library = LoadLibrary(kLibraryModule);
        ASSERT_NE(m_program, nullptr);
        ASSERT_NE(m_library, nullptr);
        m_savedHandle = AfxGetResourceHandle();
        AfxSetResourceHandle(m_program);
    }

    void TearDown() override {
        AfxSetResourceHandle(m_savedHandle);
        FreeLibrary(m_program);
        FreeLibrary(m_library);
        EXPECT_TRUE(UnregisterResourceModule(kProgramModule));
        EXPECT_TRUE(UnregisterResourceModule(kLibraryModule));
    }

    HINSTANCE m_program = nullptr;
    HINSTANCE m_library = nullptr;
    HINSTANCE m_savedHandle = nullptr;
};

COLORREF PixelOfBitmap(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

} // namespace

TEST_F(ResourceChain, StringsComeFromTheResourceHandleFirstThenFromJoinedLibraries) {
    CString text;
    EXPECT_TRUE(text.LoadString(1));
    EXPECT_EQ(text, "程序");
    EXPECT_FALSE(text.LoadString(29700)); // the library has not joined yet
    EXPECT_TRUE(text.IsEmpty());
    {
        CDynLinkLibrary joined(m_library);
        EXPECT_TRUE(text.LoadString(29700));
        EXPECT_EQ(text, "确定");
        EXPECT_TRUE(text.LoadString(1)); // the resource handle still wins
        EXPECT_EQ(text, "程序");
        EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(29700), RT_STRING), m_library);
        EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(3008), RT_BITMAP), m_program);
    }
    EXPECT_FALSE(text.LoadString(29700)); // left the search again
    // Pointing the handle at the library changes which module wins.
    AfxSetResourceHandle(m_library);
    EXPECT_TRUE(text.LoadString(1));
    EXPECT_EQ(text, "库");
}

TEST_F(ResourceChain, DialogTemplatesAreFoundThroughTheSearchAndSayWhere) {
    CDynLinkLibrary joined(m_library);
    DialogTemplate dialog;
    HINSTANCE foundIn = nullptr;
    ASSERT_TRUE(LoadDialogTemplate(MAKEINTRESOURCE(3005), dialog, &foundIn));
    EXPECT_EQ(foundIn, m_program);
    EXPECT_EQ(dialog.caption, "程序的框");
    ASSERT_EQ(dialog.controls.size(), 1u);
    EXPECT_EQ(dialog.controls[0].text, "确定");
    ASSERT_TRUE(LoadDialogTemplate(MAKEINTRESOURCE(29810), dialog, &foundIn));
    EXPECT_EQ(foundIn, m_library);
    EXPECT_NE(dialog.FindControl(29811), nullptr);
    EXPECT_TRUE(FindDialogTemplate(m_library, "#3005", dialog)); // "#n" names a number
    EXPECT_EQ(dialog.caption, "库的框");
    EXPECT_FALSE(LoadDialogTemplate(MAKEINTRESOURCE(4242), dialog));
    EXPECT_FALSE(FindDialogTemplate(m_program, MAKEINTRESOURCE(29810), dialog));
}

TEST_F(ResourceChain, LoadStringNeverSplitsADoubleByteCharacter) {
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    // "程序" is four GBK bytes: a buffer of 4 holds one character and the end.
    EXPECT_EQ(LoadString(m_program, 1, buffer, 4), 2);
    EXPECT_STREQ(buffer, "程");
    EXPECT_EQ(LoadString(m_program, 1, buffer, 5), 4);
    EXPECT_STREQ(buffer, "程序");
    EXPECT_EQ(LoadString(m_program, 99, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(AfxLoadString(2, buffer, 3), 2);
    EXPECT_STREQ(buffer, "只");
}

TEST_F(ResourceChain, AFreedModuleOffersNothing) {
    HINSTANCE extra = LoadLibrary(kProgramModule); // a second load, freed at once
    ASSERT_EQ(extra, m_program);
    FreeLibrary(extra);
    char buffer[16];
    EXPECT_GT(LoadString(m_program, 1, buffer, sizeof buffer), 0); // still loaded once
    FreeLibrary(m_program);
    EXPECT_EQ(LoadString(m_program, 1, buffer, sizeof buffer), 0);
    EXPECT_EQ(FindResource(m_program, MAKEINTRESOURCE(3008), RT_BITMAP), nullptr);
    m_program = LoadLibrary(kProgramModule);
    EXPECT_GT(LoadString(m_program, 1, buffer, sizeof buffer), 0);
}

TEST_F(ResourceChain, RawResourcesGiveWindowsLayouts) {
    HRSRC found = FindResource(m_program, MAKEINTRESOURCE(3008), RT_BITMAP);
    ASSERT_NE(found, nullptr);
    const auto* dib =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(m_program, found)));
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->biSize, 40u); // a packed DIB: no file header
    EXPECT_EQ(dib->biWidth, 108);
    EXPECT_EQ(dib->biHeight, 144);
    EXPECT_GT(SizeofResource(m_program, found), 108u * 144u * 3u);
    EXPECT_EQ(FindResource(m_program, "#3008", RT_BITMAP), found);
    EXPECT_EQ(FindResourceEx(m_program, RT_BITMAP, MAKEINTRESOURCE(3008), 0), found);
    EXPECT_EQ(FindResource(m_library, MAKEINTRESOURCE(3008), RT_BITMAP), nullptr);
    EXPECT_EQ(FindResource(m_program, MAKEINTRESOURCE(3009), RT_BITMAP), nullptr);

    HRSRC hand = FindResource(m_program, MAKEINTRESOURCE(29710), "handcursor");
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(SizeofResource(m_program, hand), 256u);
    EXPECT_EQ(LockResource(nullptr), nullptr);
}

TEST_F(ResourceChain, LoadBitmapGivesANewBitmapWithThePicture) {
    HBITMAP first = LoadBitmap(m_program, MAKEINTRESOURCE(3008));
    HBITMAP second = LoadBitmap(m_program, MAKEINTRESOURCE(3008));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    BITMAP info{};
    ASSERT_NE(GetObject(first, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 108);
    EXPECT_EQ(info.bmHeight, 144);
    EXPECT_EQ(PixelOfBitmap(first, 0, 0), RGB(0, 0, 0));             // outside the big joker
    EXPECT_NE(PixelOfBitmap(first, 27, 36), RGB(0, 0, 0));           // inside it
    EXPECT_EQ(PixelOfBitmap(first, 54, 72), RGB(255, 255, 255));     // the mask's corner
    EXPECT_EQ(PixelOfBitmap(first, 54 + 27, 72 + 36), RGB(0, 0, 0)); // and its inside
    DeleteObject(first);
    DeleteObject(second);
    EXPECT_EQ(LoadBitmap(m_program, MAKEINTRESOURCE(3000)), nullptr);
    EXPECT_EQ(LoadBitmap(nullptr, MAKEINTRESOURCE(3008)), nullptr);
}

TEST_F(ResourceChain, ModuleCursorsAndIconsAreSharedPictures) {
    HCURSOR cursor = platform::LoadModuleCursor(m_program, MAKEINTRESOURCE(3017));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(platform::LoadModuleCursor(m_program, MAKEINTRESOURCE(3017)), cursor);
    const platform::CursorShape* shape = platform::CursorShapeOf(cursor);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->width, 32);
    EXPECT_EQ(shape->hotSpot.x, 6);
    EXPECT_EQ(shape->hotSpot.y, 0);
    EXPECT_EQ(shape->pixels[0] >> 24, 0u);              // transparent corner
    EXPECT_EQ(shape->pixels[5], 0xFF000000u);           // the fingertip's outline
    EXPECT_EQ(shape->pixels[32 * 12 + 8], 0xFFFFFFFFu); // inside the hand
    EXPECT_EQ(platform::LoadModuleCursor(m_program, MAKEINTRESOURCE(3011)), nullptr);

    HICON icon = LoadIcon(m_program, MAKEINTRESOURCE(3003));
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(DestroyIcon(icon)); // shared: stays usable
    EXPECT_NE(platform::CursorShapeOf(reinterpret_cast<HCURSOR>(icon)), nullptr);
    EXPECT_EQ(LoadIcon(m_program, MAKEINTRESOURCE(3003)), icon);
}

TEST(SystemIcons, AreDistinctAndDrawnWithTheirTransparency) {
    HICON hand = LoadIcon(nullptr, IDI_HAND);
    HICON question = LoadIcon(nullptr, IDI_QUESTION);
    ASSERT_NE(hand, nullptr);
    EXPECT_NE(hand, question);
    EXPECT_EQ(LoadIcon(nullptr, IDI_ERROR), hand);
    EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(1)), nullptr);

    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 40, 40);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 40, 40};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &all, white);
    EXPECT_TRUE(DrawIcon(dc, 4, 4, hand));
    EXPECT_EQ(GetPixel(dc, 4 + 8, 4 + 16), RGB(0xD0, 0x20, 0x20)); // the red disc
    EXPECT_EQ(GetPixel(dc, 4, 4), RGB(255, 255, 255));             // outside it: untouched
    EXPECT_EQ(GetPixel(dc, 38, 38), RGB(255, 255, 255));
    EXPECT_FALSE(DrawIcon(dc, 0, 0, nullptr));
    SelectObject(dc, old);
    DeleteObject(white);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
