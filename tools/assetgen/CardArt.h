#pragma once

// The playing cards, drawn once for every picture of them: the table's card
// sheets, the custom sheet of the resource library and the faces the card
// painter's stand-in draws. A face is legible when fanned: its rank and a
// suit sign stand in the leftmost fifth of the card, at the top.

#include "tools/assetgen/Canvas.h"

namespace card_art {

// suit 0 diamonds, 1 clubs, 2 hearts, 3 spades; rank 0..12 for 3..2. Each
// picture is drawn on the magenta key outside the card's rounded outline.
platform::PixelImage CardFace(int w, int h, int suit, int rank);
platform::PixelImage JokerFace(int w, int h, bool big);
platform::PixelImage CardBack(int w, int h);
// The card's outline filled white on the key (the mask cell's source).
platform::PixelImage CardShape(int w, int h);

// A suit sign of the given size centred at (cx, cy).
void SuitSign(Canvas& canvas, int suit, int cx, int cy, int size);

// The 13 x 5 sheet of w x h cells: rows of suits 0..3 by rank 3..2, then
// small joker, big joker, back and the shared mask (black inside the
// outline, white outside); faces are black outside their outline.
platform::PixelImage CardSheet(int w, int h);
// The 2 x 2 custom sheet: big joker (0, 0), small joker (0, h), back (w, 0)
// and the shared mask (w, h).
platform::PixelImage CustomSheet(int w, int h);

} // namespace card_art
