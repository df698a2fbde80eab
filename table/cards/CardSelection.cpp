// Selecting cards of a hand: raising and lowering them, the click that picks
// a rank, the hint's play word, and the marks a drag sweeps over the fan.

#include "game/Cards.h"
#include "game/GameLogic.h"
#include "sprite/SpriteWnd.h"
#include "table/cards/CardLayout.h"
#include "table/common/TableWndFields.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

int Rank(int card) {
    return CGameLogic::CheckedCardFromIndex(card).rank;
}

bool HasName(SPRITEINFO* s, LPCSTR name) {
    return s && strcmp(s->szName, name) == 0;
}

} // namespace

void CCardLayout::RaiseCard(POSITION sprite, BOOL select, int raise) {
    SPRITEINFO* s = m_wnd.GetSpriteAt(sprite);
    if (!s || !s->pLine || IsSelected(sprite) == (select != FALSE))
        return;
    CSpritePos target = s->pLine->EndPos();
    target.y += select ? -raise : raise;
    if (!MoveToSlot(sprite, target, s->z, kMoveTicks))
        return;
    SetFlags(sprite,
             select ? Flags(sprite) | kCardSelectedFlag : Flags(sprite) & ~kCardSelectedFlag);
}

void CCardLayout::SelectHandCard(POSITION sprite, BOOL select) {
    RaiseCard(sprite, select, kHandRaise);
}

void CCardLayout::SelectShownCard(POSITION sprite, BOOL select) {
    RaiseCard(sprite, select, kShownRaise);
}

int CCardLayout::SelectSameRank(int n, POSITION sprite) {
    auto clicked = FindEntry(m_hand, sprite);
    if (clicked == m_hand.end() || !IsCardCode(clicked->nCard))
        return 0;
    const int rank = Rank(clicked->nCard);
    if (rank >= kRankTwo) {
        SelectHandCard(sprite, TRUE);
        return 0;
    }
    ClearSelection();
    SelectHandCard(sprite, TRUE);
    // Kept in a byte: n = 0 leaves 255 to take, that is every card of the rank.
    BYTE wanted = BYTE(n - 1);
    auto take = [&](const HANDENTRY& e) {
        if (!IsCardCode(e.nCard) || Rank(e.nCard) != rank)
            return false;
        if (HasName(m_wnd.GetSpriteAt(e.pos), kMyCardName)) {
            SelectHandCard(e.pos, TRUE);
            --wanted;
        }
        return true;
    };
    for (auto it = std::next(clicked); it != m_hand.end() && wanted > 0; ++it)
        if (!take(*it))
            break;
    for (auto it = clicked; it != m_hand.begin() && wanted > 0;)
        if (!take(*--it))
            break;
    return 0;
}

void CCardLayout::SelectPlay(UINT playWord, int seat) {
    if (seat != m_fields.viewpoint.nMySeat)
        return;
    ClearSelection();
    unsigned rank = CardTypeRank(playWord);
    unsigned plain = CardTypePlainCount(playWord);
    unsigned twos = CardTypeTwos(playWord);
    unsigned small = CardTypeSmallJokers(playWord);
    unsigned big = CardTypeBigJokers(playWord);
    // Low byte 13 or 14: jokers only, counted in the second byte.
    if (rank == kRankSmallJoker) {
        small = plain;
        plain = 0;
    } else if (rank == kRankBigJoker) {
        big = plain;
        plain = 0;
    }
    for (const HANDENTRY& entry : m_hand) {
        if (!IsCardCode(entry.nCard))
            continue;
        const int kind = entry.nCard % kDeckSize;
        // The class of the card, and how many of that class the word still asks for.
        unsigned* wanted = &plain;
        if (kind == kSuitBigJoker)
            wanted = &big;
        else if (kind == kSuitSmallJoker)
            wanted = &small;
        else if (kind % 13 == kRankTwo && twos > 0)
            wanted = &twos;
        else if (unsigned(kind % 13) != rank)
            continue;
        const bool taken = *wanted > 0;
        if (taken)
            --*wanted;
        if (taken && HasName(m_wnd.GetSpriteAt(entry.pos), kMyCardName))
            SelectHandCard(entry.pos, !IsSelected(entry.pos));
    }
}

void CCardLayout::DeselectList(CHandList& list, int raise) {
    for (const HANDENTRY& entry : list)
        RaiseCard(entry.pos, FALSE, raise);
}

void CCardLayout::ClearSelection() {
    DeselectList(m_hand, kHandRaise);
    if (m_fields.board.GetRuleFlags() & kRuleCardsLeftNotice) {
        DeselectList(m_leftShown, kShownRaise);
        DeselectList(m_rightShown, kShownRaise);
    }
}

