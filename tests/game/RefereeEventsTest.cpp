#include <thread>

#include "tests/game/RefereeFixture.h"

// Players and watchers coming and going, broken links, and the records that
// the referee relays or answers for a single seat.

TEST_F(RefereeTest, OnlyTheSixthPlayerBringsTheTableInfo) {
    SetRules("10 10 10 10 10 10 30 30 5 30 5");
    for (int seat = 0; seat < 5; ++seat) {
        tagUSERINFO user{};
        user.nSeat = seat;
        board.Dispatch(1, 0, reinterpret_cast<intptr_t>(&user));
    }
    EXPECT_TRUE(Sent(kMsgTableInfo).empty());
    tagUSERINFO outside{};
    outside.nSeat = 6; // no such seat: refused, nothing written
    board.Dispatch(1, 0, reinterpret_cast<intptr_t>(&outside));
    outside.nSeat = -1;
    board.Dispatch(1, 0, reinterpret_cast<intptr_t>(&outside));
    EXPECT_TRUE(Sent(kMsgTableInfo).empty());
    tagUSERINFO last{};
    last.nSeat = 5;
    board.Dispatch(1, 0, reinterpret_cast<intptr_t>(&last));
    const auto infos = Sent(kMsgTableInfo, kHostSendToAll);
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0].data.size(), 1072u);
    // The wait clock started with the sixth player.
    now += 34999; // limit 30 and grace 5
    EXPECT_FALSE(board.m_TimeLimits.IsTimeOut(kStateWaitStart));
    now += 1;
    EXPECT_TRUE(board.m_TimeLimits.IsTimeOut(kStateWaitStart));
}

TEST_F(RefereeTest, LeavingClearsTheSeatFoundWithoutRegardToCase) {
    SeatSix();
    board.m_nTrustWord[2] = kTrustExit;
    board.m_bWatcher[2] = 1;
    board.m_nStartFlags[1] = board.m_nStartFlags[2] = 1;
    Calls().clear();
    board.Dispatch(2, 0, reinterpret_cast<intptr_t>("USER2"));
    EXPECT_FALSE(board.IsSeatTaken(2));
    EXPECT_EQ(board.m_nTrustWord[2], 0);
    EXPECT_EQ(board.m_bWatcher[2], 0);
    EXPECT_EQ(board.GetTableHead().nMultiple[2], 1);
    ASSERT_EQ(Sent(kMsgTableInfo).size(), 1u);
    // The seats that pressed start before someone left are still started
    // in the windows that take the table info.
    const auto info = As<tagTABLEINFO>(Sent(kMsgTableInfo)[0]);
    EXPECT_EQ(info.nStartFlags[1], 1);
    EXPECT_EQ(info.nStartFlags[2], 0);
    board.Dispatch(2, 0, reinterpret_cast<intptr_t>("nobody"));
    EXPECT_EQ(Sent(kMsgTableInfo).size(), 2u); // sent even when no seat matched
    EXPECT_TRUE(board.IsSeatTaken(3));
}

TEST_F(RefereeTest, BreakBeforeAGameEndsTheTableOnce) {
    SeatSix();
    Calls().clear();
    EXPECT_EQ(board.Dispatch(6, 3, 0), 2);
    ASSERT_EQ(Sent(kMsgTrustWords).size(), 1u);
    EXPECT_EQ(As<tagTRUSTWORDSMSG>(Sent(kMsgTrustWords)[0]).nTrustWords[3], kTrustBroken);
    EXPECT_EQ(Sent(kMsgGameEnd).size(), 1u);
    EXPECT_EQ(CountCode(kHostTableGameEnded), 1);
    EXPECT_EQ(board.Dispatch(6, 4, 0), 2); // closing: only the statistics step again
    EXPECT_EQ(Sent(kMsgGameEnd).size(), 1u);
    EXPECT_EQ(CountCode(kHostTableGameEnded), 1);
    Calls().clear();
    EXPECT_EQ(board.Dispatch(6, 7, 0), 1); // a seat outside the table changes nothing
    EXPECT_TRUE(Calls().empty());
}

