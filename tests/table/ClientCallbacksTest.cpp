// The client's callbacks: records handed to the table window, receive held
// for the animated records, refusals of bad records, boxes, and every road
// that leaves the table.

#include "ClientFixture.h"
#include "game/PlayRecords.h"
#include "game/StateRecords.h"

namespace table_test {
namespace {

using platform_test::PumpPending;

template <class T> std::vector<BYTE> Bytes(const T& record) {
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&record);
    return std::vector<BYTE>(bytes, bytes + sizeof record);
}

std::vector<BYTE> Head(int id, int bodyLength, size_t size) {
    std::vector<BYTE> record(size, 0);
    memcpy(record.data(), &id, 4);
    memcpy(record.data() + 4, &bodyLength, 4);
    return record;
}

class ClientRecords : public ClientTest {};

TEST_F(ClientRecords, ARecordReachesTheTableWindowWithItsLength) {
    tagGUESSMSG guess;
    InitGameRecord(guess);
    guess.nSeat = 4;
    guess.nAmount = 90;
    std::vector<BYTE> record = Bytes(guess);
    EXPECT_EQ(client.OnGameMsg(int(record.size()), record.data()), 1);
    ASSERT_EQ(table.records.size(), 1u);
    EXPECT_EQ(table.records[0], record);
    EXPECT_TRUE(client.holds.empty());
    EXPECT_TRUE(Logged("91a,12"));

    // A head alone is a whole record of the empty id.
    std::vector<BYTE> empty = Head(0x91E, 0, 8);
    client.OnGameMsg(8, empty.data());
    EXPECT_EQ(table.records.size(), 2u);
    // Seven bytes are no record at all.
    client.OnGameMsg(7, empty.data());
    client.OnGameMsg(0, nullptr);
    EXPECT_EQ(table.records.size(), 2u);
}

TEST_F(ClientRecords, AnimatedRecordsHoldTheReceiveGateBeforeTheWindowHasThem) {
    tagDEALMSG deal;
    InitDealMsg(deal);
    deal.nSeat = 1;
    std::vector<BYTE> record = Bytes(deal);
    client.OnGameMsg(int(record.size()), record.data());
    ASSERT_EQ(table.records.size(), 1u);
    EXPECT_EQ(table.readyWhenHanded, std::vector<bool>{false});
    EXPECT_EQ(client.holds, std::vector<bool>{true});

    tagPLAYMSG play;
    InitPlayMsg(play);
    tagRETURNTRIBUTEMSG back;
    InitReturnTributeMsg(back);
    back.nReceiver = 1;
    tagBUY3MSG buy;
    InitGameRecord(buy);
    tagTRIBUTEMSG tribute;
    InitGameRecord(tribute);
    for (std::vector<BYTE> animated : {Bytes(play), Bytes(back), Bytes(buy), Bytes(tribute)}) {
        client.ReceiveGate().Release(CReceiveGate::kRecord); // the presentation before ended
        client.holds.clear();
        client.OnGameMsg(int(animated.size()), animated.data());
        EXPECT_EQ(client.holds, std::vector<bool>{true}) << std::hex << WordAt(animated, 0);
    }
    EXPECT_EQ(table.records.size(), 5u);
    client.ReceiveGate().Release(CReceiveGate::kRecord);
}

TEST_F(ClientRecords, WithoutATableWindowRecordsAreLoggedAndReceivingGoesOn) {
    table.DestroyWindow(); // registered, but no longer a window
    tagPLAYMSG play;
    InitPlayMsg(play);
    std::vector<BYTE> record = Bytes(play);
    client.OnGameMsg(int(record.size()), record.data());
    EXPECT_TRUE(client.holds.empty());
    EXPECT_FALSE(client.ReceiveGate().IsHeld());
    EXPECT_TRUE(Logged("GameWnd is not ready for type 2309!"));
    EXPECT_TRUE(table.records.empty());

    client.SetGameWnd(nullptr);
    client.holds.clear();
    tagGUESSMSG guess;
    InitGameRecord(guess);
    record = Bytes(guess);
    client.OnGameMsg(int(record.size()), record.data());
    EXPECT_TRUE(client.holds.empty());
    EXPECT_TRUE(Logged("GameWnd is not ready for type 2330!"));
}

TEST_F(ClientRecords, ShortRecordsBadCountsAndSeatsAreRefusedBeforeTheWindow) {
    struct Bad {
        const char* what;
        std::vector<BYTE> record;
        const char* logged;
    };
    std::vector<Bad> bad;
    // Every id one byte short of its fixed part.
    const std::pair<int, int> minimums[] = {
        {0x901, 1072}, {0x902, 25632}, {0x903, 20},  {0x904, 292}, {0x905, 80},
        {0x906, 1224}, {0x907, 96},    {0x908, 28},  {0x909, 48},  {0x90A, 24},
        {0x90B, 60},   {0x90D, 88},    {0x90E, 52},  {0x911, 36},  {0x912, 296},
        {0x913, 36},   {0x914, 160},   {0x915, 136}, {0x917, 12},  {0x918, 60},
        {0x919, 28},   {0x91A, 20},    {0x91B, 12},  {0x91C, 32},  {0x91D, 12}};
    for (auto [id, size] : minimums)
        bad.push_back({"short", Head(id, size - 9, size - 1), "too short"});
    bad.push_back({"body past the end", Head(0x91A, 400, 20), "body length past the end"});

    tagDEALMSG deal;
    InitDealMsg(deal);
    deal.nCount = 58;
    bad.push_back({"deal count", Bytes(deal), "count out of range"});
    tagPLAYMSG play;
    InitPlayMsg(play);
    play.nCount = 69;
    bad.push_back({"play count", Bytes(play), "count out of range"});
    tagCARDLIST cue;
    InitGameRecord(cue);
    cue.nCount = 11;
    bad.push_back({"cue count", Bytes(cue), "count out of range"});

    play.nCount = 0;
    play.nSeat = 6;
    bad.push_back({"play seat", Bytes(play), "seat out of range"});
    tagGUESSMSG guess;
    InitGameRecord(guess);
    guess.nSeat = -1;
    bad.push_back({"guess seat", Bytes(guess), "seat out of range"});
    tagTRIBUTEMSG tribute;
    InitGameRecord(tribute);
    tribute.nReceiver = 9;
    bad.push_back({"tribute receiver", Bytes(tribute), "seat out of range"});

    for (Bad& b : bad) {
        client.OnGameMsg(int(b.record.size()), b.record.data());
        EXPECT_TRUE(Logged(b.logged)) << b.what;
    }
    EXPECT_TRUE(table.records.empty());
    EXPECT_TRUE(client.holds.empty());

    // Seat 6 is a history line where the record says so.
    tribute.nReceiver = 1;
    tribute.nSeat = 6;
    std::vector<BYTE> history = Bytes(tribute);
    client.OnGameMsg(int(history.size()), history.data());
    EXPECT_EQ(table.records.size(), 1u);
    // An id no record uses goes on with its head alone (the table names it);
    // it holds nothing.
    const size_t holds = client.holds.size();
    std::vector<BYTE> unknown = Head(0x90C, 40, 8);
    client.OnGameMsg(int(unknown.size()), unknown.data());
    ASSERT_EQ(table.records.size(), 2u);
    EXPECT_EQ(table.records[1], unknown);
    EXPECT_EQ(client.holds.size(), holds);
    client.ReceiveGate().Release(CReceiveGate::kRecord); // the history line's presentation ended
}

class ClientNotices : public ClientTest {};

TEST_F(ClientNotices, TheIdTipEndsTheGameAndAnOpenBoxDefersTheClose) {
    // The connection closes while the box is open: no close timer then,
    // the leave comes when the box closes.
    shell.whileBoxOpen = [&] { client.OnClose(0); };
    client.OnTipMessage(1u, 0u, 0u);
    EXPECT_TRUE(table.Called("start buttons 0"));
    EXPECT_TRUE(table.Called("stop sprite 515"));
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0], "由于有玩家与服务器失去联系，现在游戏结束!");
    EXPECT_EQ(client.m_bTipShown, 1);
    PumpPending();
    EXPECT_EQ(shell.Count(WM_LEAVE_TABLE), 1);
    clock.Advance(3000);
    PumpPending();
    EXPECT_EQ(shell.Count(WM_TIMER, kCloseNoticeTimer), 0);
}

