// Entering the table over the wire: a client derived from the exported class
// reads its launch record, logs in to the local table host directly or
// through a real SOCKS 5 server, and fills its fields from the launch record
// and the login reply. Refusals, a host that never answers and a host that
// drops the connection each end the way the program expects.

#include "HostTestKit.h"
#include "ProxyServers.h"
#include "WireFixture.h"
#include "game/GameLogic.h"
#include "platform/controls/MessageBox.h"

#include <cstring>

namespace wire_test {
namespace {

using platform_test::PumpUntil;
using tools_test::LoginPayload;

class WireLogin : public WireTest {};

void ExpectLaunchFields(const CTablehub& client) {
    EXPECT_EQ(client.m_nPlayerCount, 6);
    EXPECT_STREQ(client.m_szUserName, "alice");
    EXPECT_STREQ(client.m_szNickName, "Alice");
    EXPECT_STREQ(client.m_szLoginInfo, "ticket-77");
    EXPECT_STREQ(client.m_szLevel, "lv3");
    EXPECT_EQ(client.m_dwLaunchParam, 4096u);
}

TEST_F(WireLogin, EntersDirectlyAndFillsTheFieldsFromTheLaunchRecordAndTheReply) {
    CTableHost::Options options = HostOptions();
    options.serverValue = 250;
    options.serverText = "rate 2.5";
    StartHost(options);
    CRecordingClient client;
    LaunchFields fields;
    fields.option = "1";
    ASSERT_TRUE(Enter(client, fields)) << client.Describe();

    ExpectLaunchFields(client);
    EXPECT_EQ(client.m_nMySeat, 2);
    EXPECT_FALSE(client.m_bWatcher);
    EXPECT_TRUE(client.m_bOption);
    const int id = IdOf("alice");
    EXPECT_EQ(host->Table().SeatOf(id), 2);
    // The login frame as the host read it, then the entered frame, nothing else.
    ASSERT_GE(received.size(), 2u);
    EXPECT_EQ(received[0].type, 0x200u);
    EXPECT_EQ(received[0].payload, LoginPayload("alice", 2, "room-9", "ticket-77", 3, 1234));
    EXPECT_EQ(received[1].type, 0x208u);
    EXPECT_EQ(received[1].payload, "");
    // The value the host sends right behind the reply is taken once
    // receiving is on.
    ASSERT_TRUE(PumpUntil([&] { return client.m_nServerValue == 250; }));
    EXPECT_STREQ(client.m_strServerText, "rate 2.5");
    EXPECT_EQ(client.Count("OnClose"), 0) << client.Describe();
    EXPECT_EQ(client.Count("OnTipMessage(text)"), 0) << client.Describe();
}

TEST_F(WireLogin, AFrameRightBehindTheReplyComesOnlyOnceTheFieldsAreFilled) {
    StartHost(HostOptions());
    host->onFrameQueued = [&](int id, DWORD type, DWORD, const BYTE*, size_t) {
        if (type == 0x80000200)
            host->SendFrameTo(id, 0x229, {'b', 'o', 'b', 0});
    };
    CRecordingClient client;
    int seatSeen = -1, countSeen = -1;
    client.onCall = [&](const Call& call) {
        if (call.name == "OnBreak") {
            seatSeen = client.m_nMySeat;
            countSeen = client.m_nPlayerCount;
        }
    };
    ASSERT_TRUE(Enter(client)) << client.Describe();
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnBreak") == 1; }));
    EXPECT_EQ(client.Last("OnBreak")->text, "bob");
    EXPECT_EQ(seatSeen, 2);
    EXPECT_EQ(countSeen, 6);
}

TEST_F(WireLogin, ASeatPastThePlayersWatchesAndOptionTwoLeavesTheFlag) {
    StartHost(HostOptions());
    tools_test::WireClient bob;
    SeatBobForWatchers(bob);

    CRecordingClient client;
    LaunchFields fields;
    fields.seat = "9";
    fields.option = "2";
    ASSERT_TRUE(Enter(client, fields)) << client.Describe();
    ExpectLaunchFields(client);
    EXPECT_EQ(client.m_nMySeat, 8);
    EXPECT_TRUE(client.m_bWatcher);
    EXPECT_FALSE(client.m_bOption);
    EXPECT_EQ(host->Table().WatchedBy(IdOf("alice")), 2);
    // A watcher's first record is the table's snapshot, which the host
    // sends compressed.
    ASSERT_TRUE(PumpUntil([&] { return !client.records.empty(); }));
    const std::vector<BYTE>& snapshot = client.records[0];
    tagSNAPSHOTMSG record;
    ASSERT_TRUE(ReadGameRecord(snapshot.data(), int(snapshot.size()), record));
    EXPECT_EQ(snapshot.size(), sizeof(tagSNAPSHOTMSG));
    EXPECT_STREQ(record.users[0].szUserName, "bob");
    EXPECT_STREQ(record.users[2].szUserName, "bot2");
}

// Through a proxy the table must work as it does directly: a record out, a
// frame in.
void ExpectTableWorks(CRecordingClient& client, CTableHost& host, int id,
                      const std::vector<HostFrame>& received) {
    std::vector<BYTE> record = NumberedRecord(0x90D, 40, 5);
    EXPECT_EQ(client.SendMsg(int(record.size()), record.data()), 1);
    ASSERT_TRUE(PumpUntil([&] {
        for (const HostFrame& frame : received) {
            if (frame.client == id && frame.type == 0x243)
                return true;
        }
        return false;
    }));
    ASSERT_TRUE(host.SendFrameTo(id, 0x22A, {'b', 'o', 'b', 0}));
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnReConnet") == 1; }));
}

TEST_F(WireLogin, EntersThroughDanteAsSocks5) {
    peer_test::Dante dante;
    if (!dante.Installed())
        GTEST_SKIP() << "danted is not installed (apt-get install dante-server)";
    ASSERT_TRUE(dante.Start(false)) << dante.Log();
    StartHost(HostOptions());
    SetProxy(1, "127.0.0.1", dante.port, 5);
    CRecordingClient client;
    ASSERT_TRUE(Enter(client)) << client.Describe() << dante.Log();
    ExpectLaunchFields(client);
    EXPECT_EQ(client.m_nMySeat, 2);
    ExpectTableWorks(client, *host, IdOf("alice"), received);
    // dante logs the connection it made for the client, to the host's port.
    ASSERT_TRUE(PumpUntil([&] {
        return dante.Log().find("." + std::to_string(host->Port())) != std::string::npos;
    })) << dante.Log();
}

TEST_F(WireLogin, EntersThroughMicrosocksWithItsAccount) {
    peer_test::Microsocks microsocks;
    if (!microsocks.Installed())
        GTEST_SKIP() << "microsocks is not installed (apt-get install microsocks)";
    ASSERT_TRUE(microsocks.Start("WellUser", "WellPwd"));
    StartHost(HostOptions());
    SetProxy(1, "127.0.0.1", microsocks.port, 5, "WellUser", "WellPwd");
    CRecordingClient client;
    ASSERT_TRUE(Enter(client)) << client.Describe();
    ExpectLaunchFields(client);
    ExpectTableWorks(client, *host, IdOf("alice"), received);
}

TEST_F(WireLogin, AProxyRefusingTheAccountEndsTheEntryBeforeTheHost) {
    peer_test::Microsocks microsocks;
    if (!microsocks.Installed())
        GTEST_SKIP() << "microsocks is not installed (apt-get install microsocks)";
    ASSERT_TRUE(microsocks.Start("WellUser", "WellPwd"));
    StartHost(HostOptions());
    SetProxy(1, "127.0.0.1", microsocks.port, 5, "WellUser", "wrong");
    CRecordingClient client;
    EXPECT_EQ(EnterOnly(client, {}), 0);
    ASSERT_EQ(client.Count("OnClose"), 1) << client.Describe();
    EXPECT_EQ(client.Last("OnClose")->values[0], kCloseSocksHandshake);
    platform_test::Settle();
    EXPECT_TRUE(received.empty());
}

TEST_F(WireLogin, AProxyThatCannotBeReachedEndsTheEntry) {
    StartHost(HostOptions());
    SetProxy(1, "127.0.0.1", platform_test::RefusingPort(), 5);
    CRecordingClient client;
    EXPECT_EQ(EnterOnly(client, {}), 0);
    ASSERT_EQ(client.Count("OnClose"), 1) << client.Describe();
    EXPECT_EQ(client.Last("OnClose")->values[0], kCloseProxyConnect);
    platform_test::Settle();
    EXPECT_TRUE(host->ClientIds().empty());
}

struct Refusal {
    const char* name;
    CTableHost::LoginAnswer answer;
    const char* notice;
};

class WireLoginRefusal : public WireTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(WireLoginRefusal, ShowsItsNoticeAndClosesWithoutOnClose) {
    StartHost(HostOptions());
    host->SetLoginAnswer(GetParam().answer);
    CRecordingClient client;
    EXPECT_EQ(EnterOnly(client, {}), 0);
    ASSERT_EQ(client.Count("OnTipMessage(text)"), 1) << client.Describe();
    const Call* notice = client.Last("OnTipMessage(text)");
    EXPECT_EQ(notice->text, GetParam().notice);
    EXPECT_EQ(notice->values, (std::vector<int64_t>{MB_ICONSTOP, 0xFFFFFFFF}));
    // The client closes the connection itself.
    ASSERT_TRUE(PumpUntil([&] { return host->ClientIds().empty(); }));
    EXPECT_EQ(client.Count("OnClose"), 0) << client.Describe();
    std::vector<BYTE> record = NumberedRecord(0x90D, 16, 1);
    EXPECT_EQ(client.SendMsg(int(record.size()), record.data()), 0);
    for (const HostFrame& frame : received)
        EXPECT_EQ(frame.type, 0x200u);
}

INSTANTIATE_TEST_SUITE_P(Host, WireLoginRefusal,
                         ::testing::Values(Refusal{"IllegalName",
                                                   CTableHost::LoginAnswer::kRefuseIllegalName,
                                                   "发现非法用户名企图登录！"},
                                           Refusal{"NotNow", CTableHost::LoginAnswer::kRefuseNotNow,
                                                   "现在无法进入游戏通道，请过一会儿再试试"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The program's answer to the keep-waiting question is its own OK box, so a
// host that never answers the login ends the entry after one period.
TEST_F(WireLogin, AHostThatNeverAnswersIsGivenUpAfterThirtySeconds) {
    StartHost(HostOptions());
    host->SetLoginAnswer(CTableHost::LoginAnswer::kNever);
    path_test::SteppingClock stepping;
    platform::ScopedClock useStepping(stepping);
    CRecordingClient client;
    const uint64_t began = stepping.NowMs();
    EXPECT_EQ(EnterOnly(client, {}), 0);
    const uint64_t waited = stepping.NowMs() - began;
    EXPECT_GE(waited, 30000u);
    EXPECT_LT(waited, 31000u);
    ASSERT_EQ(client.calls.size(), 2u) << client.Describe();
    EXPECT_EQ(client.calls[0].name, "OnTipMessage(id)");
    EXPECT_EQ(client.calls[0].values,
              (std::vector<int64_t>{29910, MB_YESNO | MB_ICONQUESTION, 0xFFFFFFFF}));
    EXPECT_EQ(client.calls[1].name, "OnClose");
    EXPECT_EQ(client.calls[1].values, std::vector<int64_t>{WSAETIMEDOUT});
    EXPECT_TRUE(Logged("login left unanswered"));
    for (const HostFrame& frame : received)
        EXPECT_EQ(frame.type, 0x200u);
}

TEST_F(WireLogin, KeepingOnWaitingAsksAgainAfterEachPeriod) {
    StartHost(HostOptions());
    host->SetLoginAnswer(CTableHost::LoginAnswer::kNever);
    path_test::SteppingClock stepping;
    platform::ScopedClock useStepping(stepping);
    CRecordingClient client;
    client.idTipAnswers = {IDYES, IDNO};
    const uint64_t began = stepping.NowMs();
    EXPECT_EQ(EnterOnly(client, {}), 0);
    EXPECT_GE(stepping.NowMs() - began, 60000u);
    EXPECT_EQ(client.Count("OnTipMessage(id)"), 2) << client.Describe();
    ASSERT_EQ(client.Count("OnClose"), 1) << client.Describe();
    EXPECT_EQ(client.Last("OnClose")->values, std::vector<int64_t>{WSAETIMEDOUT});
}

struct HostEnd {
    const char* name;
    bool reset;
    int64_t code;
};

class WireHostEnd : public WireTest, public ::testing::WithParamInterface<HostEnd> {};

// The client hears of the end once, and its connection is closed by then:
// nothing can be sent on it from inside the callback or later.
TEST_P(WireHostEnd, ReachesOnCloseOnceWithItsCode) {
    StartHost(HostOptions());
    CRecordingClient client;
    ASSERT_TRUE(Enter(client)) << client.Describe();
    int sentInside = -1;
    client.onCall = [&](const Call& call) {
        if (call.name != "OnClose")
            return;
        std::vector<BYTE> record = NumberedRecord(0x90D, 16, 1);
        sentInside = client.SendMsg(int(record.size()), record.data());
    };
    ASSERT_TRUE(host->Drop(IdOf("alice"), GetParam().reset));
    ASSERT_TRUE(PumpUntil([&] { return client.Count("OnClose") > 0; }));
    platform_test::Settle();
    ASSERT_EQ(client.Count("OnClose"), 1) << client.Describe();
    EXPECT_EQ(client.Last("OnClose")->values, std::vector<int64_t>{GetParam().code});
    EXPECT_EQ(sentInside, 0);
    EXPECT_EQ(client.Count("OnTipMessage(text)"), 0) << client.Describe();
    EXPECT_EQ(client.Count("OnTipMessage(id)"), 0) << client.Describe();
}

// An orderly end carries no error of its own; a reset carries its code.
INSTANTIATE_TEST_SUITE_P(Host, WireHostEnd,
                         ::testing::Values(HostEnd{"Orderly", false, 0},
                                           HostEnd{"Reset", true, WSAECONNRESET}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace wire_test
