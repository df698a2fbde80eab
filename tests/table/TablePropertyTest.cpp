// Over seeded deals and random runs of plays, gatherings and transfers, the
// sprites on the table always show exactly the cards the rule book's model
// says each seat holds (my hand) and has just played (every seat).

#include "game/RefereeRandom.h"
#include "tests/table/TableWindowKit.h"

#include <map>
#include <numeric>

namespace table_test {
namespace {

class TablePropertyTest : public CardTableTest {
protected:
    std::vector<int> ModelHand(int seat) const {
        std::vector<int> codes;
        const tagCARD* hand = model.GetHand(seat);
        for (int i = 0; i < model.GetHandUsedCount(seat); ++i)
            if (IsCountingCard(hand[i]))
                codes.push_back(hand[i].code);
        return codes;
    }
    void MoveInModel(int from, int to, int code) {
        ASSERT_TRUE(model.DeleteHandCard(from, code));
        ASSERT_TRUE(model.AddHandCard(to, CGameLogic::CheckedCardFromIndex(code)))
            << from << " " << to << " " << code << " " << model.GetHandUsedCount(to);
    }
    static std::vector<int> Sorted(std::vector<int> codes) {
        std::sort(codes.begin(), codes.end());
        return codes;
    }
    int Pick(const std::vector<int>& codes) {
        return codes[size_t(random->Below(int(codes.size())))];
    }
    int OtherSeat() { return (me + 1 + random->Below(kSeatCount - 1)) % kSeatCount; }

    void DealSeeded(uint32_t seed) {
        std::vector<int> codes(kCardCodeCount);
        std::iota(codes.begin(), codes.end(), 0);
        random = std::make_unique<CSeededRandom>(seed);
        for (int i = kCardCodeCount - 1; i > 0; --i)
            std::swap(codes[size_t(i)], codes[size_t(random->Below(i + 1))]);
        const int perSeat = kCardCodeCount / kSeatCount;
        for (int seat = 0; seat < kSeatCount; ++seat) {
            std::vector<tagCARD> hand;
            for (int i = 0; i < perSeat; ++i)
                hand.push_back(CGameLogic::CardFromIndex(codes[size_t(seat * perSeat + i)]));
            model.SetHand(seat, hand.data(), perSeat);
        }
    }

    void OneStep() {
        switch (random->Below(6)) {
        case 0:
        case 1: { // a play of one to four cards by any seat that has some
            const int seat = random->Below(kSeatCount);
            std::vector<int> hand = ModelHand(seat);
            if (hand.empty())
                return;
            std::vector<int> play;
            const int n = 1 + random->Below(std::min<int>(4, int(hand.size())));
            for (int i = 0; i < n; ++i) {
                const size_t at = size_t(random->Below(int(hand.size())));
                play.push_back(hand[at]);
                hand.erase(hand.begin() + long(at));
            }
            ASSERT_TRUE(table.PutCard(&hands, seat, play.data(), n, 1));
            for (int code : play)
                ASSERT_TRUE(model.DeleteHandCard(seat, code));
            played[seat] = play;
            break;
        }
        case 2:
            if (random->Below(2)) {
                table.CollectToCentre(0, random->Below(2));
                played.clear();
            } else {
                const int seat = random->Below(kSeatCount);
                table.ClearSeat(seat);
                played.erase(seat);
            }
            break;
        case 3: { // a tribute out of my hand or into it
            const int other = OtherSeat();
            const bool out = random->Below(2) != 0;
            const std::vector<int> giver = ModelHand(out ? me : other);
            if (giver.empty() || model.GetHandUsedCount(out ? other : me) >= kHandSize)
                return;
            const int code = Pick(giver);
            ASSERT_TRUE(table.GiveCard(&hands, out ? me : other, out ? other : me, code, 500));
            MoveInModel(out ? me : other, out ? other : me, code);
            break;
        }
        case 4: { // several cards into my hand
            const int other = OtherSeat();
            std::vector<int> given = ModelHand(other);
            given.resize(std::min<size_t>(given.size(), size_t(1 + random->Below(3))));
            if (given.empty() || model.GetHandUsedCount(me) + given.size() > size_t(kHandSize))
                return;
            ASSERT_TRUE(hands.ReceiveCards(given.data(), int(given.size()), other, me));
            for (int code : given)
                MoveInModel(other, me, code);
            break;
        }
        default: { // a return tribute: one out, one in
            const int other = OtherSeat();
            const std::vector<int> mine = ModelHand(me), theirs = ModelHand(other);
            if (mine.empty() || theirs.empty())
                return;
            const int out = Pick(mine), in = Pick(theirs);
            ASSERT_TRUE(table.ExchangeCard(&hands, me, out, other, in, 502));
            MoveInModel(me, other, out);
            MoveInModel(other, me, in);
            break;
        }
        }
    }

