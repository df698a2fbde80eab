#pragma once

// The GIF decoder's handle as its routines see it: the picture's data and
// global palette, the frame being read and the LZW reader's tables and
// position; with the routines the decoder's files share.

#include "kngif/kngif89lib.h"
#include "platform/system/InputBounds.h"

#include <vector>

// Frames above a picture's pixels are refused before anything is allocated.
constexpr long long kMaxGifFramePixels = platform::kMaxImagePixels;

// What the LZW routine ended with.
enum GifLzwResult {
    GIF_LZW_DONE = 0,           // the end code, or the data ran out
    GIF_LZW_NO_MEMORY = -10,    // the line buffer could not be had
    GIF_LZW_BAD_CODE_SIZE = -20 // a minimum code size outside 2 to 9
};

// The decoder's tables: prefixes and suffixes of the 4,096 codes, and the
// stack strings are unwound onto (one longer than the longest string plus
// the byte a code that is not yet in the table adds).
struct GifLzwTables {
    WORD prefix[4096];
    BYTE suffix[4096];
    BYTE stack[4098];
};

// The frame being read.
struct GifFrameState {
    int left = 0, top = 0, width = 0, height = 0;
    HBITMAP bitmap = nullptr;
    BOOL transparent = FALSE;
    int transparentIndex = 0;
    HPALETTE palette = nullptr;
    int paletteEntries = 0;
    BOOL interlaced = FALSE;
    int disposal = 0;
    std::vector<BYTE> pixels; // stride bytes a row, top-down
    int outputRow = 0;
    int stride = 0;
    int delay = 0; // milliseconds
    // Interlaced output: the pass (0 to 3, 4 when done) and its next row.
    int pass = 0;
    int passRow = 0;
    int linesStored = 0;
};

// The LZW reader's position in the image data's sub-blocks.
struct GifLzwState {
    int codeSize = 0;
    int clearCode = 0;
    int endCode = 0;
    int firstFree = 0;
    int codeLimit = 0;
    int nextFree = 0;
    int blockLeft = 0;       // bytes left in the current sub-block
    bool terminated = false; // the zero-length sub-block has been read
    int badCodes = 0;
    GifLzwTables tables;
};

struct KNGIF89 {
    std::vector<BYTE> globalPalette; // RGB triples; empty without one
    std::vector<BYTE> data;          // everything after the header and global palette
    size_t position = 0;
    WORD screenWidth = 0, screenHeight = 0;
    BYTE hasGlobalPalette = 0, sortFlag = 0, colorResolution = 0;
    int globalEntries = 0;
    BYTE backgroundIndex = 0;
    COLORREF backgroundColor = 0; // PALETTERGB of the global entry, 0 without
    GifFrameState frame;
    GifLzwState lzw;
};

// Internals shared by the library's files.
namespace kngif {
// Decodes the image data at the read position into gif->frame.pixels.
int DecodeLzw(KNGIF89& gif);
// Skips sub-blocks up to and including the zero-length one; false when the
// data ends first.
bool SkipSubBlocks(KNGIF89& gif);
// A byte of the data, or -1 at its end.
inline int ReadByte(KNGIF89& gif) {
    return gif.position < gif.data.size() ? gif.data[gif.position++] : -1;
}
} // namespace kngif
