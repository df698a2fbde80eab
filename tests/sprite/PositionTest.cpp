#include "platform/window/Wnd.h"
#include "sprite/SpritePos.h"

#include <gtest/gtest.h>

namespace {

class AnchorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(table.CreateEx(0, nullptr, "t", WS_POPUP, 0, 0, 1000, 700, nullptr, nullptr));
        SetAnchorWindow(table.m_hWnd);
        SetPosResolver(AnchorToClient);
    }
    void TearDown() override {
        SetPosResolver(nullptr);
        SetAnchorWindow(nullptr);
        table.DestroyWindow();
    }
    static POINT At(int x, int y, int anchor) { return ResolvePos(Pos(x, y, anchor)); }
    static CSpritePos Pos(int x, int y, int anchor) {
        CSpritePos p;
        p.Set(x, y, anchor);
        return p;
    }
    CWnd table;
};

TEST_F(AnchorTest, TheGridThirdsAndFifthsFollowTheClientArea) {
    EXPECT_EQ(At(-10, -10, 4).x, 490);
    EXPECT_EQ(At(-10, -10, 4).y, 340);
    EXPECT_EQ(At(0, 0, 8).x, 1000);
    EXPECT_EQ(At(0, 0, 8).y, 700);
    EXPECT_EQ(At(5, 5, 10).y, 5 + 700 / 3);
    table.MoveWindow(0, 0, 1000, 734);
    // The fifth is truncated before it is tripled: 146 * 3, not 440.
    EXPECT_EQ(At(0, 0, 12).y, 438);
    EXPECT_EQ(At(0, 0, 14).x, 1000);
}

TEST_F(AnchorTest, UnknownAnchorsAndNoWindowLeaveThePointAlone) {
    EXPECT_EQ(At(7, 9, 16).x, 7);
    EXPECT_EQ(At(7, 9, -1).y, 9);
    SetAnchorWindow(nullptr);
    EXPECT_EQ(At(7, 9, 8).x, 7);
    EXPECT_EQ(At(7, 9, 8).y, 9);
    SetPosResolver(nullptr);
    SetAnchorWindow(table.m_hWnd);
    EXPECT_EQ(At(7, 9, 8).x, 7);
    // A window gone since it was set measures nothing.
    SetPosResolver(AnchorToClient);
    CWnd gone;
    ASSERT_TRUE(gone.CreateEx(0, nullptr, "g", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr));
    SetAnchorWindow(gone.m_hWnd);
    gone.DestroyWindow();
    EXPECT_EQ(At(7, 9, 8).x, 7);
    EXPECT_EQ(At(7, 9, 8).y, 9);
}

TEST_F(AnchorTest, AnchorFifteenSitsACardAndABorderAboveTheBottom) {
    SetAnchorCardMeasures(71, 40);
    EXPECT_EQ(At(0, 0, 15).x, 500);
    EXPECT_EQ(At(0, 0, 15).y, 700 - 71 - 40);
}

TEST(SpritePosTest, IsEqualComparesAllThree) {
    CSpritePos p(3, 4);
    EXPECT_EQ(p.anchor, 0);
    EXPECT_TRUE(p.IsEqual(3, 4, 0));
    EXPECT_FALSE(p.IsEqual(3, 4, 1));
}

} // namespace
