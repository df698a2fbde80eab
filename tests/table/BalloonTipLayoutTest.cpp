// The tip's text cut into lines, the body placed by its corner, and the tail
// for each of the twelve directions.

#include "table/panes/BalloonTipLayout.h"
#include "platform/CodePage.h"
#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

namespace table_test {
namespace {

// True when every double-byte character of the piece is whole.
bool WholeCharacters(const std::string& piece) {
    for (size_t at = 0; at < piece.size(); ++at) {
        if (IsDBCSLeadByte(BYTE(piece[at]))) {
            if (at + 1 >= piece.size())
                return false;
            ++at;
        }
    }
    return true;
}

TEST(TipLines, LineFeedsSplitAndLongLinesWrap) {
    EXPECT_EQ(WrapTipLines("a\nb", 20), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(WrapTipLines("abcdefg", 3), (std::vector<std::string>{"abc", "def", "g"}));
    EXPECT_EQ(WrapTipLines("", 3), std::vector<std::string>{""});
    EXPECT_TRUE(WrapTipLines(nullptr, 3).empty());
}

TEST(TipLines, ChineseTextWrapsWithoutCuttingACharacter) {
    const std::string text = "由于有玩家与服务器失去联系，现在游戏结束!abc玩家";
    for (int piece : {2, 3, 5, 7, 9}) {
        const std::vector<std::string> lines = WrapTipLines(text.c_str(), piece);
        std::string joined;
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), size_t(piece));
            EXPECT_FALSE(line.empty());
            EXPECT_TRUE(WholeCharacters(line)) << piece;
            joined += line;
        }
        EXPECT_EQ(joined, text);
    }
}

TEST(TipLines, ANarrowTipStillEnds) {
    // (150 - 2 x 70) / 12 is 0 bytes: a piece is still one whole character.
    EXPECT_EQ(TipPieceBytes(150, 70, 12), 2);
    EXPECT_EQ(TipPieceBytes(150, 8, 0), 2);
    EXPECT_EQ(TipPieceBytes(150, 8, 6), 22);
    const std::vector<std::string> lines = WrapTipLines("玩家都已退出", 1);
    EXPECT_EQ(lines.size(), 6u);
}

TEST(TipBody, TheBodyPointIsTheCornerOfTheMode) {
    const POINT p = {100, 200};
    const RECT expected[] = {
        {100, 200, 160, 240}, {40, 200, 100, 240}, {100, 160, 160, 200}, {40, 160, 100, 200}};
    for (int mode = 0; mode < 4; ++mode) {
        const RECT body = PlaceTipBody(mode, p, 60, 40);
        EXPECT_EQ(body.left, expected[mode].left) << mode;
        EXPECT_EQ(body.top, expected[mode].top) << mode;
        EXPECT_EQ(body.right, expected[mode].right) << mode;
        EXPECT_EQ(body.bottom, expected[mode].bottom) << mode;
    }
}

struct TailCase {
    POINT tail;
    TipTailSide side;
    TipTailPlace place;
};

TEST(TipTail, TwelveDirectionsEachHoldTheirPointAndJoinTheBody) {
    const RECT body = {100, 100, 220, 160};
    const TailCase cases[] = {
        {{110, 70}, kTailTop, kTailNearStart},  {{160, 70}, kTailTop, kTailCentre},
        {{215, 70}, kTailTop, kTailNearEnd},    {{110, 190}, kTailBottom, kTailNearStart},
        {{160, 190}, kTailBottom, kTailCentre}, {{215, 190}, kTailBottom, kTailNearEnd},
        {{60, 105}, kTailLeft, kTailNearStart}, {{60, 130}, kTailLeft, kTailCentre},
        {{60, 158}, kTailLeft, kTailNearEnd},   {{260, 105}, kTailRight, kTailNearStart},
        {{260, 130}, kTailRight, kTailCentre},  {{260, 158}, kTailRight, kTailNearEnd},
    };
    for (const TailCase& c : cases) {
        const TipTailDirection direction = ChooseTipTail(body, c.tail);
        EXPECT_EQ(direction.side, c.side) << c.tail.x << "," << c.tail.y;
        EXPECT_EQ(direction.place, c.place) << c.tail.x << "," << c.tail.y;
        POINT triangle[3];
        TipTailTriangle(body, c.tail, direction, 12, 16, triangle);
        HRGN tail = CreatePolygonRgn(triangle, 3, WINDING);
        HRGN shape =
            CreateRoundRectRgn(body.left, body.top, body.right + 1, body.bottom + 1, 12, 12);
        CombineRgn(shape, shape, tail, RGN_OR);
        // Near the tip's point, at the base's middle and at the body's centre.
        const POINT baseMiddle = {(triangle[0].x + triangle[1].x) / 2,
                                  (triangle[0].y + triangle[1].y) / 2};
        // A quarter of the way from the point to the base: the triangle is
        // already a few pixels wide there.
        const POINT nearPoint = {(c.tail.x * 3 + baseMiddle.x) / 4,
                                 (c.tail.y * 3 + baseMiddle.y) / 4};
        EXPECT_TRUE(PtInRegion(shape, nearPoint.x, nearPoint.y)) << c.tail.x << "," << c.tail.y;
        EXPECT_TRUE(PtInRegion(shape, baseMiddle.x, baseMiddle.y));
        EXPECT_TRUE(PtInRegion(shape, 160, 130));
        // Nothing beside the tail.
        EXPECT_FALSE(PtInRegion(shape, c.tail.x + (c.side >= kTailLeft ? 0 : 20),
                                c.tail.y + (c.side >= kTailLeft ? 20 : 0)));
        DeleteObject(tail);
        DeleteObject(shape);
    }
}

TEST(TipTail, APointInsideTheBodyHangsFromTheBottom) {
    const RECT body = {0, 0, 90, 60};
    EXPECT_EQ(ChooseTipTail(body, POINT{45, 30}).side, kTailBottom);
    // Beyond a corner, the farther edge decides.
    EXPECT_EQ(ChooseTipTail(body, POINT{-50, -10}).side, kTailLeft);
    EXPECT_EQ(ChooseTipTail(body, POINT{-10, -50}).side, kTailTop);
}

} // namespace
} // namespace table_test
