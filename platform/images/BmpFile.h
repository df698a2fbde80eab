#pragma once

// .bmp files and packed DIBs: decoding every depth Windows writes (1, 4, 8,
// 16, 24, 32 bits; palettes; bit-field masks; bottom-up and top-down rows;
// RLE8 and RLE4) and encoding at each depth. A broken, truncated or hostile
// file is refused with a reason; nothing is read outside the given bytes.

#include "platform/gdi/PixelImage.h"

#include <string>

namespace platform {

// The layouts a picture can be written in.
enum class BmpFormat {
    Indexed1, // palette of 2
    Indexed4, // palette of 16
    Indexed8, // palette of 256
    Rgb555,   // 16 bits, BI_RGB
    Rgb565,   // 16 bits, BI_BITFIELDS
    Rgb24,    // BI_RGB
    Rgb32,    // BI_RGB, the top byte of each pixel kept as it is
};

// A whole .bmp file (14-byte file header first).
bool DecodeBmp(const void* data, size_t size, PixelImage& image, std::string* error = nullptr);

// A packed DIB: the information header, masks and colour table, then the bits.
bool DecodePackedDib(const void* data, size_t size, PixelImage& image,
                     std::string* error = nullptr);

// A whole .bmp file, bottom-up. The indexed formats build their palette from
// the picture's colours and fail when it has more than the format holds.
bool EncodeBmp(const PixelImage& image, BmpFormat format, std::string& file,
               std::string* error = nullptr);

bool LoadBmpFile(const std::string& path, PixelImage& image, std::string* error = nullptr);
bool SaveBmpFile(const std::string& path, const PixelImage& image, BmpFormat format,
                 std::string* error = nullptr);

} // namespace platform
