#include "platform/images/PngFile.h"

#include "platform/system/FileIo.h"

#include <png.h>

#include <cstring>

namespace platform {

bool DecodePng(const void* data, size_t size, PixelImage& image, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size))
        return RefusePicture(error, std::string("not a PNG picture: ") + png.message);
    if (!ImageSizeAllowed(png.width, png.height)) {
        png_image_free(&png);
        return RefusePicture(error, "picture size out of range");
    }
    bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    // 16-bit samples with no gamma or colour space stated are taken as sRGB,
    // as other viewers take them, not as linear light (which would brighten
    // every mid tone).
    png.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
    png.format = PNG_FORMAT_BGRA;
    PixelImage decoded;
    decoded.Reset(int(png.width), int(png.height));
    if (!png_image_finish_read(&png, nullptr, decoded.pixels.data(), int(png.width) * 4, nullptr)) {
        std::string why = png.message;
        png_image_free(&png);
        return RefusePicture(error, "PNG picture broken: " + why);
    }
    if (!alpha) {
        for (uint32_t& p : decoded.pixels)
            p &= 0xFFFFFF;
    }
    decoded.hasAlpha = alpha;
    image = std::move(decoded);
    return true;
}

bool EncodePng(const PixelView& view, bool withAlpha, std::string& file, std::string* error) {
    if (view.IsEmpty())
        return RefusePicture(error, "empty picture");
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(view.width);
    png.height = png_uint_32(view.height);
    png.format = withAlpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    // Without alpha the 4-byte pixels are repacked as 3-byte rows first.
    std::vector<uint8_t> packed;
    const void* rows = view.pixels;
    png_int_32 stride = png_int_32(view.stride) * 4;
    if (!withAlpha) {
        packed.resize(size_t(view.width) * size_t(view.height) * 3);
        for (int y = 0; y < view.height; ++y) {
            const uint32_t* in = view.Row(y);
            uint8_t* out = &packed[size_t(y) * size_t(view.width) * 3];
            for (int x = 0; x < view.width; ++x) {
                out[3 * x] = uint8_t(in[x]);
                out[3 * x + 1] = uint8_t(in[x] >> 8);
                out[3 * x + 2] = uint8_t(in[x] >> 16);
            }
        }
        rows = packed.data();
        stride = png_int_32(view.width) * 3;
    }
    png_alloc_size_t bytes = 0;
    if (!png_image_write_to_memory(&png, nullptr, &bytes, 0, rows, stride, nullptr))
        return RefusePicture(error, std::string("PNG encoding failed: ") + png.message);
    file.resize(bytes);
    if (!png_image_write_to_memory(&png, file.data(), &bytes, 0, rows, stride, nullptr))
        return RefusePicture(error, std::string("PNG encoding failed: ") + png.message);
    file.resize(bytes);
    return true;
}

bool EncodePng(const PixelImage& image, std::string& file, std::string* error) {
    PixelView view{const_cast<uint32_t*>(image.pixels.data()), image.width, image.height,
                   image.width};
    return EncodePng(view, image.hasAlpha, file, error);
}

bool SavePngFile(const std::string& path, const PixelView& view, std::string* error) {
    std::string bytes;
    if (!EncodePng(view, false, bytes, error))
        return false;
    return WriteFileAtomically(path, bytes) || RefusePicture(error, "file cannot be written");
}

bool SavePngFile(const std::string& path, const Surface& surface, std::string* error) {
    return SavePngFile(path, ImageOfSurface(surface), error);
}

bool SavePngFile(const std::string& path, const PixelImage& image, std::string* error) {
    std::string bytes;
    if (!EncodePng(image, bytes, error))
        return false;
    return WriteFileAtomically(path, bytes) || RefusePicture(error, "file cannot be written");
}

} // namespace platform
