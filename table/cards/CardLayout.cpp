#include "table/cards/CardLayout.h"

#include "game/Cards.h"
#include "game/GameLogic.h"
#include "sprite/AppServices.h"
#include "sprite/FrameImage.h"
#include "sprite/GameLayout.h"
#include "sprite/SpriteWnd.h"
#include "table/common/TableWndFields.h"

#include <algorithm>
#include <exception>
#include <new>
#include <utility>

const char kMyCardName[] = "MYCARD";
const char kLeftShownName[] = "MYCARDLEFT";
const char kRightShownName[] = "MYCARDRIGHT";
const char kCueCardName[] = "ALLIANCECUECARD";
const char kHiddenBackName[] = "mycard";

namespace {

constexpr int kFaceCount = 54;
constexpr int kFrameDelay = 10;

// Forgets every image of the list with the id: an image no sprite shows is
// deleted now, one still shown goes with its last sprite. `ours` holds the
// layout's own reference, which is given back.
void DropImagesWithId(CSpriteImageList& images, int id, POSITION ours) {
    CSpriteImage* image = nullptr;
    while (POSITION pos = images.Find(id, &image)) {
        image->m_nId = -1;
        if (pos == ours || image->m_nRef == 0)
            images.Release(pos);
    }
}

// One image cut from the sheet's cell with the shared mask, kept alive by
// the layout's own reference.
POSITION AddCardImage(CSpriteImageList& images, CFrameImage* image, HBITMAP sheet, const RECT& cell,
                      const RECT& mask, int id) {
    image->AddFrame(sheet, &cell, kFrameDelay);
    image->SetMask(sheet, &mask);
    image->m_nId = id;
    POSITION pos = images.Add(image);
    images.AddRef(pos);
    return pos;
}

BOOL CutSheet(CSpriteWnd* wnd, CBitmap* sheet, int cx, int cy, int firstId, int backId,
              POSITION* faces, POSITION& back) {
    if (!wnd || !sheet || !sheet->GetSafeHandle() || cx <= 0 || cy <= 0) {
        WriteLog("Card sheet refused: no bitmap or cells of %dx%d", cx, cy);
        return FALSE;
    }
    BITMAP info{};
    sheet->GetBitmap(&info);
    const int perRow = info.bmWidth / cx;
    const int rows = perRow > 0 ? (kFaceCount + perRow - 1) / perRow : 0;
    // The back and the mask lie in row 4, columns 2 and 3, whatever the width.
    if (perRow < 4 || info.bmHeight < std::max(rows, 5) * cy) {
        WriteLog("Card sheet refused: %dx%d cannot hold cells of %dx%d", int(info.bmWidth),
                 int(info.bmHeight), cx, cy);
        return FALSE;
    }
    CSpriteImageList& images = wnd->GetImageList();
    const HBITMAP bitmap = *sheet;
    const RECT mask{3 * cx, 4 * cy, 4 * cx, 5 * cy};
    for (int i = 0; i < kFaceCount; ++i) {
        DropImagesWithId(images, firstId + i, faces[i]);
        const int col = i % perRow, row = i / perRow;
        const RECT cell{col * cx, row * cy, (col + 1) * cx, (row + 1) * cy};
        faces[i] = AddCardImage(images, new CAlphaFrameImage, bitmap, cell, mask, firstId + i);
    }
    DropImagesWithId(images, backId, back);
    const RECT backCell{2 * cx, 4 * cy, 3 * cx, 5 * cy};
    back = AddCardImage(images, new CCardFaceImage, bitmap, backCell, mask, backId);
    return TRUE;
}

int Rank(int card) {
    return CGameLogic::CheckedCardFromIndex(card).rank;
}

} // namespace

// ---- images ----

BOOL CCardLayout::LoadCardFaces(CBitmap* sheet, int cx, int cy) {
    return CutSheet(&m_wnd, sheet, cx, cy, kCardFaceImageId, kCardBackImageId, m_faces,
                    m_backImage);
}

BOOL CCardLayout::LoadLittleCardFaces(CBitmap* sheet, int cx, int cy) {
    return CutSheet(&m_wnd, sheet, cx, cy, kLittleFaceImageId, kLittleBackImageId, m_littleFaces,
                    m_littleBackImage);
}

POSITION CCardLayout::GetCardImage(int card) const {
    return card >= 0 ? m_faces[card % kFaceCount] : nullptr;
}

POSITION CCardLayout::GetLittleCardImage(int card) const {
    return card >= 0 ? m_littleFaces[card % kFaceCount] : nullptr;
}

// ---- places ----

