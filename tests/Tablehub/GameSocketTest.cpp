// The game socket's dispatch: each frame of the game server reaches the
// client callback it stands for, with the arguments read from the right
// places; the frames the game leaves alone call nothing and answer nothing;
// short frames are dropped; compressed frames arrive like plain ones.

#include "GameSocketFixture.h"

#include <cstring>

namespace game_socket_test {
namespace {

struct Case {
    const char* what;
    std::string frame;
    std::vector<std::string> calls;
};

std::string ChargeRecord() {
    return Word(100) + Word(200) + Half(3) + Half(4) + Half(5) + Half(6);
}

// A charge result: name, u32 at 20 and 24, u16 at 28 and 30, i32 at 32 and
// 36, u16 at 40 and the selector at 42.
std::string ChargeResult(WORD selector) {
    return Field("玩家甲", 20) + Word(21) + Word(22) + Half(23) + Half(24) + Word(DWORD(-25)) +
           Word(26) + Half(27) + Half(selector);
}

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.what;
}

class DispatchTest : public GameSocketTest, public ::testing::WithParamInterface<Case> {};

TEST_P(DispatchTest, FrameReachesItsCallbackWithItsArguments) {
    EXPECT_EQ(CallsFor(GetParam().frame), GetParam().calls);
    EXPECT_TRUE(Open());
}

INSTANTIATE_TEST_SUITE_P(
    Frames, DispatchTest,
    ::testing::Values(
        Case{"game record", Frame(0x243, "12345678body"), {"OnGameMsg(12,12345678body)"}},
        Case{"empty game record", Frame(0x243, ""), {"OnGameMsg(0,null)"}},
        Case{"player dropped", Frame(0x229, Text("玩家甲")), {"OnBreak(玩家甲)"}},
        Case{"player back", Frame(0x22A, Text("玩家乙")), {"OnReConnet(玩家乙)"}},
        Case{"name without NUL ends with the frame",
             Frame(0x229, "玩家丙") + Frame(0x229, Text("丁")),
             {"OnBreak(玩家丙)", "OnBreak(丁)"}},
        Case{"exchange request with text",
             Frame(0x23B, Word(5000) + Word(7) + Text("请兑换")),
             {"OnNeedExchangeGameCoin(5000,7,请兑换)"}},
        Case{"exchange request of exactly 8 bytes has an empty text",
             Frame(0x23B, Word(5000) + Word(7)),
             {"OnNeedExchangeGameCoin(5000,7,)"}},
        Case{"charge request",
             Frame(0x241, ChargeRecord() + Text("送豆")),
             {"OnNeedChargeGameCoin(100,200,3,4,5,6,送豆)"}},
        Case{"charge request without text",
             Frame(0x241, ChargeRecord()),
             {"OnNeedChargeGameCoin(100,200,3,4,5,6,)"}},
        Case{"seat left", Frame(0x250, Half(3)), {"OnLeaveGame(3)"}},
        Case{"seat left reads 16 bits", Frame(0x250, Word(0x10004)), {"OnLeaveGame(4)"}},
        Case{"game over", Frame(0x80000219, ""), {"OnMastGameOver()"}},
        Case{"exchange result 1 succeeds",
             Frame(0x8000023C, Field("玩家甲", 20) + Word(300) + Word(400), 1),
             {"OnExchangedGameCoinSuccess(玩家甲,300,400)"}},
        Case{"exchange result name is bounded by its field",
             Frame(0x8000023C, std::string(20, 'n') + Word(0x41414141) + Word(2), 1),
             {"OnExchangedGameCoinSuccess(" + std::string(20, 'n') + ",1094795585,2)"}},
        Case{"exchange result 0 fails",
             Frame(0x8000023C, Field("玩家甲", 20) + Word(300) + Word(400), 0),
             {"OnExchangedGameCoinFailed(0)"}},
        Case{"exchange result 2 fails",
             Frame(0x8000023C, Field("玩家甲", 20) + Word(300) + Word(400), 2),
             {"OnExchangedGameCoinFailed(2)"}},
        Case{"charge result 0 succeeds with 32, 36 and 40",
             Frame(0x80000242, ChargeResult(1), 0),
             {"OnChargedGameCoinSuccess(玩家甲,-25,26,27)"}},
        Case{"charge failure with the selector set reports 20, 28 and 40",
             Frame(0x80000242, ChargeResult(1), 3),
             {"OnChargedGameCoinFailed(3,21,23,27)"}},
        Case{"charge failure without the selector reports 24, 30 and 40",
             Frame(0x80000242, ChargeResult(0), 3),
             {"OnChargedGameCoinFailed(3,22,24,27)"}},
        Case{"seat change reply",
             Frame(0x800001AB, std::string(4, '\0') + Word(0) + Text("房间"), 1),
             {"OnChangeSeat()"}},
        Case{"compressed game record",
             Frame(0x40000243, CompressedPayload("12345678" + std::string(3000, 'z'))),
             {"OnGameMsg(3008,12345678" + std::string(3000, 'z') + ")"}},
        Case{"compressed player dropped",
             Frame(0x40000229, CompressedPayload(Text("玩家甲"))),
             {"OnBreak(玩家甲)"}},
        Case{"compressed exchange result",
             Frame(0xC000023C, CompressedPayload(Field("甲", 20) + Word(1) + Word(2)), 1),
             {"OnExchangedGameCoinSuccess(甲,1,2)"}}));

// The framework's frames that the game leaves alone, and frames that are
// not the game's, call nothing, and nothing answers them on the wire.
INSTANTIATE_TEST_SUITE_P(
    Ignored, DispatchTest,
    ::testing::Values(
        Case{"transform", Frame(0x160, std::string(16, 'c')), {}},
        Case{"0x22D", Frame(0x22D, "x"), {}},
        Case{"question", Frame(0x230, Word(1) + Word(MB_OK) + Word(0) + Word(0) + Text("?")), {}},
        Case{"address query", Frame(0x231, ""), {}},
        Case{"trust exit reply", Frame(0x8000021A, Field("Alice", 20), 1), {}},
        Case{"trusteeship", Frame(0x8000021B, Field("Alice", 20) + Word(1), 1), {}},
        Case{"0x8000021C", Frame(0x8000021C, "", 1), {}},
        Case{"round list", Frame(0x80000233, Field("Alice", 20) + Word(1) + Word(2), 1), {}},
        Case{"register process", Frame(0x1A1, ""), {}},
        Case{"switch record", Frame(0x244, Field("Alice", 44)), {}},
        Case{"web pop-up",
             Frame(0x249, Field("t", 128) + Field("http://example.com/", 512) + Word(1) + Word(1)),
             {}},
        Case{"unknown frame", Frame(0x999, "xyz"), {}},
        Case{"unknown reply", Frame(0x80000999, "xyz", 1), {}}));

TEST_F(GameSocketTest, IgnoredFramesGetNoAnswerAndOpenNothing) {
    strcpy(theLaunchInfo.szUserName, "Alice");
    CallsFor(Frame(0x231, "") +
             Frame(0x230, Word(1) + Word(MB_OK) + Word(0) + Word(0) + Text("?")) +
             Frame(0x8000021A, Field("Alice", 20), 1) +
             Frame(0x249, Field("t", 128) + Field("http://example.com/", 512) + Word(1) + Word(1)));
    EXPECT_EQ(peer.ReadAvailable(), "");
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(Open());
}

// Every frame one byte short of its layout is dropped, and the frames
// behind it still come.
TEST_F(GameSocketTest, ShortFramesAreDropped) {
    const struct {
        DWORD type;
        size_t needed;
    } layouts[] = {{0x225, 28}, {0x234, 12},     {0x23B, 8},       {0x23D, 4},      {0x241, 16},
                   {0x250, 2},  {0x800001AB, 8}, {0x8000023C, 28}, {0x80000242, 44}};
    client.m_nServerValue = 77;
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.type);
        socket.SetExchangeRequested(0);
        const std::string payload(layout.needed - 1, '\x01');
        EXPECT_EQ(CallsFor(Frame(layout.type, payload, 1) + Frame(0x229, Text("next"))),
                  std::vector<std::string>{"OnBreak(next)"});
        EXPECT_FALSE(socket.IsExchangeRequested());
    }
    EXPECT_EQ(client.m_nServerValue, 77);
    EXPECT_TRUE(opened.empty());
}

