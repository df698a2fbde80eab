#pragma once

// Who looks at the table and how it is turned for him: my seat, whether I
// only watch, the direction the seats run and whether my hand is sorted by
// weight. The table window owns the one copy and renews it when I change
// seats or the settings change; every part reads it by const reference.

#include "platform/Types.h"

struct TableViewpoint {
    int nMySeat = 0;
    BOOL bWatcher = FALSE;
    // The seats run the other way round.
    int nClockOrder = 0;
    // My hand is sorted by weight rather than by suit.
    int nCardOrder = 0;

    BOOL IsMe(int seat) const { return seat == nMySeat; }
    // The screen position of a seat (0 = my own place) and back.
    int ViewOf(int seat) const;
    int SeatOfView(int view) const;
};
