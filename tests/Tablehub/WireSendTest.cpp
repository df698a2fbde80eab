// What the client sends reaches the host as it was sent: records of every
// size up to the largest a frame holds (a larger one is refused with its
// notice and never leaves), the keep-alive exactly when thirty seconds have
// passed without a record under a stepped clock, and a stand-up request
// whose name is cut to its field.

#include "WireFixture.h"

namespace wire_test {
namespace {

class WireSend : public WireAloneTest {
protected:
    // The payload of the index-th game record the client sent, as the host
    // received it.
    std::string Received243(size_t index) const {
        size_t seen = 0;
        for (const HostFrame& frame : received) {
            if (frame.client == id && frame.type == 0x243 && seen++ == index)
                return frame.payload;
        }
        return "";
    }
};

std::string Text(const std::vector<BYTE>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(WireSend, RecordsReachTheHostByteForByteAndTooLargeOnesAreRefused) {
    const std::vector<size_t> sizes = {8, 12, 1015, 1016, 25632, 65528};
    for (size_t i = 0; i < sizes.size(); ++i) {
        std::vector<BYTE> record = NumberedRecord(0x90D, sizes[i], uint32_t(i));
        record.resize(sizes[i]); // the smallest is the head alone
        EXPECT_EQ(client.SendMsg(int(record.size()), record.data()), 1) << sizes[i];
    }
    std::vector<BYTE> tooLarge = NumberedRecord(0x90D, 65529, 99);
    EXPECT_EQ(client.SendMsg(int(tooLarge.size()), tooLarge.data()), 0);
    ASSERT_EQ(client.Count("OnTipMessage(id)"), 1) << client.Describe();
    EXPECT_EQ(client.Last("OnTipMessage(id)")->values[0], 29674);
    client.Standup(const_cast<char*>("marker"));
    ASSERT_TRUE(HostGets(id, 0x111));
    ASSERT_EQ(CountReceived(id, 0x243), int(sizes.size()));
    for (size_t i = 0; i < sizes.size(); ++i) {
        std::vector<BYTE> record = NumberedRecord(0x90D, sizes[i], uint32_t(i));
        record.resize(sizes[i]);
        EXPECT_EQ(Received243(i), Text(record)) << sizes[i];
    }
    EXPECT_TRUE(host->IsConnected(id));
}

TEST_F(WireSend, KeepAliveGoesOnlyAfterThirtySecondsWithoutARecord) {
    int markers = 0;
    // What the host has of the keep-alive once everything sent before a
    // marker frame is in.
    auto keepAlives = [&] {
        client.Standup(const_cast<char*>("marker"));
        EXPECT_TRUE(HostGets(id, 0x111, ++markers));
        return CountReceived(id, 0x201);
    };
    clock.Advance(30000);
    client.SendIdle();
    EXPECT_EQ(keepAlives(), 0);
    clock.Advance(1);
    client.SendIdle();
    EXPECT_EQ(keepAlives(), 1);
    // Sending it does not restamp the clock.
    client.SendIdle();
    EXPECT_EQ(keepAlives(), 2);
    std::vector<BYTE> record = NumberedRecord(0x90D, 16, 1);
    ASSERT_EQ(client.SendMsg(int(record.size()), record.data()), 1);
    client.SendIdle();
    clock.Advance(30000);
    client.SendIdle();
    EXPECT_EQ(keepAlives(), 2);
    clock.Advance(1);
    client.SendIdle();
    EXPECT_EQ(keepAlives(), 3);
    EXPECT_EQ(LastReceived(id, 0x201), "");
    EXPECT_TRUE(host->IsConnected(id));
}

TEST_F(WireSend, StandupCutsALongNameToItsField) {
    std::string name(30, 'n');
    client.Standup(name.data());
    ASSERT_TRUE(HostGets(id, 0x111));
    const std::string payload = LastReceived(id, 0x111);
    ASSERT_EQ(payload.size(), 24u);
    EXPECT_EQ(payload.substr(0, 19), std::string(19, 'n'));
    EXPECT_EQ(payload[19], '\0');
    EXPECT_EQ(payload.substr(20), tools_test::Word(8));
}

} // namespace
} // namespace wire_test
