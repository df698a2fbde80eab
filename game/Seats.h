#pragma once

#include "game/Cards.h"

// Seat arithmetic stays within 0..5 whatever the caller passes.
inline int WrapSeat(int seat) {
    return (seat % kSeatCount + kSeatCount) % kSeatCount;
}

// Screen positions of the table window: position 0 is the viewer's own
// place. With the direction flag set the seats run the other way round.
int SeatToView(int seat, int mySeat, bool reversed);
int ViewToSeat(int view, int mySeat, bool reversed);
