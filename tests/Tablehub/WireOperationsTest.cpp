// The client's operations over the wire, answered by the local table host as
// the game server answers them: changing seats, standing another player up,
// the coin frames, trusteeship exit, leaving and escaping.

#include "HostTestKit.h"
#include "WireFixture.h"
#include "game/GameLogic.h"

namespace wire_test {
namespace {

using platform_test::PumpUntil;
using platform_test::Settle;
using tools_test::WireClient;

class WireOperations : public WireTest {
protected:
    // Alice (the client) on seat 2 and bob of plain descriptors on seat 3
    // make a two-player table, which the bots then fill.
    void EnterBesideBob(CRecordingClient& client, WireClient& bob) {
        StartHost(HostOptions(2));
        ASSERT_TRUE(Enter(client)) << client.Describe();
        EnterRaw(bob, "bob", 3);
        ASSERT_TRUE(PumpUntil([&] { return client.Count("OnGameMsg") > 0; }));
    }
};

TEST_F(WireOperations, APlayerChangesSeatWhileTheTableWaitsAndIsRefusedOnceItIsFull) {
    StartHost(HostOptions(2));
    CRecordingClient client;
    ASSERT_TRUE(Enter(client)) << client.Describe();
    const int id = IdOf("alice");
    client.ChangeSeat(0x104, 0); // only the seat's low byte travels
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnChangeSeat") == 1; }));
    EXPECT_EQ(LastReceived(id, 0x1AB),
              tools_test::Word(0) + tools_test::Word(4) + tools_test::Word(0));
    EXPECT_EQ(client.Last("OnChangeSeat")->values, (std::vector<int64_t>{1, 4, 0}));
    EXPECT_EQ(client.m_nMySeat, 4);
    EXPECT_FALSE(client.m_bWatcher);
    EXPECT_EQ(host->Table().SeatOf(id), 4);

    WireClient bob;
    EnterRaw(bob, "bob", 3);
    ASSERT_TRUE(PumpUntil([&] { return host->Table().IsSeated(); }));
    client.ChangeSeat(5, 0);
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnChangeSeat") == 2; }));
    EXPECT_EQ(client.Last("OnChangeSeat")->values, (std::vector<int64_t>{0, 4, 0}));
    EXPECT_EQ(client.m_nChangeSeatResult, 0);
    EXPECT_EQ(host->Table().SeatOf(id), 4);
}

TEST_F(WireOperations, AWatcherMovesToAnotherSeatAndGetsItsSnapshot) {
    StartHost(HostOptions());
    WireClient bob;
    SeatBobForWatchers(bob);
    CRecordingClient client;
    LaunchFields fields;
    fields.seat = "9";
    ASSERT_TRUE(Enter(client, fields)) << client.Describe();
    ASSERT_TRUE(PumpUntil([&] { return client.records.size() == 1; }));
    client.ChangeSeat(4, 1);
    ASSERT_TRUE(PumpUntil([&] { return client.records.size() == 2; })) << client.Describe();
    EXPECT_EQ(client.m_nMySeat, 4);
    EXPECT_TRUE(client.m_bWatcher);
    EXPECT_EQ(host->Table().WatchedBy(IdOf("alice")), 4);
    // The reply comes before the new seat's snapshot.
    std::vector<std::string> order;
    for (const Call& call : client.calls) {
        if (call.name == "OnChangeSeat" || call.name == "OnGameMsg")
            order.push_back(call.name);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"OnGameMsg", "OnChangeSeat", "OnGameMsg"}));
    EXPECT_EQ(client.Last("OnChangeSeat")->values, (std::vector<int64_t>{1, 4, 1}));
    EXPECT_EQ(client.RecordIds(), (std::vector<int>{0x902, 0x902}));
    EXPECT_EQ(client.records[1].size(), 25632u);
}

TEST_F(WireOperations, StandupSendsAnotherPlayerAwayAndItsSeatIsReported) {
    CRecordingClient client;
    WireClient bob;
    EnterBesideBob(client, bob);
    const int id = IdOf("alice");
    client.Standup(const_cast<char*>("bob"));
    ASSERT_TRUE(HostGets(id, 0x111));
    EXPECT_EQ(LastReceived(id, 0x111), Field("bob", 20) + tools_test::Word(8));
    EXPECT_TRUE(bob.WaitForEnd());
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnLeaveGame(seat)") == 1; }));
    EXPECT_EQ(client.Last("OnLeaveGame(seat)")->values, std::vector<int64_t>{3});
    EXPECT_TRUE(host->IsConnected(id));
}

TEST_F(WireOperations, BeingStoodUpByAnotherPlayerKicksTheClientOut) {
    CRecordingClient client;
    WireClient bob;
    EnterBesideBob(client, bob);
    bob.Send(0x111, Field("ALICE", 20) + tools_test::Word(8));
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnKickOut") == 1; })) << client.Describe();
    ASSERT_TRUE(PumpUntil([&] { return host->FindClient("alice") < 0; }));
    std::vector<BYTE> record = NumberedRecord(0x90D, 16, 1);
    EXPECT_EQ(client.SendMsg(int(record.size()), record.data()), 0);
}