TEST_F(GameSocketTest, ExchangeRequestSetsTheRequestedFlag) {
    socket.SetExchangeRequested(0);
    CallsFor(Frame(0x23B, Word(1) + Word(2)));
    EXPECT_TRUE(socket.IsExchangeRequested());
}

TEST_F(GameSocketTest, ServerValueAndItsOptionalText) {
    client.m_strServerText = "old";
    CallsFor(Frame(0x23D, Word(250)));
    EXPECT_EQ(client.m_nServerValue, 250);
    EXPECT_EQ(std::string(client.m_strServerText.GetString()), "old");

    CallsFor(Frame(0x23D, Word(300) + Text("兑换比例")));
    EXPECT_EQ(client.m_nServerValue, 300);
    EXPECT_EQ(std::string(client.m_strServerText.GetString()), "兑换比例");

    // A text without its NUL ends with the frame.
    CallsFor(Frame(0x23D, Word(1) + "abc"));
    EXPECT_EQ(std::string(client.m_strServerText.GetString()), "abc");
}

class ChangeSeatTest : public GameSocketTest {
protected:
    void SetUp() override {
        GameSocketTest::SetUp();
        client.m_nMySeat = 2;
        client.m_bWatcher = 0;
        client.m_nChangeSeatResult = -1;
        theLaunchInfo.nSeatIndex = 2;
        memset(theLaunchInfo.szRoom, 'x', sizeof theLaunchInfo.szRoom);
    }
    static std::string Reply(BYTE seat, DWORD watcher, const std::string& room) {
        return std::string(1, char(seat)) + std::string(3, '\0') + Word(watcher) + room;
    }
    std::string Room() const {
        return std::string(theLaunchInfo.szRoom, sizeof theLaunchInfo.szRoom);
    }
};

