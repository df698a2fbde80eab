#include "tests/support/TextCanvas.h"

#include "platform/CodePage.h"
#include "platform/text/FontEngine.h"
#include "platform/text/Text.h"
#include "platform/text/TextLayout.h"

#include <gtest/gtest.h>

using platform::LayOutText;

namespace {

HFONT Song16() {
    return CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
}

platform::FontInstance& Font16() {
    static auto font = platform::FontEngine::Default().Instance(platform::FontRequest{16});
    return *font;
}

int Width(const char* text) {
    return platform::LineWidth(Font16(), text);
}

std::vector<std::string> Lines(const char* text, int width, UINT format) {
    std::vector<std::string> lines;
    for (const auto& line : LayOutText(Font16(), text, width, format).lines)
        lines.push_back(line.text);
    return lines;
}

class DrawTextOnCanvas : public ::testing::Test {
protected:
    DrawTextOnCanvas() : canvas(200, 60), expected(200, 60) {
        for (TextCanvas* c : {&canvas, &expected}) {
            SelectObject(c->dc(), fonts[c == &expected]);
            SetBkMode(c->dc(), TRANSPARENT);
        }
    }
    ~DrawTextOnCanvas() override {
        SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
        SelectObject(expected.dc(), GetStockObject(SYSTEM_FONT));
        for (HFONT font : fonts)
            DeleteObject(font);
    }
    HFONT fonts[2] = {Song16(), Song16()};
    TextCanvas canvas;
    TextCanvas expected;
};

} // namespace

TEST_F(DrawTextOnCanvas, PlacesSingleLinesAsTextOutWould) {
    const char* text = "中文ab";
    int cx = Width(text);
    struct Case {
        UINT format;
        int x, y, returned;
    } cases[] = {
        {DT_SINGLELINE, 10, 10, 16},
        {DT_SINGLELINE | DT_VCENTER | DT_CENTER, 10 + (180 - cx) / 2, 10 + (40 - 16) / 2, 28},
        {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 190 - cx, 50 - 16, 40},
    };
    for (const Case& c : cases) {
        canvas.Clear(RGB(255, 255, 255));
        expected.Clear(RGB(255, 255, 255));
        RECT rect{10, 10, 190, 50};
        EXPECT_EQ(DrawText(canvas.dc(), text, -1, &rect, c.format), c.returned);
        TextOut(expected.dc(), c.x, c.y, text, int(strlen(text)));
        EXPECT_EQ(canvas.Pixels(), expected.Pixels()) << std::hex << c.format;
        EXPECT_GT(canvas.InkBox().right, 0);
    }
}

TEST_F(DrawTextOnCanvas, CalcRectMeasuresAndDrawsNothing) {
    RECT rect{5, 5, 100, 100};
    EXPECT_EQ(DrawText(canvas.dc(), "中文ab", -1, &rect, DT_SINGLELINE | DT_CALCRECT), 16);
    EXPECT_EQ(rect.right, 5 + Width("中文ab"));
    EXPECT_EQ(rect.bottom, 5 + 16);
    RECT two{5, 5, 100, 100};
    EXPECT_EQ(DrawText(canvas.dc(), "ab\r\nlonger line", -1, &two, DT_CALCRECT), 32);
    EXPECT_EQ(two.right, 5 + Width("longer line"));
    EXPECT_EQ(canvas.InkBox().right, 0);
    RECT empty{5, 5, 100, 100};
    EXPECT_EQ(DrawText(canvas.dc(), "", -1, &empty, DT_CALCRECT), 0);
}

TEST_F(DrawTextOnCanvas, ClipsToTheRectangleUnlessNoClip) {
    RECT rect{0, 0, 30, 20};
    DrawText(canvas.dc(), "中文中文中文", -1, &rect, DT_SINGLELINE);
    EXPECT_LE(canvas.InkBox().right, 30);
    DrawText(canvas.dc(), "中文中文中文", -1, &rect, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(canvas.InkBox().right, 30);
}

TEST_F(DrawTextOnCanvas, EditControlHidesAPartlyVisibleLastLine) {
    RECT rect{0, 0, 200, 24}; // one and a half lines
    DrawText(canvas.dc(), "ab\ncd\nef", -1, &rect, DT_EDITCONTROL);
    EXPECT_LE(canvas.InkBox().bottom, 16);
    DrawText(expected.dc(), "ab\ncd\nef", -1, &rect, 0);
    EXPECT_GT(expected.InkBox().bottom, 16);
    EXPECT_LE(expected.InkBox().bottom, 24);
}

TEST_F(DrawTextOnCanvas, PrefixUnderlinesOneCharacter) {
    RECT rect{0, 0, 200, 30};
    DrawText(canvas.dc(), "&F", -1, &rect, DT_SINGLELINE);
    DrawText(expected.dc(), "F", -1, &rect, DT_SINGLELINE | DT_NOPREFIX);
    RECT underlined = canvas.InkBox(), plain = expected.InkBox();
    EXPECT_GT(underlined.bottom, plain.bottom);
    EXPECT_LE(underlined.right, Width("F"));
}

TEST(DrawTextLayout, WrapsAtSpacesAndDropsThem) {
    int width = Width("hello world") + 2;
    EXPECT_EQ(Lines("hello world again", width, DT_WORDBREAK),
              (std::vector<std::string>{"hello world", "again"}));
    EXPECT_EQ(Lines("hello    world", Width("hello"), DT_WORDBREAK),
              (std::vector<std::string>{"hello", "world"}));
}

TEST(DrawTextLayout, WrapsBetweenChineseCharactersNeverInsideOne) {
    const char* text = "一二三四五六七八ab九十";
    int width = Width("一二三") + Width("一") / 2;
    auto lines = Lines(text, width, DT_WORDBREAK);
    ASSERT_GE(lines.size(), 3u);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(Width(line.c_str()), width) << line;
        EXPECT_EQ(platform::GbkToUnicode(line).find(platform::kReplacementChar),
                  std::u32string::npos);
        joined += line;
    }
    EXPECT_EQ(joined, text);
    EXPECT_EQ(lines[0], "一二三");
}

