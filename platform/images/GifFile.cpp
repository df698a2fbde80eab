#include "platform/images/GifFile.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

struct MemoryReader {
    const uint8_t* data;
    size_t size;
    size_t position;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
    MemoryReader* reader = static_cast<MemoryReader*>(gif->UserData);
    size_t count = std::min(size_t(wanted < 0 ? 0 : wanted), reader->size - reader->position);
    std::memcpy(out, reader->data + reader->position, count);
    reader->position += count;
    return int(count);
}

struct GifCloser {
    GifFileType* gif;
    ~GifCloser() {
        int ignored = 0;
        if (gif)
            DGifCloseFile(gif, &ignored);
    }
};

// The graphic control block that precedes a frame: its transparent index.
int TransparentIndexOf(const GifByteType* block) {
    GraphicsControlBlock control;
    if (block[0] < 4 || DGifExtensionToGCB(4, block + 1, &control) != GIF_OK)
        return NO_TRANSPARENT_COLOR;
    return control.TransparentColor;
}

// Frame rows in file order; interlaced frames store rows 0, 8, ... then 4,
// 12, ... then 2, 6, ... then the odd rows.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = starts[pass]; y < height; y += steps[pass])
            order.push_back(y);
    return order;
}

bool ReadFirstFrame(GifFileType* gif, PixelImage& image, std::string* error) {
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType record;
        if (DGifGetRecordType(gif, &record) != GIF_OK)
            return RefusePicture(error, "GIF picture truncated");
        if (record == TERMINATE_RECORD_TYPE)
            return RefusePicture(error, "GIF picture has no frame");
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) != GIF_OK)
                return RefusePicture(error, "GIF picture truncated");
            if (code == GRAPHICS_EXT_FUNC_CODE && block)
                transparent = TransparentIndexOf(block);
            while (block) {
                if (DGifGetExtensionNext(gif, &block) != GIF_OK)
                    return RefusePicture(error, "GIF picture truncated");
            }
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            continue;
        if (DGifGetImageDesc(gif) != GIF_OK)
            return RefusePicture(error, "GIF frame header broken");
        const GifImageDesc& frame = gif->Image;
        const ColorMapObject* colors = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
        if (!colors)
            return RefusePicture(error, "GIF frame has no colour table");
        // The canvas is the logical screen, grown to hold a frame that is larger.
        int64_t width = std::max<int64_t>(gif->SWidth, int64_t(frame.Left) + frame.Width);
        int64_t height = std::max<int64_t>(gif->SHeight, int64_t(frame.Top) + frame.Height);
        if (!ImageSizeAllowed(width, height) || frame.Width <= 0 || frame.Height <= 0)
            return RefusePicture(error, "picture size out of range");
        bool hasTransparency = transparent != NO_TRANSPARENT_COLOR;
        uint32_t background = 0;
        if (!hasTransparency && gif->SColorMap && gif->SBackGroundColor >= 0 &&
            gif->SBackGroundColor < gif->SColorMap->ColorCount) {
            const GifColorType& c = gif->SColorMap->Colors[gif->SBackGroundColor];
            background = MakePixel(c.Red, c.Green, c.Blue);
        }
        image.Reset(int(width), int(height), background);
        image.hasAlpha = hasTransparency;
        std::vector<GifPixelType> line(size_t(frame.Width));
        for (int y : RowOrder(frame.Height, frame.Interlace)) {
            if (DGifGetLine(gif, line.data(), frame.Width) != GIF_OK)
                return RefusePicture(error, "GIF frame data truncated or broken");
            uint32_t* out = &image.At(frame.Left, frame.Top + y);
            for (int x = 0; x < frame.Width; ++x) {
                int index = line[size_t(x)];
                if (index == transparent) {
                    out[x] = 0;
                } else if (index < colors->ColorCount) {
                    const GifColorType& c = colors->Colors[index];
                    out[x] = MakePixel(c.Red, c.Green, c.Blue, hasTransparency ? 0xFF : 0);
                } else {
                    out[x] = hasTransparency ? 0xFF000000u : 0;
                }
            }
        }
        return true;
    }
}

} // namespace

bool DecodeGif(const void* data, size_t size, PixelImage& image, std::string* error) {
    MemoryReader reader{static_cast<const uint8_t*>(data), size, 0};
    int code = 0;
    GifCloser closer{DGifOpen(&reader, ReadFromMemory, &code)};
    if (!closer.gif)
        return RefusePicture(error, std::string("not a GIF picture: ") + GifErrorString(code));
    PixelImage decoded;
    if (!ReadFirstFrame(closer.gif, decoded, error))
        return false;
    image = std::move(decoded);
    return true;
}

} // namespace platform