    void ExpectTableMatchesModel(const std::string& when) {
        EXPECT_EQ(Sorted(Codes(hands.GetHand())), Sorted(ModelHand(me))) << when;
        for (const HANDENTRY& e : hands.GetHand()) {
            SPRITEINFO* s = Info(e.pos);
            ASSERT_NE(s, nullptr) << when;
            EXPECT_EQ(s->nUser[0], e.nCard) << when;
            EXPECT_STREQ(s->szName, "MYCARD") << when;
            EXPECT_EQ(s->posImage, hands.GetCardImage(e.nCard)) << when;
        }
        for (int seat = 0; seat < kSeatCount; ++seat) {
            auto it = played.find(seat);
            const std::vector<int> want = it == played.end() ? std::vector<int>{} : it->second;
            EXPECT_EQ(Sorted(Codes(table.GetSeatCards(seat))), Sorted(want)) << when << seat;
            for (const HANDENTRY& e : table.GetSeatCards(seat)) {
                ASSERT_NE(Info(e.pos), nullptr) << when;
                EXPECT_EQ(Info(e.pos)->nUser[0], e.nCard) << when;
            }
        }
    }

    CGameLogic model;
    std::unique_ptr<CSeededRandom> random;
    std::map<int, std::vector<int>> played;
    int me = 0;
};

TEST_F(TablePropertyTest, TheSpritesAlwaysShowWhatTheModelHolds) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        DealSeeded(seed);
        played.clear();
        hands.ClearHand();
        table.CollectToCentre(0, FALSE);
        Settle();
        me = int(seed % kSeatCount);
        fields.viewpoint.nMySeat = me;
        fields.viewpoint.nClockOrder = int(seed % 2);
        fields.viewpoint.nCardOrder = int((seed / 2) % 2);
        for (int code : ModelHand(me))
            ASSERT_TRUE(hands.DisplayCard(code));
        if (fields.viewpoint.nCardOrder)
            hands.SortCardbyWeight(TRUE);
        for (int step = 0; step < 40; ++step) {
            OneStep();
            if (HasFatalFailure())
                return;
            Run(random->Below(200));
            ExpectTableMatchesModel("seed " + std::to_string(seed) + " step " +
                                    std::to_string(step) + " ");
        }
        Settle();
        // At rest: only the hand and the table cards are drawn, my hand
        // lies on its slots.
        size_t onTable = 0;
        for (int seat = 0; seat < kSeatCount; ++seat)
            onTable += table.GetSeatCards(seat).size();
        EXPECT_EQ(size_t(PlayingSprites()), hands.GetHand().size() + onTable) << seed;
        hands.CalcLayout();
        Settle();
        const int n = int(hands.GetHand().size());
        // A long hand closes up to keep clear of my plate.
        const int step = hands.MyHandFan(n).step;
        EXPECT_LE(step, Interval());
        const int width = (n - 1) * step + CardW();
        int i = 0;
        for (const HANDENTRY& e : hands.GetHand()) {
            EXPECT_EQ(Info(e.pos)->x, kTableWidth / 2 - width / 2 + i * step) << seed;
            EXPECT_EQ(Info(e.pos)->z, 55 + i) << seed;
            ++i;
        }
    }
}

} // namespace
} // namespace table_test
