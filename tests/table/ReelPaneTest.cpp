// The reel pane: entries laid out in the text column, cut where they are too
// wide (never inside a character), moved up to keep the newest in view, and
// the 20-frame zoom that opens and closes it.

#include "platform/CodePage.h"
#include "platform/text/Text.h"
#include "table/panes/ReelPaneImage.h"
#include "tests/table/TableTestKit.h"

namespace {

using namespace table_test;

const uint32_t kFelt = 0x00206040;

class ReelPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pane.LoadReelPane(kLayoutFile.c_str(), "PANE_REEL"));
        font = CreatePaneFont(14, 600, GB2312_CHARSET);
        old = SelectObject(canvas.dc(), font);
    }
    void TearDown() override {
        SelectObject(canvas.dc(), old);
        DeleteObject(font);
    }
    int Width(const std::string& text) {
        SIZE extent{0, 0};
        GetTextExtentPoint32(canvas.dc(), text.c_str(), int(text.size()), &extent);
        return int(extent.cx);
    }
    CReelPaneImage pane{1010};
    GdiCanvas canvas{460, 580};
    HFONT font = nullptr;
    HGDIOBJ old = nullptr;
};

TEST_F(ReelPaneTest, ShortEntriesStackTenPixelsApart) {
    pane.AddReelLine("第一行");
    pane.AddReelLine("second");
    pane.AddReelLine("两行\n的一条");
    pane.LayOut(canvas.dc());
    ASSERT_EQ(pane.LaidOutCount(), 3);
    EXPECT_EQ(pane.EntryRect(0).left, 63);
    EXPECT_EQ(pane.EntryRect(0).top, 60);
    EXPECT_EQ(pane.EntryRect(0).right, 63 + 330);
    EXPECT_EQ(pane.EntryRect(0).bottom, 74);
    EXPECT_TRUE(pane.IsSingleLine(0));
    EXPECT_EQ(pane.EntryRect(1).top, 84);
    // A line feed makes two display lines, 5 pixels apart, in the wider box.
    EXPECT_FALSE(pane.IsSingleLine(2));
    EXPECT_EQ(pane.EntryRect(2).top, 108);
    EXPECT_EQ(pane.EntryRect(2).bottom, 108 + 2 * 14 + 5);
    EXPECT_EQ(pane.EntryRect(2).right, 63 + 340);
    pane.ClearReel();
    EXPECT_EQ(pane.LaidOutCount(), 0);
}

TEST_F(ReelPaneTest, WideLinesAreCutIntoWholeCharacters) {
    std::string ascii;
    while (Width(ascii) <= 330)
        ascii += "abcdefghij";
    const size_t piece = size_t(330 / Width("a"));
    std::vector<std::string> lines = CReelPaneImage::DisplayLines(canvas.dc(), ascii);
    ASSERT_GE(lines.size(), 2u);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), piece);
        joined += line;
    }
    EXPECT_EQ(joined, ascii);

    // A Chinese text led by one ASCII byte: every cut would fall inside a
    // character unless it steps back one byte.
    std::string chinese = "x";
    while (Width(chinese) <= 400)
        chinese += "够级六人对战";
    lines = CReelPaneImage::DisplayLines(canvas.dc(), chinese);
    ASSERT_GE(lines.size(), 2u);
    joined.clear();
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), piece);
        // No piece ends on a lead byte whose trail went to the next piece.
        size_t i = 0;
        while (i < line.size())
            i += IsDBCSLeadByte(BYTE(line[i])) ? 2 : 1;
        EXPECT_EQ(i, line.size()) << "a character split after " << line.size() << " bytes";
        joined += line;
    }
    EXPECT_EQ(joined, chinese);

    // The single-line box is 330 wide: a line wider than that is never one.
    std::string wide;
    while (Width(wide + "W") <= 330)
        wide += "W";
    pane.AddReelLine(wide.c_str());
    pane.AddReelLine((wide + "W").c_str());
    pane.LayOut(canvas.dc());
    EXPECT_TRUE(pane.IsSingleLine(0));
    EXPECT_FALSE(pane.IsSingleLine(1));
    EXPECT_GE(pane.EntryRect(1).right - pane.EntryRect(1).left, Width(wide + "W"));
}

