#include "tests/support/TextCanvas.h"

#include "platform/text/CFont.h"
#include "platform/text/FontEngine.h"
#include "platform/text/GlyphPainter.h"
#include "platform/text/Text.h"

#include <gtest/gtest.h>

namespace {

HFONT Song(int height, int weight = FW_NORMAL, bool italic = false, bool underline = false,
           int quality = DRAFT_QUALITY, int width = 0) {
    return CreateFont(height, width, 0, 0, weight, italic, underline, FALSE, GB2312_CHARSET,
                      OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, quality, VARIABLE_PITCH, "宋体");
}

// Selects a font into a DC for one scope and deletes it afterwards.
class Selected {
public:
    Selected(HDC dc, HFONT font) : m_dc(dc), m_font(font), m_old(SelectObject(dc, font)) {}
    ~Selected() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_font);
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
};

SIZE Extent(HDC dc, const char* text) {
    SIZE size{-1, -1};
    EXPECT_TRUE(GetTextExtentPoint32(dc, text, int(strlen(text)), &size));
    return size;
}

} // namespace

TEST(Font, HeightFollowsTheLogFontRules) {
    TextCanvas canvas(8, 8);
    TEXTMETRIC tm;
    {
        Selected font(canvas.dc(), Song(-12));
        ASSERT_TRUE(GetTextMetrics(canvas.dc(), &tm));
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12); // character height
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    }
    for (int cell : {12, 14, 16, 20}) {
        Selected font(canvas.dc(), Song(cell));
        ASSERT_TRUE(GetTextMetrics(canvas.dc(), &tm));
        EXPECT_EQ(tm.tmHeight, cell);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, cell);
        EXPECT_EQ(Extent(canvas.dc(), "中").cy, cell);
    }
}

TEST(Font, EveryFaceNameTheProgramUsesDraws) {
    TextCanvas canvas(8, 8);
    for (const char* face :
         {"宋体", "新宋体", "黑体", "楷体_GB2312", "Arial", "Tahoma", "System"}) {
        Selected font(canvas.dc(), CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0,
                                              0, 0, 0, face));
        EXPECT_GT(Extent(canvas.dc(), "中文").cx, 0) << face;
    }
}

TEST(Font, ExtentsAreStableAndAddUp) {
    TextCanvas canvas(8, 8);
    Selected font(canvas.dc(), Song(14));
    int one = Extent(canvas.dc(), "中").cx;
    EXPECT_GT(one, 0);
    EXPECT_EQ(Extent(canvas.dc(), "中中中").cx, 3 * one);
    EXPECT_EQ(Extent(canvas.dc(), "中文ab").cx,
              Extent(canvas.dc(), "中文").cx + Extent(canvas.dc(), "ab").cx);
    EXPECT_EQ(Extent(canvas.dc(), "中文ab").cx, Extent(canvas.dc(), "中文ab").cx);
    EXPECT_EQ(Extent(canvas.dc(), "").cx, 0);
}

TEST(Font, BoldAddsAColumnPerCharacterAndWidthScales) {
    TextCanvas canvas(8, 8);
    int normal, bold, narrow, wide;
    {
        Selected font(canvas.dc(), Song(-12));
        normal = Extent(canvas.dc(), "中文").cx;
    }
    {
        Selected font(canvas.dc(), Song(-12, FW_BOLD));
        bold = Extent(canvas.dc(), "中文").cx;
    }
    {
        Selected font(canvas.dc(), Song(-12, FW_NORMAL, false, false, DRAFT_QUALITY, 4));
        narrow = Extent(canvas.dc(), "中").cx;
    }
    {
        Selected font(canvas.dc(), Song(-12, FW_NORMAL, false, false, DRAFT_QUALITY, 10));
        wide = Extent(canvas.dc(), "中").cx;
    }
    EXPECT_EQ(bold, normal + 2);
    EXPECT_LT(narrow, normal / 2);
    EXPECT_GT(wide, normal / 2 + 4);
}

