#pragma once

// "KNGIFTGA.dll": the GIF and TGA library's interface as its callers see it.
// A GIF picture is opened from memory or a file into a handle and read frame
// by frame, as a bitmap with a palette (GetNextImage) or as raw indices
// (GetNextRawFrameData). A TGA picture is opened into a handle of its own and
// read whole.

#include "platform/gdi/Gdi.h"

// A frame as the file holds it: values unconverted, indices row by row.
struct GifTgaRawFrame {
    int left, top, width, height;
    int interlaced;
    int transparentIndex; // -1 without one
    int delay;            // hundredths of a second, as written
    int disposal;
    int paletteEntries; // of the frame's palette (its own, else the global one)
    BYTE palette[256 * 3];
    const BYTE* pixels; // width * height indices; valid until the next frame is read
};

typedef void* HGIFTGA;

// withSignature 0: the data starts with the logical screen descriptor.
typedef HGIFTGA (*LoadGifFromMemProc)(const BYTE* data, DWORD size, BOOL withSignature);
typedef HGIFTGA (*LoadGifFileProc)(LPCSTR path);
// Screen width, height and background index; 1, or 0 without a picture.
typedef int (*GetImageSizeProc)(HGIFTGA gif, int* width, int* height, int* backgroundIndex);
// A new bitmap of the frame read last (the caller owns it), or null.
typedef HBITMAP (*CreateCurrentBmpProc)(HGIFTGA gif);
// The global palette's entry count (0 without one); the background index too.
typedef int (*GetGlobalColorIndexTotalProc)(HGIFTGA gif, int* backgroundIndex);
// Copies entries x 3 bytes of RGB: 1, or 0 when the buffer is null or short.
typedef int (*GetGlobalColorIndexDataProc)(HGIFTGA gif, BYTE* buffer, int bufferSize);
// The next frame, or null at the end or for a broken picture.
typedef const GifTgaRawFrame* (*GetNextRawFrameDataProc)(HGIFTGA gif);
typedef void (*ResetProc)(HGIFTGA gif);
// The next frame as a bitmap of its colours and its palette (the caller owns both):
// position, size, bitmap, transparency flag and colour (PALETTERGB), palette,
// disposal, delay in milliseconds. 1, or 0 at the end or on error.
typedef int (*GetNextImageProc)(HGIFTGA gif, int* left, int* top, int* width, int* height,
                                HBITMAP* bitmap, BOOL* transparent, COLORREF* transparentColor,
                                HPALETTE* palette, int* disposal, int* delay);
typedef void (*CloseGifHandleProc)(HGIFTGA gif);

typedef void* HTGA;

// A TGA picture (colour-mapped, true-colour or grey, plain or run-length),
// or null for one that does not decode.
typedef HTGA (*LoadTGAFileProc)(LPCSTR path);
typedef HTGA (*LoadTgaFromMemProc)(const BYTE* data, DWORD size);
// A new 32-bit bitmap of the picture, its alpha kept (the caller owns it).
typedef HBITMAP (*CreateBitmapFromTGAProc)(HTGA tga);
typedef void (*CloseTGAHandleProc)(HTGA tga);
// Width and height in pixels; the colour map's entries (0 without one); the
// depth the file gives (8, 15, 16, 24 or 32). 0 without a picture.
typedef int (*GetTgaNumberProc)(HTGA tga);
// The pixels (blue, green, red, alpha each, rows top-down); the colour map
// (red, green, blue triples); the alpha (a byte a pixel, top-down). Valid
// until the picture is closed; null where the picture has none.
typedef const BYTE* (*GetTgaBytesProc)(HTGA tga);
