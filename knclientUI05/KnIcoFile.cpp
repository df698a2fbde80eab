// .ico files: an icon from the bytes of one, and icons written to one or
// appended to one. The directory is checked against the bytes before any
// image is read; files are written whole or not at all.

#include "knclientUI05/KnClientPublic.h"

#include "knclientUI05/IcoLayout.h"
#include "platform/system/FileIo.h"
#include "platform/system/FileOps.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace ico;

constexpr size_t kEntrySize = kFileEntrySize;
constexpr DWORD kIconVersion = 0x30000;

// Colour-table bytes of an image header: the colours used, else the whole
// table of a depth up to 8 bits.
DWORD ColorTableBytes(const BITMAPINFOHEADER& h) {
    if (h.biClrUsed)
        return 4 * h.biClrUsed;
    return h.biBitCount <= 8 ? 4u << h.biBitCount : 0;
}

// Blocks from GetBitmapDIBits, freed on every path.
struct DibBlocks {
    BITMAPINFO* info = nullptr;
    void* bits = nullptr;
    DibBlocks() = default;
    DibBlocks(const DibBlocks&) = delete;
    DibBlocks& operator=(const DibBlocks&) = delete;
    ~DibBlocks() {
        std::free(info);
        std::free(bits);
    }
};

// One icon as an .ico file holds it: its directory entry without the offset
// and the image bytes (the colour header with a doubled height and its
// table, the colour rows, the mask rows).
struct IcoImage {
    std::string entry; // 12 bytes: sizes, colours, planes, depth, image size
    std::string bytes;
};

bool ImageOfIcon(HICON icon, IcoImage& out) {
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info))
        return false;
    DibBlocks colour, mask;
    // A cursor is no icon, and a monochrome icon has no colour bitmap.
    bool read = info.fIcon && info.hbmColor &&
                GetBitmapDIBits(info.hbmColor, &colour.info, &colour.bits) &&
                GetBitmapDIBits(info.hbmMask, &mask.info, &mask.bits);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (!read)
        return false;
    BITMAPINFOHEADER header = colour.info->bmiHeader;
    const DWORD tableBytes = ColorTableBytes(header);
    const DWORD colourBytes = header.biSizeImage, maskBytes = mask.info->bmiHeader.biSizeImage;
    header.biHeight *= 2;
    out.bytes.assign(reinterpret_cast<const char*>(&header), sizeof header);
    out.bytes.append(reinterpret_cast<const char*>(colour.info) + sizeof header, tableBytes);
    out.bytes.append(static_cast<const char*>(colour.bits), colourBytes);
    out.bytes.append(static_cast<const char*>(mask.bits), maskBytes);

    const unsigned depth = unsigned(header.biPlanes) * header.biBitCount;
    out.entry.clear();
    out.entry += char(header.biWidth & 0xFF);
    out.entry += char((header.biHeight / 2) & 0xFF);
    out.entry += char(depth < 8 ? 1u << depth : 0u);
    out.entry += '\0';
    PutU16(out.entry, header.biPlanes);
    PutU16(out.entry, header.biBitCount);
    // The size of what is written, whatever the header's colours-used says.
    PutU32(out.entry, DWORD(out.bytes.size()));
    return true;
}

} // namespace

HICON CreateIconFromIcoData(const BYTE* data, DWORD size) {
    if (!IsIconHeader(data, size))
        return nullptr;
    const DWORD count = ReadU16(data + 4);
    if (count == 0 || kHeaderSize + kEntrySize * count > size)
        return nullptr;
    const BYTE* entry = data + kHeaderSize;
    const DWORD imageSize = ReadU32(entry + 8), offset = ReadU32(entry + 12);
    if (offset > size || imageSize > size - offset || imageSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, data + offset, sizeof header);
    if (header.biSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    PBYTE image = const_cast<PBYTE>(data + offset);
    HICON icon = CreateIconFromResourceEx(image, imageSize, TRUE, kIconVersion, header.biWidth,
                                          header.biHeight / 2, 0);
    if (!icon && header.biBitCount != 16)
        icon = CreateIconFromResource(image, imageSize, TRUE, kIconVersion);
    return icon;
}

BOOL GetBitmapDIBits(HBITMAP bitmap, BITMAPINFO** info, void** bits) {
    if (info)
        *info = nullptr;
    if (bits)
        *bits = nullptr;
    BITMAP bm;
    if (!bitmap || !info || !GetObject(bitmap, sizeof bm, &bm))
        return FALSE;
    HDC display = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    if (!display)
        return FALSE;
    // The header (and room for masks) first, then a block sized by its table.
    BYTE query[sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD)] = {};
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(query);
    header->biSize = sizeof(BITMAPINFOHEADER);
    BOOL ok = GetDIBits(display, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(query),
                        DIB_RGB_COLORS) != 0;
    if (ok && (header->biBitCount == 16 || header->biBitCount == 32))
        header->biCompression = BI_RGB;
    const size_t infoBytes = sizeof(BITMAPINFOHEADER) + (ok ? ColorTableBytes(*header) : 0);
    BITMAPINFO* block = ok ? static_cast<BITMAPINFO*>(std::calloc(1, infoBytes)) : nullptr;
    if (block) {
        std::memcpy(block, header, sizeof(BITMAPINFOHEADER));
        *info = block;
        if (bits) {
            void* rows =
                std::calloc(1, block->bmiHeader.biSizeImage ? block->bmiHeader.biSizeImage : 1);
            if (!rows ||
                !GetDIBits(display, bitmap, 0, UINT(bm.bmHeight), rows, block, DIB_RGB_COLORS)) {
                std::free(rows);
                std::free(block);
                *info = nullptr;
                ok = FALSE;
            } else {
                *bits = rows;
            }
        }
    } else {
        ok = FALSE;
    }
    DeleteDC(display);
    return ok;
}

BOOL SaveIconToIcoFile(HICON icon, LPCSTR path) {
    IcoImage image;
    if (!path || !ImageOfIcon(icon, image))
        return FALSE;
    std::string file = Header(1) + image.entry;
    PutU32(file, DWORD(kHeaderSize + kEntrySize));
    file += image.bytes;
    return WriteFileAtomically(NativePath(path), file) ? TRUE : FALSE;
}

BOOL AddIconToIcoFile(HICON icon, LPCSTR path, BOOL append) {
    if (!append)
        return SaveIconToIcoFile(icon, path);
    IcoImage image;
    if (!path || !ImageOfIcon(icon, image))
        return FALSE;
    const std::string native = NativePath(path);
    std::string old, file;
    if (!ReadWholeFile(native, old, platform::kMaxPictureFileBytes)) {
        if (errno != ENOENT)
            return FALSE; // a file that cannot be read, or is refused, is left as it is
        old.clear();      // a missing file gets its first image
    }
    // A file that is no .ico, or one whose directory lies, is left as it is.
    if (!AppendImage(old, image.entry, image.bytes, file))
        return FALSE;
    return WriteFileAtomically(native, file) ? TRUE : FALSE;
}
