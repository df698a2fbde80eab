// Reading back what windows show: a window DC as a blit source gives the
// window's pixels, children included (screenshots and the magnifier).

#include "tests/support/DisplayFixture.h"

using namespace platform;
using namespace platform_test;

namespace {

using ReadBackTest = DisplayTest;

// Copies a window through its DC into a new bitmap and reads one pixel of it.
class Copy {
public:
    Copy(HDC source, int width, int height) {
        m_dc = CreateCompatibleDC(source);
        m_bitmap = CreateCompatibleBitmap(source, width, height);
        m_old = SelectObject(m_dc, m_bitmap);
        ok = BitBlt(m_dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    }
    ~Copy() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    uint32_t At(int x, int y) const { return PixelFromColor(GetPixel(m_dc, x, y)); }
    BOOL ok;

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

TEST_F(ReadBackTest, AWindowDcGivesWhatTheWindowAndItsChildrenShow) {
    SolidWnd top, child;
    top.color = RGB(255, 0, 0);
    child.color = RGB(0, 0, 255);
    ASSERT_TRUE(top.Top({20, 30, 120, 110}));
    ASSERT_TRUE(child.Child(&top, {10, 20, 40, 50}));
    PumpPending();

    HDC whole = GetWindowDC(top);
    ASSERT_NE(whole, nullptr);
    {
        Copy shot(whole, 100, 80);
        ASSERT_TRUE(shot.ok);
        EXPECT_EQ(shot.At(5, 5), 0xFF0000u);
        EXPECT_EQ(shot.At(10, 20), 0x0000FFu); // the child's top-left
        EXPECT_EQ(shot.At(39, 49), 0x0000FFu);
        EXPECT_EQ(shot.At(40, 50), 0xFF0000u);
        EXPECT_EQ(shot.At(99, 79), 0xFF0000u);
    }
    ReleaseDC(top, whole);

    // The child's own DC reads from its own origin.
    HDC childDc = GetDC(child);
    {
        Copy part(childDc, 30, 30);
        EXPECT_EQ(part.At(0, 0), 0x0000FFu);
        EXPECT_EQ(part.At(29, 29), 0x0000FFu);
    }
    ReleaseDC(child, childDc);

    // What is drawn later is what is read.
    FillThroughGetDC(child, RGB(0, 255, 0));
    HDC again = GetWindowDC(top);
    {
        Copy shot(again, 100, 80);
        EXPECT_EQ(shot.At(20, 30), 0x00FF00u);
    }
    ReleaseDC(top, again);
}

} // namespace
