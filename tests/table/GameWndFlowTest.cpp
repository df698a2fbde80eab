// The flow display driven as the record handlers drive it: a whole deal at
// the deal window's pace, the turn clock, and floating notices.

#include "DrawnWords.h"
#include "TableDealKit.h"
#include "TableWindowKit.h"
#include "platform/display/Display.h"
#include "platform/images/PngFile.h"
#include "platform/system/Trace.h"

namespace table_test {
namespace {

// Keeps the seat of every dealt card as it reaches the table, and the end
// event of every sprite while running it: the shuffle's end starts the deal.
class DealTableWnd : public TestTableWnd {
public:
    std::vector<int> dealtSeats;

    void OnSpriteEnd(POSITION pos, int nParam) override {
        ends->push_back(nParam);
        CGameWnd::OnSpriteEnd(pos, nParam);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DEAL_CARD)
            dealtSeats.push_back(int(lParam));
        return TestTableWnd::WindowProc(message, wParam, lParam);
    }
};

class GameWndFlowTest : public WithDeal<TableWindowTest> {
protected:
    static constexpr int kDigitWidth = 8; // a cell of the theme's digit strip
    // Columns of the clock's rectangle, as drawn, that hold digit ink.
    int ClockInkColumns() {
        const std::string path = SaveWindowSheet("clock_last_seconds.png");
        std::string error;
        const std::string bytes = ReadFileBytes(path);
        platform::PixelImage image;
        EXPECT_TRUE(platform::DecodePng(bytes.data(), bytes.size(), image, &error)) << error;
        const CRect r = wnd->GetSpriteRect(wnd->FindSpritePos(kClockSprite));
        int columns = 0;
        for (int x = std::max(0, int(r.left)); x < r.right && x < image.width; ++x) {
            bool ink = false;
            for (int y = std::max(0, int(r.top)); y < r.bottom && y < image.height; ++y)
                ink = ink || (image.At(x, y) & 0xFFFFFF) == 0x141414;
            columns += ink;
        }
        return columns;
    }
    bool BackShown(int i) { return Shown(kDeckSpriteBase + i); }
    int BacksShown() {
        int shown = 0;
        for (int i = 0; i < kDeckSize; ++i)
            shown += BackShown(i);
        return shown;
    }
    // My deal of 36 cards handed over and its shuffle played: the deck lies
    // on the table and the deal is under way.
    DealTableWnd* StartDeal() {
        auto* table = new DealTableWnd;
        table->ends = &ends;
        EXPECT_TRUE(CreateTable(table));
        EXPECT_TRUE(StartDealRecord());
        return table;
    }
};

TEST_F(GameWndFlowTest, ADealOf216CardsUsesTheDeckBackToFrontAndFillsMyHand) {
    DealTableWnd* table = StartDeal();
    // The tick at which each back of the deck went.
    std::vector<int> hiddenAt(kDeckSize, -1);
    int ticks = 0;
    while (!wnd->IsInputAllowed() && ticks < 5000) {
        Tick();
        ++ticks;
        for (int i = 0; i < kDeckSize; ++i)
            if (hiddenAt[i] < 0 && !BackShown(i))
                hiddenAt[i] = ticks;
    }
    ASSERT_TRUE(wnd->IsInputAllowed()) << "the deal never ended";
    EXPECT_TRUE(wnd->IsReceiveReady());
    ASSERT_EQ(table->dealtSeats.size(), 216u);
    EXPECT_EQ(BacksShown(), 0) << "every back of the deck went";
    EXPECT_EQ(wnd->Hands().GetHand().size(), 36u);
    for (int i = 0; i + 1 < kDeckSize; ++i)
        EXPECT_GE(hiddenAt[i], hiddenAt[i + 1]) << "back " << i << " went before back " << i + 1;

    // Backs fly to the other seats on every fifth card but the first ones.
    int flights = 0;
    for (int k = 0; k < 216; ++k) {
        const int count = 215 - k;
        if (table->dealtSeats[k] != 0 && count % 5 == 4 && count != 214)
            ++flights;
    }
    Tick(20);
    EXPECT_GT(flights, 0);
    EXPECT_EQ(Count(kDealFlightEnd), flights);

    // A card after the deal changes nothing.
    wnd->SendMessage(WM_DEAL_CARD, 7, 0);
    EXPECT_EQ(BacksShown(), 0);
    EXPECT_EQ(wnd->Hands().GetHand().size(), 36u);
}

TEST_F(GameWndFlowTest, ATableDestroyedMidDealLetsTheSocketReadAgain) {
    StartDeal();
    Tick(30);
    ASSERT_FALSE(wnd->IsInputAllowed()) << "the deal is still under way";
    ASSERT_TRUE(client.ReceiveGate().IsHeld());
    wnd->DestroyWindow();
    wnd = nullptr;
    EXPECT_FALSE(client.ReceiveGate().IsHeld());
    ASSERT_FALSE(client.holds.empty());
    EXPECT_FALSE(client.holds.back()) << "the socket reads again";
    // The next table's hold is timed from its own start, not the old one's.
    clock.Advance(CReceiveGate::kLongestHoldMs);
    client.ReceiveGate().Hold(CReceiveGate::kRecord);
    EXPECT_FALSE(client.ReceiveGate().IsOverdue());
    client.ReceiveGate().Release(CReceiveGate::kRecord);
}

std::vector<std::string> g_gateErrors;

void KeepGateErrors(platform::TraceChannel channel, int level, LPCSTR line) {
    if (channel == platform::TraceChannel::kRecords && level == platform::kTraceError)
        g_gateErrors.push_back(line);
}

TEST_F(GameWndFlowTest, AForgottenReleaseIsToldWhileTheTableWaits) {
    ASSERT_TRUE(CreateTable());
    // A record whose presentation never releases the gate.
    client.ReceiveGate().Hold(CReceiveGate::kRecord);
    // Outside a test run the table traces it once and goes on waiting.
    setenv("PELLOR_ASSERTS", "0", 1);
    platform::ReadTraceSettings();
    g_gateErrors.clear();
    const platform::TraceListener previous = platform::SetTraceListener(KeepGateErrors);
    Tick(int(CReceiveGate::kLongestHoldMs / 10) - 10);
    const size_t inTime = g_gateErrors.size();
    Tick(int(2 * CReceiveGate::kWatchPeriodMs / 10) + 20);
    platform::SetTraceListener(previous);
    setenv("PELLOR_ASSERTS", "1", 1);
    platform::ReadTraceSettings();
    EXPECT_EQ(inTime, 0u) << "nothing is told while the deal may still be running";
    ASSERT_EQ(g_gateErrors.size(), 1u) << "the watch tells it once, without a release";
    EXPECT_NE(g_gateErrors[0].find("some path forgot its release"), std::string::npos)
        << g_gateErrors[0];
    EXPECT_TRUE(client.ReceiveGate().IsHeld());
    client.ReceiveGate().ReleaseAbandoned();
}

TEST_F(GameWndFlowTest, TheFourthDealtCardTakesTheLastBack) {
    ASSERT_TRUE(StartDeal()->dealtSeats.empty());
    for (int k = 0; k < 3; ++k)
        wnd->SendMessage(WM_DEAL_CARD, WPARAM(-1), 1);
    EXPECT_TRUE(BackShown(53));
    wnd->SendMessage(WM_DEAL_CARD, WPARAM(-1), 1);
    EXPECT_FALSE(BackShown(53));
    EXPECT_EQ(BacksShown(), 53);
    // A card for no seat is refused and counts nothing: four more cards
    // take the next back, not three.
    wnd->SendMessage(WM_DEAL_CARD, WPARAM(-1), 9);
    for (int k = 0; k < 3; ++k)
        wnd->SendMessage(WM_DEAL_CARD, WPARAM(-1), 1);
    EXPECT_TRUE(BackShown(52));
    wnd->SendMessage(WM_DEAL_CARD, WPARAM(-1), 1);
    EXPECT_FALSE(BackShown(52));
    EXPECT_TRUE(RunDealOut());
}

TEST_F(GameWndFlowTest, MyCardsStayBacksForAWatcherWhoMayNotSeeThem) {
    client.m_bWatcher = TRUE;
    theBoard.SetWatcherSees(0, false);
    StartDeal();
    ASSERT_TRUE(RunDealOut());
    ASSERT_EQ(wnd->Hands().GetHand().size(), 36u);
    SPRITEINFO* s = wnd->GetSpriteAt(wnd->Hands().GetHand().front().pos);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->posImage, wnd->Hands().GetCardBackImage());
}

