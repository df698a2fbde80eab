#include "knclientUI05/CodecBindings.h"

#include "knclientUI05/CodecLibraries.h"
#include "outside/KNGifTga.h"

namespace {

enum GifTgaExport {
    kGetNextRawFrameData,
    kGetGlobalColorIndexData,
    kGetGlobalColorIndexTotal,
    kGetNextImage,
    kGetImageSize,
    kCloseGifHandle,
    kLoadGifFromMem,
    kLoadGifFile,
    kReset,
    kCreateCurrentBmp,
    kGifRequired, // the TGA names after these may be missing
    kLoadTGAFile = kGifRequired,
    kLoadTgaFromMem,
    kCreateBitmapFromTGA,
    kCloseTGAHandle,
    kGetTgaWidth,
    kGetTgaHeight,
    kGetTgaPalNum,
    kGetTgaPixelDepth,
    kGetTgaGetImageData,
    kGetTgaGetImagePalData,
    kGetTgaGetImageAlphaData,
    kGifTgaExports
};

const char* const kGifTgaNames[kGifTgaExports] = {"GetNextRawFrameData",
                                                  "GetGlobalColorIndexData",
                                                  "GetGlobalColorIndexTotal",
                                                  "GetNextImage",
                                                  "GetImageSize",
                                                  "CloseGifHandle",
                                                  "LoadGifFromMem",
                                                  "LoadGifFile",
                                                  "Reset",
                                                  "CreateCurrentBmp",
                                                  "LoadTGAFile",
                                                  "LoadTgaFromMem",
                                                  "CreateBitmapFromTGA",
                                                  "CloseTGAHandle",
                                                  "GetTgaWidth",
                                                  "GetTgaHeight",
                                                  "GetTgaPalNum",
                                                  "GetTgaPixelDepth",
                                                  "GetTgaGetImageData",
                                                  "GetTgaGetImagePalData",
                                                  "GetTgaGetImageAlphaData"};

template <typename Proc> Proc ExportOf(int index) {
    return reinterpret_cast<Proc>(GifTgaLibrary().Export(index));
}

static_assert(kGifTgaExports == 21);

// Loads the library when needed and calls a TGA export; 0 (or null, or
// nothing) when the library or that export is not there.
template <typename Proc, typename... Args> auto CallTga(int index, Args... args) {
    using Result = decltype(reinterpret_cast<Proc>(FARPROC())(args...));
    if (!GifTgaLibrary().Load())
        return Result();
    const Proc proc = ExportOf<Proc>(index);
    return proc ? proc(args...) : Result();
}

constexpr int kOpened = 0;
constexpr int kNotOpened = 3;

void Close(HGIFTGA& held) {
    if (auto close = ExportOf<CloseGifHandleProc>(kCloseGifHandle); close && held)
        close(held);
    held = nullptr;
}

int Opened(HGIFTGA& held, HGIFTGA gif) {
    Close(held);
    held = gif;
    return gif ? kOpened : kNotOpened;
}

} // namespace

CodecLibrary& GifTgaLibrary() {
    static CodecLibrary library("KNGIFTGA.dll", kGifTgaNames, kGifTgaExports, kGifRequired);
    return library;
}

CKNGifTga::~CKNGifTga() {
    Close(m_hGif);
}

int CKNGifTga::LoadFromMemory(const BYTE* data, DWORD size, BOOL withSignature) {
    if (!GifTgaLibrary().Load())
        return kNotOpened;
    return Opened(m_hGif, ExportOf<LoadGifFromMemProc>(kLoadGifFromMem)(data, size, withSignature));
}

int CKNGifTga::LoadFile(LPCSTR path) {
    if (!GifTgaLibrary().Load())
        return kNotOpened;
    return Opened(m_hGif, ExportOf<LoadGifFileProc>(kLoadGifFile)(path));
}

int CKNGifTga::GetImageSize(int* width, int* height, int* backgroundIndex) {
    auto call = ExportOf<GetImageSizeProc>(kGetImageSize);
    return call && m_hGif ? call(m_hGif, width, height, backgroundIndex) : 0;
}

HBITMAP CKNGifTga::CreateCurrentBmp() {
    auto call = ExportOf<CreateCurrentBmpProc>(kCreateCurrentBmp);
    return call && m_hGif ? call(m_hGif) : nullptr;
}

int CKNGifTga::GetGlobalColorIndexTotal(int* backgroundIndex) {
    auto call = ExportOf<GetGlobalColorIndexTotalProc>(kGetGlobalColorIndexTotal);
    return call && m_hGif ? call(m_hGif, backgroundIndex) : 0;
}

int CKNGifTga::GetGlobalColorIndexData(BYTE* buffer, int bufferSize) {
    auto call = ExportOf<GetGlobalColorIndexDataProc>(kGetGlobalColorIndexData);
    return call && m_hGif ? call(m_hGif, buffer, bufferSize) : 0;
}

const GifTgaRawFrame* CKNGifTga::GetNextRawFrameData() {
    auto call = ExportOf<GetNextRawFrameDataProc>(kGetNextRawFrameData);
    return call && m_hGif ? call(m_hGif) : nullptr;
}

void CKNGifTga::Reset() {
    if (auto call = ExportOf<ResetProc>(kReset); call && m_hGif)
        call(m_hGif);
}

int CKNGifTga::GetNextImage(int* left, int* top, int* width, int* height, HBITMAP* bitmap,
                            BOOL* transparent, COLORREF* transparentColor, HPALETTE* palette,
                            int* disposal, int* delay) {
    auto call = ExportOf<GetNextImageProc>(kGetNextImage);
    return call && m_hGif ? call(m_hGif, left, top, width, height, bitmap, transparent,
                                 transparentColor, palette, disposal, delay)
                          : 0;
}

void* CallLoadTGAFile(LPCSTR file) {
    return CallTga<LoadTGAFileProc>(kLoadTGAFile, file);
}

void* CallLoadTgaFromMem(const BYTE* data, DWORD size) {
    return CallTga<LoadTgaFromMemProc>(kLoadTgaFromMem, data, size);
}

HBITMAP CallCreateBitmapFromTGA(void* tga) {
    return CallTga<CreateBitmapFromTGAProc>(kCreateBitmapFromTGA, tga);
}

void CallCloseTGAHandle(void* tga) {
    CallTga<CloseTGAHandleProc>(kCloseTGAHandle, tga);
}

int CallGetTgaWidth(void* tga) {
    return CallTga<GetTgaNumberProc>(kGetTgaWidth, tga);
}

int CallGetTgaHeight(void* tga) {
    return CallTga<GetTgaNumberProc>(kGetTgaHeight, tga);
}

int CallGetTgaPalNum(void* tga) {
    return CallTga<GetTgaNumberProc>(kGetTgaPalNum, tga);
}

int CallGetTgaPixelDepth(void* tga) {
    return CallTga<GetTgaNumberProc>(kGetTgaPixelDepth, tga);
}

const BYTE* CallGetTgaGetImageData(void* tga) {
    return CallTga<GetTgaBytesProc>(kGetTgaGetImageData, tga);
}

const BYTE* CallGetTgaGetImagePalData(void* tga) {
    return CallTga<GetTgaBytesProc>(kGetTgaGetImagePalData, tga);
}

const BYTE* CallGetTgaGetImageAlphaData(void* tga) {
    return CallTga<GetTgaBytesProc>(kGetTgaGetImageAlphaData, tga);
}
