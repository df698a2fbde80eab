// Arbitrary bytes as the library's .bmp files and packed DIBs: every checked
// view must lie inside the bytes, and every decode must either refuse or
// give a bitmap, never read outside the data.

#include "knclientUI05/DibCheck.h"
#include "knclientUI05/KNBitmap.h"
#include "knclientUI05/KnClientPublic.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void CheckInside(const CheckedDib& dib, const uint8_t* data, size_t size) {
    if (dib.bits < data || dib.bits + dib.bitsSize > data + size)
        abort();
    if (dib.info.size() < sizeof(BITMAPINFOHEADER))
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exact-size copies, so a read past the end is caught.
    std::vector<uint8_t> bytes(data, data + size);
    CheckedDib dib;
    if (CheckPackedDib(bytes.data(), bytes.size(), dib))
        CheckInside(dib, bytes.data(), bytes.size());
    if (CheckBmpFile(bytes.data(), bytes.size(), dib))
        CheckInside(dib, bytes.data(), bytes.size());

    CKNBitmap bitmap;
    bitmap.CreateFromDib(bytes.data(), bytes.size());

    // As a whole file whose size field agrees, so the parser is reached.
    if (bytes.size() >= 6) {
        if (bytes.size() >= 14 && bytes[0] == 'B' && bytes[1] == 'M') {
            uint32_t total = uint32_t(bytes.size());
            std::memcpy(bytes.data() + 2, &total, 4);
        }
        HBITMAP section = CreateBitmapFromBmpData(bytes.data(), int(bytes.size()));
        if (section)
            DeleteObject(section);
    }
    return 0;
}
