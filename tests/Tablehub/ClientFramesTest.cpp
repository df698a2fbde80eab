// What each operation of the exported client puts on the wire, read back by
// a loopback server byte for byte; the limits of a game record; the
// keep-alive clock; the exchange flag; and copies of the client.

#include "ClientFixture.h"

#include "platform/system/Clock.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

using namespace client_test;

namespace {

class ConnectedTest : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        ASSERT_EQ(GetGameSocket().Connect("127.0.0.1", server.Port(), 0), 1);
    }

    // A frame that shows where a sequence stands: whatever was due before it
    // has reached the server when it has.
    void Marker() { ASSERT_EQ(client.ChargeGameCoin(0), 1); }

    FrameServer server{Silent};
};

TEST_F(ConnectedTest, EachOperationWritesItsFrameByteForByte) {
    strcpy(client.m_szUserName, "玩家甲");
    client.m_szUserName[19] = 'x'; // behind the NUL: must not go out
    client.TrustExitGame();
    char name[] = "观众乙";
    client.Standup(name);
    client.ChangeSeat(0x1203, 1);
    EXPECT_EQ(client.ChargeGameCoin(777), 1);
    EXPECT_EQ(client.ExchangeGameCoin(300), 1);

    const auto frames = Received(server, 5);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[0].type, 0x21Au);
    EXPECT_EQ(frames[0].payload, Field("玩家甲", 20));
    EXPECT_EQ(frames[1].type, 0x111u);
    EXPECT_EQ(frames[1].payload, Field("观众乙", 20) + LeWord(8));
    EXPECT_EQ(frames[2].type, 0x1ABu);
    EXPECT_EQ(frames[2].payload, LeWord(0) + LeWord(3) + LeWord(1)); // the seat's low byte
    EXPECT_EQ(frames[3].type, 0x242u);
    EXPECT_EQ(frames[3].payload, ""); // the amount is not sent
    EXPECT_EQ(frames[4].type, 0x23Cu);
    EXPECT_EQ(frames[4].payload, LeWord(0x80000000u | 300)); // first exchange after connect
}

TEST_F(ConnectedTest, NamesLongerThanTheirFieldAreCutAtACharacterBoundary) {
    memset(client.m_szUserName, 'n', sizeof client.m_szUserName); // no NUL at all
    client.TrustExitGame();
    char longName[] = "一二三四五六七八九十"; // 20 bytes
    client.Standup(longName);
    client.Standup(nullptr);

    const auto frames = Received(server, 3);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].payload, Field(std::string(19, 'n'), 20));
    EXPECT_EQ(frames[1].payload, Field("一二三四五六七八九", 20) + LeWord(8));
    EXPECT_EQ(frames[2].payload, Field("", 20) + LeWord(8));
}

TEST_F(ConnectedTest, SendMsgCarriesRecordsUpToTheLargestFrame) {
    // 1,015 bytes still fit the small buffer, 1,016 do not; 65,528 make a
    // frame of exactly 65,536 bytes.
    const std::vector<int> sizes = {8, 1015, 1016, 65528};
    std::vector<std::string> records;
    for (int size : sizes) {
        std::string record(size_t(size), '\0');
        for (int i = 0; i < size; ++i)
            record[size_t(i)] = char(i * 7 + size);
        records.push_back(record);
        EXPECT_EQ(client.SendMsg(size, records.back().data()), 1) << size;
    }
    const auto frames = Received(server, sizes.size());
    ASSERT_EQ(frames.size(), sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(frames[i].type, 0x243u);
        EXPECT_EQ(frames[i].length, DWORD(sizes[i]));
        EXPECT_TRUE(frames[i].payload == records[i]) << "record of " << sizes[i] << " bytes";
    }
    EXPECT_TRUE(client.tips.empty());
}

