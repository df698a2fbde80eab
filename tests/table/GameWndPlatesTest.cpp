// The seats' name plates in the table's background, and the whole table
// after a deal, saved for a person to look at.

#include "TableDealKit.h"
#include "TableWindowKit.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/WindowDc.h"

namespace table_test {
namespace {

constexpr uint32_t Rgb(COLORREF c) {
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

class GameWndPlatesTest : public WithDeal<TableWindowTest> {
protected:
    platform::Surface& BackSurface() {
        HGDIOBJ bits = GetCurrentObject(wnd->GetBackgroundDC()->m_hDC, OBJ_BITMAP);
        return *platform::SurfaceOfBitmap(static_cast<HBITMAP>(bits));
    }
    // The two name lines under a view's plate.
    CRect NameLines(int view) {
        const CSpritePos p = layout.m_posAvatar[view];
        const POINT at = Resolved(p.x, p.y, p.anchor);
        const int bottom = at.y + layout.m_sizeAvatar.cy;
        return CRect(at.x + 10, bottom + 3, at.x + layout.m_sizeAvatar.cx - 10, bottom + 33);
    }
    // The rows of the area holding pixels of the colour.
    std::vector<int> RowsOf(const CRect& area, COLORREF colour) {
        std::vector<int> rows;
        platform::Surface& s = BackSurface();
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if ((s.GetPixel(x, y) & 0xFFFFFF) == Rgb(colour)) {
                    rows.push_back(y);
                    break;
                }
        return rows;
    }
    static double Mean(const std::vector<int>& v) {
        double sum = 0;
        for (int x : v)
            sum += x;
        return v.empty() ? -1 : sum / double(v.size());
    }
};

TEST_F(GameWndPlatesTest, OpponentsNamesTakeTheSecondColour) {
    ASSERT_NE(layout.m_clrText, layout.m_clrText2);
    for (int seat = 0; seat < kSeatCount; ++seat)
        theBoard.SetUserInfo(seat, Named("player", ""));
    ASSERT_TRUE(CreateTable());
    for (int view = 0; view < kSeatCount; ++view) {
        const bool opponent = view % 2 == 1;
        const CRect lines = NameLines(view);
        EXPECT_EQ(RowsOf(lines, layout.m_clrText2).empty(), !opponent) << view;
        EXPECT_EQ(RowsOf(lines, layout.m_clrText).empty(), opponent) << view;
    }
}

TEST_F(GameWndPlatesTest, ANicknameTakesTheSecondLineAndABlankOneIsNone) {
    theBoard.SetUserInfo(0, Named("alone", " "));
    theBoard.SetUserInfo(2, Named("named", "nick"));
    ASSERT_TRUE(CreateTable());
    const CRect alone = NameLines(0);
    const std::vector<int> aloneRows = RowsOf(alone, layout.m_clrText);
    ASSERT_FALSE(aloneRows.empty());
    // One line, in the middle of the two.
    EXPECT_NEAR(Mean(aloneRows), alone.top + 15, 3.0);
    EXPECT_GT(aloneRows.front(), alone.top + 2);
    const CRect named = NameLines(2);
    const std::vector<int> namedRows = RowsOf(named, layout.m_clrText);
    ASSERT_FALSE(namedRows.empty());
    EXPECT_LT(namedRows.front(), named.top + 15);
    EXPECT_GE(namedRows.back(), named.top + 15);
    // The brackets reach the ends of the second line.
    const CRect secondLine(named.left, named.top + 15, named.left + 6, named.bottom);
    EXPECT_FALSE(RowsOf(secondLine, layout.m_clrText).empty());
}

TEST_F(GameWndPlatesTest, AnEmptySeatHasNoPlateText) {
    theBoard.SetUserInfo(1, Named("somebody", ""));
    ASSERT_TRUE(CreateTable());
    EXPECT_FALSE(RowsOf(NameLines(1), layout.m_clrText2).empty());
    EXPECT_TRUE(RowsOf(NameLines(3), layout.m_clrText2).empty());
    EXPECT_TRUE(RowsOf(NameLines(3), layout.m_clrText).empty());
    // A seat taken later shows once its plate is redrawn.
    theBoard.SetUserInfo(3, Named("late", ""));
    wnd->RefreshSeat(3);
    EXPECT_FALSE(RowsOf(NameLines(3), layout.m_clrText2).empty());
}

// The table whose whole background a test may draw anew.
class BackgroundTable : public TestTableWnd {
public:
    using CGameWnd::DrawBackground;
};

// A plate's repaint draws a fresh piece of the background under it, as a
// whole background is drawn, and leaves the rest of the background alone.
TEST_F(GameWndPlatesTest, APlateRepaintDrawsItsOwnPieceAsTheWholeBackgroundIs) {
    for (int seat = 0; seat < kSeatCount; ++seat)
        theBoard.SetUserInfo(seat, Named("player", ""));
    auto* table = new BackgroundTable;
    ASSERT_TRUE(CreateTable(table));
    platform::Surface& back = BackSurface();
    const int cx = back.Width(), cy = back.Height();
    std::vector<uint32_t> before(size_t(cx) * size_t(cy));
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            before[size_t(y) * size_t(cx) + size_t(x)] = back.GetPixel(x, y) & 0xFFFFFF;

    theBoard.SetUserInfo(3, Named("newcomer", "nick"));
    theBoard.SetUserInfo(4, Named("unseen", "")); // not repainted: stays as it was
    wnd->RefreshSeat(3);

    CDC whole;
    whole.CreateCompatibleDC(nullptr);
    CBitmap bits;
    bits.CreateBitmap(cx, cy, 1, 32, nullptr);
    CBitmap* old = whole.SelectObject(&bits);
    table->DrawBackground(&whole, cx, cy);
    const platform::Surface& want = *platform::SurfaceOfBitmap(static_cast<HBITMAP>(bits));
    const CSpritePos p = layout.m_posAvatar[3];
    const POINT at = Resolved(p.x, p.y, p.anchor);
    const CRect piece(at.x, at.y, at.x + layout.m_sizeAvatar.cx + 3,
                      at.y + layout.m_sizeAvatar.cy + 33);
    int wrongInside = 0, changedOutside = 0;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) {
            const uint32_t now = back.GetPixel(x, y) & 0xFFFFFF;
            if (piece.PtInRect(CPoint(x, y)))
                wrongInside += now != (want.GetPixel(x, y) & 0xFFFFFF);
            else
                changedOutside += now != before[size_t(y) * size_t(cx) + size_t(x)];
        }
    whole.SelectObject(old);
    EXPECT_EQ(wrongInside, 0);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_FALSE(RowsOf(NameLines(3), layout.m_clrText2).empty());
}

TEST_F(GameWndPlatesTest, TheTableAfterADealIsSavedForALook) {
    const char* names[kSeatCount] = {"我", "东风", "南风", "西风", "北风", "中"};
    for (int seat = 0; seat < kSeatCount; ++seat)
        theBoard.SetUserInfo(seat, Named(names[seat], seat % 2 ? "昵称" : ""));
    ASSERT_TRUE(CreateDealingTable());
    wnd->showNotices = true;
    ASSERT_TRUE(StartDealRecord());
    ASSERT_TRUE(RunDealOut());
    Tick(20);
    const CSpritePos clock = layout.m_posClockPutCard;
    wnd->StartCountdown(clock.x, clock.y, clock.anchor, 20, kClockEventMyTurn);
    tagSTARTMSG start;
    InitStartMsg(start);
    start.nSeat = 3;
    Deliver(start);
    Deliver(TrustRecord(4, 1, 1));
    wnd->ShowNotice("发牌结束");
    Tick(30);
    EXPECT_EQ(wnd->Hands().GetHand().size(), 36u);
    platform::Surface* screen = platform::GetWindowSurfaces()->SurfaceOf(parent.m_hWnd);
    ASSERT_NE(screen, nullptr);
    SaveSheet("table_after_deal.png", platform::ImageOfSurface(*screen));
    // The clock shows where it was put.
    EXPECT_TRUE(Shown(kClockSprite));
}

} // namespace
} // namespace table_test
