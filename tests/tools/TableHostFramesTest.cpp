// The table host's framework frames and test controls on loopback: no reply
// to keep-alive, seat change, the coin frames, scripted and compressed
// frames, the hook on every frame received, dropped connections, and a
// client that does not read, which must hold up no one else.

#include "HostTestKit.h"

#include "game/GameLogic.h"

#include <map>
#include <random>

namespace tools_test {
namespace {

using platform_test::PumpUntil;
using platform_test::Settle;

class HostFrames : public HostTest {
protected:
    // A player at a table that waits for more players: no game records flow.
    void EnterQuietly(WireClient& client, const std::string& name, uint16_t seat) {
        if (!host)
            StartHost(DefaultOptions(3));
        Enter(client, name, seat);
    }
};

std::string SeatChange(int seat, int watch) {
    return Word(0) + Word(DWORD(seat)) + Word(DWORD(watch));
}

TEST_F(HostFrames, KeepAliveIsNeverAnswered) {
    WireClient alice;
    EnterQuietly(alice, "alice", 0);
    for (int i = 0; i < 3; ++i)
        alice.Send(0x201);
    alice.Send(0x1AB, SeatChange(4, 0));
    WireFrame frame;
    ASSERT_TRUE(alice.Next(frame));
    // The seat change's reply is the first frame: nothing came for 0x201.
    EXPECT_EQ(frame.type, 0x800001ABu);
}

TEST_F(HostFrames, SeatChangeMovesToAFreeSeatUntilTheTableStarts) {
    StartHost(DefaultOptions(2));
    WireClient alice;
    Enter(alice, "alice", 0);
    // A short request is ignored; the next one is answered.
    alice.Send(0x1AB, Word(0) + Word(4));
    alice.Send(0x1AB, SeatChange(4, 0));
    WireFrame reply;
    ASSERT_TRUE(alice.Next(reply));
    EXPECT_EQ(reply.type, 0x800001ABu);
    EXPECT_EQ(reply.result, 1u);
    EXPECT_EQ(uint8_t(reply.payload[0]), 4);
    EXPECT_EQ(WordAt(reply.payload, 4), 0u);
    EXPECT_EQ(TextAt(reply.payload, 8, 40), "room 1");
    EXPECT_EQ(host->Table().SeatOf(IdOf("alice")), 4);

    WireClient bob;
    Enter(bob, "bob", 1);
    ASSERT_TRUE(PumpUntil([&] { return host->Table().IsSeated(); }));
    alice.Send(0x1AB, SeatChange(5, 0));
    ASSERT_TRUE(alice.NextOfType(0x800001AB, reply));
    EXPECT_EQ(reply.result, 0u);
    EXPECT_EQ(uint8_t(reply.payload[0]), 4); // still its own seat
    EXPECT_EQ(host->Table().SeatOf(IdOf("alice")), 4);
}

TEST_F(HostFrames, WatcherChangesTheSeatItWatchesAndGetsItsSnapshot) {
    StartHost(DefaultOptions(1));
    WireClient alice, wendy;
    Enter(alice, "alice", 2);
    Enter(wendy, "wendy", 7);
    WireFrame frame;
    ASSERT_TRUE(wendy.NextOfType(0x243, frame));
    EXPECT_EQ(frame.RecordId(), 0x902); // the snapshot comes first, to it alone
    EXPECT_TRUE(frame.compressed);
    EXPECT_EQ(frame.payload.size(), sizeof(tagSNAPSHOTMSG));
    EXPECT_EQ(host->Table().WatchedBy(IdOf("wendy")), 1);
    wendy.Send(0x1AB, SeatChange(3, 1));
    ASSERT_TRUE(wendy.NextOfType(0x800001AB, frame));
    EXPECT_EQ(frame.result, 1u);
    EXPECT_EQ(uint8_t(frame.payload[0]), 3);
    EXPECT_EQ(WordAt(frame.payload, 4), 1u);
    EXPECT_EQ(host->Table().WatchedBy(IdOf("wendy")), 3);
    ASSERT_TRUE(wendy.NextOfType(0x243, frame));
    EXPECT_EQ(frame.RecordId(), 0x902);
}

TEST_F(HostFrames, ChargeAddsBeansThreeTimesThenFails) {
    WireClient alice;
    EnterQuietly(alice, "alice", 0);
    WireFrame reply;
    for (int k = 1; k <= 3; ++k) {
        alice.Send(0x242);
        ASSERT_TRUE(alice.Next(reply));
        EXPECT_EQ(reply.type, 0x80000242u);
        EXPECT_EQ(reply.result, 0u) << k;
        ASSERT_GE(reply.length, 44u);
        EXPECT_EQ(TextAt(reply.payload, 0, 20), "alice");
        EXPECT_EQ(int(WordAt(reply.payload, 32)), 100000 + 1000 * k);
        EXPECT_EQ(int(WordAt(reply.payload, 36)), 1000);
        EXPECT_EQ(HalfAt(reply.payload, 40), k);
    }
    alice.Send(0x242);
    ASSERT_TRUE(alice.Next(reply));
    EXPECT_NE(reply.result, 0u);
    EXPECT_EQ(HalfAt(reply.payload, 42), 0);
    EXPECT_EQ(int(WordAt(reply.payload, 24)), 103000);
}

TEST_F(HostFrames, CoinsOfASeatedPlayerReachTheRefereeAndTheTable) {
    StartHost(DefaultOptions(1));
    WireClient alice;
    Enter(alice, "alice", 2);
    alice.Send(0x242);
    WireFrame frame;
    ASSERT_TRUE(alice.NextOfType(0x80000242, frame));
    EXPECT_EQ(int(WordAt(frame.payload, 32)), 101000);
    // The referee tells the table of the new beans.
    ASSERT_TRUE(alice.NextOfType(0x243, frame));
    while (frame.RecordId() != 0x914)
        ASSERT_TRUE(alice.NextOfType(0x243, frame));
    tagUSERRECORDMSG record;
    ASSERT_TRUE(ReadGameRecord(frame.payload.data(), int(frame.payload.size()), record));
    EXPECT_EQ(record.nSeat, 2);
    EXPECT_EQ(record.user.nBeans, 101000);
    EXPECT_EQ(host->Table().Driver().Referee().GetUserInfo(2).nBeans, 101000);
}

TEST_F(HostFrames, ExchangeTradesWealthForBeansWithinTheWealth) {
    WireClient alice;
    EnterQuietly(alice, "alice", 0);
    alice.Send(0x23C, Half(2)); // short: ignored
    alice.Send(0x23C, Word(0x80000000u | 500));
    WireFrame reply;
    ASSERT_TRUE(alice.Next(reply));
    EXPECT_EQ(reply.type, 0x8000023Cu);
    EXPECT_EQ(reply.result, 1u);
    EXPECT_EQ(TextAt(reply.payload, 0, 20), "alice");
    EXPECT_EQ(int(WordAt(reply.payload, 20)), 100500);
    EXPECT_EQ(int(WordAt(reply.payload, 24)), 9500);
    for (DWORD amount : {DWORD(9501), DWORD(0), DWORD(0x7FFFFFFF)}) {
        alice.Send(0x23C, Word(amount));
        ASSERT_TRUE(alice.Next(reply));
        EXPECT_NE(reply.result, 1u) << amount;
        EXPECT_EQ(int(WordAt(reply.payload, 20)), 100500) << amount;
        EXPECT_EQ(int(WordAt(reply.payload, 24)), 9500) << amount;
    }
}

TEST_F(HostFrames, ScriptedFramesArriveByteForByteInOrder) {
    WireClient alice;
    EnterQuietly(alice, "alice", 0);
    const int id = IdOf("alice");
    const std::string notice = Word(0) + Word(0x40) + Word(0) + std::string("notice\0", 7);
    const std::string record = Word(0x91D) + Word(4) + Word(1);
    const struct {
        DWORD type;
        std::string payload;
        DWORD result;
    } script[] = {
        {0x234, notice, 0},
        {0x229, std::string("bob\0", 4), 0},
        {0x22A, std::string("bob\0", 4), 0},
        {0x250, Half(3), 0},
        {0x80000219, "", 0},
        {0x243, record, 0},
        {0x80000202, std::string("gone\0", 5), 0},
    };
    for (const auto& frame : script) {
        ASSERT_TRUE(host->SendFrameTo(id, frame.type,
                                      std::vector<BYTE>(frame.payload.begin(), frame.payload.end()),
                                      frame.result));
    }
    ASSERT_TRUE(host->SendLinkEvent(id, 8, "time out"));
    for (const auto& expected : script) {
        WireFrame frame;
        ASSERT_TRUE(alice.Next(frame));
        EXPECT_EQ(frame.type, expected.type);
        EXPECT_FALSE(frame.compressed);
        EXPECT_EQ(frame.payload, expected.payload) << std::hex << expected.type;
    }
    WireFrame link;
    ASSERT_TRUE(alice.Next(link));
    EXPECT_EQ(link.type, 0xFFFFFFFFu);
    EXPECT_EQ(link.result, 8u);
    EXPECT_EQ(link.payload, std::string("time out\0", 9));
    EXPECT_FALSE(host->SendFrameTo(9999, 0x234, {}));
}

TEST_F(HostFrames, CompressedFramesInflateToTheSameBytes) {
    WireClient alice;
    EnterQuietly(alice, "alice", 0);
    const int id = IdOf("alice");
    std::vector<uint8_t> snapshot(sizeof(tagSNAPSHOTMSG));
    for (size_t i = 0; i < snapshot.size(); ++i)
        snapshot[i] = uint8_t((i / 97) * 31 + i % 5);
    const int32_t head[2] = {0x902, int32_t(snapshot.size() - 8)};
    memcpy(snapshot.data(), head, sizeof head);
    ASSERT_TRUE(host->SendGameRecordTo(id, snapshot.data(), int(snapshot.size()), true));
    WireFrame frame;
    ASSERT_TRUE(alice.Next(frame));
    EXPECT_EQ(frame.type, 0x243u);
    EXPECT_TRUE(frame.compressed);
    EXPECT_LT(frame.length, snapshot.size());
    EXPECT_EQ(frame.Record(), snapshot);
    // Never compressed: the link event. Never sent: a frame over 65,536 bytes.
    EXPECT_FALSE(host->SendFrameTo(id, 0xFFFFFFFF, {1, 0}, 2, true));
    EXPECT_FALSE(host->SendFrameTo(id, 0x234, std::vector<BYTE>(65536 - 8 + 1)));
    EXPECT_TRUE(host->SendFrameTo(id, 0x234, std::vector<BYTE>(65536 - 8)));
    ASSERT_TRUE(alice.Next(frame));
    EXPECT_EQ(frame.length, 65528u);
}

TEST_F(HostFrames, HookSeesEveryFrameReceivedBeforeTheHostActs) {
    StartHost(DefaultOptions(3));
    std::vector<std::pair<DWORD, std::string>> seen;
    host->onFrame = [&](int, const tagMSGHEADER& header, const BYTE* payload) {
        seen.emplace_back(header.type, std::string(payload, payload + header.length));
    };
    WireClient alice;
    ASSERT_TRUE(alice.Connect(host->Port()));
    const std::vector<std::pair<DWORD, std::string>> sent = {
        {0x200, LoginPayload("alice", 0)},
        {0x208, ""},
        {0x201, ""},
        {0x243, Word(0x91B) + Word(4) + Word(0)},
        {0x1AB, SeatChange(1, 0)},
        {0x777, "unknown"},
        {0x242, ""},
    };
    for (const auto& [type, payload] : sent)
        alice.Send(type, payload);
    ASSERT_TRUE(PumpUntil([&] { return seen.size() == sent.size(); }));
    EXPECT_EQ(seen, sent);
    EXPECT_TRUE(Logged("0x777"));
}

TEST_F(HostFrames, DropEndsTheConnectionPlainlyOrWithAReset) {
    WireClient alice, bob;
    EnterQuietly(alice, "alice", 0);
    Enter(bob, "bob", 1);
    ASSERT_TRUE(host->Drop(IdOf("alice")));
    EXPECT_TRUE(alice.WaitForEnd());
    EXPECT_FALSE(alice.WasReset());
    ASSERT_TRUE(host->Drop(IdOf("bob"), true));
    EXPECT_TRUE(bob.WaitForEnd());
    EXPECT_TRUE(bob.WasReset());
    EXPECT_FALSE(host->Drop(12345));
}

TEST_F(HostFrames, SlowClientDoesNotStallAnother) {
    // A receive buffer this small fills after a few frames.
    WireClient slow(4096), quick;
    EnterQuietly(slow, "slow", 0);
    Enter(quick, "quick", 1);
    const int slowId = IdOf("slow");
    const int quickId = IdOf("quick");
    const int frames = 200;
    auto payloadOf = [](int k) {
        std::vector<BYTE> payload(30000, BYTE(k));
        memcpy(payload.data(), &k, sizeof k);
        return payload;
    };
    for (int k = 0; k < frames; ++k)
        ASSERT_TRUE(host->SendFrameTo(slowId, 0x234, payloadOf(k)));
    EXPECT_GT(host->QueuedBytes(slowId), 0u);
    ASSERT_TRUE(host->SendFrameTo(quickId, 0x229, {'o', 'k', 0}));
    WireFrame frame;
    ASSERT_TRUE(quick.Next(frame));
    EXPECT_EQ(frame.type, 0x229u);
    EXPECT_GT(host->QueuedBytes(slowId), 0u); // the slow one still waits
    for (int k = 0; k < frames; ++k) {
        ASSERT_TRUE(slow.Next(frame)) << k;
        EXPECT_EQ(frame.type, 0x234u);
        const std::vector<BYTE> expected = payloadOf(k);
        ASSERT_EQ(frame.payload, std::string(expected.begin(), expected.end())) << k;
    }
    EXPECT_EQ(host->QueuedBytes(slowId), 0u);
}

TEST_F(HostFrames, ClientThatNeverReadsIsDroppedAtItsQueueCap) {
    CTableHost::Options options = DefaultOptions(3);
    options.maxQueuedBytes = 256 * 1024;
    StartHost(options);
    WireClient stuck(4096), other;
    Enter(stuck, "stuck", 0);
    Enter(other, "other", 1);
    const int stuckId = IdOf("stuck");
    const int otherId = IdOf("other");
    int sent = 0;
    while (sent < 500 && host->SendFrameTo(stuckId, 0x234, std::vector<BYTE>(30000)))
        ++sent;
    EXPECT_LT(sent, 500);
    EXPECT_FALSE(host->IsConnected(stuckId));
    EXPECT_TRUE(Logged("not reading"));
    EXPECT_TRUE(host->IsConnected(otherId));
    EXPECT_TRUE(stuck.WaitForEnd());
}

TEST_F(HostFrames, RandomFramesInEveryStateDoNoHarm) {
    StartHost(DefaultOptions(1));
    std::mt19937 random(20240601);
    const DWORD types[] = {0x111, 0x1AB, 0x200, 0x201, 0x208, 0x21A,
                           0x23C, 0x242, 0x243, 0x663, 0x999};
    auto garbage = [&](size_t length) {
        std::string bytes(length, '\0');
        for (char& c : bytes)
            c = char(random());
        return bytes;
    };
    // Before the login, as a watcher, and as the player whose entry starts
    // the table, so that records reach the referee.
    for (int round = 0; round < 3; ++round) {
        WireClient client;
        ASSERT_TRUE(client.Connect(host->Port()));
        if (round >= 1)
            client.Send(0x200, LoginPayload("fuzz" + std::to_string(round), round == 1 ? 7 : 0));
        if (round == 2)
            client.Send(0x208);
        for (int k = 0; k < 300; ++k) {
            const DWORD type = types[random() % std::size(types)];
            std::string payload = garbage(random() % 120);
            // Game records with a plausible head reach the referee's checks.
            if (type == 0x243 && payload.size() >= 8 && random() % 2)
                payload.replace(0, 4, Word(0x901 + random() % 0x1E));
            client.Send(type, payload);
        }
        Settle();
    }
    WireClient wendy;
    Enter(wendy, "wendy", 8);
    WireFrame frame;
    ASSERT_TRUE(wendy.NextOfType(0x243, frame));
    EXPECT_EQ(frame.RecordId(), 0x902);
}

} // namespace
} // namespace tools_test
