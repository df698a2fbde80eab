// The table host's limits: a client that floods gets its share of each turn
// and no more; connections, watchers, logins, output and log lines are all
// bounded, and the referee's traces do not pile up.

#include "HostTestKit.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace tools_test {
namespace {

using platform_test::PumpUntil;
using platform_test::Settle;

class HostLimits : public HostTest {};

std::string SeatChange(int seat) {
    return Word(0) + Word(DWORD(seat)) + Word(0);
}

TEST_F(HostLimits, AFloodingClientDoesNotHoldUpTheOthers) {
    StartHost(DefaultOptions(3)); // waits for three players: no game records flow
    WireClient flood, alice;
    Enter(flood, "flood", 0);
    Enter(alice, "alice", 1);
    std::map<int, int> handled;
    int floodFramesWhenAliceWasServed = -1;
    const int floodId = IdOf("flood");
    const int aliceId = IdOf("alice");
    host->onFrame = [&](int clientId, const tagMSGHEADER& header, const BYTE*) {
        ++handled[clientId];
        if (clientId == aliceId && header.type == 0x1AB)
            floodFramesWhenAliceWasServed = handled[floodId];
    };
    constexpr int kFlood = 4000;
    std::string keepAlives;
    for (int i = 0; i < kFlood; ++i)
        keepAlives += FrameBytes(0x201, "");
    flood.Write(keepAlives); // all of it waits before alice asks
    alice.Send(0x1AB, SeatChange(4));
    WireFrame reply;
    ASSERT_TRUE(alice.NextOfType(0x800001AB, reply));
    EXPECT_GE(floodFramesWhenAliceWasServed, 0);
    EXPECT_LE(floodFramesWhenAliceWasServed, 2 * CHostClient::kFramesPerTurn)
        << "alice waited behind the flood";
    ASSERT_TRUE(PumpUntil([&] { return handled[floodId] == kFlood; }));
}

TEST_F(HostLimits, AConnectionWithoutALoginIsDroppedAfterTheTimeOut) {
    CTableHost::Options options = DefaultOptions(3);
    options.loginTimeoutMs = 30000;
    StartHost(options);
    WireClient idle, early;
    ASSERT_TRUE(idle.Connect(host->Port()));
    ASSERT_TRUE(PumpUntil([&] { return host->ClientIds().size() == 1; }));
    clock.Advance(20000);
    Enter(early, "early", 0); // logged in in time: stays
    host->Tick();
    Settle();
    EXPECT_FALSE(idle.Ended());
    clock.Advance(10000);
    host->Tick();
    EXPECT_TRUE(idle.WaitForEnd());
    EXPECT_TRUE(Logged("no login in 30 s: dropped"));
    EXPECT_TRUE(host->IsConnected(IdOf("early")));
}

TEST_F(HostLimits, AtTheCapTheOldestConnectionWithoutALoginMakesRoom) {
    CTableHost::Options options = DefaultOptions(3);
    options.maxClients = 2;
    StartHost(options);
    WireClient first, second;
    ASSERT_TRUE(first.Connect(host->Port()));
    ASSERT_TRUE(PumpUntil([&] { return host->ClientIds().size() == 1; }));
    ASSERT_TRUE(second.Connect(host->Port()));
    ASSERT_TRUE(PumpUntil([&] { return host->ClientIds().size() == 2; }));
    const int secondId = host->ClientIds().back();
    // A player comes to a full host: the connection that has waited longest
    // goes, and the player logs in.
    WireClient alice;
    WireFrame reply;
    ASSERT_TRUE(alice.Login(host->Port(), "alice", 0, &reply));
    EXPECT_TRUE(first.WaitForEnd());
    EXPECT_TRUE(host->IsConnected(secondId));
    EXPECT_TRUE(Logged("no login yet, dropped to admit a new connection"));
    WireClient bob;
    ASSERT_TRUE(bob.Login(host->Port(), "bob", 1, &reply));
    EXPECT_TRUE(second.WaitForEnd());

    // Every connection has logged in: newcomers are closed, logged once.
    WireClient third, fourth;
    ASSERT_TRUE(third.Connect(host->Port()));
    EXPECT_TRUE(third.WaitForEnd());
    ASSERT_TRUE(fourth.Connect(host->Port()));
    EXPECT_TRUE(fourth.WaitForEnd());
    EXPECT_EQ(host->ClientIds().size(), 2u);
    EXPECT_TRUE(host->IsConnected(IdOf("alice")));
    EXPECT_TRUE(host->IsConnected(IdOf("bob")));
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& line) {
                                return line.find("connections refused") != std::string::npos;
                            }),
              1);
    // Below the cap again, a newcomer is served.
    alice.Close();
    ASSERT_TRUE(PumpUntil([&] { return host->ClientIds().size() == 1; }));
    WireClient fifth;
    EXPECT_TRUE(fifth.Login(host->Port(), "fifth", 0, &reply));
}

