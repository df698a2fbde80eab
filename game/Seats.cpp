#include "game/Seats.h"

int SeatToView(int seat, int mySeat, bool reversed) {
    return reversed ? WrapSeat(mySeat - seat) : WrapSeat(seat - mySeat);
}

int ViewToSeat(int view, int mySeat, bool reversed) {
    return reversed ? WrapSeat(mySeat - view) : WrapSeat(view + mySeat);
}
