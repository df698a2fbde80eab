// The deal's pace on the stepped clock: cards around the table in seat order,
// my codes in list order, one deal-done message, and the whole deal within
// its time.

#include "ClientFixture.h"
#include "table/cards/DealPaceWnd.h"

namespace table_test {
namespace {

using platform_test::Delivered;
using platform_test::PumpPending;

class DealPace : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        savedSeat = theClient.m_nMySeat;
        theClient.m_nMySeat = 4;
        ASSERT_TRUE(table.CreateTop(&log, 400, 300));
        ASSERT_TRUE(pacer.Create(&table));
    }
    void TearDown() override {
        pacer.DestroyWindow();
        table.DestroyWindow();
        theClient.m_nMySeat = savedSeat;
        DisplayTest::TearDown();
    }

    // Steps the clock 1 ms at a time until the deal is done or the limit passes;
    // gives the time taken.
    uint64_t RunDeal(uint64_t limitMs = 5000) {
        const uint64_t start = clock.NowMs();
        while (Done() == 0 && clock.NowMs() - start < limitMs) {
            clock.Advance(1);
            PumpPending();
        }
        // Later ticks must add nothing.
        clock.Advance(100);
        PumpPending();
        return clock.NowMs() - 100 - start;
    }
    std::vector<Delivered> Cards() const {
        std::vector<Delivered> cards;
        for (const Delivered& d : log)
            if (d.message == WM_DEAL_CARD)
                cards.push_back(d);
        return cards;
    }
    int Done() const {
        int count = 0;
        for (const Delivered& d : log)
            count += d.message == WM_DEAL_DONE ? 1 : 0;
        return count;
    }

    int savedSeat = 0;
    std::vector<Delivered> log;
    platform_test::RecordingWnd table;
    CDealPaceWnd pacer;
};

TEST_F(DealPace, ThirtySixCardsFromMySeatMakeTheWholeDealAtItsPace) {
    std::vector<int> mine(36);
    for (int i = 0; i < 36; ++i)
        mine[i] = 200 - i * 5;
    pacer.AddDealCards(mine.data(), 36);
    pacer.SetDealStart(4, 4);
    pacer.StartDealTimers();
    const uint64_t took = RunDeal();

    const std::vector<Delivered> cards = Cards();
    ASSERT_EQ(cards.size(), 216u);
    std::vector<int> dealtToMe;
    for (size_t i = 0; i < cards.size(); ++i) {
        const int seat = int(cards[i].lParam);
        EXPECT_EQ(seat, int((4 + i) % 6)) << i;
        const int code = int(cards[i].wParam);
        if (seat == 4)
            dealtToMe.push_back(code);
        else
            EXPECT_EQ(code, -1) << i;
    }
    EXPECT_EQ(dealtToMe, mine);
    EXPECT_EQ(Done(), 1);
    EXPECT_EQ(log.back().message, UINT(WM_DEAL_DONE));
    // Two cards per 10 ms timer period.
    EXPECT_GE(took, 1000u);
    EXPECT_LE(took, 1200u);
}

TEST_F(DealPace, AnEmptyListDealsNothingAndEndsOnce) {
    pacer.SetDealStart(4, 4);
    pacer.StartDealTimers();
    RunDeal(200);
    EXPECT_TRUE(Cards().empty());
    EXPECT_EQ(Done(), 1);
}

TEST_F(DealPace, ADealFromAnotherSeatDealsABackWhenMyListIsEmpty) {
    const int mine[1] = {33};
    pacer.AddDealCards(mine, 1);
    pacer.SetDealStart(1, 1);
    pacer.StartDealTimers();
    RunDeal(500);
    // Seats 1..5 then 0: my card at seat 4, and the turn is back at seat 1
    // only after a full round.
    const std::vector<Delivered> cards = Cards();
    ASSERT_EQ(cards.size(), 6u);
    EXPECT_EQ(int(cards[3].wParam), 33);
    EXPECT_EQ(int(cards[3].lParam), 4);
    EXPECT_EQ(Done(), 1);

    // The list emptied mid-round: the turn at my seat still comes, as a back.
    log.clear();
    const int two[2] = {7, 8};
    pacer.AddDealCards(two, 2);
    pacer.SetDealStart(5, 5);
    pacer.StartDealTimers();
    while (Cards().size() < 3) {
        clock.Advance(1);
        PumpPending();
    }
    pacer.StopDeal(0);
    RunDeal(500);
    const std::vector<Delivered> rest = Cards();
    ASSERT_EQ(rest.size(), 6u);
    EXPECT_EQ(int(rest[5].lParam), 4);
    EXPECT_EQ(int(rest[5].wParam), -1);
    EXPECT_EQ(Done(), 1);
}

TEST_F(DealPace, MyCardsGoToTheSeatTheTableNamesNotTheGlobalClients) {
    // A table whose client is not theClient sits at its own seat.
    const int mine[2] = {40, 41};
    pacer.SetCardsSeat(2);
    pacer.AddDealCards(mine, 2);
    pacer.SetDealStart(2, 2);
    pacer.StartDealTimers();
    RunDeal(500);
    const std::vector<Delivered> cards = Cards();
    ASSERT_EQ(cards.size(), 12u);
    EXPECT_EQ(int(cards[0].lParam), 2);
    EXPECT_EQ(int(cards[0].wParam), 40);
    EXPECT_EQ(int(cards[6].wParam), 41);
    // theClient's seat 4 gets backs.
    EXPECT_EQ(int(cards[2].lParam), 4);
    EXPECT_EQ(int(cards[2].wParam), -1);
}

TEST_F(DealPace, StopDealEmptiesTheListAndCanEndTheDeal) {
    const int codes[3] = {1, 2, 3};
    pacer.AddDealCards(codes, 3);
    EXPECT_EQ(pacer.StopDeal(0), 3);
    EXPECT_EQ(pacer.GetCardsLeft(), 0);
    PumpPending();
    EXPECT_EQ(Done(), 0);
    pacer.AddDealCards(codes, 2);
    EXPECT_EQ(pacer.StopDeal(1), 2);
    PumpPending();
    EXPECT_EQ(Done(), 1);
}

} // namespace
} // namespace table_test
