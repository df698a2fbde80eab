#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

namespace {

std::vector<int> HandCodes(const CGameLogic& board, int seat) {
    std::vector<int> codes;
    for (int i = 0; i < board.GetHandUsedCount(seat); ++i)
        codes.push_back(board.GetHand(seat)[i].code);
    return codes;
}

std::vector<tagCARD> Records(const std::vector<int>& codes) {
    std::vector<tagCARD> records;
    for (int code : codes)
        records.push_back(CGameLogic::CardFromIndex(code));
    return records;
}

} // namespace

TEST(Hand, AddForcesTheHeldFlagAndRefusesAFullHandOrABadSeat) {
    CGameLogic board;
    tagCARD card = CGameLogic::CardFromIndex(Card(kRankAce));
    card.flags = kCardPlayed | kCardPicked;
    ASSERT_TRUE(board.AddHandCard(2, card));
    EXPECT_EQ(board.GetHand(2)[0].flags, kCardHeld);
    EXPECT_EQ(board.GetHandCardCount(2), 1);
    EXPECT_FALSE(board.AddHandCard(6, card));
    EXPECT_FALSE(board.AddHandCard(-1, card));
    for (int i = 1; i < kHandSize; ++i)
        ASSERT_TRUE(board.AddHandCard(2, card));
    EXPECT_FALSE(board.AddHandCard(2, card));
    EXPECT_EQ(board.GetHandUsedCount(2), kHandSize);
}

TEST(Hand, DeleteRemovesTheFirstMatchAndShiftsTheRest) {
    CGameLogic board;
    DealHand(board, 1, {Card(3), Card(5), Card(3), Card(7)});
    ASSERT_TRUE(board.DeleteHandCard(1, Card(3)));
    EXPECT_EQ(HandCodes(board, 1), (std::vector<int>{Card(5), Card(3), Card(7)}));
    EXPECT_EQ(board.GetHand(1)[3].code, 0); // the freed slot is cleared
    ASSERT_TRUE(board.DeleteHandCard(1, Card(7)));
    EXPECT_EQ(HandCodes(board, 1), (std::vector<int>{Card(5), Card(3)}));
}

TEST(Hand, DeleteOfAMissingCardTracesAndChangesNothing) {
    CGameLogic board;
    TraceRecorder::Attach(board);
    DealHand(board, 0, {Card(3), Card(5)});
    EXPECT_FALSE(board.DeleteHandCard(0, Card(9)));
    EXPECT_FALSE(board.DeleteHandCard(0, 255));
    EXPECT_FALSE(board.DeleteHandCard(7, Card(3)));
    EXPECT_EQ(HandCodes(board, 0), (std::vector<int>{Card(3), Card(5)}));
    ASSERT_EQ(TraceRecorder::Lines().size(), 3u);
    EXPECT_EQ(TraceRecorder::Lines()[0], "Erro:-------:DeleteHandCard fail! Can't find the Card!");
}

TEST(Hand, CountsOnlyHeldUnplayedCards) {
    CGameLogic board;
    DealHand(board, 3, {Card(0), Card(0, 1), Card(4), Card(kRankTwo), SmallJoker()});
    board.GetHand(3)[2].flags |= kCardPlayed;
    EXPECT_EQ(board.GetHandCardCount(3), 4);
    EXPECT_EQ(board.CountPlainRanks(3), 1); // the 7 was played; 2s and jokers are not plain
    EXPECT_EQ(CGameLogic::CountRankCards(board.GetHand(3), 5, kRankThree), 2);
    EXPECT_EQ(CGameLogic::CountRankCards(board.GetHand(3), 5, 4), 0);
    EXPECT_FALSE(board.IsHandEmpty(3));
    EXPECT_TRUE(board.IsHandEmpty(4));
    EXPECT_EQ(board.GetHandCardCount(9), 0);
}

TEST(Hand, HoldsOnlyThreesNeedsAtLeastOneThreeAndNothingElse) {
    CGameLogic board;
    DealHand(board, 0, {Card(0), Card(0, 2)});
    EXPECT_EQ(board.HoldsOnlyThrees(0), 1);
    DealHand(board, 0, {Card(0), Card(kRankTwo)});
    EXPECT_EQ(board.HoldsOnlyThrees(0), 0);
    DealHand(board, 0, {Card(0), Card(kRankKing)});
    board.GetHand(0)[1].flags |= kCardPlayed;
    EXPECT_EQ(board.HoldsOnlyThrees(0), 1);
    DealHand(board, 0, {});
    EXPECT_EQ(board.HoldsOnlyThrees(0), 0);
    EXPECT_EQ(board.HoldsOnlyThrees(-2), 0);
}

