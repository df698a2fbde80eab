#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "tools/tablehost/HostOptions.h"
#include "tools/tablehost/TableDriver.h"

// Whole games played by six bot seats through the referee. Each batch sets
// the rule flags its name lists; every game must end in game over with six
// places and a settlement that follows the rules, every card of the four
// decks must be in some hand at the end, and no seat may ever have a play
// refused that the play checks accepted.

namespace {

// Fields 14 and after of the rules text, by field number; the time limits
// and fields 12, 13 come first.
std::string RulesText(const std::map<int, int>& fields) {
    std::string text = "10 10 10 10 10 10 30 30 5 30 5 0 1";
    for (int field = 14; field <= 40; ++field) {
        auto found = fields.find(field);
        text += " " + std::to_string(found == fields.end() ? 0 : found->second);
    }
    return text;
}

// What the settlement must give from the places alone: a side that takes
// places 1 to 3 scores 12 a seat, else each seat scores its side's sum of
// 4, 2, 0, 0, -2, -4 by place.
void ExpectedScores(const std::vector<int>& places, int scores[kSeatCount]) {
    const bool sweep = CGameLogic::IsTeammate(places[0], places[1]) &&
                       CGameLogic::IsTeammate(places[0], places[2]);
    static const int kPoints[kSeatCount] = {4, 2, 0, 0, -2, -4};
    int side[2] = {};
    for (int k = 0; k < kSeatCount; ++k)
        side[places[k] % 2] += kPoints[k];
    for (int seat = 0; seat < kSeatCount; ++seat)
        scores[seat] = sweep ? (places[0] % 2 == seat % 2 ? 12 : -12) : side[seat % 2];
}

struct BatchResult {
    int games = 0;
    std::map<int, int> records; // game record id -> count over the batch
    std::map<int, int> prompts; // announced action kind -> count
    int revolutions = 0;
};

// Plays tables of gamesPerTable games until the batch has its games, and
// checks every game over inside the referee's own report of it.
BatchResult PlayBatch(const std::string& rules, int tables, int gamesPerTable, uint32_t seed) {
    BatchResult result;
    for (int table = 0; table < tables; ++table) {
        CTableDriver::Options options;
        options.rulesText = rules;
        options.seed = seed + table;
        CTableDriver driver(options);
        int expectedBeans[kSeatCount];
        for (int& beans : expectedBeans)
            beans = options.startBeans;
        std::vector<std::string> traces; // every one, not only those the driver keeps
        driver.onTrace = [&](const std::string& trace) { traces.push_back(trace); };
        driver.onHostCall = [&](const tagHOSTCALL& call) {
            if (call.nCode == kHostCharge) {
                const auto* charge = static_cast<const tagCHARGE*>(call.pData);
                for (int seat = 0; seat < kSeatCount; ++seat) {
                    if (std::string(charge->szUserName) == "bot" + std::to_string(seat))
                        expectedBeans[seat] += charge->nAmount;
                }
            }
            tagREVOLUTIONMSG revolution;
            if (call.nCode == kHostSendToAll &&
                ReadGameRecord(call.pData, call.nDataLen, revolution) && revolution.bAnswer &&
                revolution.bYes)
                ++result.revolutions;
        };
        driver.onGameOver = [&](CTableDriver& table, const tagGAMEOVERMSG& over) {
            CGameLogic& referee = table.Referee();
            std::set<int> codes;
            int entries = 0;
            for (int seat = 0; seat < kSeatCount; ++seat) {
                const tagCARD* hand = referee.GetHand(seat);
                for (int i = 0; i < referee.GetHandUsedCount(seat); ++i, ++entries)
                    codes.insert(hand[i].code);
            }
            EXPECT_EQ(entries, kCardCodeCount);
            EXPECT_EQ(codes.size(), size_t(kCardCodeCount));
            const std::vector<int>& places = table.GetLastPlaces();
            ASSERT_EQ(places.size(), size_t(kSeatCount));
            EXPECT_EQ(std::set<int>(places.begin(), places.end()).size(), size_t(kSeatCount));
            EXPECT_EQ(*std::min_element(places.begin(), places.end()), 0);
            EXPECT_EQ(*std::max_element(places.begin(), places.end()), 5);
            int scores[kSeatCount];
            ExpectedScores(places, scores);
            int beanSum = 0;
            for (int seat = 0; seat < kSeatCount; ++seat) {
                EXPECT_EQ(over.change.nScoreChange[seat], scores[seat]) << "seat " << seat;
                beanSum += over.change.nBeanChange[seat];
                expectedBeans[seat] += over.change.nBeanChange[seat];
                EXPECT_EQ(over.users[seat].nBeans, expectedBeans[seat]) << "seat " << seat;
                EXPECT_EQ(over.nResult[seat], scores[seat] > 0 ? 2 : scores[seat] < 0 ? 1 : 0);
            }
            EXPECT_EQ(beanSum, 0); // no seat trusted, no losses capped: zero-sum
        };
        driver.SeatBots();
        const int finished = driver.Run(gamesPerTable);
        EXPECT_EQ(finished, gamesPerTable) << "table " << table;
        EXPECT_FALSE(driver.IsClosed());
        EXPECT_FALSE(driver.IsRunaway());
        EXPECT_EQ(driver.GetStalls(), 0);
        EXPECT_EQ(driver.GetRefusals(), 0);
        EXPECT_EQ(driver.GetCipherMismatches(), 0);
        for (const std::string& trace : traces) {
            EXPECT_EQ(trace.find("Exception"), std::string::npos) << trace;
            EXPECT_EQ(trace.find("Erro:"), std::string::npos) << trace;
        }
        result.games += finished;
        for (int id = kMsgFirst; id <= kMsgLast; ++id)
            result.records[id] += driver.CountRecords(id);
        for (int kind : {1, 2, 4, 8, 16})
            result.prompts[kind] += driver.CountPrompts(kind);
    }
    return result;
}

} // namespace

