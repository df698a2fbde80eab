// Seat marks, text animations and card flights on the table window, shown
// by the records and the client's calls: the seats turned for a game, marks
// standing clear of the cards and panes the table shows, and the flights
// between seats. The marks' own behaviour is in TableMarksTest.cpp.

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
    // Where the drawn cards of the codes lie (laid cards have no sprite id).
    std::vector<CRect> DrawnCards(const int32_t (&codes)[6]) {
        std::vector<CRect> rects;
        for (int c = 0; c < CSpriteWnd::kChannels; ++c) {
            const POSITION pos = wnd->GetChannel(c).posSprite;
            const SPRITEINFO* s = pos != nullptr ? wnd->GetSpriteAt(pos) : nullptr;
            if (s != nullptr && s->nId == 0 && std::count(codes, codes + 6, s->nUser[0]) > 0)
                rects.push_back(wnd->GetSpriteRect(pos));
        }
        return rects;
    }
};

constexpr int kMultiplePane = 517; // + view

// Points compared and printed as pairs.
std::pair<int, int> P(POINT p) {
    return {p.x, p.y};
}

TEST_F(GameWndMarksTest, TheChosenDirectionTurnsEveryPartAtTheGamesStartAndSurvivesASeatChange) {
    app.clockOrderNext = 1;
    ASSERT_TRUE(CreateTable());
    Deliver(TrustRecord(1, 1, 1));
    EXPECT_TRUE(Shown(kTrustMark + 1)) << "the running game keeps its direction";
    Deliver(TrustRecord(1, 0, 2));

    wnd->TurnSeatsForGame();
    Deliver(TrustRecord(1, 1, 3));
    EXPECT_TRUE(Shown(kTrustMark + 5)) << "seat 1 now sits on my other side";
    EXPECT_FALSE(Shown(kTrustMark + 1));
    Deliver(TrustRecord(1, 0, 4));

    // I move to seat 2: the seats still run the chosen way round.
    client.m_nMySeat = 2;
    wnd->OnChangeSeatScene();
    EXPECT_EQ(wnd->Viewpoint().nMySeat, 2);
    Deliver(TrustRecord(1, 1, 5));
    EXPECT_TRUE(Shown(kTrustMark + 1));
    Deliver(TrustRecord(3, 1, 1));
    EXPECT_TRUE(Shown(kTrustMark + 5));
}

TEST_F(GameWndMarksTest, TheClientsSeatCallShowsAndHidesTheWaitingMark) {
    ASSERT_TRUE(CreateTable());
    wnd->ShowSeatMark(2, TRUE);
    EXPECT_TRUE(Shown(kWaitSprite));
    wnd->ShowSeatMark(2, FALSE);
    EXPECT_FALSE(Shown(kWaitSprite));
}

TEST_F(GameWndMarksTest, TheExchangeMarkIsCentredOnThePlateInsideTheTable) {
    ASSERT_TRUE(CreateTable());
    const SIZE plate = layout.m_sizeAvatar;
    wnd->ShowExchangeMark(3);
    EXPECT_EQ(P(At(kExchangeSprite)),
              P(Centred(PlacePlus(3, plate.cx / 2, plate.cy / 2), kExchangeSprite)));
    // Wider than the plate at the table's edge: moved in, as high as before.
    wnd->ShowExchangeMark(1);
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
    Deliver(*PlayToNext(2, kActionPass, {}));
    EXPECT_EQ(P(At(kPassMark + 2)), P(PlacePlus(2, 201, 73)));
    // Once the seat has laid a wide play there, its pass mark stands beside
    // it, near its place, and a text shown over the play moves off it too.
    const int32_t play[] = {0, 13, 26, 39, 1, 14};
    wnd->LayPlay(2, play, 6, FALSE, 20);
    Tick(20);
    const std::vector<CRect> cards = DrawnCards(play);
    ASSERT_EQ(cards.size(), 6u);
    Deliver(*PlayToNext(2, kActionPass, {}));
    wnd->ShowSeatMark(2, TRUE);
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
    theBoard.GetTableHead().nMultiple[4] = 2;
    wnd->OnChangeSeatScene(); // the seats' panes, as a seat change shows them
    ASSERT_TRUE(Shown(kMultiplePane + 4));
    const POINT pane = At(kMultiplePane + 4);
    tagSTARTMSG start;
    InitStartMsg(start);
    start.nSeat = 4;
    start.nMultiple = 2;
    Deliver(start);
    EXPECT_FALSE(meets(rect(kReadyMark + 4), rect(kMultiplePane + 4)));
    for (int seat : {0, 1, 2, 3, 5}) {
        start.nSeat = seat;
        Deliver(start); // the last one starts the game
    }
    ASSERT_TRUE(Shown(kMultiplePane + 4));
    EXPECT_EQ(P(At(kMultiplePane + 4)), P(pane));
}

TEST_F(GameWndMarksTest, ChuanSanHuEndsWithItsEventOrShowsTheResultAtOnce) {
    // My side takes the first three places.
    tagPLACESMSG places;
    InitPlacesMsg(places);
    const int order[kSeatCount] = {0, 2, 4, 1, 3, 5};
    std::copy(order, order + kSeatCount, places.nPlaces);
    places.nSeat = 9;
    ASSERT_TRUE(CreateTable());
    Deliver(places);
    Deliver(GameOver(0));
    // At my seat, as the other seat texts stand there.
    Tick(1000);
    EXPECT_EQ(Count(kChuanSanHuEnd), 1);

    // A theme without the animation: the result pane follows at once.
    TempFolder theme;
    // The section of 串三户 (GBK) under another name.
    app.themeFile =
        ThemeVariant(theme, "[SPRITE_\xB4\xAE\xC8\xFD\xBB\xA7]", "[SPRITE_unused]").c_str();
    wnd->DestroyWindow();
    ASSERT_TRUE(CreateTable());
    Deliver(places);
    Deliver(GameOver(0));
    EXPECT_NE(wnd->FindSpritePos(501), nullptr) << "the result pane";
    EXPECT_EQ(Sprite(kChuanSanHuSprite), nullptr);
}

TEST_F(GameWndMarksTest, ATableWhoseThemeLacksATextSpriteStillOpens) {
    TempFolder theme;
    // The shuffle's section (洗牌, GBK) under another name.
    app.themeFile = ThemeVariant(theme, "[SPRITE_\xCF\xB4\xC5\xC6]", "[SPRITE_unused]").c_str();
    ASSERT_TRUE(CreateTable());
    EXPECT_EQ(Sprite(kShuffleSprite), nullptr);
    EXPECT_TRUE(wnd->IsReceiveReady());
}

TEST_F(GameWndMarksTest, ACardFliesBetweenTwoOtherSeats) {
    ASSERT_TRUE(CreateTable());
    ASSERT_TRUE(wnd->FlyCards(2, 4, 17, 77));
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
    Tick(200);
    EXPECT_EQ(Count(81), 1);
    ASSERT_EQ(wnd->Hands().GetHand().size(), 1u);
    EXPECT_EQ(wnd->Hands().GetHand().front().nCard, 40);
}

TEST_F(GameWndMarksTest, TributeCardsFlySideBySideAndTheLastReports) {
    ASSERT_TRUE(CreateTable());
    const int cards[] = {12, 51, 52};
    EXPECT_EQ(wnd->IntributeFlyCard(1, cards, 3, 4), 1);
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
