#pragma once

// The JPEG codec library ("KNJPG.dll"), loaded on first use. Each wrapper
// gives the library's result, or 0 when the library is unavailable. Built
// into the library and into the program (which writes its screenshots
// through CallWriteDibToJpeg); each keeps its own binding.

#include "platform/gdi/Gdi.h"
#include "platform/system/Memory.h"

class CodecLibrary;

// Image data: 24-bit rows (blue, green, red) padded to four bytes, in a
// global block the Call*DataHandle wrappers lock, unlock and free.
int CallLoadJpgFileImageData(LPCSTR file, HGLOBAL* data, int* width, int* height, int* bitsPerPixel,
                             int* stride, DWORD* size, BOOL topDown);
int CallLoadJpgImageDataFromMem(const BYTE* jpeg, DWORD jpegSize, HGLOBAL* data, int* width,
                                int* height, int* bitsPerPixel, int* stride, DWORD* size,
                                BOOL topDown);
// A bitmap of the picture (no palette: JPEG holds colours).
int CallLoadJpgFile(LPCSTR file, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height);
int CallLoadJpgFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                       int* height);
// A part of a bitmap (zero width or height: the whole) written at quality 1 to 100.
int CallWriteBitmapToJpeg(HBITMAP bitmap, int left, int top, int width, int height,
                          HPALETTE palette, LPCSTR file, int quality);
// A packed DIB in a global block written as a JPEG file.
int CallWriteDibToJpeg(HGLOBAL dib, LPCSTR file, int quality);
// The same into a new global block: the JPEG's byte count.
DWORD CallWriteDibToJpegMEM(HGLOBAL dib, HGLOBAL* out, int quality);
void* CallGetPointerFromHandleLock(HGLOBAL data);
int CallUnLockDataHandle(HGLOBAL data);
int CallFreeDataHandle(HGLOBAL data);

// The binding, for tests that look at its state.
CodecLibrary& JpegLibrary();
