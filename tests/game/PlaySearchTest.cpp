#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

namespace {

class PlaySearch : public ::testing::Test {
protected:
    std::vector<CardType> SearchFor(int seat, CardType toBeat) {
        std::vector<CardType> list;
        int found = board.Search(toBeat, seat, list);
        EXPECT_EQ(found, int(list.size()));
        return list;
    }
    CGameLogic board;
};

constexpr CardType W(int rank, int plain, int twos = 0, int smalls = 0, int bigs = 0) {
    return MakeCardType(plain > 0 ? rank : kNoPlainRank, plain, twos, smalls, bigs);
}

} // namespace

TEST_F(PlaySearch, AnswersToThreeEightsInOrderOfPreference) {
    DealHand(board, 0,
             Join({CardsOfRank(kRankNine, 4), CardsOfRank(kRankJack, 3), CardsOfRank(kRankTwo, 2),
                   CardsOfRank(kRankFive, 2)}));
    std::vector<CardType> expected = {W(kRankJack, 3),    W(kRankNine, 3),    W(kRankNine, 2, 1),
                                      W(kRankJack, 2, 1), W(kRankNine, 1, 2), W(kRankJack, 1, 2)};
    EXPECT_EQ(SearchFor(0, TypeOf(CardsOfRank(kRankEight, 3))), expected);
}

TEST_F(PlaySearch, WildcardsAnswerAfterThePlainGroups) {
    DealHand(
        board, 1,
        Join({CardsOfRank(kRankKing, 1), CardsOfRank(kRankTwo, 1), {SmallJoker(0), BigJoker(0)}}));
    std::vector<CardType> expected = {
        W(kRankKing, 1, 1),       // K + 2
        W(kRankKing, 1, 0, 1),    // K + small joker (the 2 kept)
        W(kRankKing, 1, 0, 0, 1), // K + big joker
        W(0, 0, 1, 1),            // 2 + small joker
        W(0, 0, 0, 1, 1),         // the jokers
    };
    EXPECT_EQ(SearchFor(1, TypeOf(CardsOfRank(kRankQueen, 2))), expected);
}

TEST_F(PlaySearch, NothingAnswersABigJoker) {
    DealHand(board, 2, CardsOfRank(kRankBigJoker, 4));
    EXPECT_TRUE(SearchFor(2, TypeOf({Card(kRankFive), BigJoker(3)})).empty());
    EXPECT_TRUE(SearchFor(2, TypeOf({BigJoker(3)})).empty());
}

TEST_F(PlaySearch, SmallJokersNeedAsManyBigJokers) {
    DealHand(board, 3, Join({CardsOfRank(kRankAce, 3), {BigJoker(0), SmallJoker(1)}}));
    CardType kingsAndSmall = TypeOf(Join({CardsOfRank(kRankKing, 2), {SmallJoker(0)}}));
    std::vector<CardType> answers = SearchFor(3, kingsAndSmall);
    ASSERT_FALSE(answers.empty());
    EXPECT_EQ(answers.front(), W(kRankAce, 2, 0, 0, 1));
    for (CardType answer : answers) {
        EXPECT_GE(CardTypeBigJokers(answer), 1u);
        EXPECT_EQ(CGameLogic::CompareCardType(answer, kingsAndSmall), 1);
    }
    // Two small jokers cannot be answered with one big joker.
    EXPECT_TRUE(SearchFor(3, TypeOf({SmallJoker(2), SmallJoker(3)})).empty());
    EXPECT_EQ(SearchFor(3, TypeOf({SmallJoker(2)})), (std::vector<CardType>{W(0, 0, 0, 0, 1)}));
}

TEST_F(PlaySearch, OnlyJokersAnswerTwos) {
    DealHand(board, 4,
             Join({CardsOfRank(kRankAce, 4), {SmallJoker(0), SmallJoker(1), BigJoker(0)}}));
    EXPECT_EQ(SearchFor(4, TypeOf(CardsOfRank(kRankTwo, 2))),
              (std::vector<CardType>{W(0, 0, 0, 2), W(0, 0, 0, 1, 1)}));
    DealHand(board, 4, Join({CardsOfRank(kRankAce, 4), {SmallJoker(0), BigJoker(0)}}));
    EXPECT_EQ(SearchFor(4, TypeOf(CardsOfRank(kRankTwo, 2))),
              (std::vector<CardType>{W(0, 0, 0, 1, 1)}));
}

TEST_F(PlaySearch, LeadsOfferEveryRankAsOneGroup) {
    DealHand(board, 5,
             Join({CardsOfRank(kRankThree, 2),
                   CardsOfRank(kRankSeven, 1),
                   CardsOfRank(kRankTwo, 2),
                   {BigJoker()}}));
    std::vector<CardType> expected = {
        MakeCardType(kRankThree, 2, 0, 0, 0), MakeCardType(kRankSeven, 1, 0, 0, 0),
        MakeCardType(kRankTwo, 2, 0, 0, 0), MakeCardType(kRankBigJoker, 1, 0, 0, 0)};
    EXPECT_EQ(SearchFor(5, 0), expected);
}