TEST_F(RefereeTest, BreakDuringAGameActsForTheSeat) {
    SetRules("10 10 10 10 10 10 30 30 5 30 5 0 1 0 1"); // first point round
    SeatSix();
    for (int seat = 0; seat < kSeatCount; ++seat)
        PressStart(seat);
    ASSERT_EQ(board.GetGameState(), kStatePointRound1);
    Calls().clear();
    EXPECT_EQ(board.Dispatch(6, 1, 0), 1);
    EXPECT_EQ(board.GetTrustWord(1), kTrustBroken);
    const auto answers = Sent(kMsgPoint);
    ASSERT_EQ(answers.size(), 1u); // answered "no" for the seat at once
    EXPECT_EQ(As<tagPOINTMSG>(answers[0]).nSeat, 1);
    EXPECT_EQ(As<tagPOINTMSG>(answers[0]).bYes, 0);
    EXPECT_TRUE(Sent(kMsgGameEnd).empty());
}

TEST_F(RefereeTest, AllSixTrustedEndsTheGameWithTheTrace) {
    SetRules("10 10 10 10 10 10 30 30 5 30 5 0 1 0 1");
    SeatSix();
    for (int seat = 0; seat < kSeatCount; ++seat)
        PressStart(seat);
    for (int seat = 0; seat < 5; ++seat)
        board.m_nTrustWord[seat] = kTrustOwn;
    Calls().clear();
    board.Dispatch(6, 5, 0);
    bool traced = false;
    for (const HostCallRecord& call : Calls())
        traced |= call.text == "Erro:------:All six players is break! How can this happen!";
    EXPECT_TRUE(traced);
    ASSERT_EQ(Sent(kMsgGameEnd).size(), 1u);
    const auto end = As<tagGAMEENDMSG>(Sent(kMsgGameEnd)[0]);
    for (const tagSETTLEMENTENTRY& entry : end.entries)
        EXPECT_EQ(entry.nBeanChange, 0);
}

TEST_F(RefereeTest, ShortForeignAndNullRecordsAreIgnored) {
    SeatSix();
    Calls().clear();
    tagGAMEEVENT none{0, 20, nullptr};
    board.Dispatch(5, 0, reinterpret_cast<intptr_t>(&none));
    board.Dispatch(5, 0, 0);
    tagSTARTMSG start;
    InitStartMsg(start);
    start.nSeat = 1;
    Send(1, start, 7);  // a head cut short
    Send(1, start, 16); // shorter than the record
    Send(2, start);     // another seat's record
    tagGAMEEVENT outside{9, int32_t(sizeof(start)), &start};
    board.Dispatch(5, 0, reinterpret_cast<intptr_t>(&outside));
    EXPECT_TRUE(Calls().empty());
    Send(1, start);
    EXPECT_EQ(Sent(kMsgStart).size(), 1u);
    // The lock is free again once a handler has returned.
    bool free = false;
    std::thread([&] {
        free = board.m_Lock.try_lock();
        if (free)
            board.m_Lock.unlock();
    }).join();
    EXPECT_TRUE(free);
}

TEST_F(RefereeTest, CuesGoOnlyFromTheSenderToATeammateWithFewCards) {
    SeatSix();
    DealHand(board, 2, CardsOfRank(kRankFive, 8));
    DealHand(board, 4, CardsOfRank(kRankSix, 12));
    DealHand(board, 1, CardsOfRank(kRankSeven, 3));
    Calls().clear();
    tagCARDLIST cue;
    InitCardListMsg(cue);
    cue.nFromSeat = 0;
    cue.nCount = 1;
    cue.nSeat = 2;
    Send(0, cue);
    cue.nSeat = 4; // holds 12
    Send(0, cue);
    cue.nSeat = 1; // an opponent
    Send(0, cue);
    cue.nSeat = 2;
    Send(3, cue); // claims to come from seat 0
    cue.nCount = 11;
    Send(0, cue); // count past its array
    const auto forwarded = Sent(kMsgCardList);
    ASSERT_EQ(forwarded.size(), 1u);
    EXPECT_EQ(forwarded[0].code, kHostSendForwarded);
    EXPECT_EQ(forwarded[0].param, 2);
}

