// The table's mouse input and its animation chain on a live window: seat
// changes by name plate, card picks by click and drag through injected
// mouse input, right clicks, the end events and the face switch.

#include "TableDealKit.h"
#include "TableWindowKit.h"
#include "game/Seats.h"
#include "platform/window/Input.h"

namespace table_test {
namespace {

const int kFourA = Card(0, 1), kFourB = Card(1, 1), kFourC = Card(2, 1);
const int kNineA = Card(0, 6), kNineB = Card(1, 6), kKingA = Card(3, 10);
// A point of the table where no card, pane, button or seat lies.
const POINT kEmptyTable{512, 250};

class TableInputEventsTest : public WithDeal<TableInputTest> {
protected:
    // A press, moves and a release at client points, as the mouse gives them.
    void Mouse(platform::MouseAction action, POINT client) {
        wnd->ClientToScreen(&client);
        platform::InjectMouse(action, client);
        platform_test::PumpPending();
    }
    bool Playing(int id) {
        POSITION pos = wnd->FindSpritePos(id);
        return pos != nullptr && wnd->GetSpriteAt(pos)->nChannel >= 0;
    }
    // Lands the flight of a card coming into my hand at once.
    void Land(int card) {
        for (const HANDENTRY& entry : wnd->Hands().GetHand())
            if (entry.nCard == card)
                wnd->FinishAnimation(entry.pos);
    }
    // Lands the face flying between two other seats at once.
    void LandFace(int card) {
        for (int c = 0; c < CSpriteWnd::kChannels; ++c) {
            const POSITION pos = wnd->GetChannel(c).posSprite;
            if (pos != nullptr && wnd->GetSpriteAt(pos)->nUser[0] == card &&
                SpriteOf(card) == nullptr) {
                wnd->FinishAnimation(pos);
                return;
            }
        }
    }
    // The turn clock of the event, run out.
    void RunOut(int event) {
        wnd->StartCountdown(0, 0, 4, 1, event);
        wnd->FinishAnimation(wnd->FindSpritePos(kClockSprite));
    }
    // The middle of a seat's name line.
    POINT NameLineOf(int seat) {
        const int view = SeatToView(seat, kMe, false);
        const POINT at = ResolvePos(layout.m_posAvatar[view]);
        return POINT{at.x + layout.m_sizeAvatar.cx / 2, at.y + layout.m_sizeAvatar.cy + 15};
    }
};

TEST_F(TableInputEventsTest, SeatChangesAreThrottledFromTheTablesOpening) {
    theBoard.SetRuleFlags(kRuleCardsInClear | kRuleChatWatchTarget);
    theBoard.SetUserInfo(kMe, User("me", kMe, 100));
    theBoard.SetUserInfo(4, User("other", 4, 100));
    const std::string tooSoon = "对不起,您换座位太频繁!请稍后再试!";
    wnd->OnLButtonDownEx(0, NameLineOf(5).x, NameLineOf(5).y);
    EXPECT_TRUE(Noticed(tooSoon)) << "within 3 s of the table's opening";
    EXPECT_TRUE(wnd->seatRequests.empty());

    clock.Advance(3000);
    wnd->OnLButtonDownEx(0, NameLineOf(4).x, NameLineOf(4).y);
    EXPECT_TRUE(wnd->seatRequests.empty()) << "a taken seat before the game";
    wnd->OnLButtonDownEx(0, NameLineOf(5).x, NameLineOf(5).y);
    ASSERT_EQ(wnd->seatRequests.size(), 1u);
    EXPECT_EQ(wnd->seatRequests[0], std::make_pair(5, 0));
    wnd->notices.clear();
    clock.Advance(2999);
    wnd->OnLButtonDownEx(0, NameLineOf(0).x, NameLineOf(0).y);
    EXPECT_TRUE(Noticed(tooSoon));
    EXPECT_EQ(wnd->seatRequests.size(), 1u);

    // A watcher during a game asks to watch a taken seat.
    client.m_bWatcher = TRUE;
    wnd->UpdateViewpoint();
    theBoard.SetGameState(kStatePlay);
    clock.Advance(1);
    wnd->OnLButtonDownEx(0, NameLineOf(4).x, NameLineOf(4).y);
    ASSERT_EQ(wnd->seatRequests.size(), 2u);
    EXPECT_EQ(wnd->seatRequests[1], std::make_pair(4, 1));
}

TEST_F(TableInputEventsTest, AClickWhileARecordIsShownPicksItsCardAndEndsThere) {
    GiveHand({kFourA, kNineA, kKingA});
    MyTurn(kActionTakeOut | kActionPass);
    const POINT four = CentreOf(kFourA);
    const POINT king = CentreOf(kKingA);
    Mouse(platform::MouseAction::Move, four);
    Mouse(platform::MouseAction::LeftDown, four);
    wnd->ReceiveGate().Hold(CReceiveGate::kRecord); // cards fly in while the button is down
    Mouse(platform::MouseAction::LeftUp, four);
    EXPECT_EQ(Raised(), std::vector<int>{kFourA});
    Mouse(platform::MouseAction::Move, king); // no button held: no drag
    Click(king);
    wnd->ReceiveGate().Release(CReceiveGate::kRecord);
    // In trick play a click on a lowered card picks it in place of the rest.
    EXPECT_EQ(Raised(), std::vector<int>{kKingA}) << "the nine between is not swept";
}

TEST_F(TableInputEventsTest, ADragSelectsWhatItSweptAndAClickTogglesOneCard) {
    GiveHand({kFourA, kFourB, kFourC, kNineA, kNineB, kKingA});
    MyTurn(kActionTakeOut | kActionPass);
    // Drag from the first four to the first nine: three cards swept.
    const POINT from = CentreOf(kFourA);
    const POINT to = CentreOf(kNineA);
    Mouse(platform::MouseAction::Move, from);
    Mouse(platform::MouseAction::LeftDown, from);
    Mouse(platform::MouseAction::Move, POINT{(from.x + to.x) / 2, from.y});
    Mouse(platform::MouseAction::Move, to);
    Mouse(platform::MouseAction::LeftUp, to);
    const std::vector<int> swept = Raised();
    EXPECT_FALSE(swept.empty());
    EXPECT_NE(std::find(swept.begin(), swept.end(), kNineA), swept.end())
        << "the card under the pointer stays selected";
    Run(100);

    // A click on a raised card lowers it.
    const POINT raised = CentreOf(kNineA);
    Click(raised);
    const std::vector<int> after = Raised();
    EXPECT_EQ(std::count(after.begin(), after.end(), kNineA), 0);

    // A click on the empty table clears the selection.
    Click(kEmptyTable);
    EXPECT_TRUE(Raised().empty());

    // In trick play a click on a lowered card takes as many of its rank as
    // the last play has plain cards.
    const int pair[2] = {Card(0, 0), Card(1, 0)};
    theBoard.AddPlay(1, CGameLogic::GetCardType(pair, 2));
    Run(100);
    Click(CentreOf(kFourB));
    const std::vector<int> same = Raised();
    EXPECT_EQ(same.size(), 2u);
    for (int code : same)
        EXPECT_EQ(code % 13, 1) << code;
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(TableInputEventsTest, ClicksDuringAnAnimationOrForAWatcherPickNothing) {
    // My deal lays out my cards: a few, the nine among them, have landed.
    ASSERT_TRUE(StartDealRecord());
    MyTurn(kActionTakeOut);
    for (int t = 0; t < 100 && wnd->Hands().GetHand().size() < 6; ++t)
        Tick();
    Click(CentreOf(kNineA));
    EXPECT_TRUE(Raised().empty());
    ASSERT_TRUE(RunDealOut());
    client.m_bWatcher = TRUE;
    wnd->UpdateViewpoint();
    Click(CentreOf(kNineA));
    EXPECT_TRUE(Raised().empty());
    Mouse(platform::MouseAction::RightDown, CentreOf(kNineA));
    EXPECT_TRUE(client.sent.empty());
}

TEST_F(TableInputEventsTest, AQuickSecondClickCountsLikeTheFirst) {
    // A person's second click 100 ms after the first, at the same point, is
    // a click of its own, on a card as on a button.
    GiveHand({kFourA, kNineA, kKingA});
    MyTurn(kActionTakeOut);
    const POINT card = CentreOf(kNineA);
    Click(card);
    EXPECT_EQ(Raised(), std::vector<int>{kNineA});
    Run(100);
    Click(card);
    EXPECT_TRUE(Raised().empty()) << "the second click did not lower the card";
    Run(100);
    Click(card);
    EXPECT_EQ(Raised(), std::vector<int>{kNineA}) << "a third click raises it again";

    CSpriteButtonEx& history = wnd->Button(kBtnHistory);
    ASSERT_TRUE(history.IsVisible() && history.IsEnabled());
    const CRect rect = history.GetRect();
    const POINT button{rect.CenterPoint().x, rect.CenterPoint().y};
    Click(button);
    EXPECT_TRUE(app.historyShown);
    Run(100);
    Click(button);
    EXPECT_FALSE(app.historyShown) << "the second click did not close the record";
}

TEST_F(TableInputEventsTest, RightClicksPlayByState) {
    GiveHand({kFourA, kNineA});
    MyTurn(kActionTakeOut | kActionPass);
    Raise(kNineA);
    Mouse(platform::MouseAction::RightDown, kEmptyTable);
    ASSERT_EQ(Plays().size(), 1u);
    EXPECT_EQ(Plays()[0].type, kActionTakeOut);
    EXPECT_EQ(Plays()[0].codes, std::vector<int>{kNineA});

    theBoard.SetPlayCounter(5);
    MyTurn(kActionShao | kActionGiveUp);
    wnd->Hands().ClearSelection();
    Mouse(platform::MouseAction::RightDown, kEmptyTable);
    ASSERT_EQ(Plays().size(), 2u);
    EXPECT_EQ(Plays()[1].type, kActionGiveUp);
}

TEST_F(TableInputEventsTest, TransfersEndTheLayoutOnceAtTheExpectedCount) {
    wnd->ReceiveGate().Hold(CReceiveGate::kRecord);
    // A tribute's card still on its way when the next tribute comes.
    const int late[] = {kKingA};
    ASSERT_EQ(wnd->IntributeFlyCard(5, late, 1, kMe), 1);
    const int tribute[] = {kFourA, kFourB, kNineA};
    ASSERT_EQ(wnd->IntributeFlyCard(4, tribute, 3, kMe), 1);
    Land(kFourA);
    Land(kFourB);
    EXPECT_FALSE(wnd->IsReceiveReady());
    Land(kNineA);
    EXPECT_TRUE(wnd->IsReceiveReady());
    wnd->ReceiveGate().Hold(CReceiveGate::kRecord);
    Land(kKingA);
    EXPECT_FALSE(wnd->IsReceiveReady()) << "a late transfer starts nothing again";

    // With the card order on and a re-sort pending, the re-sort comes first.
    app.cardOrder = 1;
    wnd->UpdateViewpoint();
    ASSERT_TRUE(wnd->FlyCards(4, kMe, kFourC, kCardsLandedEnd));
    ASSERT_TRUE(wnd->FlyCards(5, kMe, kNineB, kCardsLandedEnd));
    Land(kFourC); // cards joined my hand: it waits for its re-sort
    EXPECT_FALSE(wnd->IsReceiveReady());
    Land(kNineB);
    EXPECT_TRUE(wnd->IsReceiveReady());
}

TEST_F(TableInputEventsTest, FlightsBetweenTwoOtherSeatsEndTheirRecordAtOnce) {
    // A card joined my hand without ending a record: its re-sort is due
    // until a flight between two others drops it.
    app.cardOrder = 1;
    wnd->UpdateViewpoint();
    ASSERT_TRUE(wnd->FlyCards(4, kMe, kFourA, -1));
    wnd->ReceiveGate().Hold(CReceiveGate::kRecord);
    ASSERT_TRUE(wnd->FlyCards(0, 1, kNineA, kCardsLandedEnd));
    LandFace(kNineA);
    EXPECT_TRUE(wnd->IsReceiveReady()) << "no re-sort waits";
    // A tribute between them: the last card's landing ends the record.
    wnd->ReceiveGate().Hold(CReceiveGate::kRecord);
    const int tribute[] = {kFourB, kFourC, kKingA};
    ASSERT_EQ(wnd->IntributeFlyCard(0, tribute, 3, 1), 1);
    Run(3000);
    EXPECT_TRUE(wnd->IsReceiveReady());
}

TEST_F(TableInputEventsTest, ClocksThatRunOutAnswerForThePlayer) {
    MyTurn(kActionTakeOut);
    RunOut(kClockEventMyTurn);
    ASSERT_EQ(client.sent.size(), 1u);
    EXPECT_EQ(WordAt(client.sent[0], 0), kMsgTrust);
    EXPECT_EQ(WordAt(client.sent[0], offsetof(tagTRUSTMSG, bOn)), 1);
    EXPECT_EQ(client.sent[0][offsetof(tagTRUSTMSG, bAutomatic)], 1);
    // The turn is over: a late take out sends nothing.
    GiveHand({kFourA});
    Raise(kFourA);
    Command(kCmdTakeOut);
    EXPECT_EQ(client.sent.size(), 1u);

    theBoard.SetPlayCounter(9);
    MyTurn(kActionPass);
    RunOut(kClockEventCannotBeat);
    ASSERT_EQ(Plays().size(), 1u);
    EXPECT_EQ(Plays()[0].type, kActionPass);
    RunOut(kClockEventPoint);
    EXPECT_EQ(SentOf(kMsgPoint), 1);
    RunOut(kClockEventRevolution);
    EXPECT_EQ(SentOf(kMsgRevolution), 1);
    RunOut(kClockEventGousiji);
    EXPECT_EQ(SentOf(kMsgGousiji), 1);
    RunOut(kClockEventReturnTribute);
    EXPECT_EQ(SentOf(kMsgTrust), 2);
    RunOut(kClockEventLast + 1);
    RunOut(kClockEventMyTurn - 1);
    EXPECT_EQ(client.sent.size(), 6u);
}

TEST_F(TableInputEventsTest, TheShuffleStartsTheDealWithTheWholeDeck) {
    GiveHand({kFourA, kNineA});
    Deliver(*DealOf36());
    EXPECT_EQ(wnd->Hands().GetHand().size(), 2u) << "the shuffle shows first";
    wnd->FinishAnimation(wnd->FindSpritePos(kShuffleSprite));
    EXPECT_TRUE(wnd->Hands().GetHand().empty());
    EXPECT_FALSE(wnd->IsReceiveReady());
    EXPECT_FALSE(wnd->IsInputAllowed());
    for (int i = 0; i < kDeckSize; ++i) {
        ASSERT_NE(Sprite(kDeckSpriteBase + i), nullptr) << i;
        EXPECT_GE(Sprite(kDeckSpriteBase + i)->nChannel, 0) << "shown " << i;
    }
    EXPECT_TRUE(RunDealOut());
}

TEST_F(TableInputEventsTest, ABurnRunsItsThreeStepsFromSeatToSeat) {
    const int target = 4;
    const int targetView = SeatToView(target, kMe, false);
    const CSpritePos mine = layout.m_posAvatar[0];
    const CSpritePos theirs = layout.m_posAvatar[targetView];
    // Where a step would leave the table it moves just inside it.
    const auto inside = [](int x, int y, int anchor) {
        CSpritePos pos;
        pos.Set(x, y, anchor);
        const POINT at = ResolvePos(pos);
        return std::make_pair(std::max(0, int(at.x)), std::max(0, int(at.y)));
    };
    const auto drawnFrom = [](const CSpriteLine* line) {
        const POINT at = ResolvePos(line->m_from);
        return std::make_pair(int(at.x), int(at.y));
    };
    // My shao burns the play the target seat laid.
    Deliver(*PlayToNext(target, kActionTakeOut, {kNineA}));
    Deliver(*PlayToNext(kMe, kActionShao, {kFourA, kFourB}));
    POSITION one = wnd->FindSpritePos(1035);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(drawnFrom(wnd->GetSpriteAt(one)->pLine),
              inside(mine.x - 20, mine.y - 10, mine.anchor));
    EXPECT_TRUE(Playing(1035));
    EXPECT_FALSE(Playing(1041));
    for (int ms = 0; ms < 20000 && !Playing(1041); ms += 10)
        Run(10);
    POSITION two = wnd->FindSpritePos(1041);
    ASSERT_TRUE(Playing(1041)) << "step one ends in step two";
    const CSpriteLine* line = wnd->GetSpriteAt(two)->pLine;
    EXPECT_TRUE(line->m_from.IsEqual(mine.x - 20 + 35, mine.y - 10 + 55, mine.anchor));
    EXPECT_TRUE(line->m_to.IsEqual(theirs.x + 25, theirs.y + 80, theirs.anchor));
    EXPECT_EQ(line->m_nDuration, 20);
    for (int ms = 0; ms < 20000 && !Playing(1042); ms += 10)
        Run(10);
    POSITION three = wnd->FindSpritePos(1042);
    ASSERT_TRUE(Playing(1042)) << "step two ends in step three";
    EXPECT_EQ(drawnFrom(wnd->GetSpriteAt(three)->pLine),
              inside(mine.x - 20 + 35 - 140, mine.y - 10 + 55 - 130, mine.anchor));
}

TEST_F(TableInputEventsTest, TheFacesSwitchOnceWhenTheTableNarrows) {
    // My hand's cards as laid: a face's width and the step to the next.
    const auto laid = [&] {
        const CRect four = wnd->GetSpriteRect(SpriteOf(kFourA));
        const CRect nine = wnd->GetSpriteRect(SpriteOf(kNineA));
        return std::make_pair(four.Width(), int(std::abs(nine.left - four.left)));
    };
    wnd->OnResize(0, 1200, 700);
    GiveHand({kFourA, kNineA});
    EXPECT_EQ(laid(), std::make_pair(int(layout.m_sizeCardBig.cx), layout.m_nIntervalBig));
    wnd->OnResize(0, 900, 700);
    Run(400);
    EXPECT_EQ(laid(), std::make_pair(int(layout.m_sizeCard.cx), layout.m_nInterval));
    EXPECT_EQ(layout.m_nIntervalWork, layout.m_nInterval) << "the layout's own values stay";
    EXPECT_TRUE(wnd->IsReceiveReady());
    POSITION firstBack = wnd->FindSpritePos(kDeckSpriteBase);
    ASSERT_NE(firstBack, nullptr);
    for (int i = 0; i < kDeckSize; ++i) {
        const SPRITEINFO* back = Sprite(kDeckSpriteBase + i);
        ASSERT_NE(back, nullptr) << i;
        EXPECT_EQ(back->nUser[0], 0x80000 | i);
        EXPECT_EQ(back->pLine->m_from.x, -(layout.m_sizeCard.cx + 408) / 2 + 8 * i);
    }
    wnd->OnResize(0, 800, 700);
    EXPECT_EQ(wnd->FindSpritePos(kDeckSpriteBase), firstBack)
        << "a second narrow size changes nothing";
    EXPECT_EQ(wnd->Hands().GetHand().size(), 2u);
}

} // namespace
} // namespace table_test
