#include "tests/support/GdiCanvas.h"

#include "platform/gdi/Dc.h"

#include <gtest/gtest.h>

namespace {

struct Info32 {
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), 2, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    BITMAPINFO* get() { return &info; }
};

TEST(DcTest, SelectObjectReturnsWhatWasSelectedBefore) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ stockBitmap = GetCurrentObject(dc, OBJ_BITMAP);
    BITMAP bm;
    ASSERT_EQ(GetObject(stockBitmap, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    HBITMAP a = CreateCompatibleBitmap(dc, 2, 2), b = CreateCompatibleBitmap(dc, 3, 3);
    EXPECT_EQ(SelectObject(dc, a), stockBitmap);
    EXPECT_EQ(SelectObject(dc, b), a);
    // A bitmap is in one DC at a time.
    HDC other = CreateCompatibleDC(dc);
    EXPECT_EQ(GetObjectType(other), DWORD(OBJ_MEMDC));
    EXPECT_EQ(SelectObject(other, b), nullptr);
    EXPECT_NE(SelectObject(other, a), nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(nullptr, brush), nullptr);
    EXPECT_EQ(SelectObject(dc, reinterpret_cast<HGDIOBJ>(0x1234)), nullptr);
    DeleteDC(other);
    DeleteDC(dc);
    // The DCs are gone, so the objects are free to delete.
    for (HGDIOBJ o : {HGDIOBJ(a), HGDIOBJ(b), HGDIOBJ(brush)})
        EXPECT_TRUE(DeleteObject(o));
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(DcTest, DeletingASelectedBitmapKeepsItDrawableUntilDeselected) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(SetPixel(dc, 1, 1, RGB(9, 9, 9)), RGB(9, 9, 9));
    SelectObject(dc, old); // frees it (ASan checks)
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    DeleteDC(dc);
}

TEST(DcTest, SaveAndRestoreBringBackColoursObjectsAndClip) {
    GdiCanvas c(4, 4);
    SetBkColor(c.dc(), RGB(1, 1, 1));
    int level = SaveDC(c.dc());
    EXPECT_EQ(level, 1);
    SetBkColor(c.dc(), RGB(2, 2, 2));
    SetTextColor(c.dc(), RGB(3, 3, 3));
    SetStretchBltMode(c.dc(), HALFTONE);
    HBRUSH brush = CreateSolidBrush(RGB(4, 4, 4));
    SelectObject(c.dc(), brush);
    IntersectClipRect(c.dc(), 0, 0, 1, 1);
    EXPECT_EQ(SaveDC(c.dc()), 2);
    SetBkColor(c.dc(), RGB(5, 5, 5));
    EXPECT_TRUE(RestoreDC(c.dc(), -1));
    EXPECT_EQ(GetBkColor(c.dc()), RGB(2, 2, 2));
    DeleteObject(brush); // selected, and held by the saved state
    EXPECT_TRUE(RestoreDC(c.dc(), 1));
    EXPECT_EQ(GetBkColor(c.dc()), RGB(1, 1, 1));
    EXPECT_EQ(GetTextColor(c.dc()), RGB(0, 0, 0));
    EXPECT_EQ(GetStretchBltMode(c.dc()), BLACKONWHITE);
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    RECT box;
    EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 4);
    EXPECT_FALSE(RestoreDC(c.dc(), 1)); // nothing saved any more
    EXPECT_FALSE(RestoreDC(c.dc(), 0));
}

