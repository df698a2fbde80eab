#pragma once

// Truevision TGA pictures, the TGA half of "KNGIFTGA.dll": colour-mapped,
// true-colour and grey pictures, plain or run-length, of 8, 15, 16, 24 and
// 32 bits a pixel, with either origin. Nothing is read outside the bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace outside {

struct TgaPicture {
    int width = 0;
    int height = 0;
    int pixelDepth = 0;           // as the file says: 8, 15, 16, 24 or 32
    std::vector<uint8_t> palette; // the colour map as red, green, blue triples
    std::vector<uint8_t> pixels;  // blue, green, red, alpha a pixel, rows top-down
    std::vector<uint8_t> alpha;   // one byte a pixel, rows top-down; empty without
};

// False, with the reason, for bytes that are no TGA picture of a kind above,
// a picture larger than 16 M pixels, or one that ends early.
bool DecodeTga(const uint8_t* data, size_t size, TgaPicture& picture, std::string* reason);

} // namespace outside
