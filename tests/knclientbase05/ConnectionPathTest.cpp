// The connection-path choice: each path of the table reached from its
// settings (registry, "LangRsc.ini", "RuviDerez.dat"), with its log lines and
// the frames that arrive on the far side; the fallbacks, which report only
// the last attempt's failure; the relay files themselves.

#include "PathFixture.h"
#include "ProxyServers.h"
#include "SocksPeer.h"
#include "knclientbase05/LangResource.h"

#include <filesystem>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace {

using namespace path_test;
using peer_test::FrameServer;
using peer_test::LeWord;
using peer_test::SocksOptions;
using peer_test::SocksPeer;
using peer_test::SocksRequest;

std::string Format(const char* format, const std::string& host, unsigned port) {
    char line[256];
    snprintf(line, sizeof line, format, host.c_str(), int(port));
    return line;
}

// The relay as a SOCKS 5 server with the platform's account.
SocksOptions RelayAccount(bool forward) {
    SocksOptions options;
    options.user = "WellUser";
    options.password = "WellPwd";
    options.forward = forward;
    return options;
}

class ConnectionPathTest : public PathFixture {
protected:
    void SetUp() override {
        PathFixture::SetUp();
        // Plain names in "RuviDerez.dat" and the log on, as a tester sets them.
        WriteRelayData("[Debug]\nlog=1\nEncrypt=0\n");
    }

    // "LangRsc.ini": the relay's port and account and a relay table entry
    // serving the game port; extra lines are added to [RuviDerez].
    void WriteRelayTable(unsigned relayPort, unsigned gamePort, const std::string& extra = "",
                         const std::string& password = "WellPwd") {
        WriteLangRsc("[RuviDerez]\nPort=" + std::to_string(relayPort) +
                     "\nWellUser=WellUser\nWellPwd=" + password + "\n1=127.0.0.1;" +
                     std::to_string(gamePort) + "\n" + extra);
    }
    void PutServerOnRelayList(unsigned gamePort) {
        WriteRelayData("[Debug]\nlog=1\nEncrypt=0\n[" + std::to_string(gamePort) +
                       "]\n127.0.0.1=1\n");
    }

    // A fresh socket per scenario: the constructor reads the settings.
    std::unique_ptr<PathSocket> NewSocket() {
        auto socket = std::make_unique<PathSocket>();
        AskThroughTips(*socket);
        return socket;
    }

    FrameServer server;
};

TEST_F(ConnectionPathTest, UsersProxyMeansNoRelay) {
    SocksPeer proxy;
    SetProxy(1, "127.0.0.1", proxy.Port(), 5);
    WriteRelayTable(platform_test::RefusingPort(), server.Port());
    PutServerOnRelayList(server.Port());
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 1);
    EXPECT_TRUE(RoundTrip(*socket, "via user's proxy"));
    EXPECT_EQ(proxy.Requests().size(), 1u);
    EXPECT_TRUE(Logged("[连接]当前使用了其它代理服务器，互联代理不启用。"));
    EXPECT_TRUE(Logged(Format("[连接]直连方式连接成功 GSIP:%s:%d", "127.0.0.1", server.Port())));
}

TEST_F(ConnectionPathTest, FirewallModeWithoutRelayAddressGoesDirect) {
    SetShareDword("Use80PortSvr", 1);
    WriteRelayTable(platform_test::RefusingPort(), server.Port());
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 2);
    EXPECT_TRUE(RoundTrip(*socket, "direct"));
    EXPECT_TRUE(Logged("[连接]当前使用了破突防火墙功能，但配置中没有找到对应的互联代理IP地址"));
}

