#pragma once

// The JPEG codec library ("KNJPG.dll"), loaded on first use. Each wrapper
// gives the library's result, or 0 when the library is unavailable. Built
// into the library and into the program (which writes its screenshots
// through CallWriteDibToJpeg); each keeps its own binding.

#include "knbase05/TablehubApi.h"
#include "platform/gdi/Gdi.h"
#include "platform/system/Memory.h"

// Image data: 24-bit rows (blue, green, red) padded to four bytes, in a
// global block the Call*DataHandle wrappers lock, unlock and free.
TABLEHUB_API int CallLoadJpgFileImageData(LPCSTR file, HGLOBAL* data, int* width, int* height,
                                          int* bitsPerPixel, int* stride, DWORD* size,
                                          BOOL topDown);
TABLEHUB_API int CallLoadJpgImageDataFromMem(const BYTE* jpeg, DWORD jpegSize, HGLOBAL* data,
                                             int* width, int* height, int* bitsPerPixel,
                                             int* stride, DWORD* size, BOOL topDown);
// A bitmap of the picture (no palette: JPEG holds colours).
TABLEHUB_API int CallLoadJpgFile(LPCSTR file, HBITMAP* bitmap, HPALETTE* palette, int* width,
                                 int* height);
TABLEHUB_API int CallLoadJpgFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap,
                                    HPALETTE* palette, int* width, int* height);
// A part of a bitmap (zero width or height: the whole) written at quality 1 to 100.
TABLEHUB_API int CallWriteBitmapToJpeg(HBITMAP bitmap, int left, int top, int width, int height,
                                       HPALETTE palette, LPCSTR file, int quality);
// A packed DIB in a global block written as a JPEG file.
TABLEHUB_API int CallWriteDibToJpeg(HGLOBAL dib, LPCSTR file, int quality);
// The same into a new global block: the JPEG's byte count.
TABLEHUB_API DWORD CallWriteDibToJpegMEM(HGLOBAL dib, HGLOBAL* out, int quality);
TABLEHUB_API void* CallGetPointerFromHandleLock(HGLOBAL data);
TABLEHUB_API int CallUnLockDataHandle(HGLOBAL data);
TABLEHUB_API int CallFreeDataHandle(HGLOBAL data);
