// Single cards between my hand and other seats: tribute, return tribute and
// buying a three move the right codes and tell the window when they arrive.

#include "tests/table/TableWindowKit.h"

namespace table_test {
namespace {

class TransferTest : public CardTableTest {
protected:
    void SetUp() override {
        CardTableTest::SetUp();
        fields.viewpoint.nMySeat = 2;
        Deal(start);
        Settle();
    }
    // The point a card in flight or at rest has reached.
    POINT At(POSITION pos) { return POINT{Info(pos)->x, Info(pos)->y}; }
    // Where a card's flight ends.
    POINT Target(POSITION pos) { return ResolvePos(Info(pos)->pLine->EndPos()); }
    POINT Client(const CSpritePos& pos) { return ResolvePos(pos); }
    // The one sprite that is not my hand's or the table's.
    POSITION Flight() {
        for (int c = 0; c < CSpriteWnd::kChannels; ++c) {
            POSITION pos = wnd.GetChannel(c).posSprite;
            if (!pos)
                continue;
            bool listed = false;
            for (const HANDENTRY& e : hands.GetHand())
                listed = listed || e.pos == pos;
            if (!listed)
                return pos;
        }
        return nullptr;
    }
    const std::vector<int> start = {BigJoker(), Card(0, 12), Card(2, 9), Card(1, 9), Card(0, 0)};
};

TEST_F(TransferTest, AGivenCardLeavesMyHandForTheReceiversPlace) {
    fields.bResortPending = TRUE;
    ASSERT_TRUE(table.GiveCard(&hands, 2, 5, BigJoker(), 3010));
    EXPECT_EQ(Codes(hands.GetHand()), (std::vector<int>(start.begin() + 1, start.end())));
    EXPECT_FALSE(fields.bResortPending);
    const POSITION flight = Flight();
    ASSERT_NE(flight, nullptr);
    EXPECT_EQ(Info(flight)->nUser[0], BigJoker());
    EXPECT_EQ(Info(flight)->z, CTableCards::kFlightDepth);
    Run(1000);
    EXPECT_EQ(Notified(3010), 0) << "a tribute flies for a second and a half";
    Run(600);
    EXPECT_EQ(Notified(3010), 1);
    EXPECT_EQ(PlayingSprites(), 4) << "the flight is gone";
    const int width = 3 * Interval() + CardW();
    EXPECT_EQ(Info(hands.GetHand().front().pos)->x, kTableWidth / 2 - width / 2);
}

TEST_F(TransferTest, AReceivedCardFliesFromTheGiverIntoItsPlaceInMyHand) {
    ASSERT_TRUE(table.GiveCard(&hands, 4, 2, Card(3, 9), 3011));
    EXPECT_TRUE(fields.bResortPending);
    auto entry = std::next(hands.GetHand().begin(), 2);
    ASSERT_EQ(entry->nCard, Card(3, 9)) << "the highest suit of the 9s comes first";
    const POINT from = Client(fields.AvatarPoint(fields.viewpoint.ViewOf(4)));
    EXPECT_EQ(At(entry->pos).x, from.x);
    EXPECT_EQ(At(entry->pos).y, from.y);
    Settle();
    EXPECT_EQ(Notified(3011), 1);
    const int width = 5 * Interval() + CardW();
    EXPECT_EQ(At(entry->pos).x, kTableWidth / 2 - width / 2 + 2 * Interval());
    EXPECT_EQ(At(entry->pos).y, BaseTop());
}

TEST_F(TransferTest, TransfersBetweenTwoOtherSeatsDoNothing) {
    EXPECT_FALSE(table.GiveCard(&hands, 1, 4, Card(0, 3), 1));
    EXPECT_FALSE(table.ExchangeCard(&hands, 1, Card(0, 3), 4, Card(0, 4), 1));
    EXPECT_FALSE(table.FlyOneCard(&hands, 1, 4, Card(0, 3), 1));
    EXPECT_FALSE(table.FlyTwoCards(&hands, 1, Card(0, 3), 4, Card(0, 4), 1));
    const int cards[] = {Card(0, 3)};
    EXPECT_FALSE(table.GiveCards(&hands, 1, 4, cards, 1));
    EXPECT_FALSE(table.GiveCard(&hands, 2, 8, Card(0, 3), 1));
    EXPECT_EQ(Codes(hands.GetHand()), start);
    EXPECT_EQ(PlayingSprites(), 5);
    EXPECT_NE(Log().find("错误的座位号:8"), std::string::npos);
}

TEST_F(TransferTest, AnExchangeSwapsTheCodesOfBothSeats) {
    ASSERT_TRUE(table.ExchangeCard(&hands, 2, Card(1, 9), 0, Card(3, 11), 3012));
    EXPECT_EQ(Codes(hands.GetHand()),
              (std::vector<int>{BigJoker(), Card(0, 12), Card(3, 11), Card(2, 9), Card(0, 0)}));
    EXPECT_TRUE(fields.bResortPending);
    Settle();
    EXPECT_EQ(Notified(3012), 1) << "only the card coming in tells";
    EXPECT_EQ(PlayingSprites(), 5);
}

TEST_F(TransferTest, GivenCardsMatchByTheCardOrderSetting) {
    // In hand order one by one: the 0 of spades is listed before the 9s, so
    // only the first given card that matches in turn leaves.
    const int out[] = {Card(2, 9), Card(1, 9)};
    ASSERT_TRUE(table.GiveCards(&hands, 2, 3, out, 2));
    EXPECT_EQ(Codes(hands.GetHand()), (std::vector<int>{BigJoker(), Card(0, 12), Card(0, 0)}));
    EXPECT_EQ(fields.nExpectedTransfers, 2);
    EXPECT_EQ(fields.nEndedTransfers, 0);
    Settle();
    EXPECT_EQ(Notified(kTransferLandedEnd), 2);

    hands.ClearHand();
    Deal(start);
    const int reversed[] = {Card(1, 9), Card(2, 9)};
    EXPECT_FALSE(table.GiveCards(&hands, 2, 3, reversed, 2)) << "not in hand order";
    EXPECT_EQ(hands.GetHand().size(), 4u);
    EXPECT_EQ(fields.nExpectedTransfers, 1) << "only the card that flies will tell";

    hands.ClearHand();
    Deal(start);
    fields.viewpoint.nCardOrder = 1;
    ASSERT_TRUE(table.GiveCards(&hands, 2, 3, reversed, 2));
    EXPECT_EQ(Codes(hands.GetHand()), (std::vector<int>{BigJoker(), Card(0, 12), Card(0, 0)}));
}

TEST_F(TransferTest, AHiddenHandGivesBacksFromItsRightPartAndTellsOnce) {
    fields.viewpoint.bWatcher = TRUE;
    const int out[] = {Card(1, 9), Card(0, 0)};
    ASSERT_TRUE(table.GiveCards(&hands, 2, 3, out, 2));
    EXPECT_EQ(hands.GetHand().size(), start.size()) << "the hand is not touched";
    EXPECT_EQ(fields.nExpectedTransfers, 1);
    EXPECT_EQ(PlayingSprites(), 7);
    Settle();
    EXPECT_EQ(Notified(kTransferLandedEnd), 1);
    EXPECT_EQ(PlayingSprites(), 5);
}

TEST_F(TransferTest, ReceivedCardsAllArriveAndTellEvenWhenLaterOnesPushThemAside) {
    const int in[] = {Card(3, 0), Card(3, 12), Card(3, 5)};
    ASSERT_TRUE(hands.ReceiveCards(in, 3, 4, 2));
    EXPECT_EQ(fields.nExpectedTransfers, 3);
    EXPECT_TRUE(fields.bResortPending);
    EXPECT_EQ(hands.GetHand().size(), 8u);
    Settle();
    EXPECT_EQ(Notified(kTransferLandedEnd), 3);
    const int width = 7 * Interval() + CardW();
    int i = 0;
    for (const HANDENTRY& e : hands.GetHand())
        EXPECT_EQ(At(e.pos).x, kTableWidth / 2 - width / 2 + Interval() * i++);

    EXPECT_FALSE(hands.ReceiveCards(in, 3, 4, 7));
    EXPECT_FALSE(hands.ReceiveCards(in, 3, -1, 2));
    EXPECT_FALSE(hands.ReceiveCards(in, 3, 4, 3)) << "not my seat";
    const int bad[] = {Card(0, 1), 400};
    EXPECT_FALSE(hands.ReceiveCards(bad, 2, 4, 2));
    EXPECT_EQ(hands.GetHand().size(), 8u);
    EXPECT_NE(Log().find("错误的座位号:7"), std::string::npos);
    EXPECT_NE(Log().find("错误的座位号:-1"), std::string::npos);
}

TEST_F(TransferTest, CardsFlyingToAHiddenHandLandOnItAsBacksAndAddNothing) {
    fields.viewpoint.bWatcher = TRUE;
    const int in[] = {Card(3, 0), Card(3, 1)};
    ASSERT_TRUE(hands.FlyToHand(in, 2, 4, 2));
    EXPECT_EQ(hands.GetHand().size(), start.size());
    EXPECT_EQ(fields.nExpectedTransfers, 1);
    EXPECT_FALSE(fields.bResortPending);
    POSITION last = nullptr;
    for (int c = 0; c < CSpriteWnd::kChannels; ++c)
        if (POSITION pos = wnd.GetChannel(c).posSprite; pos && Info(pos)->nUser[0] == Card(3, 1))
            last = pos;
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(Info(last)->posImage, hands.GetCardBackImage()) << "a watcher sees no face";
    // On the right part of my hand, which is centred on the table.
    const int handWidth = 4 * Interval() + CardW();
    const int expectX = kTableWidth / 2 + handWidth / 2 - (Interval() + CardW()) / 2 + Interval();
    EXPECT_EQ(Target(last).x, expectX);
    EXPECT_EQ(Target(last).y, BaseTop());
    Settle();
    EXPECT_EQ(Notified(kTransferLandedEnd), 1);
    EXPECT_EQ(PlayingSprites(), 5);
}

TEST_F(TransferTest, OneCardFliesBetweenMyHandAndAnotherPlace) {
    ASSERT_TRUE(table.FlyOneCard(&hands, 5, 2, Card(1, 1), 3013));
    const POSITION flight = Flight();
    ASSERT_NE(flight, nullptr);
    const int x = kTableWidth / 2 + (5 * Interval() + CardW()) / 2 - (2 * Interval() + CardW()) / 2;
    EXPECT_EQ(Target(flight).x, x) << "it lands on my hand, not at the table's edge";
    EXPECT_EQ(Target(flight).y, BaseTop());
    Settle();
    EXPECT_EQ(Notified(3013), 1);
    ASSERT_TRUE(table.FlyTwoCards(&hands, 2, Card(1, 1), 5, Card(2, 2), 3014));
    EXPECT_EQ(PlayingSprites(), 7);
    Settle();
    EXPECT_EQ(Notified(3014), 1);
    EXPECT_EQ(Codes(hands.GetHand()), start) << "only an animation";
}

} // namespace
} // namespace table_test
