#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

namespace {

class PlayChecks : public ::testing::Test {
protected:
    int Check(int seat, const std::vector<int>& codes) {
        return board.CheckTakeOut(seat, codes.data(), int(codes.size()));
    }
    int CheckRecords(int seat, const std::vector<int>& codes) {
        std::vector<tagCARD> records;
        for (int code : codes)
            records.push_back(CGameLogic::CardFromIndex(code));
        return board.CheckTakeOutRecords(seat, records.data(), int(records.size()));
    }
    int CheckType(int seat, const std::vector<int>& codes) {
        return board.CheckCardsType(seat, codes.data(), int(codes.size()));
    }
    CGameLogic board;
};

} // namespace

TEST_F(PlayChecks, ALeadOfHeldCardsOfOneRankIsAllowed) {
    DealHand(board, 2, {Card(5), Card(5, 1), Card(9), BigJoker()});
    EXPECT_EQ(Check(2, {Card(5), Card(5, 1)}), 1);
    EXPECT_EQ(Check(2, {Card(5), BigJoker()}), 1);
    EXPECT_EQ(CheckRecords(2, {Card(9)}), 1);
    EXPECT_EQ(Check(2, {Card(5), Card(9)}), 0);
    EXPECT_EQ(Check(2, {}), 0);
    EXPECT_EQ(board.CheckTakeOut(2, nullptr, 1), 0);
    EXPECT_EQ(Check(6, {Card(5)}), 0);
}

TEST_F(PlayChecks, RepeatedOrForeignOrPlayedCardsAreRefused) {
    DealHand(board, 0, {Card(7), Card(7, 1, 1), Card(7, 2)});
    // The seat holds several 7s, yet naming one code twice is refused.
    EXPECT_EQ(Check(0, {Card(7), Card(7)}), 0);
    EXPECT_EQ(CheckRecords(0, {Card(7), Card(7)}), 0);
    EXPECT_EQ(Check(0, {Card(7, 3)}), 0); // not in the hand
    board.GetHand(0)[2].flags |= kCardPlayed;
    EXPECT_EQ(Check(0, {Card(7, 2)}), 0);
    EXPECT_EQ(Check(0, {Card(7), Card(7, 1, 1)}), 1);
    EXPECT_EQ(Check(0, {Card(7), 300}), 0);
    EXPECT_EQ(Check(0, {Card(7), -5}), 0);
}

TEST_F(PlayChecks, AnAnswerMustBeatTheLastPlay) {
    DealHand(board, 1, {Card(8), Card(8, 1), Card(kRankTwo), Card(kRankFour), Card(kRankFour, 1)});
    board.AddPlay(0, TypeOf(CardsOfRank(kRankSix, 2)));
    EXPECT_EQ(Check(1, {Card(8), Card(8, 1)}), 1);
    EXPECT_EQ(Check(1, {Card(8), Card(kRankTwo)}), 1);
    EXPECT_EQ(Check(1, {Card(kRankFour), Card(kRankFour, 1)}), 0);
    EXPECT_EQ(Check(1, {Card(8)}), 0);
    EXPECT_EQ(CheckType(1, {Card(kRankFour), Card(kRankFour, 1)}), 0);
    EXPECT_EQ(CheckType(1, {Card(9), Card(9, 3)}), 1); // no in-hand test
    board.AddPlay(3, 0);
    EXPECT_EQ(Check(1, {Card(8), Card(8, 1)}), -2);
}

TEST_F(PlayChecks, TheThreesRuleRefusesEarlyThrees) {
    board.SetRuleFlags(kRuleThrees);
    DealHand(board, 4, {Card(0), Card(0, 1), Card(4), Card(kRankTwo), SmallJoker()});
    EXPECT_EQ(Check(4, {Card(0), Card(0, 1)}), 2); // 7s are still held
    EXPECT_EQ(CheckType(4, {Card(0)}), 2);
    board.GetHand(4)[2].flags |= kCardPlayed;
    EXPECT_EQ(Check(4, {Card(0), Card(kRankTwo)}), 3);
    EXPECT_EQ(Check(4, {Card(0), SmallJoker()}), 3);
    EXPECT_EQ(Check(4, {Card(0), Card(0, 1)}), 4); // the 2 and the joker are left
    board.GetHand(4)[3].flags |= kCardPlayed;
    board.GetHand(4)[4].flags |= kCardPlayed;
    EXPECT_EQ(Check(4, {Card(0)}), 4);
    EXPECT_EQ(Check(4, {Card(0), Card(0, 1)}), 1);
    // An invalid set is invalid before it is a refusal.
    EXPECT_EQ(Check(4, {Card(0), Card(5)}), 0);
    board.SetRuleFlags(0);
    DealHand(board, 4, {Card(0), Card(4)});
    EXPECT_EQ(Check(4, {Card(0)}), 1);
}

