// My partners' shown hands and cue cards, and the cards that reach my hand
// from another seat.

#include "game/Cards.h"
#include "game/GameLogic.h"
#include "sprite/AppServices.h"
#include "sprite/SpriteWnd.h"
#include "table/cards/CardLayout.h"
#include "table/cards/SeatMarkPlaces.h"
#include "table/common/TableWndFields.h"

#include <utility>

bool CheckCardRecord(const int* cards, int n, bool allowBacks, LPCSTR what) {
    if (n < 0 || n > kHandSize || (n > 0 && !cards)) {
        WriteLog("%s refused: %d cards", what, n);
        return false;
    }
    for (int i = 0; i < n; ++i) {
        const bool back = cards[i] == kNoCard || cards[i] == -1;
        if (!IsCardCode(cards[i]) && !(allowBacks && back)) {
            WriteLog("%s refused: card %d at %d", what, cards[i], i);
            return false;
        }
    }
    return true;
}

bool CheckSeats(int seatA, int seatB) {
    for (int seat : {seatA, seatB}) {
        if (!IsSeat(seat)) {
            WriteLog("错误的座位号:%d", seat);
            return false;
        }
    }
    return true;
}

int CCardLayout::LeftSeat() const {
    return CGameLogic::GetNextTeammate(m_fields.viewpoint.nMySeat);
}

int CCardLayout::RightSeat() const {
    return CGameLogic::GetPrevTeammate(m_fields.viewpoint.nMySeat);
}

namespace {

// The plates of views 1 and 2 stand on the table's left, those of 4 and 5
// on its right; which partner sits where depends on the way the seats turn.
bool PlateOnLeft(int view) {
    return view == 1 || view == 2;
}

} // namespace

CCardLayout::FanPlace CCardLayout::ShownFan(bool left, int n) const {
    const int view = m_fields.viewpoint.ViewOf(left ? LeftSeat() : RightSeat());
    const CSpritePos avatar = m_fields.AvatarPoint(view);
    // A partner on the left fans his cards out to the right of his plate,
    // one on the right towards it, so that they lie on the table.
    const int width = m_fields.LittleCardsWidth(n);
    CSpritePos first(PlateOnLeft(view) ? avatar.x + 60 : avatar.x + 41 - width, avatar.y - 42);
    first.anchor = avatar.anchor;
    first = InsideTable(first, SIZE{width, m_fields.LittleCardSize().cy});
    return FanPlace{first.x,    m_fields.LittleInterval(), first.y, first.anchor, kShownRaise,
                    kFirstDepth};
}

BOOL CCardLayout::ShowAllyCard(int card, int seat) {
    const bool left = seat == LeftSeat();
    if (!left && seat != RightSeat())
        return FALSE;
    CHandList& list = left ? m_leftShown : m_rightShown;
    LPCSTR name = left ? kLeftShownName : kRightShownName;
    const int count = int(list.size());
    const FanPlace fan = ShownFan(left, count + 1);
    if (BYTE(card) == kNoCard) {
        return AppendBack(list, fan, true, m_littleBackImage, nullptr, 100, kNoCard, name,
                          kNoNotify);
    }
    if (!IsCardCode(card)) {
        WriteLog("Display card fail! nOldWhat = %d", card);
        return FALSE;
    }
    const POSITION image = GetLittleCardImage(card);
    return InsertByCardOrder(list, card, fan, kMoveTicks, [&](const CSpritePos& slot, int z) {
        return AddMovingSprite(image, slot, slot, kFadeTicks, 100, z, card, name, FALSE, kNoNotify);
    });
}

void CCardLayout::ShowAllyHand(const int* cards, int n, int seat) {
    if (seat != LeftSeat() && seat != RightSeat())
        return;
    if (!CheckCardRecord(cards, n, true, "ShowAllyHand"))
        return;
    if (seat == LeftSeat())
        ClearLeftShown();
    else
        ClearRightShown();
    for (int i = 0; i < n; ++i)
        ShowAllyCard(cards[i], seat);
}

