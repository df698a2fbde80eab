// Each sender's record byte for byte, its refusals and the watcher's silence.

#include "ClientFixture.h"
#include "game/TripleDes.h"

namespace table_test {
namespace {

class ClientSenders : public ClientTest {
protected:
    void SetUp() override {
        ClientTest::SetUp();
        theBoard.SetUserInfo(2, User("alice", 2, 1000));
        theBoard.GetTableHead().nMinBeans = 100;
    }
    const std::vector<BYTE>& Last() const { return client.sent.back(); }
};

TEST_F(ClientSenders, StartClampsTheMultipleAndCarriesMySeat) {
    struct Case {
        int asked, sent;
    } cases[] = {{-3, 1}, {40, 16}, {0, 0}, {7, 7}};
    for (const Case& c : cases) {
        EXPECT_EQ(client.SendStart(c.asked), 1);
        ASSERT_EQ(Last().size(), 20u);
        EXPECT_EQ(WordAt(Last(), 0), 0x903);
        EXPECT_EQ(WordAt(Last(), 4), 12);
        EXPECT_EQ(WordAt(Last(), 8), 2);
        EXPECT_EQ(WordAt(Last(), 12), c.sent) << c.asked;
        EXPECT_EQ(WordAt(Last(), 16), 0);
    }
}

TEST_F(ClientSenders, StartWithTooFewBeansLeavesInsteadOfSending) {
    // A negative count must not pass for a huge one.
    theBoard.SetUserInfo(2, User("alice", 2, -5));
    EXPECT_EQ(client.SendStart(1), 0);
    EXPECT_TRUE(client.sent.empty());
    ASSERT_EQ(shell.boxes.size(), 1u);
    EXPECT_EQ(shell.boxes[0], "对不起，您的游戏豆达不到房间的最低要求，您已经退出游戏!");
    platform_test::PumpPending();
    EXPECT_EQ(shell.Count(WM_LEAVE_TABLE), 1);
}

TEST_F(ClientSenders, AWatcherSendsNothingAndGetsItsResults) {
    client.m_bWatcher = 1;
    const int codes[1] = {0};
    const tagCARD cards[1] = {CGameLogic::CardFromIndex(0)};
    EXPECT_EQ(client.SendStart(1), 0);
    EXPECT_EQ(client.SendAction(16, codes, 1), kActionWatcher);
    EXPECT_EQ(client.SendCue(3, codes, 1), 0);
    EXPECT_EQ(client.SendTakeChance(2, 0, 10), kTakeChanceWatcher);
    EXPECT_EQ(client.SendReturnTribute(1, 2, cards, 1, 0), 0);
    client.SendTrust(1, 0);
    client.SendRevolution(1);
    client.SendGousiji(1);
    client.SendWatcherCanSeeMyCard(1);
    client.SendBuy3();
    client.SendPayTribute();
    client.SendTimeTick();
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(ClientSenders, FixedRecordsHaveTheirSizesAndFields) {
    client.SendTrust(1, 1);
    EXPECT_EQ(Last().size(), 52u);
    EXPECT_EQ(WordAt(Last(), 0), 0x90E);
    EXPECT_EQ(WordAt(Last(), 8), 2);
    EXPECT_EQ(Last()[12], 1);
    EXPECT_EQ(WordAt(Last(), 16), 1);

    client.SendRevolution(1);
    EXPECT_EQ(Last().size(), 48u);
    EXPECT_EQ(WordAt(Last(), 0), 0x909);
    EXPECT_EQ(WordAt(Last(), 12), 1);
    EXPECT_EQ(WordAt(Last(), 16), 2);

    client.SendGousiji(0);
    EXPECT_EQ(Last().size(), 24u);
    EXPECT_EQ(WordAt(Last(), 0), 0x90A);
    EXPECT_EQ(WordAt(Last(), 8), 0);
    EXPECT_EQ(WordAt(Last(), 12), 2);

    client.SendWatcherCanSeeMyCard(1);
    EXPECT_EQ(Last().size(), 296u);
    EXPECT_EQ(WordAt(Last(), 0), 0x912);
    EXPECT_EQ(WordAt(Last(), 8), 1);
    EXPECT_EQ(WordAt(Last(), 12), 2);

    client.SendBuy3();
    EXPECT_EQ(Last().size(), 60u);
    EXPECT_EQ(WordAt(Last(), 0), 0x90B);
    EXPECT_EQ(WordAt(Last(), 8), 2);

    client.SendPayTribute();
    EXPECT_EQ(Last().size(), 88u);
    EXPECT_EQ(WordAt(Last(), 0), 0x90D);
    EXPECT_EQ(WordAt(Last(), 8), 2);

    client.SendTimeTick();
    EXPECT_EQ(Last(), std::vector<BYTE>({0x1B, 0x09, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0}));

    // Every record's body length is its size less the head.
    for (const std::vector<BYTE>& record : client.sent)
        EXPECT_EQ(WordAt(record, 4), int(record.size()) - 8);
}

TEST_F(ClientSenders, ReturnTributeCarriesBothSeatsAndRefusesCountsOutsideItsRoom) {
    tagCARD cards[13];
    for (int i = 0; i < 13; ++i)
        cards[i] = CGameLogic::CardFromIndex(i);
    EXPECT_EQ(client.SendReturnTribute(4, 2, cards, 2, 3), 1);
    ASSERT_EQ(Last().size(), 96u);
    EXPECT_EQ(WordAt(Last(), 0), 0x907);
    EXPECT_EQ(WordAt(Last(), 8), 2);  // my seat
    EXPECT_EQ(WordAt(Last(), 12), 4); // the seat that gets the cards
    EXPECT_EQ(WordAt(Last(), 16), 2); // the seat that returns them
    EXPECT_EQ(WordAt(Last(), 20), 2);
    EXPECT_EQ(memcmp(Last().data() + 24, cards, 10), 0);
    EXPECT_EQ(Last()[34], 0); // nothing past the count
    EXPECT_EQ(WordAt(Last(), 92), 3);

    const size_t before = client.sent.size();
    EXPECT_EQ(client.SendReturnTribute(4, 2, cards, 0, 0), 0);
    EXPECT_EQ(client.SendReturnTribute(4, 2, cards, 13, 0), 0);
    EXPECT_EQ(client.SendReturnTribute(4, 2, nullptr, 2, 0), 0);
    EXPECT_EQ(client.sent.size(), before);
    EXPECT_TRUE(Logged("Refused a return tribute of 13 cards"));
}

// Three cards of one rank from three decks: a combination the rules accept.
struct Triple {
    int codes[3];
};
Triple FindTriple() {
    for (int a = 0; a < 54; ++a) {
        Triple t{{a, a + 54, a + 108}};
        if (CGameLogic::GetCardType(t.codes, 3) != 0)
            return t;
    }
    return {{0, 0, 0}};
}

class ClientPlays : public ClientSenders {
protected:
    void SetUp() override {
        ClientSenders::SetUp();
        triple = FindTriple();
        ASSERT_NE(CGameLogic::GetCardType(triple.codes, 3), 0u);
        tagCARD hand[3];
        for (int i = 0; i < 3; ++i)
            hand[i] = CGameLogic::CardFromIndex(triple.codes[i]);
        theBoard.SetHand(2, hand, 3);
        const uint8_t key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        theBoard.m_Cipher.SetKey(key, 16);
        theBoard.SetPlayCounter(77);
    }
    Triple triple;
};

TEST_F(ClientPlays, ATakeOutIsEncipheredUnlessCardsTravelInClear) {
    EXPECT_EQ(client.SendAction(16, triple.codes, 3), kActionSent);
    ASSERT_EQ(Last().size(), 92u);
    EXPECT_EQ(WordAt(Last(), 0), 0x905);
    EXPECT_EQ(WordAt(Last(), 4), 84);
    EXPECT_EQ(WordAt(Last(), 8), 2);
    EXPECT_EQ(WordAt(Last(), 12), 16);
    EXPECT_EQ(WordAt(Last(), 16), 77);
    EXPECT_EQ(WordAt(Last(), 72), 3);
    EXPECT_NE(memcmp(Last().data() + 76, triple.codes, 12), 0);
    // The receiver deciphers the 16 bytes back to the plain codes.
    tagPLAYMSG copy;
    ASSERT_TRUE(ReadGameRecord(Last().data(), int(Last().size()), copy));
    ASSERT_TRUE(DecipherPlayCodes(copy, theBoard.m_Cipher, false));
    EXPECT_EQ(memcmp(copy.nCodes, triple.codes, 12), 0);

    theBoard.SetRuleFlags(kRuleCardsInClear);
    EXPECT_EQ(client.SendAction(16, triple.codes, 3), kActionSent);
    EXPECT_EQ(memcmp(Last().data() + 76, triple.codes, 12), 0);
}

TEST_F(ClientPlays, PassLetAndGiveUpGoWithoutChecks) {
    for (int type : {1, 2, 8}) {
        EXPECT_EQ(client.SendAction(type, nullptr, 0), kActionSent);
        ASSERT_EQ(Last().size(), 80u);
        EXPECT_EQ(WordAt(Last(), 12), type);
        EXPECT_EQ(WordAt(Last(), 72), 0);
    }
}

TEST_F(ClientPlays, RefusedPlaysSendNothingAndReturnTheReason) {
    const int notACombination[2] = {triple.codes[0], (triple.codes[0] + 1) % 54};
    if (CGameLogic::GetCardType(notACombination, 2) == 0) {
        EXPECT_EQ(client.SendAction(16, notACombination, 2), kActionNotACombination);
        EXPECT_EQ(client.SendAction(4, notACombination, 2), kActionNotACombination);
    }
    // A valid combination not in my hand: CheckTakeOut's own answer.
    theBoard.SetHand(2, nullptr, 0);
    EXPECT_EQ(client.SendAction(16, triple.codes, 3), theBoard.CheckTakeOut(2, triple.codes, 3));
    EXPECT_NE(client.SendAction(16, triple.codes, 3), kActionSent);
    EXPECT_EQ(client.SendAction(16, triple.codes, 69), kActionNotACombination);
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(ClientPlays, CueCarriesPlainCodesAndRefusesBadCounts) {
    EXPECT_EQ(client.SendCue(4, triple.codes, 3), 1);
    ASSERT_EQ(Last().size(), 60u);
    EXPECT_EQ(WordAt(Last(), 0), 0x918);
    EXPECT_EQ(WordAt(Last(), 8), 4);
    EXPECT_EQ(memcmp(Last().data() + 12, triple.codes, 12), 0);
    EXPECT_EQ(WordAt(Last(), 52), 3);
    EXPECT_EQ(WordAt(Last(), 56), 2);

    int eleven[11] = {};
    const size_t before = client.sent.size();
    EXPECT_EQ(client.SendCue(4, eleven, 11), 0);
    EXPECT_EQ(client.SendCue(4, triple.codes, 0), 0);
    EXPECT_EQ(client.sent.size(), before);
}

TEST_F(ClientSenders, TakeChanceChecksInOrder) {
    tagTABLEHEAD& head = theBoard.GetTableHead();
    head.nMinStake = 10;
    head.nMaxStake = 500;
    head.nKeepBeans = 200;
    head.nMaxGuesses = 2;
    EXPECT_EQ(client.SendTakeChance(2, 5, 1), kTakeChanceBadOption);
    EXPECT_EQ(client.SendTakeChance(2, -1, 50), kTakeChanceBadOption);
    EXPECT_EQ(client.SendTakeChance(2, 0, 9), kTakeChanceBelowMinimum);
    EXPECT_EQ(client.SendTakeChance(2, 0, 801), kTakeChanceReserve);
    head.nKeepBeans = 0;
    EXPECT_EQ(client.SendTakeChance(2, 0, 501), kTakeChanceAboveMaximum);
    head.nGuessesPlaced[2] = 2;
    EXPECT_EQ(client.SendTakeChance(2, 0, 50), kTakeChanceNoneLeft);
    // A bet of nothing is refused even where the table sets no minimum, as
    // the betting dialog refuses it.
    head.nMinStake = 0;
    EXPECT_EQ(client.SendTakeChance(2, 0, 0), kTakeChanceBelowMinimum);
    EXPECT_TRUE(client.sent.empty());
    head.nGuessesPlaced[2] = 1;
    EXPECT_EQ(client.SendTakeChance(2, 4, 50), kTakeChanceSent);
    ASSERT_EQ(Last().size(), 20u);
    EXPECT_EQ(WordAt(Last(), 0), 0x91A);
    EXPECT_EQ(WordAt(Last(), 8), 2);
    EXPECT_EQ(WordAt(Last(), 12), 4);
    EXPECT_EQ(WordAt(Last(), 16), 50);
}

} // namespace
} // namespace table_test
