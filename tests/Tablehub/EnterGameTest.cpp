// Entering the table: the launch record read from the process's arguments,
// the login frame as the server reads it, the answers a server can give
// (accepted, refused, lying about its size, never coming) and the client's
// fields filled from the record and the reply.

#include "ClientFixture.h"

#include "Tablehub/EnterGameHandshake.h"
#include "knclientbase05/CodePageConverter.h"
#include "platform/resources/Resource.h"
#include "platform/resources/ResourceStyles.h"
#include "platform/system/Clock.h"
#include "platform/system/Module.h"

using namespace client_test;

namespace {

struct Player {
    DWORD value; // low half a player value, high half the name's code page
    std::string name;
};

std::string Half(WORD value) {
    return std::string{char(value), char(value >> 8)};
}

// An accepted reply's payload as a server lays it out.
std::string ReplyPayload(WORD count, WORD table, const std::vector<Player>& players,
                         const std::string& firstBlock = "", const std::string& second = "") {
    std::string payload = Half(count) + Half(table);
    for (const Player& player : players)
        payload += LeWord(player.value) + std::string(20, 'u') + Field(player.name, 24);
    return payload + LeWord(DWORD(firstBlock.size())) + firstBlock + second;
}

std::vector<Player> Seats(int count) {
    std::vector<Player> players;
    for (int i = 0; i < count; ++i)
        players.push_back({DWORD(100 + i), "p" + std::to_string(i)});
    return players;
}

// The lobby's arguments; seat counts from 1 here.
std::vector<std::string> Launch(unsigned port, const std::string& seat = "3",
                                const std::string& option = "") {
    std::vector<std::string> arguments = {"pellor",   seat,           "玩家甲",
                                          "小明",     "ticket-77",    "513",
                                          "欢乐大厅", "127.0.0.1",    std::to_string(port),
                                          "extra",    "chat.example", "7002",
                                          "大师",     "4096"};
    if (!option.empty())
        arguments.push_back(option);
    return arguments;
}

class EnterGameTest : public ClientTest {
protected:
    // A server whose answer to the login is the given frames.
    void Serve(std::vector<std::string> answer) { loginAnswer = std::move(answer); }
    void ServeAccepted(WORD count, WORD table = 17, DWORD result = 1) {
        Serve({WireFrame(0x80000200, ReplyPayload(count, table, Seats(count)), result)});
    }
    bool Closed() { return client.ChargeGameCoin(0) == 0; }

