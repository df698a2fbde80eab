// The framing socket through the user's SOCKS proxy: the handshakes byte by
// byte against our own SOCKS peer (SOCKS 4a, the SOCKS 5 reply forms, every
// refusal), and frame round trips through the Debian servers microsocks and
// dante. A refusing proxy fails the connect at once with 10202; a proxy that
// cannot be reached gives 10201.

#include "PathFixture.h"
#include "ProxyServers.h"
#include "SocksPeer.h"

#include <ostream>
#include <pwd.h>

namespace {

using namespace path_test;
using peer_test::FrameServer;
using peer_test::SocksOptions;
using peer_test::SocksPeer;
using peer_test::SocksRequest;
using platform_test::PumpUntil;

std::string OsUserName() {
    const passwd* entry = getpwuid(geteuid());
    return entry != nullptr ? entry->pw_name : "";
}

class SocksTest : public PathFixture {
protected:
    void SetUp() override {
        PathFixture::SetUp();
        AskThroughTips(socket);
    }

    // Connects through the proxy configured in the registry, expecting the
    // refusal to end the connect at once: a wait that ran out instead would
    // have asked the keep-waiting question (answered no, giving 10060).
    void ExpectRefused(const char* host, unsigned port, int code) {
        EXPECT_EQ(socket.Connect(host, port, 1), 0);
        EXPECT_EQ(socket.closes, std::vector<int>{code});
        EXPECT_TRUE(Tips::Asked().empty());
    }

    FrameServer server;
    ProxySocket socket;
};

struct ReplyForm {
    uint8_t addressType;
    const char* name;
};

std::ostream& operator<<(std::ostream& out, const ReplyForm& form) {
    return out << form.name;
}

class SocksReplyFormTest : public SocksTest, public ::testing::WithParamInterface<ReplyForm> {};

// Whatever form the bound address takes, the reply is read to its end and
// the first frame after it is intact.
TEST_P(SocksReplyFormTest, ReplyIsReadWholeAndFramesFollow) {
    SocksOptions options;
    options.replyAddressType = GetParam().addressType;
    SocksPeer proxy(options);
    SetProxy(1, "127.0.0.1", proxy.Port(), 5);
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "through the proxy"));
    ASSERT_EQ(proxy.Requests().size(), 1u);
    const SocksRequest request = proxy.Requests()[0];
    EXPECT_EQ(request.methods, std::string("\x00\x02", 2));
    EXPECT_EQ(request.addressType, 1);
    EXPECT_EQ(request.host, "127.0.0.1");
    EXPECT_EQ(request.port, server.Port());
    EXPECT_TRUE(socket.closes.empty());
}

INSTANTIATE_TEST_SUITE_P(BoundAddress, SocksReplyFormTest,
                         ::testing::Values(ReplyForm{1, "IPv4"}, ReplyForm{3, "Name"},
                                           ReplyForm{4, "IPv6"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SocksTest, HostNamesTravelToTheProxyForBothVersions) {
    SocksPeer proxy;
    SetProxy(1, "127.0.0.1", proxy.Port(), 5);
    ASSERT_TRUE(socket.Connect("localhost", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "socks5 name"));

    // SOCKS 4a: 0.0.0.1, the user id, then the name; re-read at this connect.
    SetProxy(1, "127.0.0.1", proxy.Port(), 4);
    ASSERT_TRUE(socket.Connect("localhost", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "socks4a name"));

    const std::vector<SocksRequest> requests = proxy.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].version, 5);
    EXPECT_EQ(requests[0].addressType, 3);
    EXPECT_EQ(requests[0].host, "localhost");
    EXPECT_EQ(requests[1].version, 4);
    EXPECT_EQ(requests[1].addressType, 3);
    EXPECT_EQ(requests[1].host, "localhost");
    EXPECT_EQ(requests[1].userId, OsUserName());
    EXPECT_EQ(requests[1].port, server.Port());
    EXPECT_TRUE(socket.closes.empty());
}

TEST_F(SocksTest, Socks4WithADottedAddressCarriesTheUserName) {
    SocksPeer proxy;
    SetProxy(1, "127.0.0.1", proxy.Port(), 4);
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "socks4"));
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].addressType, 1);
    EXPECT_EQ(proxy.Requests()[0].host, "127.0.0.1");
    EXPECT_EQ(proxy.Requests()[0].userId, OsUserName());
}

TEST_F(SocksTest, AccountIsSentWhenTheProxyAsksForIt) {
    SocksOptions options;
    options.user = "alice";
    options.password = "s3cret";
    SocksPeer proxy(options);
    SetProxy(1, "127.0.0.1", proxy.Port(), 5, "alice", "s3cret");
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "with account"));
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].user, "alice");
    EXPECT_EQ(proxy.Requests()[0].password, "s3cret");
}