TEST(Font, FixedPitchFacesGiveEveryLetterOneWidth) {
    TextCanvas canvas(8, 8);
    Selected font(canvas.dc(), CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0,
                                          0, "新宋体"));
    EXPECT_EQ(Extent(canvas.dc(), "i").cx, Extent(canvas.dc(), "W").cx);
}

TEST(Font, EveryGlyphPixelLiesInsideTheReportedBox) {
    const char* text = "中文字Wgjy|_[]";
    struct Case {
        HFONT font;
        const char* name;
    } cases[] = {
        {Song(12), "cell 12"},
        {Song(-16), "char 16"},
        {Song(20, FW_BOLD), "bold"},
        {Song(-14, FW_NORMAL, true), "italic"},
        {Song(-14, FW_NORMAL, false, true), "underlined"},
        {Song(-15, FW_SEMIBOLD, true, true, ANTIALIASED_QUALITY), "antialiased"},
    };
    for (const Case& c : cases) {
        TextCanvas canvas(220, 40);
        Selected font(canvas.dc(), c.font);
        SetBkMode(canvas.dc(), TRANSPARENT);
        SetTextColor(canvas.dc(), RGB(0, 0, 0));
        ASSERT_TRUE(TextOut(canvas.dc(), 7, 5, text, int(strlen(text))));
        SIZE size = Extent(canvas.dc(), text);
        RECT box{7, 5, 7 + size.cx, 5 + size.cy};
        RECT ink = canvas.InkBox();
        EXPECT_GT(ink.right - ink.left, size.cx / 2) << c.name;
        EXPECT_TRUE(Inside(ink, box))
            << c.name << ": ink " << ink.left << "," << ink.top << "," << ink.right << ","
            << ink.bottom << " box " << box.right << "," << box.bottom;
        if (HasFailure())
            canvas.SaveForInspection(std::string("glyph-box-") + c.name);
    }
}

TEST(Font, OpaqueModeFillsExactlyTheTextCells) {
    TextCanvas canvas(100, 40);
    Selected font(canvas.dc(), Song(16));
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), RGB(255, 0, 0));
    SetTextColor(canvas.dc(), RGB(0, 0, 255));
    ASSERT_TRUE(TextOut(canvas.dc(), 3, 4, "中a", 3));
    SIZE size = Extent(canvas.dc(), "中a");
    RECT ink = canvas.InkBox();
    EXPECT_EQ(ink.left, 3);
    EXPECT_EQ(ink.top, 4);
    EXPECT_EQ(ink.right, 3 + size.cx);
    EXPECT_EQ(ink.bottom, 4 + size.cy);
    int red = canvas.Count(RGB(255, 0, 0)), blue = canvas.Count(RGB(0, 0, 255));
    EXPECT_GT(blue, 10);
    EXPECT_EQ(red + blue, size.cx * size.cy); // mono glyphs: text or background, nothing else
}

TEST(Font, TextStaysInsideTheClip) {
    TextCanvas canvas(200, 30);
    Selected font(canvas.dc(), Song(16));
    SetBkMode(canvas.dc(), TRANSPARENT);
    IntersectClipRect(canvas.dc(), 0, 0, 20, 30);
    ASSERT_TRUE(TextOut(canvas.dc(), 0, 0, "中文中文中文", 12));
    RECT ink = canvas.InkBox();
    EXPECT_GT(ink.right, 0);
    EXPECT_LE(ink.right, 20);
    // Drawing off the surface's edges is clipped, not a fault.
    EXPECT_TRUE(TextOut(canvas.dc(), -30, -5, "中文中文中文", 12));
    EXPECT_TRUE(TextOut(canvas.dc(), 195, 25, "中文中文中文", 12));
}

