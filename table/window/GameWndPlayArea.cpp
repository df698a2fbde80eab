// Where my own part of the table begins: what the panes and the score
// history stay above while it is my play that matters.

#include "table/window/GameWnd.h"
#include "table/common/GameWndActionRules.h"

#include <algorithm>

int CGameWnd::MyPlayTop() {
    int top = m_buttons[kBtnTakeOut].GetRect().top; // the play buttons' row
    if (const POSITION clock = FindSpritePos(kClockSprite)) {
        const SPRITEINFO* s = GetSpriteAt(clock);
        if (s != nullptr && s->nChannel >= 0 && s->bShown)
            top = std::min<int>(top, GetSpriteRect(clock).top);
    }
    // A raised card of my hand stands highest of it.
    const POINT hand = ResolvePos(PosAt(0, m_hands.HandBaseY(), 7));
    return std::min<int>(top, hand.y - CCardLayout::kHandRaise);
}
