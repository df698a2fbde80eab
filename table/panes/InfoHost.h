#pragma once

// What the table's information and chat ask of the window they show on:
// the seats' plates, the notices, the sounds and the level-up animation.
// The table window is their host.

#include "platform/Geometry.h"
#include "platform/Types.h"

class CInfoHost {
public:
    virtual ~CInfoHost() = default;

    // The plate of a view position, in the window's client coordinates.
    virtual CRect PlateRect(int view) const = 0;
    virtual void ShowNotice(LPCSTR text) = 0;
    virtual void PlayGameSound(LPCSTR file) = 0;
    // The level-up animation of a seat whose level rose.
    virtual void PlayLevelUp(int seat) = 0;
};