TEST_F(ConnectionPathTest, FirewallModeOnPortEightyUsesTheRelayWithoutHeader) {
    SocksPeer relay(RelayAccount(false));
    SetShareDword("Use80PortSvr", 1);
    WriteRelayTable(relay.Port(), 8000, "80PortIP=127.0.0.1\n");
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", 80, 1));
    EXPECT_EQ(socket->nConnType, 3);
    EXPECT_TRUE(socket->IsRelayInUse());
    EXPECT_TRUE(RoundTrip(*socket, "port 80"));
    ASSERT_EQ(relay.Requests().size(), 1u);
    const SocksRequest request = relay.Requests()[0];
    EXPECT_EQ(request.user, "WellUser");
    EXPECT_EQ(request.password, "WellPwd");
    EXPECT_EQ(request.host, "127.0.0.1");
    EXPECT_EQ(request.port, 80u);
    // The login-like frame is the first the server sees: no header frame.
    ASSERT_TRUE(relay.log.WaitFor(1));
    EXPECT_EQ(relay.log.Frames()[0].type, 0x300u);
    EXPECT_TRUE(Logged("[连接]找到互联代理的IP地址：127.0.0.1"));
    EXPECT_TRUE(Logged("[连接]当前使用了破突防火墙功能，但GameList中配置还是使用了80端口"));
}

TEST_F(ConnectionPathTest, FirewallModeOnAnotherPortConnectsToTheP80PortWithHeader) {
    SocksPeer relay(RelayAccount(true));
    SetShareDword("Use80PortSvr", 1);
    WriteRelayTable(relay.Port(), 8000,
                    "80PortIP=127.0.0.1\n[P80Port]\n8000=" + std::to_string(server.Port()) + "\n");
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", 8000, 1));
    EXPECT_EQ(socket->nConnType, 4);
    EXPECT_TRUE(RoundTrip(*socket, "p80 via relay"));
    ASSERT_EQ(relay.Requests().size(), 1u);
    EXPECT_EQ(relay.Requests()[0].port, server.Port());
    ASSERT_TRUE(server.log.WaitFor(2));
    EXPECT_EQ(server.log.Frames()[0].type, 0x663u);
    EXPECT_EQ(server.log.Frames()[0].payload, LeWord(8000) + LeWord(0));
    EXPECT_TRUE(Logged("[连接]发送了P80服务使用的消息头8000"));
    EXPECT_TRUE(Logged(Format("[连接]当前使用互联代理连接 GSIP:%s:%d", "127.0.0.1", 8000)));
}

TEST_F(ConnectionPathTest, RelayDisabledByTheUserGoesDirect) {
    WriteRelayTable(platform_test::RefusingPort(), server.Port());
    WriteRelayData("[Debug]\nlog=1\nEncrypt=0\n[Setting]\nUseZuzuZaz=0\n");
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 5);
    EXPECT_TRUE(Logged("[连接]当前手动禁用了互联代理功能"));
}

TEST_F(ConnectionPathTest, NoRelayForThisPortGoesDirect) {
    WriteRelayTable(platform_test::RefusingPort(), server.Port() + 1);
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 6);
    EXPECT_TRUE(
        Logged(Format("[连接]当前游戏没有配置支持互联代理，%s:%d", "127.0.0.1", server.Port())));
}

TEST_F(ConnectionPathTest, ServerNotOnTheListGoesDirectFirst) {
    SocksPeer relay(RelayAccount(true));
    WriteRelayTable(relay.Port(), server.Port());
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 7);
    EXPECT_FALSE(socket->IsRelayInUse());
    EXPECT_EQ(relay.Connections(), 0);
    EXPECT_TRUE(Logged(Format("[连接]游戏配置了支持互联代理，但此台游戏服务器不支持，%s:%d",
                              "127.0.0.1", server.Port())));
}

TEST_F(ConnectionPathTest, DirectTimeOutFallsBackToTheRelayWithoutAQuestion) {
    SilentListener unanswered;
    SocksPeer relay(RelayAccount(false));
    WriteRelayTable(relay.Port(), unanswered.port);
    auto socket = NewSocket();
    // Time runs while the direct attempt waits; the relay is then never late.
    SteppingClock clock(30000 + 100);
    platform::ScopedClock useClock(clock);
    ASSERT_TRUE(socket->Connect("127.0.0.1", unanswered.port, 1));
    EXPECT_EQ(socket->nConnType, 8);
    EXPECT_TRUE(Tips::Asked().empty());
    EXPECT_TRUE(RoundTrip(*socket, "via relay"));
    // The direct attempt's failure was followed by a working path: not reported.
    EXPECT_TRUE(socket->closes.empty());
    EXPECT_TRUE(Logged(Format("[连接]直连游戏服务器失败，使用互联代理再次尝试连接，%s:%d",
                              "127.0.0.1", unanswered.port)));
}

