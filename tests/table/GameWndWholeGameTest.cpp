// Whole games through the table window: the table host's referee with six
// bot seats, my seat's records handed to the window as the client hands
// them (one at a time, only while the window is ready), the stepped clock
// running the animations in between. After every record the window's model
// must agree with the referee's.

#include "TableWindowKit.h"
#include "tools/tablehost/TableDriver.h"

#include <deque>
#include <map>

namespace table_test {
namespace {

class WholeGames : public RecordsTest {
protected:
    struct Outcome {
        int games = 0;
        int records = 0;
        std::map<int, int> ids;
    };

    // What the referee held when it sent a record of mine.
    struct Expected {
        int handCount[kSeatCount];
        std::vector<int> places;
        int score[kSeatCount];
        int beans[kSeatCount];
        size_t history;
    };

    // A player gets the records for all and his own; a watcher of my seat
    // those for all and the watchers' copies of the seat's.
    bool ForMe(int code, int param) const {
        if (code == kHostSendToAll)
            return true;
        if (watching)
            return code == kHostSendToWatchers && param == kMe;
        return (code == kHostSendToSeat || code == kHostSendForwarded) && param == kMe;
    }

    // Plays the games and checks the model after each record of my seat.
    Outcome Play(const std::string& rules, uint32_t seed, int games) {
        CTableDriver::Options options;
        options.rulesText = rules;
        options.seed = seed;
        CTableDriver driver(options);
        Outcome outcome;
        std::deque<Expected> expected;
        std::deque<std::vector<uint8_t>> queue;
        driver.onHostCall = [&](const tagHOSTCALL& call) {
            if (call.nDataLen < kGameMsgHeadSize || call.pData == nullptr ||
                !ForMe(call.nCode, call.nParam) || call.nCode == kHostTrace)
                return;
            const CGameLogic& referee = driver.Referee();
            Expected e;
            for (int seat = 0; seat < kSeatCount; ++seat) {
                e.handCount[seat] = referee.GetHandCardCount(seat);
                e.score[seat] = referee.GetUserInfo(seat).nScore;
                e.beans[seat] = referee.GetUserInfo(seat).nBeans;
            }
            e.places = referee.GetPlaces();
            e.history = referee.GetHistory().size();
            expected.push_back(e);
        };
        driver.onDeliver = [&](const CTableDriver::Sent& sent) {
            if (ForMe(sent.code, sent.param))
                queue.push_back(sent.record);
            while (!queue.empty() && !expected.empty()) {
                for (int i = 0; i < 3000 && !wnd->IsReceiveReady(); ++i)
                    Tick();
                ASSERT_TRUE(wnd->IsReceiveReady())
                    << "receiving stays held after record " << std::hex << lastId;
                const std::vector<uint8_t> record = std::move(queue.front());
                queue.pop_front();
                const Expected e = expected.front();
                expected.pop_front();
                lastId = LoadRecordInt(record.data(), 0);
                DeliverBytes(record.data(), int(record.size()));
                ++outcome.records;
                ++outcome.ids[lastId];
                CheckModel(e, lastId);
            }
        };
        driver.onGameOver = [&](CTableDriver&, const tagGAMEOVERMSG& over) {
            gameOvers.push_back(over);
        };
        driver.SeatBots();
        outcome.games = driver.Run(games);
        EXPECT_EQ(driver.GetRefusals(), 0);
        return outcome;
    }

