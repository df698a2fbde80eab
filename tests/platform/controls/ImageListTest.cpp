// Image lists: cells cut from a strip, masks from a key colour or a mask
// bitmap, drawn over what is already there.

#include "platform/controls/ImageList.h"
#include "tests/support/GdiCanvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t kKey = 0xFF00FF;  // magenta, as pixels (0x00RRGGBB)
constexpr uint32_t kBack = 0x102030; // what the target held before

// A strip of `cells` 3x2 cells (a bitmap in no DC, as image lists want it):
// cell i is filled with colour (i+1)*0x40 in red, except its top-left pixel,
// which is the key colour.
struct Strip {
    explicit Strip(int cells, int extraColumns = 0) : width(3 * cells + extraColumns) {
        std::vector<uint32_t> pixels(size_t(width) * 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x)
                pixels[size_t(y * width + x)] = uint32_t(((x / 3) + 1) * 0x40) << 16;
        for (int i = 0; i < cells; ++i)
            pixels[size_t(3 * i)] = kKey;
        bitmap = CreateBitmap(width, 2, 1, 32, pixels.data());
    }
    ~Strip() { DeleteObject(bitmap); }
    uint32_t At(int x, int y) const {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        COLORREF c = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        return platform::PixelFromColor(c);
    }
    int width;
    HBITMAP bitmap;
};

TEST(ImageListTest, MaskColourMakesPixelsTransparentAndTheStripStaysUntouched) {
    Strip strip(3, 2); // two columns left over: not a cell
    HIMAGELIST list = ImageList_Create(3, 2, ILC_COLOR8 | ILC_MASK, 0, 3);
    ASSERT_NE(list, nullptr);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
    EXPECT_EQ(cx * 10 + cy, 32);

    EXPECT_EQ(ImageList_AddMasked(list, strip.bitmap, RGB(255, 0, 255)), 0);
    EXPECT_EQ(ImageList_GetImageCount(list), 3);
    EXPECT_EQ(strip.At(3, 0), kKey); // the caller's bitmap is left alone

    GdiCanvas target(3, 2);
    for (int i = 0; i < 3; ++i) {
        target.Fill(kBack);
        ASSERT_TRUE(ImageList_Draw(list, i, target.dc(), 0, 0, ILD_TRANSPARENT));
        EXPECT_EQ(target.At(0, 0), kBack) << i; // key pixel: background
        EXPECT_EQ(target.At(1, 0), uint32_t((i + 1) * 0x40) << 16)
            << i; // exact colour, no 8-bit loss
        EXPECT_EQ(target.At(2, 1), uint32_t((i + 1) * 0x40) << 16) << i;
    }
    // The mask itself: white where transparent.
    ASSERT_TRUE(ImageList_Draw(list, 1, target.dc(), 0, 0, ILD_MASK));
    EXPECT_EQ(target.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(target.At(1, 0), 0u);
    // With a background colour the hole is filled.
    ImageList_SetBkColor(list, RGB(0, 0, 255));
    ASSERT_TRUE(ImageList_Draw(list, 2, target.dc(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(target.At(0, 0), 0x0000FFu);

    EXPECT_FALSE(ImageList_Draw(list, 3, target.dc(), 0, 0, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Draw(list, -1, target.dc(), 0, 0, ILD_NORMAL));
    EXPECT_TRUE(ImageList_Destroy(list));
    EXPECT_FALSE(ImageList_Destroy(list));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    EXPECT_EQ(ImageList_AddMasked(list, strip.bitmap, 0), -1);
}

TEST(ImageListTest, GrowsPastItsFirstSizeAndRemovesByIndex) {
    HIMAGELIST list = ImageList_Create(3, 2, ILC_COLOR32 | ILC_MASK, 1, 1);
    Strip first(2), second(3);
    EXPECT_EQ(ImageList_AddMasked(list, first.bitmap, RGB(255, 0, 255)), 0);
    EXPECT_EQ(ImageList_AddMasked(list, second.bitmap, RGB(255, 0, 255)), 2);
    ASSERT_EQ(ImageList_GetImageCount(list), 5);
    GdiCanvas target(3, 2);
    // Image 1 (second cell of the first strip) survived the growth.
    ImageList_Draw(list, 1, target.dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(target.At(1, 1), 0x800000u);
    // Removing image 0 moves the others down.
    EXPECT_TRUE(ImageList_Remove(list, 0));
    EXPECT_EQ(ImageList_GetImageCount(list), 4);
    ImageList_Draw(list, 0, target.dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(target.At(1, 1), 0x800000u);
    ImageList_Draw(list, 3, target.dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(target.At(1, 1), 0xC00000u);
    EXPECT_FALSE(ImageList_Remove(list, 4));
    EXPECT_TRUE(ImageList_Remove(list, -1));
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
    ImageList_Destroy(list);
}

TEST(ImageListTest, AMaskBitmapOrNoMaskAtAll) {
    Strip strip(1);
    // A mask with only its bottom-right pixel white (transparent); rows of
    // monochrome bitmaps are padded to 16 bits.
    const uint8_t maskBits[4] = {0x00, 0, 0x20, 0};
    HBITMAP mask = CreateBitmap(3, 2, 1, 1, maskBits);
    HIMAGELIST masked = ImageList_Create(3, 2, ILC_COLOR8 | ILC_MASK, 1, 1);
    EXPECT_EQ(ImageList_Add(masked, strip.bitmap, mask), 0);
    DeleteObject(mask);
    GdiCanvas target(3, 2);
    target.Fill(kBack);
    ImageList_Draw(masked, 0, target.dc(), 0, 0, ILD_NORMAL);
    EXPECT_EQ(target.At(2, 1), kBack);
    EXPECT_EQ(target.At(0, 0), kKey); // the key colour means nothing here
    ImageList_Destroy(masked);

    // A list without ILC_MASK copies every pixel.
    CImageList plain;
    ASSERT_TRUE(plain.Create(3, 2, ILC_COLOR8, 1, 1));
    CBitmap wrapper;
    wrapper.Attach(strip.bitmap);
    EXPECT_EQ(plain.Add(&wrapper, RGB(255, 0, 255)), 0);
    wrapper.Detach();
    {
        // A bitmap still selected into a DC cannot be read: refused.
        GdiCanvas busy(3, 2);
        EXPECT_EQ(plain.Add(nullptr, RGB(0, 0, 0)), -1);
        EXPECT_EQ(ImageList_AddMasked(plain, busy.bitmap(), 0), -1);
        EXPECT_EQ(plain.GetImageCount(), 1);
    }
    target.Fill(kBack);
    ImageList_Draw(plain, 0, target.dc(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(target.At(0, 0), kKey);
    HIMAGELIST detached = plain.Detach();
    EXPECT_EQ(plain.GetSafeHandle(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(detached), 1); // survives its wrapper
    ImageList_Destroy(detached);

    EXPECT_EQ(ImageList_Create(0, 2, ILC_MASK, 1, 1), nullptr);
    EXPECT_EQ(ImageList_Create(3, 40000, ILC_MASK, 1, 1), nullptr);
}

} // namespace