TEST_F(ConnectionPathTest, ServerOnTheListUsesTheRelay) {
    SocksPeer relay(RelayAccount(true));
    WriteRelayTable(relay.Port(), server.Port());
    PutServerOnRelayList(server.Port());
    auto socket = NewSocket();
    socket->SetWaitPeriod(45);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 9);
    // The relay's short, question-less waits end with its handshake.
    EXPECT_EQ(socket->SetWaitPeriod(45), 45);
    EXPECT_EQ(socket->GetAskOnTimeout(), 1);
    EXPECT_TRUE(RoundTrip(*socket, "relay"));
    ASSERT_EQ(relay.Requests().size(), 1u);
    EXPECT_EQ(relay.Requests()[0].port, server.Port());
    EXPECT_EQ(relay.Requests()[0].user, "WellUser");
    EXPECT_EQ(std::string(socket->GetRelayServerAddress()), "127.0.0.1");
    EXPECT_TRUE(Logged("[连接]此游戏服务器连接使用互联代理方式"));
    EXPECT_TRUE(Logged(Format("[连接]Socket5代理协议发送成功 %s:%d", "127.0.0.1", server.Port())));
}

TEST_F(ConnectionPathTest, UnreachableRelayFallsBackWithTheEarlierWaitSettings) {
    WriteRelayTable(platform_test::RefusingPort(), server.Port());
    PutServerOnRelayList(server.Port());
    auto socket = NewSocket();
    socket->SetWaitPeriod(45);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 10);
    EXPECT_EQ(socket->SetWaitPeriod(30), 45);
    EXPECT_EQ(socket->GetAskOnTimeout(), 1);
    EXPECT_FALSE(socket->IsRelayInUse());
    EXPECT_TRUE(RoundTrip(*socket, "direct after relay"));
    EXPECT_TRUE(socket->closes.empty());
    EXPECT_TRUE(Logged("[连接]连接互联代理服务器失败切回直连方式 127.0.0.1:"));
}

TEST_F(ConnectionPathTest, RefusedRelayHandshakeFallsBackToDirect) {
    SocksPeer relay(RelayAccount(true));
    WriteRelayTable(relay.Port(), server.Port(), "", "not the password");
    PutServerOnRelayList(server.Port());
    auto socket = NewSocket();
    socket->SetWaitPeriod(45);
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 0));
    EXPECT_EQ(socket->nConnType, 11);
    EXPECT_EQ(socket->SetWaitPeriod(30), 45);
    EXPECT_EQ(socket->GetAskOnTimeout(), 0);
    EXPECT_TRUE(RoundTrip(*socket, "direct after refusal"));
    EXPECT_TRUE(socket->closes.empty());
    EXPECT_TRUE(Logged(
        Format("[连接]Socket5代理协议发送失败切回直连方式 %s:%d", "127.0.0.1", server.Port())));
}

// The relay's waits are short and ask nothing: a relay that never answers
// its handshake gives up after ten seconds, and the direct path follows with
// the earlier period and question.
TEST_F(ConnectionPathTest, SilentRelayGivesUpAfterItsShortWaitWithoutAQuestion) {
    SocksOptions silent = RelayAccount(false);
    silent.behaviour = SocksOptions::kSilent;
    SocksPeer relay(silent);
    WriteRelayTable(relay.Port(), server.Port());
    PutServerOnRelayList(server.Port());
    auto socket = NewSocket();
    socket->SetWaitPeriod(45);
    // Enough stepped time for the relay's wait to run out, not for a second one.
    SteppingClock clock(30000 + 1000);
    platform::ScopedClock useClock(clock);
    const uint64_t began = clock.NowMs();
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    const uint64_t waited = clock.NowMs() - began;
    EXPECT_GE(waited, 10000u);
    EXPECT_LT(waited, 30000u);
    EXPECT_EQ(socket->nConnType, 11);
    EXPECT_TRUE(Tips::Asked().empty());
    EXPECT_EQ(socket->SetWaitPeriod(30), 45);
    EXPECT_EQ(socket->GetAskOnTimeout(), 1);
    EXPECT_TRUE(RoundTrip(*socket, "direct after a silent relay"));
    EXPECT_TRUE(socket->closes.empty());
}