int CCardLayout::HandBaseY() const {
    return -int(m_fields.CardSize().cy) - m_fields.Border();
}

int CCardLayout::HandRoom(bool clearOfPlate) const {
    CRect client;
    if (!m_wnd.m_hWnd)
        return 0;
    m_wnd.GetClientRect(&client);
    if (client.Width() <= 0)
        return 0;
    const int centre = client.Width() / 2;
    int half = centre - kHandMargin;
    // My plate, with its name lines below it, where it shares the rows of the
    // hand and its raised cards: the hand keeps clear of it on either side.
    const CGameLayout* layout = m_fields.pLayout;
    if (layout != nullptr && clearOfPlate) {
        const POINT corner = ResolvePos(m_fields.AvatarPoint(0));
        const CRect plate(corner.x, corner.y, corner.x + layout->m_sizeAvatar.cx + 1,
                          corner.y + layout->m_sizeAvatar.cy + kNameLinesHeight);
        CSpritePos line(0, HandBaseY());
        line.anchor = 7;
        const POINT base = ResolvePos(line);
        const int top = base.y - kHandRaise, bottom = base.y + m_fields.CardSize().cy;
        if (plate.top < bottom && plate.bottom > top) {
            if (plate.right <= centre)
                half = std::min(half, centre - plate.right - kHandMargin);
            else if (plate.left >= centre)
                half = std::min(half, plate.left - centre - kHandMargin);
        }
    }
    return std::max(0, 2 * half);
}

CCardLayout::FanPlace CCardLayout::MyHandFan(int n) const {
    int step = m_fields.CardInterval();
    const int cardWidth = m_fields.CardSize().cx;
    // A long hand closes up to fit the table beside my plate. A plate that
    // stands so near the centre that the cards would close up to less than
    // half their spacing is not kept clear: the hand keeps a fan one can
    // read, closed up only where the window is too narrow for it (never to
    // less than a pixel a card).
    const auto fits = [&](int room) {
        return n < 2 || room <= 0 || (n - 1) * step + cardWidth <= room;
    };
    const auto closedStep = [&](int room) { return (room - cardWidth) / (n - 1); };
    int room = HandRoom(true);
    if (!fits(room) && closedStep(room) < step / 2)
        room = HandRoom(false);
    if (!fits(room))
        step = std::max(1, closedStep(room));
    const int width = n > 0 ? (n - 1) * step + cardWidth : cardWidth - step;
    return FanPlace{-width / 2, step, HandBaseY(), 7, kHandRaise, kFirstDepth};
}

BOOL CCardLayout::FitHandToWindow() {
    if (m_hand.size() < 2)
        return FALSE;
    SPRITEINFO* first = m_wnd.GetSpriteAt(m_hand.front().pos);
    SPRITEINFO* second = m_wnd.GetSpriteAt(std::next(m_hand.begin())->pos);
    if (!first || !second || !first->pLine || !second->pLine)
        return FALSE;
    const int laid = second->pLine->EndPos().x - first->pLine->EndPos().x;
    if (laid == MyHandFan(int(m_hand.size())).step)
        return FALSE;
    CalcLayout();
    return TRUE;
}

// ---- my hand ----

BOOL CCardLayout::DisplayCard(int card) {
    const int count = int(m_hand.size());
    if (card == kNoCard) {
        // A back joins at the right end; raised cards come down.
        for (const HANDENTRY& entry : m_hand)
            SetFlags(entry.pos, Flags(entry.pos) & ~kCardSelectedFlag);
        return AppendBack(m_hand, MyHandFan(count + 1), false, m_backImage, nullptr, 255, kNoCard,
                          kMyCardName, kNoNotify);
    }
    if (!IsCardCode(card)) {
        WriteLog("Display card fail! nOldWhat = %d", card);
        return FALSE;
    }
    const POSITION image = GetCardImage(card);
    return InsertByCardOrder(m_hand, card, MyHandFan(count + 1), kMoveTicks,
                             [&](const CSpritePos& slot, int z) {
                                 return AddMovingSprite(image, slot, slot, kFadeTicks, 100, z, card,
                                                        kMyCardName, FALSE, kNoNotify);
                             });
}