TEST_F(GameWndFlowTest, TheClockRunsDownAndEndsOnce) {
    ASSERT_TRUE(CreateTable());
    wnd->StartCountdown(0, 0, 4, 15, kClockEventMyTurn);
    ASSERT_TRUE(Shown(kClockSprite));
    // Centred on the point.
    const SIZE size = wnd->GetImageList().GetAt(Sprite(kClockSprite)->posImage)->GetSize(nullptr);
    EXPECT_EQ(At(kClockSprite).x, kWidth / 2 - size.cx / 2);
    EXPECT_EQ(At(kClockSprite).y, kHeight / 2 - size.cy / 2);
    EXPECT_EQ(Sprite(kClockSprite)->z, kClockLayer) << "it keeps its place above the panes";
    Tick(100 * 4);
    EXPECT_FALSE(Shown(kClockCounterSprite)) << "eleven seconds are left";
    Tick(100 * 2);
    EXPECT_TRUE(Shown(kClockCounterSprite));
    EXPECT_EQ(Sprite(kClockCounterSprite)->nUser[1], 9);
    // One number on the clock: the counter's digits, not the face's beside them.
    const int ink = ClockInkColumns();
    EXPECT_GT(ink, 0) << "the counter shows the seconds";
    EXPECT_LE(ink, 2 * kDigitWidth) << "columns of digit ink on the clock: two digits at most";
    EXPECT_EQ(Count(kClockEventMyTurn), 0);
    Tick(100 * 12);
    EXPECT_EQ(Count(kClockEventMyTurn), 1);
    Tick(100 * 5);
    EXPECT_EQ(Count(kClockEventMyTurn), 1);
}

