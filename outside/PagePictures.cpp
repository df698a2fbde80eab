// A page's pictures, kept at the size they are drawn.

#include "outside/PagePictures.h"

#include "platform/images/Picture.h"

#include <algorithm>
#include <utility>

namespace {

// AlphaBlend takes premultiplied pixels; averaging them also keeps the
// colour of a transparent pixel out of its opaque neighbours.
void Premultiply(platform::PixelImage& image) {
    for (uint32_t& p : image.pixels) {
        const uint32_t a = p >> 24;
        p = a << 24 | ((p >> 16 & 0xFF) * a / 255) << 16 | ((p >> 8 & 0xFF) * a / 255) << 8 |
            (p & 0xFF) * a / 255;
    }
}

} // namespace

PagePictures::Picture::~Picture() {
    if (kept)
        DeleteObject(kept);
}

bool PagePictures::Ask(const std::string& url) {
    return m_pictures.try_emplace(url).second;
}

bool PagePictures::Decode(const std::string& url, const std::string& bytes, std::string* why) {
    auto image = std::make_unique<platform::PixelImage>();
    if (!platform::DecodePicture(bytes.data(), bytes.size(), *image, why))
        return false;
    if (image->hasAlpha)
        Premultiply(*image);
    Picture& picture = m_pictures[url];
    if (picture.kept)
        DeleteObject(std::exchange(picture.kept, nullptr));
    picture.keptWidth = picture.keptHeight = 0;
    picture.width = image->width;
    picture.height = image->height;
    picture.decoded = std::move(image);
    return true;
}

const PagePictures::Picture* PagePictures::Find(const std::string& url) const {
    auto found = m_pictures.find(url);
    return found == m_pictures.end() || found->second.width <= 0 ? nullptr : &found->second;
}

platform::PixelImage PagePictures::Shrink(const platform::PixelImage& image, int width,
                                          int height) {
    width = std::clamp(width, 1, std::max(1, image.width));
    height = std::clamp(height, 1, std::max(1, image.height));
    platform::PixelImage out;
    out.Reset(width, height);
    out.hasAlpha = image.hasAlpha;
    for (int y = 0; y < height; ++y) {
        const int y0 = int(int64_t(y) * image.height / height);
        const int y1 = std::max(y0 + 1, int(int64_t(y + 1) * image.height / height));
        for (int x = 0; x < width; ++x) {
            const int x0 = int(int64_t(x) * image.width / width);
            const int x1 = std::max(x0 + 1, int(int64_t(x + 1) * image.width / width));
            uint64_t sum[4] = {0, 0, 0, 0};
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    const uint32_t p = image.At(sx, sy);
                    for (int c = 0; c < 4; ++c)
                        sum[c] += p >> (8 * c) & 0xFF;
                }
            const uint64_t n = uint64_t(y1 - y0) * uint64_t(x1 - x0);
            uint32_t p = 0;
            for (int c = 0; c < 4; ++c)
                p |= uint32_t((sum[c] + n / 2) / n) << (8 * c);
            out.At(x, y) = p;
        }
    }
    return out;
}

bool PagePictures::Keep(const std::map<std::string, SIZE>& drawn) {
    size_t kept = KeptBytes();
    for (auto& [url, picture] : m_pictures) {
        if (!picture.decoded)
            continue;
        std::unique_ptr<platform::PixelImage> image = std::move(picture.decoded);
        auto place = drawn.find(url);
        const int width = place == drawn.end() ? image->width : int(place->second.cx);
        const int height = place == drawn.end() ? image->height : int(place->second.cy);
        platform::PixelImage shrunk;
        if (width >= image->width && height >= image->height)
            shrunk = std::move(*image);
        else
            shrunk = Shrink(*image, width, height);
        image.reset(); // the whole decoding goes before the next is looked at
        kept += size_t(shrunk.width) * size_t(shrunk.height) * 4;
        if (kept > m_budget)
            return false;
        picture.kept = platform::CreateBitmapFromImage(shrunk);
        picture.keptWidth = picture.kept ? shrunk.width : 0;
        picture.keptHeight = picture.kept ? shrunk.height : 0;
        picture.alpha = shrunk.hasAlpha;
    }
    return true;
}

size_t PagePictures::KeptBytes() const {
    size_t kept = 0;
    for (const auto& [url, picture] : m_pictures)
        kept += size_t(picture.keptWidth) * size_t(picture.keptHeight) * 4;
    return kept;
}
