#pragma once

// What the table's seat marks and text animations ask of the window they
// stand on: a place clear of what the table shows, the sounds, and the
// pictures a chain's step landed on stepping aside. The
// table window is their host.

#include "platform/Types.h"
#include "sprite/SpritePos.h"
#include "table/cards/SeatMarkPlaces.h"

class CMarkHost {
public:
    virtual ~CMarkHost() = default;

    // Where the picture of the size (the sprite of the id, -1 for none yet)
    // stands clear of what the table shows, as near the point as it allows.
    virtual CSpritePos ClearPlace(const CSpritePos& at, SIZE size, int spriteId,
                                  TableRoomFor what) = 0;
    virtual void PlayGameSound(LPCSTR file) = 0;
    virtual void SettleTablePictures() = 0;
};
