// End to end: a deal as a person sees it. My seat presses the start pane's
// button with the mouse against the local table host; the shuffle picture
// plays, then the deck of backs lies on the table and the deal goes round
// from my seat, my clicks on cards are refused while it runs, and when it
// ends my drawn hand is the hand the referee dealt me.

#include "HostTableKit.h"

#include <algorithm>

namespace table_test {
namespace {

// Notes, as each dealt card reaches the table, its seat and what the table
// showed at that moment.
class DealWatchTable : public TestTableWnd {
public:
    std::vector<int> dealtSeats;
    bool shuffleRanAtFirstCard = true;
    int backsShownAtFirstCard = -1;

    bool Playing(POSITION pos) {
        SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
        return s != nullptr && s->nChannel >= 0;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DEAL_CARD) {
            if (dealtSeats.empty()) {
                shuffleRanAtFirstCard = Playing(FindSpritePos(kShuffleSprite));
                backsShownAtFirstCard = 0;
                for (int i = 0; i < kDeckSize; ++i)
                    backsShownAtFirstCard += Playing(FindSpritePos(kDeckSpriteBase + i));
            }
            dealtSeats.push_back(int(lParam));
        }
        return TestTableWnd::WindowProc(message, wParam, lParam);
    }
};

class TableDeal : public HostTableKit<DealWatchTable> {
protected:
    // My hand as drawn: the card of every drawn sprite, left to right.
    std::vector<int> DrawnHand() {
        std::vector<std::pair<int, int>> byX;
        for (const HANDENTRY& e : wnd->Hands().GetHand()) {
            SPRITEINFO* s = wnd->GetSpriteAt(e.pos);
            if (s != nullptr && s->nChannel >= 0 &&
                s->posImage == wnd->Hands().GetCardImage(s->nUser[0]))
                byX.emplace_back(s->x, s->nUser[0]);
        }
        std::sort(byX.begin(), byX.end());
        std::vector<int> codes;
        for (const auto& card : byX)
            codes.push_back(card.second);
        return codes;
    }
};

TEST_F(TableDeal, TheShuffleEndsThenTheDeckDealsFromMySeatAndMyDrawnHandIsMine) {
    ASSERT_TRUE(RunUntil([&] { return Pressable(kCmdStart) != nullptr; }))
        << "the start pane's button never became pressable";
    Click(Pressable(kCmdStart)->GetRect().CenterPoint());
    ASSERT_TRUE(RunUntil([&] { return wnd->Playing(wnd->FindSpritePos(kShuffleSprite)); }))
        << "the shuffle picture never showed";
    EXPECT_TRUE(wnd->dealtSeats.empty()) << "the deal began during the shuffle";

    // Mid-deal: my clicks on my cards are refused.
    ASSERT_TRUE(RunUntil([&] { return wnd->Hands().GetHand().size() >= 6; }))
        << "no card of the deal reached my hand";
    EXPECT_FALSE(wnd->shuffleRanAtFirstCard) << "the first card went out before the shuffle ended";
    EXPECT_EQ(wnd->backsShownAtFirstCard, kDeckSize) << "the deck lay on the table";
    ASSERT_FALSE(wnd->dealtSeats.empty());
    EXPECT_EQ(wnd->dealtSeats.front(), me) << "the deal starts at my seat";
    EXPECT_FALSE(wnd->IsInputAllowed());
    const HANDENTRY first = wnd->Hands().GetHand().front();
    const CRect card = wnd->GetSpriteRect(first.pos);
    Click(POINT{card.left + 3, card.top + 10});
    EXPECT_EQ(wnd->GetSpriteAt(first.pos)->nUser[2] & 1, 0) << "a card was raised during the deal";

    ASSERT_TRUE(RunUntil([&] { return wnd->IsReceiveReady() && wnd->IsInputAllowed(); }))
        << "the deal never ended";
    EXPECT_EQ(wnd->dealtSeats.size(), size_t(CGameWnd::kDealCount));
    for (int i = 0; i < kDeckSize; ++i)
        EXPECT_FALSE(wnd->Playing(wnd->FindSpritePos(kDeckSpriteBase + i)))
            << "back " << i << " left on the table";
    std::vector<int> mine;
    const tagCARD* hand = Referee().GetHand(me);
    for (int i = 0; i < kHandSize; ++i)
        if (IsCountingCard(hand[i]))
            mine.push_back(hand[i].code);
    std::vector<int> drawn = DrawnHand();
    ASSERT_EQ(drawn.size(), mine.size()) << "my drawn hand holds every card dealt me, face up";
    std::sort(drawn.begin(), drawn.end());
    std::sort(mine.begin(), mine.end());
    EXPECT_EQ(drawn, mine);
}

} // namespace
} // namespace table_test
