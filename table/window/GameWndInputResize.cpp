// The card faces follow the window's width: below 1000 pixels the small
// sheet, from 1000 the large one. A switch cuts the faces anew, makes the
// deck's backs at the new size and lays the cards out again.

#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/window/GameWnd.h"
#include "table/common/GameWndActionRules.h"

namespace {

constexpr int kWideTable = 1000;
constexpr int kDeckLayer = 100;

} // namespace

void CGameWnd::OnResize(UINT, int cx, int) {
    m_panes.ShowCountdownPane(0, kCountdownOnStart);
    if (SwitchCardFaces(cx)) {
        m_tableCards.RelayTable(&m_hands);
        m_hands.RefaceHand();
        if (m_fields.MayShowMyHand())
            m_hands.SortCardbyWeight(m_fields.viewpoint.nCardOrder != 0);
        else
            m_hands.CalcLayout();
    } else {
        // The same faces on another width: a long hand may close up or open out.
        m_hands.FitHandToWindow();
    }
    // The seats' pictures keep their anchors; on another size they may meet.
    SettleTablePictures();
}

BOOL CGameWnd::SwitchCardFaces(int cx) {
    CGameLayout* layout = m_fields.pLayout;
    if (layout == nullptr)
        return FALSE;
    const bool wide = cx >= kWideTable;
    CBitmap& sheet = wide ? layout->m_bmpCardsBig : layout->m_bmpCards;
    const int interval = wide ? layout->m_nIntervalBig : layout->m_nInterval;
    const SIZE size = wide ? layout->m_sizeCardBig : layout->m_sizeCard;
    const int now = m_fields.CardInterval();
    const bool change = wide ? now < interval : now > interval;
    if (!change || sheet.GetSafeHandle() == nullptr)
        return FALSE;
    if (!m_hands.LoadCardFaces(&sheet, size.cx, size.cy)) {
        WriteLog("The table kept its card faces: the %s sheet does not cut",
                 wide ? "large" : "small");
        return FALSE;
    }
    m_fields.nIntervalNow = interval;
    m_fields.sizeCardNow = size;
    if (wide)
        RebuildDeckBacks(10, 510);
    else
        RebuildDeckBacks(8, 408);
    // A deal under way keeps its deck on the table.
    ShowDeckBacksLeft();
    return TRUE;
}

BOOL CGameWnd::RebuildDeckBacks(int step, int widthExtra) {
    const SIZE card = m_fields.CardSize();
    BOOL whole = TRUE;
    for (int i = 0; i < kDeckSize; ++i) {
        // The slot is emptied with its sprite, so that no later deal reaches a
        // back that is gone.
        if (m_deck[i] != nullptr) {
            RemoveSprite(m_deck[i]);
            m_deck[i] = nullptr;
        }
        POSITION image = m_hands.GetCardBackImage();
        if (image == nullptr) {
            whole = FALSE;
            continue;
        }
        auto* line = new CFixedLine;
        line->SetFrom(-(card.cx + widthExtra) / 2 + step * i, -card.cy / 2, 4, 255);
        m_deck[i] = AddSprite(image, line, kDeckSpriteBase + i, kDeckLayer, 0, (step << 16) | i,
                              nullptr, FALSE);
        if (m_deck[i] == nullptr)
            whole = FALSE;
    }
    if (!whole)
        WriteLog("The table could not make every back of its deck");
    return whole;
}
