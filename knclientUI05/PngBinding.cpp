#include "knclientUI05/CodecBindings.h"

#include "knclientUI05/CodecLibraries.h"

namespace {

enum PngExport {
    kLoadPNGFile,
    kLoadPNGFromMem,
    kWriteBmpToPNGMem,
    kWriteBmpToPNGFile,
    kWriteImageDataToPNGMem,
    kPngExports
};

const char* const kPngNames[kPngExports] = {"LoadPNGFile", "LoadPNGFromMem", "WriteBmpToPNGMem",
                                            "WriteBmpToPNGFile", "WriteImageDataToPNGMem"};

} // namespace

CodecLibrary& PngLibrary() {
    static CodecLibrary library("KNPNG.dll", kPngNames, kPngExports, kPngExports);
    return library;
}

int CallLoadPNGFile(LPCSTR file, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height) {
    return PngLibrary().Call<decltype(&CallLoadPNGFile)>(kLoadPNGFile, file, bitmap, palette, width,
                                                         height);
}

int CallLoadPNGFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                       int* height) {
    return PngLibrary().Call<decltype(&CallLoadPNGFromMem)>(kLoadPNGFromMem, data, size, bitmap,
                                                            palette, width, height);
}

DWORD CallWriteBmpToPNGMem(HBITMAP bitmap, HGLOBAL* out) {
    return PngLibrary().Call<decltype(&CallWriteBmpToPNGMem)>(kWriteBmpToPNGMem, bitmap, out);
}

int CallWriteBmpToPNGFile(HBITMAP bitmap, LPCSTR file) {
    return PngLibrary().Call<decltype(&CallWriteBmpToPNGFile)>(kWriteBmpToPNGFile, bitmap, file);
}

DWORD CallWriteImageDataToPNGMem(const BYTE* pixels, int width, int height, int stride,
                                 int bitsPerPixel, BOOL topDown, HGLOBAL* out) {
    return PngLibrary().Call<decltype(&CallWriteImageDataToPNGMem)>(
        kWriteImageDataToPNGMem, pixels, width, height, stride, bitsPerPixel, topDown, out);
}
