// The desktop window: the screen's rectangle, nothing to paint, and no
// window of the tree.

#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

namespace {

TEST(DesktopWindowTest, IsTheScreenAndNoWindowOfTheTree) {
    HWND desktop = GetDesktopWindow();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(GetDesktopWindow(), desktop);
    RECT r{};
    ASSERT_TRUE(GetWindowRect(desktop, &r));
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(UpdateWindow(desktop));
    EXPECT_FALSE(IsWindow(desktop));
    EXPECT_FALSE(GetWindowRect(desktop, nullptr));
}

} // namespace
