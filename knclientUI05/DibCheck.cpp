#include "knclientUI05/DibCheck.h"

#include "knclientbase05/KNpubSystem.h"
#include "platform/system/InputBounds.h"

#include <cstdint>
#include <cstring>

namespace {

// The old core header (OS/2 bitmaps) and the largest header (the fifth version).
constexpr DWORD kCoreHeader = 12;
constexpr DWORD kLargestHeader = 124;

bool DepthAllowed(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The layout that follows the header: where the masks and the colour table
// lie, counted from the header's start; false when a field is impossible.
struct Layout {
    size_t tableOffset = 0;
    size_t tableEnd = 0;
    int colors = 0;
    size_t entrySize = 4; // a core header's colours are 3 bytes each
    bool masks = false;
    bool runLength = false;
};

// A refusal, with its reason where a person can read it.
bool Refuse(const char* reason) {
    return platform::RefuseInput("DIB", reason);
}

// The core header holds 16-bit sides, planes and depth: its rows run
// bottom-up, uncompressed, with a full colour table up to 8 bits.
bool ReadCoreHeader(const BYTE* data, size_t size, BITMAPINFOHEADER& header) {
    if (size < kCoreHeader)
        return Refuse("shorter than its header");
    WORD fields[4]; // width, height, planes, bits
    std::memcpy(fields, data + 4, sizeof fields);
    header = BITMAPINFOHEADER{};
    header.biSize = kCoreHeader;
    header.biWidth = fields[0];
    header.biHeight = fields[1];
    header.biPlanes = fields[2];
    header.biBitCount = fields[3];
    header.biCompression = BI_RGB;
    return true;
}

bool ReadLayout(const BYTE* data, size_t size, BITMAPINFOHEADER& header, Layout& layout) {
    DWORD headerSize = 0;
    if (size >= sizeof headerSize)
        std::memcpy(&headerSize, data, sizeof headerSize);
    if (headerSize == kCoreHeader) {
        if (!ReadCoreHeader(data, size, header))
            return false;
        layout.entrySize = 3;
    } else {
        if (size < sizeof(BITMAPINFOHEADER))
            return Refuse("shorter than its header");
        std::memcpy(&header, data, sizeof header);
        if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > kLargestHeader ||
            header.biSize > size)
            return Refuse("a header size no DIB has");
    }
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN)
        return Refuse("no width or height");
    int64_t rows = header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight;
    // The bound of every picture from outside: a run-length DIB of a few
    // bytes may declare any size.
    if (!platform::ImageSizeAllowed(header.biWidth, rows))
        return Refuse("larger than a picture may be");
    if (!DepthAllowed(header.biBitCount))
        return Refuse("a depth no DIB has");
    layout.colors = DibColorEntries(header);
    if (layout.colors < 0)
        return Refuse("a colour count its depth cannot hold");
    if (header.biCompression == BI_BITFIELDS) {
        if (header.biBitCount != 16 && header.biBitCount != 32)
            return Refuse("bit fields at a depth that has none");
        layout.masks = true;
    } else if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4) {
        // Run lengths are expanded by the platform as it takes the DIB; they
        // run bottom-up, in as many bytes as the header says.
        if (header.biBitCount != (header.biCompression == BI_RLE8 ? 8 : 4))
            return Refuse("run lengths at another depth");
        if (header.biHeight < 0 || header.biSizeImage == 0)
            return Refuse("run lengths top-down or of no stated length");
        layout.runLength = true;
    } else if (header.biCompression != BI_RGB) {
        return Refuse("a compression no DIB reader takes");
    }
    // Version 2 and later headers hold the masks themselves; a plain header is
    // followed by them.
    layout.tableOffset = header.biSize;
    if (layout.masks && header.biSize < 52)
        layout.tableOffset += 12;
    layout.tableEnd = layout.tableOffset + layout.entrySize * size_t(layout.colors);
    return layout.tableEnd <= size || Refuse("colour table truncated");
}