// A cancelled relay attempt is the user's choice: no other path is tried,
// and the cancel is reported once.
TEST_F(ConnectionPathTest, CancelledRelayAttemptDoesNotFallBack) {
    SocksOptions silent = RelayAccount(false);
    silent.behaviour = SocksOptions::kSilent;
    SocksPeer relay(silent);
    WriteRelayTable(relay.Port(), server.Port());
    PutServerOnRelayList(server.Port());
    auto socket = NewSocket();
    int cancel = 0;
    socket->SetCancelFlag(&cancel);
    cancel = 1;
    EXPECT_EQ(socket->Connect("127.0.0.1", server.Port(), 1), 0);
    EXPECT_EQ(socket->nConnType, 9);
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_EQ(socket->closes, std::vector<int>{kCloseWaitCancelled});
    EXPECT_EQ(cancel, 1);
    EXPECT_FALSE(Logged("切回直连方式"));
}

TEST_F(ConnectionPathTest, WhenEveryPathFailsOnlyTheLastFailureIsReported) {
    const unsigned closedPort = platform_test::RefusingPort();
    WriteRelayTable(platform_test::RefusingPort(), closedPort);
    PutServerOnRelayList(closedPort);
    auto socket = NewSocket();
    EXPECT_EQ(socket->Connect("127.0.0.1", closedPort, 1), 0);
    EXPECT_EQ(socket->nConnType, 10);
    EXPECT_EQ(socket->closes, std::vector<int>{WSAECONNREFUSED});
}

TEST_F(ConnectionPathTest, CancelledDirectAttemptDoesNotTryTheRelay) {
    SilentListener unanswered;
    SocksPeer relay(RelayAccount(false));
    WriteRelayTable(relay.Port(), unanswered.port);
    auto socket = NewSocket();
    int cancel = 0;
    socket->SetCancelFlag(&cancel);
    cancel = 1;
    EXPECT_EQ(socket->Connect("127.0.0.1", unanswered.port, 1), 0);
    EXPECT_EQ(socket->nConnType, 7);
    EXPECT_EQ(relay.Connections(), 0);
    EXPECT_EQ(socket->closes, std::vector<int>{kCloseWaitCancelled});
    EXPECT_TRUE(Logged(
        Format("[连接]手动取消了与游戏服务器直连操作，%s:%d", "127.0.0.1", unanswered.port)));
}

// A wait stopped in an earlier connect says nothing about this one: the
// direct failure here is no cancellation, so the relay is tried.
TEST_F(ConnectionPathTest, EarlierStoppedWaitDoesNotCountAsCancellingThisConnect) {
    SilentListener unanswered;
    const unsigned closedPort = platform_test::RefusingPort();
    SocksPeer relay(RelayAccount(false));
    WriteRelayTable(relay.Port(), closedPort);
    auto socket = NewSocket();
    {
        SteppingClock clock;
        platform::ScopedClock useClock(clock);
        EXPECT_EQ(socket->Connect("127.0.0.1", unanswered.port, 1), 0); // type 6, asked, no
        EXPECT_EQ(socket->nConnType, 6);
        EXPECT_EQ(Tips::Asked(), std::vector<UINT>{29910});
        EXPECT_TRUE(socket->IsWaitStopped());
    }
    ASSERT_TRUE(socket->Connect("127.0.0.1", closedPort, 1)) << Log();
    EXPECT_EQ(socket->nConnType, 8);
    EXPECT_TRUE(RoundTrip(*socket, "relay after refusal"));
}

TEST_F(ConnectionPathTest, PortEightyServiceOnTheDirectPathIsLookedUpPerConnect) {
    FrameServer plain;
    WriteLangRsc("[P80Port]\n8000=" + std::to_string(server.Port()) + "\n");
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", 8000, 1));
    EXPECT_EQ(socket->nConnType, 6);
    EXPECT_EQ(socket->GetConnectedRelayPort(), int(server.Port()));
    EXPECT_TRUE(RoundTrip(*socket, "login"));
    ASSERT_TRUE(server.log.WaitFor(2));
    EXPECT_EQ(server.log.Frames()[0].type, 0x663u);
    EXPECT_EQ(server.log.Frames()[0].payload, LeWord(8000) + LeWord(0));
    EXPECT_EQ(server.log.Frames()[1].type, 0x300u);

    // Another game port without a substitute: straight there, no header.
    ASSERT_TRUE(socket->Connect("127.0.0.1", plain.Port(), 1));
    EXPECT_EQ(socket->GetConnectedRelayPort(), 0);
    EXPECT_TRUE(RoundTrip(*socket, "plain"));
    ASSERT_TRUE(plain.log.WaitFor(1));
    EXPECT_EQ(plain.log.Frames()[0].type, 0x300u);
}