TEST_F(ConnectedTest, SendMsgRefusesWhatNoFrameCanCarryBeforeCopyingIt) {
    std::string record(65529, 'r');
    EXPECT_EQ(client.SendMsg(65529, record.data()), 0);
    // Lengths whose frame size would wrap or that no record can have: the
    // record behind them is never read.
    char small[8] = {};
    EXPECT_EQ(client.SendMsg(INT_MAX, small), 0);
    EXPECT_EQ(client.SendMsg(-1, small), 0);
    EXPECT_EQ(client.SendMsg(INT_MIN, small), 0);
    EXPECT_EQ(client.SendMsg(8, nullptr), 0);
    Marker();

    const auto frames = Received(server, 1);
    EXPECT_EQ(TypesOf(frames), (std::vector<DWORD>{0x242}));
    // The oversized ones get the socket's notice; the impossible ones none.
    const Tip tooLarge{"", 29674, MB_ICONINFORMATION, UINT(-1)};
    EXPECT_EQ(client.tips, (std::vector<Tip>{tooLarge, tooLarge}));
}

TEST_F(ConnectedTest, AKeepAliveGoesOutOnlyAfterThirtySecondsWithoutARecord) {
    platform::ManualClock clock;
    platform::ScopedClock useClock(clock);
    char record[8] = {1, 2, 3, 4, 0, 0, 0, 0};
    ASSERT_EQ(client.SendMsg(8, record), 1);

    clock.Advance(30000);
    client.SendIdle(); // not more than 30,000 ms: nothing
    Marker();
    clock.Advance(1);
    client.SendIdle();
    client.SendIdle(); // the keep-alive does not reset the clock
    ASSERT_EQ(client.SendMsg(8, record), 1);
    clock.Advance(30000);
    client.SendIdle(); // the record did
    Marker();
    clock.Advance(1);
    client.SendIdle();

    const auto frames = Received(server, 7);
    EXPECT_EQ(TypesOf(frames),
              (std::vector<DWORD>{0x243, 0x242, 0x201, 0x201, 0x243, 0x242, 0x201}));
    for (const FrameRecord& frame : frames) {
        if (frame.type == 0x201) {
            EXPECT_EQ(frame.length, 0u);
        }
    }
}

TEST_F(ConnectedTest, TheExchangeCarriesBit31OnceForEachRequest) {
    EXPECT_EQ(client.ExchangeGameCoin(5), 1); // first after the connect
    EXPECT_EQ(client.ExchangeGameCoin(6), 1);
    GetGameSocket().SetExchangeRequested(1); // as the server's request sets it
    EXPECT_EQ(client.ExchangeGameCoin(7), 1);
    EXPECT_EQ(client.ExchangeGameCoin(8), 1);
    const auto frames = Received(server, 4);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].payload, LeWord(0x80000005u));
    EXPECT_EQ(frames[1].payload, LeWord(6));
    EXPECT_EQ(frames[2].payload, LeWord(0x80000007u));
    EXPECT_EQ(frames[3].payload, LeWord(8));

    // A refused send still uses the request up.
    GetGameSocket().Close();
    GetGameSocket().SetExchangeRequested(1);
    EXPECT_EQ(client.ExchangeGameCoin(9), 0);
    EXPECT_EQ(GetGameSocket().IsExchangeRequested(), 0);
}

TEST_F(ConnectedTest, NothingGoesOutOnAClosedConnection) {
    GetGameSocket().Close();
    char record[8] = {};
    EXPECT_EQ(client.SendMsg(8, record), 0);
    EXPECT_EQ(client.ChargeGameCoin(1), 0);
    EXPECT_EQ(client.ExchangeGameCoin(1), 0);
    client.TrustExitGame();
    client.Standup(record);
    client.ChangeSeat(1, 0);
    platform::ManualClock clock;
    platform::ScopedClock useClock(clock);
    clock.Advance(60000);
    client.SendIdle();
    client.LeaveGame();
    client.EscapeGame();
    platform_test::Settle();
    EXPECT_TRUE(server.log.Frames().empty());
    EXPECT_TRUE(client.closes.empty());
}

TEST_F(ConnectedTest, LeavingSendsItsFrameAndClosesTheConnection) {
    client.LeaveGame();
    EXPECT_EQ(client.ChargeGameCoin(1), 0); // closed
    EXPECT_EQ(TypesOf(Received(server, 1)), (std::vector<DWORD>{0x202}));

    ASSERT_EQ(GetGameSocket().Connect("127.0.0.1", server.Port(), 0), 1);
    client.EscapeGame();
    EXPECT_EQ(client.ChargeGameCoin(1), 0);
    EXPECT_EQ(TypesOf(Received(server, 2)), (std::vector<DWORD>{0x202, 0x203}));
}