TEST_F(ClientNotices, ACloseAfterTheIdTipStillLeaves) {
    client.OnTipMessage(1u, 0u, 0u);
    client.OnClose(0);
    clock.Advance(kCloseNoticeDelayMs);
    PumpPending();
    EXPECT_EQ(shell.Count(WM_TIMER, kCloseNoticeTimer), 1);
}

TEST_F(ClientNotices, TextTipsAreDroppedWhileASeatIsTrustedOrABoxIsOpen) {
    theBoard.SetTrustWord(4, kTrustOwn);
    EXPECT_EQ(client.OnTipMessage("first", 0u, 0u), 1);
    EXPECT_TRUE(shell.boxes.empty());
    theBoard.SetTrustWord(4, 0);

    shell.whileBoxOpen = [&] { client.OnTipMessage("nested", 0u, 0u); };
    client.OnTipMessage("second", 0u, 0u);
    EXPECT_EQ(shell.boxes, std::vector<std::string>{"second"});
    EXPECT_EQ(client.m_bTipShown, 0);
    client.OnTipMessage("third", 0u, 0u);
    EXPECT_EQ(shell.boxes.size(), 2u);
    PumpPending();
    EXPECT_EQ(shell.Count(WM_LEAVE_TABLE), 0);
}

TEST_F(ClientNotices, AConnectionClosedUnderATextTipLeavesAfterIt) {
    shell.whileBoxOpen = [&] { client.OnClose(10054); };
    client.OnTipMessage("tip", 0u, 0u);
    PumpPending();
    EXPECT_EQ(shell.Count(WM_LEAVE_TABLE), 1);
    clock.Advance(5000);
    PumpPending();
    EXPECT_EQ(shell.Count(WM_TIMER, kCloseNoticeTimer), 0);
}

