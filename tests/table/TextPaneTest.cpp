// The start pane: its keys and their defaults, a format that may only take
// the one integer it is given, and the text drawn where the layout says.

#include "table/panes/TextPaneImage.h"
#include "tests/table/TableTestKit.h"

namespace {

using namespace table_test;

const uint32_t kFelt = 0x00206040;

TEST(PaneTextFormatTest, OnlyOneIntegerFieldIsFormatted) {
    EXPECT_EQ(FormatPaneText("底分：%d", 5), "底分：5");
    EXPECT_EQ(FormatPaneText("%04d%%", 42), "0042%");
    EXPECT_EQ(FormatPaneText("x%-3ux", 7), "x7  x");
    EXPECT_EQ(FormatPaneText("plain", 7), "plain");
    // Anything that would read an argument never passed stands as it is.
    EXPECT_EQ(FormatPaneText("%s", 7), "%s");
    EXPECT_EQ(FormatPaneText("%d %d", 7), "%d %d");
    EXPECT_EQ(FormatPaneText("%n", 7), "%n");
    EXPECT_EQ(FormatPaneText("%*d", 7), "%*d");
    EXPECT_EQ(FormatPaneText("100%", 7), "100%");
    EXPECT_EQ(FormatPaneText(nullptr, 7), "");
}

TEST(TextPaneTest, DefaultsWhenTheKeysAreMissing) {
    PaneFolder panes;
    panes.Layout("[PANE_START]\nbkgndNoMuliple_bmp=start.bmp\n");
    panes.Bitmap("start.bmp",
                 Picture(40, 10, [](int x, int) { return x < 20 ? 0x00334455u : 0x00FFFFFFu; }));
    CTextPaneImage pane(500);
    EXPECT_FALSE(pane.LoadTextPane(panes.layoutFile.c_str(), "PANE_START", TRUE));
    ASSERT_TRUE(pane.LoadTextPane(panes.layoutFile.c_str(), "PANE_START", FALSE));
    EXPECT_EQ(pane.m_cx, 20);
    EXPECT_EQ(pane.m_cy, 10);
    EXPECT_EQ(pane.GetFormat(), "");
    EXPECT_EQ(pane.GetFaceName(), "宋体");
    EXPECT_EQ(pane.GetFontSize(), -12);
    EXPECT_EQ(pane.GetTextPoint().x, 0);
    EXPECT_EQ(pane.GetTextColour(), RGB(255, 255, 255));
}

TEST(TextPaneTest, DefaultThemeStartPaneWritesItsLineAtItsPoint) {
    LogCapture log;
    CTextPaneImage pane(500);
    ASSERT_TRUE(pane.LoadTextPane(kLayoutFile.c_str(), "PANE_START", TRUE));
    EXPECT_EQ(pane.GetFormat(), "底分：%d");
    EXPECT_EQ(pane.GetFontSize(), -14);
    EXPECT_EQ(pane.GetTextPoint().x, 20);
    EXPECT_EQ(pane.GetTextPoint().y, 14);
    const COLORREF colour = pane.GetTextColour();
    EXPECT_EQ(colour, RGB(255, 236, 160));
    pane.m_nValue = 300;
    GdiCanvas canvas(pane.m_cx, pane.m_cy);
    canvas.Fill(kFelt);
    DrawWhole(pane, canvas, 0, 0);
    int inked = 0, stray = 0;
    for (int y = 0; y < pane.m_cy; ++y)
        for (int x = 0; x < pane.m_cx; ++x)
            if (Near(canvas.At(x, y), Rgb(colour), 30)) {
                const bool nearPoint = x >= 20 && x < 140 && y >= 14 && y < 34;
                (nearPoint ? inked : stray) += 1;
            }
    EXPECT_GT(inked, 30);
    EXPECT_EQ(stray, 0);
    EXPECT_EQ(log.Text().find("format_text"), std::string::npos);
    SaveSheet("pane_start.png", CanvasImage(canvas));
}

TEST(TextPaneTest, ABrokenFormatIsLoggedAndWrittenAsItStands) {
    LogCapture log;
    PaneFolder panes;
    panes.Layout("[PANE_START]\nbkgnd_bmp=start.bmp\nformat_text=%s%s%s\n"
                 "offset_text=oops\nfont_color=1,2\n");
    panes.Bitmap("start.bmp",
                 Picture(200, 40, [](int x, int) { return x < 100 ? 0u : 0x00FFFFFFu; }));
    CTextPaneImage pane(500);
    ASSERT_TRUE(pane.LoadTextPane(panes.layoutFile.c_str(), "PANE_START", TRUE));
    EXPECT_EQ(pane.GetTextPoint().y, 0);
    EXPECT_EQ(pane.GetTextColour(), RGB(255, 255, 255));
    EXPECT_NE(log.Text().find("Pane [PANE_START] format_text"), std::string::npos);
    GdiCanvas canvas(100, 40);
    canvas.Fill(kFelt);
    DrawWhole(pane, canvas, 0, 0); // must not read arguments never passed
    int white = 0;
    for (uint32_t p : canvas.Pixels())
        white += Near(p, 0x00FFFFFF, 60);
    EXPECT_GT(white, 10);
}

} // namespace
