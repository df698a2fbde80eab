#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

namespace {

int Beats(const std::vector<int>& a, const std::vector<int>& b) {
    return CGameLogic::CompareCardType(TypeOf(a), TypeOf(b));
}

} // namespace

TEST(CompareCardType, InvalidWordsAndDifferentCounts) {
    EXPECT_EQ(CGameLogic::CompareCardType(0, TypeOf({Card(5)})), -2);
    EXPECT_EQ(CGameLogic::CompareCardType(TypeOf({Card(5)}), 0), -2);
    EXPECT_EQ(Beats(CardsOfRank(kRankAce, 2), CardsOfRank(kRankThree, 3)), 0);
    EXPECT_EQ(Beats({BigJoker()}, CardsOfRank(kRankThree, 2)), 0);
}

TEST(CompareCardType, HigherRankOfTheSameCountBeatsEqualNeverDoes) {
    EXPECT_EQ(Beats(CardsOfRank(kRankFour, 3), CardsOfRank(kRankThree, 3)), 1);
    EXPECT_EQ(Beats(CardsOfRank(kRankThree, 3), CardsOfRank(kRankFour, 3)), 0);
    EXPECT_EQ(Beats(CardsOfRank(kRankKing, 2), CardsOfRank(kRankKing, 2)), 0);
    // 2s count with a plain rank and do not raise it.
    EXPECT_EQ(Beats(Join({CardsOfRank(kRankJack, 1), CardsOfRank(kRankTwo, 1)}),
                    CardsOfRank(kRankJack, 2)),
              0);
    EXPECT_EQ(Beats(Join({CardsOfRank(kRankQueen, 1), CardsOfRank(kRankTwo, 1)}),
                    CardsOfRank(kRankJack, 2)),
              1);
}

TEST(CompareCardType, TwosBeatAcesAndOnlyJokersBeatTwos) {
    EXPECT_EQ(Beats(CardsOfRank(kRankTwo, 3), CardsOfRank(kRankAce, 3)), 1);
    EXPECT_EQ(Beats(CardsOfRank(kRankAce, 3), CardsOfRank(kRankTwo, 3)), 0);
    EXPECT_EQ(Beats(CardsOfRank(kRankTwo, 3), CardsOfRank(kRankTwo, 3)), 0);
    EXPECT_EQ(Beats(CardsOfRank(kRankSmallJoker, 3), CardsOfRank(kRankTwo, 3)), 1);
    EXPECT_EQ(Beats(Join({CardsOfRank(kRankSmallJoker, 1), CardsOfRank(kRankTwo, 1)}),
                    CardsOfRank(kRankTwo, 2)),
              0);
}

TEST(CompareCardType, NothingBeatsABigJoker) {
    EXPECT_EQ(Beats({BigJoker(1)}, {BigJoker(0)}), 0);
    EXPECT_EQ(Beats(CardsOfRank(kRankBigJoker, 2),
                    Join({CardsOfRank(kRankThree, 1), CardsOfRank(kRankBigJoker, 1)})),
              0);
}

TEST(CompareCardType, SmallJokersMustBeMatchedByBigJokers) {
    std::vector<int> kingsAndSmall = Join({CardsOfRank(kRankKing, 2), {SmallJoker()}});
    EXPECT_EQ(Beats(Join({CardsOfRank(kRankAce, 2), {BigJoker()}}), kingsAndSmall), 1);
    EXPECT_EQ(Beats(CardsOfRank(kRankAce, 3), kingsAndSmall), 0);
    EXPECT_EQ(Beats(Join({CardsOfRank(kRankAce, 2), {SmallJoker(1)}}), kingsAndSmall), 0);
    // Equal effective ranks never beat each other, whatever the jokers.
    EXPECT_EQ(Beats(Join({CardsOfRank(kRankKing, 2), {BigJoker()}}), kingsAndSmall), 0);
    // Without plain cards a play ranks as the 2s, above the kings.
    EXPECT_EQ(Beats({BigJoker(0), SmallJoker(1), SmallJoker(2)}, kingsAndSmall), 1);
    // Against 2s and a small joker, only jokers for every card do.
    std::vector<int> twosAndSmall = Join({CardsOfRank(kRankTwo, 2), {SmallJoker()}});
    EXPECT_EQ(Beats({BigJoker(0), SmallJoker(1), SmallJoker(2)}, twosAndSmall), 1);
    EXPECT_EQ(Beats({BigJoker(0), Card(kRankTwo, 3), SmallJoker(2)}, twosAndSmall), 0);
    // Small jokers alone fall to as many big jokers.
    EXPECT_EQ(Beats({BigJoker(0), BigJoker(1)}, {SmallJoker(0), SmallJoker(1)}), 1);
    EXPECT_EQ(Beats({BigJoker(0), SmallJoker(2)}, {SmallJoker(0), SmallJoker(1)}), 0);
}

TEST(CompareCardType, JokersAloneBeatAPlayWithoutJokers) {
    EXPECT_EQ(Beats({SmallJoker(0), SmallJoker(1)}, CardsOfRank(kRankAce, 2)), 1);
    EXPECT_EQ(Beats({SmallJoker(0)}, CardsOfRank(kRankTwo, 1)), 1);
}