TEST(ClipTest, DrawingStaysInsideTheClipRegion) {
    GdiCanvas c(8, 8);
    c.Fill(0);
    HRGN clip = CreateRectRgn(2, 2, 6, 6);
    HRGN hole = CreateRectRgn(3, 3, 5, 5);
    CombineRgn(clip, clip, hole, RGN_DIFF);
    EXPECT_EQ(SelectClipRgn(c.dc(), clip), COMPLEXREGION);
    DeleteObject(clip); // the DC keeps a copy
    PatBlt(c.dc(), 0, 0, 8, 8, WHITENESS);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            bool inside =
                x >= 2 && x < 6 && y >= 2 && y < 6 && !(x >= 3 && x < 5 && y >= 3 && y < 5);
            ASSERT_EQ(c.At(x, y), inside ? 0x00FFFFFFu : 0u) << x << "," << y;
        }
    RECT box;
    EXPECT_EQ(GetClipBox(c.dc(), &box), COMPLEXREGION);
    EXPECT_TRUE(box.left == 2 && box.top == 2 && box.right == 6 && box.bottom == 6);
    EXPECT_FALSE(PtVisible(c.dc(), 3, 3));
    EXPECT_TRUE(PtVisible(c.dc(), 2, 3));
    // Exclude and intersect narrow it further, in logical units.
    SetViewportOrgEx(c.dc(), 1, 0, nullptr);
    ExcludeClipRect(c.dc(), 1, 2, 2, 6); // device column 2
    IntersectClipRect(c.dc(), 0, 0, 100, 4);
    c.Fill(0);
    PatBlt(c.dc(), -1, 0, 8, 8, WHITENESS);
    EXPECT_EQ(c.At(2, 2), 0u);
    EXPECT_EQ(c.At(3, 2), 0x00FFFFFFu);
    EXPECT_EQ(c.At(5, 3), 0x00FFFFFFu);
    EXPECT_EQ(c.At(5, 4), 0u);
    EXPECT_EQ(GetClipBox(c.dc(), &box), COMPLEXREGION);
    EXPECT_TRUE(box.left == 2 && box.top == 2 && box.right == 5 && box.bottom == 4);
    // No clip region: everything again.
    EXPECT_EQ(SelectClipRgn(c.dc(), nullptr), SIMPLEREGION);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(c.dc(), copy), 0);
    DeleteObject(copy);
    DeleteObject(hole);
}

TEST(ClipTest, CombiningWithNoClipRegionStartsFromTheWholeBitmap) {
    GdiCanvas c(6, 1);
    HRGN middle = CreateRectRgn(2, 0, 4, 1);
    EXPECT_EQ(ExtSelectClipRgn(c.dc(), middle, RGN_DIFF), COMPLEXREGION);
    c.Fill(0);
    PatBlt(c.dc(), 0, 0, 6, 1, WHITENESS);
    EXPECT_EQ(c.At(1, 0), 0x00FFFFFFu);
    EXPECT_EQ(c.At(2, 0), 0u);
    EXPECT_EQ(c.At(4, 0), 0x00FFFFFFu);
    EXPECT_EQ(ExtSelectClipRgn(c.dc(), middle, RGN_OR), SIMPLEREGION);
    EXPECT_EQ(ExtSelectClipRgn(c.dc(), middle, RGN_AND), SIMPLEREGION);
    RECT box;
    GetClipBox(c.dc(), &box);
    EXPECT_TRUE(box.left == 2 && box.right == 4);
    EXPECT_EQ(ExtSelectClipRgn(c.dc(), nullptr, RGN_AND), ERROR);
    EXPECT_EQ(ExtSelectClipRgn(c.dc(), nullptr, RGN_COPY), SIMPLEREGION);
    DeleteObject(middle);
}

TEST(ClipTest, BlitsRespectTheClipToo) {
    std::mt19937 rng(1);
    GdiCanvas src(6, 6), dst(6, 6);
    src.FillRandom(rng, 0xFFFFFF);
    dst.Fill(0);
    IntersectClipRect(dst.dc(), 1, 1, 3, 6);
    SetStretchBltMode(dst.dc(), HALFTONE);
    StretchBlt(dst.dc(), 0, 0, 6, 6, src.dc(), 0, 0, 3, 3, SRCCOPY);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, 0};
    AlphaBlend(dst.dc(), 0, 0, 6, 6, src.dc(), 0, 0, 6, 6, blend);
    TransparentBlt(dst.dc(), 0, 0, 6, 6, src.dc(), 0, 0, 6, 6, 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            bool inside = x >= 1 && x < 3 && y >= 1;
            if (!inside) {
                ASSERT_EQ(dst.At(x, y), 0u) << x << "," << y;
            }
        }
    EXPECT_EQ(dst.At(2, 5), src.At(2, 5));
}

TEST(ScreenDcTest, MeasuresAndReadsLikeTheDisplay) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_EQ(GetObjectType(screen), DWORD(OBJ_DC));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(GetObjectType(screen), 0u);
    HDC ic = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(ic, nullptr);
    GdiCanvas c(2, 1);
    c.Set(1, 0, 0x00ABCDEF);
    Info32 info;
    uint32_t bits[2] = {};
    ASSERT_EQ(GetDIBits(ic, c.bitmap(), 0, 1, bits, info.get(), DIB_RGB_COLORS), 1);
    EXPECT_EQ(bits[1], 0x00ABCDEFu);
    DeleteDC(ic);
    EXPECT_EQ(CreateIC("PRINTER", nullptr, nullptr, nullptr), nullptr);
    // No display backend: no window DCs.
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x10)), nullptr);
}