TEST(WholeGames, ThreesRuleAndBuyThree) {
    const BatchResult batch = PlayBatch(RulesText({{14, 1}}), 8, 5, 100);
    EXPECT_EQ(batch.games, 40);
    EXPECT_GT(batch.records.at(kMsgBuy3), 0);
}

TEST(WholeGames, ShaoRevolutionAndGousiji) {
    const BatchResult batch = PlayBatch(RulesText({{19, 1}, {24, 1}}), 8, 5, 200);
    EXPECT_EQ(batch.games, 40);
    EXPECT_GT(batch.prompts.at(kActionShao), 0);
    EXPECT_GT(batch.prompts.at(kActionGiveUp), 0);
    EXPECT_GT(batch.revolutions, 0);
    EXPECT_GT(batch.records.at(kMsgGousiji), 0);
}

TEST(WholeGames, PointRoundsAndOpenPoint) {
    const BatchResult batch = PlayBatch(RulesText({{15, 2}, {24, 1}}), 8, 5, 300);
    EXPECT_EQ(batch.games, 40);
    EXPECT_GT(batch.records.at(kMsgPoint), 0);
}

TEST(WholeGames, TributeAndReturnTribute) {
    const BatchResult batch = PlayBatch(RulesText({{15, 1}, {16, 1}, {23, 2}, {24, 1}}), 8, 5, 400);
    EXPECT_EQ(batch.games, 40);
    EXPECT_GT(batch.records.at(kMsgTribute), 0);
    EXPECT_GT(batch.records.at(kMsgReturnTribute), 0);
}

TEST(WholeGames, ThreesShaoPointsTributeReturnLetAndCardsLeft) {
    // The 3 rule, open point, tribute (bie, shao, point, place), teammates
    // answer first, gousiji, cards-left notices, return of any rank, shao.
    const BatchResult batch = PlayBatch(
        RulesText({{14, 1}, {15, 2}, {16, 2}, {18, 1}, {19, 1}, {22, 1}, {23, 1}, {24, 1}}), 8, 5,
        500);
    EXPECT_EQ(batch.games, 40);
    EXPECT_GT(batch.records.at(kMsgTribute), 0);
    EXPECT_GT(batch.records.at(kMsgReturnTribute), 0);
    EXPECT_GT(batch.prompts.at(kActionShao), 0);
}

TEST(WholeGames, TheHostsDefaultRulesPlayTheUsualGame) {
    // The rules the table host plays when given none start every game
    // without a fault trace and reach the clients' table record.
    CGameLogic referee;
    referee.SetProperty(kPropRulesText, kDefaultRulesText);
    const uint32_t usual = kRuleThrees | kRulePointRound1 | kRuleTribute | kRuleReturnTribute |
                           kRuleShao | kRuleCardsLeftNotice | kRuleGousijiAfterRevolution;
    EXPECT_EQ(referee.GetRuleFlags() & usual, usual);
    EXPECT_EQ(uint32_t(referee.GetTableHead().nRuleFlags), referee.GetRuleFlags());
    const BatchResult batch = PlayBatch(kDefaultRulesText, 4, 5, 600);
    EXPECT_EQ(batch.games, 20);
    EXPECT_GT(batch.records.at(kMsgTribute), 0);
    EXPECT_GT(batch.records.at(kMsgReturnTribute), 0);
    EXPECT_GT(batch.records.at(kMsgBuy3), 0);
}