TEST_F(WireOperations, ChargesAreGrantedThreeTimesThenRefused) {
    StartHost(HostOptions());
    CRecordingClient client;
    ASSERT_TRUE(Enter(client)) << client.Describe();
    const int id = IdOf("alice");
    for (int charge = 1; charge <= 3; ++charge) {
        EXPECT_EQ(client.ChargeGameCoin(500), 1);
        ASSERT_TRUE(PumpUntil([&] { return client.Count("OnChargedGameCoinSuccess") == charge; }));
        EXPECT_EQ(client.Last("OnChargedGameCoinSuccess")->text, "alice");
        EXPECT_EQ(client.Last("OnChargedGameCoinSuccess")->values,
                  (std::vector<int64_t>{100000 + 1000 * charge, 1000, charge}));
    }
    EXPECT_EQ(CountReceived(id, 0x242), 3);
    EXPECT_EQ(LastReceived(id, 0x242), ""); // the amount is not sent
    EXPECT_EQ(client.ChargeGameCoin(500), 1);
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnChargedGameCoinFailed") == 1; }));
    EXPECT_EQ(client.Last("OnChargedGameCoinFailed")->values,
              (std::vector<int64_t>{2, 103000, 3, 3}));
    tagUSERINFO user;
    ASSERT_TRUE(host->Table().GetUser(id, user));
    EXPECT_EQ(user.nBeans, 103000);
}

TEST_F(WireOperations, ExchangesCarryTheRequestMarkOnlyWhenAskedFor) {
    StartHost(HostOptions());
    CRecordingClient client;
    ASSERT_TRUE(Enter(client)) << client.Describe();
    const int id = IdOf("alice");
    auto exchange = [&](DWORD amount, const char* outcome, int count) {
        EXPECT_EQ(client.ExchangeGameCoin(amount), 1);
        EXPECT_TRUE(PumpUntil([&] { return client.Count(outcome) == count; })) << amount;
        return tools_test::WordAt(LastReceived(id, 0x23C), 0);
    };
    // The first exchange after connecting counts as asked for.
    EXPECT_EQ(exchange(300, "OnExchangedGameCoinSuccess", 1), 0x80000000u | 300);
    EXPECT_EQ(client.Last("OnExchangedGameCoinSuccess")->values,
              (std::vector<int64_t>{100300, 9700}));
    EXPECT_EQ(exchange(200, "OnExchangedGameCoinSuccess", 2), 200u);
    EXPECT_EQ(client.Last("OnExchangedGameCoinSuccess")->values,
              (std::vector<int64_t>{100500, 9500}));
    ASSERT_TRUE(
        Deliver(client, id, 0x23B, Payload().Word(20000).Word(1), "OnNeedExchangeGameCoin"));
    EXPECT_EQ(exchange(20000, "OnExchangedGameCoinFailed", 1), 0x80000000u | 20000);
    EXPECT_EQ(client.Last("OnExchangedGameCoinFailed")->values, std::vector<int64_t>{2});
    EXPECT_EQ(exchange(100, "OnExchangedGameCoinSuccess", 3), 100u);
}

TEST_F(WireOperations, TrustExitBeforeAGameEndsTheTable) {
    StartHost(HostOptions());
    CRecordingClient client;
    ASSERT_TRUE(Enter(client)) << client.Describe();
    const int id = IdOf("alice");
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnGameMsg") > 0; }));
    client.TrustExitGame();
    ASSERT_TRUE(HostGets(id, 0x21A));
    EXPECT_EQ(LastReceived(id, 0x21A), Field("alice", 20));
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnLeaveGame(text)") == 1; }))
        << client.Describe();
    EXPECT_EQ(client.Last("OnLeaveGame(text)")->text, "table dissolved");
    const std::vector<int> ids = client.RecordIds();
    EXPECT_NE(std::find(ids.begin(), ids.end(), 0x910), ids.end());
    EXPECT_EQ(client.calls.back().name, "OnLeaveGame(text)");
    EXPECT_EQ(host->Table().TablesDissolved(), 1);
    ASSERT_TRUE(PumpUntil([&] { return !host->IsConnected(id); }));
}

TEST_F(WireOperations, AWatcherSeesTheTableDissolveWhenItsLastPlayerLeaves) {
    StartHost(HostOptions());
    WireClient bob;
    SeatBobForWatchers(bob);
    CRecordingClient client;
    LaunchFields fields;
    fields.seat = "7";
    ASSERT_TRUE(Enter(client, fields)) << client.Describe();
    ASSERT_TRUE(PumpUntil([&] { return !client.records.empty(); }));
    bob.Send(0x202);
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnLeaveGame(text)") == 1; }))
        << client.Describe();
    EXPECT_EQ(client.Last("OnLeaveGame(seat)")->values, std::vector<int64_t>{0});
    EXPECT_EQ(client.Last("OnLeaveGame(text)")->text, "table dissolved");
    std::vector<BYTE> record = NumberedRecord(0x90D, 16, 1);
    EXPECT_EQ(client.SendMsg(int(record.size()), record.data()), 0);
}

TEST_F(WireOperations, LeavingAndEscapingCloseTheConnection) {
    StartHost(HostOptions(2));
    for (DWORD frame : {0x202u, 0x203u}) {
        SCOPED_TRACE(frame);
        CRecordingClient client;
        ASSERT_TRUE(Enter(client)) << client.Describe();
        const int id = IdOf("alice");
        if (frame == 0x202)
            client.LeaveGame();
        else
            client.EscapeGame();
        std::vector<BYTE> record = NumberedRecord(0x90D, 16, 1);
        EXPECT_EQ(client.SendMsg(int(record.size()), record.data()), 0);
        ASSERT_TRUE(HostGets(id, frame));
        EXPECT_EQ(LastReceived(id, frame), "");
        ASSERT_TRUE(PumpUntil([&] { return !host->IsConnected(id); }));
        EXPECT_EQ(host->Table().SeatOf(id), -1);
        Settle();
        EXPECT_EQ(client.Count("OnClose"), 0) << client.Describe();
    }
}

} // namespace
} // namespace wire_test
