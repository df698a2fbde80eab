#pragma once

// The balloon tip's geometry, apart from its window: the text cut into lines,
// the body placed by its reference corner, and the tail's direction and
// triangle.

#include "platform/Types.h"

#include <string>
#include <vector>

// Bytes per piece of a long line: the text width over the width of "a", at
// least one whole double-byte character so that every cut moves on.
int TipPieceBytes(int maxWidth, int marginX, int charWidth);

// Splits at line feeds and cuts each line longer than pieceBytes into pieces
// of at most that many bytes, never inside a double-byte character.
std::vector<std::string> WrapTipLines(const char* text, int pieceBytes);

// The body's rectangle when the body point is its top-left (mode 0),
// top-right (1), bottom-left (2) or bottom-right (3) corner.
RECT PlaceTipBody(int mode, POINT bodyPoint, int width, int height);

// The rectangle moved into the area, from the right and bottom edges first
// so that a rectangle larger than the area keeps its top left inside; an
// empty area leaves it as it is.
RECT KeepTipInside(const RECT& rect, const RECT& area);

// The body edge the tail leaves from, and where along it.
enum TipTailSide { kTailTop, kTailBottom, kTailLeft, kTailRight };
enum TipTailPlace { kTailNearStart, kTailCentre, kTailNearEnd };

struct TipTailDirection {
    TipTailSide side;
    TipTailPlace place;
};

// One of the twelve directions: the edge the tail point lies beyond (the
// farther one when it lies beyond two), and the third of that edge it faces.
TipTailDirection ChooseTipTail(const RECT& body, POINT tail);

// The tail's triangle: its base (baseWidth long) on the body edge, offset
// from the edge's end (or centred), its point at the tail point. The base
// lies one pixel inside the body so that the two shapes join.
void TipTailTriangle(const RECT& body, POINT tail, TipTailDirection direction, int baseWidth,
                     int offset, POINT triangle[3]);
