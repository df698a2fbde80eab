// The table window's side of the game records: the dispatch by kind to the
// record handling, the end of a record that held receiving, and the view's
// hand, timers and sounds.

#include "sprite/AppServices.h"
#include "sprite/Theme.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"
#include "table/client/RecordKinds.h"
#include "table/common/TableAppLink.h"

#include <cstdio>

LRESULT CGameWnd::OnGameMessage(WPARAM wParam, LPARAM lParam) {
    // The client checked the record where it took it from the socket; its
    // kind is found again only to reach the handler.
    const void* record = reinterpret_cast<const void*>(lParam);
    const int length = wParam > WPARAM(0x7FFFFFFF) ? -1 : int(wParam);
    const RecordDispatch dispatch = DispatchRecord(m_records, record, length);
    if (!dispatch.headed) {
        WriteLog("The table refused a game record without its head (%d bytes)", length);
        return 0;
    }
    // An id the table has no handler for is named to the player.
    if (!dispatch.handled) {
        WriteLog("The table has no handler for game record %x", unsigned(dispatch.id));
        char text[16];
        snprintf(text, sizeof text, "%x", unsigned(dispatch.id));
        ShowMessageBox(text);
        return 0;
    }
    if (!dispatch.read)
        WriteLog("The table refused game record %x of %d bytes it cannot read",
                 unsigned(dispatch.id), length);
    // What the record brought up keeps its place; what stood there gives way.
    SettleTablePictures();
    // Last: the next record may come in as soon as the gate opens.
    if (dispatch.done)
        EndHeldRecord();
    return 0;
}

void CGameWnd::EndHeldRecord() {
    ReceiveGate().Release(CReceiveGate::kRecord);
}

CReceiveGate& CGameWnd::ReceiveGate() const {
    return m_pClient->ReceiveGate();
}

BOOL CGameWnd::IsReceiveReady() const {
    return !ReceiveGate().IsHeld();
}

void CGameWnd::PlayGameSound(LPCSTR file) {
    if (file == nullptr || *file == '\0' || !TableApp().IsSoundEffectsOn())
        return;
    CString path = TableApp().GetSoundDir();
    if (!path.IsEmpty() && path[path.GetLength() - 1] != '/' && path[path.GetLength() - 1] != '\\')
        path += '/';
    PlaySoundPath(path + file);
}

void CGameWnd::PlaySoundPath(LPCSTR path) {
    kn::theTheme.PlayMusic(path, 0, 1);
}

void CGameWnd::PlayVoice(LPCSTR format, int seat, int variant) {
    const int voice = m_board.GetUserInfo(seat).nVoice;
    char file[64];
    if (variant < 0)
        snprintf(file, sizeof file, format, voice);
    else
        snprintf(file, sizeof file, format, voice, variant);
    PlayGameSound(file);
}

void CGameWnd::StartTurnTimeout(int seconds) {
    KillTimer(kTurnTimeoutTimer);
    // Seconds whose milliseconds pass the longest timer wait that long: a
    // wrapped count would tell the server of a time-out long before it.
    if (!IsWatcher() && seconds > 0)
        SetTimer(kTurnTimeoutTimer,
                 UINT(std::min<int64_t>(int64_t(seconds) * 1000, USER_TIMER_MAXIMUM)), nullptr);
}

void CGameWnd::RestartInfoTimers(UINT plateMs) {
    KillTimer(kPlateRepaintTimer);
    SetTimer(kPlateRepaintTimer, plateMs, nullptr);
    if (m_board.GetRuleFlags() & kRuleChatWatchTarget) {
        KillTimer(kHoverTimer);
        KillTimer(kPopupCheckTimer);
        SetTimer(kHoverTimer, 1000, nullptr);
        SetTimer(kPopupCheckTimer, 1000, nullptr);
    }
}

void CGameWnd::ShowMyHand() {
    m_hands.ClearHand();
    if (m_pClient == nullptr)
        return;
    const int seat = m_fields.viewpoint.nMySeat;
    if (!IsSeat(seat))
        return;
    const tagCARD* hand = m_board.GetHand(seat);
    for (int i = 0; i < kHandSize; ++i)
        if (IsCountingCard(hand[i]) && hand[i].code < kCardCodeCount)
            m_hands.DisplayCard(hand[i].code);
    // Shown whole (a return to the table, a watched hand let open), the
    // hand keeps the card order the settings choose, as a dealt one does.
    if (m_fields.viewpoint.nCardOrder != 0 && m_fields.MayShowMyHand())
        m_hands.SortCardbyWeight(TRUE);
    else
        m_hands.CalcLayout();
}

void CGameWnd::ClearMyHand() {
    m_hands.ClearHand();
}
