#include "knclientUI05/JpegBinding.h"

#include "knclientUI05/CodecLibraries.h"

namespace {

enum JpegExport {
    kLoadJpgFileImageData,
    kLoadJpgImageDataFromMem,
    kLoadJpgFile,
    kLoadJpgFromMem,
    kWriteBitmapToJpeg,
    kWriteDibToJpeg,
    kWriteDibToJpegMEM,
    kGetPointerFromHandleLock,
    kUnLockDataHandle,
    kFreeDataHandle,
    kJpegExports
};

const char* const kJpegNames[kJpegExports] = {"LoadJpgFileImageData", "LoadJpgImageDataFromMem",
                                              "LoadJpgFile",          "LoadJpgFromMem",
                                              "WriteBitmapToJpeg",    "WriteDibToJpeg",
                                              "WriteDibToJpegMEM",    "GetPointerFromHandleLock",
                                              "UnLockDataHandle",     "FreeDataHandle"};

} // namespace

CodecLibrary& JpegLibrary() {
    static CodecLibrary library("KNJPG.dll", kJpegNames, kJpegExports, kJpegExports);
    return library;
}

int CallLoadJpgFileImageData(LPCSTR file, HGLOBAL* data, int* width, int* height, int* bitsPerPixel,
                             int* stride, DWORD* size, BOOL topDown) {
    return JpegLibrary().Call<decltype(&CallLoadJpgFileImageData)>(
        kLoadJpgFileImageData, file, data, width, height, bitsPerPixel, stride, size, topDown);
}

int CallLoadJpgImageDataFromMem(const BYTE* jpeg, DWORD jpegSize, HGLOBAL* data, int* width,
                                int* height, int* bitsPerPixel, int* stride, DWORD* size,
                                BOOL topDown) {
    return JpegLibrary().Call<decltype(&CallLoadJpgImageDataFromMem)>(
        kLoadJpgImageDataFromMem, jpeg, jpegSize, data, width, height, bitsPerPixel, stride, size,
        topDown);
}

int CallLoadJpgFile(LPCSTR file, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
    return JpegLibrary().Call<decltype(&CallLoadJpgFile)>(kLoadJpgFile, file, bitmap, palette,
                                                          width, height);
}

int CallLoadJpgFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                       int* height) {
    return JpegLibrary().Call<decltype(&CallLoadJpgFromMem)>(kLoadJpgFromMem, data, size, bitmap,
                                                             palette, width, height);
}

int CallWriteBitmapToJpeg(HBITMAP bitmap, int left, int top, int width, int height,
                          HPALETTE palette, LPCSTR file, int quality) {
    return JpegLibrary().Call<decltype(&CallWriteBitmapToJpeg)>(
        kWriteBitmapToJpeg, bitmap, left, top, width, height, palette, file, quality);
}

int CallWriteDibToJpeg(HGLOBAL dib, LPCSTR file, int quality) {
    return JpegLibrary().Call<decltype(&CallWriteDibToJpeg)>(kWriteDibToJpeg, dib, file, quality);
}

DWORD CallWriteDibToJpegMEM(HGLOBAL dib, HGLOBAL* out, int quality) {
    return JpegLibrary().Call<decltype(&CallWriteDibToJpegMEM)>(kWriteDibToJpegMEM, dib, out,
                                                                quality);
}

void* CallGetPointerFromHandleLock(HGLOBAL data) {
    return JpegLibrary().Call<decltype(&CallGetPointerFromHandleLock)>(kGetPointerFromHandleLock,
                                                                       data);
}

int CallUnLockDataHandle(HGLOBAL data) {
    return JpegLibrary().Call<decltype(&CallUnLockDataHandle)>(kUnLockDataHandle, data);
}

int CallFreeDataHandle(HGLOBAL data) {
    return JpegLibrary().Call<decltype(&CallFreeDataHandle)>(kFreeDataHandle, data);
}
