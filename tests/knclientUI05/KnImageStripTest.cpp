// Image lists cut from strips: whole cells, the mask colour and the corner
// pixel as key, refusals.

#include "tests/knclientUI05/BitmapKit.h"

#include "knclientUI05/KnClientPublic.h"

#include <gtest/gtest.h>

namespace ui_test {
namespace {

constexpr uint32_t kKey = 0xFF00FF;
constexpr uint32_t kPaper = 0x102030;
const uint32_t kCellColors[] = {0xC00000, 0x00B000, 0x0000A0, 0x777777};

// Cells of 30 x 20 in their own colour, with a keyed square at (5..9, 5..9)
// and the corner pixel (0, 0) of the whole strip in the key colour too.
HBITMAP MakeStrip(int width) {
    return MakeBitmap(width, 20, [](int x, int y) {
        int cx = x % 30;
        if ((cx >= 5 && cx < 10 && y >= 5 && y < 10) || (x == 0 && y == 0))
            return kKey;
        return kCellColors[std::min(x / 30, 3)];
    });
}

TEST(ImageStripTest, WholeCellsWithTheMaskColourTransparent) {
    HBITMAP strip = MakeStrip(100);
    HIMAGELIST list = CreateImageListFromStrip(strip, 30, RGB(255, 0, 255), FALSE);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 3); // the last 10 columns left out
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx, 30);
    EXPECT_EQ(cy, 20);

    GdiCanvas canvas(120, 20);
    canvas.Fill(kPaper);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(ImageList_Draw(list, i, canvas.dc(), i * 40, 0, ILD_TRANSPARENT));
    for (int i = 0; i < 3; ++i) {
        int x0 = i * 40;
        EXPECT_EQ(canvas.At(x0 + 1, 1) & 0xFFFFFF, kCellColors[i]) << "cell " << i;
        EXPECT_EQ(canvas.At(x0 + 29, 19) & 0xFFFFFF, kCellColors[i]) << "cell " << i;
        EXPECT_EQ(canvas.At(x0 + 7, 7) & 0xFFFFFF, kPaper) << "cell " << i;
        EXPECT_EQ(canvas.At(x0 + 10, 7) & 0xFFFFFF, kCellColors[i]) << "cell " << i;
        EXPECT_EQ(canvas.At(x0 + 35, 7) & 0xFFFFFF, kPaper) << "gap " << i;
    }
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, kPaper);
    ImageList_Destroy(list);

    // The strip stays usable and whole.
    EXPECT_EQ(PixelOf(strip, 95, 3), kCellColors[3]);
    HIMAGELIST again = ImageList_Create(30, 20, ILC_COLOR32, 0, 1);
    EXPECT_EQ(ImageList_Add(again, strip, nullptr), 0);
    ImageList_Destroy(again);
    DeleteObject(strip);
}

TEST(ImageStripTest, CornerPixelOverridesTheGivenMaskColour) {
    HBITMAP strip = MakeStrip(60);
    // The given colour is the first cell's own: unused when the corner keys.
    HIMAGELIST list = CreateImageListFromStrip(strip, 30, RGB(0xC0, 0, 0), TRUE);
    ASSERT_NE(list, nullptr);
    GdiCanvas canvas(30, 20);
    canvas.Fill(kPaper);
    ASSERT_TRUE(ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.At(7, 7) & 0xFFFFFF, kPaper);
    EXPECT_EQ(canvas.At(20, 15) & 0xFFFFFF, kCellColors[0]);
    ImageList_Destroy(list);

    // Without the corner the given colour keys: the first cell vanishes.
    list = CreateImageListFromStrip(strip, 30, RGB(0xC0, 0, 0), FALSE);
    ASSERT_NE(list, nullptr);
    canvas.Fill(kPaper);
    ASSERT_TRUE(ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.At(20, 15) & 0xFFFFFF, kPaper);
    EXPECT_EQ(canvas.At(7, 7) & 0xFFFFFF, kKey);
    ImageList_Destroy(list);
    DeleteObject(strip);
}

TEST(ImageStripTest, RefusesWhatCannotBeCut) {
    HBITMAP strip = MakeStrip(100);
    EXPECT_EQ(CreateImageListFromStrip(strip, 0, 0, FALSE), nullptr);
    EXPECT_EQ(CreateImageListFromStrip(strip, -30, 0, FALSE), nullptr);
    EXPECT_EQ(CreateImageListFromStrip(nullptr, 30, 0, FALSE), nullptr);
    EXPECT_EQ(CreateImageListFromStrip(HBITMAP(HGDIOBJ(uintptr_t(0x7777))), 30, 0, FALSE), nullptr);
    // A strip another DC holds cannot be read.
    HDC holder = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(holder, strip);
    EXPECT_EQ(CreateImageListFromStrip(strip, 30, 0, FALSE), nullptr);
    SelectObject(holder, old);
    DeleteDC(holder);
    DeleteObject(strip);
}

} // namespace
} // namespace ui_test
