// "KNGIFTGA.dll": GIF pictures through giflib, read frame by frame as the
// file holds them (no composition on the logical screen). The picture's
// bytes are kept so that Reset can start again from the first frame. Its TGA
// half is TgaModule.cpp.

#include "outside/CodecSupport.h"
#include "outside/KNGifTga.h"
#include "outside/OutsideModules.h"
#include "outside/TgaModule.h"
#include "platform/system/InputBounds.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

bool Refuse(const char* why) {
    return platform::RefuseInput("GIF picture", why);
}

struct GifTgaPicture {
    std::string bytes;
    size_t position = 0;
    GifFileType* gif = nullptr;
    GifTgaRawFrame frame{};
    std::vector<BYTE> pixels;
    bool haveFrame = false;
    GraphicsControlBlock control{};
    bool controlSeen = false;

    ~GifTgaPicture() { CloseReader(); }
    void CloseReader() {
        int ignored = 0;
        if (gif)
            DGifCloseFile(gif, &ignored);
        gif = nullptr;
    }
};

int ReadFromBytes(GifFileType* gif, GifByteType* out, int wanted) {
    auto* picture = static_cast<GifTgaPicture*>(gif->UserData);
    const size_t count =
        std::min(size_t(std::max(wanted, 0)), picture->bytes.size() - picture->position);
    std::memcpy(out, picture->bytes.data() + picture->position, count);
    picture->position += count;
    return int(count);
}

bool OpenReader(GifTgaPicture& picture) {
    picture.CloseReader();
    picture.position = 0;
    picture.haveFrame = false;
    int error = 0;
    picture.gif = DGifOpen(&picture, ReadFromBytes, &error);
    return picture.gif != nullptr;
}

HGIFTGA Open(std::string bytes) {
    auto picture = std::make_unique<GifTgaPicture>();
    picture->bytes = std::move(bytes);
    return OpenReader(*picture) ? picture.release() : nullptr;
}

HGIFTGA LoadGifFromMem(const BYTE* data, DWORD size, BOOL withSignature) {
    if (!data || size == 0)
        return nullptr;
    std::string bytes = withSignature ? "" : "GIF89a";
    bytes.append(reinterpret_cast<const char*>(data), size);
    return Open(std::move(bytes));
}

HGIFTGA LoadGifFile(LPCSTR path) {
    std::string bytes;
    return outside::ReadNamedFile(path, bytes) ? Open(std::move(bytes)) : nullptr;
}

GifTgaPicture* PictureOf(HGIFTGA handle) {
    auto* picture = static_cast<GifTgaPicture*>(handle);
    return picture && picture->gif ? picture : nullptr;
}

// Rows as the file holds them go to their places (the four passes when interlaced).
bool ReadRows(GifFileType* gif, int width, int height, bool interlaced, std::vector<BYTE>& out) {
    const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
    const int passes = interlaced ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = interlaced ? starts[pass] : 0; y < height; y += interlaced ? steps[pass] : 1)
            if (DGifGetLine(gif, &out[size_t(y) * size_t(width)], width) != GIF_OK)
                return false;
    return true;
}

bool ReadImage(GifTgaPicture& p) {
    if (DGifGetImageDesc(p.gif) != GIF_OK)
        return Refuse("a frame's header is broken");
    const GifImageDesc& desc = p.gif->Image;
    GifTgaRawFrame& f = p.frame;
    f = GifTgaRawFrame{};
    f.left = desc.Left;
    f.top = desc.Top;
    f.width = desc.Width;
    f.height = desc.Height;
    f.interlaced = desc.Interlace ? 1 : 0;
    f.transparentIndex = p.controlSeen ? p.control.TransparentColor : -1;
    f.delay = p.controlSeen ? p.control.DelayTime : 0;
    f.disposal = p.controlSeen ? p.control.DisposalMode : 0;
    p.controlSeen = false;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : p.gif->SColorMap;
    if (map) {
        f.paletteEntries = std::min(map->ColorCount, 256);
        for (int i = 0; i < f.paletteEntries; ++i) {
            f.palette[i * 3] = map->Colors[i].Red;
            f.palette[i * 3 + 1] = map->Colors[i].Green;
            f.palette[i * 3 + 2] = map->Colors[i].Blue;
        }
    }
    if (!platform::ImageSizeAllowed(f.width, f.height))
        return Refuse("a frame of no pixels, or larger than a picture may be");
    p.pixels.assign(size_t(f.width) * size_t(f.height), 0);
    if (!ReadRows(p.gif, f.width, f.height, f.interlaced != 0, p.pixels))
        return Refuse("a frame's data is truncated or broken");
    f.pixels = p.pixels.data();
    return true;
}

const GifTgaRawFrame* GetNextRawFrameData(HGIFTGA handle) {
    GifTgaPicture* p = PictureOf(handle);
    if (!p)
        return nullptr;
    p->haveFrame = false;
    GifRecordType type;
    while (DGifGetRecordType(p->gif, &type) == GIF_OK) {
        if (type == IMAGE_DESC_RECORD_TYPE) {
            p->haveFrame = ReadImage(*p);
            return p->haveFrame ? &p->frame : nullptr;
        }
        if (type != EXTENSION_RECORD_TYPE)
            return nullptr;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(p->gif, &code, &block) != GIF_OK)
            return nullptr;
        if (code == GRAPHICS_EXT_FUNC_CODE && block &&
            DGifExtensionToGCB(block[0], block + 1, &p->control) == GIF_OK)
            p->controlSeen = true;
        while (block)
            if (DGifGetExtensionNext(p->gif, &block) != GIF_OK)
                return nullptr;
    }
    return nullptr;
}

