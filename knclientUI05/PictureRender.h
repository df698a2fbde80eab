#pragma once

// A picture file held in memory (JPEG, GIF, PNG or BMP) drawn upright into a
// new screen-compatible bitmap of the picture's size; null when the bytes are
// not a picture the platform reads.

#include "platform/gdi/Gdi.h"

#include <cstddef>

HBITMAP RenderPicture(const void* data, size_t size);