TEST_F(ReelPaneTest, NewestEntryStaysInView) {
    for (int i = 0; i < 30; ++i)
        pane.AddReelLine(("第" + std::to_string(i) + "条").c_str());
    pane.LayOut(canvas.dc());
    ASSERT_EQ(pane.LaidOutCount(), 30);
    EXPECT_EQ(pane.EntryRect(29).bottom, 525);
    EXPECT_EQ(pane.EntryRect(28).bottom, 525 - 24);
    EXPECT_LT(pane.EntryRect(0).top, 55); // the oldest scrolled away
}

TEST(ReelTruncationTest, DropsAtLeastFourBytesOnACharacterBoundary) {
    EXPECT_EQ(CReelPaneImage::Truncated("abcdefgh"), "abcd ...");
    EXPECT_EQ(CReelPaneImage::Truncated("中文字符"), "中文 ...");
    EXPECT_EQ(CReelPaneImage::Truncated("a中文字"), "a中 ...");
    EXPECT_EQ(CReelPaneImage::Truncated("ab中文"), "ab ...");
    EXPECT_EQ(CReelPaneImage::Truncated("abc"), " ...");
}

TEST_F(ReelPaneTest, OpeningGrowsFromTheCentreAndClosingShrinks) {
    const int cx = pane.m_cx, cy = pane.m_cy;
    EXPECT_EQ(pane.GetFrameCount(nullptr), 20);
    ASSERT_TRUE(pane.IsOpening());
    RECT first = pane.GetRect(nullptr, 0);
    EXPECT_EQ(first.left, cx * 19 / 40);
    EXPECT_EQ(first.top, cy * 19 / 40);
    EXPECT_EQ(first.right, cx - cx * 19 / 40);
    EXPECT_EQ(pane.GetOrigin(nullptr, 0).x, cx * 19 / 40);
    RECT last = pane.GetRect(nullptr, 19);
    EXPECT_EQ(last.left, 0);
    EXPECT_EQ(last.bottom, cy);
    EXPECT_EQ(pane.GetFrameDelay(0), 1);
    EXPECT_EQ(pane.GetFrameDelay(19), kDefaultFrameDelay);
    pane.SetOpening(FALSE);
    EXPECT_EQ(pane.GetRect(nullptr, 0).left, 0);
    EXPECT_EQ(pane.GetRect(nullptr, 19).left, cx * 19 / 40);
    EXPECT_EQ(pane.GetFrameDelay(19), 1);
    for (int f = 1; f < 20; ++f)
        EXPECT_GE(pane.GetRect(nullptr, f).left, pane.GetRect(nullptr, f - 1).left);
}

TEST_F(ReelPaneTest, TextStaysInTheColumn) {
    for (int i = 0; i < 12; ++i)
        pane.AddReelLine(i % 3 == 0 ? "头科向大落进贡一张最大的牌，大落还一张任意的牌。"
                                      "四进一时，够级的牌不能被管。"
                                    : "出牌规则：三家一伙，先出完的一伙胜。");
    SelectObject(canvas.dc(), old);
    canvas.Fill(kFelt);
    DrawWhole(pane, canvas, 0, 0, 19);
    const uint32_t ink = Rgb(RGB(88, 34, 0));
    int inked = 0;
    for (int y = 0; y < pane.m_cy; ++y)
        for (int x = 0; x < pane.m_cx; ++x)
            if (Near(canvas.At(x, y), ink, 24)) {
                ASSERT_TRUE(x >= 63 && x < 403 && y >= 55 && y < 530) << x << "," << y;
                ++inked;
            }
    EXPECT_GT(inked, 1000);
    SaveSheet("pane_reel.png", CanvasImage(canvas));
    old = SelectObject(canvas.dc(), font);
}

} // namespace
