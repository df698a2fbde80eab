#pragma once

// The PNG and GIF/TGA codec libraries ("KNPNG.dll", "KNGIFTGA.dll"), loaded
// on first use like the JPEG one (JpegBinding.h), and the decoder of GIF or
// BMP bytes that uses the library's own GIF decoder instead.

#include "knclientUI05/JpegBinding.h"

// A frame as the GIF library hands it out raw (its header describes it).
struct GifTgaRawFrame;

// A 32-bit bitmap with the picture's alpha in the top byte (no palette).
TABLEHUB_API int CallLoadPNGFile(LPCSTR file, HBITMAP* bitmap, HPALETTE* palette, int* width,
                                 int* height);
TABLEHUB_API int CallLoadPNGFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap,
                                    HPALETTE* palette, int* width, int* height);
// The PNG's byte count in a new global block.
TABLEHUB_API DWORD CallWriteBmpToPNGMem(HBITMAP bitmap, HGLOBAL* out);
TABLEHUB_API int CallWriteBmpToPNGFile(HBITMAP bitmap, LPCSTR file);
// Pixels of 24 or 32 bits (the fourth byte alpha), stride bytes a row.
TABLEHUB_API DWORD CallWriteImageDataToPNGMem(const BYTE* pixels, int width, int height, int stride,
                                              int bitsPerPixel, BOOL topDown, HGLOBAL* out);

// A GIF picture through the GIF library. Only the two loads load the
// library; every other method gives 0 (or does nothing) without the export
// or an open picture, so a failed load is safe to follow with other calls.
class TABLEHUB_API CKNGifTga {
public:
    CKNGifTga() = default;
    virtual ~CKNGifTga();
    CKNGifTga(const CKNGifTga&) = delete;
    CKNGifTga& operator=(const CKNGifTga&) = delete;

    // 0 when opened, 3 when the library is unavailable or refused the picture.
    int LoadFromMemory(const BYTE* data, DWORD size, BOOL withSignature);
    int LoadFile(LPCSTR path);
    int GetImageSize(int* width, int* height, int* backgroundIndex);
    HBITMAP CreateCurrentBmp();
    int GetGlobalColorIndexTotal(int* backgroundIndex);
    int GetGlobalColorIndexData(BYTE* buffer, int bufferSize);
    const GifTgaRawFrame* GetNextRawFrameData();
    void Reset();
    // Non-zero for a frame: position, size, bitmap, transparency, palette,
    // disposal, delay (the caller owns bitmap and palette).
    int GetNextImage(int* left, int* top, int* width, int* height, HBITMAP* bitmap,
                     BOOL* transparent, COLORREF* transparentColor, HPALETTE* palette,
                     int* disposal, int* delay);

private:
    void* m_hGif = nullptr; // the library's handle of the open picture
};

// The GIF library's TGA half: a picture opened into a handle (null when it
// does not decode), its size, depth and colour map entries, its pixels (blue,
// green, red, alpha each, rows top-down), colour map (red, green, blue
// triples) and alpha (a byte a pixel; null without), and a 32-bit bitmap of
// it that the caller owns. Each loads the library when needed and gives 0 or
// null when it or the export is not there; the handle is closed with
// CallCloseTGAHandle, and the bytes handed out live until then.
TABLEHUB_API void* CallLoadTGAFile(LPCSTR file);
TABLEHUB_API void* CallLoadTgaFromMem(const BYTE* data, DWORD size);
TABLEHUB_API HBITMAP CallCreateBitmapFromTGA(void* tga);
TABLEHUB_API void CallCloseTGAHandle(void* tga);
TABLEHUB_API int CallGetTgaWidth(void* tga);
TABLEHUB_API int CallGetTgaHeight(void* tga);
TABLEHUB_API int CallGetTgaPalNum(void* tga);
TABLEHUB_API int CallGetTgaPixelDepth(void* tga);
TABLEHUB_API const BYTE* CallGetTgaGetImageData(void* tga);
TABLEHUB_API const BYTE* CallGetTgaGetImagePalData(void* tga);
TABLEHUB_API const BYTE* CallGetTgaGetImageAlphaData(void* tga);

// GIF87a or GIF89a bytes through the library's GIF decoder (the first
// frame, realised through its palette), or the bytes of a .bmp file; null
// for anything else, for fewer than 6 bytes and for a picture that does not
// decode.
TABLEHUB_API HBITMAP CreateBitmapFromGifOrBmpData(const BYTE* data, int size);
