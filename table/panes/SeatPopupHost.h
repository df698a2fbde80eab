#pragma once

// What the seat pop-up asks of the table it opens on: the state of the seat
// it acts on, the table's notices, the user name at a seat and the two
// requests to the server. The table's information part is its host.

#include "platform/CString.h"
#include "platform/Types.h"

// What the pop-up's buttons decide from the table's state.
struct SeatPopupState {
    BOOL gameRunning = FALSE;
    BOOL watcher = FALSE;
    BOOL member = FALSE; // my own player record's member flag
    int mySeat = 0;
    int seat = -1; // the seat the pop-up acts on
    BOOL seatTaken = FALSE;
};

class CSeatPopupHost {
public:
    virtual ~CSeatPopupHost() = default;

    virtual SeatPopupState SeatPopupStateNow() const = 0;
    virtual void ShowSeatPopupNotice(LPCSTR text) = 0;
    // The user at the seat; empty when none sits there.
    virtual CString SeatUserName(int seat) const = 0;
    // The user with the name is asked to stand up (the table's kick).
    virtual void RequestStandup(LPCSTR userName) = 0;
    // Asks the server for a seat (watch 0 sits, 1 watches).
    virtual void RequestSeat(int seat, int watch) = 0;
};
