#include "table/cards/TableCards.h"

#include "game/GameLogic.h"
#include "sprite/AppServices.h"
#include "sprite/SpriteWnd.h"
#include "table/common/TableWndFields.h"

#include <algorithm>
#include <exception>
#include <new>
#include <vector>

namespace {

SPRITEGROUPITEM GroupEntry(POSITION sprite, CSpriteLine* line, int z) {
    SPRITEGROUPITEM item{};
    item.posSprite = sprite;
    item.pLine = line;
    item.z = z;
    std::fill(std::begin(item.waitFor), std::end(item.waitFor), BYTE(0xFF));
    return item;
}

// The lines of entries the group did not take stay ours.
void FreeLines(std::vector<SPRITEGROUPITEM>& items) {
    for (SPRITEGROUPITEM& item : items)
        delete item.pLine;
}

} // namespace

CSpritePos CTableCards::CalcTableCardPos(int view, int i, int n) const {
    return m_fields.TableCardPos(view, i, n);
}

void CTableCards::RemoveSprites(CHandList& list) {
    for (const HANDENTRY& entry : list)
        m_wnd.RemoveSprite(entry.pos);
    list.clear();
}

BOOL CTableCards::PutCard(CCardLayout* hands, int seat, const int* cards, int n, UINT groupId) {
    if (!hands)
        return FALSE;
    if (!IsSeat(seat)) {
        WriteLog("PutCard refused: seat %d", seat);
        return FALSE;
    }
    if (!CheckCardRecord(cards, n, false, "PutCard"))
        return FALSE;
    try {
        // Cards still listed here were never gathered: they go now.
        RemoveSprites(m_seats[seat]);
        if (m_fields.viewpoint.ViewOf(seat) != 0)
            return LayNewCards(hands, seat, cards, n, groupId, true);

        std::vector<int> wanted(cards, cards + n);
        CGameLogic::SortCards(wanted.data(), n);
        std::vector<SPRITEGROUPITEM> items;
        CHandList& hand = hands->GetHand();
        int k = 0;
        for (auto it = hand.begin(); it != hand.end() && k < n;) {
            auto match = std::find(wanted.begin(), wanted.end(), it->nCard);
            if (match == wanted.end()) {
                ++it;
                continue;
            }
            *match = -1;
            const CSpritePos from = SpritePlaceOf(&m_wnd, it->pos);
            const CSpritePos to = CalcTableCardPos(0, k, n);
            CSpriteLine* line = new (std::nothrow) CStraightLine;
            if (!line) {
                WriteLog("PutCard ::  NULL == pLine!");
                break;
            }
            line->Init(from.x, from.y, from.anchor, to.x, to.y, to.anchor, k + 3, -1, 255, 255);
            if (SPRITEINFO* s = m_wnd.GetSpriteAt(it->pos)) {
                s->szName[0] = '\0';
                s->nUser[2] = 0;
            }
            items.push_back(GroupEntry(it->pos, line, Depth(seat, k)));
            m_seats[seat].push_back(HANDENTRY{it->nCard, -1, it->pos});
            it = hand.erase(it);
            ++k;
        }
        if (k != n)
            WriteLog("iCard=%d --- nCards=%d,card[0]=%d ,PutCard Erro!", k, n,
                     n > 0 ? cards[0] : -1);
        if (m_fields.viewpoint.nCardOrder)
            hands->SortCardbyWeight(TRUE);
        else
            hands->CalcLayout();
        if (!m_wnd.PlayGroup(items.data(), BYTE(items.size()), int(groupId), TRUE)) {
            WriteLog("PutCard:!m_wnd.PlayGroup(psgi,nCards,uGroupID)!");
            FreeLines(items);
            return FALSE;
        }
        return k == n;
    } catch (const std::exception&) {
        WriteLog("PutCard Erro Exception!");
        return FALSE;
    }
}

BOOL CTableCards::LayNewCards(CCardLayout* hands, int seat, const int* cards, int n, UINT groupId,
                              bool fromSeatPlace) {
    const int view = m_fields.viewpoint.ViewOf(seat);
    const CSpritePos avatar = m_fields.AvatarPoint(view);
    std::vector<SPRITEGROUPITEM> items;
    for (int k = 0; k < n; ++k) {
        const CSpritePos to = CalcTableCardPos(view, k, n);
        CSpritePos from = avatar;
        if (!fromSeatPlace) // rises or drops from the height of the seat's place
            from.Set(to.x, avatar.y, to.anchor);
        const POSITION image = hands->GetCardImage(cards[k]);
        CSpriteLine* line = image ? new (std::nothrow) CStraightLine : nullptr;
        if (!line) {
            WriteLog("PutCard:NULL == pLine!");
            break;
        }
        line->Init(from.x, from.y, from.anchor, to.x, to.y, to.anchor, 3, -1, 255, 255);
        const POSITION pos =
            m_wnd.AddSprite(image, line, 0, Depth(seat, k), 1, cards[k], nullptr, FALSE);
        items.push_back(GroupEntry(pos, nullptr, Depth(seat, k)));
        m_seats[seat].push_back(HANDENTRY{cards[k], -1, pos});
    }
    if (!m_wnd.PlayGroup(items.data(), BYTE(items.size()), int(groupId), TRUE)) {
        WriteLog("PutCard:!m_wnd.PlayGroup(psgi,nCards,uGroupID)!");
        return FALSE;
    }
    return int(items.size()) == n;
}

