#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

TEST(CardRecords, EveryCodeDecodesToItsRankAndSuit) {
    for (int code = 0; code < kCardCodeCount; ++code) {
        tagCARD card = CGameLogic::CardFromIndex(code);
        int b = code % 54;
        EXPECT_EQ(card.code, code);
        EXPECT_EQ(card.spare, 0);
        EXPECT_EQ(card.flags, kCardHeld);
        if (b == 52) {
            EXPECT_EQ(card.rank, kRankSmallJoker);
            EXPECT_EQ(card.suit, kSuitSmallJoker);
        } else if (b == 53) {
            EXPECT_EQ(card.rank, kRankBigJoker);
            EXPECT_EQ(card.suit, kSuitBigJoker);
        } else {
            EXPECT_EQ(card.rank, b % 13) << code;
            EXPECT_EQ(card.suit, b / 13) << code;
        }
    }
    // The four decks carry the same cards.
    EXPECT_EQ(CGameLogic::CardFromIndex(54 + 11).rank, kRankAce);
    EXPECT_EQ(CGameLogic::CardFromIndex(3 * 54 + 12).rank, kRankTwo);
    EXPECT_EQ(CGameLogic::CardFromIndex(2 * 54 + 39).suit, 3);
}

TEST(CardRecords, CheckedRecordsAreNotHeldAndOutOfRangeCodesAreNoCard) {
    tagCARD ace = CGameLogic::CheckedCardFromIndex(11);
    EXPECT_EQ(ace.rank, kRankAce);
    EXPECT_EQ(ace.flags, 0);
    for (int code : {216, -1, 255, 300, 100000}) {
        tagCARD checked = CGameLogic::CheckedCardFromIndex(code);
        tagCARD plain = CGameLogic::CardFromIndex(code);
        for (const tagCARD& card : {checked, plain}) {
            EXPECT_EQ(card.code, 0) << code;
            EXPECT_EQ(card.rank, 0) << code;
            EXPECT_EQ(card.suit, 0) << code;
            EXPECT_EQ(card.flags, 0) << code;
        }
    }
}

TEST(PlayWord, PacksCountsOfPlainCardsTwosAndJokers) {
    EXPECT_EQ(TypeOf({BigJoker(0), BigJoker(1)}), 0x200000FFu);
    EXPECT_EQ(TypeOf({SmallJoker(2)}), 0x010000FFu);
    EXPECT_EQ(TypeOf({Card(kRankTwo, 0), Card(kRankTwo, 3, 2)}), 0x000200FFu);
    CardType mixed = TypeOf({Card(kRankKing, 1), Card(kRankKing, 2, 3), Card(kRankTwo, 0),
                             SmallJoker(1), BigJoker(0), BigJoker(3)});
    EXPECT_EQ(mixed, MakeCardType(kRankKing, 2, 1, 1, 2));
    EXPECT_EQ(CardTypeRank(mixed), unsigned(kRankKing));
    EXPECT_EQ(CGameLogic::GetCardTypeCount(mixed), 6);
    EXPECT_EQ(CGameLogic::GetCardTypeNonJokers(mixed), 3);
    // The ace of the second deck is an ace.
    EXPECT_EQ(TypeOf({54 + 11, 11}), MakeCardType(kRankAce, 2, 0, 0, 0));
}

TEST(PlayWord, IsInvalidForMixedRanksEmptySetsAndNonCards) {
    EXPECT_EQ(TypeOf({Card(3), Card(4)}), 0u);
    // 2s and jokers do not make two plain ranks agree.
    EXPECT_EQ(TypeOf({Card(3), Card(kRankTwo), BigJoker(), Card(4)}), 0u);
    EXPECT_EQ(TypeOf({}), 0u);
    EXPECT_EQ(CGameLogic::GetCardType(nullptr, 3), 0u);
    EXPECT_EQ(TypeOf({Card(5), 216}), 0u);
    EXPECT_EQ(TypeOf({-1}), 0u);
    EXPECT_EQ(TypeOf({255}), 0u);
}

TEST(PlayWord, RecordsGiveTheSameWordAsTheirCodes) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<int> codes;
        int n = 1 + int(random() % 6);
        int rank = int(random() % 15);
        for (int i = 0; i < n; ++i) {
            // Mostly one rank, sometimes a stray one, so both outcomes occur.
            int r = random() % 5 == 0 ? int(random() % 15) : rank;
            codes.push_back(CardsOfRank(r, 4)[random() % 4]);
        }
        std::vector<tagCARD> records;
        for (int code : codes)
            records.push_back(CGameLogic::CardFromIndex(code));
        EXPECT_EQ(CGameLogic::GetCardTypeOfCards(records.data(), n), TypeOf(codes));
    }
    // A record claiming a joker's rank without a joker's suit is no card.
    tagCARD forged = CGameLogic::CardFromIndex(Card(5));
    forged.rank = kRankBigJoker;
    EXPECT_EQ(CGameLogic::GetCardTypeOfCards(&forged, 1), 0u);
}

TEST(DisplayOrder, JokersThenTwosSpadesFirstThenAcesDownToThreesEmptyLast) {
    std::vector<int> codes = {
        Card(kRankThree, 0), -1,           Card(kRankTwo, 0), BigJoker(),
        Card(kRankAce, 2),   SmallJoker(), Card(kRankTwo, 3), Card(kRankTen, 1)};
    CGameLogic::SortCards(codes.data(), int(codes.size()));
    std::vector<int> expected = {
        BigJoker(),        SmallJoker(),      Card(kRankTwo, 3),   Card(kRankTwo, 0),
        Card(kRankAce, 2), Card(kRankTen, 1), Card(kRankThree, 0), -1};
    EXPECT_EQ(codes, expected);
    // Same rank and suit from another deck: the higher code first.
    EXPECT_LT(CompareCard(Card(kRankAce, 2, 3), Card(kRankAce, 2, 0)), 0);
    EXPECT_EQ(CompareCard(Card(5), Card(5)), 0);
    EXPECT_GT(CompareCard(-1, Card(5)), 0);
    EXPECT_LT(CompareCard(Card(5), -1), 0);
}

TEST(DisplayOrder, SortingAFullShoeGivesANonIncreasingOrder) {
    std::vector<int> codes(kCardCodeCount);
    for (int i = 0; i < kCardCodeCount; ++i)
        codes[i] = i;
    std::shuffle(codes.begin(), codes.end(), std::mt19937(3));
    CGameLogic::SortCards(codes.data(), int(codes.size()));
    for (size_t i = 1; i < codes.size(); ++i)
        EXPECT_LE(CompareCard(codes[i - 1], codes[i]), 0) << i;
    EXPECT_EQ(codes.front() % 54, 53);
    EXPECT_EQ(codes.back() % 54, 0);
}

TEST(DisplayOrder, WeightsComeFirstNegativeWeightsLast) {
    tagHANDENTRY heavyThree{Card(kRankThree), 5, 0};
    tagHANDENTRY lightAce{Card(kRankAce), 1, 1};
    tagHANDENTRY lightKing{Card(kRankKing), 1, 2};
    tagHANDENTRY hidden{BigJoker(), -1, 3};
    EXPECT_LT(CompareCardWeight(heavyThree, lightAce), 0);
    EXPECT_LT(CompareCardWeight(lightAce, lightKing), 0);
    EXPECT_GT(CompareCardWeight(hidden, lightKing), 0);
    EXPECT_LT(CompareCardWeight(lightKing, hidden), 0);
}
