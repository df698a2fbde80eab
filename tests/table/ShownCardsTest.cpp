// My partners' shown hands and their cue cards.

#include "tests/table/TableWindowKit.h"

namespace table_test {
namespace {

class ShownCardsTest : public CardTableTest {
protected:
    void SetUp() override {
        CardTableTest::SetUp();
        fields.viewpoint.nMySeat = 1;
        left = CGameLogic::GetNextTeammate(1);
        right = CGameLogic::GetPrevTeammate(1);
    }
    POINT Client(const CSpritePos& pos) { return ResolvePos(pos); }
    int LittleInterval() const { return gameLayout.m_nLittleInterval; }
    // The cue cards drawn on one half of the table, left to right.
    std::vector<SPRITEINFO*> CueSprites(bool leftHalf) {
        std::vector<SPRITEINFO*> out;
        for (int c = 0; c < CSpriteWnd::kChannels; ++c) {
            SPRITEINFO* s =
                wnd.GetChannel(c).posSprite ? Info(wnd.GetChannel(c).posSprite) : nullptr;
            if (s != nullptr && strcmp(s->szName, "ALLIANCECUECARD") == 0 &&
                (s->x < kTableWidth / 2) == leftHalf)
                out.push_back(s);
        }
        std::sort(out.begin(), out.end(),
                  [](const SPRITEINFO* a, const SPRITEINFO* b) { return a->x < b->x; });
        return out;
    }
    int left = 0, right = 0;
};

TEST_F(ShownCardsTest, TheLeftPartnersCardsFanRightFromHisPlace) {
    const int cards[] = {Card(0, 3), BigJoker(), Card(2, 9), -1};
    hands.ShowAllyHand(cards, 4, left);
    Settle();
    ASSERT_EQ(Codes(hands.GetLeftShown()),
              (std::vector<int>{BigJoker(), Card(2, 9), Card(0, 3), kNoCard}));
    const CSpritePos avatar = fields.AvatarPoint(fields.viewpoint.ViewOf(left));
    int i = 0;
    for (const HANDENTRY& e : hands.GetLeftShown()) {
        CSpritePos want(avatar.x + 60 + i * LittleInterval(), avatar.y - 42);
        want.anchor = avatar.anchor;
        EXPECT_EQ(Info(e.pos)->x, Client(want).x) << i;
        EXPECT_EQ(Info(e.pos)->y, Client(want).y) << i;
        EXPECT_STREQ(Info(e.pos)->szName, "MYCARDLEFT");
        EXPECT_EQ(Info(e.pos)->z, 55 + i);
        ++i;
    }
    EXPECT_EQ(Info(hands.GetLeftShown().back().pos)->posImage, hands.GetLittleCardBackImage());
    EXPECT_EQ(Info(hands.GetLeftShown().front().pos)->posImage,
              hands.GetLittleCardImage(BigJoker()));
}

TEST_F(ShownCardsTest, TheRightPartnersCardsEndNearHisPlace) {
    const int cards[] = {Card(0, 3), Card(1, 8)};
    hands.ShowAllyHand(cards, 2, right);
    Settle();
    const CSpritePos avatar = fields.AvatarPoint(fields.viewpoint.ViewOf(right));
    const int width = LittleInterval() + gameLayout.m_sizeLittleCard.cx;
    CSpritePos first(avatar.x + 41 - width, avatar.y - 42);
    first.anchor = avatar.anchor;
    EXPECT_EQ(Info(hands.GetRightShown().front().pos)->x, Client(first).x);
    EXPECT_STREQ(Info(hands.GetRightShown().front().pos)->szName, "MYCARDRIGHT");
    hands.ShowAllyHand(cards, 2, (fields.viewpoint.nMySeat + 1) % 6);
    hands.ShowAllyCard(Card(0, 1), fields.viewpoint.nMySeat);
    EXPECT_EQ(PlayingSprites(), 2) << "a seat that is no partner is ignored";
}

TEST_F(ShownCardsTest, SeatsTurnedTheOtherWayKeepEachOpenHandBesideItsPlateOnTheTable) {
    // The next partner now sits on the right, the previous one on the left.
    fields.viewpoint.nClockOrder = 1;
    ASSERT_EQ(fields.viewpoint.ViewOf(left), 4);
    int cards[10];
    for (int i = 0; i < 10; ++i)
        cards[i] = Card(i % 4, i);
    hands.ShowAllyHand(cards, 10, left);
    hands.ShowAllyHand(cards, 10, right);
    Settle();
    const POINT nextPlate = Client(fields.AvatarPoint(4));
    const POINT prevPlate = Client(fields.AvatarPoint(2));
    for (const HANDENTRY& e : hands.GetLeftShown()) {
        EXPECT_LT(Info(e.pos)->x, nextPlate.x + 41) << "towards his plate on the right";
        EXPECT_GE(Info(e.pos)->x, 0);
    }
    for (const HANDENTRY& e : hands.GetRightShown()) {
        EXPECT_GE(Info(e.pos)->x, prevPlate.x + 60) << "out from his plate on the left";
        EXPECT_LE(Info(e.pos)->x + gameLayout.m_sizeLittleCard.cx, kTableWidth);
    }
}

TEST_F(ShownCardsTest, CueCardsLieBelowThePartnersPlaces) {
    const int cards[] = {Card(3, 5), Card(3, 6)};
    hands.ShowCueCards(cards, 2, left);
    hands.ShowCueCards(cards, 2, right);
    hands.ShowCueCards(cards, 1, right); // replaces the earlier cue
    Settle();
    ASSERT_EQ(CueSprites(true).size(), 2u);
    ASSERT_EQ(CueSprites(false).size(), 1u);
    const CSpritePos avatar = fields.AvatarPoint(fields.viewpoint.ViewOf(left));
    CSpritePos second(avatar.x + 120 + LittleInterval(), avatar.y + 70);
    second.anchor = avatar.anchor;
    SPRITEINFO* s = CueSprites(true).back();
    EXPECT_EQ(s->x, Client(second).x);
    EXPECT_EQ(s->y, Client(second).y);
    EXPECT_STREQ(s->szName, "ALLIANCECUECARD");
    const CSpritePos rightAvatar = fields.AvatarPoint(fields.viewpoint.ViewOf(right));
    CSpritePos cue(-(LittleInterval() + gameLayout.m_sizeLittleCard.cx) - 80, rightAvatar.y + 70);
    cue.anchor = 8;
    EXPECT_EQ(CueSprites(false).front()->x, Client(cue).x);
    EXPECT_EQ(PlayingSprites(), 3);
}

TEST_F(ShownCardsTest, ABrokenRecordShowsNothing) {
    const int good[] = {Card(0, 3)};
    hands.ShowAllyHand(good, 1, left);
    const int bad[] = {Card(0, 4), 999};
    hands.ShowAllyHand(bad, 2, left);
    hands.ShowCueCards(bad, 2, left);
    hands.ShowCueCards(good, 56, left);
    EXPECT_EQ(Codes(hands.GetLeftShown()), (std::vector<int>{Card(0, 3)})) << "kept as it was";
    EXPECT_TRUE(CueSprites(true).empty());
    EXPECT_NE(Log().find("ShowCueCards refused: card 999"), std::string::npos);
    EXPECT_NE(Log().find("ShowCueCards refused: 56 cards"), std::string::npos);
}

TEST_F(ShownCardsTest, ShownCardsRiseTenPixelsAndADragSweepsEveryLittleCard) {
    int cards[8];
    for (int i = 0; i < 8; ++i)
        cards[i] = Card(i % 4, i);
    hands.ShowAllyHand(cards, 8, left);
    Settle();
    auto at = [&](int i) { return Info(std::next(hands.GetLeftShown().begin(), i)->pos); };
    const int y = at(0)->y + 20;
    hands.MarkDragLeft(at(0)->x + 2, y, at(7)->x + 2, y);
    int marked = 0;
    for (const HANDENTRY& e : hands.GetLeftShown())
        marked += (Info(e.pos)->nUser[2] & kCardDragMark) != 0;
    EXPECT_EQ(marked, 8) << "the sweep steps by the little cards' spacing";
    EXPECT_EQ(hands.ApplyDragMarksLeft(), 8);
    Settle();
    EXPECT_EQ(hands.CountSelectedLeft(), 8);
    EXPECT_EQ(at(3)->y, y - 20 - 10);
    theBoard.SetRuleFlags(kRuleCardsLeftNotice);
    hands.ClearSelection();
    EXPECT_EQ(hands.CountSelectedLeft(), 0);
    hands.SelectShownCard(std::next(hands.GetLeftShown().begin(), 2)->pos, TRUE);
    int picked[4];
    EXPECT_EQ(hands.GetSelectedLeft(picked, 4), 1);
    hands.DeselectLeft();
    EXPECT_EQ(hands.CountSelectedLeft(), 0);
}

} // namespace
} // namespace table_test