TEST_F(GameWndFlowTest, OnlyMyOwnTurnShowsTheLastSeconds) {
    ASSERT_TRUE(CreateTable());
    for (int event = kClockEventMyTurn + 1; event <= kClockEventLast; ++event) {
        wnd->StartCountdown(100, 100, 0, 3, event);
        Tick(100 * 4);
        EXPECT_FALSE(Shown(kClockCounterSprite)) << event;
        EXPECT_EQ(Count(event), 1) << event;
    }
}

TEST_F(GameWndFlowTest, StoppingTheClockHidesItWithoutATimeOut) {
    ASSERT_TRUE(CreateTable());
    wnd->StartCountdown(0, 0, 4, 5, kClockEventMyTurn);
    Tick(100);
    EXPECT_TRUE(Shown(kClockCounterSprite));
    wnd->StopCountdown();
    EXPECT_FALSE(Shown(kClockSprite));
    EXPECT_FALSE(Shown(kClockCounterSprite));
    Tick(100 * 6);
    EXPECT_EQ(Count(kClockEventMyTurn), 0);
    // A new clock replaces the old one rather than adding to it.
    wnd->StartCountdown(0, 0, 4, 2, kClockEventMyTurn);
    wnd->StartCountdown(0, 0, 4, 2, kClockEventMyTurn);
    Tick(100 * 4);
    EXPECT_EQ(Count(kClockEventMyTurn), 1);
}

TEST_F(GameWndFlowTest, ASecondNoticeWaitsUntilItStartsTwoLinesBelowTheFirst) {
    ASSERT_TRUE(CreateTable());
    wnd->ShowNotice("第一条");
    const int first = DrawnNotice(*wnd, "第一条");
    EXPECT_EQ(first, kFirstNoticeId);
    const int start = wnd->GetSpriteRect(wnd->FindSpritePos(first)).top;
    Tick(2);
    wnd->ShowNotice("第二条");
    wnd->ShowNotice("第一条"); // up already: not said again
    EXPECT_EQ(DrawnNotices(*wnd).size(), 1u) << "too close to the first to start";
    int ticks = 0;
    while (DrawnNotice(*wnd, "第二条") == -1 && ticks++ < layout.m_nTextSpriteDelay + 10)
        Tick(1);
    const int second = DrawnNotice(*wnd, "第二条");
    ASSERT_NE(second, -1);
    ASSERT_NE(Sprite(first), nullptr) << "the first still rises";
    const CRect firstRect = wnd->GetSpriteRect(wnd->FindSpritePos(first));
    const CRect secondRect = wnd->GetSpriteRect(wnd->FindSpritePos(second));
    EXPECT_EQ(secondRect.top, start) << "the second starts where the first did";
    EXPECT_GE(secondRect.top, firstRect.top + 2 * secondRect.Height());
    EXPECT_LT(secondRect.top, firstRect.top + 2 * secondRect.Height() + 4) << "and no later";
    EXPECT_EQ(Sprite(second)->z, 600);
    // Both rise and end by themselves, and the repeat never showed.
    Tick(layout.m_nTextSpriteDelay + 10);
    EXPECT_EQ(Count(kNoticeEnd), 2);
    EXPECT_EQ(Sprite(first), nullptr);
    EXPECT_EQ(Sprite(second), nullptr);
}

TEST_F(GameWndFlowTest, ANoticeAfterTheLastEndedStartsAtTheTopAgain) {
    ASSERT_TRUE(CreateTable());
    wnd->ShowNotice("一");
    const CRect firstRect = wnd->GetSpriteRect(wnd->FindSpritePos(DrawnNotice(*wnd, "一")));
    Tick(layout.m_nTextSpriteDelay + 10);
    wnd->ShowNotice("一");
    const CRect again = wnd->GetSpriteRect(wnd->FindSpritePos(DrawnNotice(*wnd, "一")));
    EXPECT_EQ(again.top, firstRect.top);
}

TEST_F(GameWndFlowTest, NoticeIdsNeverTakeAnotherSpritesId) {
    ASSERT_TRUE(CreateTable());
    std::vector<int> ids;
    for (int i = 0; i < 3; ++i) {
        wnd->ShowNotice("提示");
        ids.push_back(DrawnNotice(*wnd, "提示"));
        Tick(layout.m_nTextSpriteDelay + 10);
    }
    // Each notice ended before the next: still each one has an id of its own
    // block, never a low id that a mark or pane may hold.
    for (int id : ids) {
        EXPECT_GE(id, kFirstNoticeId);
        EXPECT_LE(id, kLastNoticeId);
    }
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_NE(ids[1], ids[2]);
    // Empty text shows nothing.
    wnd->ShowNotice("");
    wnd->ShowNotice(nullptr);
    EXPECT_TRUE(DrawnNotices(*wnd).empty());
}

} // namespace
} // namespace table_test
