#include "table/cards/DealPaceWnd.h"

#include "game/Cards.h"
#include "table/client/GameNetClient.h"

#include <cstdint>

namespace {

constexpr UINT kDealPeriodMs = 1; // the timer layer makes it 10 ms

} // namespace

CDealPaceWnd::CDealPaceWnd()
    : m_Cards(10), m_bRunning(0), m_nCurrentSeat(0), m_nStartSeat(0), m_nStartValue(0) {}

CDealPaceWnd::~CDealPaceWnd() = default;

BOOL CDealPaceWnd::Create(CWnd* parent) {
    const RECT none = {0, 0, 0, 0};
    return CWnd::Create(nullptr, nullptr, WS_CHILD, none, parent, kControlId);
}

void CDealPaceWnd::AddDealCards(const int* codes, int count) {
    if (codes == nullptr)
        return;
    for (int i = 0; i < count; ++i)
        m_Cards.AddTail(reinterpret_cast<void*>(intptr_t(codes[i])));
}

void CDealPaceWnd::SetDealStart(int startSeat, int value) {
    m_bRunning = 1;
    m_nCurrentSeat = startSeat;
    m_nStartSeat = startSeat;
    m_nStartValue = value;
}

void CDealPaceWnd::StartDealTimers() {
    SetTimer(kDealTimer, kDealPeriodMs, nullptr);
    SetTimer(kSecondDealTimer, kDealPeriodMs, nullptr);
}

int CDealPaceWnd::StopDeal(int flag) {
    const int count = m_Cards.GetCount();
    m_Cards.RemoveAll();
    if (flag) {
        KillTimer(kDealTimer);
        PostToParent(WM_DEAL_DONE, 0, 0);
    }
    return count;
}

void CDealPaceWnd::PostToParent(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HWND parent = ::GetParent(m_hWnd))
        ::PostMessage(parent, message, wParam, lParam);
}

void CDealPaceWnd::OnTimer(UINT_PTR id) {
    if (id != kDealTimer && id != kSecondDealTimer) {
        CWnd::OnTimer(id);
        return;
    }
    if (m_Cards.IsEmpty() && m_nCurrentSeat == m_nStartSeat) {
        KillTimer(id);
        m_bRunning = 0;
        if (id == kDealTimer)
            PostToParent(WM_DEAL_DONE, 0, 0);
        return;
    }
    // My cards come from the list; a deal that started at another seat can
    // find the list empty at my turn, and that card is dealt as a back.
    int code = -1;
    const int cardsSeat = m_nCardsSeat >= 0 ? m_nCardsSeat : theClient.m_nMySeat;
    if (m_nCurrentSeat == cardsSeat && !m_Cards.IsEmpty())
        code = int(intptr_t(m_Cards.RemoveHead()));
    PostToParent(WM_DEAL_CARD, WPARAM(code), LPARAM(m_nCurrentSeat));
    m_nCurrentSeat = (m_nCurrentSeat + 1) % kSeatCount;
}
