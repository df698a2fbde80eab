#pragma once

// The GIF decoder library: GIF87a and GIF89a pictures read from memory or a
// file and handed out frame by frame, as 8-bit top-down DIB sections with a
// logical palette or as raw records of palette indices. Every routine takes
// the decoder handle first; a null handle gives 0 (or null) and does nothing.
//
// Each handle keeps its own LZW tables and interlace counters, so handles may
// be used on different threads at once. Nothing is read outside the data: the
// end of the data ends the picture, and a frame cut short keeps the rows it
// got (the others are index 0).

#include "platform/gdi/Gdi.h"

#include <vector>

// Frames above this many pixels are refused before anything is allocated.
constexpr long long kMaxGifFramePixels = 16LL * 1024 * 1024;

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
typedef KNGIF89* HKNGIF;

// The raw form of a frame. The caller owns the record, its pixels and its
// palette; GifFreeFrameRecord releases all three.
struct GifFrameRecord {
    DWORD size; // of this record
    DWORD left, top, width, height;
    DWORD stride;
    DWORD transparent;
    DWORD transparentIndex;
    DWORD delay; // milliseconds
    DWORD disposal;
    DWORD pixelSize; // stride * height
    DWORD paletteEntries;
    HPALETTE palette; // the frame's own palette only; null without one
    BYTE* pixels;     // null for an empty frame
};

// Null when the data is not a whole GIF header (with the six signature bytes
// when withSignature, else the logical screen descriptor first) and global
// palette.
HKNGIF GifOpenMemory(const BYTE* data, DWORD size, BOOL withSignature);
HKNGIF GifOpenFile(LPCSTR path);
void GifClose(HKNGIF gif);

// 1, or 0 without data.
int GifGetScreenInfo(HKNGIF gif, int* width, int* height, COLORREF* background);
// The number of global palette entries (0 without a global palette).
int GifGetGlobalPaletteInfo(HKNGIF gif, int* backgroundIndex);
// 1 after copying entries x 3 bytes of RGB; 0 for a null or small buffer.
int GifCopyGlobalPalette(HKNGIF gif, BYTE* buffer, int bufferSize);
// 1 for a frame, 2 at the end of the picture, 0 for a broken frame. The
// caller owns the bitmap and the palette. An empty frame (width or height
// 0) gives 1 and no bitmap.
int GifGetNextFrame(HKNGIF gif, int* left, int* top, int* width, int* height, HBITMAP* bitmap,
                    BOOL* transparent, COLORREF* transparentColor, HPALETTE* palette, int* disposal,
                    int* delay);
// The next frame's raw record; null at the end or for a broken frame.
GifFrameRecord* GifGetNextFrameRecord(HKNGIF gif);
void GifFreeFrameRecord(GifFrameRecord* record);
// The current frame's bitmap while its pixels are still held, else null.
HBITMAP GifCreateFrameBitmap(HKNGIF gif);
// The next frame read starts again at the first block after the global palette.
void GifRewind(HKNGIF gif);

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