void CCardLayout::ShowCueCards(const int* cards, int n, int seat) {
    const bool left = seat == LeftSeat();
    if ((!left && seat != RightSeat()) || !CheckCardRecord(cards, n, false, "ShowCueCards"))
        return;
    CHandList& list = left ? m_leftCue : m_rightCue;
    ClearList(list);
    const int view = m_fields.viewpoint.ViewOf(seat);
    const CSpritePos avatar = m_fields.AvatarPoint(view);
    const int step = m_fields.LittleInterval();
    for (int i = 0; i < n; ++i) {
        CSpritePos at(avatar.x + 120 + i * step, avatar.y + 70);
        at.anchor = avatar.anchor;
        if (!PlateOnLeft(view)) {
            at.Set(-m_fields.LittleCardsWidth(n + 1) - 80 + i * step, avatar.y + 70, 8);
        }
        POSITION pos = AddMovingSprite(GetLittleCardImage(cards[i]), at, at, kFadeTicks, 100,
                                       kFirstDepth, cards[i], kCueCardName, FALSE, kNoNotify);
        if (!pos)
            return;
        list.push_back(HANDENTRY{cards[i], -1, pos});
    }
}

BOOL CCardLayout::ReceiveCard(int card, int fromView, int event, SpriteDone onLanded) {
    if (!IsCardCode(card) || fromView < 0 || fromView >= kSeatCount) {
        WriteLog("Display card fail! nOldWhat = %d", card);
        return FALSE;
    }
    const CSpritePos avatar = m_fields.AvatarPoint(fromView);
    const POSITION image = GetCardImage(card);
    return InsertByCardOrder(m_hand, card, MyHandFan(int(m_hand.size()) + 1), kMoveTicks,
                             [&](const CSpritePos& slot, int z) {
                                 return AddMovingSprite(image, avatar, slot, kFlightTicks, 255, z,
                                                        card, kMyCardName, FALSE, event,
                                                        std::move(onLanded));
                             });
}

BOOL CCardLayout::ReceiveCards(const int* cards, int n, int fromSeat, int toSeat) {
    if (!CheckSeats(fromSeat, toSeat))
        return FALSE;
    if (toSeat != m_fields.viewpoint.nMySeat || !CheckCardRecord(cards, n, false, "ReceiveCards"))
        return FALSE;
    m_fields.nExpectedTransfers = n;
    m_fields.nEndedTransfers = 0;
    int arriving = 0;
    for (int i = 0; i < n; ++i)
        arriving += ReceiveCard(cards[i], m_fields.viewpoint.ViewOf(fromSeat), kTransferLandedEnd,
                                m_fields.TransferLanded()) != 0;
    // Only the cards that fly will say they arrived.
    m_fields.nExpectedTransfers = arriving;
    m_fields.bResortPending = TRUE;
    return TRUE;
}

BOOL CCardLayout::FlyToHand(const int* cards, int n, int fromSeat, int toSeat) {
    if (!CheckSeats(fromSeat, toSeat))
        return FALSE;
    if (n <= 0 || !CheckCardRecord(cards, n, false, "FlyToHand"))
        return FALSE;
    m_fields.nExpectedTransfers = 1;
    m_fields.nEndedTransfers = 0;
    const CSpritePos avatar = m_fields.AvatarPoint(m_fields.viewpoint.ViewOf(fromSeat));
    // They land on the right part of my hand, which lies on the bottom centre.
    const int x0 = m_fields.CardsWidth(int(m_hand.size())) / 2 - m_fields.CardsWidth(n) / 2;
    for (int k = 0; k < n; ++k) {
        CSpritePos to(x0 + k * m_fields.CardInterval(), HandBaseY());
        to.anchor = MyHandFan(1).anchor;
        // A hidden hand sees its new cards arrive as backs.
        AddMovingSprite(m_fields.MayShowMyHand() ? GetCardImage(cards[k]) : m_backImage, avatar, to,
                        kFlightTicks, 255, kFirstDepth, cards[k], kMyCardName, TRUE,
                        k == n - 1 ? kTransferLandedEnd : kNoNotify,
                        k == n - 1 ? m_fields.TransferLanded() : SpriteDone{});
    }
    m_fields.bResortPending = FALSE;
    return TRUE;
}
