// A whole game over the wire: the client logs in to the local table host,
// takes one seat (bots play the other five), receives every record of the
// game in the order the host queued it, answers with plays picked by the rule
// book's Search, sees game over and leaves. The answers go out from the
// test's loop after the record callback has returned, as the program sends
// from its table window. One run also holds receiving after the records the
// program animates, as the program does, and releases it from the loop.

#include "SearchPlayer.h"
#include "WireFixture.h"
#include "game/GameLogic.h"

#include <algorithm>
#include <deque>
#include <map>
#include <ostream>
#include <set>

namespace wire_test {
namespace {

using platform_test::PumpUntil;

struct GameRun {
    const char* name;
    uint32_t seed;
    bool holdForAnimations;
};

std::ostream& operator<<(std::ostream& out, const GameRun& run) {
    return out << run.name;
}

// The records after which the program stops reading until its animation ends.
bool IsAnimated(int recordId) {
    return recordId == kMsgDeal || recordId == kMsgPlay || recordId == kMsgReturnTribute ||
           recordId == kMsgBuy3 || recordId == kMsgTribute;
}

class WireGame : public WireTest, public ::testing::WithParamInterface<GameRun> {};

TEST_P(WireGame, AWholeGameComesInOrderAndEndsInGameOver) {
    const GameRun& run = GetParam();
    CTableHost::Options options = HostOptions(1);
    options.table.seed = run.seed;
    StartHost(options);
    std::map<int, std::vector<std::vector<BYTE>>> queued;
    host->onFrameQueued = [&](int client, DWORD type, DWORD, const BYTE* payload, size_t length) {
        if (type == 0x243)
            queued[client].emplace_back(payload, payload + length);
    };

    CRecordingClient client;
    tools_test::CSearchPlayer player(2);
    std::deque<std::vector<uint8_t>> answers;
    bool held = false;
    client.onRecord = [&](const std::vector<BYTE>& record) {
        for (std::vector<uint8_t>& answer : player.OnRecord(record.data(), int(record.size())))
            answers.push_back(std::move(answer));
        int recordId = 0;
        if (run.holdForAnimations &&
            PeekGameRecordId(record.data(), int(record.size()), &recordId) &&
            IsAnimated(recordId)) {
            client.DisableReceive();
            held = true;
        }
    };
    ASSERT_TRUE(Enter(client)) << client.Describe();
    const int id = IdOf("alice");

    std::vector<std::vector<uint8_t>> sent;
    int holds = 0;
    auto step = [&] {
        while (!answers.empty()) {
            std::vector<uint8_t>& answer = answers.front();
            EXPECT_EQ(client.SendMsg(int(answer.size()), answer.data()), 1);
            sent.push_back(std::move(answer));
            answers.pop_front();
        }
        if (held) {
            held = false;
            ++holds;
            client.EnableReceive();
        }
        return player.SawGameOver();
    };
    ASSERT_TRUE(PumpWhileFlowing(step, [&] { return client.records.size(); }))
        << client.records.size() << " records";
    // After game over the host sends only the bots' presses for the next game.
    ASSERT_TRUE(PumpUntil([&] { return client.records.size() == queued[id].size(); }));

    EXPECT_TRUE(player.Problems().empty()) << player.Problems().front();
    EXPECT_GT(player.PlaysSent(), 0);
    EXPECT_EQ(std::set<int>(player.Places().begin(), player.Places().end()),
              (std::set<int>{0, 1, 2, 3, 4, 5}));
    // Byte for byte what the host queued for this client, in its order.
    for (size_t i = 0; i < client.records.size(); ++i)
        ASSERT_EQ(client.records[i], queued[id][i]) << i;
    const std::vector<int> ids = client.RecordIds();
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(ids.front(), kMsgTableInfo);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), kMsgDeal), 1);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), kMsgGameOver), 1);
    const auto over = std::find(ids.begin(), ids.end(), kMsgGameOver);
    ASSERT_NE(over, ids.end());
    EXPECT_LT(std::find(ids.begin(), ids.end(), kMsgDeal),
              std::find(ids.begin(), ids.end(), kMsgPlay));
    EXPECT_LT(std::find(ids.begin(), ids.end(), kMsgPlaces), over);
    EXPECT_EQ(std::count(over + 1, ids.end(), kMsgStart), ids.end() - over - 1);
    tagGAMEOVERMSG gameOver;
    const std::vector<BYTE>& overRecord = client.records[size_t(over - ids.begin())];
    ASSERT_TRUE(ReadGameRecord(overRecord.data(), int(overRecord.size()), gameOver));
    EXPECT_EQ(gameOver.nGamesPlayed, 1);
    EXPECT_STREQ(gameOver.users[2].szUserName, "alice");

    // Every answer reached the referee as it was sent, and none was refused.
    std::vector<std::vector<uint8_t>> arrived;
    for (const HostFrame& frame : received) {
        if (frame.client == id && frame.type == 0x243)
            arrived.emplace_back(frame.payload.begin(), frame.payload.end());
    }
    EXPECT_EQ(arrived, sent);
    EXPECT_EQ(host->Table().Driver().GetRefusals(), 0);
    EXPECT_FALSE(Logged("Exception"));
    if (run.holdForAnimations) {
        EXPECT_GT(holds, 0);
    }
    EXPECT_EQ(client.Count("OnClose"), 0) << client.Describe();

    client.LeaveGame();
    ASSERT_TRUE(HostGets(id, 0x202));
    ASSERT_TRUE(PumpUntil([&] { return !host->IsConnected(id); }));
}

INSTANTIATE_TEST_SUITE_P(Host, WireGame,
                         ::testing::Values(GameRun{"Seed11", 11, false},
                                           GameRun{"Seed12", 12, false},
                                           GameRun{"Seed13HeldForAnimations", 13, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace wire_test
