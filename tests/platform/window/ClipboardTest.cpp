// The clipboard without a desktop: text and bitmaps kept in the process.

#include "platform/window/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

HGLOBAL TextBlock(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    return block;
}

std::string ClipboardText() {
    if (!OpenClipboard(nullptr))
        return "<not open>";
    HANDLE data = GetClipboardData(CF_TEXT);
    std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "<none>";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    return text;
}

TEST(ClipboardTest, TextGoesRoundAndAnEmptiedClipboardHoldsNothing) {
    const std::string gbk = platform::UnicodeToGbk(U"复制 ok");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr)); // one opener at a time
    ASSERT_TRUE(EmptyClipboard());
    HGLOBAL block = TextBlock(gbk);
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(ClipboardText(), gbk);

    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GlobalSize(block), 0u); // the clipboard freed its block
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(ClipboardText(), "<none>");
}

TEST(ClipboardTest, NothingHappensWithoutOpeningAndBitmapsStayInTheProcess) {
    HGLOBAL block = TextBlock("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(CloseClipboard());
    GlobalFree(block);

    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    EXPECT_EQ(SetClipboardData(CF_BITMAP, bitmap), bitmap);
    EXPECT_EQ(SetClipboardData(CF_BITMAP, TextBlock("not a bitmap")), nullptr);
    EXPECT_EQ(GetClipboardData(CF_BITMAP), bitmap);
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(GetObjectType(bitmap), 0u); // deleted with the clipboard's contents
}

TEST(ClipboardTest, ABitmapReadsBackWithItsPixelsAndBelongsToTheClipboard) {
    HDC screen = GetDC(nullptr);
    HBITMAP shot = CreateCompatibleBitmap(screen, 3, 2);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, shot);
    for (int i = 0; i < 6; ++i)
        SetPixel(dc, i % 3, i / 3, RGB(10 * i, 255 - i, 7 * i));
    SelectObject(dc, old);

    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_EQ(SetClipboardData(CF_BITMAP, shot), shot);
    ASSERT_TRUE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(nullptr));
    HBITMAP back = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    ASSERT_TRUE(CloseClipboard());
    ASSERT_NE(back, nullptr);
    old = SelectObject(dc, back);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(GetPixel(dc, i % 3, i / 3), RGB(10 * i, 255 - i, 7 * i)) << i;
    SelectObject(dc, old);
    DeleteDC(dc);

    // A new bitmap replaces the old one, which the clipboard deletes.
    HBITMAP next = CreateBitmap(1, 1, 1, 32, nullptr);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    EXPECT_EQ(GetObjectType(shot), 0u);
    SetClipboardData(CF_BITMAP, next);
    CloseClipboard();
    EXPECT_EQ(GetObjectType(next), DWORD(OBJ_BITMAP));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

} // namespace
