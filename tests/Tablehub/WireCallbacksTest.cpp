// Every server frame the client acts on reaches its callback over the wire,
// with the arguments the frame carries, in the order the host sent them;
// ignored frames call nothing. A notice holds receiving while it is open.
// The frames that end the table close the connection before their callback.

#include "WireFixture.h"

#include <ostream>

namespace wire_test {
namespace {

using platform_test::PumpUntil;
using platform_test::Settle;

class WireCallbacks : public WireAloneTest {};

struct Scripted {
    DWORD type;
    std::vector<BYTE> payload;
    DWORD result;
    bool compress;
    Call expected;
};

// A charge result with the failure values in both places, told apart by
// the selector at 42.
std::vector<BYTE> ChargeResult(WORD selector) {
    return Payload()
        .Text("alice")
        .PadTo(20)
        .Word(11)
        .Word(22)
        .Half(33)
        .Half(44)
        .Word(1234)
        .Word(DWORD(-50))
        .Half(2)
        .Half(selector);
}

TEST_F(WireCallbacks, EachFrameReachesItsCallbackWithItsArguments) {
    const std::vector<Scripted> frames = {
        {0x229, Payload().Text("bob"), 0, false, {"OnBreak", "bob", {}}},
        {0x22A, Payload().Text("bob"), 0, false, {"OnReConnet", "bob", {}}},
        {0x229, Payload().Text("carol"), 0, true, {"OnBreak", "carol", {}}},
        {0x234,
         Payload().Word(29930).Word(0x40).Word(5).Text(""),
         0,
         false,
         {"OnTipMessage(id)", "", {29930, 0x40, 5}}},
        {0x234,
         Payload().Word(0).Word(0x30).Word(7).Text("hello"),
         0,
         false,
         {"OnTipMessage(text)", "hello", {0x30, 7}}},
        {0x225,
         Payload()
             .Word(0)
             .Word(0x40)
             .Word(1)
             .Word(DWORD(-1))
             .Word(0)
             .Word(0)
             .Word(11)
             .Text("to all")
             .Text("none")
             .Word(936),
         0,
         false,
         {"OnTipMessage(text)", "to all", {0x40, 0}}},
        {0x250, Payload().Half(4), 0, false, {"OnLeaveGame(seat)", "", {4}}},
        {0x80000219, {}, 0, false, {"OnMastGameOver", "", {}}},
        {0x241,
         Payload().Word(1).Word(2).Half(3).Half(4).Half(5).Half(6).Text("charge please"),
         0,
         false,
         {"OnNeedChargeGameCoin", "charge please", {1, 2, 3, 4, 5, 6}}},
        {0x23B,
         Payload().Word(5000).Word(7).Text("need beans"),
         0,
         false,
         {"OnNeedExchangeGameCoin", "need beans", {5000, 7}}},
        {0x23B, Payload().Word(100).Word(8), 0, false, {"OnNeedExchangeGameCoin", "", {100, 8}}},
        {0x80000242,
         ChargeResult(0),
         0,
         true,
         {"OnChargedGameCoinSuccess", "alice", {1234, -50, 2}}},
        {0x80000242, ChargeResult(1), 5, false, {"OnChargedGameCoinFailed", "", {5, 11, 33, 2}}},
        {0x80000242, ChargeResult(0), 5, false, {"OnChargedGameCoinFailed", "", {5, 22, 44, 2}}},
        {0x8000023C,
         Payload().Text("alice").PadTo(20).Word(77).Word(88),
         1,
         false,
         {"OnExchangedGameCoinSuccess", "alice", {77, 88}}},
        {0x8000023C,
         Payload().Text("alice").PadTo(20).Word(77).Word(88),
         3,
         false,
         {"OnExchangedGameCoinFailed", "", {3}}},
    };
    std::vector<Call> expected;
    for (const Scripted& frame : frames) {
        SCOPED_TRACE(frame.expected.name);
        ASSERT_TRUE(Deliver(client, id, frame.type, frame.payload, frame.expected.name,
                            frame.result, frame.compress))
            << client.Describe();
        expected.push_back(frame.expected);
    }
    ASSERT_EQ(client.calls.size(), expected.size()) << client.Describe();
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(client.calls[i].name, expected[i].name) << i;
        EXPECT_EQ(client.calls[i].text, expected[i].text) << expected[i].name;
        EXPECT_EQ(client.calls[i].values, expected[i].values) << expected[i].name;
    }
    EXPECT_TRUE(host->IsConnected(id));
}

TEST_F(WireCallbacks, TheServerValueIsKeptWithItsText) {
    ASSERT_TRUE(host->SendFrameTo(id, 0x23D, Payload().Word(300).Text("rate 3")));
    ASSERT_TRUE(PumpUntil([&] { return client.m_nServerValue == 300; }));
    EXPECT_STREQ(client.m_strServerText, "rate 3");
    // A value alone keeps the text.
    ASSERT_TRUE(host->SendFrameTo(id, 0x23D, Payload().Word(450)));
    ASSERT_TRUE(PumpUntil([&] { return client.m_nServerValue == 450; }));
    EXPECT_STREQ(client.m_strServerText, "rate 3");
    EXPECT_TRUE(client.calls.empty()) << client.Describe();
}

TEST_F(WireCallbacks, IgnoredAndUnknownFramesCallNothing) {
    for (DWORD type : {0x160u, 0x22Du, 0x8000021Au, 0x8000021Bu, 0x8000021Cu, 0x80000233u, 0x777u,
                       0x80000777u}) {
        ASSERT_TRUE(host->SendFrameTo(id, type, Payload().Text("alice").PadTo(28)));
    }
    // The frame behind them is the first thing the client sees.
    ASSERT_TRUE(Deliver(client, id, 0x229, Payload().Text("marker"), "OnBreak"));
    ASSERT_EQ(client.calls.size(), 1u) << client.Describe();
    EXPECT_EQ(client.calls[0].text, "marker");
    EXPECT_TRUE(host->IsConnected(id));
}

TEST_F(WireCallbacks, ANoticeHoldsReceivingUntilItIsAnswered) {
    int recordsDuringNotice = -1;
    client.onCall = [&](const Call& call) {
        if (call.name != "OnTipMessage(text)")
            return;
        // The box is modal: its loop serves the queue meanwhile.
        for (int turn = 0; turn < 20; ++turn)
            Settle();
        recordsDuringNotice = int(client.records.size());
    };
    ASSERT_TRUE(host->SendFrameTo(id, 0x234, Payload().Word(0).Word(0).Word(0).Text("wait")));
    for (uint32_t sequence = 0; sequence < 5; ++sequence) {
        const std::vector<BYTE> record = NumberedRecord(0x915, 40, sequence);
        ASSERT_TRUE(host->SendGameRecordTo(id, record.data(), int(record.size())));
    }
    ASSERT_TRUE(PumpUntil([&] { return client.records.size() == 5; }));
    EXPECT_EQ(recordsDuringNotice, 0);
    ASSERT_GE(client.calls.size(), 1u);
    EXPECT_EQ(client.calls[0].name, "OnTipMessage(text)");
    for (uint32_t sequence = 0; sequence < 5; ++sequence)
        EXPECT_EQ(SequenceOf(client.records[sequence]), sequence);
}

TEST_F(WireCallbacks, AnEmptyGameFrameGivesAnEmptyRecord) {
    ASSERT_TRUE(Deliver(client, id, 0x243, {}, "OnGameMsg"));
    EXPECT_EQ(client.calls.back().values, (std::vector<int64_t>{0, 0}));
    ASSERT_EQ(client.records.size(), 1u);
    EXPECT_TRUE(client.records[0].empty());
}

// A server notice may close the connection: the notice shows, and the
// client hears of the end as of any other it did not ask for.
TEST_F(WireCallbacks, AServerNoticeThatClosesTellsTheClient) {
    const std::vector<BYTE> notice = Payload()
                                         .Word(0)
                                         .Word(0x30)
                                         .Word(1)
                                         .Word(DWORD(-1))
                                         .Word(1) // close
                                         .Word(0)
                                         .Word(6)
                                         .Text("bye")
                                         .Text("")
                                         .Word(936);
    ASSERT_TRUE(Deliver(client, id, 0x225, notice, "OnClose"));
    ASSERT_EQ(client.calls.size(), 2u) << client.Describe();
    EXPECT_EQ(client.calls[0].name, "OnTipMessage(text)");
    EXPECT_EQ(client.calls[0].text, "bye");
    EXPECT_EQ(client.calls[1].values, std::vector<int64_t>{-1});
    ASSERT_TRUE(PumpUntil([&] { return !host->IsConnected(id); }));
}

// The frames that end the table: the library closes the connection and
// then calls the client, which can no longer send from inside the callback.
struct Closing {
    const char* name;
    DWORD type;
    DWORD result;
    const char* text;
    const char* callback;
    bool hasText;
};

std::ostream& operator<<(std::ostream& out, const Closing& closing) {
    return out << closing.name;
}

class WireClosingFrame : public WireCallbacks, public ::testing::WithParamInterface<Closing> {};

TEST_P(WireClosingFrame, ClosesTheConnectionBeforeItsCallback) {
    const Closing& closing = GetParam();
    int sentInside = -1;
    client.onCall = [&](const Call& call) {
        if (call.name != closing.callback)
            return;
        std::vector<BYTE> record = NumberedRecord(0x90D, 16, 1);
        sentInside = client.SendMsg(int(record.size()), record.data());
    };
    ASSERT_TRUE(host->SendFrameTo(id, closing.type, Payload().Text(closing.text), closing.result));
    // A record right behind it belongs to the ended table.
    const std::vector<BYTE> late = NumberedRecord(0x915, 40, 9);
    ASSERT_TRUE(host->SendGameRecordTo(id, late.data(), int(late.size())));
    ASSERT_TRUE(PumpUntil([&] { return client.Count(closing.callback) == 1; }))
        << client.Describe();
    if (closing.hasText) {
        EXPECT_EQ(client.Last(closing.callback)->text, closing.text);
    }
    EXPECT_EQ(sentInside, 0);
    ASSERT_TRUE(PumpUntil([&] { return !host->IsConnected(id); }));
    EXPECT_EQ(CountReceived(id, 0x243), 0);
    Settle();
    EXPECT_TRUE(client.records.empty()) << client.Describe();
}

INSTANTIATE_TEST_SUITE_P(
    Host, WireClosingFrame,
    ::testing::Values(Closing{"TableDissolved", 0x80000202, 0, "all gone", "OnLeaveGame(text)",
                              true},
                      Closing{"Escaped", 0xFFFFFFFF, 1, "escaped", "OnEscapeGame", true},
                      Closing{"KickedOut", 0xFFFFFFFF, 2, "alice", "OnKickOut", false},
                      Closing{"RoomBreak", 0xFFFFFFFF, 4, "room closed", "OnRoomBreak", true},
                      Closing{"NetTimeOut", 0xFFFFFFFF, 8, "too slow", "OnNetTimeOut", true},
                      Closing{"OtherLinkEvent", 0xFFFFFFFF, 3, "what", "OnError", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace wire_test
