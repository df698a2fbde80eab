#pragma once

// CKNGif89: one GIF picture, opened from memory or a file, read frame by
// frame (see kngif89lib.h). Every method but the two opens gives 0 or null
// (and Rewind does nothing) while no picture is open.

#include "kngif/kngif89lib.h"

class TABLEHUB_API CKNGif89 {
public:
    CKNGif89() = default;
    virtual ~CKNGif89();
    CKNGif89(const CKNGif89&) = delete;
    CKNGif89& operator=(const CKNGif89&) = delete;

    // 0 when the picture was opened, 3 when not. A picture already open is
    // closed first.
    int LoadFromMemory(const BYTE* data, DWORD size, BOOL withSignature);
    int LoadFromFile(LPCSTR path);

    int GetScreenInfo(int* width, int* height, COLORREF* background);
    int GetGlobalPaletteInfo(int* backgroundIndex);
    int CopyGlobalPalette(BYTE* buffer, int bufferSize);
    // 1 for a frame, 2 at the end, 0 on error; every pointer must be given.
    int GetNextFrame(int* left, int* top, int* width, int* height, HBITMAP* bitmap,
                     BOOL* transparent, COLORREF* transparentColor, HPALETTE* palette,
                     int* disposal, int* delay);
    GifFrameRecord* GetNextFrameRecord();
    HBITMAP CreateFrameBitmap();
    void Rewind();

private:
    HKNGIF m_hGif = nullptr;
};