TEST_F(ConnectionPathTest, RelayTableSearchStopsAtTheFirstEmptyKey) {
    WriteLangRsc("[RuviDerez]\n1=10.0.0.1;1000;1001\n2=10.0.0.2;;2000\n4=10.0.0.4;4000\n");
    auto socket = NewSocket();
    EXPECT_TRUE(socket->FindRelayAddress(1001, 0));
    EXPECT_EQ(std::string(socket->GetRelayServerAddress()), "10.0.0.1");
    EXPECT_TRUE(socket->FindRelayAddress(2000, 0));
    EXPECT_EQ(std::string(socket->GetRelayServerAddress()), "10.0.0.2");
    EXPECT_FALSE(socket->FindRelayAddress(4000, 0));
    EXPECT_EQ(std::string(socket->GetRelayServerAddress()), "");
    WriteLangRsc("[RuviDerez]\n1=10.0.0.1;1000\n2=10.0.0.2;2000\n3=x;1\n4=10.0.0.4;4000\n");
    EXPECT_TRUE(socket->FindRelayAddress(4000, 0));
    EXPECT_EQ(std::string(socket->GetRelayServerAddress()), "10.0.0.4");
}

TEST_F(ConnectionPathTest, MissingRelaySwitchIsWrittenAsOnInEncodedNames) {
    WriteRelayData("[Debug]\nlog=1\n");
    auto socket = NewSocket();
    CString section, key;
    socket->EncodeName("Setting", 7, section);
    socket->EncodeName("UseZuzuZaz", 10, key);
    EXPECT_EQ(section.GetLength(), 14);
    EXPECT_TRUE(std::regex_match(section.GetString(), std::regex("[0-9A-F]{14}")));
    EXPECT_EQ(socket->IsRelayAllowed(), 1);
    EXPECT_NE(RelayData().find(std::string("[") + section.GetString() + "]"), std::string::npos);
    EXPECT_NE(RelayData().find(std::string(key.GetString()) + "=1"), std::string::npos);
    socket->SetRelayAllowed(0);
    EXPECT_EQ(socket->IsRelayAllowed(), 0);

    // One fixed byte: the XOR of two codes is the XOR of the two letters.
    CString a, b;
    socket->EncodeName("A", 1, a);
    socket->EncodeName("B", 1, b);
    const long codeA = strtol(a.GetString(), nullptr, 16),
               codeB = strtol(b.GetString(), nullptr, 16);
    EXPECT_EQ(codeA ^ codeB, 'A' ^ 'B');
    // Never past the end of the text, whatever length is asked for.
    CString shortName;
    socket->EncodeName("AB", 50, shortName);
    EXPECT_EQ(shortName.GetLength(), 4);
}

TEST_F(ConnectionPathTest, RelayListEntriesAreWrittenAndRemoved) {
    auto socket = NewSocket();
    socket->AddServerToRelayList("127.0.0.1", 8123);
    EXPECT_TRUE(socket->IsServerOnRelayList("127.0.0.1", 8123));
    EXPECT_NE(RelayData().find("[8123]"), std::string::npos); // Encrypt=0: plain names
    socket->RemoveServerFromRelayList("127.0.0.1", 8123);
    EXPECT_FALSE(socket->IsServerOnRelayList("127.0.0.1", 8123));
}

TEST_F(ConnectionPathTest, WithoutASharedFolderNoRelayFileIsTouched) {
    HKEY share = nullptr;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Quillane\\Game\\Share", 0, KEY_ALL_ACCESS,
                           &share),
              ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteValue(share, "Path"), ERROR_SUCCESS);
    RegCloseKey(share);
    const bool inWorkingFolder = std::filesystem::exists("RuviDerez.dat");
    auto socket = NewSocket();
    EXPECT_EQ(std::string(socket->GetBasePath().GetString()), "");
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 6);
    EXPECT_FALSE(std::filesystem::exists(config_.File("RuviDerez.dat")));
    EXPECT_EQ(std::filesystem::exists("RuviDerez.dat"), inWorkingFolder);
}

