// Seat marks, text animations and card flights by view position, shown and
// removed as the record handlers do.

#include "TableWindowKit.h"

namespace table_test {
namespace {

class GameWndMarksTest : public TableWindowTest {
protected:
    CSpritePos Place(int view) { return layout.m_posAvatar[view]; }
    POINT PlacePlus(int view, int dx, int dy) {
        const CSpritePos p = Place(view);
        return Resolved(p.x + dx, p.y + dy, p.anchor);
    }
    SIZE SizeOf(int id) {
        SPRITEINFO* s = Sprite(id);
        return s != nullptr ? wnd->GetImageList().GetAt(s->posImage)->GetSize(s) : SIZE{0, 0};
    }
    // The top left of a sprite centred on the point.
    POINT Centred(POINT p, int id) {
        const SIZE size = SizeOf(id);
        return POINT{p.x - size.cx / 2, p.y - size.cy / 2};
    }
};

constexpr int kMultiplePane = 517; // + view

// Points compared and printed as pairs.
std::pair<int, int> P(POINT p) {
    return {p.x, p.y};
}

TEST_F(GameWndMarksTest, TrustMarksSitOnThePlateAndReplaceEachOther) {
    ASSERT_TRUE(CreateTable());
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const int view = seat; // I sit at seat 0
        wnd->Marks().ShowTrustMark(seat, kTrustOwn);
        ASSERT_TRUE(Shown(kTrustMark + view)) << seat;
        EXPECT_EQ(Sprite(kTrustMark + view)->z, 200);
        wnd->Marks().ShowTrustMark(seat, kTrustExit);
        EXPECT_FALSE(Shown(kTrustMark + view));
        EXPECT_TRUE(Shown(kTrustExitMark + view));
        wnd->Marks().ShowTrustMark(seat, kTrustBroken);
        EXPECT_FALSE(Shown(kTrustExitMark + view));
        EXPECT_TRUE(Shown(kBreakMark + view));
    }
    wnd->Marks().ShowTrustMark(3, 0);
    EXPECT_FALSE(Shown(kBreakMark + 3));
    EXPECT_TRUE(Shown(kBreakMark + 2));
    wnd->Marks().ClearTrustMarks();
    for (int view = 0; view < kSeatCount; ++view)
        EXPECT_FALSE(Shown(kBreakMark + view)) << view;
}

TEST_F(GameWndMarksTest, TheChosenDirectionTurnsEveryPartAtTheGamesStartAndSurvivesASeatChange) {
    app.clockOrderNext = 1;
    ASSERT_TRUE(CreateTable());
    wnd->Marks().ShowTrustMark(1, kTrustOwn);
    EXPECT_TRUE(Shown(kTrustMark + 1)) << "the running game keeps its direction";
    wnd->Marks().ClearTrustMarks();

    wnd->TurnSeatsForGame();
    wnd->Marks().ShowTrustMark(1, kTrustOwn);
    EXPECT_TRUE(Shown(kTrustMark + 5)) << "seat 1 now sits on my other side";
    EXPECT_FALSE(Shown(kTrustMark + 1));
    wnd->Marks().ClearTrustMarks();

    // I move to seat 2: the seats still run the chosen way round.
    client.m_nMySeat = 2;
    wnd->OnChangeSeatScene();
    EXPECT_EQ(wnd->Viewpoint().nMySeat, 2);
    wnd->Marks().ShowTrustMark(1, kTrustOwn);
    EXPECT_TRUE(Shown(kTrustMark + 1));
    wnd->Marks().ShowTrustMark(3, kTrustOwn);
    EXPECT_TRUE(Shown(kTrustMark + 5));
}

TEST_F(GameWndMarksTest, ActionMarksArePlacedByViewAndOneOfThreeShows) {
    ASSERT_TRUE(CreateTable());
    for (int seat = 0; seat < kSeatCount; ++seat) {
        wnd->Marks().ShowActionMark(seat, 1);
        const POINT pass = At(kPassMark + seat);
        wnd->Marks().ShowActionMark(seat, 2);
        EXPECT_FALSE(Shown(kPassMark + seat));
        EXPECT_TRUE(Shown(kLetMark + seat));
        wnd->Marks().ShowActionMark(seat, 8);
        EXPECT_FALSE(Shown(kLetMark + seat));
        EXPECT_TRUE(Shown(kGaveUpMark + seat));
        // The three stand at one place.
        EXPECT_EQ(P(At(kGaveUpMark + seat)), P(pass)) << seat;
        wnd->Marks().ShowActionMark(seat, 0);
        EXPECT_FALSE(Shown(kGaveUpMark + seat));
    }
    // Pass wins over let when both bits come.
    wnd->Marks().ShowActionMark(2, 1 | 2);
    EXPECT_TRUE(Shown(kPassMark + 2));
    EXPECT_FALSE(Shown(kLetMark + 2));
    // A seat outside the table marks nothing.
    wnd->Marks().ShowActionMark(6, 1);
    wnd->Marks().ShowTrustMark(-1, kTrustOwn);
    EXPECT_EQ(Sprite(kPassMark + 6), nullptr);
}

TEST_F(GameWndMarksTest, PointMarksFlashAndShaoFlashesOnlyWhenAsked) {
    ASSERT_TRUE(CreateTable());
    wnd->Marks().MarkOpenPoint(4, TRUE);
    EXPECT_TRUE(Shown(kFlashSprite));
    Tick(300); // the flash plays once and goes
    EXPECT_FALSE(Shown(kFlashSprite));
    wnd->Marks().MarkShao(1, TRUE, FALSE);
    EXPECT_FALSE(Shown(kFlashSprite));
    wnd->Marks().MarkRevolution(2, TRUE);
    wnd->Marks().MarkNowPoint(5, TRUE);
    wnd->Marks().MarkPrePoint(0, TRUE);
    wnd->Marks().MarkOpenPoint(4, FALSE);
    EXPECT_FALSE(Shown(kOpenPointMark + 4));
    // Clearing the seats takes the point and action marks but keeps trusteeship.
    wnd->Marks().ShowTrustMark(1, kTrustOwn);
    wnd->Marks().ShowActionMark(3, 1);
    wnd->Marks().ShowPlaceMark(2, 0);
    wnd->Marks().ClearAllSeats();
    for (int id : {kShaoMark + 1, kRevolutionMark + 2, kNowPointMark + 5, kPrePointMark + 0,
                   kPassMark + 3, kPlaceMark + 2})
        EXPECT_FALSE(Shown(id)) << id;
    EXPECT_TRUE(Shown(kTrustMark + 1));
}

TEST_F(GameWndMarksTest, PlaceMarksShowThePlaceEvenWhenTheViewPlacedOtherwiseBefore) {
    ASSERT_TRUE(CreateTable());
    wnd->Marks().ShowPlaceMark(5, 2);
    ASSERT_TRUE(Shown(kPlaceMark + 5));
    EXPECT_EQ(Sprite(kPlaceMark + 5)->z, 200) << "over the cards it may meet";
    auto pictureOf = [&](int id) { return wnd->GetImageList().GetAt(Sprite(id)->posImage)->m_nId; };
    const int third = pictureOf(kPlaceMark + 5);
    // The next game the same view finishes first: the first place's picture.
    wnd->Marks().ClearPlaceMarks();
    wnd->Marks().ShowPlaceMark(5, 0);
    ASSERT_TRUE(Shown(kPlaceMark + 5));
    EXPECT_NE(pictureOf(kPlaceMark + 5), third);
    // Shown again without clearing, with yet another place.
    const int first = pictureOf(kPlaceMark + 5);
    wnd->Marks().ShowPlaceMark(5, 4);
    EXPECT_NE(pictureOf(kPlaceMark + 5), first);
    EXPECT_NE(pictureOf(kPlaceMark + 5), third);
    wnd->Marks().ShowPlaceMark(0, 1);
    EXPECT_EQ(Sprite(kPlaceMark + 0)->z, 200);
    // Places and seats outside the table do nothing.
    wnd->Marks().ShowPlaceMark(2, 6);
    wnd->Marks().ShowPlaceMark(7, 1);
    EXPECT_EQ(Sprite(kPlaceMark + 2), nullptr);
    wnd->Marks().ClearPlaceMarks();
    EXPECT_FALSE(Shown(kPlaceMark + 5));
    EXPECT_FALSE(Shown(kPlaceMark + 0));
}

TEST_F(GameWndMarksTest, ReadyMarksAndTheirClearing) {
    ASSERT_TRUE(CreateTable());
    wnd->Marks().ShowReadyMark(2, FALSE);
    wnd->Marks().ShowReadyMark(4, FALSE);
    EXPECT_TRUE(Shown(kReadyMark + 4));
    wnd->Marks().ShowReadyMark(0, TRUE);
    EXPECT_FALSE(Shown(kReadyMark + 2));
    EXPECT_FALSE(Shown(kReadyMark + 4));
}

TEST_F(GameWndMarksTest, TheWaitingMarkIsForOthersAndForWatchers) {
    ASSERT_TRUE(CreateTable());
    wnd->Marks().ShowWaitMark(0, FALSE);
    EXPECT_FALSE(Shown(kWaitSprite)) << "a player does not wait for himself";
    wnd->Marks().ShowWaitMark(3, FALSE);
    ASSERT_TRUE(Shown(kWaitSprite));
    wnd->Marks().ShowWaitMark(4, FALSE);
    wnd->Marks().ShowWaitMark(4, TRUE);
    EXPECT_FALSE(Shown(kWaitSprite));
    client.m_bWatcher = TRUE;
    wnd->Marks().ShowWaitMark(0, FALSE);
    // The client's seat-left call shows the same mark.
    wnd->ShowSeatMark(2, FALSE);
    EXPECT_FALSE(Shown(kWaitSprite));
}

TEST_F(GameWndMarksTest, TheExchangeMarkIsCentredOnThePlateInsideTheTable) {
    ASSERT_TRUE(CreateTable());
    const SIZE plate = layout.m_sizeAvatar;
    wnd->Marks().ShowExchangeMark(3);
    EXPECT_EQ(P(At(kExchangeSprite)),
              P(Centred(PlacePlus(3, plate.cx / 2, plate.cy / 2), kExchangeSprite)));
    // Wider than the plate at the table's edge: moved in, as high as before.
    wnd->Marks().ShowExchangeMark(1);
    const POINT centred = Centred(PlacePlus(1, plate.cx / 2, plate.cy / 2), kExchangeSprite);
    ASSERT_LT(centred.x, 0);
    EXPECT_EQ(P(At(kExchangeSprite)), P(POINT{0, centred.y}));
}

TEST_F(GameWndMarksTest, MarksPanesAndTextsStandClearOfWhatTheyWouldHide) {
    ASSERT_TRUE(CreateTable());
    const auto rect = [&](int id) { return wnd->GetSpriteRect(wnd->FindSpritePos(id)); };
    const auto meets = [](const CRect& a, const CRect& b) {
        CRect overlap;
        return overlap.IntersectRect(&a, &b) != FALSE;
    };
    // On a bare table a mark stands at its own place.
    wnd->Marks().ShowActionMark(2, 1);
    EXPECT_EQ(P(At(kPassMark + 2)), P(PlacePlus(2, 201, 73)));
    wnd->Marks().ShowActionMark(2, 0);
    // Once the seat has laid a wide play there, its pass mark stands beside
    // it, near its place, and a text shown over the play moves off it too.
    const int32_t play[] = {0, 13, 26, 39, 1, 14};
    wnd->LayPlay(2, play, 6, FALSE, 20);
    Tick(20);
    std::vector<CRect> cards;
    for (const HANDENTRY& e : wnd->TableCards().GetSeatCards(2))
        cards.push_back(wnd->GetSpriteRect(e.pos));
    ASSERT_EQ(cards.size(), 6u);
    wnd->Marks().ShowActionMark(2, 1);
    wnd->Marks().ShowWaitMark(2, FALSE);
    for (const CRect& card : cards) {
        EXPECT_FALSE(meets(rect(kPassMark + 2), card));
        EXPECT_FALSE(meets(rect(kWaitSprite), card));
    }
    EXPECT_FALSE(meets(rect(kPassMark + 2), rect(kWaitSprite)));
    const POINT own = PlacePlus(2, 201, 73), now = At(kPassMark + 2);
    EXPECT_LT(std::abs(now.x - own.x) + std::abs(now.y - own.y), 200) << "it keeps to its seat";
    // A ready mark shown over a seat's multiple pane stands clear of it; the
    // pane that comes with a game keeps its place under the ready marks
    // that go as it starts.
    wnd->Panes().ShowMultiplePane(4, 2, TRUE);
    const POINT pane = At(kMultiplePane + 4);
    wnd->Marks().ShowReadyMark(4, FALSE);
    EXPECT_FALSE(meets(rect(kReadyMark + 4), rect(kMultiplePane + 4)));
    wnd->Panes().ShowMultiplePane(4, 0, FALSE);
    wnd->Panes().ShowMultiplePane(4, 4, TRUE);
    EXPECT_EQ(P(At(kMultiplePane + 4)), P(pane));
}

TEST_F(GameWndMarksTest, TextAnimationsPlayOnceByView) {
    ASSERT_TRUE(CreateTable());
    wnd->Marks().ShowRevolutionMark(0);
    wnd->Marks().ShowRevolutionMark(3);
    wnd->Marks().ShowRevolutionMark(5);
    wnd->Marks().ShowOpenPointMark(1);
    wnd->Marks().PlayUpgradeAnim(2);
    // Only my own tribute is announced.
    wnd->Marks().ShowTributeMark(2);
    EXPECT_FALSE(Shown(kTributeSprite));
    wnd->Marks().ShowTributeMark(0);
    EXPECT_TRUE(Shown(kTributeSprite));
    Tick(1000);
    for (int id : {kRevolutionSprite, kOpenPointSprite, kUpgradeSprite, kTributeSprite})
        EXPECT_FALSE(Shown(id)) << id << " plays once";
}

TEST_F(GameWndMarksTest, ChuanSanHuEndsWithItsEventOrShowsTheResultAtOnce) {
    ASSERT_TRUE(CreateTable());
    wnd->Marks().ShowChuanSanHuMark();
    // At my seat, as the other seat texts stand there.
    Tick(1000);
    EXPECT_EQ(Count(kChuanSanHuSprite), 1);

    // A theme without the animation: the result pane follows at once.
    TempFolder theme;
    // The section of 串三户 (GBK) under another name.
    app.themeFile =
        ThemeVariant(theme, "[SPRITE_\xB4\xAE\xC8\xFD\xBB\xA7]", "[SPRITE_unused]").c_str();
    wnd->DestroyWindow();
    ASSERT_TRUE(CreateTable());
    wnd->Marks().ShowChuanSanHuMark();
    EXPECT_NE(wnd->FindSpritePos(501), nullptr) << "the result pane";
    EXPECT_EQ(Sprite(kChuanSanHuSprite), nullptr);
}

TEST_F(GameWndMarksTest, NamedSpritesAreReusedCentredOrRefused) {
    ASSERT_TRUE(CreateTable());
    const POSITION wait = wnd->FindSpritePos(kWaitSprite);
    EXPECT_EQ(wnd->Marks().AddSpriteByName("等待", kWaitSprite, TRUE, 0), wait);
    EXPECT_TRUE(Shown(kWaitSprite));
    const POSITION another = wnd->Marks().AddSpriteByName("等待", 4321, FALSE, 0);
    ASSERT_NE(another, nullptr);
    const SIZE size = SizeOf(4321);
    EXPECT_TRUE(wnd->GetSpriteAt(another)->pLine->m_from.IsEqual(-size.cx / 2, -size.cy / 2, 4));
    EXPECT_EQ(wnd->Marks().AddSpriteByName("没有", 4322, TRUE, 0), nullptr);
    EXPECT_EQ(wnd->Marks().AddSpriteByName(nullptr, 4323, TRUE, 0), nullptr);
    EXPECT_EQ(wnd->Marks().AddSpriteByName("", 4324, TRUE, 0), nullptr);
}

TEST_F(GameWndMarksTest, TextSpritesStopAtTheFirstThatCannotBeMade) {
    TempFolder theme;
    // The shuffle's section (洗牌, GBK) under another name.
    app.themeFile = ThemeVariant(theme, "[SPRITE_\xCF\xB4\xC5\xC6]", "[SPRITE_unused]").c_str();
    ASSERT_TRUE(CreateTable());
    EXPECT_NE(Sprite(kFlashSprite), nullptr); // before the shuffle
    EXPECT_EQ(Sprite(kShuffleSprite), nullptr);
    EXPECT_EQ(Sprite(kRevolutionSprite), nullptr); // after it
    EXPECT_FALSE(wnd->Marks().CreateTextSprites());
    // The table still opened.
    EXPECT_TRUE(wnd->IsReceiveReady());
}

TEST_F(GameWndMarksTest, ACardFliesBetweenTwoOtherSeats) {
    ASSERT_TRUE(CreateTable());
    wnd->Fields().bResortPending = TRUE;
    ASSERT_TRUE(wnd->FlyCards(2, 4, 17, 77));
    EXPECT_FALSE(wnd->Fields().bResortPending);
    Tick(200);
    EXPECT_EQ(Count(77), 1);
    // Two cards swapped between others: only the last reports.
    ASSERT_TRUE(wnd->SwapFlyCards(1, 5, 3, 30, 78));
    Tick(200);
    EXPECT_EQ(Count(78), 1);
    // Not a card, the same seat twice, or no seat: nothing flies.
    EXPECT_FALSE(wnd->FlyCards(2, 4, 999, 79));
    EXPECT_FALSE(wnd->FlyCards(2, 2, 5, 79));
    EXPECT_FALSE(wnd->SwapFlyCards(1, 5, 8, 30, 79));
    Tick(200);
    EXPECT_EQ(Count(79), 0);
}

TEST_F(GameWndMarksTest, AFlightIntoMyHandGoesThroughTheTableCardsAndStaysThere) {
    ASSERT_TRUE(CreateTable());
    ASSERT_TRUE(wnd->FlyCards(3, 0, 40, 81));
    EXPECT_TRUE(wnd->Fields().bResortPending) << "a card joined my hand";
    Tick(200);
    EXPECT_EQ(Count(81), 1);
    ASSERT_EQ(wnd->Hands().GetHand().size(), 1u);
    EXPECT_EQ(wnd->Hands().GetHand().front().nCard, 40);
}

TEST_F(GameWndMarksTest, TributeCardsFlySideBySideAndTheLastReports) {
    ASSERT_TRUE(CreateTable());
    const int cards[] = {12, 51, 52};
    EXPECT_EQ(wnd->IntributeFlyCard(1, cards, 3, 4), 1);
    EXPECT_EQ(wnd->Fields().nExpectedTransfers, 1);
    Tick(200);
    EXPECT_EQ(Count(kTransferLandedEnd), 1);
    // Broken requests are refused and logged.
    EXPECT_EQ(wnd->IntributeFlyCard(1, nullptr, 3, 4), 0);
    EXPECT_EQ(wnd->IntributeFlyCard(1, cards, 0, 4), 0);
    EXPECT_EQ(wnd->IntributeFlyCard(1, cards, 3, 9), 0);
    const int bad[] = {12, 400};
    EXPECT_EQ(wnd->IntributeFlyCard(1, bad, 2, 4), 0);
    EXPECT_TRUE(Logged("IntributeFlyCard, line:"));
    Tick(200);
    EXPECT_EQ(Count(kTransferLandedEnd), 1);
}

} // namespace
} // namespace table_test
