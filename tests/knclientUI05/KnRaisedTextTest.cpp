// Raised text of the drawing utilities: scaling to the rectangle, the order
// of the shading copies and the DC left as it was.

#include "tests/knclientUI05/BitmapKit.h"
#include "tests/support/TextCanvas.h"

#include "knclientUI05/KnClientPublic.h"
#include "platform/window/SystemMetrics.h"

#include <gtest/gtest.h>

#include <climits>

namespace ui_test {
namespace {

constexpr COLORREF kPaper = RGB(0, 0, 128);
constexpr COLORREF kFace = RGB(255, 0, 0);

struct Drawn {
    RECT all;  // every pixel that is not paper
    RECT face; // the face colour's pixels
};

Drawn DrawRaised(TextCanvas& canvas, LPCSTR text, CRect rect) {
    canvas.Clear(kPaper);
    DrawRaisedText(CDC::FromHandle(canvas.dc()), text, &rect, kFace, nullptr);
    Drawn d{canvas.InkBox(kPaper), {INT_MAX, INT_MAX, 0, 0}};
    uint32_t face = platform::PixelFromColor(kFace);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.At(x, y) == face) {
                d.face.left = std::min<LONG>(d.face.left, x);
                d.face.top = std::min<LONG>(d.face.top, y);
                d.face.right = std::max<LONG>(d.face.right, x + 1);
                d.face.bottom = std::max<LONG>(d.face.bottom, y + 1);
            }
    return d;
}

TEST(RaisedTextTest, ShadingCopiesSurroundTheFace) {
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(dark, light);
    TextCanvas canvas(240, 100);
    Drawn d = DrawRaised(canvas, "Hi", CRect(10, 10, 230, 90));
    ASSERT_GT(d.face.right, 0) << "no face pixels";
    // The copies reach two pixels past the face on every side.
    EXPECT_EQ(d.all.left, d.face.left - 2);
    EXPECT_EQ(d.all.top, d.face.top - 2);
    EXPECT_EQ(d.all.right, d.face.right + 2);
    EXPECT_EQ(d.all.bottom, d.face.bottom + 2);
    // Only the dark copy reaches furthest down-right, only the highlight
    // furthest up-left; the later copies do not cover them there.
    int best = INT_MIN, worst = INT_MAX;
    uint32_t lowRight = 0, upLeft = 0, paper = platform::PixelFromColor(kPaper);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.At(x, y) == paper)
                continue;
            if (x + y > best)
                best = x + y, lowRight = canvas.At(x, y);
            if (x + y < worst)
                worst = x + y, upLeft = canvas.At(x, y);
        }
    EXPECT_EQ(lowRight & 0xFFFFFF, Rgb(dark));
    EXPECT_EQ(upLeft & 0xFFFFFF, Rgb(light));
    for (int index : {COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DLIGHT})
        EXPECT_GT(canvas.Count(GetSysColor(index)), 0) << "colour " << index;
}

TEST(RaisedTextTest, TextGrowsToTheTighterSideOfTheRectangle) {
    TextCanvas canvas(400, 200);
    Drawn small = DrawRaised(canvas, "Hi", CRect(0, 0, 390, 30));
    Drawn tall = DrawRaised(canvas, "Hi", CRect(0, 0, 390, 90));
    int smallHeight = small.face.bottom - small.face.top;
    int tallHeight = tall.face.bottom - tall.face.top;
    EXPECT_GT(tallHeight, smallHeight * 2);
    EXPECT_LE(tall.all.bottom, 90 + 5);
    // A narrow rectangle limits by its width instead.
    Drawn narrow = DrawRaised(canvas, "Hello", CRect(100, 0, 160, 190));
    EXPECT_LE(narrow.face.right - narrow.face.left, 60);
    EXPECT_GE(narrow.face.left, 100);
    EXPECT_LT(narrow.face.bottom - narrow.face.top, 60);
    // Centred (three pixels down-right): equal room on both sides, give or
    // take the glyphs' own bearings.
    int leftRoom = narrow.face.left - 100, rightRoom = 160 - narrow.face.right;
    EXPECT_NEAR(leftRoom - rightRoom, 6, 6);
}

TEST(RaisedTextTest, LeavesTheDcAsItWasAndSkipsEmptyText) {
    TextCanvas canvas(120, 60);
    HDC dc = canvas.dc();
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    CRect rect(0, 0, 120, 60);
    DrawRaisedText(CDC::FromHandle(dc), "Ok", &rect, kFace, nullptr);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);

    canvas.Clear(kPaper);
    DrawRaisedText(CDC::FromHandle(dc), "", &rect, kFace, nullptr);
    DrawRaisedText(CDC::FromHandle(dc), nullptr, &rect, kFace, nullptr);
    EXPECT_EQ(canvas.Count(kPaper), 120 * 60);
}

} // namespace
} // namespace ui_test
