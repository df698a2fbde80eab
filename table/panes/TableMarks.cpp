// Seat marks: trusteeship, pass/let/give up, points, shao, revolution,
// finishing places, ready, waiting and exchange, each placed by the seat's
// view position from its plate's point, made once and then shown or removed.

#include "table/panes/TableMarks.h"

#include "game/GameLogic.h"
#include "game/Seats.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "sprite/SpriteWnd.h"
#include "table/client/GameNetClient.h"
#include "table/common/GameWndActionRules.h"
#include "table/panes/PaneImage.h"
#include "table/cards/SeatMarkPlaces.h"
#include "table/common/TableWndFields.h"

namespace {

constexpr int kMarkLayer = 200;
// Image ids of the marks' pictures in the window's image list.
constexpr int kPassImage = 1, kLetImage = 2, kGaveUpImage = 8;
constexpr int kTrustImage = 300; // 300..307 in the order of the point marks below
constexpr int kReadyImageBase = 314;
// Each view's place mark has one picture per place (6 x 6 ids).
constexpr int kPlaceImageBase = 3100;

bool IsRightSide(int view) {
    return view == 4 || view == 5;
}

// The point marks' pictures follow the sprites' order: 718 is image 303.
const int kSeatFlags[] = {CGameLayout::FLAG_OPENPOINT, CGameLayout::FLAG_SHAOPAI,
                          CGameLayout::FLAG_REVOLUTION, CGameLayout::FLAG_NOWPOINT,
                          CGameLayout::FLAG_PREPOINT};
// How far below a plate's point each of them stands.
constexpr int kShaoRow = 43, kOpenPointRow = 81, kNowPointRow = 119;

// A copy of a layout bitmap that an image may own and free.
HBITMAP CopyBitmap(HBITMAP source) {
    const CSize size = GetHBitmapSize(source);
    if (source == nullptr || size.cx <= 0 || size.cy <= 0)
        return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, size.cx, size.cy);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HGDIOBJ oldFrom = SelectObject(from, source);
    HGDIOBJ oldTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    return copy;
}

} // namespace

POSITION CTableMarks::FlagImage(int imageId, int flag) {
    POSITION image = m_wnd.GetImageList().Find(imageId);
    if (image != nullptr)
        return image;
    if (m_fields.pLayout == nullptr || flag < 0 || flag >= CGameLayout::FLAG_COUNT)
        return nullptr;
    auto* picture = new CAlphaHalfImage(imageId);
    HBITMAP copy =
        CopyBitmap(static_cast<HBITMAP>(m_fields.pLayout->m_bmpFlags[flag].GetSafeHandle()));
    if (copy == nullptr || !picture->SetBitmap(copy)) {
        if (copy != nullptr)
            DeleteObject(copy);
        delete picture;
        WriteLog("The table has no picture for mark %s", CGameLayout::kFlagKeys[flag]);
        return nullptr;
    }
    return m_wnd.GetImageList().Add(picture);
}

POSITION CTableMarks::ShowMark(int spriteId, int imageId, int flag, const CSpritePos& at,
                               int layer) {
    const POSITION image = FlagImage(imageId, flag);
    if (image == nullptr)
        return nullptr;
    POSITION pos = m_wnd.FindSpritePos(spriteId);
    SPRITEINFO* s = pos != nullptr ? m_wnd.GetSpriteAt(pos) : nullptr;
    if (s != nullptr && s->posImage != image) {
        // The same mark with another picture: made again.
        m_wnd.RemoveSprite(pos);
        pos = nullptr;
    }
    const CSpritePos inside = ClearPlace(at, m_wnd.GetImageList().GetAt(image)->GetSize(nullptr),
                                         spriteId, TableRoomFor::kMark);
    auto* line = new CFixedLine;
    line->Init(inside.x, inside.y, inside.anchor, inside.x, inside.y, inside.anchor, 1, -1, 255,
               255);
    if (pos == nullptr) {
        pos = m_wnd.AddSprite(image, line, spriteId, layer, 0, 0, "mark", FALSE);
        if (pos == nullptr)
            return nullptr;
        line = nullptr;
    }
    if (line != nullptr)
        m_wnd.SetSpriteLine(pos, line, FALSE, 0, layer, 0, FALSE);
    else
        m_wnd.PlaySprite(pos, FALSE, 0, layer, 0, FALSE);
    return pos;
}

CSpritePos CTableMarks::ClearPlace(const CSpritePos& at, SIZE size, int spriteId,
                                   TableRoomFor what) const {
    return m_host.ClearPlace(at, size, spriteId, what);
}