TEST_F(RefereeTest, WatchersSeeTheHandOnlyWhenAllowed) {
    SeatSix();
    DealHand(board, 1, CardsOfRank(kRankNine, 8));
    Calls().clear();
    tagWATCHERVIEWMSG view;
    InitWatcherViewMsg(view);
    view.nSeat = 1;
    view.bAllow = 0;
    Send(1, view);
    auto sent = Sent(kMsgWatcherView, kHostSendToWatchers);
    ASSERT_EQ(sent.size(), 1u);
    auto shown = As<tagWATCHERVIEWMSG>(sent[0]);
    EXPECT_EQ(shown.nCount, 8); // few cards and no 3 rule: as many as held
    EXPECT_TRUE(IsHiddenCard(shown.hand[0]));
    SetRules("10 10 10 10 10 10 30 30 5 30 5 0 1 1");
    Send(1, view);
    EXPECT_EQ(As<tagWATCHERVIEWMSG>(Sent(kMsgWatcherView).back()).nCount, 36);
    view.bAllow = 1;
    Send(1, view);
    shown = As<tagWATCHERVIEWMSG>(Sent(kMsgWatcherView).back());
    EXPECT_EQ(shown.nCount, 8);
    EXPECT_EQ(shown.hand[0].code, CardsOfRank(kRankNine, 8)[0]);
}

TEST_F(RefereeTest, SnapshotsForWatchersAndReturningPlayers) {
    SeatSix();
    for (int seat = 0; seat < kSeatCount; ++seat)
        PressStart(seat); // dealt, the game runs
    for (int game = 0; game < 3; ++game)
        board.m_History.push_back(tagHISTORYENTRY{{game}, {game * 10}});
    Calls().clear();
    tagWATCHERINFO watcher{};
    watcher.nSeat = 2;
    watcher.user.nBeans = 77;
    board.Dispatch(3, 0, reinterpret_cast<intptr_t>(&watcher));
    auto snapshots = Sent(kMsgSnapshot, kHostSendSnapshot);
    ASSERT_EQ(snapshots.size(), 1u);
    auto snapshot = std::make_unique<tagSNAPSHOTMSG>(As<tagSNAPSHOTMSG>(snapshots[0]));
    EXPECT_EQ(snapshots[0].data.size(), 25632u);
    EXPECT_TRUE(IsHiddenCard(snapshot->hand[0]));
    EXPECT_EQ(snapshot->nHandCount[2], 36);
    for (int i = 0; i < CTripleDes::kDigitCount; ++i)
        EXPECT_EQ(snapshot->hand[i].spare, board.m_Cipher.GetDigits()[i]);
    EXPECT_EQ(snapshot->nHistoryCount, 3);
    EXPECT_EQ(snapshot->history[0].nScoreChange[0], 2); // newest first
    EXPECT_EQ(snapshot->nWatcherBeans, 77);
    EXPECT_EQ(snapshot->nPlayCounter, 0);
    EXPECT_EQ(snapshot->nReturnSeat, 0);
    EXPECT_EQ(snapshot->lastPlay.nSeat, kSeatCount);

    Calls().clear();
    board.Dispatch(7, 4, 0);
    snapshot = std::make_unique<tagSNAPSHOTMSG>(As<tagSNAPSHOTMSG>(Sent(kMsgSnapshot)[0]));
    EXPECT_EQ(snapshot->nReturnSeat, 4);
    EXPECT_EQ(snapshot->hand[0].code, board.GetHand(4)[0].code);
    EXPECT_EQ(snapshot->nHandCount[4], 36);
    EXPECT_EQ(Sent(kMsgTrustWords).size(), 1u);
}
