// The smaller panes: each seat's remnant count, multiple and gousiji mark,
// the countdown beside the start or result pane, the reel of messages and
// the last cards.

#include "game/GameLogic.h"
#include "sprite/AppServices.h"
#include "sprite/SpriteWnd.h"
#include "table/panes/CellPaneImages.h"
#include "table/common/GameWndActionRules.h"
#include "table/panes/LastCardPaneImage.h"
#include "table/panes/ReelPaneImage.h"
#include "table/cards/SeatMarkPlaces.h"
#include "table/panes/TablePanes.h"
#include "table/records/TableRecords.h"
#include "table/common/TableWndFields.h"

#include <algorithm>

namespace {

enum {
    kStartPaneSprite = 500,
    kResultPaneSprite = 501,
    kReelPaneSprite = 502,
    kRemnantSpriteBase = 503,
    kGousjSpriteBase = 509,
    kCountdownSprite = 515,
    kLastCardSprite = 516,
    kMultipleSpriteBase = 517,
    kReelImage = 1010,
    kRemnantImageBase = 1014,
    kGousjImageBase = 1020,
    kCountdownImage = 1033,
    kLastCardImage = 1055,
    kMultipleImageBase = 1056,
    kSeatPaneLayer = 500,
    kCountdownLayer = 501,
    kReelLayer = 550,
    kLastCardLayer = 601,
    kMultipleLayer = 50,
    kCountdownMax = 99,
};

const char kEmptyReelLine[] = "暂无记录";

CSpritePos Offset(const CSpritePos& place, POINT by) {
    return PosAt(place.x + by.x, place.y + by.y, place.anchor);
}

} // namespace

void CTablePanes::ShowRemnantPane(int seat, int count) {
    if (!IsSeat(seat))
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    if (count <= 0) {
        HidePaneSprite(kRemnantSpriteBase + view);
        return;
    }
    const CString file = m_strLayoutFile;
    auto* pane = dynamic_cast<CRemnantPaneImage*>(
        FindOrMakePane(kRemnantImageBase + view, [&](int id) -> CPaneImage* {
            auto* made = new CRemnantPaneImage(id);
            made->LoadRemnantCardPane(file, "PANE_REMNANT", FALSE);
            return made;
        }));
    if (pane == nullptr)
        return;
    pane->m_nValue = count;
    PlacePane(kRemnantSpriteBase + view, pane,
              ClearSeatPane(kRemnantSpriteBase + view, pane,
                            Offset(m_fields.AvatarPoint(view), RemnantOffset(view))),
              kSeatPaneLayer);
}

void CTablePanes::ShowMultiplePane(int seat, int multiple, BOOL flag) {
    if (!IsSeat(seat) || (m_board.GetRuleFlags() & kRuleRoomMode))
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    if (multiple == 0 || !flag) {
        HidePaneSprite(kMultipleSpriteBase + view);
        return;
    }
    const int level = MultipleLevel(multiple);
    if (level == 0)
        return;
    const CString file = m_strLayoutFile;
    auto* pane = dynamic_cast<CRemnantPaneImage*>(
        FindOrMakePane(kMultipleImageBase + view, [&](int id) -> CPaneImage* {
            auto* made = new CRemnantPaneImage(id);
            made->LoadRemnantCardPane(file, "PANE_MULTIPLE", TRUE);
            return made;
        }));
    if (pane == nullptr)
        return;
    pane->m_nValue = level;
    PlacePane(kMultipleSpriteBase + view, pane,
              ClearSeatPane(kMultipleSpriteBase + view, pane,
                            Offset(m_fields.AvatarPoint(view),
                                   MultipleOffset(view, m_records.HasMultiples()))),
              kMultipleLayer);
}

void CTablePanes::ShowGousjPane(int seat, int value) {
    if (!IsSeat(seat))
        return;
    const int view = m_fields.viewpoint.ViewOf(seat);
    if (value == 0) {
        HidePaneSprite(kGousjSpriteBase + view);
        return;
    }
    const CString file = m_strLayoutFile;
    auto* pane = dynamic_cast<CGouSJPaneImage*>(
        FindOrMakePane(kGousjImageBase + view, [&](int id) -> CPaneImage* {
            auto* made = new CGouSJPaneImage(id);
            made->LoadGouSJPane(file, "PANE_GOUSJ");
            return made;
        }));
    if (pane == nullptr)
        return;
    pane->m_nValue = value;
    // Where the seat's shao mark stands, clear of its cards and of my hand.
    const POINT by{view >= 4 ? -43 : 107, 43};
    const SIZE size = pane->GetSize(nullptr);
    PlacePane(kGousjSpriteBase + view, pane,
              ClearSeatPane(kGousjSpriteBase + view, pane, SeatMarkPlace(m_fields, view, by, size)),
              kSeatPaneLayer);
}