TEST_F(PlayChecks, SelectionMustShowAJokerWhileTheSeatHoldsOne) {
    DealHand(board, 3, {Card(6), BigJoker(), Card(6, 1)});
    const tagCARD* hand = board.GetHand(3);
    std::vector<int> plain = {Card(6)};
    EXPECT_EQ(board.SelectionLeavesJoker(3, plain.data(), 1, hand, 3), 0);
    board.SetSeatStatus(3, kStatusLastPlay, 0);
    EXPECT_EQ(board.SelectionLeavesJoker(3, plain.data(), 1, hand, 3), 1);
    std::vector<int> withJoker = {Card(6), BigJoker()};
    EXPECT_EQ(board.SelectionLeavesJoker(3, withJoker.data(), 2, hand, 3), 0);
    board.GetHand(3)[1].flags |= kCardPlayed;
    EXPECT_EQ(board.SelectionLeavesJoker(3, plain.data(), 1, hand, 3), 0);
    EXPECT_EQ(board.SelectionLeavesJoker(7, plain.data(), 1, hand, 3), 0);
}

TEST_F(PlayChecks, SeveralSeatsOutOnlyCountsUnderTheShaoRule) {
    EXPECT_EQ(board.IsSeveralSeatsOut(), 1);
    board.SetRuleFlags(kRuleShao);
    EXPECT_EQ(board.IsSeveralSeatsOut(), 0);
    board.SetSeatStatus(1, kStatusOut1, 0);
    EXPECT_EQ(board.IsSeveralSeatsOut(), 0);
    board.SetSeatStatus(4, kStatusOut3, 0);
    EXPECT_EQ(board.IsSeveralSeatsOut(), 1);
}

TEST(LevelPlay, ThresholdsByRank) {
    auto level = [](const std::vector<int>& codes) {
        return CGameLogic::IsLevelPlay(TypeOf(codes));
    };
    EXPECT_EQ(level(CardsOfRank(kRankTen, 5)), 1);
    EXPECT_EQ(level(CardsOfRank(kRankTen, 4)), 0);
    EXPECT_EQ(level(Join({CardsOfRank(kRankTen, 3), CardsOfRank(kRankTwo, 2)})), 1);
    EXPECT_EQ(level(CardsOfRank(kRankJack, 4)), 1);
    EXPECT_EQ(level(CardsOfRank(kRankJack, 3)), 0);
    EXPECT_EQ(level(CardsOfRank(kRankQueen, 3)), 1);
    EXPECT_EQ(level(CardsOfRank(kRankQueen, 2)), 0);
    EXPECT_EQ(level(CardsOfRank(kRankKing, 2)), 1);
    EXPECT_EQ(level(CardsOfRank(kRankKing, 1)), 0);
    EXPECT_EQ(level(CardsOfRank(kRankAce, 2)), 1);
    EXPECT_EQ(level(CardsOfRank(kRankAce, 1)), 0);
    EXPECT_EQ(level(CardsOfRank(kRankNine, 12)), 0);
    EXPECT_EQ(level({SmallJoker()}), 1);
    EXPECT_EQ(level({Card(kRankThree), BigJoker()}), 1);
    EXPECT_EQ(level(CardsOfRank(kRankTwo, 1)), 1);
    EXPECT_EQ(CGameLogic::IsLevelPlay(0), 0);
    tagCARD twoKings[2] = {CGameLogic::CardFromIndex(Card(kRankKing)),
                           CGameLogic::CardFromIndex(Card(kRankKing, 1))};
    EXPECT_EQ(CGameLogic::IsLevelPlayOfCards(twoKings, 2), 1);
}
