// The network client against the local table host on loopback: its records
// reach the host byte for byte, the host's records reach the table window,
// receiving holds after an animated record until the window releases it, a
// short record is refused, and a server close or a link event ends in the
// close notice's timer.

#include "ClientFixture.h"
#include "WireFixture.h"
#include "game/StateRecords.h"
#include "platform/display/Display.h"

namespace table_test {
namespace {

using platform_test::PumpUntil;

class ClientWire : public wire_test::WireTest {
protected:
    void SetUp() override {
        WireTest::SetUp();
        platform::StartDisplay(platform::DisplayKind::Headless);
        ASSERT_TRUE(standIns.Attach(client));
        StartHost(HostOptions(2));
        ASSERT_TRUE(Enter(client));
        id = IdOf("alice");
        ASSERT_GE(id, 0);
    }
    void TearDown() override {
        standIns.Detach(client);
        WireTest::TearDown();
        platform::StopDisplay();
    }
    std::string HostGot(DWORD type = 0x243) const { return LastReceived(id, type); }
    template <class T> bool Send(const T& record) {
        return host->SendGameRecordTo(id, &record, int(sizeof record));
    }
    bool TableGets(size_t count) {
        return PumpUntil([&] { return table.records.size() >= count; });
    }
    StandIns standIns;
    StandInTableWnd& table = standIns.table;
    StandInShell& shell = standIns.shell;
    CGameNetClient client{theBoard};
    int id = -1;
};

TEST_F(ClientWire, SendersReachTheHostByteForByte) {
    ASSERT_EQ(client.m_nMySeat, 2);
    client.SendGousiji(1);
    ASSERT_TRUE(HostGets(id, 0x243, 1));
    const std::string gousiji = HostGot();
    ASSERT_EQ(gousiji.size(), 24u);
    const int32_t expected[6] = {0x90A, 16, 1, 2, 0, 0};
    EXPECT_EQ(memcmp(gousiji.data(), expected, sizeof expected), 0);

    client.SendTimeTick();
    ASSERT_TRUE(HostGets(id, 0x243, 2));
    EXPECT_EQ(HostGot(), std::string("\x1B\x09\0\0\x04\0\0\0\0\0\0\0", 12));
}

TEST_F(ClientWire, RecordsReachTheTableWindowWhole) {
    tagGUESSMSG guess;
    InitGameRecord(guess);
    guess.nSeat = 3;
    guess.nOption = 2;
    guess.nAmount = 40;
    ASSERT_TRUE(Send(guess));
    ASSERT_TRUE(TableGets(1));
    ASSERT_EQ(table.records[0].size(), sizeof guess);
    EXPECT_EQ(memcmp(table.records[0].data(), &guess, sizeof guess), 0);
}

TEST_F(ClientWire, AnAnimatedRecordHoldsReceivingUntilTheWindowReleasesIt) {
    tagDEALMSG deal;
    InitDealMsg(deal);
    deal.nSeat = 2;
    tagGUESSMSG guess;
    InitGameRecord(guess);
    guess.nSeat = 1;
    ASSERT_TRUE(Send(deal));
    ASSERT_TRUE(Send(guess));
    ASSERT_TRUE(TableGets(1));
    platform_test::Settle();
    EXPECT_EQ(table.records.size(), 1u);
    EXPECT_TRUE(client.ReceiveGate().IsHeld());
    // The presentation ended.
    client.ReceiveGate().Release(CReceiveGate::kRecord);
    ASSERT_TRUE(TableGets(2));
    EXPECT_EQ(WordAt(table.records[1], 0), 0x91A);
}

TEST_F(ClientWire, AShortRecordIsRefusedAndTheNextComes) {
    std::vector<BYTE> shortDeal = wire_test::NumberedRecord(0x904, 100, 1);
    ASSERT_TRUE(host->SendGameRecordTo(id, shortDeal.data(), int(shortDeal.size())));
    tagGUESSMSG guess;
    InitGameRecord(guess);
    ASSERT_TRUE(Send(guess));
    ASSERT_TRUE(TableGets(1));
    EXPECT_EQ(WordAt(table.records[0], 0), 0x91A);
    EXPECT_NE(standIns.LogText().find("Refused game record 904 of 100 bytes: too short"),
              std::string::npos);
}

TEST_F(ClientWire, ATableClosedAfterTheGameEndNoticeSaysWhyAndIsLeft) {
    tagGAMEENDMSG end;
    InitGameEndMsg(end);
    ASSERT_TRUE(Send(end));
    ASSERT_TRUE(TableGets(1));
    ASSERT_TRUE(host->SendFrameTo(id, 0x80000202, {'x', 0}));
    ASSERT_TRUE(PumpUntil([&] { return shell.Count(WM_LEAVE_TABLE) == 1; }));
    ASSERT_FALSE(shell.boxes.empty());
    EXPECT_EQ(shell.boxes.back(), "有人托管游戏，游戏结束！");
}

TEST_F(ClientWire, TheServerClosingLeadsToTheCloseNotice) {
    ASSERT_TRUE(host->Drop(id));
    ASSERT_TRUE(PumpUntil([&] { return client.m_bClosed != 0; }));
    clock.Advance(kCloseNoticeDelayMs);
    ASSERT_TRUE(PumpUntil([&] { return shell.Count(WM_TIMER, kCloseNoticeTimer) > 0; }));
}

TEST_F(ClientWire, ALinkEventLeadsToTheCloseNotice) {
    for (DWORD event : {1u, 4u, 8u, 0x77u}) {
        SCOPED_TRACE(event);
        if (client.m_bClosed) {
            // Enter again for the next event.
            TearDown();
            SetUp();
        }
        ASSERT_TRUE(host->SendLinkEvent(id, event, "bye"));
        ASSERT_TRUE(PumpUntil([&] { return client.m_bClosed != 0; }));
        clock.Advance(kCloseNoticeDelayMs);
        ASSERT_TRUE(PumpUntil([&] { return shell.Count(WM_TIMER, kCloseNoticeTimer) > 0; }));
        EXPECT_TRUE(shell.boxes.empty());
    }
}

} // namespace
} // namespace table_test
