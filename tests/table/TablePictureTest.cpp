// Pictures of a dealt hand and of a table with every view's played cards,
// in both card sizes, saved for a person to look at and checked where it
// matters: cards are drawn where the layout puts them, the felt elsewhere.

#include "platform/images/PngFile.h"
#include "tests/table/TableWindowKit.h"

namespace table_test {
namespace {

class TablePictureTest : public CardTableTest,
                         public ::testing::WithParamInterface<bool /* big cards */> {
protected:
    void SetUp() override {
        CardTableTest::SetUp();
        if (GetParam()) {
            // The big cards are for a wide table: a full hand of them needs 1151 pixels.
            wnd.MoveWindow(0, 0, kWideWidth, kWideHeight);
            sprite_test::PumpPending();
            gameLayout.m_sizeCard = gameLayout.m_sizeCardBig;
            gameLayout.m_nInterval = gameLayout.m_nIntervalBig;
            ASSERT_TRUE(hands.LoadCardFaces(&gameLayout.m_bmpCardsBig, CardW(), CardH()));
        }
    }
    void Save(const std::string& name) {
        wnd.FlushDirty();
        const std::string path = std::string(TABLE_TEST_OUTPUT_DIR) + "/" + name +
                                 (GetParam() ? "-big" : "-small") + ".png";
        ASSERT_TRUE(platform::SavePngFile(path, wnd.Frame()));
    }
    static constexpr int kWideWidth = 1280;
    static constexpr int kWideHeight = 900;
    int Width() const { return GetParam() ? kWideWidth : kTableWidth; }
    int Height() const { return GetParam() ? kWideHeight : kTableHeight; }
    bool IsFelt(int x, int y) const {
        return wnd.Pixel(x, y) == sprite_test::Rgb(sprite_test::TestSpriteWnd::kBackground);
    }
};

TEST_P(TablePictureTest, ADealtHandWithASelectionAndADrag) {
    // A record's largest hand: every rank, both jokers, some pairs and triples.
    std::vector<int> dealt;
    for (int i = 0; i < kHandSize; ++i)
        dealt.push_back((i * 37) % kCardCodeCount);
    Deal(dealt);
    hands.SortCardbyWeight(TRUE);
    Settle();
    auto at = [&](int i) { return std::next(hands.GetHand().begin(), i)->pos; };
    hands.SelectSameRank(0, at(20));
    const int y = Height() - CardH() / 2 - gameLayout.m_nBorder;
    hands.MarkDrag(Info(at(40))->x + 3, y, Info(at(46))->x + 3, y);
    Settle();
    Save("hand");
    const SPRITEINFO* first = Info(at(0));
    const SPRITEINFO* last = Info(at(kHandSize - 1));
    EXPECT_FALSE(IsFelt(first->x + 3, first->y + CardH() / 2));
    EXPECT_FALSE(IsFelt(last->x + CardW() - 3, last->y + CardH() / 2));
    EXPECT_TRUE(IsFelt(first->x - 3, first->y + CardH() / 2));
    EXPECT_TRUE(IsFelt(last->x + CardW() + 3, last->y + CardH() / 2));
    EXPECT_GE(first->x, 0);
    EXPECT_LE(last->x + CardW(), Width());
}

TEST_P(TablePictureTest, EveryViewsPlayedCardsWithTheShownHands) {
    fields.viewpoint.nMySeat = 0;
    Deal({BigJoker(), Card(3, 12), Card(2, 11), Card(0, 11), Card(1, 7), Card(3, 7), Card(2, 5),
          Card(0, 3), Card(1, 0)});
    const int plays[kSeatCount][3] = {{Card(2, 9), Card(0, 9), Card(3, 9)},
                                      {Card(1, 4), Card(2, 4), -1},
                                      {SmallJoker(), -1, -1},
                                      {Card(0, 10), Card(1, 10), Card(2, 10)},
                                      {Card(3, 6), Card(0, 6), -1},
                                      {Card(1, 12), -1, -1}};
    for (int seat = 1; seat < kSeatCount; ++seat) {
        const int n =
            int(std::count_if(plays[seat], plays[seat] + 3, [](int c) { return c >= 0; }));
        ASSERT_TRUE(table.PutCard(&hands, seat, plays[seat], n, 1));
    }
    Deal({Card(2, 9), Card(0, 9), Card(3, 9)});
    ASSERT_TRUE(table.PutCard(&hands, 0, plays[0], 3, 1));
    const int shown[] = {Card(0, 2), Card(1, 5), Card(2, 8), Card(3, 8)};
    hands.ShowAllyHand(shown, 4, CGameLogic::GetNextTeammate(0));
    hands.ShowCueCards(shown, 2, CGameLogic::GetPrevTeammate(0));
    Settle();
    Save("table");
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const HANDENTRY& e = table.GetSeatCards(seat).back();
        const SPRITEINFO* s = Info(e.pos);
        EXPECT_FALSE(IsFelt(s->x + CardW() / 2, s->y + CardH() / 2)) << seat;
        // No two seats' cards overlap.
        for (int other = seat + 1; other < kSeatCount; ++other)
            for (const HANDENTRY& o : table.GetSeatCards(other)) {
                const SPRITEINFO* t = Info(o.pos);
                const bool apart = s->x + CardW() <= t->x || t->x + CardW() <= s->x ||
                                   s->y + CardH() <= t->y || t->y + CardH() <= s->y;
                EXPECT_TRUE(apart) << seat << " and " << other;
            }
    }
}

INSTANTIATE_TEST_SUITE_P(CardSizes, TablePictureTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Big" : "Small"; });

} // namespace
} // namespace table_test