TEST_F(ClientNotices, ServerCloseAndLinkEventsStartTheCloseTimerOnce) {
    using Event = std::function<void(CGameNetClient&)>;
    const std::pair<const char*, Event> events[] = {
        {"close", [](CGameNetClient& c) { c.OnClose(0); }},
        {"escape", [](CGameNetClient& c) { c.OnEscapeGame(const_cast<char*>("gone")); }},
        {"room", [](CGameNetClient& c) { c.OnRoomBreak(const_cast<char*>("room shut")); }},
        {"error", [](CGameNetClient& c) { c.OnError(); }},
        {"timeout", [](CGameNetClient& c) { c.OnNetTimeOut(const_cast<char*>("slow")); }},
    };
    for (const auto& [name, event] : events) {
        RecordingClient fresh;
        fresh.SetShell(&shell);
        shell.frameLog.clear();
        event(fresh);
        EXPECT_EQ(fresh.m_bClosed, 1) << name;
        // A second end of the same connection adds nothing.
        fresh.OnClose(0);
        clock.Advance(kCloseNoticeDelayMs - 1);
        PumpPending();
        EXPECT_EQ(shell.Count(WM_TIMER, kCloseNoticeTimer), 0) << name;
        clock.Advance(1);
        PumpPending();
        EXPECT_EQ(shell.Count(WM_TIMER, kCloseNoticeTimer), 1) << name;
        KillTimer(shell.frame.m_hWnd, kCloseNoticeTimer);
        fresh.SetShell(nullptr);
    }
    EXPECT_TRUE(shell.boxes.empty());
}

TEST_F(ClientNotices, ALossBeforeTheTableIsShownStartsNoLeaveThatWouldHoldBackALaterOne) {
    RecordingClient fresh;
    fresh.OnClose(10061); // the entry failed: no main window yet
    fresh.OnKickOut();
    EXPECT_EQ(fresh.m_bClosed, 1);
    // The next table's connection ends too: its leave is not taken as
    // already under way.
    fresh.SetShell(&shell);
    fresh.OnClose(0);
    clock.Advance(kCloseNoticeDelayMs);
    PumpPending();
    EXPECT_EQ(shell.Count(WM_TIMER, kCloseNoticeTimer), 1);
    fresh.SetShell(nullptr);
}

