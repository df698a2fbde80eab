#pragma once

// PNG pictures through libpng: loading any PNG (converted to 32 bits, alpha
// kept), and saving, which is also how tests let a person look at a picture.

#include "platform/gdi/PixelImage.h"

#include <string>

namespace platform {

bool DecodePng(const void* data, size_t size, PixelImage& image, std::string* error = nullptr);

// Saves with an alpha channel when the picture has one, else as RGB.
bool EncodePng(const PixelImage& image, std::string& file, std::string* error = nullptr);
bool EncodePng(const PixelView& view, bool withAlpha, std::string& file,
               std::string* error = nullptr);

bool SavePngFile(const std::string& path, const PixelImage& image, std::string* error = nullptr);
bool SavePngFile(const std::string& path, const PixelView& view, std::string* error = nullptr);
// Any surface (a bitmap's, a window's), as RGB.
bool SavePngFile(const std::string& path, const Surface& surface, std::string* error = nullptr);

} // namespace platform
