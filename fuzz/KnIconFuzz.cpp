// Arbitrary bytes as an .ico file for the UI kit: read for its first image,
// and as an existing file an image is appended to. Each must refuse or
// succeed without reading outside the bytes, and an appended file must hold
// every entry inside it with the new image last.

#include "knclientUI05/IcoLayout.h"
#include "knclientUI05/KnClientPublic.h"
#include "platform/resources/ResourceIconFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so a read past the end is caught.
    std::vector<BYTE> bytes(data, data + size);
    if (HICON icon = CreateIconFromIcoData(bytes.data(), DWORD(bytes.size())))
        DestroyIcon(icon);

    const std::string old(reinterpret_cast<const char*>(data), size);
    // A 16 x 16, 32-bit entry of 37 bytes.
    const std::string image(37, '\x02');
    std::string entry("\x10\x10\0\0", 4);
    ico::PutU16(entry, 1);
    ico::PutU16(entry, 32);
    ico::PutU32(entry, DWORD(image.size()));
    std::string grown;
    if (!ico::AppendImage(old, entry, image, grown))
        return 0;
    std::vector<platform::IconDirectoryEntry> entries;
    if (!platform::ParseIconDirectory(reinterpret_cast<const uint8_t*>(grown.data()), grown.size(),
                                      1, entries, nullptr) ||
        entries.empty() || entries.back().offset + entries.back().size != grown.size() ||
        grown.compare(grown.size() - image.size(), image.size(), image) != 0)
        abort();
    return 0;
}