TEST_F(ClientNotices, KickOutAndEmptyTableLeaveAfterTheirBoxes) {
    client.OnKickOut();
    client.OnClose(0); // the server drops the connection after the kick
    PumpPending();
    EXPECT_EQ(shell.boxes.back(),
              "发现另一位用户以您的用户名和口令进入了游戏室，您与服务器的连接已经断开!");
    EXPECT_EQ(shell.Count(WM_LEAVE_TABLE), 1);
    clock.Advance(kCloseNoticeDelayMs);
    PumpPending();
    EXPECT_EQ(shell.Count(WM_TIMER, kCloseNoticeTimer), 0);

    RecordingClient other;
    other.SetShell(&shell);
    other.OnLeaveGame(const_cast<char*>(""));
    PumpPending();
    EXPECT_EQ(shell.boxes.back(), "玩家都已退出，此桌解散!");
    EXPECT_EQ(shell.Count(WM_LEAVE_TABLE), 2);
    other.SetShell(nullptr);
}

TEST_F(ClientNotices, AWatcherWhoseWatchedPlayerTimedOutLeaves) {
    client.m_bWatcher = 1;
    client.OnNetTimeOut(const_cast<char*>(""));
    PumpPending();
    EXPECT_EQ(shell.boxes, std::vector<std::string>{"您所旁观的玩家超时！"});
    EXPECT_EQ(shell.Count(WM_LEAVE_TABLE), 1);
}

TEST_F(ClientNotices, ReconnectRestartsTheTableTimer) {
    client.OnReConnet(const_cast<char*>("bob"));
    clock.Advance(3000);
    PumpPending();
    EXPECT_EQ(platform_test::TimersOf(tableLog), std::vector<UINT_PTR>{4000});
}

TEST_F(ClientNotices, SeatChangeRebuildsOrSaysItFailed) {
    client.m_nChangeSeatResult = 1;
    client.OnChangeSeat();
    EXPECT_TRUE(table.Called("change seat scene"));
    client.m_nChangeSeatResult = 0;
    client.OnChangeSeat();
    EXPECT_EQ(shell.boxes, std::vector<std::string>{"换座位失败！"});
}

class ClientSeatLeft : public ClientTest {};

TEST_F(ClientSeatLeft, NothingChangesWithoutTheWatchTargetRule) {
    theBoard.SetStartFlag(3, 1);
    client.OnLeaveGame(WORD(3));
    EXPECT_EQ(theBoard.GetStartFlag(3), 1);
    EXPECT_TRUE(table.calls.empty());
}

TEST_F(ClientSeatLeft, TheSeatIsResetAndTheStartPaneShownAgain) {
    theBoard.SetRuleFlags(kRuleChatWatchTarget);
    theBoard.SetStartFlag(3, 1);
    theBoard.SetTrustWord(3, kTrustBroken);
    theBoard.GetTableHead().nMultiple[3] = 5;
    client.OnLeaveGame(WORD(3));
    EXPECT_EQ(theBoard.GetStartFlag(3), 0);
    EXPECT_EQ(theBoard.GetTrustWord(3), 0);
    EXPECT_EQ(theBoard.GetTableHead().nMultiple[3], 1);
    EXPECT_EQ(table.calls, (std::vector<std::string>{
                               "seat mark 3 1", "reset table", "hide free marks", "redraw info",
                               "seat cards 3", "user list", "start pane 0 0", "start pane 1 3"}));
}

TEST_F(ClientSeatLeft, ASeatOutsideTheTableIsIgnored) {
    theBoard.SetRuleFlags(kRuleChatWatchTarget);
    client.OnLeaveGame(WORD(6));
    client.OnLeaveGame(WORD(0xFFFF));
    EXPECT_TRUE(table.calls.empty());
    EXPECT_TRUE(Logged("Ignored the leave of seat 65535"));
}

TEST_F(ClientSeatLeft, TheWatcherOfTheSeatSeesNoUser) {
    theBoard.SetRuleFlags(kRuleChatWatchTarget);
    client.m_bWatcher = 1;
    strcpy(client.m_szUserName, "watcher");
    client.OnLeaveGame(WORD(2));
    EXPECT_EQ(shell.userFields, std::vector<std::string>{"watcher|旁观对象|#无用户#"});
    // The chat row consumed the flag.
    EXPECT_EQ(client.m_bWatchTargetLeft, 0);
    EXPECT_FALSE(table.Called("start pane 1 3"));
}

