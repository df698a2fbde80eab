#pragma once

// Animated GIF files for the table's sprites: every frame whole (no deltas),
// on one palette of a colour cube, the key colour as the transparent index.

#include "platform/gdi/PixelImage.h"

#include <string>
#include <vector>

struct GifFrame {
    platform::PixelImage picture; // 0x00RRGGBB; magenta is transparent
    int delay;                    // in 1/100 s
};

// false with a message on stderr.
bool WriteAnimatedGif(const std::string& path, const std::vector<GifFrame>& frames);