TEST_F(ChangeSeatTest, RefusedChangeKeepsTheSeatButTakesWatcherAndRoom) {
    EXPECT_EQ(CallsFor(Frame(0x800001AB, Reply(5, 1, Text("新房间")), 0)),
              std::vector<std::string>{"OnChangeSeat()"});
    EXPECT_EQ(client.m_nChangeSeatResult, 0);
    EXPECT_EQ(client.m_nMySeat, 2);
    EXPECT_EQ(theLaunchInfo.nSeatIndex, 2);
    EXPECT_EQ(client.m_bWatcher, 1);
    EXPECT_EQ(Room(), Field("新房间", 40));
}

TEST_F(ChangeSeatTest, AcceptedChangeMovesBothSeats) {
    CallsFor(Frame(0x800001AB, Reply(5, 0, Text("房")), 1));
    EXPECT_EQ(client.m_nChangeSeatResult, 1);
    EXPECT_EQ(client.m_nMySeat, 5);
    EXPECT_EQ(theLaunchInfo.nSeatIndex, 5);
    EXPECT_EQ(client.m_bWatcher, 0);
}

TEST_F(ChangeSeatTest, AnAcceptedSeatTheTableHasNotIsRefused) {
    for (BYTE seat : {BYTE(6), BYTE(0x94), BYTE(0xFF)}) {
        EXPECT_EQ(CallsFor(Frame(0x800001AB, Reply(seat, 0, Text("房")), 1)),
                  std::vector<std::string>{"OnChangeSeat()"});
        EXPECT_EQ(client.m_nChangeSeatResult, 0) << int(seat);
        EXPECT_EQ(client.m_nMySeat, 2);
        EXPECT_EQ(theLaunchInfo.nSeatIndex, 2);
    }
    CallsFor(Frame(0x800001AB, Reply(5, 0, Text("房")), 1));
    EXPECT_EQ(client.m_nMySeat, 5) << "the last seat of the table is one";
}

TEST_F(ChangeSeatTest, LongRoomIsCutToItsFieldAtACharacterBoundary) {
    // 38 single bytes, then a double-byte character that would take bytes
    // 38 and 39: the field keeps 39 bytes at most, so the character goes.
    CallsFor(Frame(0x800001AB, Reply(1, 0, std::string(38, 'a') + "房间名字" + '\0'), 1));
    EXPECT_EQ(Room(), std::string(38, 'a') + std::string(2, '\0'));

    CallsFor(Frame(0x800001AB, Reply(1, 0, std::string(200, 'b')), 1));
    EXPECT_EQ(Room(), std::string(39, 'b') + '\0');
}

TEST_F(ChangeSeatTest, ReplyWithoutRoomKeepsTheRoom) {
    strcpy(theLaunchInfo.szRoom, "大厅");
    CallsFor(Frame(0x800001AB, Reply(1, 0, ""), 1));
    EXPECT_STREQ(theLaunchInfo.szRoom, "大厅");
    EXPECT_EQ(client.m_nMySeat, 1);
}

TEST_F(GameSocketTest, FramesWithoutAClientAreDropped) {
    RegisterClient(nullptr);
    peer.Write(Frame(0x229, Text("甲")) + Frame(0x234, Word(0) + Word(0) + Word(0) + Text("x")) +
               Frame(0x225, Word(DWORD(-1)) + Word(0) + Word(0) + Word(0) + Word(0) + Word(0) +
                                Word(20) + Text("http://example.com/")) +
               Frame(0x800001AB, std::string(8, '\0') + Text("r"), 1) + Frame(0x243, "12345678"));
    // Each frame is read and handled in one notification: once the socket
    // holds no more bytes, all of them have been handled.
    EXPECT_TRUE(platform_test::PumpUntil([&] { return socket.GetBytesAvailable() == 0; }));
    platform_test::Settle();
    EXPECT_TRUE(client.calls.empty());
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(Open());

    // The server's end of the link still closes the connection.
    peer.Write(Frame(0xFFFFFFFF, Text("bye"), 1));
    EXPECT_TRUE(platform_test::PumpUntil([&] { return !Open(); }));
    EXPECT_TRUE(client.calls.empty());
}

} // namespace
} // namespace game_socket_test
