// Over many seeded random deals: every answer Search offers can be laid from
// the seat's hand, passes the take-out check and beats the play searched;
// and Search finds an answer exactly when one exists.

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "tests/game/CardHelpers.h"

namespace {

struct Inventory {
    int cnt[kRankCount] = {};
};

Inventory CountHand(const CGameLogic& board, int seat) {
    Inventory inv;
    for (int i = 0; i < board.GetHandUsedCount(seat); ++i) {
        const tagCARD& card = board.GetHand(seat)[i];
        if (IsCountingCard(card))
            ++inv.cnt[card.rank];
    }
    return inv;
}

// Tries every play the hand can make with as many cards as the play to beat.
bool AnyAnswerExists(const Inventory& inv, CardType toBeat) {
    int total = CGameLogic::GetCardTypeCount(toBeat);
    for (int rank = -1; rank < kPlainRankCount; ++rank) {
        int maxPlain = rank < 0 ? 0 : std::min(inv.cnt[rank], total);
        for (int plain = rank < 0 ? 0 : 1; plain <= maxPlain; ++plain)
            for (int twos = 0; twos <= std::min(inv.cnt[kRankTwo], total - plain); ++twos)
                for (int smalls = 0; smalls <= inv.cnt[kRankSmallJoker]; ++smalls) {
                    int bigs = total - plain - twos - smalls;
                    if (bigs < 0 || bigs > inv.cnt[kRankBigJoker])
                        continue;
                    CardType play =
                        MakeCardType(rank < 0 ? kNoPlainRank : rank, plain, twos, smalls, bigs);
                    if (CGameLogic::CompareCardType(play, toBeat) == 1)
                        return true;
                }
    }
    return false;
}

// A random valid play of 1..8 cards, leaning on jokers and 2s often enough
// that every branch of the search is reached.
CardType RandomPlay(std::mt19937& random) {
    for (;;) {
        int plain = int(random() % 5);
        int twos = int(random() % 3);
        int smalls = random() % 3 == 0 ? int(random() % 3) : 0;
        int bigs = random() % 8 == 0 ? 1 : 0;
        if (plain + twos + smalls + bigs == 0)
            continue;
        int rank = plain > 0 ? int(random() % kPlainRankCount) : kNoPlainRank;
        return MakeCardType(rank, plain, twos, smalls, bigs);
    }
}

std::vector<int> Shoe(std::mt19937& random) {
    std::vector<int> codes(kCardCodeCount);
    for (int i = 0; i < kCardCodeCount; ++i)
        codes[i] = i;
    std::shuffle(codes.begin(), codes.end(), random);
    return codes;
}

void CheckAnswers(CGameLogic& board, int seat, CardType toBeat, const char* what) {
    board.ClearPlayList();
    board.AddPlay((seat + 1) % kSeatCount, toBeat);
    std::vector<CardType> answers;
    board.Search(toBeat, seat, answers);
    for (CardType answer : answers) {
        int codes[kHandSize];
        int n = board.PickCardsForType(seat, answer, codes, kHandSize);
        ASSERT_EQ(n, CGameLogic::GetCardTypeCount(answer))
            << what << ": cannot lay " << std::hex << answer << " against " << toBeat;
        EXPECT_EQ(CGameLogic::GetCardType(codes, n), answer) << what;
        EXPECT_EQ(board.CheckTakeOut(seat, codes, n), 1)
            << what << ": " << std::hex << answer << " against " << toBeat;
        EXPECT_EQ(CGameLogic::CompareCardType(answer, toBeat), 1) << what;
    }
    bool exists = AnyAnswerExists(CountHand(board, seat), toBeat);
    EXPECT_EQ(!answers.empty(), exists)
        << what << ": search and brute force disagree on " << std::hex << toBeat;
    EXPECT_EQ(board.CannotBeatLastPlay(seat), answers.empty() ? 1 : 0) << what;
}

} // namespace

TEST(SearchProperty, AnswersFromFullDealsAreLegalAndComplete) {
    std::mt19937 random(20261208);
    CGameLogic board;
    for (int deal = 0; deal < 150; ++deal) {
        std::vector<int> shoe = Shoe(random);
        for (int seat = 0; seat < kSeatCount; ++seat)
            DealHand(board, seat,
                     std::vector<int>(shoe.begin() + seat * 36, shoe.begin() + seat * 36 + 36));
        for (int seat = 0; seat < kSeatCount; ++seat)
            for (int play = 0; play < 6; ++play)
                CheckAnswers(board, seat, RandomPlay(random), "full deal");
    }
}

TEST(SearchProperty, AnswersFromShortWildcardHeavyHandsAreLegalAndComplete) {
    std::mt19937 random(99);
    CGameLogic board;
    std::vector<int> wildcards = Join({CardsOfRank(kRankTwo, 16), CardsOfRank(kRankSmallJoker, 4),
                                       CardsOfRank(kRankBigJoker, 4)});
    for (int round = 0; round < 3000; ++round) {
        std::vector<int> shoe = Shoe(random);
        std::shuffle(wildcards.begin(), wildcards.end(), random);
        std::vector<int> hand(shoe.begin(), shoe.begin() + random() % 8);
        hand.insert(hand.end(), wildcards.begin(), wildcards.begin() + random() % 7);
        std::sort(hand.begin(), hand.end());
        hand.erase(std::unique(hand.begin(), hand.end()), hand.end());
        std::shuffle(hand.begin(), hand.end(), random);
        DealHand(board, 3, hand);
        // Some cards already played.
        for (int i = 0; i < board.GetHandUsedCount(3); ++i)
            if (random() % 6 == 0)
                board.GetHand(3)[i].flags |= kCardPlayed;
        CheckAnswers(board, 3, RandomPlay(random), "short hand");
    }
}

TEST(SearchProperty, LeadsCanBeLaidFromTheHand) {
    std::mt19937 random(5);
    CGameLogic board;
    for (int round = 0; round < 500; ++round) {
        board.SetRuleFlags(random() % 2 ? uint32_t(kRuleThrees) : 0u);
        std::vector<int> shoe = Shoe(random);
        DealHand(board, 0, std::vector<int>(shoe.begin(), shoe.begin() + 1 + random() % 36));
        board.ClearPlayList();
        std::vector<CardType> leads;
        ASSERT_GT(board.Search(0, 0, leads), 0);
        for (CardType lead : leads) {
            int codes[kHandSize];
            int n = board.PickCardsForType(0, lead, codes, kHandSize);
            ASSERT_EQ(n, CGameLogic::GetCardTypeCount(lead)) << std::hex << lead;
            int check = board.CheckTakeOut(0, codes, n);
            // A lead of 3s may still meet the threes rule when other ranks
            // are held; any other lead is legal.
            if (CardTypeRank(CGameLogic::GetCardType(codes, n)) != kRankThree) {
                EXPECT_EQ(check, 1) << std::hex << lead;
            }
        }
    }
}
