// The TGA half of "KNGIFTGA.dll": a picture opened from a file or from memory
// into a handle, read for its size, depth, colour map, pixels and alpha, or
// made into a bitmap.

#include "outside/TgaModule.h"
#include "outside/CodecSupport.h"
#include "outside/KNGifTga.h"
#include "outside/TgaPicture.h"

#include <memory>

namespace {

HTGA Open(const std::string& bytes) {
    auto picture = std::make_unique<outside::TgaPicture>();
    if (!outside::DecodeTga(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), *picture,
                            nullptr))
        return nullptr;
    return picture.release();
}

const outside::TgaPicture* PictureOf(HTGA handle) {
    return static_cast<const outside::TgaPicture*>(handle);
}

HTGA LoadTGAFile(LPCSTR path) {
    std::string bytes;
    return outside::ReadNamedFile(path, bytes) ? Open(bytes) : nullptr;
}

HTGA LoadTgaFromMem(const BYTE* data, DWORD size) {
    if (!data || size == 0)
        return nullptr;
    return Open(std::string(reinterpret_cast<const char*>(data), size));
}

// A 32-bit bitmap of the picture, its alpha kept when it has one.
HBITMAP CreateBitmapFromTGA(HTGA handle) {
    const outside::TgaPicture* p = PictureOf(handle);
    if (!p)
        return nullptr;
    platform::PixelImage image;
    image.Reset(p->width, p->height);
    image.hasAlpha = !p->alpha.empty();
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const BYTE* c = &p->pixels[i * 4];
        image.pixels[i] = platform::MakePixel(c[2], c[1], c[0], image.hasAlpha ? c[3] : 0);
    }
    return outside::BitmapOfImage(image);
}

void CloseTGAHandle(HTGA handle) {
    delete PictureOf(handle);
}

int GetTgaWidth(HTGA handle) {
    return PictureOf(handle) ? PictureOf(handle)->width : 0;
}

int GetTgaHeight(HTGA handle) {
    return PictureOf(handle) ? PictureOf(handle)->height : 0;
}

int GetTgaPalNum(HTGA handle) {
    return PictureOf(handle) ? int(PictureOf(handle)->palette.size() / 3) : 0;
}

int GetTgaPixelDepth(HTGA handle) {
    return PictureOf(handle) ? PictureOf(handle)->pixelDepth : 0;
}

const BYTE* GetTgaGetImageData(HTGA handle) {
    return PictureOf(handle) ? PictureOf(handle)->pixels.data() : nullptr;
}

const BYTE* GetTgaGetImagePalData(HTGA handle) {
    const outside::TgaPicture* p = PictureOf(handle);
    return p && !p->palette.empty() ? p->palette.data() : nullptr;
}

const BYTE* GetTgaGetImageAlphaData(HTGA handle) {
    const outside::TgaPicture* p = PictureOf(handle);
    return p && !p->alpha.empty() ? p->alpha.data() : nullptr;
}

} // namespace

namespace outside {

std::vector<BuiltinModuleExport> TgaExports() {
    return {
        Export("LoadTGAFile", LoadTGAFile),
        Export("LoadTgaFromMem", LoadTgaFromMem),
        Export("CreateBitmapFromTGA", CreateBitmapFromTGA),
        Export("CloseTGAHandle", CloseTGAHandle),
        Export("GetTgaWidth", GetTgaWidth),
        Export("GetTgaHeight", GetTgaHeight),
        Export("GetTgaPalNum", GetTgaPalNum),
        Export("GetTgaPixelDepth", GetTgaPixelDepth),
        Export("GetTgaGetImageData", GetTgaGetImageData),
        Export("GetTgaGetImagePalData", GetTgaGetImagePalData),
        Export("GetTgaGetImageAlphaData", GetTgaGetImageAlphaData),
    };
}

} // namespace outside