TEST_F(ConnectedTest, ACopyTakesEveryFieldButLeavesTheConnectionAlone) {
    client.m_nPlayerCount = 6;
    client.m_nMySeat = 4;
    strcpy(client.m_szUserName, "玩家甲");
    strcpy(client.m_szNickName, "小明");
    strcpy(client.m_szLoginInfo, "ticket");
    client.m_nChangeSeatResult = 9;
    strcpy(client.m_szLevel, "大师");
    client.m_dwLaunchParam = 4096;
    client.m_nServerValue = 150;
    client.m_strServerText = "汇率";
    client.m_bWatcher = TRUE;
    client.m_bOption = TRUE;
    {
        CTablehub copy(client);
        EXPECT_EQ(copy.m_nPlayerCount, 6);
        EXPECT_EQ(copy.m_nMySeat, 4);
        EXPECT_STREQ(copy.m_szUserName, "玩家甲");
        EXPECT_STREQ(copy.m_szNickName, "小明");
        EXPECT_STREQ(copy.m_szLoginInfo, "ticket");
        EXPECT_EQ(copy.m_nChangeSeatResult, 9);
        EXPECT_STREQ(copy.m_szLevel, "大师");
        EXPECT_EQ(copy.m_dwLaunchParam, 4096u);
        EXPECT_EQ(copy.m_nServerValue, 150);
        EXPECT_STREQ(copy.m_strServerText.GetString(), "汇率");
        EXPECT_TRUE(copy.m_bWatcher);
        EXPECT_TRUE(copy.m_bOption);

        CTablehub assigned;
        assigned = client;
        EXPECT_EQ(assigned.m_nMySeat, 4);
        EXPECT_STREQ(assigned.m_strServerText.GetString(), "汇率");
    }
    // Both copies are gone; the client is still the one called, and the
    // connection still carries its frames.
    EXPECT_EQ(GetRegisteredClient(), &client);
    EXPECT_EQ(client.ChargeGameCoin(1), 1);
    EXPECT_EQ(TypesOf(Received(server, 1)), (std::vector<DWORD>{0x242}));
}

TEST_F(ConnectedTest, TheRegisteredClientClosesTheConnectionWhenDestroyed) {
    auto other = std::make_unique<TestClient>();
    ASSERT_EQ(other->Init(), 1);
    ASSERT_EQ(GetRegisteredClient(), other.get());
    other.reset();
    EXPECT_EQ(GetRegisteredClient(), nullptr);
    EXPECT_EQ(client.ChargeGameCoin(1), 0); // closed with it
    EXPECT_TRUE(client.closes.empty());
}

TEST(ClientConstructionTest, EveryFieldStartsEmpty) {
    // Built over garbage, as an instance on the stack or the heap would be.
    alignas(CTablehub) unsigned char storage[sizeof(CTablehub)];
    memset(storage, 0xA5, sizeof storage);
    auto* client = new (storage) CTablehub;
    EXPECT_EQ(client->m_nPlayerCount, 0);
    EXPECT_EQ(client->m_nMySeat, 0);
    EXPECT_EQ(std::string(client->m_szUserName, 20), std::string(20, '\0'));
    EXPECT_EQ(std::string(client->m_szNickName, 20), std::string(20, '\0'));
    EXPECT_EQ(std::string(client->m_szLoginInfo, 40), std::string(40, '\0'));
    EXPECT_EQ(client->m_nChangeSeatResult, 0);
    EXPECT_EQ(std::string(client->m_szLevel, 16), std::string(16, '\0'));
    EXPECT_EQ(client->m_dwLaunchParam, 0u);
    EXPECT_EQ(client->m_nServerValue, 1);
    EXPECT_TRUE(client->m_strServerText.IsEmpty());
    EXPECT_EQ(client->m_bWatcher, 0);
    EXPECT_EQ(client->m_bOption, 0);
    client->~CTablehub();
}

} // namespace