BOOL CCardLayout::InsertCardByWeight(const HANDENTRY& entry) {
    if (!IsCardCode(entry.nCard)) {
        WriteLog("Insert card fail! nOldWhat = %d", entry.nCard);
        return FALSE;
    }
    const tagHANDENTRY weighed{entry.nCard, entry.nWeight, 0};
    const POSITION image = GetCardImage(entry.nCard);
    return InsertIntoFan(
        m_hand, entry, MyHandFan(int(m_hand.size()) + 1),
        [weighed](const HANDENTRY& e) {
            return IsCardCode(e.nCard) &&
                   CompareCardWeight(tagHANDENTRY{e.nCard, e.nWeight, 0}, weighed) < 0;
        },
        kMoveTicks,
        [&](const CSpritePos& slot, int z) {
            return AddMovingSprite(image, slot, slot, kFadeTicks, 100, z, entry.nCard, kMyCardName,
                                   FALSE, kNoNotify);
        });
}

BOOL CCardLayout::DealCard(int card, POSITION flying, int notifyEvent) {
    if (!IsCardCode(card)) {
        WriteLog("Display card fail! nOldWhat = %d", card);
        return FALSE;
    }
    const bool hasFlying = m_wnd.GetSpriteAt(flying) != nullptr;
    const CSpritePos from = hasFlying ? SpritePlace(flying) : CSpritePos{};
    const POSITION image = GetCardImage(card);
    constexpr int kDealTicks = 2;
    return InsertByCardOrder(m_hand, card, MyHandFan(int(m_hand.size()) + 1), kDealTicks,
                             [&](const CSpritePos& slot, int z) {
                                 return AddMovingSprite(image, hasFlying ? from : slot, slot,
                                                        kDealTicks, 100, z, card, kMyCardName,
                                                        FALSE, notifyEvent);
                             });
}

BOOL CCardLayout::DealBack(int card, POSITION flying, int notifyEvent) {
    const bool hasFlying = m_wnd.GetSpriteAt(flying) != nullptr;
    const CSpritePos from = hasFlying ? SpritePlace(flying) : CSpritePos{};
    return AppendBack(m_hand, MyHandFan(int(m_hand.size()) + 1), true, m_backImage,
                      hasFlying ? &from : nullptr, 255, card, kHiddenBackName, notifyEvent);
}

void CCardLayout::ClearHand() {
    ClearList(m_hand);
}

void CCardLayout::CalcLayout() {
    for (const HANDENTRY& entry : m_hand)
        m_wnd.FinishAnimation(entry.pos);
    if (!LayFan(m_hand, MyHandFan(int(m_hand.size())), kMoveTicks, true))
        WriteLog("CalcLayout::NULL==pLine");
}

void CCardLayout::SortCardbyWeight(BOOL byWeight) {
    if (!m_fields.MayShowMyHand()) {
        WriteLog("theClient.m_bWatcher&& !theBoard.m_bWatcher[theClient.m_nMySeat]");
        return;
    }
    try {
        CHandList copy;
        for (const HANDENTRY& entry : m_hand) {
            if (!IsCardCode(entry.nCard)) {
                WriteLog("card.nValue == 0xff");
                return;
            }
            m_wnd.FinishAnimation(entry.pos);
            copy.push_back(HANDENTRY{entry.nCard, -1, nullptr});
        }
        CHandList ordered;
        if (byWeight) {
            const bool threesLast = (m_fields.board.GetRuleFlags() & kRuleThrees) != 0;
            for (HANDENTRY& entry : copy) {
                if (entry.nWeight != -1)
                    continue;
                const int rank = Rank(entry.nCard);
                if (rank == kRankBigJoker)
                    entry.nWeight = 19;
                else if (rank == kRankSmallJoker)
                    entry.nWeight = 18;
                else if (rank == kRankTwo)
                    entry.nWeight = 17;
                else if (threesLast && rank == kRankThree)
                    entry.nWeight = 0;
                else {
                    // A rank weighs as many as the hand holds of it.
                    const int held = int(std::count_if(copy.begin(), copy.end(), [&](auto& e) {
                        return e.nWeight == -1 && Rank(e.nCard) == rank;
                    }));
                    for (HANDENTRY& same : copy)
                        if (same.nWeight == -1 && Rank(same.nCard) == rank)
                            same.nWeight = held;
                }
            }
            for (const HANDENTRY& entry : copy) {
                const tagHANDENTRY weighed{entry.nCard, entry.nWeight, 0};
                auto at = std::find_if(ordered.begin(), ordered.end(), [&](const HANDENTRY& e) {
                    return CompareCardWeight(tagHANDENTRY{e.nCard, e.nWeight, 0}, weighed) >= 0;
                });
                ordered.insert(at, entry);
            }
        } else {
            for (const HANDENTRY& entry : copy) {
                auto at = std::find_if(ordered.begin(), ordered.end(), [&](const HANDENTRY& e) {
                    return CompareCard(e.nCard, entry.nCard) >= 0;
                });
                ordered.insert(at, entry);
            }
        }
        RebuildHand(ordered);
    } catch (const std::exception&) {
        WriteLog("SortCardbyWeight, line:%d", 2314);
    }
}

