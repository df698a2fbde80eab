#pragma once

// A deal as the table meets it, for the window's tests: my deal record
// handed over through the client, the shuffle played on the stepped clock
// until the deck lies on the table and input waits, and the deal run out
// until receiving goes on. The shuffle's end starts the deal, so the table
// must run its sprites' end events (a window made without kept ends).

#include "RecordsForWindowAndView.h"
#include "TableWindowKit.h"

namespace table_test {

template <class Fixture> class WithDeal : public Fixture {
protected:
    // The table made to run its sprites' end events (not to keep them).
    bool CreateDealingTable() { return this->CreateTable(new TestTableWnd); }
    // My deal of 36 cards (every sixth code) as the referee sends it, and the
    // shuffle played out: true once the deal is under way, before its first
    // card.
    bool StartDealRecord() {
        this->Deliver(*DealOf36());
        for (int t = 0; t < 1000 && this->wnd->IsInputAllowed(); ++t)
            this->Tick();
        return !this->wnd->IsInputAllowed();
    }
    // Ticks until the deal has ended and receiving goes on; whether it did.
    bool RunDealOut() {
        for (int t = 0; t < 5000 && !this->wnd->IsReceiveReady(); ++t)
            this->Tick();
        return this->wnd->IsReceiveReady() != FALSE;
    }
};

} // namespace table_test
