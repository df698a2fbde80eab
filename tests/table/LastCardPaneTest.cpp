// The last-card pane: each view's row of cards in its place, only the cards
// the records say are held, hidden ones as the back, through the pane's
// painter with the program's custom sheet.

#include "game/GameLogic.h"
#include "table/panes/LastCardPaneImage.h"
#include "tests/table/TableTestKit.h"

#include <cstring>

namespace {

using namespace table_test;

const uint32_t kFelt = 0x00206040;

TEST(LastCardRecordTest, FlagsAndKindsBecomePainterCodes) {
    for (int code = 0; code < kCardCodeCount; ++code)
        EXPECT_EQ(CLastCardPaneImage::CodeOfRecord(CGameLogic::CardFromIndex(code)),
                  CardFaceCode(code % kDeckSize))
            << code;
    tagCARD card = CGameLogic::CardFromIndex(5);
    card.flags = kCardHeld | kCardPlayed | kCardPicked; // bits 2 and 3 do not count
    EXPECT_EQ(CLastCardPaneImage::CodeOfRecord(card), CardFaceCode(5));
    card.flags = kCardPlayed | kCardPicked;
    EXPECT_EQ(CLastCardPaneImage::CodeOfRecord(card), -1);
    card.flags = 0x03; // held, and not to be seen
    EXPECT_EQ(CLastCardPaneImage::CodeOfRecord(card), kCodeBack);
    EXPECT_EQ(CLastCardPaneImage::CodeOfRecord(MakeHiddenCard()), kCodeBack);
    card = tagCARD{0, 0, 0, 200, kCardHeld}; // no kind: nothing the painter draws
    EXPECT_EQ(CLastCardPaneImage::CodeOfRecord(card), 0);
}

class LastCardPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(resources.registered);
        ASSERT_TRUE(pane.LoadLastCardPane(kLayoutFile.c_str(), "PANE_LASTCARD"));
        memset(block, 0, sizeof block);
    }
    void Row(int view, std::initializer_list<int> codes) {
        int i = 0;
        for (int code : codes)
            block[view][i++] = CGameLogic::CardFromIndex(code);
        count[view] = i;
    }
    platform::PixelImage Drawn() {
        pane.SetLastCards(block, count);
        GdiCanvas canvas(pane.m_cx, pane.m_cy);
        canvas.Fill(kFelt);
        DrawWhole(pane, canvas, 0, 0);
        return CanvasImage(canvas);
    }
    ProgramResources resources;
    CLastCardPaneImage pane{1055};
    tagCARD block[kSeatCount][kHandSize];
    int count[kSeatCount] = {};
};

TEST_F(LastCardPaneTest, RowsStandWhereEachViewSits) {
    const int cx = pane.m_cx, cy = pane.m_cy, w = 3 * 15 + 39;
    const POINT expected[kSeatCount] = {{cx / 2 - w / 2, cy - 94},  {20, cy / 2 + 25},
                                        {20, cy / 2 - 72},          {cx / 2 - w / 2, 45},
                                        {cx - w - 20, cy / 2 - 72}, {cx - w - 20, cy / 2 + 25}};
    for (int view = 0; view < kSeatCount; ++view) {
        EXPECT_EQ(pane.RowOrigin(view, 3).x, expected[view].x) << view;
        EXPECT_EQ(pane.RowOrigin(view, 3).y, expected[view].y) << view;
    }
}

TEST_F(LastCardPaneTest, CardsAreDrawnOnlyInTheirRows) {
    const platform::PixelImage empty = Drawn();
    Row(0, {0, 14, 53}); // a 3, a 4 and the big joker
    Row(4, {52});
    block[4][1] = MakeHiddenCard();
    block[4][2] = CGameLogic::CardFromIndex(7);
    block[4][2].flags = 0; // not held: not drawn
    count[4] = 3;
    const platform::PixelImage drawn = Drawn();
    auto changedIn = [&](int left, int top, int right, int bottom) {
        int changed = 0;
        for (int y = std::max(0, top); y < std::min(bottom, drawn.height); ++y)
            for (int x = std::max(0, left); x < std::min(right, drawn.width); ++x)
                changed += drawn.At(x, y) != empty.At(x, y);
        return changed;
    };
    const POINT row0 = pane.RowOrigin(0, 3), row4 = pane.RowOrigin(4, 3);
    // Every changed pixel lies on a drawn card.
    for (int y = 0; y < drawn.height; ++y)
        for (int x = 0; x < drawn.width; ++x) {
            if (drawn.At(x, y) == empty.At(x, y))
                continue;
            const bool onRow0 =
                x >= row0.x && x < row0.x + 2 * 15 + 54 && y >= row0.y && y < row0.y + 72;
            const bool onRow4 =
                x >= row4.x && x < row4.x + 15 + 54 && y >= row4.y && y < row4.y + 72;
            ASSERT_TRUE(onRow0 || onRow4) << x << "," << y;
        }
    // Each card shows its strip; the third card of view 4 is not there.
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(changedIn(row0.x + 15 * i, row0.y, row0.x + 15 * i + 13, row0.y + 72), 300) << i;
    EXPECT_GT(changedIn(row4.x + 15, row4.y, row4.x + 15 + 54, row4.y + 72), 2000);
    EXPECT_EQ(changedIn(row4.x + 15 + 54, row4.y, row4.x + 30 + 54, row4.y + 72), 0);
    // The hidden card is the sheet's back: red lattice in its middle.
    const uint32_t middle = drawn.At(row4.x + 15 + 27, row4.y + 20) & 0xFFFFFF;
    EXPECT_GT(int((middle >> 16) & 0xFF), 120) << std::hex << middle;

    // For a person to look at: every view's row.
    for (int view = 0; view < kSeatCount; ++view) {
        int codes[kHandSize];
        for (int i = 0; i < 6 + view; ++i)
            codes[i] = (view * 9 + i * 5) % kCardCodeCount;
        for (int i = 0; i < 6 + view; ++i)
            block[view][i] = CGameLogic::CardFromIndex(codes[i]);
        count[view] = 6 + view;
    }
    block[2][0] = MakeHiddenCard();
    SaveSheet("pane_lastcard.png", Drawn());
}

TEST_F(LastCardPaneTest, EmptyRowsAndBadCountsDrawNothingOutsideTheRows) {
    const platform::PixelImage empty = Drawn();
    count[1] = -4;
    count[2] = 0;
    EXPECT_EQ(Drawn().pixels, empty.pixels);
    // A count past the row's records is held to the row.
    for (int i = 0; i < kHandSize; ++i)
        block[3][i] = CGameLogic::CardFromIndex(i);
    count[3] = 1000;
    const platform::PixelImage full = Drawn();
    EXPECT_NE(full.pixels, empty.pixels);
}

} // namespace
