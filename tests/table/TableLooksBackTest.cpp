// The looks at what went before (the last round, the reel of the game's
// messages, the score history) against my turn: they close as my turn
// begins, so that the play to answer is in view; and one opened while my
// clock runs leaves my play in view and in reach on the default table and on
// the lowest the frame allows: a play button takes its click through it, my
// turn's clock shows over it, my hand with a card raised stays clear of it,
// and the history is kept above all of them.

#include "TableWindowKit.h"

#include <algorithm>

namespace table_test {
namespace {

constexpr int kReelPane = 502, kLastCardPane = 516;
constexpr int kMask = kActionTakeOut | kActionPass;
// The table window's client under the default 1024 x 734 frame and under the
// lowest frame the program allows (930 x 718), the chat pane shown.
const SIZE kTables[] = {{792, 702}, {698, 686}};

class TableLooksBackTest : public TableInputTest {
protected:
    void StartMyTurn() {
        MyTurn(kMask);
        wnd->UpdateActionButtons(kStatePlay, kMask, TRUE);
        wnd->ShowTurnClock(30, kClockEventMyTurn);
        Run(20);
    }
    CRect RectOf(int sprite) { return wnd->GetSpriteRect(wnd->FindSpritePos(sprite)); }
    // The highest point of my play: the shown play buttons, the clock, my
    // hand (a card of it raised).
    int MyPlayTopSeen() {
        int top = RectOf(kClockSprite).top;
        for (int button : kActionButtons)
            if (wnd->Button(button).IsVisible())
                top = std::min<int>(top, wnd->Button(button).GetRect().top);
        for (const HANDENTRY& e : wnd->Hands().GetHand())
            top = std::min<int>(top, wnd->GetSpriteRect(e.pos).top);
        return top;
    }
};

TEST_F(TableLooksBackTest, TheyCloseForMyTurnAndLeaveMyPlayInViewWhenOpenedInIt) {
    std::vector<int> codes;
    for (int i = 0; i < 30; ++i)
        codes.push_back(i * 7);
    GiveHand(codes);
    Command(kCmdReel);
    Command(kCmdPrevturn);
    Command(kCmdHistory);
    ASSERT_TRUE(Shown(kReelPane) && Shown(kLastCardPane) && app.historyShown);
    StartMyTurn();
    EXPECT_FALSE(Shown(kReelPane)) << "the reel closed as my turn began";
    EXPECT_FALSE(Shown(kLastCardPane));
    EXPECT_FALSE(app.historyShown);
    EXPECT_TRUE(wnd->Button(kBtnReel).IsVisible()) << "its button opens it again";
    EXPECT_FALSE(wnd->Button(kBtnReelOpen).IsVisible());

    for (SIZE size : kTables) {
        const std::string where = std::to_string(size.cx) + "x" + std::to_string(size.cy);
        Resize(size);
        StartMyTurn();
        Raise(codes[12]);
        Run(50);
        const int playTop = MyPlayTopSeen();
        Command(kCmdPrevturn);
        Command(kCmdReel);
        Run(400); // the reel's opening zoom
        ASSERT_TRUE(Shown(kReelPane) && Shown(kLastCardPane)) << where;
        EXPECT_LE(RectOf(kLastCardPane).bottom, playTop) << where << ": it fits above my play";
        for (int pane : {kReelPane, kLastCardPane}) {
            const CRect r = RectOf(pane);
            for (const HANDENTRY& e : wnd->Hands().GetHand()) {
                const CRect card = wnd->GetSpriteRect(e.pos);
                CRect both;
                EXPECT_FALSE(both.IntersectRect(&r, &card))
                    << where << ": pane " << pane << " covers card " << e.nCard;
            }
        }
        const CPoint clock = RectOf(kClockSprite).CenterPoint();
        EXPECT_EQ(wnd->SpriteAt(clock.x, clock.y), wnd->FindSpritePos(kClockSprite))
            << where << ": my clock shows over the panes";

        Command(kCmdHistory);
        ASSERT_TRUE(app.historyShown) << where;
        POINT line{0, playTop};
        wnd->ClientToScreen(&line);
        EXPECT_LE(app.historyLine, line.y) << where << ": the history stays above my play";
        EXPECT_GT(app.historyLine, line.y - 10) << where << ": and as low as it may";
        Command(kCmdHistory);

        // Pass is where the tall reel reaches over the play buttons on the
        // lower tables: the click is Pass's all the same.
        const size_t before = Plays().size();
        Click(wnd->Button(kBtnPass).GetRect().CenterPoint());
        ASSERT_EQ(Plays().size(), before + 1) << where << ": the click reached Pass";
        EXPECT_EQ(Plays().back().type, kActionPass) << where;
        Command(kCmdPrevturn);
        Command(kCmdReelOpen);
        theBoard.SetPlayCounter(theBoard.GetPlayCounter() + 1); // the table moved on
    }
}

} // namespace
} // namespace table_test