TEST(SurfaceDcTest, DrawsAtTheWindowOffsetInsideTheVisibleArea) {
    GdiCanvas screen(10, 10);
    screen.Fill(0);
    HRGN visible = CreateRectRgn(0, 0, 4, 3);
    HDC dc = platform::CreateSurfaceDC(screen.bitmap(), POINT{5, 5}, visible);
    // The screen bitmap is selected in the canvas DC; a surface DC may still use it.
    ASSERT_NE(dc, nullptr);
    PatBlt(dc, 0, 0, 100, 100, WHITENESS);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(screen.At(x, y), (x >= 5 && x < 9 && y >= 5 && y < 8) ? 0x00FFFFFFu : 0u);
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_TRUE(box.left == 0 && box.top == 0 && box.right == 4 && box.bottom == 3);
    EXPECT_EQ(SelectObject(dc, screen.bitmap()), nullptr); // window DCs hold no bitmap
    DeleteDC(dc);
    DeleteObject(visible);
}

TEST(CdcTest, WrappersOwnTheirHandlesAndSelectionReturnsWrappers) {
    GdiCanvas target(4, 4);
    {
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&memory, 4, 4));
        CBitmap* old = memory.SelectObject(&bitmap);
        ASSERT_NE(old, nullptr);
        EXPECT_EQ(memory.GetCurrentBitmap(), &bitmap); // the permanent object, not a wrapper
        memory.FillSolidRect(0, 0, 4, 4, RGB(10, 20, 30));
        EXPECT_EQ(memory.GetBkColor(), RGB(10, 20, 30)); // as MFC leaves it
        memory.Draw3dRect(0, 0, 4, 4, RGB(255, 255, 255), RGB(0, 0, 0));
        CDC* targetDc = CDC::FromHandle(target.dc());
        EXPECT_EQ(CDC::FromHandle(target.dc()), targetDc);
        targetDc->BitBlt(0, 0, 4, 4, &memory, 0, 0, SRCCOPY);
        EXPECT_EQ(target.At(0, 0), 0x00FFFFFFu);
        EXPECT_EQ(target.At(3, 0), 0u);
        EXPECT_EQ(target.At(0, 3), 0u);
        EXPECT_EQ(target.At(1, 1), 0x000A141Eu);
        CRgn a, b;
        a.CreateRectRgn(0, 0, 4, 4);
        b.CreateEllipticRgn(0, 0, 4, 4);
        EXPECT_EQ(a.CombineRgn(&a, &b, RGN_DIFF), COMPLEXREGION);
        EXPECT_TRUE(a.PtInRegion(0, 0));
        CBrush brush(RGB(1, 2, 3));
        EXPECT_EQ(memory.SelectObject(&brush)->m_hObject, GetStockObject(WHITE_BRUSH));
        memory.SelectObject(old);
        HGDIOBJ handle = bitmap.m_hObject;
        bitmap.DeleteObject();
        EXPECT_EQ(GetObjectType(handle), 0u);
        EXPECT_EQ(bitmap.m_hObject, nullptr);
    } // the DC, brush and regions are deleted here; the brush after the DC lets go
    platform::DeleteTempGdiWrappers();
    // Temporary wrappers never delete what they wrap.
    EXPECT_EQ(GetPixel(target.dc(), 1, 1), RGB(10, 20, 30));
}

} // namespace

namespace {

TEST(DcTest, ABitmapHeldByASavedStateCanBeSelectedAgainInTheSameDc) {
    HDC dc = CreateCompatibleDC(nullptr), other = CreateCompatibleDC(nullptr);
    HBITMAP a = CreateCompatibleBitmap(dc, 2, 2), b = CreateCompatibleBitmap(dc, 2, 2);
    HGDIOBJ stock = SelectObject(dc, a);
    SaveDC(dc);
    EXPECT_EQ(SelectObject(dc, b), a);
    EXPECT_EQ(SelectObject(other, a), nullptr); // still the first DC's
    EXPECT_EQ(SelectObject(dc, a), b);
    EXPECT_NE(SelectObject(other, b), nullptr); // b is free again
    RestoreDC(dc, -1);
    EXPECT_EQ(SelectObject(dc, stock), a);
    DeleteDC(dc);
    DeleteDC(other);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));
}

} // namespace
