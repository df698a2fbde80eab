// Paths: text and shapes recorded between BeginPath and EndPath become a
// region with the shapes' pixels, and nothing is drawn meanwhile.

#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "tests/support/GdiCanvas.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

HFONT Song(int height) {
    return CreateFont(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                      OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH, "宋体");
}

TEST(TextPathTest, TheRegionOfATextHasItsGlyphsShape) {
    GdiCanvas canvas(80, 60);
    HFONT font = Song(-48);
    HGDIOBJ oldFont = SelectObject(canvas.dc(), font);
    const char* text = "口"; // a closed box: its inside is a hole
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32(canvas.dc(), text, int(strlen(text)), &size));

    canvas.Fill(0x123456);
    ASSERT_TRUE(BeginPath(canvas.dc()));
    SetBkMode(canvas.dc(), OPAQUE); // the background box is no part of a path
    ASSERT_TRUE(TextOut(canvas.dc(), 10, 5, text, int(strlen(text))));
    ASSERT_TRUE(EndPath(canvas.dc()));
    for (uint32_t pixel : canvas.Pixels())
        ASSERT_EQ(pixel, 0x123456u); // nothing drawn while recording
    HRGN region = PathToRegion(canvas.dc());
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(PathToRegion(canvas.dc()), nullptr); // the path is used up

    // The same text drawn white on black covers exactly the region's pixels.
    canvas.Fill(0);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), RGB(255, 255, 255));
    TextOut(canvas.dc(), 10, 5, text, int(strlen(text)));
    int inside = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            bool ink = ((canvas.At(x, y) >> 8) & 0xFF) >= 0x80;
            ASSERT_EQ(PtInRegion(region, x, y) != 0, ink) << x << "," << y;
            inside += ink;
        }
    EXPECT_GT(inside, 40);
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
    EXPECT_GE(box.left, 10);
    EXPECT_LE(box.right, 10 + size.cx);
    EXPECT_GE(box.top, 5);
    EXPECT_LE(box.bottom, 5 + size.cy);
    // The box's middle is a hole; its left stroke at mid-height is not.
    int midY = (box.top + box.bottom) / 2;
    EXPECT_FALSE(PtInRegion(region, (box.left + box.right) / 2, midY));
    bool leftStroke = false;
    for (int x = box.left; x < box.left + 8; ++x)
        leftStroke |= PtInRegion(region, x, midY) != 0;
    EXPECT_TRUE(leftStroke);
    DeleteObject(region);
    SelectObject(canvas.dc(), oldFont);
    DeleteObject(font);
}

TEST(TextPathTest, ShapesAndLineFiguresFillTheRegion) {
    GdiCanvas canvas(40, 40);
    SetViewportOrgEx(canvas.dc(), 5, 0, nullptr); // paths are kept in device units
    BeginPath(canvas.dc());
    Rectangle(canvas.dc(), 0, 0, 4, 3);
    MoveToEx(canvas.dc(), 10, 10, nullptr);
    LineTo(canvas.dc(), 20, 10);
    LineTo(canvas.dc(), 20, 20);
    LineTo(canvas.dc(), 10, 20); // closed when the path becomes a region
    EndPath(canvas.dc());
    EXPECT_EQ(canvas.At(6, 1), 0u); // not drawn
    HRGN region = PathToRegion(canvas.dc());
    ASSERT_NE(region, nullptr);
    HRGN expected = CreateRectRgn(5, 0, 9, 3);
    HRGN square = CreateRectRgn(15, 10, 25, 20);
    CombineRgn(expected, expected, square, RGN_OR);
    EXPECT_TRUE(EqualRgn(region, expected));
    DeleteObject(region);
    DeleteObject(expected);
    DeleteObject(square);

    // An empty path gives an empty region; no ended path gives none.
    BeginPath(canvas.dc());
    EndPath(canvas.dc());
    region = PathToRegion(canvas.dc());
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), NULLREGION);
    DeleteObject(region);
    BeginPath(canvas.dc());
    EXPECT_EQ(PathToRegion(canvas.dc()), nullptr); // still open
    EXPECT_TRUE(AbortPath(canvas.dc()));
    Rectangle(canvas.dc(), 0, 0, 4, 3);    // drawn again once the path is gone
    EXPECT_EQ(canvas.At(5, 0), 0u);        // black pen outline
    EXPECT_EQ(canvas.At(6, 1), 0xFFFFFFu); // white brush inside
    EXPECT_FALSE(EndPath(canvas.dc()));
    EXPECT_EQ(PathToRegion(nullptr), nullptr);
}

TEST(TextPathTest, FillPathPaintsWithTheBrush) {
    GdiCanvas canvas(10, 10);
    canvas.Fill(0);
    BeginPath(canvas.dc());
    POINT triangle[] = {{0, 0}, {8, 0}, {0, 8}};
    Polygon(canvas.dc(), triangle, 3);
    EndPath(canvas.dc());
    EXPECT_EQ(canvas.At(1, 1), 0u);
    ASSERT_TRUE(FillPath(canvas.dc()));
    EXPECT_EQ(canvas.At(1, 1), 0xFFFFFFu); // the stock white brush
    EXPECT_EQ(canvas.At(7, 7), 0u);
    EXPECT_FALSE(FillPath(canvas.dc())); // used up
}

} // namespace