bool Build(const BYTE* dib, size_t dibSize, const BYTE* bits, size_t bitsAvailable,
           CheckedDib& result) {
    BITMAPINFOHEADER header;
    Layout layout;
    if (!ReadLayout(dib, dibSize, header, layout))
        return false;
    size_t rows = size_t(header.biHeight < 0 ? -int64_t(header.biHeight) : header.biHeight);
    size_t needed = layout.runLength ? size_t(header.biSizeImage)
                                     : DibRowLength(header.biWidth, header.biBitCount) * rows;
    if (needed > bitsAvailable)
        return Refuse("pixel data truncated");

    // Masks inside a later header sit right after its first 40 bytes.
    size_t extra = layout.masks ? 12 : 4 * size_t(layout.colors);
    const BYTE* from = dib + (layout.masks ? sizeof(BITMAPINFOHEADER) : layout.tableOffset);
    result.info.assign(sizeof(BITMAPINFOHEADER) + extra, 0);
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biClrUsed = DWORD(layout.colors);
    std::memcpy(result.info.data(), &header, sizeof header);
    BYTE* to = result.info.data() + sizeof(BITMAPINFOHEADER);
    if (layout.entrySize == 4)
        std::memcpy(to, from, extra);
    else // blue, green, red: the fourth byte stays 0
        for (int i = 0; i < layout.colors; ++i)
            std::memcpy(to + 4 * i, from + 3 * i, 3);
    result.bits = bits;
    result.bitsSize = needed;
    result.colorCount = layout.colors;
    result.runLength = layout.runLength;
    return true;
}

} // namespace

size_t DibRowLength(int width, int bitCount) {
    if (width <= 0 || bitCount <= 0)
        return 0;
    return ((size_t(width) * size_t(bitCount) + 31) / 32) * 4;
}

int DibColorEntries(const BITMAPINFOHEADER& header) {
    if (header.biPlanes != 1)
        return -1;
    if (header.biBitCount <= 8) {
        int full = 1 << header.biBitCount;
        if (header.biClrUsed == 0)
            return full;
        return header.biClrUsed <= DWORD(full) ? int(header.biClrUsed) : -1;
    }
    return header.biClrUsed <= 256 ? int(header.biClrUsed) : -1;
}

bool CheckPackedDib(const void* data, size_t size, CheckedDib& result) {
    const BYTE* dib = static_cast<const BYTE*>(data);
    BITMAPINFOHEADER header;
    Layout layout;
    if (!dib || !ReadLayout(dib, size, header, layout))
        return false;
    return Build(dib, size, dib + layout.tableEnd, size - layout.tableEnd, result);
}

bool CheckBmpFile(const void* data, size_t size, CheckedDib& result) {
    const BYTE* file = static_cast<const BYTE*>(data);
    if (!file || size < sizeof(BITMAPFILEHEADER) || file[0] != 'B' || file[1] != 'M')
        return Refuse("not a .bmp file");
    BITMAPFILEHEADER fileHeader;
    std::memcpy(&fileHeader, file, sizeof fileHeader);
    const BYTE* dib = file + sizeof fileHeader;
    size_t dibSize = size - sizeof fileHeader;
    BITMAPINFOHEADER header;
    Layout layout;
    if (!ReadLayout(dib, dibSize, header, layout))
        return false;
    size_t bitsOffset = sizeof fileHeader + layout.tableEnd;
    // Writers that leave the offset 0 mean "right after the table"; one that
    // points into the headers or past the file is a lie.
    if (fileHeader.bfOffBits != 0) {
        if (fileHeader.bfOffBits < bitsOffset || fileHeader.bfOffBits > size)
            return Refuse("a bits offset inside the headers or past the file");
        bitsOffset = fileHeader.bfOffBits;
    }
    return Build(dib, dibSize, file + bitsOffset, size - bitsOffset, result);
}
