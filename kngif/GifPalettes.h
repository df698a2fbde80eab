#pragma once

// The palettes of a GIF frame and the bitmap made of its indices.

#include "kngif/GifDecoderState.h"

namespace kngif {

// A logical palette of RGB triples; null when it cannot be made.
HPALETTE CreatePaletteFromTriples(const BYTE* triples, int entries);
// A frame without its own palette takes the global one, else the screen's
// system palette (none on a display without one).
void GiveFramePalette(KNGIF89& gif);
// The transparent index as the palette's colour (PALETTERGB) when the frame
// has a palette holding that index, else the index itself.
COLORREF TransparentColorOf(const GifFrameState& frame);

} // namespace kngif