HPALETTE PaletteOf(const GifTgaRawFrame& f) {
    if (f.paletteEntries <= 0)
        return nullptr;
    std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * size_t(f.paletteEntries));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = WORD(f.paletteEntries);
    for (int i = 0; i < f.paletteEntries; ++i)
        palette->palPalEntry[i] = {f.palette[i * 3], f.palette[i * 3 + 1], f.palette[i * 3 + 2], 0};
    return CreatePalette(palette);
}

// The frame's colours in a 32-bit bitmap; indices past the palette are black.
HBITMAP BitmapOf(const GifTgaRawFrame& f) {
    platform::PixelImage image;
    image.Reset(f.width, f.height);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const int index = f.pixels[i];
        if (index < f.paletteEntries)
            image.pixels[i] = platform::MakePixel(f.palette[index * 3], f.palette[index * 3 + 1],
                                                  f.palette[index * 3 + 2]);
    }
    return outside::BitmapOfImage(image);
}

int GetNextImage(HGIFTGA handle, int* left, int* top, int* width, int* height, HBITMAP* bitmap,
                 BOOL* transparent, COLORREF* transparentColor, HPALETTE* palette, int* disposal,
                 int* delay) {
    if (!left || !top || !width || !height || !bitmap || !transparent || !transparentColor ||
        !palette || !disposal || !delay)
        return 0;
    const GifTgaRawFrame* f = GetNextRawFrameData(handle);
    if (!f)
        return 0;
    *bitmap = BitmapOf(*f);
    if (!*bitmap)
        return 0;
    *palette = PaletteOf(*f);
    *left = f->left;
    *top = f->top;
    *width = f->width;
    *height = f->height;
    *transparent = f->transparentIndex >= 0;
    const int index = f->transparentIndex;
    *transparentColor = index >= 0 && index < f->paletteEntries
                            ? PALETTERGB(f->palette[index * 3], f->palette[index * 3 + 1],
                                         f->palette[index * 3 + 2])
                            : COLORREF(index < 0 ? 0 : index);
    *disposal = f->disposal;
    *delay = f->delay ? f->delay * 10 : 50;
    return 1;
}

HBITMAP CreateCurrentBmp(HGIFTGA handle) {
    GifTgaPicture* p = PictureOf(handle);
    return p && p->haveFrame ? BitmapOf(p->frame) : nullptr;
}

int GetImageSize(HGIFTGA handle, int* width, int* height, int* backgroundIndex) {
    GifTgaPicture* p = PictureOf(handle);
    if (!p)
        return 0;
    if (width)
        *width = p->gif->SWidth;
    if (height)
        *height = p->gif->SHeight;
    if (backgroundIndex)
        *backgroundIndex = p->gif->SBackGroundColor;
    return 1;
}

int GetGlobalColorIndexTotal(HGIFTGA handle, int* backgroundIndex) {
    GifTgaPicture* p = PictureOf(handle);
    if (!p)
        return 0;
    if (backgroundIndex)
        *backgroundIndex = p->gif->SBackGroundColor;
    return p->gif->SColorMap ? p->gif->SColorMap->ColorCount : 0;
}

int GetGlobalColorIndexData(HGIFTGA handle, BYTE* buffer, int bufferSize) {
    GifTgaPicture* p = PictureOf(handle);
    const ColorMapObject* map = p ? p->gif->SColorMap : nullptr;
    const int entries = map ? map->ColorCount : 0;
    if (!p || !buffer || bufferSize < entries * 3)
        return 0;
    for (int i = 0; i < entries; ++i) {
        buffer[i * 3] = map->Colors[i].Red;
        buffer[i * 3 + 1] = map->Colors[i].Green;
        buffer[i * 3 + 2] = map->Colors[i].Blue;
    }
    return 1;
}

void Reset(HGIFTGA handle) {
    if (auto* p = static_cast<GifTgaPicture*>(handle))
        OpenReader(*p);
}

void CloseGifHandle(HGIFTGA handle) {
    delete static_cast<GifTgaPicture*>(handle);
}

} // namespace

BuiltinModuleDefinition GifTgaModule() {
    std::vector<BuiltinModuleExport> exports{
        outside::Export("GetNextRawFrameData", GetNextRawFrameData),
        outside::Export("GetGlobalColorIndexData", GetGlobalColorIndexData),
        outside::Export("GetGlobalColorIndexTotal", GetGlobalColorIndexTotal),
        outside::Export("GetNextImage", GetNextImage),
        outside::Export("GetImageSize", GetImageSize),
        outside::Export("CloseGifHandle", CloseGifHandle),
        outside::Export("LoadGifFromMem", LoadGifFromMem),
        outside::Export("LoadGifFile", LoadGifFile),
        outside::Export("Reset", Reset),
        outside::Export("CreateCurrentBmp", CreateCurrentBmp),
    };
    for (const BuiltinModuleExport& tga : outside::TgaExports())
        exports.push_back(tga);
    return outside::CodecModule("KNGIFTGA.dll", std::move(exports));
}