void CTableMarks::RemoveSpriteById(int spriteId) {
    if (POSITION pos = m_wnd.FindSpritePos(spriteId))
        m_wnd.RemoveSprite(pos);
}

void CTableMarks::StopSpriteById(int spriteId) {
    if (POSITION pos = m_wnd.FindSpritePos(spriteId))
        m_wnd.StopSprite(pos, TRUE, FALSE);
}

void CTableMarks::ShowTrustMark(int seat, int status) {
    if (!IsSeat(seat))
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    static const struct {
        int status, sprite, image, flag;
    } kTrust[] = {{300, kTrustMark, kTrustImage, CGameLayout::FLAG_TRUST},
                  {301, kTrustExitMark, kTrustImage + 1, CGameLayout::FLAG_TRUSTEXIT},
                  {302, kBreakMark, kTrustImage + 2, CGameLayout::FLAG_BREAK}};
    CSpritePos at = m_fields.SeatPlace(seat);
    at.x += IsRightSide(view) ? 72 : 2;
    at.y += 2;
    for (const auto& t : kTrust) {
        if (t.status == status)
            ShowMark(t.sprite + view, t.image, t.flag, at, kMarkLayer);
        else
            RemoveSpriteById(t.sprite + view);
    }
}

void CTableMarks::ClearTrustMarks() {
    for (int view = 0; view < kSeatCount; ++view)
        for (int base : {kTrustMark, kTrustExitMark, kBreakMark})
            RemoveSpriteById(base + view);
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_panes.ShowMultiplePane(seat, 0, FALSE);
}

void CTableMarks::ShowActionMark(int seat, int flags) {
    if (!IsSeat(seat))
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    const int shown = (flags & 1)   ? kPassMark
                      : (flags & 2) ? kLetMark
                      : (flags & 8) ? kGaveUpMark
                                    : -1;
    static const struct {
        int sprite, image, flag;
    } kActions[] = {{kPassMark, kPassImage, CGameLayout::FLAG_PASS},
                    {kLetMark, kLetImage, CGameLayout::FLAG_RANGPAI},
                    {kGaveUpMark, kGaveUpImage, CGameLayout::FLAG_GAVEUP}};
    CSpritePos at = m_fields.SeatPlace(seat);
    if (view == 0) {
        at = CSpritePos(-29, -200);
        at.anchor = 7;
    } else if (view == 3) {
        at.x += 16;
        at.y += 178;
    } else {
        at.x += IsRightSide(view) ? -178 : 201;
        at.y += 73;
    }
    for (const auto& a : kActions) {
        if (a.sprite == shown)
            ShowMark(a.sprite + view, a.image, a.flag, at, kMarkLayer);
        else
            RemoveSpriteById(a.sprite + view);
    }
}

void CTableMarks::ShowSeatFlag(int seat, BOOL show, int spriteBase, int dy, BOOL flash) {
    if (!IsSeat(seat))
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    const int id = spriteBase + view;
    if (!show) {
        RemoveSpriteById(id);
        return;
    }
    const int index = (spriteBase - kOpenPointMark) / kSeatCount;
    const POSITION image = FlagImage(kTrustImage + 3 + index, kSeatFlags[index]);
    if (image == nullptr)
        return;
    const SIZE size = m_wnd.GetImageList().GetAt(image)->GetSize(nullptr);
    ShowMark(id, kTrustImage + 3 + index, kSeatFlags[index], SeatFlagPlace(view, dy, size),
             kMarkLayer);
    if (flash) {
        const CSpritePos seatAt = m_fields.SeatPlace(seat);
        PlaceNamedSprite("标志", kFlashSprite, PosAt(seatAt.x - 14, seatAt.y - 15, seatAt.anchor),
                         -1);
    }
}

CSpritePos CTableMarks::SeatFlagPlace(int view, int dy, SIZE size) const {
    return SeatMarkPlace(m_fields, view, POINT{IsRightSide(view) ? -43 : 107, dy}, size);
}

void CTableMarks::MarkOpenPoint(int seat, BOOL show) {
    ShowSeatFlag(seat, show, kOpenPointMark, kOpenPointRow, TRUE);
}
void CTableMarks::MarkShao(int seat, BOOL show, BOOL effect) {
    ShowSeatFlag(seat, show, kShaoMark, kShaoRow, effect);
}
void CTableMarks::MarkRevolution(int seat, BOOL show) {
    ShowSeatFlag(seat, show, kRevolutionMark, kOpenPointRow, TRUE);
}
void CTableMarks::MarkNowPoint(int seat, BOOL show) {
    ShowSeatFlag(seat, show, kNowPointMark, kNowPointRow, TRUE);
}
void CTableMarks::MarkPrePoint(int seat, BOOL show) {
    ShowSeatFlag(seat, show, kPrePointMark, kNowPointRow, TRUE);
}

