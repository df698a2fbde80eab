// My hand: where cards lie, in which order, and how re-sorting rebuilds it.

#include "game/RefereeRandom.h"
#include "tests/table/TableWindowKit.h"

#include <numeric>

namespace table_test {
namespace {

using CardLayoutTest = CardTableTest;

std::vector<int> ShuffledCodes(uint32_t seed, int n) {
    std::vector<int> codes(kCardCodeCount);
    std::iota(codes.begin(), codes.end(), 0);
    CSeededRandom random(seed);
    for (int i = kCardCodeCount - 1; i > 0; --i)
        std::swap(codes[size_t(i)], codes[size_t(random.Below(i + 1))]);
    codes.resize(size_t(n));
    return codes;
}

TEST_F(CardLayoutTest, OneCardLiesCentredOnTheBaseLine) {
    ASSERT_TRUE(hands.DisplayCard(Card(2, 7)));
    Settle();
    SPRITEINFO* s = Info(hands.GetHand().front().pos);
    EXPECT_EQ(s->x, kTableWidth / 2 - CardW() / 2);
    EXPECT_EQ(s->y, BaseTop());
    EXPECT_EQ(s->z, 55);
    EXPECT_STREQ(s->szName, "MYCARD");
    EXPECT_EQ(s->nUser[0], Card(2, 7));
    EXPECT_EQ(s->alpha, 255);
}

TEST_F(CardLayoutTest, DealtHandsOfEveryRecordSizeFitTheTableInCardOrder) {
    for (int n : {36, 55}) {
        hands.ClearHand();
        const std::vector<int> dealt = ShuffledCodes(uint32_t(n), n);
        Deal(dealt);
        Settle();
        std::vector<int> codes = Codes(hands.GetHand());
        EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end(),
                                   [](int a, int b) { return CompareCard(a, b) < 0; }));
        std::vector<int> want = dealt;
        std::sort(want.begin(), want.end());
        std::sort(codes.begin(), codes.end());
        EXPECT_EQ(codes, want) << "every card exactly once";
        // A hand that fits beside my plate keeps the layout's spacing; a
        // longer one closes up evenly until it clears the plate.
        const int step = hands.MyHandFan(n).step;
        if (n == 36)
            EXPECT_EQ(step, Interval());
        else
            EXPECT_LT(step, Interval());
        const int plateRight = ResolvePos(gameLayout.m_posAvatar[0]).x + gameLayout.m_sizeAvatar.cx;
        const int width = (n - 1) * step + CardW();
        EXPECT_GT(kTableWidth / 2 - width / 2, plateRight) << n << " cards clear my plate";
        int i = 0;
        for (const HANDENTRY& e : hands.GetHand()) {
            SPRITEINFO* s = Info(e.pos);
            EXPECT_EQ(s->x, kTableWidth / 2 - width / 2 + i * step) << n << " " << i;
            EXPECT_EQ(s->y, BaseTop());
            EXPECT_EQ(s->z, 55 + i);
            EXPECT_EQ(s->nUser[0], e.nCard);
            EXPECT_GE(s->x, 0);
            EXPECT_LE(s->x + CardW(), kTableWidth);
            ++i;
        }
        EXPECT_EQ(PlayingSprites(), n);
    }
    // My plate near the centre leaves too little room beside it: the hand
    // keeps its spacing, centred, instead of closing up past reading.
    gameLayout.m_posAvatar[0].Set(kTableWidth / 2 - 140, gameLayout.m_posAvatar[0].y,
                                  gameLayout.m_posAvatar[0].anchor);
    for (int n : {36, 55}) {
        hands.ClearHand();
        Deal(ShuffledCodes(7, n));
        Settle();
        ASSERT_EQ(hands.MyHandFan(n).step, Interval()) << n;
        const int width = (n - 1) * Interval() + CardW();
        EXPECT_EQ(Info(hands.GetHand().front().pos)->x, kTableWidth / 2 - width / 2) << n;
        EXPECT_EQ(Info(hands.GetHand().back().pos)->x,
                  kTableWidth / 2 - width / 2 + (n - 1) * Interval())
            << n;
    }
}

