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

#include "knbase05/TablehubApi.h"
#include "platform/gdi/Gdi.h"

// The decoder handle: one open picture.
typedef struct KNGIF89* HKNGIF;

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
TABLEHUB_API HKNGIF GifOpenMemory(const BYTE* data, DWORD size, BOOL withSignature);
TABLEHUB_API HKNGIF GifOpenFile(LPCSTR path);
TABLEHUB_API void GifClose(HKNGIF gif);

// 1, or 0 without data.
TABLEHUB_API int GifGetScreenInfo(HKNGIF gif, int* width, int* height, COLORREF* background);
// The number of global palette entries (0 without a global palette).
TABLEHUB_API int GifGetGlobalPaletteInfo(HKNGIF gif, int* backgroundIndex);
// 1 after copying entries x 3 bytes of RGB; 0 for a null or small buffer.
TABLEHUB_API int GifCopyGlobalPalette(HKNGIF gif, BYTE* buffer, int bufferSize);
// 1 for a frame, 2 at the end of the picture, 0 for a broken frame. The
// caller owns the bitmap and the palette. An empty frame (width or height
// 0) gives 1 and no bitmap.
TABLEHUB_API int GifGetNextFrame(HKNGIF gif, int* left, int* top, int* width, int* height,
                                 HBITMAP* bitmap, BOOL* transparent, COLORREF* transparentColor,
                                 HPALETTE* palette, int* disposal, int* delay);
// The next frame's raw record; null at the end or for a broken frame.
TABLEHUB_API GifFrameRecord* GifGetNextFrameRecord(HKNGIF gif);
TABLEHUB_API void GifFreeFrameRecord(GifFrameRecord* record);
// The current frame's bitmap while its pixels are still held, else null.
TABLEHUB_API HBITMAP GifCreateFrameBitmap(HKNGIF gif);
// The next frame read starts again at the first block after the global palette.
TABLEHUB_API void GifRewind(HKNGIF gif);