    std::vector<std::string> loginAnswer;
    FrameServer server{[this](const FrameRecord& frame) {
        return frame.type == 0x200 ? loginAnswer : std::vector<std::string>{};
    }};
};

TEST_F(EnterGameTest, LogsInWithTheLaunchRecordAndFillsTheFields) {
    ProcessArguments arguments(Launch(server.Port()));
    // The server's first record comes right behind its reply.
    const std::string record = LeWord(0x901) + LeWord(4) + "body";
    Serve({WireFrame(0x80000200, ReplyPayload(6, 17, Seats(6), "first"), 1),
           WireFrame(0x243, record)});
    ASSERT_EQ(client.EnterGame(), 1);

    const auto frames = Received(server, 2);
    ASSERT_EQ(TypesOf(frames), (std::vector<DWORD>{0x200, 0x208}));
    const std::string kindAndPadding = {char(3), '\0', '\0', '\0'};
    EXPECT_EQ(frames[0].length, 108u);
    EXPECT_EQ(frames[0].payload, Field("玩家甲", 20) + Field("欢乐大厅", 40) +
                                     Field("ticket-77", 40) + Half(513) + Half(2) + kindAndPadding);
    EXPECT_EQ(frames[1].length, 0u);

    EXPECT_EQ(client.m_nPlayerCount, 6);
    EXPECT_EQ(client.m_nMySeat, 2);
    EXPECT_FALSE(client.m_bWatcher);
    EXPECT_STREQ(client.m_szUserName, "玩家甲");
    EXPECT_STREQ(client.m_szNickName, "小明");
    EXPECT_STREQ(client.m_szLoginInfo, "ticket-77");
    EXPECT_STREQ(client.m_szLevel, "大师");
    EXPECT_EQ(client.m_dwLaunchParam, 4096u);
    EXPECT_FALSE(client.m_bOption);
    EXPECT_EQ(GetLoginTableNumber(), 17);
    EXPECT_TRUE(GetGameSocket().IsReceiveEnabled());

    // The record waited for the fields.
    ASSERT_TRUE(platform_test::PumpUntil([&] { return !client.gameMsgs.empty(); }));
    EXPECT_EQ(client.gameMsgs[0].record, record);
    EXPECT_EQ(client.gameMsgs[0].seat, 2);
    EXPECT_EQ(client.gameMsgs[0].playerCount, 6);
    EXPECT_TRUE(client.tips.empty());
    EXPECT_TRUE(client.closes.empty());
}

TEST_F(EnterGameTest, ASeatAtOrPastThePlayerCountWatches) {
    struct Case {
        const char* seat; // as the lobby counts
        WORD players;
        BOOL watcher;
    };
    for (const Case& c : {Case{"6", 6, FALSE}, Case{"7", 6, TRUE}, Case{"12", 6, TRUE},
                          Case{"1", 0, TRUE}, Case{"4", 3, TRUE}}) {
        ProcessArguments arguments(Launch(server.Port(), c.seat));
        ServeAccepted(c.players);
        ASSERT_EQ(client.EnterGame(), 1) << c.seat;
        EXPECT_EQ(client.m_bWatcher, c.watcher) << "seat " << c.seat << " of " << c.players;
        EXPECT_EQ(client.m_nPlayerCount, c.players);
        GetGameSocket().Close();
    }
}

TEST_F(EnterGameTest, OnlyOptionFlagOneSetsTheOption) {
    ServeAccepted(6);
    {
        ProcessArguments arguments(Launch(server.Port(), "3", "2"));
        ASSERT_EQ(client.EnterGame(), 1);
        EXPECT_FALSE(client.m_bOption);
    }
    GetGameSocket().Close();
    {
        ProcessArguments arguments(Launch(server.Port(), "3", "1"));
        ASSERT_EQ(client.EnterGame(), 1);
        EXPECT_TRUE(client.m_bOption);
    }
    GetGameSocket().Close();
    {
        // Once set, a record without the flag leaves it.
        ProcessArguments arguments(Launch(server.Port(), "3", "0"));
        ASSERT_EQ(client.EnterGame(), 1);
        EXPECT_TRUE(client.m_bOption);
    }
}

TEST_F(EnterGameTest, OnlyTheLowByteOfTheResultCounts) {
    ProcessArguments arguments(Launch(server.Port()));
    ServeAccepted(6, 5, 0x101);
    EXPECT_EQ(client.EnterGame(), 1);
    EXPECT_EQ(GetLoginTableNumber(), 5);
}

TEST_F(EnterGameTest, ARefusedLoginIsShownAndClosesTheConnection) {
    ProcessArguments arguments(Launch(server.Port()));
    struct Case {
        DWORD result;
        const char* text;
    };
    for (const Case& c :
         {Case{4, "发现非法用户名企图登录！"}, Case{2, "现在无法进入游戏通道，请过一会儿再试试"},
          Case{0x104, "发现非法用户名企图登录！"},
          Case{0, "现在无法进入游戏通道，请过一会儿再试试"}}) {
        client.tips.clear();
        Serve({WireFrame(0x80000200, "", c.result)});
        EXPECT_EQ(client.EnterGame(), 0) << c.result;
        EXPECT_EQ(client.tips, (std::vector<Tip>{{c.text, 0, MB_ICONSTOP, UINT(-1)}}));
        EXPECT_TRUE(Closed());
    }
    // Refusals are the client's notices, not broken connections.
    EXPECT_TRUE(client.closes.empty());
}

TEST_F(EnterGameTest, AReplyThatDoesNotHoldWhatItAnnouncesIsRefused) {
    ProcessArguments arguments(Launch(server.Port()));
    // The reader's own tests go through every lie; here, that one is refused.
    const std::vector<std::string> lies = {
        ReplyPayload(3, 1, Seats(1)),           // three players announced, one sent
        Half(0) + Half(1) + LeWord(0xFFFFFFFF), // a first block past every end
    };
    for (const std::string& payload : lies) {
        client.tips.clear();
        Serve({WireFrame(0x80000200, payload, 1)});
        EXPECT_EQ(client.EnterGame(), 0);
        EXPECT_EQ(client.tips, (std::vector<Tip>{{"现在无法进入游戏通道，请过一会儿再试试", 0,
                                                  MB_ICONSTOP, UINT(-1)}}));
        EXPECT_TRUE(Closed());
    }
    EXPECT_EQ(TypesOf(server.log.Frames()),
              std::vector<DWORD>(lies.size(), DWORD(0x200))); // never entered
}

// Each pause of a wait spends a tenth of a second of stepped time, so the
// thirty seconds pass in a few hundred turns of the loop.
class SteppingClock : public platform::ManualClock {
public:
    void SleepMs(uint32_t) override { Advance(100); }
};

TEST_F(EnterGameTest, AServerThatNeverAnswersIsGivenUpWhenTheUserSaysSo) {
    ProcessArguments arguments(Launch(server.Port()));
    Serve({});
    int asked = 0;
    client.answer = [&](const Tip&) { return ++asked == 1 ? IDYES : IDNO; };
    SteppingClock clock;
    platform::ScopedClock useClock(clock);
    const uint64_t start = clock.NowMs();
    EXPECT_EQ(client.EnterGame(), 0);

    const Tip keepWaiting{"", 29910, MB_YESNO | MB_ICONQUESTION, UINT(-1)};
    EXPECT_EQ(client.tips, (std::vector<Tip>{keepWaiting, keepWaiting}));
    EXPECT_GE(clock.NowMs() - start, 60000u); // asked again after a second period
    EXPECT_EQ(client.closes, (std::vector<int>{WSAETIMEDOUT}));
    EXPECT_EQ(TypesOf(server.log.Frames()), (std::vector<DWORD>{0x200}));
}

TEST_F(EnterGameTest, WithoutALaunchRecordNothingIsConnected) {
    ProcessArguments arguments({"pellor", "3"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(client.EnterGame(), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(server.Connections(), 0);
    EXPECT_TRUE(client.tips.empty());
}

TEST_F(EnterGameTest, AServerThatCannotBeReachedIsReportedThroughOnClose) {
    ProcessArguments arguments(Launch(platform_test::RefusingPort()));
    EXPECT_EQ(client.EnterGame(), 0);
    EXPECT_EQ(client.closes, (std::vector<int>{WSAECONNREFUSED}));
}

// The code-page converter as a resource library that names a code page
// brings it.
class ConvertedNamesTest : public EnterGameTest {
protected:
    void SetUp() override {
        EnterGameTest::SetUp();
        savedHandle = AfxGetResourceHandle();
        std::string error;
        ASSERT_TRUE(RegisterResourceModuleText(kModule, "STRINGTABLE\nBEGIN\n 29936 \"936\"\nEND\n",
                                               ".", &error))
            << error;
        resources = LoadLibrary(kModule);
        ASSERT_NE(resources, nullptr);
        AfxSetResourceHandle(resources);
    }
    void TearDown() override {
        FreeCodePageConverter();
        theCodePage.nCodePage = 936;
        AfxSetResourceHandle(savedHandle);
        FreeLibrary(resources);
        UnregisterResourceModule(kModule);
        EnterGameTest::TearDown();
    }

    // Logs in and hands back the players and blocks as the reply held them.
    struct Login {
        int count = -1;
        tagPLAYERINFO* players = nullptr;
        DWORD firstLength = 0xDEAD, secondValue = 0xDEAD;
        BYTE *first = nullptr, *second = nullptr;
    };
    Login LogIn(const std::string& payload) {
        Serve({WireFrame(0x80000200, payload, 1)});
        tagLAUNCHINFO launch{};
        strcpy(launch.szGameServer, "127.0.0.1");
        launch.wGameServerPort = WORD(server.Port());
        Login login;
        EXPECT_EQ(EnterGameHandshake(&launch, &login.count, &login.players, &login.firstLength,
                                     &login.first, &login.secondValue, &login.second),
                  1);
        return login;
    }
    static DWORD ValueOf(const tagPLAYERINFO& player) {
        DWORD value;
        memcpy(&value, &player.dwValue, 4);
        return value;
    }

    static constexpr const char* kModule = "ConvertedNames_res.dll";
    HINSTANCE savedHandle = nullptr;
    HINSTANCE resources = nullptr;
};

TEST_F(ConvertedNamesTest, ForeignNamesArriveInTheSystemsCodePage) {
    ASSERT_EQ(InitCodePageConverter(), 1);
    const std::string big5 = "\xA4\xA4\xA4\xE5"; // "中文" in Big5
    const Login login = LogIn(ReplyPayload(
        3, 8, {{950u << 16 | 7, big5}, {0u << 16 | 8, "\xA4\xA4"}, {936u << 16 | 9, "中文"}}, "blk",
        LeWord(55) + "tail"));
    ASSERT_EQ(login.count, 3);
    EXPECT_STREQ(login.players[0].szName, "中文");
    EXPECT_EQ(ValueOf(login.players[0]), 7u);          // the code page is cleared
    EXPECT_STREQ(login.players[1].szName, "\xA4\xA4"); // no code page: as it came
    EXPECT_EQ(ValueOf(login.players[1]), 8u);
    EXPECT_STREQ(login.players[2].szName, "中文");
    EXPECT_EQ(ValueOf(login.players[2]), 9u);
    EXPECT_EQ(login.firstLength, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(login.first), 3), "blk");
    EXPECT_EQ(login.secondValue, 55u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(login.second), 4), "tail");
    EXPECT_FALSE(GetGameSocket().IsReceiveEnabled()); // held for the caller
}

TEST_F(ConvertedNamesTest, WithoutTheConverterNamesAndCodePagesStay) {
    const std::string big5 = "\xA4\xA4\xA4\xE5";
    const Login login = LogIn(ReplyPayload(1, 8, {{950u << 16 | 7, big5}}));
    ASSERT_EQ(login.count, 1);
    EXPECT_EQ(std::string(login.players[0].szName), big5);
    EXPECT_EQ(ValueOf(login.players[0]), 950u << 16 | 7);
    // A reply that ends behind the first block has no second one.
    EXPECT_EQ(login.firstLength, 0u);
    EXPECT_EQ(login.secondValue, 0u);
    EXPECT_EQ(login.second, nullptr);
}

} // namespace