TEST_F(ConnectionPathTest, SharedFolderNamesDifferingInCaseAreTheSame) {
    // The readers spell the key "Share" and "share" and the file "langrsc.ini"
    // and "LangRsc.ini"; all reach the same places.
    SetUserText("Software\\Quillane\\Game\\share", "path", files_.Path());
    files_.Write("LANGRSC.INI",
                 "[RuviDerez]\nPort=1234\n[P80Port]\n8000=" + std::to_string(server.Port()) + "\n");
    auto socket = NewSocket();
    EXPECT_EQ(socket->GetRelayServerPort(), 1234);
    EXPECT_EQ(GetShareP80Port(8000), server.Port());
}

TEST_F(ConnectionPathTest, LogLinesCarryTimeAndProcessAndStayBounded) {
    auto socket = NewSocket();
    const std::string longHost(3000, 'h');
    EXPECT_EQ(socket->Connect(longHost.c_str(), server.Port(), 1), 0);
    std::istringstream lines(Log());
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    const std::regex prefix("\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d +(\\d+) (.*)");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(line, parts, prefix)) << line;
    EXPECT_EQ(std::stoi(parts[1]), int(getpid()));
    EXPECT_EQ(parts[2].str(), std::string(85, '-'));
    size_t count = 1;
    while (std::getline(lines, line)) {
        ++count;
        ASSERT_TRUE(std::regex_match(line, parts, prefix)) << line;
        EXPECT_LT(parts[2].length(), 1024u);
    }
    EXPECT_GT(count, 3u);
    EXPECT_TRUE(Logged("[连接]客户端创建连接，hhhh"));
    EXPECT_EQ(socket->closes, std::vector<int>{WSAHOST_NOT_FOUND});
}

TEST_F(ConnectionPathTest, WithoutTheLogSwitchNothingIsWritten) {
    WriteRelayData("[Debug]\nlog=0\n");
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_FALSE(std::filesystem::exists(files_.File("RuviDerez.log")));
}

// The relay is itself a SOCKS 5 server with the platform's account: microsocks
// with -u/-P stands in for it.
class MicrosocksRelayTest : public ConnectionPathTest {
protected:
    void StartOrSkip() {
        if (!relay.Installed())
            GTEST_SKIP() << "microsocks is not installed (apt-get install microsocks)";
        ASSERT_TRUE(relay.Start("WellUser", "WellPwd")) << "microsocks did not start";
    }
    peer_test::Microsocks relay;
};

TEST_F(MicrosocksRelayTest, ServerOnTheListGoesThroughTheRelay) {
    StartOrSkip();
    WriteRelayTable(relay.port, server.Port());
    PutServerOnRelayList(server.Port());
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 9);
    EXPECT_TRUE(RoundTrip(*socket, "through microsocks"));
}

TEST_F(MicrosocksRelayTest, FirewallModeWithTheP80Port) {
    StartOrSkip();
    SetShareDword("Use80PortSvr", 1);
    WriteRelayTable(relay.port, 8000,
                    "80PortIP=127.0.0.1\n[P80Port]\n8000=" + std::to_string(server.Port()) + "\n");
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", 8000, 1));
    EXPECT_EQ(socket->nConnType, 4);
    EXPECT_TRUE(RoundTrip(*socket, "p80 through microsocks"));
    ASSERT_TRUE(server.log.WaitFor(2));
    EXPECT_EQ(server.log.Frames()[0].type, 0x663u);
    EXPECT_EQ(server.log.Frames()[0].payload, LeWord(8000) + LeWord(0));
}

TEST_F(MicrosocksRelayTest, WrongRelayAccountFallsBackToDirect) {
    StartOrSkip();
    WriteRelayTable(relay.port, server.Port(), "", "wrong");
    PutServerOnRelayList(server.Port());
    auto socket = NewSocket();
    ASSERT_TRUE(socket->Connect("127.0.0.1", server.Port(), 1));
    EXPECT_EQ(socket->nConnType, 11);
    EXPECT_TRUE(RoundTrip(*socket, "direct"));
    EXPECT_TRUE(socket->closes.empty());
}

} // namespace
