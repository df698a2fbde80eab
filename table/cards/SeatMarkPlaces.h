#pragma once

// Where the pictures of the seats stand so that each stays readable: whole
// inside the table, clear of the cards a seat lays on it, and at my own
// seat clear of my hand. Points are a picture's top left as sprite
// positions, resolved against the table as it is now.

#include "platform/Geometry.h"
#include "platform/Types.h"
#include "sprite/SpritePos.h"

#include <vector>

struct CTableWndFields;

// What a picture placed on the table keeps clear of: a seat's mark or pane
// of the cards, the buttons shown and the other marks and panes; a text of
// all those, of every button's place, of the other texts and of the
// notices' way up the table's middle.
enum class TableRoomFor { kMark, kText };

// The table's client size, as the anchors resolve it now.
SIZE TableClientSize();
// The client rectangle a picture of the size covers at the point.
CRect PlacedRect(const CSpritePos& at, SIZE size);
// The point moved so that the picture lies whole inside the table (one larger
// than the table keeps its top left inside); the anchor stays.
CSpritePos InsideTable(const CSpritePos& at, SIZE size);
// The point moved right, as little as it takes, until the picture meets none
// of the rectangles.
CSpritePos RightOf(const CSpritePos& at, SIZE size, const std::vector<CRect>& taken);
// The point moved the least distance so that the picture lies inside the
// table and meets none of the rectangles, going no further than reach; the
// point itself when it meets none, or when nothing in reach is clear.
CSpritePos ClearOf(const CSpritePos& at, SIZE size, const std::vector<CRect>& taken, int reach);
// A mark that stands by offset from a seat's plate point. At another seat
// it moves sideways towards the plate, just far enough to clear the card the
// seat lays nearest to it. At my own seat, where my hand lies beside my
// plate, it stands offset.y below my plate's top on the mirror of my plate
// beyond the far end of my hand, which keeps as clear of it as of my plate.
// Either way inside the table.
CSpritePos SeatMarkPlace(const CTableWndFields& fields, int view, POINT offset, SIZE size);