void CTableMarks::ShowPlaceMark(int seat, int place) {
    if (!IsSeat(seat) || place < 0 || place >= kSeatCount)
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    const int flag = (IsRightSide(view) ? CGameLayout::FLAG_ONEO : CGameLayout::FLAG_ONE) + place;
    const int imageId = kPlaceImageBase + view * kSeatCount + place;
    const POSITION image = FlagImage(imageId, flag);
    if (image == nullptr)
        return;
    const SIZE size = m_wnd.GetImageList().GetAt(image)->GetSize(nullptr);
    const POINT by{IsRightSide(view) ? -63 : 89, -11};
    CSpritePos at;
    if (view == 0) {
        // My plate's top edge, where the marks of the seats above may reach
        // down on a low table: mine moves right of them.
        const CSpritePos plate = m_fields.AvatarPoint(0);
        at = RightOf(PosAt(plate.x + by.x, plate.y + by.y, plate.anchor), size,
                     OtherSeatsFlagRects());
    } else {
        at = SeatMarkPlace(m_fields, view, by, size);
    }
    // Over the cards: beside its seat's played cards, it may still meet a
    // partner's open hand that the seat has played out of.
    ShowMark(kPlaceMark + view, imageId, flag, at, kMarkLayer);
}

std::vector<CRect> CTableMarks::OtherSeatsFlagRects() {
    std::vector<CRect> taken;
    const POSITION image = FlagImage(kTrustImage + 3, kSeatFlags[0]);
    if (image == nullptr)
        return taken;
    const SIZE size = m_wnd.GetImageList().GetAt(image)->GetSize(nullptr);
    for (int view = 1; view < kSeatCount; ++view)
        for (int dy : {kShaoRow, kOpenPointRow, kNowPointRow})
            taken.push_back(PlacedRect(SeatFlagPlace(view, dy, size), size));
    return taken;
}

void CTableMarks::ClearPlaceMarks() {
    for (int view = 0; view < kSeatCount; ++view)
        RemoveSpriteById(kPlaceMark + view);
}

void CTableMarks::ShowReadyMark(int seat, BOOL clear) {
    if (clear) {
        for (int view = 0; view < kSeatCount; ++view)
            RemoveSpriteById(kReadyMark + view);
        return;
    }
    if (!IsSeat(seat))
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    CSpritePos at = m_fields.SeatPlace(seat);
    at.x += 2;
    at.y += 85;
    ShowMark(kReadyMark + view, kReadyImageBase + view, CGameLayout::FLAG_START, at, kMarkLayer);
}

void CTableMarks::ShowWaitMark(int seat, BOOL hide) {
    if (hide) {
        RemoveSpriteById(kWaitSprite);
        return;
    }
    if (!IsSeat(seat))
        return;
    // A player does not wait for himself.
    if (seat == m_fields.viewpoint.nMySeat && !m_fields.viewpoint.bWatcher)
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    CSpritePos at = m_fields.SeatPlace(seat);
    if (view == 0) {
        at = CSpritePos(-43, -100);
        at.anchor = 7;
    } else if (view == 3) {
        at.x += 16;
        at.y += 165;
    } else {
        at.x += IsRightSide(view) ? -177 : 190;
        at.y += 50;
    }
    PlaceNamedSprite("等待", kWaitSprite, at, -1);
}

void CTableMarks::ShowExchangeMark(int seat) {
    if (!IsSeat(seat))
        return;
    CSpritePos at = m_fields.SeatPlace(seat);
    if (m_fields.pLayout != nullptr) {
        at.x += m_fields.pLayout->m_sizeAvatar.cx / 2;
        at.y += m_fields.pLayout->m_sizeAvatar.cy / 2;
    }
    // The exchange sprite is centred on the point.
    PlaceNamedSprite("兑换", kExchangeSprite, at, -1, TRUE);
    m_host.PlayGameSound("coin.wav");
}

void CTableMarks::ClearAllSeats() {
    for (int view = 0; view < kSeatCount; ++view) {
        for (int base : {kOpenPointMark, kShaoMark, kRevolutionMark, kNowPointMark, kPrePointMark,
                         kPassMark, kLetMark, kGaveUpMark})
            RemoveSpriteById(base + view);
        // The seat's remnant and gousiji panes.
        RemoveSpriteById(kRemnantPaneSprite + view);
        RemoveSpriteById(kGousjPaneSprite + view);
    }
    ClearPlaceMarks();
}