class ClientCoins : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        theBoard.SetUserInfo(2, User("alice", 2, 100));
        theBoard.SetUserInfo(4, User("bob", 4, 100));
    }
};

TEST_F(ClientCoins, ChargeDialogValuesComeFromTheRecord) {
    tagGAMECOINCHARGE charge{1000, 2000, 30, 40, 5, 1};
    client.OnNeedChargeGameCoin(charge, "");
    EXPECT_TRUE(table.Called("start buttons 0"));
    EXPECT_EQ(std::vector<DWORD>(table.chargeValues, table.chargeValues + 4),
              (std::vector<DWORD>{1000, 25, 30, 1000}));
    charge.wValue5 = 0;
    client.OnNeedChargeGameCoin(charge, "");
    EXPECT_EQ(std::vector<DWORD>(table.chargeValues, table.chargeValues + 4),
              (std::vector<DWORD>{2000, 35, 30, 1000}));
    client.m_bTipShown = 1;
    table.calls.clear();
    client.OnNeedChargeGameCoin(charge, "");
    EXPECT_TRUE(table.calls.empty());
}

TEST_F(ClientCoins, AFailedExchangeSaysWhyAndReopensTheDialog) {
    client.OnNeedExchangeGameCoin(500, 0, "");
    EXPECT_EQ(client.m_nExchangeAmount, 500);
    EXPECT_EQ(client.m_bExchangePending, 1);
    table.calls.clear();
    client.OnExchangedGameCoinFailed(2);
    EXPECT_EQ(shell.boxes, std::vector<std::string>{"您的财富值不够!"});
    EXPECT_TRUE(table.Called("exchange dialog 500"));
    client.OnChargedGameCoinFailed(11, 0, 0, 0);
    EXPECT_EQ(shell.boxes.back(), "正在游戏，不允许在大厅充值游戏豆!");
    client.OnChargedGameCoinFailed(7, 0, 0, 0); // no wording for 7
    EXPECT_EQ(shell.boxes.size(), 2u);
}

TEST_F(ClientCoins, SuccessIsWordedForMeOrForOthers) {
    client.OnNeedExchangeGameCoin(500, 0, "");
    client.OnExchangedGameCoinSuccess(const_cast<char*>("alice"), 900, 12);
    EXPECT_EQ(client.m_bExchangePending, 0);
    client.OnExchangedGameCoinSuccess(const_cast<char*>("bob"), 800, 3);
    client.OnChargedGameCoinSuccess(const_cast<char*>("alice"), 300, 200, 2);
    client.OnChargedGameCoinSuccess(const_cast<char*>("bob"), 300, 200, 3);
    client.OnChargedGameCoinSuccess(const_cast<char*>("nobody"), 1, 1, 1);
    EXPECT_EQ(shell.chatLines,
              (std::vector<std::string>{
                  "恭喜您兑换游戏豆成功,兑换后,游戏豆:900,财富值:12",
                  "[bob]兑换游戏豆成功,兑换后,游戏豆:800,财富值:3",
                  "您成功获得游戏豆200,免费获得游戏豆后游戏豆:300,您已经成功免费获得2次游戏豆!",
                  "[bob]成功获得游戏豆200,免费获得游戏豆后游戏豆:300,[bob]已经成功免费获得3次"
                  "游戏豆!"}));
    EXPECT_TRUE(table.Called("refresh seat 4"));
    EXPECT_TRUE(table.Called("refresh seat 2"));
    // The exchange mark stands over the seats whose beans were exchanged.
    EXPECT_EQ(std::count_if(table.calls.begin(), table.calls.end(),
                            [](const std::string& c) { return c.rfind("exchange mark", 0) == 0; }),
              2);
    EXPECT_TRUE(table.Called("exchange mark 4"));
    EXPECT_TRUE(table.Called("exchange mark 2"));
}

} // namespace
} // namespace table_test
