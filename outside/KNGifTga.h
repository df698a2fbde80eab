#pragma once

// "KNGIFTGA.dll": the GIF library's interface as its callers see it. A
// picture is opened from memory or a file into a handle and read frame by
// frame, as a bitmap with a palette (GetNextImage) or as raw indices
// (GetNextRawFrameData). Its TGA half is not offered here: nothing calls it.

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
