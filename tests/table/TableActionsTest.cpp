// The player's actions on a live table window: what each button sends, and
// what it refuses with which notice, with nothing sent.

#include "RecordsForWindowAndView.h"
#include "TableDealKit.h"
#include "TableWindowKit.h"
#include "assets/resource.h"
#include "table/common/GameWndActionRules.h"

namespace table_test {
namespace {

const int kFourA = Card(0, 1), kFourB = Card(1, 1), kFourC = Card(2, 1);
const int kNineA = Card(0, 6), kKingA = Card(3, 10), kThreeA = Card(0, 0);

// The play word of a pair of aces, as the last play on the table.
CardType PairOfAces() {
    const int aces[2] = {Card(0, 11), Card(1, 11)};
    return CGameLogic::GetCardType(aces, 2);
}

class TableActionsTest : public WithDeal<TableInputTest> {};

TEST_F(TableActionsTest, TakeOutSendsExactlyTheRaisedCardsOnce) {
    GiveHand({kFourA, kFourB, kNineA, kKingA});
    for (int32_t& limit : theBoard.GetTableHead().nTimeLimit)
        limit = 30; // my clock does not run out meanwhile
    // Seat 3 leads a pair of threes; I may take out or pass.
    auto lead = Play(3, kActionTakeOut, {kThreeA, Card(1, 0)});
    lead->nActionMask[kMe] = kActionTakeOut | kActionPass;
    Deliver(*lead);
    Run(400);
    Click(CentreOf(kFourA)); // a click raises the pair
    Run(400);
    ASSERT_EQ(Raised(), (std::vector<int>{kFourA, kFourB}));
    ASSERT_TRUE(ClickButton(kCmdTakeOut));
    ASSERT_EQ(Plays().size(), 1u);
    EXPECT_EQ(Plays()[0].type, kActionTakeOut);
    EXPECT_EQ(Plays()[0].codes, (std::vector<int>{kFourA, kFourB}));
    // The same play pressed again before the table answers sends nothing more.
    Run(400);
    Command(kCmdTakeOut);
    wnd->OnRButtonDownEx(0, 10, 10);
    EXPECT_EQ(Plays().size(), 1u);
    // The table left it unanswered: another play, a pass, still goes, once.
    Run(400);
    ASSERT_TRUE(ClickButton(kCmdPass));
    Run(400);
    ClickButton(kCmdPass);
    ASSERT_EQ(Plays().size(), 2u);
    EXPECT_EQ(Plays()[1].type, kActionPass);
    EXPECT_TRUE(wnd->notices.empty());
}

TEST_F(TableActionsTest, ARefusedPlayKeepsTheCardsAndNamesTheReason) {
    GiveHand({kFourA, kFourB, kNineA, kKingA});
    MyTurn(kActionTakeOut | kActionPass);
    Raise(kFourA);
    Raise(kNineA);
    Command(kCmdTakeOut);
    EXPECT_TRUE(Noticed(Text(IDS_PLAY_REFUSED)))
        << (wnd->notices.empty() ? "none" : wnd->notices[0]);
    EXPECT_EQ(Raised(), (std::vector<int>{kFourA, kNineA}));

    // A pair of fours cannot beat a pair of aces.
    theBoard.AddPlay(1, PairOfAces());
    wnd->Hands().ClearSelection();
    Raise(kFourA);
    Raise(kFourB);
    Command(kCmdTakeOut);
    const int pair[2] = {kFourA, kFourB};
    const int refusal = theBoard.CheckTakeOut(kMe, pair, 2);
    ASSERT_NE(refusal, 1);
    EXPECT_TRUE(Noticed(Text(PlayRefusalString(refusal))));
    EXPECT_EQ(Raised(), (std::vector<int>{kFourA, kFourB}));
    EXPECT_TRUE(Plays().empty());
}

TEST_F(TableActionsTest, CardsAlreadyPlayedAreRefused) {
    GiveHand({kFourA, kFourB, kNineA});
    MyTurn(kActionTakeOut);
    tagCARD* hand = theBoard.GetHand(kMe);
    for (int i = 0; i < 3; ++i)
        if (hand[i].code == kFourB)
            hand[i].flags |= kCardPlayed;
    Raise(kFourA);
    Raise(kFourB);
    Command(kCmdTakeOut);
    EXPECT_TRUE(Plays().empty());
    EXPECT_EQ(wnd->notices.size(), 1u);
}

TEST_F(TableActionsTest, NothingRaisedOrNoTurnOrAnimationDoesNothing) {
    GiveHand({kFourA, kNineA});
    MyTurn(kActionTakeOut);
    Command(kCmdTakeOut);
    Command(kCmdShaoPai);
    MyTurn(kActionPass);
    Raise(kFourA);
    Command(kCmdTakeOut);
    // My deal lays out my cards: no button acts meanwhile.
    ASSERT_TRUE(StartDealRecord());
    MyTurn(kActionTakeOut | kActionPass);
    for (int t = 0; t < 100 && SpriteOf(kNineA) == nullptr; ++t)
        Tick();
    Raise(kNineA);
    Command(kCmdTakeOut);
    Command(kCmdPass);
    EXPECT_TRUE(client.sent.empty());
    EXPECT_TRUE(wnd->notices.empty());
    EXPECT_TRUE(RunDealOut());
}

TEST_F(TableActionsTest, APlayThatLeavesTheJokerBehindIsRefused) {
    GiveHand({kFourA, kFourB, SmallJoker()});
    MyTurn(kActionTakeOut);
    theBoard.SetSeatStatus(kMe, kStatusLastPlay, 1);
    Raise(kFourA);
    Raise(kFourB);
    Command(kCmdTakeOut);
    EXPECT_TRUE(Noticed(Text(IDS_SHAO_NEEDS_JOKER)));
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(TableActionsTest, PassLetAndGiveUpGoOnlyWhereTheMaskAllows) {
    GiveHand({kFourA, kNineA});
    // The leader of a round may only take out: a right click with nothing
    // raised must not send a pass.
    MyTurn(kActionTakeOut);
    wnd->OnRButtonDownEx(0, 5, 5);
    Command(kCmdPass);
    Command(kCmdRangpai);
    Command(kCmdGaveUp);
    EXPECT_TRUE(client.sent.empty());

    MyTurn(kActionTakeOut | kActionPass);
    Raise(kFourA);
    Command(kCmdPass);
    ASSERT_EQ(Plays().size(), 1u);
    EXPECT_EQ(Plays()[0].type, kActionPass);
    EXPECT_TRUE(Plays()[0].codes.empty());
    EXPECT_TRUE(Raised().empty()) << "a pass puts the cards down";

    theBoard.SetPlayCounter(7); // the table moved on
    MyTurn(kActionLet | kActionGiveUp);
    Command(kCmdRangpai);
    theBoard.SetPlayCounter(8);
    Command(kCmdGaveUp);
    ASSERT_EQ(Plays().size(), 3u);
    EXPECT_EQ(Plays()[1].type, kActionLet);
    EXPECT_EQ(Plays()[2].type, kActionGiveUp);
}

TEST_F(TableActionsTest, TheHintCyclesThroughTheSearchAndWraps) {
    GiveHand({kFourA, kFourB, kNineA, kKingA, Card(1, 10)});
    MyTurn(kActionTakeOut);
    std::vector<CardType> expected;
    theBoard.Search(0, kMe, expected);
    ASSERT_GE(expected.size(), 2u);
    for (size_t press = 0; press < expected.size() + 2; ++press) {
        Command(kCmdSearch);
        int codes[kHandSize];
        const int n = wnd->Hands().GetSelectedCards(codes, kHandSize);
        EXPECT_EQ(CGameLogic::GetCardType(codes, n), expected[press % expected.size()]) << press;
        EXPECT_EQ(wnd->Commands().GetHintIndex(), int((press + 1) % expected.size())) << press;
    }
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(TableActionsTest, AHintWithoutCandidatesPassesOrGivesUpOrWaits) {
    GiveHand({kFourA, kNineA});
    theBoard.AddPlay(1, PairOfAces());
    MyTurn(kActionTakeOut);
    Command(kCmdSearch);
    EXPECT_TRUE(client.sent.empty()) << "neither pass nor give up allowed";
    MyTurn(kActionTakeOut | kActionPass | kActionGiveUp);
    Command(kCmdSearch);
    ASSERT_EQ(Plays().size(), 1u);
    EXPECT_EQ(Plays()[0].type, kActionPass);
    theBoard.SetPlayCounter(3);
    MyTurn(kActionShao | kActionGiveUp);
    Command(kCmdSearch);
    ASSERT_EQ(Plays().size(), 2u);
    EXPECT_EQ(Plays()[1].type, kActionGiveUp);
}

TEST_F(TableActionsTest, ThePointRecordIsExact) {
    theBoard.SetGameState(kStatePointRound1);
    Command(kCmdDeclPoint);
    Command(kCmdDeclPointOpen);
    Command(kCmdDeclNoPoint);
    ASSERT_EQ(client.sent.size(), 3u);
    const int32_t yes[7] = {0x908, 20, 0, 1, kMe, 0, 0};
    const int32_t no[7] = {0x908, 20, 0, 0, kMe, 0, 0};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(client.sent[i].size(), 28u) << i;
        EXPECT_EQ(memcmp(client.sent[i].data(), i < 2 ? yes : no, 28), 0) << i;
    }
}

TEST_F(TableActionsTest, AReturnMustFitTheTributeAndTheRules) {
    GiveHand({kFourA, kFourB, kNineA, kThreeA});
    tagUSERINFO target = User("target", 4, 100);
    strcpy(target.szNickName, " ");
    theBoard.SetUserInfo(4, target);
    Deliver(*ReturnDue(1, 4, kMe, 2));

    Command(kCmdReturnTribute);
    EXPECT_TRUE(Noticed(Text(IDS_RETURN_NONE_SELECTED)));
    Raise(kFourA);
    Command(kCmdReturnTribute);
    char wanted[256];
    snprintf(wanted, sizeof wanted, Text(IDS_RETURN_COUNT_WRONG).c_str(), "target", 2, "憋");
    EXPECT_TRUE(Noticed(wanted));
    theBoard.SetRuleFlags(kRuleCardsInClear | kRuleThrees);
    Raise(kThreeA);
    Command(kCmdReturnTribute);
    EXPECT_TRUE(Noticed(Text(IDS_RETURN_NO_THREE)));
    EXPECT_TRUE(client.sent.empty());

    wnd->Hands().ClearSelection();
    Raise(kFourA);
    Raise(kNineA);
    wnd->OnRButtonDownEx(0, 5, 5);
    ASSERT_EQ(client.sent.size(), 1u);
    const std::vector<BYTE>& sent = client.sent[0];
    EXPECT_EQ(WordAt(sent, 0), kMsgReturnTribute);
    EXPECT_EQ(WordAt(sent, offsetof(tagRETURNTRIBUTEMSG, nReceiver)), 4);
    EXPECT_EQ(WordAt(sent, offsetof(tagRETURNTRIBUTEMSG, nReturner)), kMe);
    EXPECT_EQ(WordAt(sent, offsetof(tagRETURNTRIBUTEMSG, nCount)), 2);
    EXPECT_EQ(WordAt(sent, offsetof(tagRETURNTRIBUTEMSG, nKind)), 1);
}

TEST_F(TableActionsTest, AReturnWithoutACountStillFitsTheRecord) {
    std::vector<int> hand;
    for (int rank = 1; rank <= 12; ++rank)
        hand.push_back(Card(0, rank));
    hand.push_back(Card(1, 5));
    GiveHand(hand);
    Deliver(*ReturnDue(3, 1, kMe, 0));
    for (int code : hand)
        Raise(code);
    Command(kCmdReturnTribute);
    EXPECT_TRUE(client.sent.empty()) << "13 cards do not fit the return record";
    EXPECT_EQ(wnd->notices.size(), 1u);
    wnd->Hands().SelectHandCard(SpriteOf(hand.back()), FALSE);
    Command(kCmdReturnTribute);
    ASSERT_EQ(client.sent.size(), 1u);
    EXPECT_EQ(WordAt(client.sent[0], offsetof(tagRETURNTRIBUTEMSG, nCount)), 12);
}

TEST_F(TableActionsTest, AWatcherSendsNothingFromAnyButton) {
    client.m_bWatcher = TRUE;
    wnd->UpdateViewpoint();
    GiveHand({kFourA, kFourB});
    MyTurn(0xFFFF);
    Raise(kFourA);
    for (int id : std::initializer_list<int>{kCmdTakeOut,
                                             kCmdShaoPai,
                                             kCmdPass,
                                             kCmdGaveUp,
                                             kCmdRangpai,
                                             kCmdSearch,
                                             kCmdDeclPoint,
                                             kCmdDeclNoPoint,
                                             kCmdDeclPointOpen,
                                             kCmdLeftCue,
                                             kCmdRightCue,
                                             kCmdStart,
                                             kCmdRStart,
                                             401,
                                             402,
                                             416,
                                             kCmdTakeChance,
                                             kCmdSound,
                                             kCmdReturnTribute,
                                             kCmdTrust,
                                             kCmdTrustExit})
        Command(id);
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(TableActionsTest, ChipsChooseTheMultipleUpToTheTablesLargest) {
    theBoard.GetTableHead().nMaxMultiple = 4;
    theBoard.SetUserInfo(kMe, User("me", kMe, 1000));
    wnd->ShowStartPane(TRUE, 1);
    Command(408);
    Command(403); // no chip of 3
    EXPECT_TRUE(client.sent.empty());
    Command(402);
    ASSERT_EQ(client.sent.size(), 1u);
    EXPECT_EQ(WordAt(client.sent[0], 0), kMsgStart);
    EXPECT_EQ(WordAt(client.sent[0], offsetof(tagSTARTMSG, nMultiple)), 2);
    EXPECT_EQ(wnd->GetMultiple(), 2);
    auto* one = dynamic_cast<CSpriteButtonEx*>(wnd->FindItem(401));
    ASSERT_NE(one, nullptr);
    EXPECT_FALSE(one->IsDown()) << "the old chip is released";
    Command(kCmdStart);
    ASSERT_EQ(client.sent.size(), 2u);
    EXPECT_EQ(WordAt(client.sent[1], offsetof(tagSTARTMSG, nMultiple)), 2);
}

TEST_F(TableActionsTest, TrusteeshipCannotBeLeftAfterMoreThanThreeSwitches) {
    Command(kCmdTrust);
    EXPECT_TRUE(client.sent.empty()) << "no game runs";
    MyTurn(kActionTakeOut);
    // The referee counts the switches in its trusteeship record: past
    // three, the exit button says why it does not take the seat back.
    tagTRUSTMSG trust = TrustRecord(kMe, 1, 4);
    Deliver(trust);
    wnd->notices.clear();
    ASSERT_TRUE(ClickButton(kCmdTrustExit));
    EXPECT_TRUE(Noticed(Text(IDS_TRUST_LIMIT)));
    EXPECT_TRUE(client.sent.empty());
    EXPECT_TRUE(ClickButton(kCmdTrustExit)) << "still there to press";
    trust.nSwitchCount = 3;
    Deliver(trust);
    ASSERT_TRUE(ClickButton(kCmdTrustExit));
    ASSERT_EQ(SentOf(kMsgTrust), 1);
    EXPECT_EQ(WordAt(client.sent[0], offsetof(tagTRUSTMSG, bOn)), 0);
    EXPECT_FALSE(ClickButton(kCmdTrustExit)) << "disabled until the referee answers";

    // Back from a broken connection in trusteeship: the snapshot's count.
    client.m_bOption = TRUE;
    auto snap = NewRecord<tagSNAPSHOTMSG>();
    snap->nGameState = kStatePlay;
    snap->tableHead.nRuleFlags = kRuleCardsInClear;
    snap->nTrustCount = 5;
    Deliver(*snap);
    wnd->notices.clear();
    ASSERT_TRUE(ClickButton(kCmdTrustExit));
    EXPECT_TRUE(Noticed(Text(IDS_TRUST_LIMIT)));
    EXPECT_EQ(SentOf(kMsgTrust), 1);
    client.m_bOption = FALSE;
}

TEST_F(TableActionsTest, CuesGoToThePartnerWhoseShownCardsAreRaised) {
    theBoard.SetRuleFlags(kRuleCardsInClear | kRuleCardsLeftNotice);
    MyTurn(kActionTakeOut);
    const int left = CGameLogic::GetNextTeammate(kMe);
    const int shown[3] = {kFourA, kFourB, kKingA};
    wnd->Hands().ShowAllyHand(shown, 3, left);
    Run(400);
    Command(kCmdLeftCue);
    EXPECT_TRUE(client.sent.empty()) << "nothing raised in the left hand";
    Command(kCmdRightCue);
    EXPECT_TRUE(client.sent.empty());
    EXPECT_TRUE(Noticed("您提示错误！"));

    for (const HANDENTRY& e : wnd->Hands().GetLeftShown())
        if (e.nCard == kFourA || e.nCard == kFourB)
            wnd->Hands().SelectShownCard(e.pos, TRUE);
    wnd->Button(kBtnLeftCue).Enable(TRUE);
    Command(kCmdLeftCue);
    ASSERT_EQ(SentOf(kMsgCardList), 1);
    EXPECT_EQ(WordAt(client.sent[0], 8), left);
    EXPECT_TRUE(Noticed("提示成功！"));
    EXPECT_EQ(wnd->Hands().CountSelectedLeft(), 0);
    EXPECT_FALSE(wnd->Button(kBtnLeftCue).IsEnabled());
}

TEST_F(TableActionsTest, TheTablesDialogsAndPanesToggle) {
    Command(kCmdHistory);
    EXPECT_TRUE(app.historyMade && app.historyShown);
    Command(kCmdHistory);
    EXPECT_FALSE(app.historyShown);
    Command(kCmdHistory);
    EXPECT_TRUE(app.historyShown);
    EXPECT_EQ(app.historyRefreshed, 1) << "shown again at the newest page";
    Command(kCmdTakeChance);
    EXPECT_TRUE(app.bettingShown);
    Command(kCmdTakeChance);
    EXPECT_FALSE(app.bettingShown);
    Command(kCmdExchange);
    EXPECT_EQ(app.exchanges, 1);

    Command(kCmdReel);
    EXPECT_FALSE(wnd->Button(kBtnReel).IsVisible());
    EXPECT_TRUE(wnd->Button(kBtnReelOpen).IsVisible() && wnd->Button(kBtnReelOpen).IsEnabled());
    POSITION reel = wnd->FindSpritePos(502);
    ASSERT_NE(reel, nullptr);
    EXPECT_GE(wnd->GetSpriteAt(reel)->nChannel, 0);
    Command(kCmdReelOpen);
    EXPECT_LT(wnd->GetSpriteAt(reel)->nChannel, 0);
    EXPECT_TRUE(wnd->Button(kBtnReel).IsVisible());

    Command(kCmdMagnif);
    EXPECT_TRUE(app.magnifierShown);
    EXPECT_TRUE(wnd->Button(kBtnMagnifOpen).IsVisible());
    Command(kCmdMagnifOpen);
    EXPECT_FALSE(app.magnifierShown);

    Command(kCmdPrevturn);
    POSITION last = wnd->FindSpritePos(516);
    ASSERT_NE(last, nullptr);
    EXPECT_GE(wnd->GetSpriteAt(last)->nChannel, 0);
    Command(kCmdPrevturn);
    EXPECT_LT(wnd->GetSpriteAt(last)->nChannel, 0);
    EXPECT_TRUE(client.sent.empty());
}

} // namespace
} // namespace table_test