CSpritePos CTablePanes::ClearSeatPane(int spriteId, CPaneImage* pane, const CSpritePos& at) {
    const SIZE size = pane->GetSize(nullptr);
    return m_host.ClearPlace(at, size, spriteId, TableRoomFor::kMark);
}

void CTablePanes::ShowCountdownPane(int seconds, int kind) {
    if (seconds <= 0) {
        HidePaneSprite(kCountdownSprite);
        return;
    }
    const int owner = kind == kCountdownOnStart    ? kStartPaneSprite
                      : kind == kCountdownOnResult ? kResultPaneSprite
                                                   : 0;
    POSITION ownerPos = owner != 0 ? m_wnd.FindSpritePos(owner) : nullptr;
    if (ownerPos == nullptr) {
        WriteLog("The table has no pane for a countdown of kind %d", kind);
        return;
    }
    const CString file = m_strLayoutFile;
    auto* pane = dynamic_cast<CCountdownPaneImage*>(
        FindOrMakePane(kCountdownImage, [&](int id) -> CPaneImage* {
            auto* made = new CCountdownPaneImage(id);
            made->LoadCountDownPane(file, "PANE_COUNTDOWN");
            return made;
        }));
    if (pane == nullptr)
        return;
    pane->m_nValue = seconds > kCountdownMax ? kCountdownMax : seconds;
    const SPRITEINFO* base = m_wnd.GetSpriteAt(ownerPos);
    const POINT by = CountdownOffset(kind, m_records.HasMultiples());
    PlacePane(kCountdownSprite, pane, PosAt(base->x + by.x, base->y + by.y, 0), kCountdownLayer);
}

void CTablePanes::ShowReelPane(BOOL show) {
    m_bReelPaneShown = show ? 1 : 0;
    if (!show) {
        HidePaneSprite(kReelPaneSprite);
        return;
    }
    const CString file = m_strLayoutFile;
    auto* pane =
        dynamic_cast<CReelPaneImage*>(FindOrMakePane(kReelImage, [&](int id) -> CPaneImage* {
            auto* made = new CReelPaneImage(id);
            made->LoadReelPane(file, "PANE_REEL");
            return made;
        }));
    if (pane == nullptr)
        return;
    pane->ClearReel();
    for (const CString& line : m_reelLines)
        pane->AddReelLine(line);
    // An empty scroll would look broken: it says that nothing is there yet.
    if (m_reelLines.empty())
        pane->AddReelLine(kEmptyReelLine);
    pane->SetOpening(TRUE);
    // One pass of the zoom: the scroll opens once and stays open (an endless
    // play would fold it up and open it again, over and over).
    if (POSITION pos = PlacePane(kReelPaneSprite, pane, AboveMyPlay(pane), kReelLayer, TRUE))
        m_wnd.StartSprite(pos, kNotifyNone, 0, kReelLayer, 1, TRUE);
}

CSpritePos CTablePanes::AboveMyPlay(CPaneImage* pane) {
    // A table too low for the pane keeps its top inside; the buttons and my
    // clock are drawn over it then, and the theme's reel still ends above
    // my hand.
    const SIZE size = pane->GetSize(nullptr);
    CRect client;
    m_wnd.GetClientRect(&client);
    const int playTop = m_host.MyPlayTop();
    int top = (client.Height() - size.cy) / 2;
    if (playTop > 0)
        top = std::min(top, playTop - kPlayGap - size.cy);
    top = std::max(top, 0);
    const POINT centre = ResolvePos(PosAt(0, 0, 4));
    return PosAt(-size.cx / 2, top - centre.y, 4);
}

void CTablePanes::ShowLastCardPane(BOOL show) {
    m_bLastCardPaneShown = show ? 1 : 0;
    if (!show) {
        HidePaneSprite(kLastCardSprite);
        return;
    }
    const CString file = m_strLayoutFile;
    auto* pane = dynamic_cast<CLastCardPaneImage*>(
        FindOrMakePane(kLastCardImage, [&](int id) -> CPaneImage* {
            auto* made = new CLastCardPaneImage(id);
            made->LoadLastCardPane(file, "PANE_LASTCARD");
            return made;
        }));
    if (pane == nullptr)
        return;
    pane->SetLastCards(m_fields.lastCards, m_fields.nLastCards);
    PlacePane(kLastCardSprite, pane, AboveMyPlay(pane), kLastCardLayer);
}

void CTablePanes::AddReelLine(LPCSTR text, BOOL clear) {
    if (clear)
        m_reelLines.clear();
    else
        m_reelLines.emplace_back(text != nullptr ? text : "");
}