TEST(Hand, JokersOrTwos) {
    EXPECT_EQ(CGameLogic::HasNoJokersOrTwos(2, Records({Card(4), Card(kRankAce)}).data()), 1);
    EXPECT_EQ(CGameLogic::HasNoJokersOrTwos(2, Records({Card(4), Card(kRankTwo)}).data()), 0);
    EXPECT_EQ(CGameLogic::HasNoJokersOrTwos(2, Records({BigJoker(), Card(4)}).data()), 0);
}

TEST(PickBestCard, PrefersTheFirstTwoThenTheLastSmallJokerThenTheHighestRank) {
    auto pick = [](const std::vector<int>& codes) {
        auto records = Records(codes);
        return int(CGameLogic::PickBestCard(records.data(), int(records.size())).code);
    };
    EXPECT_EQ(pick({BigJoker(), Card(kRankTwo, 1), SmallJoker(), Card(kRankTwo, 3)}),
              Card(kRankTwo, 1));
    EXPECT_EQ(pick({SmallJoker(0), BigJoker(), SmallJoker(2), Card(kRankAce)}), SmallJoker(2));
    EXPECT_EQ(pick({Card(kRankKing), BigJoker(1), Card(kRankAce), BigJoker(2)}), BigJoker(1));
    EXPECT_EQ(pick({Card(kRankFive), Card(kRankAce, 1), Card(kRankAce, 2)}), Card(kRankAce, 1));
    auto threes = Records({Card(0), Card(0, 3)});
    tagCARD none = CGameLogic::PickBestCard(threes.data(), 2);
    EXPECT_EQ(none.code | none.rank | none.suit | none.flags, 0);
    none = CGameLogic::PickBestCard(nullptr, 0);
    EXPECT_EQ(none.code | none.flags, 0);
}

TEST(FindRankZeroCard, GivesTheFirstThree) {
    auto records = Records({Card(4), Card(0, 2), Card(0, 1)});
    EXPECT_EQ(CGameLogic::FindRankZeroCard(records.data(), 3).code, Card(0, 2));
    auto none = Records({Card(4), BigJoker()});
    EXPECT_EQ(CGameLogic::FindRankZeroCard(none.data(), 2).flags, 0);
}

TEST(SortHandByGroup, ModeZeroSortsByRankAndWritesGroupSizes) {
    auto cards =
        Records({Card(5), Card(kRankTwo), Card(9), Card(5, 1), BigJoker(), Card(9, 2), Card(9, 3)});
    cards[0].flags |= kCardGroupSorted;
    CGameLogic::SortHandByGroup(cards.data(), int(cards.size()), 0);
    std::vector<int> ranks, sizes;
    for (const tagCARD& card : cards) {
        ranks.push_back(card.rank);
        sizes.push_back(card.spare);
        EXPECT_EQ(card.flags & kCardGroupSorted, 0);
    }
    EXPECT_EQ(ranks, (std::vector<int>{14, 12, 9, 9, 9, 5, 5}));
    EXPECT_EQ(sizes, (std::vector<int>{17, 17, 3, 3, 3, 2, 2}));
}

TEST(SortHandByGroup, ModeOneSortsBiggerGroupsFirstWithAStableSuitOrder) {
    auto cards = Records({Card(kRankAce, 0), Card(4, 0), Card(4, 3), Card(4, 1), SmallJoker(),
                          Card(kRankKing, 2), Card(kRankKing, 0)});
    CGameLogic::SortHandByGroup(cards.data(), int(cards.size()), 1);
    std::vector<int> codes;
    for (const tagCARD& card : cards) {
        codes.push_back(card.code);
        EXPECT_NE(card.flags & kCardGroupSorted, 0);
    }
    EXPECT_EQ(codes, (std::vector<int>{SmallJoker(), Card(4, 3), Card(4, 1), Card(4, 0),
                                       Card(kRankKing, 2), Card(kRankKing, 0), Card(kRankAce)}));
}
