// Holding and releasing the receiving side over the wire: while receiving is
// off the frames wait in the socket (and in the host's queue once the socket
// is full), and when it is on again every record comes, whole and in order,
// compressed or not. The program holds receiving from inside its record
// callback while an animation runs; that loses nothing either.

#include "WireFixture.h"

namespace wire_test {
namespace {

using platform_test::PumpUntil;
using platform_test::Settle;

constexpr uint32_t kRecordCount = 2000;

class WireReceive : public WireAloneTest {
protected:
    // Numbered records of varied lengths, every third compressed.
    void SendNumbered(uint32_t count) {
        for (uint32_t sequence = 0; sequence < count; ++sequence) {
            const std::vector<BYTE> record = Numbered(sequence);
            ASSERT_TRUE(
                host->SendGameRecordTo(id, record.data(), int(record.size()), sequence % 3 == 0))
                << sequence;
        }
    }
    static std::vector<BYTE> Numbered(uint32_t sequence) {
        return NumberedRecord(0x915, 16 + (sequence * 37) % 180, sequence);
    }
    void ExpectAllInOrder(uint32_t count) {
        ASSERT_EQ(client.records.size(), count);
        for (uint32_t sequence = 0; sequence < count; ++sequence)
            ASSERT_EQ(client.records[sequence], Numbered(sequence)) << sequence;
    }
};

TEST_F(WireReceive, FramesWaitWhileReceivingIsOffAndAllComeInOrderAfterwards) {
    client.DisableReceive();
    SendNumbered(kRecordCount);
    for (int turn = 0; turn < 50; ++turn)
        Settle();
    EXPECT_TRUE(client.records.empty());
    // The host has written what the socket takes; the rest waits in its queue.
    client.EnableReceive();
    ASSERT_TRUE(PumpWhileFlowing([&] { return client.records.size() >= kRecordCount; },
                                 [&] { return client.records.size(); }))
        << client.records.size();
    ExpectAllInOrder(kRecordCount);
    EXPECT_EQ(host->QueuedBytes(id), 0u);
    EXPECT_EQ(client.Count("OnClose"), 0);
}

TEST_F(WireReceive, HoldingFromInsideTheCallbackLosesNothing) {
    bool held = false;
    client.onRecord = [&](const std::vector<BYTE>& record) {
        if (SequenceOf(record) % 100 == 99) {
            client.DisableReceive();
            held = true;
        }
    };
    SendNumbered(kRecordCount);
    int holds = 0;
    while (client.records.size() < kRecordCount) {
        ASSERT_TRUE(PumpWhileFlowing([&] { return held || client.records.size() >= kRecordCount; },
                                     [&] { return client.records.size(); }))
            << client.records.size();
        if (!held)
            break;
        const size_t during = client.records.size();
        for (int turn = 0; turn < 5; ++turn)
            Settle();
        ASSERT_EQ(client.records.size(), during) << "a record came while held";
        ++holds;
        held = false;
        client.EnableReceive();
    }
    EXPECT_EQ(holds, int(kRecordCount / 100));
    ExpectAllInOrder(kRecordCount);
}

TEST_F(WireReceive, LargeRecordsArriveWholeCompressedOrNot) {
    const std::vector<size_t> sizes = {25632, 40000, 65528};
    uint32_t sequence = 0;
    for (bool compress : {false, true}) {
        for (size_t size : sizes) {
            const std::vector<BYTE> record = NumberedRecord(0x902, size, sequence++);
            ASSERT_TRUE(host->SendGameRecordTo(id, record.data(), int(record.size()), compress))
                << size;
        }
    }
    ASSERT_TRUE(PumpUntil([&] { return client.records.size() == 2 * sizes.size(); }));
    for (uint32_t i = 0; i < 2 * sizes.size(); ++i)
        EXPECT_EQ(client.records[i], NumberedRecord(0x902, sizes[i % sizes.size()], i)) << i;
    EXPECT_EQ(client.Count("OnClose"), 0);
}

} // namespace
} // namespace wire_test
