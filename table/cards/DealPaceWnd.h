#pragma once

// The deal's pace: an invisible child of the table window that deals one card
// per timer tick around the table, posting each to the table window, which
// animates it. Two timers deal, so two cards go out per timer period.

#include "platform/PtrList.h"
#include "platform/window/Wnd.h"

#include "sprite/WindowMessages.h"

class CDealPaceWnd : public CWnd {
public:
    enum { kControlId = 100, kDealTimer = 50, kSecondDealTimer = 51 };

    CDealPaceWnd();
    ~CDealPaceWnd() override;

    // A zero-size child of the table window.
    BOOL Create(CWnd* parent);
    // My cards for the coming deal, in deal order.
    void AddDealCards(const int* codes, int count);
    // The seat the listed cards are dealt to; until set, the network
    // client's seat. The table sets its own, which need not be theClient's.
    void SetCardsSeat(int seat) { m_nCardsSeat = seat; }
    void SetDealStart(int startSeat, int value);
    void StartDealTimers();
    // Empties the list and gives how many codes it held; with flag set the
    // deal also ends at once.
    int StopDeal(int flag);

    int GetCardsLeft() const { return m_Cards.GetCount(); }

protected:
    void OnTimer(UINT_PTR id) override;

private:
    void PostToParent(UINT message, WPARAM wParam, LPARAM lParam);

    CPtrList m_Cards;
    int m_bRunning;
    int m_nCurrentSeat;
    int m_nStartSeat;
    int m_nStartValue; // kept with the start
    int m_nCardsSeat = -1;
};