// The re-sorted hand appears at once at its final slots, each card fading in,
// which is where inserting the cards one by one would leave them. Each card
// keeps its sprite: it is put at its new slot and depth as a new one would be.
void CCardLayout::RebuildHand(const CHandList& ordered) {
    CHandList old;
    old.swap(m_hand);
    const FanPlace fan = MyHandFan(int(ordered.size()));
    int i = 0;
    for (const HANDENTRY& entry : ordered) {
        auto held = std::find_if(old.begin(), old.end(),
                                 [&](const HANDENTRY& e) { return e.nCard == entry.nCard; });
        SPRITEINFO* s = held != old.end() ? m_wnd.GetSpriteAt(held->pos) : nullptr;
        CSpriteLine* line = s ? new (std::nothrow) CStraightLine : nullptr;
        if (!line) {
            WriteLog("Insert card fail! nOldWhat = %d", entry.nCard);
            break;
        }
        line->Init(fan.x0 + i * fan.step, fan.y, fan.anchor, fan.x0 + i * fan.step, fan.y,
                   fan.anchor, kFadeTicks, -1, 100, 255);
        s->nUser[1] = s->nUser[2] = 0;
        m_wnd.SetSpriteLine(held->pos, line, FALSE, 0, fan.z0 + i, 1, TRUE);
        m_hand.push_back(HANDENTRY{entry.nCard, entry.nWeight, held->pos});
        old.erase(held);
        ++i;
    }
    ClearList(old);
}

void CCardLayout::RefaceHand() {
    CSpriteImageList& images = m_wnd.GetImageList();
    for (const HANDENTRY& entry : m_hand) {
        SPRITEINFO* s = m_wnd.GetSpriteAt(entry.pos);
        const POSITION image = IsCardCode(entry.nCard) ? GetCardImage(entry.nCard) : m_backImage;
        if (!s || !image || s->posImage == image)
            continue;
        images.AddRef(image);
        const POSITION old = s->posImage;
        s->posImage = image;
        images.Release(old);
        m_wnd.InvalidateSprite(entry.pos);
    }
}

// ---- sprites ----

POSITION AddCardFlight(CSpriteWnd* wnd, POSITION image, const CSpritePos& from,
                       const CSpritePos& to, int ticks, BYTE alphaFrom, BYTE alphaTo, int z,
                       int card, LPCSTR name, BOOL autoRemove, int notifyEvent,
                       SpriteDone onLanded) {
    if (!wnd || !image)
        return nullptr;
    CSpriteLine* line = new (std::nothrow) CStraightLine;
    if (!line)
        return nullptr;
    // A card that stays keeps its channel at the end; one the engine removes lets it go.
    line->Init(from.x, from.y, from.anchor, to.x, to.y, to.anchor, ticks, autoRemove ? 0 : -1,
               alphaFrom, alphaTo);
    POSITION pos = wnd->AddSprite(image, line, 0, z, 1, card, name, autoRemove);
    const BOOL notify = notifyEvent != CCardLayout::kNoNotify;
    if (!wnd->PlaySprite(pos, notify, notify ? notifyEvent : 0, z, 1, TRUE, std::move(onLanded))) {
        WriteLog("Card sprite %d finds no free channel", card);
        wnd->RemoveSprite(pos);
        return nullptr;
    }
    return pos;
}

CSpritePos SpritePlaceOf(CSpriteWnd* wnd, POSITION sprite) {
    SPRITEINFO* s = wnd ? wnd->GetSpriteAt(sprite) : nullptr;
    if (!s)
        return CSpritePos{};
    if (s->nChannel >= 0 && s->pLine && !s->pLine->IsFixed()) {
        CSpritePos here(s->x, s->y);
        here.anchor = 0;
        return here;
    }
    return s->pLine ? s->pLine->EndPos() : CSpritePos(s->x, s->y);
}

POSITION CCardLayout::AddMovingSprite(POSITION image, const CSpritePos& from, const CSpritePos& to,
                                      int ticks, BYTE alphaFrom, int z, int card, LPCSTR name,
                                      BOOL autoRemove, int notifyEvent, SpriteDone onLanded) {
    return AddCardFlight(&m_wnd, image, from, to, ticks, alphaFrom, 255, z, card, name, autoRemove,
                         notifyEvent, std::move(onLanded));
}

CSpritePos CCardLayout::SpritePlace(POSITION sprite) const {
    return SpritePlaceOf(&m_wnd, sprite);
}
