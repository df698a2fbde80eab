// Room on the table: what a seat's mark or pane and what a text keep clear
// of where they stand, and the pictures that step aside when something
// they would hide comes up under them (a play laid, a mark shown, a pane
// that opens). Cards, my hand and the buttons never move for them.

#include "sprite/GameLayout.h"
#include "table/window/GameWnd.h"
#include "table/common/GameWndActionRules.h"
#include "table/cards/SeatMarkPlaces.h"

#include <algorithm>
#include <cstring>

namespace {

// How far a mark or pane may stand from its own place, and a text from its.
constexpr int kMarkReach = 200;
constexpr int kTextReach = 640;
// Half the width kept for the notices rising through the table's middle.
constexpr int kNoticeHalfWidth = 180;
constexpr int kNoticeLineExtra = 6;
// The panes a person opens with a button over the table's middle: what lies
// below stays there while they look.
constexpr int kReelPane = 502, kLastCardPane = 516;
// The seats' marks and panes (the remnant, gousiji and multiple panes),
// which keep to their seats.
constexpr int kFirstSeatPane = kRemnantPaneSprite, kLastGousjPane = kGousjPaneSprite + 5;
constexpr int kFirstMultiplePane = 517, kLastSeatPane = kFirstMultiplePane + 5;
constexpr int kFirstMark = kTrustMark, kLastMark = kReadyMark + 5;

// The waiting mark, the flash, the theme's text animations, my question's
// line and the notices: the table's words, which give way to everything else.
bool IsTableText(int id) {
    switch (id) {
    case kWaitSprite:
    case kFlashSprite:
    case kShuffleSprite:
    case kExchangeSprite:
    case kRevolutionSprite:
    case kTributeSprite:
    case kOpenPointSprite:
    case kPrePointSprite:
    case kTouKeSprite:
    case kBurnOneSprite:
    case kBurnTwoSprite:
    case kBurnThreeSprite:
    case kChuanSanHuSprite:
    case kUpgradeSprite:
    case kWinSprite:
    case kLoseSprite:
    case kQuestionLineSprite:
        return true;
    default:
        return id >= kFirstNoticeId && id <= kLastNoticeId;
    }
}

bool IsReadyMark(int id) {
    return id >= kReadyMark && id < int(kReadyMark) + kSeatCount;
}

bool IsSeatPane(int id) {
    return (id >= kFirstSeatPane && id <= kLastGousjPane) ||
           (id >= kFirstMultiplePane && id <= kLastSeatPane);
}

// Whether the picture of the id keeps clear of a place taken by the sprite
// takenBy (-1: a place kept whatever stands there). The ready marks stand
// only until a game starts: the panes that come with it do not step aside
// for them.
bool KeepsClearOf(int id, int takenBy) {
    return takenBy == -1 || (takenBy != id && !(IsSeatPane(id) && IsReadyMark(takenBy)));
}

bool IsSeatPicture(int id) {
    return (id >= kFirstMark && id <= kLastMark) || IsSeatPane(id);
}

bool Meets(const CRect& a, const CRect& b) {
    CRect overlap;
    return overlap.IntersectRect(&a, &b) != FALSE;
}

} // namespace

CRect CGameWnd::StandingRect(SPRITEINFO* s, const CSpritePos& at) {
    CSpriteImage* image = GetImageList().GetAt(s->posImage);
    if (image == nullptr)
        return CRect();
    const int frame = s->nChannel >= 0 ? std::max(0, GetChannel(s->nChannel).nFrame) : 0;
    CRect rect = image->GetRect(s, frame);
    const POINT p = ResolvePos(at);
    rect.OffsetRect(p.x, p.y);
    return rect;
}