BOOL CTableCards::PutCardBlind(CCardLayout* hands, int seat, const int* cards, int n,
                               BOOL redrawBacks, int backs) {
    if (!hands)
        return FALSE;
    if (!IsSeat(seat) || backs < 0 || backs > kHandSize) {
        WriteLog("PutCardBlind refused: seat %d, %d backs", seat, backs);
        return FALSE;
    }
    if (!CheckCardRecord(cards, n, false, "PutCardBlind"))
        return FALSE;
    if (redrawBacks) {
        hands->ClearHand();
        for (int i = 0; i < backs; ++i)
            hands->DisplayCard(kNoCard);
    }
    RemoveSprites(m_seats[seat]);
    return LayNewCards(hands, seat, cards, n, kBlindGroupId, false);
}

BOOL CTableCards::RelayTable(CCardLayout* hands) {
    if (!hands)
        return FALSE;
    for (int seat = 0; seat < kSeatCount; ++seat) {
        CHandList& list = m_seats[seat];
        if (list.empty())
            continue;
        const int n = int(list.size());
        const int view = m_fields.viewpoint.ViewOf(seat);
        std::vector<SPRITEGROUPITEM> items;
        int k = 0;
        for (HANDENTRY& entry : list) {
            m_wnd.FinishAnimation(entry.pos);
            m_wnd.RemoveSprite(entry.pos);
            CSpriteLine* line = new (std::nothrow) CFixedLine;
            if (!line)
                return FALSE;
            const CSpritePos at = CalcTableCardPos(view, k, n);
            line->SetFrom(at.x, at.y, at.anchor, 255);
            entry.pos = m_wnd.AddSprite(hands->GetCardImage(entry.nCard), line, 0, Depth(seat, k),
                                        1, entry.nCard, nullptr, FALSE);
            items.push_back(GroupEntry(entry.pos, nullptr, Depth(seat, k)));
            ++k;
        }
        m_wnd.PlayGroup(items.data(), BYTE(items.size()), kRelayGroupId, TRUE);
    }
    return TRUE;
}

BOOL CTableCards::CollectToCentre(int seat, BOOL record) {
    (void)seat; // every seat's cards go
    CRect client;
    m_wnd.GetClientRect(&client);
    const SIZE card = m_fields.CardSize();
    const CSpritePos centre(client.Width() / 2 - card.cx / 2, client.Height() / 2 - card.cy / 2);
    if (record)
        for (int view = 0; view < kSeatCount; ++view)
            m_fields.ClearLastCards(view);
    bool first = true;
    for (int s = 0; s < kSeatCount; ++s) {
        const int view = m_fields.viewpoint.ViewOf(s);
        int k = 0;
        for (const HANDENTRY& entry : m_seats[s]) {
            if (record)
                m_fields.AddLastCard(view, entry.nCard);
            SPRITEINFO* old = m_wnd.GetSpriteAt(entry.pos);
            if (!old)
                continue;
            m_wnd.FinishAnimation(entry.pos);
            const CSpritePos from = SpritePlaceOf(&m_wnd, entry.pos);
            const POSITION image = old->posImage;
            const POSITION flight = AddCardFlight(&m_wnd, image, from, centre, 5, 255, 100,
                                                  kFlightDepth + k, entry.nCard, nullptr, TRUE,
                                                  first ? kCardsLandedEnd : CCardLayout::kNoNotify,
                                                  first ? m_fields.CardsLanded() : SpriteDone{});
            m_wnd.RemoveSprite(entry.pos);
            if (flight && first) {
                first = false;
                m_fields.bResortPending = FALSE;
            }
            ++k;
        }
        m_seats[s].clear();
    }
    return !first;
}

void CTableCards::ClearSeat(int seat) {
    if (!IsSeat(seat))
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    m_fields.ClearLastCards(view);
    for (const HANDENTRY& entry : m_seats[seat])
        m_fields.AddLastCard(view, entry.nCard);
    RemoveSprites(m_seats[seat]);
}