    void CheckModel(const Expected& e, int id) {
        if (watching) {
            // The watched seat keeps its hand to itself: no face of it shows.
            for (const HANDENTRY& entry : wnd->Hands().GetHand())
                EXPECT_FALSE(entry.nCard >= 0 && entry.nCard < kCardCodeCount)
                    << "card " << entry.nCard << " after record " << std::hex << id;
        }
        if (!watching && (id == kMsgPlay || id == kMsgDeal || id == kMsgTribute ||
                          id == kMsgReturnTribute || id == kMsgBuy3)) {
            EXPECT_EQ(theBoard.GetHandCardCount(kMe), e.handCount[kMe])
                << "my hand after record " << std::hex << id;
        }
        if (id == kMsgPlay && !(theBoard.GetRuleFlags() & kRuleThrees)) {
            for (int seat = 0; seat < kSeatCount; ++seat)
                if (seat != kMe && e.handCount[seat] <= 10 && e.handCount[seat] > 0 &&
                    theBoard.GetSeatHandCount(seat) <= 10) {
                    EXPECT_EQ(theBoard.GetSeatHandCount(seat), e.handCount[seat])
                        << "seat " << seat;
                }
        }
        if (id == kMsgPlaces) {
            EXPECT_EQ(theBoard.GetPlaces(), e.places);
        }
        if (id == kMsgGameOver) {
            for (int seat = 0; seat < kSeatCount; ++seat) {
                EXPECT_EQ(theBoard.GetUserInfo(seat).nScore, e.score[seat]) << seat;
                EXPECT_EQ(theBoard.GetUserInfo(seat).nBeans, e.beans[seat]) << seat;
            }
            EXPECT_EQ(theBoard.GetHistory().size(), e.history);
        }
    }

    int lastId = 0;
    bool watching = false;
    std::vector<tagGAMEOVERMSG> gameOvers;
};

TEST_F(WholeGames, PlainRulesMatchTheRefereeRecordByRecord) {
    Outcome outcome = Play(RulesText({}), 11, 2);
    EXPECT_EQ(outcome.games, 2);
    EXPECT_GT(outcome.ids[kMsgPlay], 50);
    EXPECT_EQ(outcome.ids[kMsgGameOver], 2);
    ASSERT_EQ(gameOvers.size(), 2u);
    // The scores shown are the settlement's.
    for (int seat = 0; seat < kSeatCount; ++seat)
        EXPECT_EQ(theBoard.GetUserInfo(seat).nScore, gameOvers.back().users[seat].nScore);
    SaveWindowSheet("records_game_over.png");
}

TEST_F(WholeGames, AWatcherSeesThePlaysButNeverTheWatchedHand) {
    watching = true;
    client.m_bWatcher = TRUE;
    Outcome outcome = Play(RulesText({{15, 1}, {16, 1}, {23, 2}, {24, 1}}), 601, 2);
    EXPECT_EQ(outcome.games, 2);
    EXPECT_GT(outcome.ids[kMsgPlay], 50);
    EXPECT_GT(outcome.ids[kMsgDeal], 0);
    EXPECT_TRUE(Sent(kMsgPlay).empty()) << "a watcher answers nothing";
}

TEST_F(WholeGames, ThreesRuleAndBuyingAThree) {
    Outcome outcome = Play(RulesText({{14, 1}}), 101, 2);
    EXPECT_EQ(outcome.games, 2);
}

TEST_F(WholeGames, ShaoRevolutionAndGousiji) {
    Outcome outcome = Play(RulesText({{19, 1}, {24, 1}}), 201, 2);
    EXPECT_EQ(outcome.games, 2);
}

TEST_F(WholeGames, PointRoundsAndOpenedPoints) {
    Outcome outcome = Play(RulesText({{15, 2}, {24, 1}}), 301, 2);
    EXPECT_EQ(outcome.games, 2);
    EXPECT_GT(outcome.ids[kMsgPoint], 0);
}

TEST_F(WholeGames, TributeAndItsReturn) {
    Outcome outcome = Play(RulesText({{15, 1}, {16, 1}, {23, 2}, {24, 1}}), 401, 3);
    EXPECT_EQ(outcome.games, 3);
    EXPECT_GT(outcome.ids[kMsgTribute], 0);
}

TEST_F(WholeGames, AllRulesTogether) {
    Outcome outcome =
        Play(RulesText({{14, 1}, {15, 2}, {16, 2}, {18, 1}, {19, 1}, {22, 1}, {23, 1}, {24, 1}}),
             501, 3);
    EXPECT_EQ(outcome.games, 3);
}

} // namespace
} // namespace table_test