TEST_F(SocksTest, AccountTextsAreCutAt63Bytes) {
    const std::string longUser(70, 'u'), longPassword(80, 'p');
    SocksOptions options;
    options.user = longUser.substr(0, 63);
    options.password = longPassword.substr(0, 63);
    SocksPeer proxy(options);
    SetProxy(1, "127.0.0.1", proxy.Port(), 5, longUser.substr(0, 63), longPassword.substr(0, 63));
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1));
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].user.size(), 63u);
    EXPECT_EQ(proxy.Requests()[0].password.size(), 63u);
}

struct Refusal {
    const char* name;
    SocksOptions::Behaviour behaviour;
    int version;
    bool account;
};

std::ostream& operator<<(std::ostream& out, const Refusal& refusal) {
    return out << refusal.name;
}

class SocksRefusalTest : public SocksTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(SocksRefusalTest, FailsAtOnceWithTheHandshakeCode) {
    const Refusal refusal = GetParam();
    SocksOptions options;
    options.behaviour = refusal.behaviour;
    if (refusal.account) {
        options.user = "alice";
        options.password = "right";
    }
    SocksPeer proxy(options);
    SetProxy(1, "127.0.0.1", proxy.Port(), DWORD(refusal.version), "alice", "wrong");
    ExpectRefused("127.0.0.1", server.Port(), kCloseSocksHandshake);
    EXPECT_EQ(server.Connections(), 0);
    // The failed connect leaves no connection behind.
    EXPECT_FALSE(RoundTrip(socket, "nothing"));
}

INSTANTIATE_TEST_SUITE_P(
    Proxy, SocksRefusalTest,
    ::testing::Values(Refusal{"Socks5MethodRefused", SocksOptions::kMethodNone, 5, false},
                      Refusal{"Socks5RequestRefused", SocksOptions::kRefuse, 5, false},
                      Refusal{"Socks5ClosesAtOnce", SocksOptions::kCloseAtOnce, 5, false},
                      Refusal{"Socks5WrongPassword", SocksOptions::kGrant, 5, true},
                      Refusal{"Socks4RequestRefused", SocksOptions::kRefuse, 4, false},
                      Refusal{"Socks4ClosesAtOnce", SocksOptions::kCloseAtOnce, 4, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SocksTest, SilentProxyRunsOutOfTimeThroughTheQuestion) {
    SocksOptions options;
    options.behaviour = SocksOptions::kSilent;
    SocksPeer proxy(options);
    SetProxy(1, "127.0.0.1", proxy.Port(), 5);
    SteppingClock clock;
    platform::ScopedClock useClock(clock);
    Tips::Answers() = {IDYES, IDNO};
    const uint64_t began = clock.NowMs();
    EXPECT_EQ(socket.Connect("127.0.0.1", server.Port(), 1), 0);
    EXPECT_EQ(Tips::Asked(), (std::vector<UINT>{29910, 29910}));
    EXPECT_GE(clock.NowMs() - began, 60000u); // IDYES waited a second period
    EXPECT_EQ(socket.closes, std::vector<int>{WSAETIMEDOUT});
}

TEST_F(SocksTest, CancelDuringTheHandshakeGivesTheCancelCode) {
    SocksOptions options;
    options.behaviour = SocksOptions::kSilent;
    SocksPeer proxy(options);
    SetProxy(1, "127.0.0.1", proxy.Port(), 5);
    int cancel = 0;
    socket.SetCancelFlag(&cancel);
    SteppingClock clock;
    platform::ScopedClock useClock(clock);
    Tips::Answers() = {IDYES};
    Tips::Hook() = [&] { cancel = 1; };
    EXPECT_EQ(socket.Connect("127.0.0.1", server.Port(), 1), 0);
    EXPECT_EQ(socket.closes, std::vector<int>{kCloseWaitCancelled});
    EXPECT_TRUE(socket.IsWaitStopped());
}

TEST_F(SocksTest, UnreachableProxyGivesTheProxyConnectCode) {
    SetProxy(1, "127.0.0.1", platform_test::RefusingPort(), 5);
    EXPECT_EQ(socket.Connect("127.0.0.1", server.Port(), 1), 0);
    EXPECT_EQ(socket.closes, std::vector<int>{kCloseProxyConnect});
}

TEST_F(SocksTest, IncompleteProxySettingsConnectDirectly) {
    SocksPeer proxy;
    struct Incomplete {
        DWORD enable;
        std::string server;
        DWORD port, version;
    };
    const Incomplete settings[] = {{0, "127.0.0.1", proxy.Port(), 5},
                                   {1, "", proxy.Port(), 5},
                                   {1, "127.0.0.1", 0, 5},
                                   {1, "127.0.0.1", proxy.Port(), 3}};
    for (const Incomplete& setting : settings) {
        SetProxy(setting.enable, setting.server, setting.port, setting.version);
        ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1));
        EXPECT_FALSE(socket.IsProxyEnabled());
        EXPECT_TRUE(RoundTrip(socket, "direct"));
    }
    EXPECT_EQ(proxy.Connections(), 0);
}

