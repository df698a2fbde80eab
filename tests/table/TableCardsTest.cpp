// The played cards on the table: their places for every view, their arrival,
// gathering into the centre and the last cards they leave.

#include "game/Seats.h"
#include "tests/table/TableWindowKit.h"

namespace table_test {
namespace {

class TableCardsTest : public CardTableTest {
protected:
    POINT Client(const CSpritePos& pos) { return ResolvePos(pos); }
    void ExpectAt(POSITION sprite, const CSpritePos& pos, const std::string& what) {
        const POINT want = Client(pos);
        EXPECT_EQ(Info(sprite)->x, want.x) << what;
        EXPECT_EQ(Info(sprite)->y, want.y) << what;
    }
    int Groups(int id) const {
        return int(std::count_if(wnd.events.begin(), wnd.events.end(), [id](const auto& e) {
            return e.what == "groupEnd" && e.a == id;
        }));
    }
};

TEST_F(TableCardsTest, MyOwnRowIsCentredWhateverThePlaceSays) {
    const CSpritePos* out = gameLayout.m_posOutCard;
    gameLayout.m_posOutCard[0].x = 333;
    const CSpritePos one = table.CalcTableCardPos(0, 0, 1);
    EXPECT_EQ(one.x, -CardW() / 2);
    EXPECT_EQ(one.y, out[0].y - CardH());
    EXPECT_EQ(one.anchor, out[0].anchor);
}

TEST_F(TableCardsTest, MyPlayLeavesMyHandWhichClosesUp) {
    Deal({Card(0, 1), Card(1, 3), Card(2, 3), Card(3, 3), Card(0, 7), Card(1, 9), Card(2, 11)});
    hands.SelectHandCard(std::next(hands.GetHand().begin(), 3)->pos, TRUE);
    Settle();
    const int played[] = {Card(1, 3), Card(3, 3), Card(2, 3)};
    ASSERT_TRUE(table.PutCard(&hands, 0, played, 3, 77));
    Settle();
    EXPECT_EQ(Codes(hands.GetHand()),
              (std::vector<int>{Card(2, 11), Card(1, 9), Card(0, 7), Card(0, 1)}));
    const int width = 3 * Interval() + CardW();
    int i = 0;
    for (const HANDENTRY& e : hands.GetHand()) {
        EXPECT_EQ(Info(e.pos)->x, kTableWidth / 2 - width / 2 + i * Interval()) << i;
        EXPECT_EQ(Info(e.pos)->y, BaseTop()) << "a raised card left, the rest lie flat";
        ++i;
    }
    const CHandList& onTable = table.GetSeatCards(0);
    EXPECT_EQ(Codes(onTable), (std::vector<int>{Card(3, 3), Card(2, 3), Card(1, 3)}));
    i = 0;
    for (const HANDENTRY& e : onTable) {
        ExpectAt(e.pos, table.CalcTableCardPos(0, i, 3), "table card");
        EXPECT_EQ(Info(e.pos)->z, 55 + i);
        EXPECT_STREQ(Info(e.pos)->szName, "");
        EXPECT_EQ(Info(e.pos)->nUser[2], 0);
        ++i;
    }
    EXPECT_EQ(Groups(77), 1);
    EXPECT_EQ(PlayingSprites(), 7);
}

TEST_F(TableCardsTest, APlayWithACardMissingFromMyHandLaysTheOthersAndLogs) {
    Deal({Card(0, 5), Card(1, 5), Card(2, 8)});
    const int played[] = {Card(0, 5), Card(3, 5), Card(1, 5)};
    EXPECT_FALSE(table.PutCard(&hands, 0, played, 3, 5));
    Settle();
    EXPECT_EQ(table.GetSeatCards(0).size(), 2u);
    EXPECT_EQ(Codes(hands.GetHand()), (std::vector<int>{Card(2, 8)}));
    EXPECT_NE(Log().find("iCard=2 --- nCards=3,card[0]=" + std::to_string(Card(0, 5)) +
                         " ,PutCard Erro!"),
              std::string::npos);
    EXPECT_EQ(Groups(5), 1) << "the group of what was found still ends";
}

TEST_F(TableCardsTest, EverySeatsPlayLandsInItsPlaceForEveryView) {
    for (int clockOrder : {0, 1}) {
        for (int me = 0; me < kSeatCount; ++me) {
            fields.viewpoint.nMySeat = me;
            fields.viewpoint.nClockOrder = clockOrder;
            for (int seat = 0; seat < kSeatCount; ++seat) {
                if (seat == me)
                    continue;
                const int view = SeatToView(seat, me, clockOrder != 0);
                const int cards[] = {Card(seat % 4, 9), Card(seat % 4, 9, 1)};
                ASSERT_TRUE(table.PutCard(&hands, seat, cards, 2, 1));
                const POSITION first = table.GetSeatCards(seat).front().pos;
                ExpectAt(first, fields.AvatarPoint(view), "from the seat's place");
                Run(40);
                int k = 0;
                for (const HANDENTRY& e : table.GetSeatCards(seat)) {
                    const std::string what = "me " + std::to_string(me) + " seat " +
                                             std::to_string(seat) + " card " + std::to_string(k);
                    ExpectAt(e.pos, table.CalcTableCardPos(view, k, 2), what);
                    EXPECT_EQ(Info(e.pos)->z, seat * 20 + 55 + k) << what;
                    EXPECT_EQ(Info(e.pos)->posImage, hands.GetCardImage(cards[k])) << what;
                    ++k;
                }
            }
            table.CollectToCentre(0, FALSE);
            Settle();
            EXPECT_EQ(PlayingSprites(), 0);
        }
    }
}

TEST_F(TableCardsTest, GatheringFliesEveryCardToTheCentreAndRecordsTheLastCards) {
    EXPECT_FALSE(table.CollectToCentre(0, TRUE));
    Run(100);
    EXPECT_EQ(Notified(kCardsLandedEnd), 0);

    fields.viewpoint.nMySeat = 2;
    const int a[] = {Card(0, 4), Card(1, 4)};
    const int b[] = {BigJoker(3)};
    table.PutCard(&hands, 3, a, 2, 1);
    table.PutCard(&hands, 5, b, 1, 1);
    Settle();
    fields.lastCards[4][0] = CGameLogic::CheckedCardFromIndex(7);
    fields.nLastCards[4] = 1;
    fields.bResortPending = TRUE;
    ASSERT_TRUE(table.CollectToCentre(3, TRUE));
    EXPECT_FALSE(fields.bResortPending);
    EXPECT_EQ(fields.nLastCards[fields.viewpoint.ViewOf(3)], 2);
    EXPECT_EQ(fields.lastCards[fields.viewpoint.ViewOf(3)][1].code, Card(1, 4));
    EXPECT_EQ(fields.nLastCards[fields.viewpoint.ViewOf(5)], 1);
    EXPECT_EQ(fields.lastCards[fields.viewpoint.ViewOf(5)][0].rank, kRankBigJoker);
    EXPECT_EQ(fields.nLastCards[4], 0) << "every block was cleared first";
    EXPECT_TRUE(table.GetSeatCards(3).empty());
    EXPECT_EQ(PlayingSprites(), 3) << "the flights";
    Settle();
    EXPECT_EQ(Notified(kCardsLandedEnd), 1) << "only the first flight tells";
    EXPECT_EQ(PlayingSprites(), 0);

    table.PutCard(&hands, 3, a, 2, 1);
    ASSERT_TRUE(table.CollectToCentre(0, FALSE));
    EXPECT_EQ(fields.nLastCards[fields.viewpoint.ViewOf(3)], 2) << "not recorded without asking";
}

TEST_F(TableCardsTest, ClearingASeatAfterARelayStopsExactlyItsSpritesOnScreen) {
    const int a[] = {Card(0, 4), Card(1, 4), Card(2, 4)};
    const int b[] = {Card(3, 8)};
    table.PutCard(&hands, 1, a, 3, 1);
    table.PutCard(&hands, 4, b, 1, 1);
    Settle();
    ASSERT_TRUE(table.RelayTable(&hands));
    EXPECT_EQ(PlayingSprites(), 4) << "the old sprites are gone";
    Settle();
    ExpectAt(table.GetSeatCards(1).back().pos,
             table.CalcTableCardPos(fields.viewpoint.ViewOf(1), 2, 3), "relaid");
    table.ClearSeat(1);
    EXPECT_EQ(PlayingSprites(), 1);
    EXPECT_EQ(fields.nLastCards[fields.viewpoint.ViewOf(1)], 3);
    EXPECT_EQ(fields.lastCards[fields.viewpoint.ViewOf(1)][2].code, Card(2, 4));
    table.ClearSeat(9);
    table.ClearSeat(-1);
    EXPECT_EQ(PlayingSprites(), 1);
}

TEST_F(TableCardsTest, ABrokenPlayRecordIsRefusedAndDrawsNothing) {
    const int bad[] = {Card(0, 4), 216};
    EXPECT_FALSE(table.PutCard(&hands, 2, bad, 2, 1));
    int many[kHandSize + 1];
    for (int i = 0; i <= kHandSize; ++i)
        many[i] = i;
    EXPECT_FALSE(table.PutCard(&hands, 2, many, kHandSize + 1, 1));
    EXPECT_FALSE(table.PutCard(&hands, 6, many, 1, 1));
    EXPECT_FALSE(table.PutCard(&hands, 2, nullptr, 3, 1));
    EXPECT_FALSE(table.PutCardBlind(&hands, 2, bad, 2, FALSE, 0));
    EXPECT_FALSE(table.PutCardBlind(&hands, 2, many, 1, TRUE, 99));
    EXPECT_EQ(PlayingSprites(), 0);
    EXPECT_TRUE(table.GetSeatCards(2).empty());
    const std::string log = Log();
    EXPECT_NE(log.find("PutCard refused: card 216 at 1"), std::string::npos);
    EXPECT_NE(log.find("PutCard refused: 56 cards"), std::string::npos);
    EXPECT_NE(log.find("PutCard refused: seat 6"), std::string::npos);
}

TEST_F(TableCardsTest, TheLastCardsOfAViewHoldAHandAtMost) {
    for (int i = 0; i < kHandSize; ++i)
        ASSERT_TRUE(fields.AddLastCard(2, i));
    EXPECT_FALSE(fields.AddLastCard(2, 60));
    EXPECT_FALSE(fields.AddLastCard(3, 216));
    EXPECT_EQ(fields.nLastCards[2], kHandSize);
    EXPECT_EQ(fields.nLastCards[3], 0);
}

TEST_F(TableCardsTest, ANewPlayOverCardsStillLyingThereReplacesThem) {
    const int a[] = {Card(0, 4), Card(1, 4)};
    const int b[] = {Card(0, 9)};
    table.PutCard(&hands, 4, a, 2, 1);
    table.PutCard(&hands, 4, b, 1, 1);
    Settle();
    EXPECT_EQ(Codes(table.GetSeatCards(4)), (std::vector<int>{Card(0, 9)}));
    EXPECT_EQ(PlayingSprites(), 1);
}

TEST_F(TableCardsTest, AHiddenSeatsPlayRisesFromItsPlaceAndRedrawsTheBacks) {
    Deal({Card(0, 1), Card(0, 2), Card(0, 3)});
    const int cards[] = {Card(2, 6)};
    ASSERT_TRUE(table.PutCardBlind(&hands, 0, cards, 1, TRUE, 5));
    EXPECT_EQ(Codes(hands.GetHand()), std::vector<int>(5, kNoCard));
    const POSITION card = table.GetSeatCards(0).front().pos;
    const CSpritePos to = table.CalcTableCardPos(0, 0, 1);
    CSpritePos from(to.x, fields.AvatarPoint(0).y);
    from.anchor = to.anchor;
    ExpectAt(card, from, "at the height of my place");
    Settle();
    ExpectAt(card, to, "on the table");
    EXPECT_EQ(Groups(CTableCards::kBlindGroupId), 1);
}

} // namespace
} // namespace table_test
