// Picking cards of my hand: clicks, the hint's play word and drags.

#include "tests/table/TableWindowKit.h"

namespace table_test {
namespace {

class CardSelectionTest : public CardTableTest {
protected:
    // Jokers, two 2s, three As, two 9s, a 5: ten cards in card order.
    void SetUp() override {
        CardTableTest::SetUp();
        Deal({BigJoker(), SmallJoker(), SmallJoker(1), Card(0, 12), Card(2, 12), Card(0, 11),
              Card(1, 11), Card(3, 11), Card(1, 6), Card(3, 6), Card(2, 2)});
        Settle();
    }
    POSITION At(int i) { return std::next(hands.GetHand().begin(), i)->pos; }
    // Places in the hand of the cards whose flags word has the flag.
    std::vector<int> Flagged(int flag) {
        std::vector<int> places;
        int i = 0;
        for (const HANDENTRY& e : hands.GetHand()) {
            if (Info(e.pos)->nUser[2] & flag)
                places.push_back(i);
            ++i;
        }
        return places;
    }
    std::vector<int> Selected() { return Flagged(kCardSelectedFlag); }
    std::vector<int> Marked() { return Flagged(kCardDragMark); }
    // A point on the strip of card i that no other card covers.
    int StripX(int i) { return Info(At(i))->x + 3; }
    int Y() { return BaseTop() + 30; }
};

TEST_F(CardSelectionTest, ASelectedCardLiesTwentyPixelsHigher) {
    hands.SelectHandCard(At(8), TRUE);
    hands.SelectHandCard(At(8), TRUE);
    Settle();
    EXPECT_EQ(Info(At(8))->y, BaseTop() - 20);
    hands.SelectHandCard(At(8), FALSE);
    hands.SelectHandCard(At(8), FALSE);
    Settle();
    EXPECT_EQ(Info(At(8))->y, BaseTop());
    EXPECT_TRUE(Selected().empty());
}

TEST_F(CardSelectionTest, AClickOnATwoOrAJokerTakesOnlyThatCard) {
    hands.SelectSameRank(0, At(3));
    EXPECT_EQ(Selected(), (std::vector<int>{3}));
    hands.SelectSameRank(0, At(1));
    EXPECT_EQ(Selected(), (std::vector<int>{1, 3})) << "nothing else is cleared";
}

TEST_F(CardSelectionTest, AClickOnAPlainCardTakesItsRankUpToTheCount) {
    hands.SelectSameRank(0, At(6));
    EXPECT_EQ(Selected(), (std::vector<int>{5, 6, 7})) << "no play: every A";
    hands.SelectSameRank(2, At(6));
    EXPECT_EQ(Selected(), (std::vector<int>{6, 7})) << "to the right first";
    hands.SelectSameRank(2, At(7));
    EXPECT_EQ(Selected(), (std::vector<int>{6, 7})) << "then to the left";
    hands.SelectSameRank(1, At(9));
    EXPECT_EQ(Selected(), (std::vector<int>{9}));
    hands.SelectSameRank(256, At(8));
    EXPECT_EQ(Selected(), (std::vector<int>{8, 9})) << "the count is kept in a byte";
    hands.SelectSameRank(0, nullptr);
    EXPECT_EQ(Selected(), (std::vector<int>{8, 9}));
}

TEST_F(CardSelectionTest, TheHintSelectsWhatThePlayWordAsks) {
    hands.SelectPlay(MakeCardType(13, 2, 0, 0, 0), fields.viewpoint.nMySeat);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2})) << "low byte 13: small jokers only";
    hands.SelectPlay(MakeCardType(11, 2, 1, 0, 1), fields.viewpoint.nMySeat);
    EXPECT_EQ(Selected(), (std::vector<int>{0, 3, 5, 6}));
    hands.SelectPlay(MakeCardType(14, 1, 0, 0, 0), fields.viewpoint.nMySeat);
    EXPECT_EQ(Selected(), (std::vector<int>{0}));
    hands.SelectPlay(MakeCardType(6, 2, 0, 0, 0), fields.viewpoint.nMySeat + 1);
    EXPECT_EQ(Selected(), (std::vector<int>{0})) << "another seat's hint changes nothing";
}

TEST_F(CardSelectionTest, ADragMarksTheSweptCardsAndTheMarksFollowTheMouse) {
    fields.bDragging = TRUE;
    hands.SelectHandCard(At(4), TRUE);
    Settle();
    hands.MarkDrag(StripX(2), Y(), StripX(6), Y());
    EXPECT_EQ(Marked(), (std::vector<int>{2, 3, 5, 6})) << "a selected card is not marked";
    hands.MarkDrag(StripX(2), Y(), StripX(3), Y());
    EXPECT_EQ(Marked(), (std::vector<int>{2, 3}));
    hands.MarkDrag(StripX(8), Y(), StripX(5), Y()); // leftwards
    EXPECT_EQ(Marked(), (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(hands.ApplyDragMarks(), 4);
    EXPECT_TRUE(Marked().empty());
    EXPECT_EQ(Selected(), (std::vector<int>{4, 5, 6, 7, 8}));
    EXPECT_TRUE(fields.bDragging);
    EXPECT_EQ(hands.ApplyDragMarks(), 0) << "a mouse-up with nothing marked is a click";
}

TEST_F(CardSelectionTest, ADragThatLeavesTheCardsOrIsTooNarrowClearsTheMarks) {
    fields.bDragging = TRUE;
    hands.MarkDrag(StripX(1), Y(), StripX(4), Y());
    ASSERT_EQ(Marked().size(), 4u);
    hands.MarkDrag(StripX(1), Y(), 10, 10);
    EXPECT_TRUE(Marked().empty());
    EXPECT_FALSE(fields.bDragging);
    hands.MarkDrag(StripX(1), Y(), StripX(4), Y());
    hands.MarkDrag(StripX(1), Y(), StripX(1) + 4, Y());
    EXPECT_TRUE(Marked().empty());
}

TEST_F(CardSelectionTest, SelectedCardsAreReportedInHandOrderWithinTheCapacity) {
    hands.SelectHandCard(At(9), TRUE);
    hands.SelectHandCard(At(2), TRUE);
    hands.SelectHandCard(At(5), TRUE);
    int cards[kHandSize] = {};
    EXPECT_EQ(hands.GetSelectedCards(cards, kHandSize), 3);
    EXPECT_EQ(cards[0], SmallJoker(0)) << "the higher code leads among equals";
    EXPECT_EQ(cards[2], Card(1, 6));
    int two[2] = {-1, -1};
    EXPECT_EQ(hands.GetSelectedCards(two, 2), 2);
    EXPECT_EQ(hands.CountSelected(), 3);
    hands.ClearSelection();
    EXPECT_EQ(hands.CountSelected(), 0);
}

} // namespace
} // namespace table_test
