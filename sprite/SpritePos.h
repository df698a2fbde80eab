#pragma once

// Places on the table as offsets from one of sixteen anchor points of the
// table window's client area, so that everything anchored follows a resize.
// One global resolver turns a position into client coordinates; the engine
// resolves afresh wherever it needs a point.

#include "platform/Types.h"

class CSpritePos {
public:
    int x = 0;
    int y = 0;
    int anchor = 0;

    CSpritePos() = default;
    CSpritePos(int nX, int nY) : x(nX), y(nY) {}
    void Set(int nX, int nY, int nAnchor) {
        x = nX;
        y = nY;
        anchor = nAnchor;
    }
    BOOL IsEqual(int nX, int nY, int nAnchor) const {
        return x == nX && y == nY && anchor == nAnchor;
    }
};
static_assert(sizeof(CSpritePos) == 12);

// The anchor of the move operations that means "move by (x, y)".
constexpr int kMoveByAnchor = -1;

using SpritePosResolver = POINT (*)(int x, int y, int anchor);

// Null switches resolving off (points are then taken as they stand).
void SetPosResolver(SpritePosResolver resolver);
POINT ResolvePos(const CSpritePos& pos);

// The table window's resolver: the anchor table over the window's client
// rectangle, read afresh on every call; (x, y) unchanged while no window is set.
POINT AnchorToClient(int x, int y, int anchor);
// The window AnchorToClient measures (null: none yet).
void SetAnchorWindow(HWND hwnd);
// The layout values anchor 15 needs: the card width and the table's border.
void SetAnchorCardMeasures(int cardWidth, int border);
