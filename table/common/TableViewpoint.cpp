#include "table/common/TableViewpoint.h"

#include "game/Seats.h"

int TableViewpoint::ViewOf(int seat) const {
    return ::SeatToView(seat, nMySeat, nClockOrder != 0);
}

int TableViewpoint::SeatOfView(int view) const {
    return ::ViewToSeat(view, nMySeat, nClockOrder != 0);
}
