// Where my hand sits on the table at the sizes the program gives the table
// window: every card on the table, clear of my plate and of the Trust
// button, and a raised card clear of the action buttons; and the faces
// switch with the window's width when it is resized as the frame resizes it.

#include "TableWindowKit.h"
#include "platform/window/Input.h"

namespace table_test {
namespace {

// The table window's client sizes: the 1024 x 734 frame with the chat pane
// shown and hidden, and the frame maximized on a 1600 x 1000 screen, chat
// shown and hidden (the frame's borders, the pane's border, the splitter
// and the chat pane's width taken off).
const SIZE kTableSizes[] = {{778, 689}, {998, 689}, {1354, 955}, {1574, 955}};

// The buttons of my turn, which sit above my hand.
const int kPlayButtons[] = {kBtnTakeOut, kBtnShaoPai, kBtnPass,    kBtnGaveUp,
                            kBtnRangpai, kBtnSearch,  kBtnLeftCue, kBtnRightCue};

class TableLayoutFitTest : public TableInputTest {
protected:
    std::vector<CRect> DrawnHand() {
        std::vector<CRect> rects;
        for (const HANDENTRY& e : wnd->Hands().GetHand())
            rects.push_back(wnd->GetSpriteRect(e.pos));
        return rects;
    }
    // My plate with the name lines under it.
    CRect Plate() {
        const POINT at = ResolvePos(layout.m_posAvatar[0]);
        return CRect(at.x, at.y, at.x + layout.m_sizeAvatar.cx + 1,
                     at.y + layout.m_sizeAvatar.cy + 32);
    }
    static std::string Where(SIZE size, int n) {
        return std::to_string(size.cx) + "x" + std::to_string(size.cy) + ", " + std::to_string(n) +
               " cards";
    }
};

TEST_F(TableLayoutFitTest, MyHandFitsBesideMyPlateBelowTheButtonsAndClearOfTrust) {
    for (SIZE size : kTableSizes) {
        for (int n : {36, int(kHandSize)}) {
            const std::string where = Where(size, n);
            wnd->Hands().ClearHand();
            Resize(size);
            std::vector<int> codes;
            for (int i = 0; i < n; ++i)
                codes.push_back(i * 3);
            GiveHand(codes);
            MyTurn(kActionTakeOut | kActionPass);
            // The person raises the card in the middle, under the buttons.
            std::vector<CRect> before = DrawnHand();
            ASSERT_EQ(int(before.size()), n) << where;
            const HANDENTRY middle = *std::next(wnd->Hands().GetHand().begin(), n / 2);
            const CRect picked = wnd->GetSpriteRect(middle.pos);
            Click(POINT{picked.left + 2, picked.top + 10});
            Run(100);
            const std::vector<int> raised = Raised();
            ASSERT_TRUE(std::find(raised.begin(), raised.end(), middle.nCard) != raised.end())
                << where;
            ASSERT_TRUE(wnd->Button(kBtnTakeOut).IsVisible()) << where;

            const CRect client(0, 0, size.cx, size.cy);
            const CRect plate = Plate();
            const CRect trust = wnd->Button(kBtnTrust).GetRect();
            ASSERT_TRUE(wnd->Button(kBtnTrust).IsVisible()) << where;
            const std::vector<CRect> hand = DrawnHand();
            // The theme's faces for the width: the big ones from 1000 pixels.
            EXPECT_EQ(hand.front().Width(),
                      (size.cx >= 1000 ? layout.m_sizeCardBig : layout.m_sizeCard).cx)
                << where;
            for (size_t i = 0; i < hand.size(); ++i) {
                CRect overlap;
                EXPECT_EQ(overlap.IntersectRect(&hand[i], &client) ? CRect(overlap) : CRect(),
                          hand[i])
                    << where << ": card " << i << " leaves the table";
                EXPECT_FALSE(overlap.IntersectRect(&hand[i], &plate))
                    << where << ": card " << i << " covers my plate";
                EXPECT_FALSE(overlap.IntersectRect(&hand[i], &trust))
                    << where << ": Trust covers card " << i;
                for (int b : kPlayButtons) {
                    const CRect button = wnd->Button(b).GetRect();
                    if (wnd->Button(b).IsVisible()) {
                        EXPECT_FALSE(overlap.IntersectRect(&hand[i], &button))
                            << where << ": card " << i << " lies under button " << b;
                    }
                }
            }
        }
    }
}

TEST_F(TableLayoutFitTest, MyHandTakesTheOtherFacesWhenTheWindowCrosses1000Pixels) {
    Resize(SIZE{1200, 700});
    GiveHand({Card(0, 1), Card(1, 6), Card(3, 10)});
    const auto drawnWidths = [&] {
        std::vector<int> widths;
        for (const CRect& r : DrawnHand())
            widths.push_back(r.Width());
        return widths;
    };
    EXPECT_EQ(drawnWidths(), std::vector<int>(3, layout.m_sizeCardBig.cx));

    Resize(SIZE{900, 700});
    EXPECT_EQ(drawnWidths(), std::vector<int>(3, layout.m_sizeCard.cx)) << "small faces below 1000";
    std::vector<CRect> hand = DrawnHand();
    EXPECT_EQ(hand[1].left - hand[0].left, layout.m_nInterval);
    EXPECT_EQ(hand[0].bottom, 700 - layout.m_nBorder) << "on the base line of the small cards";
    EXPECT_TRUE(wnd->IsReceiveReady());
    // The deck's backs are made again at the new size.
    for (int i = 0; i < kDeckSize; ++i) {
        const SPRITEINFO* back = Sprite(kDeckSpriteBase + i);
        ASSERT_NE(back, nullptr) << i;
        EXPECT_EQ(wnd->GetImageList().GetAt(back->posImage)->GetSize(nullptr).cx,
                  layout.m_sizeCard.cx);
        EXPECT_EQ(back->pLine->m_from.x, -(layout.m_sizeCard.cx + 408) / 2 + 8 * i);
    }

    // A second narrow size changes no faces.
    const POSITION firstBack = wnd->FindSpritePos(kDeckSpriteBase);
    Resize(SIZE{800, 700});
    EXPECT_EQ(wnd->FindSpritePos(kDeckSpriteBase), firstBack);

    Resize(SIZE{1100, 700});
    EXPECT_EQ(drawnWidths(), std::vector<int>(3, layout.m_sizeCardBig.cx)) << "big faces again";
    hand = DrawnHand();
    EXPECT_EQ(hand[1].left - hand[0].left, layout.m_nIntervalBig);
}

} // namespace
} // namespace table_test