std::vector<CGameWnd::TakenPlace> CGameWnd::TakenPlaces(TableRoomFor what) {
    std::vector<TakenPlace> taken;
    for (POSITION p = m_sprites.GetHeadPosition(); p != nullptr;) {
        auto* s = static_cast<SPRITEINFO*>(m_sprites.GetNext(p));
        if (s == nullptr || s->nChannel < 0 || !s->bShown || s->pLine == nullptr ||
            s->nId == kReelPane || s->nId == kLastCardPane)
            continue;
        const bool text = IsTableText(s->nId);
        if (text && what == TableRoomFor::kMark)
            continue;
        CRect rect = StandingRect(s, CSpritePos(s->x, s->y));
        if (!s->pLine->IsFixed()) {
            const CRect end = StandingRect(s, s->pLine->EndPos());
            if (text)
                rect.UnionRect(rect, end); // a notice's way up, a text's slide
            else if (s->bAutoRemove)
                continue; // a flight that ends by going
            else
                rect = end; // a card on its way to its place
        }
        // A card of my hand may be raised.
        if (strncmp(s->szName, "MYCARD", sizeof s->szName) == 0)
            rect.top -= CCardLayout::kHandRaise;
        if (!rect.IsRectEmpty())
            taken.push_back({s->nId, rect});
    }
    // A mark keeps clear of the buttons shown, a text of every button's
    // place, shown or not: the buttons come up over it as a turn begins.
    for (POSITION p = m_items.GetHeadPosition(); p != nullptr;) {
        auto* item = static_cast<CSpriteItem*>(m_items.GetNext(p));
        if (item != nullptr && (item->IsVisible() || what == TableRoomFor::kText))
            taken.push_back({-1, item->GetRect()});
    }
    // Nor does anything stand in the notices' way up the table's middle.
    if (m_fields.pLayout != nullptr) {
        const CGameLayout& layout = *m_fields.pLayout;
        const POINT begin = ResolvePos(layout.m_posTextBegin);
        const POINT end = ResolvePos(layout.m_posTextEnd);
        const POINT centre = ResolvePos(PosAt(0, 0, 4));
        taken.push_back(
            {-1, CRect(centre.x - kNoticeHalfWidth, std::min(begin.y, end.y),
                       centre.x + kNoticeHalfWidth,
                       std::max(begin.y, end.y) + layout.m_nTextSpriteSize + kNoticeLineExtra)});
    }
    return taken;
}

CSpritePos CGameWnd::ClearPlace(const CSpritePos& at, SIZE size, int spriteId, TableRoomFor what) {
    std::vector<CRect> others;
    for (const TakenPlace& t : TakenPlaces(what))
        if (KeepsClearOf(spriteId, t.spriteId))
            others.push_back(t.rect);
    return ClearOf(InsideTable(at, size), size, others,
                   what == TableRoomFor::kMark ? kMarkReach : kTextReach);
}

void CGameWnd::SettleTablePictures() {
    // The marks and panes first: the texts then give way to where they stand.
    for (TableRoomFor what : {TableRoomFor::kMark, TableRoomFor::kText}) {
        const std::vector<TakenPlace> taken = TakenPlaces(what);
        for (POSITION p = m_sprites.GetHeadPosition(); p != nullptr;) {
            auto* s = static_cast<SPRITEINFO*>(m_sprites.GetNext(p));
            if (s == nullptr || s->nChannel < 0 || !s->bShown || s->pLine == nullptr ||
                !s->pLine->IsFixed())
                continue;
            const bool mine = what == TableRoomFor::kMark
                                  ? IsSeatPicture(s->nId)
                                  : IsTableText(s->nId) && s->nId != kQuestionLineSprite;
            if (!mine)
                continue;
            const CRect rect = StandingRect(s, CSpritePos(s->x, s->y));
            const bool meets = std::any_of(taken.begin(), taken.end(), [&](const TakenPlace& t) {
                return KeepsClearOf(s->nId, t.spriteId) && Meets(rect, t.rect);
            });
            if (!meets)
                continue;
            const CSpritePos from = s->pLine->m_from;
            const CSpritePos to = ClearPlace(from, rect.Size(), s->nId, what);
            if (!to.IsEqual(from.x, from.y, from.anchor))
                MoveSprite(FindSpritePos(s->nId), to.x, to.y, to.anchor);
        }
    }
}
