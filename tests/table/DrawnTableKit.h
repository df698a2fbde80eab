#pragma once

// What a person sees on the table window, read from what the sprite engine
// draws (its playing sprites, their images and rectangles, and its items),
// never from the game model: the cards of my hand in their drawn order, the
// cards lying on the table by the seat they lie at, the pass marks, where the
// turn clock stands, and which buttons are shown and enabled where.

#include "table/GameWnd.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace table_test {

// One card face or back as drawn.
struct DrawnCard {
    int face; // 0..53, -1 for a back
    CRect rect;
    std::string name;
};

// A table window that lets the witness read what its sprite engine draws and
// carries a seat request to the test's table host instead of a socket.
class SeenTableWnd : public CGameWnd {
public:
    std::function<void(int seat, int watch)> onSeatRequest;

    // Every playing sprite, in drawing order.
    std::vector<SPRITEINFO*> PlayingSprites() const {
        std::vector<SPRITEINFO*> out;
        for (POSITION p = m_sprites.GetHeadPosition(); p != nullptr;) {
            auto* s = static_cast<SPRITEINFO*>(m_sprites.GetNext(p));
            if (s != nullptr && s->nChannel >= 0 && s->bShown)
                out.push_back(s);
        }
        return out;
    }
    std::vector<CSpriteItem*> Items() const {
        std::vector<CSpriteItem*> out;
        for (POSITION p = m_items.GetHeadPosition(); p != nullptr;)
            out.push_back(static_cast<CSpriteItem*>(m_items.GetNext(p)));
        return out;
    }
    // Whether any card sprite still moves along its line.
    bool CardsMoving() {
        for (SPRITEINFO* s : PlayingSprites())
            if (FaceOf(s) != kNotACard && s->nInterval != -1)
                return true;
        return false;
    }
    static constexpr int kNotACard = -2;
    // The face a sprite shows: 0..53, -1 for the card back, kNotACard else.
    int FaceOf(const SPRITEINFO* s) {
        // A window crossing 1000 px cuts its faces anew: the images read
        // before the resize name no card any more.
        if (faceOfImage.empty() || cutFrom != Hands().GetCardImage(0) ||
            cutBack != Hands().GetCardBackImage()) {
            faceOfImage.clear();
            for (int face = 0; face < 54; ++face)
                faceOfImage[Hands().GetCardImage(face)] = face;
            faceOfImage[Hands().GetCardBackImage()] = -1;
            cutFrom = Hands().GetCardImage(0);
            cutBack = Hands().GetCardBackImage();
        }
        auto found = faceOfImage.find(s->posImage);
        return found == faceOfImage.end() ? kNotACard : found->second;
    }
    CRect RectOf(SPRITEINFO* s) { return GetSpriteRect(reinterpret_cast<POSITION>(s)); }

    // My hand (the watched hand for a watcher) left to right.
    std::vector<DrawnCard> DrawnHand() {
        std::vector<DrawnCard> cards;
        for (SPRITEINFO* s : PlayingSprites()) {
            const std::string name = s->szName;
            if ((name == kMyCardName || name == kHiddenBackName) && FaceOf(s) != kNotACard)
                cards.push_back(DrawnCard{FaceOf(s), RectOf(s), name});
        }
        std::stable_sort(cards.begin(), cards.end(), [](const DrawnCard& a, const DrawnCard& b) {
            return a.rect.left < b.rect.left;
        });
        return cards;
    }
    // The faces lying on the table by the seat whose place is nearest; seat
    // -1 holds those that lie near no seat's place (the centre, the edge).
    std::map<int, std::multiset<int>> DrawnTableCards() {
        std::map<int, std::multiset<int>> bySeat;
        for (SPRITEINFO* s : PlayingSprites()) {
            const std::string name = s->szName;
            const int face = FaceOf(s);
            if (face < 0 || name == kMyCardName || name == kHiddenBackName ||
                name == kLeftShownName || name == kRightShownName || name == kCueCardName)
                continue;
            const CRect r = RectOf(s);
            bySeat[NearestSeat(r.CenterPoint(), [&](int view) {
                const POINT at = ResolvePos(TableCards().CalcTableCardPos(view, 0, 1));
                const SIZE card = Fields().CardSize();
                return POINT{at.x + card.cx / 2, at.y + card.cy / 2};
            })].insert(face);
        }
        return bySeat;
    }
    // Seats whose pass, let or give-up mark is drawn.
    std::set<int> DrawnPassMarks() {
        std::set<int> seats;
        for (int mark : {kPassMark, kLetMark, kGaveUpMark})
            for (int view = 0; view < kSeatCount; ++view) {
                POSITION pos = FindSpritePos(mark + view);
                SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
                if (s != nullptr && s->nChannel >= 0 && s->bShown)
                    seats.insert(SeatOfView(view));
            }
        return seats;
    }
    // The seat whose plate the drawn clock stands at; -1 when no clock shows,
    // -2 when it stands near no plate.
    int DrawnClockSeat() {
        POSITION pos = FindSpritePos(kClockSprite);
        SPRITEINFO* s = pos != nullptr ? GetSpriteAt(pos) : nullptr;
        if (s == nullptr || s->nChannel < 0 || !s->bShown)
            return -1;
        const int seat = NearestSeat(RectOf(s).CenterPoint(), [&](int view) {
            return ResolvePos(Fields().AvatarPoint(view));
        });
        return seat < 0 ? -2 : seat;
    }
    // Command ids of the items shown and enabled, with their rectangles.
    std::map<int, CRect> ShownEnabledButtons() {
        std::map<int, CRect> out;
        for (CSpriteItem* item : Items())
            if (item->IsVisible() && item->IsEnabled() && item->GetId() >= kCmdTrust &&
                item->GetId() <= kCmdChipLast)
                out[item->GetId()] = item->GetRect();
        return out;
    }
    std::set<int> ShownButtons() {
        std::set<int> out;
        for (CSpriteItem* item : Items())
            if (item->IsVisible() && item->GetId() >= kCmdTrust && item->GetId() <= kCmdChipLast)
                out.insert(item->GetId());
        return out;
    }
    int SeatOfView(int view) {
        for (int seat = 0; seat < kSeatCount; ++seat)
            if (Fields().SeatToView(seat) == view)
                return seat;
        return -1;
    }

protected:
    void RequestSeatChange(int seat, int watch) override {
        if (onSeatRequest)
            onSeatRequest(seat, watch);
    }

private:
    // The seat of the view whose point lies nearest, -1 when none is within
    // a card's reach.
    template <class PointOf> int NearestSeat(POINT at, PointOf pointOf) {
        int best = -1;
        long bestDistance = 0;
        for (int view = 0; view < kSeatCount; ++view) {
            const POINT p = pointOf(view);
            const long d = long(p.x - at.x) * (p.x - at.x) + long(p.y - at.y) * (p.y - at.y);
            if (best < 0 || d < bestDistance)
                best = view, bestDistance = d;
        }
        return bestDistance <= 200L * 200L ? SeatOfView(best) : -1;
    }
    std::map<POSITION, int> faceOfImage;
    POSITION cutFrom = nullptr, cutBack = nullptr; // the images it was read from
};

} // namespace table_test
