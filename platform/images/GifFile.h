#pragma once

// The first frame of a GIF picture through giflib, on its logical screen,
// with the frame's transparent colour as alpha 0. (Animated GIFs for sprites
// have their own frame-by-frame reader; this is for still pictures.)

#include "platform/gdi/PixelImage.h"

#include <string>

namespace platform {

bool DecodeGif(const void* data, size_t size, PixelImage& image, std::string* error = nullptr);

} // namespace platform
