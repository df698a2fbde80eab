// The table host's login on loopback, seen by a client of plain descriptors:
// the reply's bytes, nothing sent before it, refusals, a login never
// answered, malformed logins and frames, the P80 port's first frame.

#include "HostTestKit.h"

namespace tools_test {
namespace {

using platform_test::Settle;

class HostLogin : public HostTest {};

// The name of a seat's record in an accepted reply.
std::string SeatName(const WireFrame& reply, int seat) {
    return TextAt(reply.payload, 4 + 48 * seat + 24, 24);
}

TEST_F(HostLogin, AcceptedReplyHoldsSixSeatRecordsTheTableNumberAndAnEmptyBlock) {
    StartHost(DefaultOptions(2));
    WireClient alice;
    WireFrame reply;
    ASSERT_TRUE(alice.Login(host->Port(), "alice", 3, &reply));
    EXPECT_EQ(reply.type, 0x80000200u);
    EXPECT_EQ(reply.result, 1u);
    ASSERT_EQ(reply.length, 4u + 6 * 48 + 4);
    EXPECT_EQ(HalfAt(reply.payload, 0), 6);
    EXPECT_EQ(HalfAt(reply.payload, 2), 42);
    for (int seat = 0; seat < 6; ++seat) {
        // No code page: the client converts nothing.
        EXPECT_EQ(WordAt(reply.payload, 4 + 48 * seat), 0u) << seat;
        EXPECT_EQ(SeatName(reply, seat), seat == 3 ? "alice" : "") << seat;
    }
    EXPECT_EQ(WordAt(reply.payload, 4 + 6 * 48), 0u); // first block: L = 0
    alice.Send(0x208);

    // The second player makes the table: bots take the other seats, and a
    // watcher's reply shows them all.
    WireClient bob;
    ASSERT_TRUE(bob.Login(host->Port(), "bob", 1, &reply));
    EXPECT_EQ(SeatName(reply, 3), "alice");
    EXPECT_EQ(SeatName(reply, 1), "bob");
    bob.Send(0x208);
    WireClient carol;
    ASSERT_TRUE(carol.Login(host->Port(), "carol", 7, &reply));
    EXPECT_EQ(HalfAt(reply.payload, 0), 6); // seat 7 >= 6: the client watches
    const char* expected[6] = {"bot0", "bob", "bot2", "alice", "bot4", "bot5"};
    for (int seat = 0; seat < 6; ++seat)
        EXPECT_EQ(SeatName(reply, seat), expected[seat]) << seat;
}

TEST_F(HostLogin, NothingComesBeforeTheReplyAndTheServerValueRightAfterIt) {
    CTableHost::Options options = DefaultOptions(1);
    options.serverValue = 250;
    options.serverText = "rate";
    StartHost(options);
    WireClient alice;
    ASSERT_TRUE(alice.Connect(host->Port()));
    Settle();
    WireFrame frame;
    EXPECT_FALSE(alice.Poll(frame)) << "frame 0x" << std::hex << frame.type;
    alice.Send(0x200, LoginPayload("alice", 2));
    ASSERT_TRUE(alice.Next(frame));
    EXPECT_EQ(frame.type, 0x80000200u);
    ASSERT_TRUE(alice.Next(frame));
    EXPECT_EQ(frame.type, 0x23Du);
    EXPECT_EQ(WordAt(frame.payload, 0), 250u);
    EXPECT_EQ(TextAt(frame.payload, 4, 16), "rate");
    // The table waits for 0x208 before it sends a game record.
    Settle();
    EXPECT_FALSE(alice.Poll(frame)) << "frame 0x" << std::hex << frame.type;
    EXPECT_FALSE(host->Table().IsSeated());
    alice.Send(0x208);
    ASSERT_TRUE(alice.Next(frame));
    EXPECT_EQ(frame.RecordId(), 0x901);
}

TEST_F(HostLogin, RefusalsAnswerFourOrTwoAndLeaveTheClosingToTheClient) {
    StartHost(DefaultOptions(1));
    const struct {
        CTableHost::LoginAnswer answer;
        DWORD result;
    } cases[] = {{CTableHost::LoginAnswer::kRefuseIllegalName, 4},
                 {CTableHost::LoginAnswer::kRefuseNotNow, 2}};
    for (const auto& c : cases) {
        host->SetLoginAnswer(c.answer);
        WireClient client;
        WireFrame reply;
        EXPECT_FALSE(client.Login(host->Port(), "alice", 0, &reply));
        EXPECT_EQ(reply.type, 0x80000200u);
        EXPECT_EQ(reply.result, c.result);
        EXPECT_EQ(reply.length, 0u);
        // Refused: what it sends now is not served, and the host does not close.
        client.Send(0x208);
        Settle();
        EXPECT_FALSE(client.Poll(reply));
        EXPECT_FALSE(client.Ended());
        EXPECT_FALSE(host->Table().IsSeated());
    }
}

TEST_F(HostLogin, LoginLeftUnansweredGetsNothingAndTheHostServesOthers) {
    StartHost(DefaultOptions(1));
    host->SetLoginAnswer(CTableHost::LoginAnswer::kNever);
    WireClient waiting;
    ASSERT_TRUE(waiting.Connect(host->Port()));
    waiting.Send(0x200, LoginPayload("alice", 0));
    waiting.Send(0x208);
    platform_test::PumpUntil([&] { return Logged("unanswered"); });
    EXPECT_TRUE(Logged("unanswered"));
    WireFrame frame;
    EXPECT_FALSE(waiting.Poll(frame));
    host->SetLoginAnswer(CTableHost::LoginAnswer::kAccept);
    WireClient bob;
    EXPECT_TRUE(bob.Login(host->Port(), "bob", 1));
    EXPECT_FALSE(waiting.Poll(frame));
}

TEST_F(HostLogin, MalformedLoginsAreRefusedAndTheHostServesOn) {
    StartHost(DefaultOptions(1));
    const std::string good = LoginPayload("alice", 0);
    std::string unterminatedName = good;
    unterminatedName.replace(0, 20, std::string(20, 'n'));
    std::string unterminatedRoom = good;
    unterminatedRoom.replace(20, 40, std::string(40, 'r'));
    const struct {
        std::string payload;
        DWORD result;
    } cases[] = {
        {good.substr(0, 107), 2}, {good + '\0', 2},
        {std::string(), 2},       {LoginPayload("alice", 0, "room 1", "login text", 2), 2},
        {unterminatedName, 4},    {LoginPayload("", 0), 4},
        {unterminatedRoom, 2},
    };
    for (const auto& c : cases) {
        WireClient client;
        ASSERT_TRUE(client.Connect(host->Port()));
        client.Send(0x200, c.payload);
        WireFrame reply;
        ASSERT_TRUE(client.Next(reply)) << c.payload.size();
        EXPECT_EQ(reply.type, 0x80000200u);
        EXPECT_EQ(reply.result, c.result) << c.payload.size();
    }
    WireClient alice;
    EXPECT_TRUE(alice.Login(host->Port(), "alice", 0));
}

TEST_F(HostLogin, SeatAlreadyClaimedOrNameInUseIsRefused) {
    StartHost(DefaultOptions(3));
    WireClient alice, bob, shouting, watcher;
    ASSERT_TRUE(alice.Login(host->Port(), "alice", 2));
    WireFrame reply;
    EXPECT_FALSE(bob.Login(host->Port(), "bob", 2, &reply));
    EXPECT_EQ(reply.result, 2u);
    EXPECT_FALSE(shouting.Login(host->Port(), "ALICE", 4, &reply));
    EXPECT_EQ(reply.result, 2u);
    EXPECT_TRUE(watcher.Login(host->Port(), "wendy", 8));
}

TEST_F(HostLogin, P80ClientsAskForTheGamePortFirst) {
    CTableHost::Options options = DefaultOptions(1);
    options.listenP80 = true;
    StartHost(options);
    ASSERT_NE(host->P80Port(), 0u);
    ASSERT_NE(host->P80Port(), host->Port());

    WireClient viaP80;
    ASSERT_TRUE(viaP80.Connect(host->P80Port()));
    viaP80.Send(0x663, Word(host->Port()) + Word(0));
    viaP80.Send(0x200, LoginPayload("alice", 0));
    WireFrame reply;
    ASSERT_TRUE(viaP80.Next(reply));
    EXPECT_EQ(reply.result, 1u);

    WireClient noPortFrame;
    ASSERT_TRUE(noPortFrame.Connect(host->P80Port()));
    noPortFrame.Send(0x200, LoginPayload("bob", 1));
    EXPECT_TRUE(noPortFrame.WaitForEnd());

    WireClient wrongPort;
    ASSERT_TRUE(wrongPort.Connect(host->P80Port()));
    wrongPort.Send(0x663, Word(host->Port() + 1) + Word(0));
    EXPECT_TRUE(wrongPort.WaitForEnd());

    // Through a relay the first frame may come on the game port too.
    WireClient relayed;
    ASSERT_TRUE(relayed.Connect(host->Port()));
    relayed.Send(0x663, Word(host->Port()) + Word(0));
    relayed.Send(0x200, LoginPayload("carol", 2));
    ASSERT_TRUE(relayed.Next(reply));
    EXPECT_EQ(reply.result, 1u);
}

TEST_F(HostLogin, OversizedAndForeignFramesDoNotHurtTheHost) {
    StartHost(DefaultOptions(1));
    WireClient huge;
    ASSERT_TRUE(huge.Connect(host->Port()));
    huge.Write(Word(0x243) + Word(70000));
    EXPECT_TRUE(huge.WaitForEnd());

    WireClient hostile;
    ASSERT_TRUE(hostile.Connect(host->Port()));
    hostile.Write(Word(0x200) + Word(0x7FFFFFFF));
    EXPECT_TRUE(hostile.WaitForEnd());

    // A reply-typed or compressed frame is nobody's to send: ignored.
    WireClient odd;
    ASSERT_TRUE(odd.Connect(host->Port()));
    odd.Write(FrameBytes(0x80000230, "answer", 0));
    odd.Write(FrameBytes(0x40000200, LoginPayload("odd", 0)));
    odd.Send(0x243, Word(0x903) + Word(12) + Word(0) + Word(1) + Word(0));
    odd.Send(0x200, LoginPayload("odd", 0));
    WireFrame reply;
    ASSERT_TRUE(odd.Next(reply));
    EXPECT_EQ(reply.type, 0x80000200u);
    EXPECT_EQ(reply.result, 1u);
}

} // namespace
} // namespace tools_test
