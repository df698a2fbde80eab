// Arbitrary bytes as an .ico file for the UI kit: read for its first image,
// and as an existing file an icon is appended to. Each must refuse or
// succeed without reading outside the bytes, and an append must leave a
// sound file or the old bytes.

#include "knclientUI05/KnClientPublic.h"
#include "platform/resources/ResourceIconFile.h"
#include "platform/system/FileIo.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

HICON Sample() {
    // 2 x 2, 32 bits, with its mask.
    static std::vector<BYTE> image = [] {
        std::vector<BYTE> bytes(40 + 16 + 8, 0);
        bytes[0] = 40;
        bytes[4] = 2;
        bytes[8] = 4;
        bytes[12] = 1;
        bytes[14] = 32;
        for (int i = 40; i < 56; ++i)
            bytes[size_t(i)] = BYTE(i * 7);
        return bytes;
    }();
    static HICON icon =
        CreateIconFromResourceEx(image.data(), DWORD(image.size()), TRUE, 0x30000, 0, 0, 0);
    return icon;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so a read past the end is caught.
    std::vector<BYTE> bytes(data, data + size);
    if (HICON icon = CreateIconFromIcoData(bytes.data(), DWORD(bytes.size())))
        DestroyIcon(icon);

    static const std::string path = "/tmp/kniconfuzz-" + std::to_string(getpid()) + ".ico";
    const std::string old(reinterpret_cast<const char*>(data), size);
    if (!WriteFileAtomically(path, old))
        return 0;
    const bool added = AddIconToIcoFile(Sample(), path.c_str(), TRUE);
    std::string now;
    if (!ReadWholeFile(path, now))
        abort();
    if (!added) {
        if (now != old)
            abort();
        return 0;
    }
    // Every entry of the grown file lies inside it, the new image last.
    std::vector<platform::IconDirectoryEntry> entries;
    if (!platform::ParseIconDirectory(reinterpret_cast<const uint8_t*>(now.data()), now.size(), 1,
                                      entries, nullptr) ||
        entries.empty() || entries.back().offset + entries.back().size != now.size())
        abort();
    return 0;
}