TEST_F(PlaySearch, LeadsUnderTheThreesRule) {
    board.SetRuleFlags(kRuleThrees);
    // One plain rank with 2s or jokers: all the 2s and jokers.
    DealHand(board, 0, Join({CardsOfRank(kRankSix, 2), CardsOfRank(kRankTwo, 1), {SmallJoker()}}));
    EXPECT_EQ(SearchFor(0, 0), (std::vector<CardType>{MakeCardType(0, 0, 1, 1, 0)}));
    // One plain rank alone: the last group.
    DealHand(board, 0, CardsOfRank(kRankThree, 3));
    EXPECT_EQ(SearchFor(0, 0), (std::vector<CardType>{W(kRankThree, 3)}));
    // Two plain ranks: the lowest above the 3s, with every 2 and joker.
    DealHand(
        board, 0,
        Join({CardsOfRank(kRankThree, 2), CardsOfRank(kRankQueen, 2), CardsOfRank(kRankTwo, 1)}));
    EXPECT_EQ(SearchFor(0, 0), (std::vector<CardType>{W(kRankQueen, 2, 1)}));
    // More ranks: the 3s are not offered.
    DealHand(
        board, 0,
        Join({CardsOfRank(kRankThree, 2), CardsOfRank(kRankQueen, 2), CardsOfRank(kRankFive, 1)}));
    EXPECT_EQ(SearchFor(0, 0), (std::vector<CardType>{W(kRankFive, 1), W(kRankQueen, 2)}));
}

TEST_F(PlaySearch, WithoutTheThreesRuleOnePlainRankLeadsTheWholeHand) {
    DealHand(board, 1, Join({CardsOfRank(kRankSix, 2), CardsOfRank(kRankTwo, 1), {BigJoker()}}));
    EXPECT_EQ(SearchFor(1, 0), (std::vector<CardType>{W(kRankSix, 2, 1, 0, 1)}));
}

TEST_F(PlaySearch, ASeatThatMustShowAJokerLeadsEveryRankWithOne) {
    DealHand(
        board, 2,
        Join({CardsOfRank(kRankSix, 2), CardsOfRank(kRankNine, 1), {SmallJoker(), BigJoker()}}));
    board.SetSeatStatus(2, kStatusLastPlay, 0);
    std::vector<CardType> leads = SearchFor(2, 0);
    ASSERT_GE(leads.size(), 4u);
    EXPECT_EQ(leads[0], MakeCardType(kRankSix, 2, 0, 1, 0));
    EXPECT_EQ(leads[1], MakeCardType(kRankSix, 2, 0, 0, 1));
    EXPECT_EQ(leads[2], MakeCardType(kRankNine, 1, 0, 1, 0));
    EXPECT_EQ(leads[3], MakeCardType(kRankNine, 1, 0, 0, 1));
    // Once no joker is left the seat leads as anyone else.
    DealHand(board, 2, Join({CardsOfRank(kRankSix, 2), CardsOfRank(kRankNine, 1)}));
    EXPECT_EQ(SearchFor(2, 0), (std::vector<CardType>{W(kRankSix, 2), W(kRankNine, 1)}));
}

TEST_F(PlaySearch, CannotBeatLastPlayFollowsTheSearch) {
    DealHand(board, 3, CardsOfRank(kRankFive, 3));
    EXPECT_EQ(board.CannotBeatLastPlay(3), 0); // nothing to beat
    board.AddPlay(2, TypeOf(CardsOfRank(kRankFour, 3)));
    EXPECT_EQ(board.CannotBeatLastPlay(3), 0);
    board.AddPlay(4, TypeOf(CardsOfRank(kRankSix, 3)));
    EXPECT_EQ(board.CannotBeatLastPlay(3), 1);
    EXPECT_EQ(board.CannotBeatLastPlay(9), 1);
}

TEST_F(PlaySearch, PickedCardsRealiseLeadWordsThatNameTwosAndJokers) {
    DealHand(board, 0,
             Join({CardsOfRank(kRankTwo, 2), CardsOfRank(kRankSmallJoker, 1),
                   CardsOfRank(kRankEight, 2)}));
    int codes[8];
    ASSERT_EQ(board.PickCardsForType(0, MakeCardType(kRankTwo, 2, 0, 0, 0), codes, 8), 2);
    EXPECT_EQ(codes[0], Card(kRankTwo, 0));
    EXPECT_EQ(codes[1], Card(kRankTwo, 1));
    ASSERT_EQ(board.PickCardsForType(0, MakeCardType(kRankEight, 2, 0, 1, 0), codes, 8), 3);
    EXPECT_EQ(board.CheckTakeOut(0, codes, 3), 1);
    EXPECT_EQ(board.PickCardsForType(0, MakeCardType(kRankSmallJoker, 1, 0, 1, 0), codes, 8), 0);
    EXPECT_EQ(board.PickCardsForType(0, MakeCardType(kRankEight, 2, 0, 1, 0), codes, 2), 0);
}