TEST(DrawTextLayout, LongWordsStayWholeUnlessEditControl) {
    int width = Width("aaa");
    EXPECT_EQ(Lines("aaaaaaaaa b", width, DT_WORDBREAK),
              (std::vector<std::string>{"aaaaaaaaa", "b"}));
    EXPECT_EQ(Lines("aaaaaaaaa", width, DT_WORDBREAK | DT_EDITCONTROL),
              (std::vector<std::string>{"aaa", "aaa", "aaa"}));
}

TEST(DrawTextLayout, LineBreaksAndSingleLine) {
    EXPECT_EQ(Lines("ab\r\ncd\ref\ngh", 500, 0),
              (std::vector<std::string>{"ab", "cd", "ef", "gh"}));
    EXPECT_EQ(Lines("ab\r\ncd", 500, DT_SINGLELINE), (std::vector<std::string>{"ab\r\ncd"}));
    EXPECT_EQ(Width("ab\r\ncd"), Width("abcd")); // line ends take no room
}

TEST(DrawTextLayout, EndEllipsisCutsWholeCharacters) {
    for (const char* text : {"中文中文中文中文", "a中文中文中文中文", "abcdefghijklmnop"}) {
        int width = Width("中文中") + 3;
        auto layout = LayOutText(Font16(), text, width, DT_SINGLELINE | DT_END_ELLIPSIS);
        ASSERT_EQ(layout.lines.size(), 1u);
        const std::string& line = layout.lines[0].text;
        ASSERT_GE(line.size(), 3u);
        EXPECT_EQ(line.substr(line.size() - 3), "...") << text;
        EXPECT_LE(layout.lines[0].width, width) << text;
        std::string kept = line.substr(0, line.size() - 3);
        EXPECT_EQ(std::string(text).compare(0, kept.size(), kept), 0);
        EXPECT_EQ(platform::GbkToUnicode(kept).find(platform::kReplacementChar),
                  std::u32string::npos);
    }
    // Text that fits is left alone.
    EXPECT_EQ(Lines("中文", 500, DT_SINGLELINE | DT_END_ELLIPSIS),
              (std::vector<std::string>{"中文"}));
}

TEST(DrawTextLayout, Prefixes) {
    auto marked = LayOutText(Font16(), "&File", 500, DT_SINGLELINE);
    EXPECT_EQ(marked.lines[0].text, "File");
    EXPECT_EQ(marked.lines[0].underlinedChar, 0);
    auto doubled = LayOutText(Font16(), "a&&b", 500, DT_SINGLELINE);
    EXPECT_EQ(doubled.lines[0].text, "a&b");
    EXPECT_EQ(doubled.lines[0].underlinedChar, -1);
    EXPECT_EQ(Lines("&File", 500, DT_SINGLELINE | DT_NOPREFIX),
              (std::vector<std::string>{"&File"}));
    auto hidden = LayOutText(Font16(), "&File", 500, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(hidden.lines[0].text, "File");
    EXPECT_EQ(hidden.lines[0].underlinedChar, -1);
    auto chinese = LayOutText(Font16(), "文件(&F)", 500, DT_SINGLELINE);
    EXPECT_EQ(chinese.lines[0].text, "文件(F)");
    EXPECT_EQ(chinese.lines[0].underlinedChar, 5);
}

TEST(DrawTextLayout, TabsExpandToStops) {
    int stop = 8 * Font16().Metrics().averageCharWidth;
    EXPECT_EQ(platform::LineWidth(Font16(), "a\tb", platform::LineStyle{stop}), stop + Width("b"));
    EXPECT_EQ(LayOutText(Font16(), "a\tb", 500, DT_SINGLELINE | DT_EXPANDTABS).lines[0].width,
              stop + Width("b"));
}
