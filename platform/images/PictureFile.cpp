#include "platform/images/BmpFile.h"
#include "platform/images/GifFile.h"
#include "platform/images/JpegFile.h"
#include "platform/images/Picture.h"
#include "platform/images/PngFile.h"
#include "platform/system/FileIo.h"

#include <cstring>

namespace platform {
namespace {

bool StartsWith(const void* data, size_t size, const char* magic, size_t length) {
    return size >= length && std::memcmp(data, magic, length) == 0;
}

} // namespace

PictureFormat SniffPicture(const void* data, size_t size) {
    if (StartsWith(data, size, "BM", 2))
        return PictureFormat::Bmp;
    if (StartsWith(data, size, "\x89PNG\r\n\x1A\n", 8))
        return PictureFormat::Png;
    if (StartsWith(data, size, "\xFF\xD8\xFF", 3))
        return PictureFormat::Jpeg;
    if (StartsWith(data, size, "GIF87a", 6) || StartsWith(data, size, "GIF89a", 6))
        return PictureFormat::Gif;
    return PictureFormat::Unknown;
}

bool DecodePicture(const void* data, size_t size, PixelImage& image, std::string* error) {
    switch (SniffPicture(data, size)) {
    case PictureFormat::Bmp:
        return DecodeBmp(data, size, image, error);
    case PictureFormat::Png:
        return DecodePng(data, size, image, error);
    case PictureFormat::Jpeg:
        return DecodeJpeg(data, size, image, error);
    case PictureFormat::Gif:
        return DecodeGif(data, size, image, error);
    case PictureFormat::Unknown:
        break;
    }
    return RefusePicture(error, "not a picture format this program reads");
}

bool LoadPictureFile(const std::string& path, PixelImage& image, std::string* error) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxPictureFileBytes))
        return RefusePicture(error, "file cannot be read");
    return DecodePicture(bytes.data(), bytes.size(), image, error);
}

} // namespace platform
