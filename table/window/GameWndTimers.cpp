// The table window's timers: countdowns, automatic answers, the round end
// and the repaint of the name plates.

#include "sprite/AppServices.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"
#include "table/common/TableAppLink.h"

namespace {

// Ticks of the plate repaint timer since the program started: only its
// first run also refreshes the user information.
int s_nPlateTicks = 0;

} // namespace

void CGameWnd::OnUserTimer(UINT_PTR id) {
    switch (id) {
    case kInfoTipTimer:
        m_info.OnInfoTipTick();
        break;
    case kResultCountdownTimer:
        m_panes.OnResultCountdownTick();
        break;
    case kTurnTimeoutTimer:
        KillTimer(kTurnTimeoutTimer);
        if (m_pClient != nullptr)
            m_pClient->SendTimeTick();
        break;
    case kCardsSettledTimer:
        KillTimer(kCardsSettledTimer);
        if (TableApp().GetCardOrder())
            m_hands.SortCardbyWeight(TRUE);
        EndHeldRecord();
        SettleTablePictures();
        break;
    case kAutoStartTimer:
        KillTimer(kAutoStartTimer);
        if (m_pClient != nullptr)
            m_pClient->SendStart(m_records.GetMultiple());
        break;
    case kRoundEndTimer:
        m_records.OnRoundEnd();
        SettleTablePictures();
        break;
    case kPlateRepaintTimer: {
        for (int seat = 0; seat < kSeatCount; ++seat)
            RedrawSeatPlate(seat);
        if (s_nPlateTicks <= 3)
            m_info.UpdateUserInfo(FALSE);
        const int before = s_nPlateTicks++;
        if (before >= 6)
            KillTimer(kPlateRepaintTimer);
        break;
    }
    case kHoverTimer:
        m_info.OnSeatHoverTick();
        break;
    case kPopupCheckTimer:
        m_info.OnSeatPopupCheckTick();
        break;
    case kNoticeWaitTimer:
        ShowWaitingNotices();
        break;
    case kGateWatchTimer:
        if (m_pClient != nullptr)
            ReceiveGate().CheckOverdue();
        break;
    default:
        CSpriteWnd::OnUserTimer(id);
        break;
    }
}
