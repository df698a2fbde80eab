// The seat marks and text animations on their own: which sprite, picture
// and layer each mark takes, where it stands by the seat's view, which
// replaces which, what flashes and what plays once; the theme's named
// sprites reused, centred or refused.

#include "TableMarksKit.h"

namespace table_test {
namespace {

// Points compared and printed as pairs.
std::pair<int, int> P(POINT p) {
    return {p.x, p.y};
}

TEST_F(TableMarksTest, TrustMarksSitOnThePlateAndReplaceEachOther) {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        const int view = seat; // I sit at seat 0
        marks.ShowTrustMark(seat, kTrustOwn);
        ASSERT_TRUE(Shown(kTrustMark + view)) << seat;
        EXPECT_EQ(Sprite(kTrustMark + view)->z, 200);
        marks.ShowTrustMark(seat, kTrustExit);
        EXPECT_FALSE(Shown(kTrustMark + view));
        EXPECT_TRUE(Shown(kTrustExitMark + view));
        marks.ShowTrustMark(seat, kTrustBroken);
        EXPECT_FALSE(Shown(kTrustExitMark + view));
        EXPECT_TRUE(Shown(kBreakMark + view));
    }
    marks.ShowTrustMark(3, 0);
    EXPECT_FALSE(Shown(kBreakMark + 3));
    EXPECT_TRUE(Shown(kBreakMark + 2));
    marks.ClearTrustMarks();
    for (int view = 0; view < kSeatCount; ++view)
        EXPECT_FALSE(Shown(kBreakMark + view)) << view;
}

TEST_F(TableMarksTest, ActionMarksArePlacedByViewAndOneOfThreeShows) {
    for (int seat = 0; seat < kSeatCount; ++seat) {
        marks.ShowActionMark(seat, 1);
        const POINT pass = At(kPassMark + seat);
        marks.ShowActionMark(seat, 2);
        EXPECT_FALSE(Shown(kPassMark + seat));
        EXPECT_TRUE(Shown(kLetMark + seat));
        marks.ShowActionMark(seat, 8);
        EXPECT_FALSE(Shown(kLetMark + seat));
        EXPECT_TRUE(Shown(kGaveUpMark + seat));
        // The three stand at one place.
        EXPECT_EQ(P(At(kGaveUpMark + seat)), P(pass)) << seat;
        marks.ShowActionMark(seat, 0);
        EXPECT_FALSE(Shown(kGaveUpMark + seat));
    }
    // Pass wins over let when both bits come.
    marks.ShowActionMark(2, 1 | 2);
    EXPECT_TRUE(Shown(kPassMark + 2));
    EXPECT_FALSE(Shown(kLetMark + 2));
    // A seat outside the table marks nothing.
    marks.ShowActionMark(6, 1);
    marks.ShowTrustMark(-1, kTrustOwn);
    EXPECT_EQ(Sprite(kPassMark + 6), nullptr);
    // A mark stands where the table finds it room.
    const POINT own = At(kPassMark + 2);
    host.shift = POINT{30, -20};
    marks.ShowActionMark(2, 1);
    EXPECT_EQ(P(At(kPassMark + 2)), P(POINT{own.x + 30, own.y - 20}));
}

TEST_F(TableMarksTest, PointMarksFlashAndShaoFlashesOnlyWhenAsked) {
    marks.MarkOpenPoint(4, TRUE);
    EXPECT_TRUE(Shown(kFlashSprite));
    Run(3000); // the flash plays once and goes
    EXPECT_FALSE(Shown(kFlashSprite));
    marks.MarkShao(1, TRUE, FALSE);
    EXPECT_FALSE(Shown(kFlashSprite));
    marks.MarkRevolution(2, TRUE);
    marks.MarkNowPoint(5, TRUE);
    marks.MarkPrePoint(0, TRUE);
    marks.MarkOpenPoint(4, FALSE);
    EXPECT_FALSE(Shown(kOpenPointMark + 4));
    // Clearing the seats takes the point and action marks but keeps trusteeship.
    marks.ShowTrustMark(1, kTrustOwn);
    marks.ShowActionMark(3, 1);
    marks.ShowPlaceMark(2, 0);
    marks.ClearAllSeats();
    for (int id : {kShaoMark + 1, kRevolutionMark + 2, kNowPointMark + 5, kPrePointMark + 0,
                   kPassMark + 3, kPlaceMark + 2})
        EXPECT_FALSE(Shown(id)) << id;
    EXPECT_TRUE(Shown(kTrustMark + 1));
}

TEST_F(TableMarksTest, PlaceMarksShowThePlaceEvenWhenTheViewPlacedOtherwiseBefore) {
    marks.ShowPlaceMark(5, 2);
    ASSERT_TRUE(Shown(kPlaceMark + 5));
    EXPECT_EQ(Sprite(kPlaceMark + 5)->z, 200) << "over the cards it may meet";
    auto pictureOf = [&](int id) { return wnd.GetImageList().GetAt(Sprite(id)->posImage)->m_nId; };
    const int third = pictureOf(kPlaceMark + 5);
    // The next game the same view finishes first: the first place's picture.
    marks.ClearPlaceMarks();
    marks.ShowPlaceMark(5, 0);
    ASSERT_TRUE(Shown(kPlaceMark + 5));
    EXPECT_NE(pictureOf(kPlaceMark + 5), third);
    // Shown again without clearing, with yet another place.
    const int first = pictureOf(kPlaceMark + 5);
    marks.ShowPlaceMark(5, 4);
    EXPECT_NE(pictureOf(kPlaceMark + 5), first);
    EXPECT_NE(pictureOf(kPlaceMark + 5), third);
    marks.ShowPlaceMark(0, 1);
    EXPECT_EQ(Sprite(kPlaceMark + 0)->z, 200);
    // Places and seats outside the table do nothing.
    marks.ShowPlaceMark(2, 6);
    marks.ShowPlaceMark(7, 1);
    EXPECT_EQ(Sprite(kPlaceMark + 2), nullptr);
    marks.ClearPlaceMarks();
    EXPECT_FALSE(Shown(kPlaceMark + 5));
    EXPECT_FALSE(Shown(kPlaceMark + 0));
}

TEST_F(TableMarksTest, ReadyMarksClearTogetherAndTheWaitingMarkIsForOthersAndForWatchers) {
    marks.ShowReadyMark(2, FALSE);
    marks.ShowReadyMark(4, FALSE);
    EXPECT_TRUE(Shown(kReadyMark + 4));
    marks.ShowReadyMark(0, TRUE);
    EXPECT_FALSE(Shown(kReadyMark + 2));
    EXPECT_FALSE(Shown(kReadyMark + 4));

    marks.ShowWaitMark(0, FALSE);
    EXPECT_FALSE(Shown(kWaitSprite)) << "a player does not wait for himself";
    marks.ShowWaitMark(3, FALSE);
    ASSERT_TRUE(Shown(kWaitSprite));
    marks.ShowWaitMark(4, FALSE);
    marks.ShowWaitMark(4, TRUE);
    EXPECT_FALSE(Shown(kWaitSprite));
    fields.viewpoint.bWatcher = TRUE;
    marks.ShowWaitMark(0, FALSE);
    EXPECT_TRUE(Shown(kWaitSprite)) << "a watcher waits for my seat too";
}

TEST_F(TableMarksTest, TextAnimationsPlayOnceByView) {
    marks.ShowRevolutionMark(0);
    marks.ShowRevolutionMark(3);
    marks.ShowRevolutionMark(5);
    marks.ShowOpenPointMark(1);
    marks.PlayUpgradeAnim(2);
    // Only my own tribute is announced.
    marks.ShowTributeMark(2);
    EXPECT_FALSE(Shown(kTributeSprite));
    marks.ShowTributeMark(0);
    EXPECT_TRUE(Shown(kTributeSprite));
    Run(10000);
    for (int id : {kRevolutionSprite, kOpenPointSprite, kUpgradeSprite, kTributeSprite})
        EXPECT_FALSE(Shown(id)) << id << " plays once";
}

TEST_F(TableMarksTest, NamedSpritesAreReusedCentredOrRefused) {
    ASSERT_TRUE(marks.CreateTextSprites());
    const POSITION wait = wnd.FindSpritePos(kWaitSprite);
    EXPECT_EQ(marks.AddSpriteByName("等待", kWaitSprite, TRUE, 0), wait);
    EXPECT_TRUE(Shown(kWaitSprite));
    const POSITION another = marks.AddSpriteByName("等待", 4321, FALSE, 0);
    ASSERT_NE(another, nullptr);
    const SIZE size = SizeOf(4321);
    EXPECT_TRUE(wnd.GetSpriteAt(another)->pLine->m_from.IsEqual(-size.cx / 2, -size.cy / 2, 4));
    EXPECT_EQ(marks.AddSpriteByName("没有", 4322, TRUE, 0), nullptr);
    EXPECT_EQ(marks.AddSpriteByName(nullptr, 4323, TRUE, 0), nullptr);
    EXPECT_EQ(marks.AddSpriteByName("", 4324, TRUE, 0), nullptr);

    // A burn needs two seats: the text sprites made with the table are not
    // played for one seat or a seat outside it, and nothing new is made.
    const int before = wnd.GetImageList().GetCount();
    marks.PlayBurnCardAnim(2, 2);
    marks.PlayBurnCardAnim(-1, 2);
    marks.PlayBurnCardAnim(2, 6);
    EXPECT_FALSE(Shown(kBurnOneSprite));
    EXPECT_EQ(wnd.GetImageList().GetCount(), before);
}

TEST_F(TableMarksTest, TextSpritesStopAtTheFirstThatCannotBeMade) {
    TempFolder theme;
    // The shuffle's section (洗牌, GBK) under another name.
    UseTheme(ThemeVariant(theme, "[SPRITE_\xCF\xB4\xC5\xC6]", "[SPRITE_unused]"));
    EXPECT_FALSE(marks.CreateTextSprites());
    EXPECT_NE(Sprite(kFlashSprite), nullptr); // before the shuffle
    EXPECT_EQ(Sprite(kShuffleSprite), nullptr);
    EXPECT_EQ(Sprite(kRevolutionSprite), nullptr); // after it
}

TEST_F(TableMarksTest, TheCleanSweepHoldsTheResultUntilItsMarkEndsAndATableStartedAfreshDropsIt) {
    const tagGAMEOVERMSG gameOver{};
    marks.ShowCleanSweep(gameOver);
    ASSERT_TRUE(Shown(kChuanSanHuSprite));
    EXPECT_FALSE(panes.Called("ShowResultPane")) << "held back while the mark plays";
    Run(3000);
    EXPECT_EQ(panes.Count("ShowResultPane"), 1);

    // A seat change or a seat left while the mark plays: the table starts
    // afresh, without the finished game's result.
    panes.calls.clear();
    marks.ShowCleanSweep(gameOver);
    ASSERT_TRUE(Shown(kChuanSanHuSprite));
    marks.StopTableAnimations();
    Run(3000);
    EXPECT_FALSE(Shown(kChuanSanHuSprite));
    EXPECT_FALSE(panes.Called("ShowResultPane"));
}

} // namespace
} // namespace table_test