TEST_F(HostLimits, ConnectionsThatComeAgainAndAgainAreLoggedOnlyNowAndThen) {
    CTableHost::Options options = DefaultOptions(3);
    options.maxClients = 4;
    StartHost(options);
    std::vector<std::unique_ptr<WireClient>> crowd;
    for (int i = 0; i < 300; ++i) {
        crowd.push_back(std::make_unique<WireClient>());
        ASSERT_TRUE(crowd.back()->Connect(host->Port()));
        // Each connection is taken before the next comes: they are not
        // dropped by the order the listener happens to take them in.
        ASSERT_TRUE(
            PumpUntil([&] { return host->ClientIds().size() == size_t(std::min(i + 1, 4)); }));
    }
    EXPECT_TRUE(crowd[295]->WaitForEnd());
    EXPECT_EQ(host->ClientIds(), (std::vector<int>{297, 298, 299, 300})) << "the newest stay";
    const auto lines = std::count_if(log.begin(), log.end(), [](const std::string& line) {
        return line.find("dropped to admit a new connection") != std::string::npos;
    });
    EXPECT_EQ(lines, 2) << "296 drops: the first and the 257th are logged";
}

TEST_F(HostLimits, WatchersOverTheCapAreRefused) {
    CTableHost::Options options = DefaultOptions(3);
    options.maxWatchers = 1;
    StartHost(options);
    WireClient wendy, walter;
    WireFrame reply;
    EXPECT_TRUE(wendy.Login(host->Port(), "wendy", 7, &reply));
    EXPECT_FALSE(walter.Login(host->Port(), "walter", 8, &reply));
    EXPECT_EQ(reply.type, 0x80000200u);
    EXPECT_TRUE(Logged("watchers refused"));
}

TEST_F(HostLimits, IgnoredFramesAreLoggedOnlyAtFirst) {
    CTableHost::Options options = DefaultOptions(3);
    options.ignoredFramesLogged = 5;
    StartHost(options);
    WireClient noisy;
    ASSERT_TRUE(noisy.Connect(host->Port()));
    int seen = 0;
    host->onFrame = [&](int, const tagMSGHEADER&, const BYTE*) { ++seen; };
    std::string frames;
    for (int i = 0; i < 300; ++i)
        frames += FrameBytes(0x1AB, SeatChange(1));
    noisy.Write(frames);
    ASSERT_TRUE(PumpUntil([&] { return seen == 300; }));
    const auto ignoredLines = std::count_if(log.begin(), log.end(), [](const std::string& line) {
        return line.find("before the login: ignored") != std::string::npos;
    });
    EXPECT_EQ(ignoredLines, 5);
    noisy.Close();
    ASSERT_TRUE(PumpUntil([&] { return host->ClientIds().empty(); }));
    EXPECT_TRUE(Logged("300 frames ignored in all"));
}

TEST_F(HostLimits, OutputOverTheTotalCapDropsTheClientHoldingTheMost) {
    CTableHost::Options options = DefaultOptions(3);
    options.maxQueuedBytes = 16u << 20;
    options.maxTotalQueuedBytes = 512u << 10;
    StartHost(options);
    WireClient slow(4096), alice;
    Enter(slow, "slow", 0);
    Enter(alice, "alice", 1);
    const int slowId = IdOf("slow");
    const std::vector<BYTE> payload(60000, 0x5A);
    int sent = 0;
    while (host->IsConnected(slowId) && sent < 100) {
        host->SendFrameTo(slowId, 0x7777, payload);
        ++sent;
    }
    EXPECT_FALSE(host->IsConnected(slowId)) << "queued " << sent << " frames";
    EXPECT_TRUE(Logged("host's output is full: dropped"));
    EXPECT_TRUE(host->IsConnected(IdOf("alice")));
    EXPECT_TRUE(host->SendFrameTo(IdOf("alice"), 0x7777, std::vector<BYTE>(100, 1)));
}

TEST(TableDriverTraces, OnlyTheLatestTracesAreKept) {
    CTableDriver::Options options;
    options.rulesText = PlainRules();
    options.maxTraces = 3;
    CTableDriver driver(options);
    size_t traces = 0;
    driver.onTrace = [&](const std::string&) { ++traces; };
    for (int i = 0; i < 10; ++i)
        driver.Referee().Trace("trace %d", i);
    EXPECT_EQ(traces, 10u);
    EXPECT_EQ(driver.GetTraces(), (std::deque<std::string>{"trace 7", "trace 8", "trace 9"}));
}

} // namespace
} // namespace tools_test
