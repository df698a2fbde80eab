// Arbitrary bytes as an .ico, a .cur, one icon image and an animated cursor:
// each reader must refuse or succeed without reading outside the bytes, and
// what it decodes must be consistent.

#include "platform/resources/AniCursor.h"
#include "platform/resources/ResourceIconFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void CheckImage(const platform::IconImage& image) {
    const size_t pixels = size_t(image.width) * size_t(image.height);
    if (image.width <= 0 || image.height <= 0 || image.width > 256 || image.height > 256 ||
        image.colour.size() != pixels || image.andMask.size() != pixels)
        abort();
}

void CheckParts(const platform::IconParts& parts) {
    if (!platform::IconPartsValid(parts) || parts.frames.empty() ||
        parts.rates.size() != parts.sequence.size())
        abort();
    for (int frame : parts.sequence)
        if (frame < 0 || size_t(frame) >= parts.frames.size())
            abort();
    for (const platform::IconParts& frame : parts.frames)
        if (!platform::IconPartsValid(frame))
            abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (int type : {1, 2}) {
        std::vector<platform::IconDirectoryEntry> entries;
        if (platform::ParseIconDirectory(data, size, type, entries, nullptr))
            for (const auto& entry : entries)
                if (entry.offset > size || entry.size > size - entry.offset)
                    abort();
        platform::CheckIconFile(bytes, type, nullptr);
    }
    platform::IconImage image;
    if (platform::DecodeIconImage(data, size, image, nullptr))
        CheckImage(image);
    platform::IconParts parts;
    if (platform::ParseAniCursor(data, size, parts, nullptr))
        CheckParts(parts);
    return 0;
}
