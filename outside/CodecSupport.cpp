#include "outside/CodecSupport.h"

#include "platform/images/BmpFile.h"
#include "platform/images/Picture.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"

#include <cstring>

namespace outside {

HBITMAP BitmapOfImage(const platform::PixelImage& image) {
    return platform::CreateBitmapFromImage(image);
}

bool ImageOfBitmap(HBITMAP bitmap, platform::PixelImage& image) {
    BITMAP info{};
    if (!bitmap || !GetObject(bitmap, sizeof info, &info) ||
        !platform::ImageSizeAllowed(info.bmWidth, info.bmHeight))
        return false;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    image.Reset(info.bmWidth, info.bmHeight);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, UINT(info.bmHeight), image.pixels.data(), &header,
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == info.bmHeight;
}

bool ImageOfPackedDib(HGLOBAL dib, platform::PixelImage& image) {
    const SIZE_T size = dib ? GlobalSize(dib) : 0;
    const void* bytes = size ? GlobalLock(dib) : nullptr;
    if (!bytes)
        return false;
    const bool ok = platform::DecodePackedDib(bytes, size, image);
    GlobalUnlock(dib);
    return ok;
}

HGLOBAL GlobalCopy(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    void* at = block ? GlobalLock(block) : nullptr;
    if (!at) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    std::memcpy(at, bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

bool ReadNamedFile(LPCSTR name, std::string& bytes) {
    return name && ReadWholeFile(NativePath(name), bytes, platform::kMaxPictureFileBytes);
}

BuiltinModuleDefinition CodecModule(const char* fileName,
                                    std::vector<BuiltinModuleExport> exports) {
    BuiltinModuleDefinition module;
    module.fileName = fileName;
    module.exports = std::move(exports);
    return module;
}

bool WriteNamedFile(LPCSTR name, const std::string& bytes) {
    return name && WriteFileAtomically(NativePath(name), bytes);
}

} // namespace outside