int CCardLayout::ApplyMarks(CHandList& list, int raise) {
    int marked = 0;
    for (const HANDENTRY& entry : list) {
        if (!(Flags(entry.pos) & kCardDragMark))
            continue;
        SetFlags(entry.pos, Flags(entry.pos) & ~kCardDragMark);
        m_wnd.InvalidateSprite(entry.pos);
        RaiseCard(entry.pos, TRUE, raise);
        ++marked;
    }
    return marked;
}

int CCardLayout::ApplyDragMarks() {
    return ApplyMarks(m_hand, kHandRaise);
}

void CCardLayout::ClearMarks(CHandList& list, BOOL repaint) {
    for (const HANDENTRY& entry : list) {
        if (!(Flags(entry.pos) & kCardDragMark))
            continue;
        SetFlags(entry.pos, Flags(entry.pos) & ~kCardDragMark);
        if (repaint)
            m_wnd.InvalidateSprite(entry.pos);
    }
}

void CCardLayout::ClearDragMarks(BOOL repaint) {
    ClearMarks(m_hand, repaint);
}

void CCardLayout::MarkDragOn(CHandList& list, LPCSTR name, int x0, int y0, int x1, int y1) {
    if (x0 > x1)
        std::swap(x0, x1);
    // Narrower than 5 pixels marks nothing: the end point leaves the hand.
    if (x1 < x0 + 5)
        x1 = y1 = 0;
    const POSITION start = m_wnd.SpriteAt(x0, y0);
    const POSITION end = m_wnd.SpriteAt(x1, y1);
    if (!start || !end) {
        m_fields.bDragging = FALSE;
        ClearMarks(list, TRUE);
        return;
    }
    if (!HasName(m_wnd.GetSpriteAt(end), name))
        return;
    std::vector<POSITION> wasMarked;
    for (const HANDENTRY& entry : list)
        if (Flags(entry.pos) & kCardDragMark)
            wasMarked.push_back(entry.pos);
    // The sweep steps by the fan's own spacing so that no card is skipped.
    const int step =
        &list == &m_hand ? MyHandFan(int(m_hand.size())).step : m_fields.LittleInterval();
    const CRect endRect = m_wnd.GetSpriteRect(end);
    for (int x = endRect.left + 5; step > 0 && x > x0 - step / 2; x -= step) {
        const POSITION hit = m_wnd.SpriteAt(x, y1);
        SPRITEINFO* s = m_wnd.GetSpriteAt(hit);
        if (!HasName(s, name) || FindEntry(list, hit) == list.end() || IsSelected(hit))
            continue;
        if (s->nUser[2] & kCardDragMark) {
            s->nUser[1] = kDragScratchMark;
        } else {
            s->nUser[2] |= kCardDragMark;
            m_wnd.InvalidateSprite(hit);
        }
    }
    // Marks the sweep no longer reaches go away.
    for (POSITION pos : wasMarked) {
        SPRITEINFO* s = m_wnd.GetSpriteAt(pos);
        if (!s || s->nUser[1] == kDragScratchMark)
            continue;
        s->nUser[2] &= ~kCardDragMark;
        m_wnd.InvalidateSprite(pos);
    }
    for (const HANDENTRY& entry : list)
        if (SPRITEINFO* s = m_wnd.GetSpriteAt(entry.pos))
            s->nUser[1] = 0;
}

void CCardLayout::MarkDrag(int x0, int y0, int x1, int y1) {
    MarkDragOn(m_hand, kMyCardName, x0, y0, x1, y1);
}

void CCardLayout::MarkDragLeft(int x0, int y0, int x1, int y1) {
    MarkDragOn(m_leftShown, kLeftShownName, x0, y0, x1, y1);
}

void CCardLayout::MarkDragRight(int x0, int y0, int x1, int y1) {
    MarkDragOn(m_rightShown, kRightShownName, x0, y0, x1, y1);
}

int CCardLayout::GetSelectedIn(const CHandList& list, int* cards, int capacity) const {
    int n = 0;
    for (const HANDENTRY& entry : list)
        if (IsSelected(entry.pos) && n < capacity && cards)
            cards[n++] = entry.nCard;
    return n;
}

int CCardLayout::CountSelectedIn(const CHandList& list) const {
    int n = 0;
    for (const HANDENTRY& entry : list)
        n += IsSelected(entry.pos);
    return n;
}

int CCardLayout::GetSelectedCards(int* cards, int capacity) const {
    return GetSelectedIn(m_hand, cards, capacity);
}

int CCardLayout::CountSelected() const {
    return CountSelectedIn(m_hand);
}

int CCardLayout::GetSelectedLeft(int* cards, int capacity) const {
    return GetSelectedIn(m_leftShown, cards, capacity);
}

int CCardLayout::GetSelectedRight(int* cards, int capacity) const {
    return GetSelectedIn(m_rightShown, cards, capacity);
}
