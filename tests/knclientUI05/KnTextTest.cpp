// Wrapped, etched and darkened text of the drawing utilities.

#include "tests/support/TextCanvas.h"

#include "knclientUI05/KnClientPublic.h"
#include "platform/text/Text.h"
#include "platform/window/SystemMetrics.h"

#include <gtest/gtest.h>

namespace ui_test {
namespace {

int LineHeight(HDC dc) {
    SIZE size{};
    GetTextExtentPoint32(dc, "ab", 2, &size);
    return size.cy;
}

TEST(WrappedTextTest, LineFeedEndsALineAndCarriageReturnShowsAsSpace) {
    TextCanvas wrapped(200, 80), expected(200, 80);
    ASSERT_GT(LineHeight(wrapped.dc()), 0) << "no font installed";
    RECT rect{4, 4, 200, 80};
    ASSERT_TRUE(DrawWrappedText(wrapped.dc(), "ab\r\ncd", 150, &rect, FALSE));
    int h = LineHeight(expected.dc());
    RECT first{4, 4, 200, 80}, second{4, 4 + h, 200, 80};
    DrawText(expected.dc(), "ab ", 3, &first, DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
    DrawText(expected.dc(), "cd", 2, &second, DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
    EXPECT_EQ(wrapped.Pixels(), expected.Pixels());
    RECT ink = wrapped.InkBox();
    EXPECT_GE(ink.bottom, 4 + h); // the second line is below the first
}

TEST(WrappedTextTest, MeasuringDrawsNothingAndGivesTheHeight) {
    TextCanvas canvas(200, 80);
    int h = LineHeight(canvas.dc());
    ASSERT_GT(h, 0) << "no font installed";
    RECT rect{10, 5, 11, 6};
    ASSERT_TRUE(DrawWrappedText(canvas.dc(), "ab\r\ncd", 150, &rect, TRUE));
    EXPECT_EQ(rect.bottom, 5 + 2 * h);
    EXPECT_EQ(rect.right, 160);
    RECT ink = canvas.InkBox();
    EXPECT_GE(ink.left, ink.right); // empty
    RECT untouched{1, 2, 3, 4};
    EXPECT_TRUE(DrawWrappedText(canvas.dc(), nullptr, 150, &untouched, TRUE));
    EXPECT_EQ(untouched.bottom, 4);
}

TEST(WrappedTextTest, NarrowWidthTakesOneWholeCharacterPerLine) {
    TextCanvas canvas(100, 200);
    int h = LineHeight(canvas.dc());
    ASSERT_GT(h, 0) << "no font installed";
    RECT rect{0, 0, 100, 200};
    ASSERT_TRUE(DrawWrappedText(canvas.dc(), "abc", 1, &rect, TRUE));
    EXPECT_EQ(rect.bottom, 3 * h);
    // Two double-byte characters make two lines, not four.
    rect = RECT{0, 0, 100, 200};
    ASSERT_TRUE(DrawWrappedText(canvas.dc(), "中文", 1, &rect, TRUE));
    SIZE one{};
    GetTextExtentPoint32(canvas.dc(), "中", 2, &one);
    EXPECT_EQ(rect.bottom, 2 * one.cy);
}

TEST(EtchedTextTest, HighlightBelowRightAndTheTextOnTop) {
    TextCanvas canvas(120, 40);
    ASSERT_GT(LineHeight(canvas.dc()), 0) << "no font installed";
    canvas.Clear(RGB(0, 0, 255));
    CDC* dc = CDC::FromHandle(canvas.dc());
    SetBkMode(canvas.dc(), TRANSPARENT);
    CRect rect(10, 5, 110, 35);
    COLORREF before = dc->GetTextColor();
    EXPECT_EQ(DrawEtchedText(dc, &rect, "Hi", TRUE), 1);
    EXPECT_EQ(dc->GetTextColor(), before);
    bool shadow = false, highlight = false;
    for (uint32_t p : canvas.Pixels()) {
        shadow = shadow || (p & 0xFFFFFF) == 0x808080;
        highlight = highlight || (p & 0xFFFFFF) == 0xFFFFFF;
    }
    EXPECT_TRUE(shadow);
    EXPECT_TRUE(highlight);
    RECT ink = canvas.InkBox(RGB(0, 0, 255));
    EXPECT_GE(ink.left, 10);
}

TEST(DarkenedTest, HalvesTheTargetAndOrsTheSource) {
    GdiCanvas target(8, 8), source(8, 8);
    target.Fill(0xF0C0A0);
    source.Fill(0x010203);
    DrawOverDarkened(CDC::FromHandle(target.dc()), 2, 2, 4, 4, CDC::FromHandle(source.dc()));
    EXPECT_EQ(target.At(3, 3) & 0xFFFFFF, (0xF0C0A0u & 0x7F7F7F) | 0x010203u);
    EXPECT_EQ(target.At(6, 6) & 0xFFFFFF, 0xF0C0A0u);
}

} // namespace
} // namespace ui_test
