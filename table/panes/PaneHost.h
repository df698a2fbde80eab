#pragma once

// What the table's panes ask of the window they stand on: the top of my own
// part of the table, a place clear of what the table shows, and the marks
// the result pane clears and the banner it shows. The table window is their
// host.

#include "platform/Types.h"
#include "sprite/SpritePos.h"
#include "table/cards/SeatMarkPlaces.h"

class CPaneHost {
public:
    virtual ~CPaneHost() = default;

    // The top of my own part of the table (the play buttons, my turn's
    // clock, my hand), which a centred pane stays above where the table is
    // high enough (0 when it has no place).
    virtual int MyPlayTop() = 0;
    // Where a seat's pane of the size stands clear of what the table shows.
    virtual CSpritePos ClearPlace(const CSpritePos& at, SIZE size, int spriteId,
                                  TableRoomFor what) = 0;
    // The marks of the plays of a game go when its result shows.
    virtual void ClearPlayMarks() = 0;
    // The win or loss text centred just above the result pane's top.
    virtual void ShowResultBanner(LPCSTR name, int spriteId, int paneTop) = 0;
};