TEST(Font, FitCountsWholeDoubleByteCharacters) {
    TextCanvas canvas(8, 8);
    Selected font(canvas.dc(), Song(14));
    int w = Extent(canvas.dc(), "中").cx;
    int fit = -1;
    int extents[6] = {0};
    SIZE size;
    ASSERT_TRUE(GetTextExtentExPoint(canvas.dc(), "中文字", 6, w * 5 / 2, &fit, extents, &size));
    EXPECT_EQ(fit, 4); // two characters, four bytes: never one byte of the third
    EXPECT_EQ(extents[0], w);
    EXPECT_EQ(extents[1], w);
    EXPECT_EQ(extents[3], 2 * w);
    EXPECT_EQ(size.cx, 3 * w);
}

TEST(Font, SelectionAndDescription) {
    TextCanvas canvas(8, 8);
    HFONT font = Song(-12, FW_BOLD);
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    ASSERT_NE(old, nullptr); // the DC's stock font
    EXPECT_EQ(GetObjectType(old), DWORD(OBJ_FONT));
    LOGFONT described{};
    ASSERT_EQ(GetObject(font, sizeof(LOGFONT), &described), int(sizeof(LOGFONT)));
    EXPECT_EQ(described.lfHeight, -12);
    EXPECT_EQ(described.lfWeight, FW_BOLD);
    EXPECT_STREQ(described.lfFaceName, "宋体");
    EXPECT_EQ(SelectObject(canvas.dc(), old), font);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), DWORD(OBJ_FONT));
}

TEST(Font, CFontWrapsAFont) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "宋体"));
    LOGFONT lf{};
    ASSERT_TRUE(font.GetLogFont(&lf));
    EXPECT_EQ(lf.lfHeight, -12);                    // 9 points at 96 dots per inch
    EXPECT_FALSE(font.CreatePointFont(90, "宋体")); // already holds one

    CFont copy;
    lf.lfWeight = FW_BOLD;
    ASSERT_TRUE(copy.CreateFontIndirect(&lf));
    HGDIOBJ handle = copy.Detach();
    EXPECT_EQ(copy.GetSafeHandle(), nullptr);
    EXPECT_TRUE(DeleteObject(handle));

    HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    EXPECT_EQ(CFont::FromHandle(stock), CFont::FromHandle(stock));
    EXPECT_EQ(HFONT(*CFont::FromHandle(stock)), stock);
}

TEST(Font, WithoutAFontFileNothingIsMeasuredOrDrawn) {
    platform::FontEngine engine({"/nonexistent/font.ttc", "/etc/hostname"});
    EXPECT_FALSE(engine.HasFont());
    auto font = engine.Instance(platform::FontRequest{-12});
    EXPECT_FALSE(font->Usable());
    EXPECT_EQ(font->Metrics().height, 0);
    EXPECT_EQ(platform::LineWidth(*font, "中文"), 0);

    platform::Surface surface(16, 16, platform::PixelFormat::Xrgb32());
    platform::TextInk ink;
    ink.color = 0xFFFFFF;
    ink.opaque = true;
    ink.background = 0xFF0000;
    platform::PaintLine(surface, {RECT{0, 0, 16, 16}}, nullptr, *font, "中文", 0, 0, ink);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(surface.GetPixel(x, y), 0u);
}

TEST(Font, DrawsOnMonochromeBitmapsToo) {
    GdiCanvas mask(60, 20, true);
    mask.Fill(platform::kWhitePixel);
    Selected font(mask.dc(), Song(16));
    SetBkMode(mask.dc(), TRANSPARENT);
    SetTextColor(mask.dc(), RGB(0, 0, 0));
    ASSERT_TRUE(TextOut(mask.dc(), 2, 2, "中文", 4));
    SIZE size = Extent(mask.dc(), "中文");
    int black = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (mask.At(x, y) == platform::kWhitePixel)
                continue;
            ++black;
            EXPECT_TRUE(x >= 2 && x < 2 + size.cx && y >= 2 && y < 2 + size.cy) << x << "," << y;
        }
    }
    EXPECT_GT(black, 20);
}