// The port-80 service through the proxy: the proxy is asked for the
// substitute port, and the header frame naming the real port comes first.
TEST_F(SocksTest, PortEightyServiceThroughTheProxy) {
    SocksPeer proxy;
    SetProxy(1, "127.0.0.1", proxy.Port(), 5);
    WriteLangRsc("[P80Port]\n8000=" + std::to_string(server.Port()) + "\n");
    ASSERT_TRUE(socket.Connect("127.0.0.1", 8000, 1));
    EXPECT_TRUE(RoundTrip(socket, "after header"));
    ASSERT_EQ(proxy.Requests().size(), 1u);
    EXPECT_EQ(proxy.Requests()[0].port, server.Port());
    ASSERT_TRUE(server.log.WaitFor(2));
    const auto frames = server.log.Frames();
    EXPECT_EQ(frames[0].type, 0x663u);
    EXPECT_EQ(frames[0].payload, peer_test::LeWord(8000) + peer_test::LeWord(0));
    EXPECT_EQ(frames[1].type, 0x300u);
}

// The Debian servers, started here on a free port.

class MicrosocksTest : public SocksTest {
protected:
    void StartOrSkip(const std::string& user = "", const std::string& password = "") {
        if (!microsocks.Installed())
            GTEST_SKIP() << "microsocks is not installed (apt-get install microsocks)";
        ASSERT_TRUE(microsocks.Start(user, password)) << "microsocks did not start";
    }
    peer_test::Microsocks microsocks;
};

TEST_F(MicrosocksTest, FramesRoundTripWithoutAndWithAnAccount) {
    StartOrSkip();
    SetProxy(1, "127.0.0.1", microsocks.port, 5);
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "microsocks"));
    ASSERT_TRUE(socket.Connect("localhost", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "microsocks by name"));
    EXPECT_TRUE(socket.closes.empty());
}

TEST_F(MicrosocksTest, AccountIsCheckedAndAWrongOneFailsAtOnce) {
    StartOrSkip("WellUser", "WellPwd");
    SetProxy(1, "127.0.0.1", microsocks.port, 5, "WellUser", "WellPwd");
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "microsocks account"));
    SetProxy(1, "127.0.0.1", microsocks.port, 5, "WellUser", "nope");
    ExpectRefused("127.0.0.1", server.Port(), kCloseSocksHandshake);
}

TEST_F(MicrosocksTest, ClosedTargetPortAndSocks4FailAtOnce) {
    StartOrSkip();
    SetProxy(1, "127.0.0.1", microsocks.port, 5);
    ExpectRefused("127.0.0.1", platform_test::RefusingPort(), kCloseSocksHandshake);
    // microsocks speaks SOCKS 5 only: it answers two bytes and closes.
    socket.closes.clear();
    SetProxy(1, "127.0.0.1", microsocks.port, 4);
    ExpectRefused("127.0.0.1", server.Port(), kCloseSocksHandshake);
}

class DanteTest : public SocksTest {
protected:
    void StartOrSkip(bool userNameMethod) {
        if (!dante.Installed())
            GTEST_SKIP() << "danted is not installed (apt-get install dante-server)";
        ASSERT_TRUE(dante.Start(userNameMethod)) << "danted did not start:\n" << dante.Log();
    }
    peer_test::Dante dante;
};

TEST_F(DanteTest, Socks4AndSocks5RoundTrip) {
    StartOrSkip(false);
    SetProxy(1, "127.0.0.1", dante.port, 4);
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "dante socks4"));
    SetProxy(1, "127.0.0.1", dante.port, 5);
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1));
    EXPECT_TRUE(RoundTrip(socket, "dante socks5"));
    EXPECT_TRUE(socket.closes.empty());
}

TEST_F(DanteTest, RefusedTargetsFailAtOnce) {
    StartOrSkip(false);
    SetProxy(1, "127.0.0.1", dante.port, 5);
    ExpectRefused("127.0.0.1", platform_test::RefusingPort(), kCloseSocksHandshake);
    socket.closes.clear();
    SetProxy(1, "127.0.0.1", dante.port, 4);
    ExpectRefused("127.0.0.1", platform_test::RefusingPort(), kCloseSocksHandshake);
}

TEST_F(DanteTest, SystemAccountThroughTheUserNameMethod) {
    peer_test::SystemAccount account;
    const std::string why = account.Create();
    if (!why.empty())
        GTEST_SKIP() << why;
    StartOrSkip(true);
    SetProxy(1, "127.0.0.1", dante.port, 5, account.name, account.password);
    ASSERT_TRUE(socket.Connect("127.0.0.1", server.Port(), 1)) << dante.Log();
    EXPECT_TRUE(RoundTrip(socket, "dante account"));
    SetProxy(1, "127.0.0.1", dante.port, 5, account.name, "wrong" + account.password);
    ExpectRefused("127.0.0.1", server.Port(), kCloseSocksHandshake);
    // SOCKS 4 cannot carry a password: refused as well.
    socket.closes.clear();
    SetProxy(1, "127.0.0.1", dante.port, 4);
    ExpectRefused("127.0.0.1", server.Port(), kCloseSocksHandshake);
}

} // namespace
