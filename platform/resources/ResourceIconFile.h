#pragma once

// Icon and cursor images as files and resources keep them: the .ico/.cur
// directory, and one image (a BITMAPINFOHEADER with a doubled height, its
// colour table, the XOR bits and the AND mask, or a PNG stream). Internal to
// the icon calls. Every reader checks sizes against the bytes it was given:
// a short or lying file is refused with a reason, nothing is read past its
// end.

#include "platform/Types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// One image decoded: the colour picture and the AND mask, rows top-down.
struct IconImage {
    int width = 0;
    int height = 0;
    int bitCount = 0;             // of the colour picture (32 for PNG)
    bool hasAlpha = false;        // the colour's top byte is a real alpha
    bool monochrome = false;      // 1 bit: colour holds the XOR plane as 0 / 0xFFFFFF
    std::vector<uint32_t> colour; // 0xAARRGGBB (alpha 0 unless hasAlpha)
    std::vector<uint8_t> andMask; // one byte a pixel: 1 keeps the screen
};

// An entry of an .ico/.cur directory. For cursors hotSpot replaces the
// planes and bit count fields.
struct IconDirectoryEntry {
    int width = 0; // 0 in the file means 256
    int height = 0;
    int colourCount = 0;
    int planes = 0;
    int bitCount = 0;
    POINT hotSpot{0, 0};
    uint32_t size = 0;
    uint32_t offset = 0;
};

// Decodes one image (the bytes of an RT_ICON resource, or of a directory
// entry). A missing AND mask is refused, except after a PNG stream or a
// 32-bit picture with alpha, which carry their transparency themselves.
bool DecodeIconImage(const uint8_t* data, size_t size, IconImage& image, std::string* error);

// Reads the directory of an .ico (type 1) or .cur (type 2) file and checks
// that every entry's bytes lie inside the file.
bool ParseIconDirectory(const uint8_t* data, size_t size, int type,
                        std::vector<IconDirectoryEntry>& entries, std::string* error);

// Which of several images of sizes and depths suits cx x cy best: the
// closest size (a larger one wins a tie, shrinking looks better than
// growing), then the deepest colour. Index into the list; -1 when empty.
struct IconCandidate {
    int width;
    int height;
    int bitCount;
};
int PickIconCandidate(const std::vector<IconCandidate>& candidates, int cx, int cy);

// Checks a whole .ico/.cur file: its directory and every image.
bool CheckIconFile(const std::string& bytes, int type, std::string* error);

} // namespace platform