class WeightSortTest : public CardTableTest {
protected:
    // Three 7s, two Ks, two 3s, an A, a 2 and both jokers.
    const std::vector<int> mixed = {Card(0, 4),  Card(1, 4), Card(3, 4, 1), Card(2, 10),
                                    Card(0, 10), Card(1, 0), Card(3, 0),    Card(0, 11),
                                    Card(2, 12), BigJoker(), SmallJoker(2)};
    std::vector<int> Ranks() {
        std::vector<int> ranks;
        for (const HANDENTRY& e : hands.GetHand())
            ranks.push_back(CGameLogic::CheckedCardFromIndex(e.nCard).rank);
        return ranks;
    }
};

TEST_F(WeightSortTest, CountsGroupRanksBehindTheTwosAndJokers) {
    Deal(mixed);
    hands.SortCardbyWeight(TRUE);
    Settle();
    // Weights 19, 18, 17, then three 7s (3), then Ks and 3s (2 each, K first), the A (1).
    EXPECT_EQ(Ranks(), (std::vector<int>{14, 13, 12, 4, 4, 4, 10, 10, 0, 0, 11}));
    EXPECT_EQ(PlayingSprites(), int(mixed.size())) << "the old sprites are gone";
    int i = 0;
    const int width = (int(mixed.size()) - 1) * Interval() + CardW();
    for (const HANDENTRY& e : hands.GetHand())
        EXPECT_EQ(Info(e.pos)->x, kTableWidth / 2 - width / 2 + Interval() * i++);

    theBoard.SetRuleFlags(kRuleThrees);
    hands.SortCardbyWeight(TRUE);
    EXPECT_EQ(Ranks(), (std::vector<int>{14, 13, 12, 4, 4, 4, 10, 10, 11, 0, 0}))
        << "with the threes rule the 3s weigh nothing";

    hands.SortCardbyWeight(FALSE);
    EXPECT_EQ(Ranks(), (std::vector<int>{14, 13, 12, 11, 10, 10, 4, 4, 4, 0, 0}));
}

TEST_F(WeightSortTest, AHandWithABackOrAHiddenSeatIsLeftAsItIs) {
    Deal(mixed);
    ASSERT_TRUE(hands.DealBack(-1, nullptr, 77));
    Settle();
    const std::vector<int> before = Codes(hands.GetHand());
    const POSITION first = hands.GetHand().front().pos;
    hands.SortCardbyWeight(TRUE);
    EXPECT_EQ(Codes(hands.GetHand()), before);
    EXPECT_EQ(hands.GetHand().front().pos, first);
    EXPECT_NE(Log().find("card.nValue == 0xff"), std::string::npos);

    hands.ClearHand();
    Deal(mixed);
    const std::vector<int> plain = Codes(hands.GetHand());
    fields.viewpoint.bWatcher = TRUE;
    hands.SortCardbyWeight(TRUE);
    EXPECT_EQ(Codes(hands.GetHand()), plain);
    EXPECT_NE(Log().find("theClient.m_bWatcher&& !theBoard.m_bWatcher[theClient.m_nMySeat]"),
              std::string::npos);
    theBoard.SetWatcherSees(fields.viewpoint.nMySeat, true);
    hands.SortCardbyWeight(TRUE);
    EXPECT_NE(Codes(hands.GetHand()), plain) << "a seat that lets watchers see is sorted";
}

