// The table window as the record handling's view: the operations of the
// view that stand on the window's parts (the card layout, the played cards,
// the deal window, the buttons, the tips and the sound plug-in) rather than
// on a flow display of their own.

#include "table/window/GameWnd.h"
#include "table/common/TableAppLink.h"

void CGameWnd::LayPlay(int seat, const int32_t* codes, int count, BOOL blind, int handCount) {
    if (blind)
        m_tableCards.PutCardBlind(&m_hands, seat, codes, count, handCount <= 10, handCount);
    else
        m_tableCards.PutCard(&m_hands, seat, codes, count, CTableCards::kBlindGroupId);
}

void CGameWnd::TakeUpSeatCards(int seat) {
    if (!m_tableCards.GetSeatCards(seat).empty())
        m_tableCards.ClearSeat(seat);
}

void CGameWnd::ClearTableCards() {
    for (int seat = 0; seat < kSeatCount; ++seat)
        m_tableCards.ClearSeat(seat);
}

BOOL CGameWnd::CollectRound() {
    return m_tableCards.CollectToCentre(m_fields.viewpoint.nMySeat, TRUE);
}

void CGameWnd::StartDeal(const int* codes, int count, int mySeat) {
    // My cards wait in the deal window until the shuffle has been shown; its
    // end starts the deal, whose end opens the receive gate.
    m_dealPace.StopDeal(0);
    m_dealPace.SetCardsSeat(mySeat);
    m_dealPace.AddDealCards(codes, count);
    if (!m_marks.ShowShuffleMark([this] { ResetCardSprites(); }))
        ResetCardSprites();
}

void CGameWnd::ClearCues() {
    m_hands.ClearLeftCue();
    m_hands.ClearRightCue();
}

void CGameWnd::ClearShownHands() {
    m_hands.ClearLeftShown();
    m_hands.ClearRightShown();
}

void CGameWnd::ShowCueCards(const int32_t* codes, int count, int fromSeat) {
    m_hands.ShowCueCards(codes, count, fromSeat);
}

void CGameWnd::ShowAllyHand(const int32_t* codes, int count, int seat) {
    m_hands.ShowAllyHand(codes, count, seat);
}

void CGameWnd::ClearSelection() {
    m_hands.ClearSelection();
}

void CGameWnd::ClearLastCards() {
    for (int view = 0; view < kSeatCount; ++view)
        m_fields.ClearLastCards(view);
}

void CGameWnd::StartRoundEnd() {
    SetTimer(kRoundEndTimer, 1000, nullptr);
}

void CGameWnd::StopRoundEnd() {
    KillTimer(kRoundEndTimer);
}

void CGameWnd::RepaintPlates() {
    OnUserTimer(kPlateRepaintTimer);
}

void CGameWnd::ShowTrustExitOnly() {
    m_buttons[kBtnTrust].Show(FALSE);
    m_buttons[kBtnTrust].Enable(FALSE);
    m_buttons[kBtnTrustExit].Enable(TRUE);
    m_buttons[kBtnTrustExit].Show(TRUE);
}

void CGameWnd::EnableSeatButtons(BOOL enable) {
    if (!enable) {
        for (int button : {kBtnTrust, kBtnTrustExit, kBtnSound, kBtnExchange, kBtnTakeChance})
            m_buttons[button].Enable(FALSE);
        return;
    }
    for (int button : {kBtnSound, kBtnExchange, kBtnTakeChance})
        m_buttons[button].Enable(TRUE);
    // The pair of trusteeship buttons follows the seat's word.
    ShowTrustButtons(m_board.IsSeatTrusted(m_fields.viewpoint.nMySeat));
}

void CGameWnd::ShowCoinButtons() {
    m_buttons[kBtnTakeChance].Show(TRUE);
    m_buttons[kBtnExchange].Show(TRUE);
}

void CGameWnd::TurnSeatsForGame() {
    TableApp().BeginGameClockOrder();
    UpdateViewpoint();
}

void CGameWnd::SetSoundPlayer(int seat, BOOL male) {
    m_soundHost.SetPlayerInfo(seat, male);
}

void CGameWnd::PassPluginData(const void* data) {
    m_soundHost.OnPeerMessage(data);
}
