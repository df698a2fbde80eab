#pragma once

// JPEG pictures through libjpeg-turbo: loading (theme pictures, player
// photos) and saving at a chosen quality (screenshots).

#include "platform/gdi/PixelImage.h"

#include <string>

namespace platform {

bool DecodeJpeg(const void* data, size_t size, PixelImage& image, std::string* error = nullptr);

// quality: 1 (smallest) to 100 (best); values outside are clamped.
bool EncodeJpeg(const PixelView& view, int quality, std::string& file,
                std::string* error = nullptr);
bool SaveJpegFile(const std::string& path, const PixelView& view, int quality,
                  std::string* error = nullptr);
// A window's or the screen's surface, for screenshots.
bool SaveJpegFile(const std::string& path, const Surface& surface, int quality,
                  std::string* error = nullptr);

} // namespace platform