TEST_F(CardLayoutTest, ACodeThatIsNoCardIsRefusedAndDrawsNothing) {
    Deal({Card(0, 3)});
    for (int bad : {216, 300, -5}) {
        EXPECT_FALSE(hands.DisplayCard(bad));
        EXPECT_FALSE(hands.DealCard(bad, nullptr, 5));
        EXPECT_FALSE(hands.ReceiveCard(bad, 2, 5));
        EXPECT_FALSE(hands.InsertCardByWeight(HANDENTRY{bad, 3, nullptr}));
    }
    EXPECT_EQ(hands.GetHand().size(), 1u);
    EXPECT_EQ(PlayingSprites(), 1);
    EXPECT_NE(Log().find("Display card fail! nOldWhat = 216"), std::string::npos);
    EXPECT_NE(Log().find("Insert card fail! nOldWhat = 300"), std::string::npos);
}

TEST_F(CardLayoutTest, ADealtCardComesFromTheFlyingCardAndSaysItArrived) {
    Deal({Card(0, 1), Card(0, 9)});
    CSpriteLine* line = CreateSpriteLine(kLineFixed);
    line->SetFrom(500, 300, 0, 255);
    POSITION flying = wnd.AddSprite(hands.GetCardBackImage(), line, 0, 400, 1, 0, "deal", FALSE);
    wnd.PlaySprite(flying, FALSE, 0, 400, 1, TRUE);
    ASSERT_TRUE(hands.DealCard(Card(1, 5), flying, 4242));
    auto entry = std::next(hands.GetHand().begin());
    ASSERT_EQ(entry->nCard, Card(1, 5)) << "between the J and the 4";
    EXPECT_EQ(Info(entry->pos)->x, 500);
    EXPECT_EQ(Info(entry->pos)->y, 300);
    EXPECT_EQ(Notified(4242), 0);
    Run(40);
    EXPECT_EQ(Notified(4242), 1);
    const int width = 2 * Interval() + CardW();
    EXPECT_EQ(Info(entry->pos)->x, kTableWidth / 2 - width / 2 + Interval());
    EXPECT_EQ(Info(entry->pos)->y, BaseTop());
}

TEST_F(CardLayoutTest, BacksJoinAtTheRightAndRaisedCardsComeDown) {
    Deal({Card(0, 1), Card(0, 9)});
    hands.SelectHandCard(hands.GetHand().front().pos, TRUE);
    ASSERT_TRUE(hands.DisplayCard(kNoCard));
    ASSERT_TRUE(hands.DealBack(-1, nullptr, 9));
    Settle();
    ASSERT_EQ(hands.GetHand().size(), 4u);
    EXPECT_EQ(hands.CountSelected(), 0);
    int i = 0;
    for (const HANDENTRY& e : hands.GetHand())
        EXPECT_EQ(Info(e.pos)->y, BaseTop()) << i++;
    EXPECT_EQ(Info(hands.GetHand().back().pos)->nUser[0], -1);
    EXPECT_STREQ(Info(hands.GetHand().back().pos)->szName, "mycard");
    EXPECT_EQ(Info(std::prev(hands.GetHand().end(), 2)->pos)->nUser[0], kNoCard);
    EXPECT_EQ(Notified(9), 1);
    // A real card still goes in front of the backs.
    ASSERT_TRUE(hands.DisplayCard(Card(3, 0)));
    EXPECT_EQ(Codes(hands.GetHand())[2], Card(3, 0));
}

TEST_F(CardLayoutTest, InsertByWeightPutsTheHeavierCardFirst) {
    hands.InsertCardByWeight(HANDENTRY{Card(0, 4), 2, nullptr});
    hands.InsertCardByWeight(HANDENTRY{Card(0, 11), 1, nullptr});
    hands.InsertCardByWeight(HANDENTRY{Card(1, 4), 2, nullptr});
    hands.InsertCardByWeight(HANDENTRY{Card(0, 12), 17, nullptr});
    EXPECT_EQ(Codes(hands.GetHand()),
              (std::vector<int>{Card(0, 12), Card(1, 4), Card(0, 4), Card(0, 11)}));
}

} // namespace
} // namespace table_test
