#pragma once

// Icon and cursor files from pixel pictures, and pictures from small
// character drawings ('X' black, 'o' white, anything else transparent).

#include "platform/gdi/PixelImage.h"

#include <string>
#include <vector>

// A size x size picture with the drawing at its top-left; alpha 255 where
// drawn, 0 elsewhere.
platform::PixelImage PictureFromArt(const std::vector<const char*>& art, int size);

// A whole .ico (cursor false) or .cur file: one 32-bit picture with its
// transparency mask; the hot spot counts for cursors only.
std::string IconFileBytes(const platform::PixelImage& image, bool cursor, int hotX, int hotY);

// The raw monochrome planes of a 32 x 32 cursor: 128 bytes of XOR plane,
// then 128 bytes of AND plane, rows top-down, 4 bytes a row.
std::string MonochromeCursorPlanes(const platform::PixelImage& image);

bool WriteFile(const std::string& path, const std::string& bytes);

// The bytes as a C++ expression of type std::string_view, for fragments
// that a library compiles in.
std::string StringViewOf(const std::string& bytes);
