// DIB sections, packed DIBs and .bmp files.

#include "knclientUI05/DibCheck.h"
#include "knclientUI05/KnClientPublic.h"
#include "knclientUI05/PictureDecoding.h"

#include "knclientbase05/KNpubSystem.h"
#include "platform/resources/Resource.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Path.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// The header CreateDibSection makes: 40 bytes, then the colour entries.
std::vector<BYTE> SectionHeader(int width, int height, int bitCount, int entries) {
    std::vector<BYTE> block(sizeof(BITMAPINFOHEADER) + 4 * size_t(entries), 0);
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = -height;
    h->biPlanes = 1;
    h->biBitCount = WORD(bitCount);
    h->biCompression = bitCount == 16 ? BI_BITFIELDS : BI_RGB;
    h->biSizeImage = DWORD(DibRowLength(width, bitCount) * size_t(height < 0 ? -height : height));
    h->biClrUsed = DWORD(entries);
    DWORD* table = reinterpret_cast<DWORD*>(block.data() + sizeof(BITMAPINFOHEADER));
    if (bitCount <= 8) {
        // The stock palette's colours first (blue, green, red, 0), zeros after.
        PALETTEENTRY stock[256];
        UINT n = GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0,
                                   UINT(entries), stock);
        for (UINT i = 0; i < n; ++i)
            table[i] =
                DWORD(stock[i].peBlue) | DWORD(stock[i].peGreen) << 8 | DWORD(stock[i].peRed) << 16;
    }
    if (bitCount == 16) {
        table[0] = 0xF800;
        table[1] = 0x07E0;
        table[2] = 0x001F;
    }
    return block;
}

const char kGif7[] = "GIF87a";
const char kGif9[] = "GIF89a";

} // namespace

WORD GetDibColorCount(const void* header) {
    if (!header)
        return 0;
    const BYTE* bytes = static_cast<const BYTE*>(header);
    DWORD size;
    std::memcpy(&size, bytes, 4);
    WORD bits;
    if (size == 12) {
        std::memcpy(&bits, bytes + 10, 2);
    } else {
        const auto* h = static_cast<const BITMAPINFOHEADER*>(header);
        if (h->biClrUsed != 0)
            return WORD(h->biClrUsed);
        bits = h->biBitCount;
    }
    switch (bits) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

DWORD GetDibColorTableSize(const void* header) {
    if (!header)
        return 0;
    DWORD size;
    std::memcpy(&size, header, 4);
    return GetDibColorCount(header) * (size == 12 ? 3u : 4u);
}

HBITMAP CreateDibSection(int width, int height, int bitCount, void** bits) {
    // Two bits a pixel is no depth a DIB section can have on a desktop.
    int entries;
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
        entries = 1 << bitCount;
        break;
    case 16:
        entries = 3;
        break;
    case 24:
    case 32:
        entries = 0;
        break;
    default:
        return nullptr;
    }
    if (width <= 0 || DibRowLength(width, bitCount) == 0)
        return nullptr;
    std::vector<BYTE> header = SectionHeader(width, height, bitCount, entries);
    HDC screen = GetDC(nullptr);
    if (!screen)
        return nullptr;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(header.data());
    void* own = nullptr;
    HBITMAP section =
        CreateDIBSection(screen, info, DIB_RGB_COLORS, bits ? bits : &own, nullptr, 0);
    if (section && !bits && own)
        std::memset(own, 0, info->bmiHeader.biSizeImage);
    ReleaseDC(nullptr, screen);
    return section;
}

HBITMAP CreateDibSectionOfDepth(int width, int height, int bitCount, void** bits) {
    return CreateDibSection(width, height, bitCount, bits);
}

HGLOBAL CreateDibFromBitmap(HBITMAP bitmap, DWORD compression, HPALETTE palette) {
    BITMAP bm;
    if (!bitmap || compression == BI_BITFIELDS || !GetObject(bitmap, sizeof bm, &bm))
        return nullptr;
    int bitCount = bm.bmPlanes * bm.bmBitsPixel;
    int entries = bitCount <= 8 ? 1 << bitCount : 0;
    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 4 * size_t(entries), 0);
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    BITMAPINFOHEADER& h = info->bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = bm.bmWidth;
    h.biHeight = bm.bmHeight;
    h.biPlanes = 1;
    h.biBitCount = WORD(bitCount);
    h.biCompression = compression;

    HDC screen = GetDC(nullptr);
    if (!screen)
        return nullptr;
    HPALETTE oldPalette = ::SelectPalette(
        screen, palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    RealizePalette(screen);
    HGLOBAL dib = nullptr;
    // The header and table are completed first so the block can be sized
    // for the bits in one allocation.
    if (GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), nullptr, info, DIB_RGB_COLORS)) {
        if (h.biSizeImage == 0) {
            h.biSizeImage = DWORD(((DWORD(h.biWidth) * h.biBitCount + 31) & ~31u) / 8 *
                                  DWORD(h.biHeight < 0 ? -h.biHeight : h.biHeight));
            if (compression != BI_RGB)
                h.biSizeImage = h.biSizeImage * 3 / 2;
        }
        dib = GlobalAlloc(GMEM_FIXED, header.size() + h.biSizeImage);
        BYTE* block = dib ? static_cast<BYTE*>(GlobalLock(dib)) : nullptr;
        bool read = false;
        if (block) {
            std::memcpy(block, header.data(), header.size());
            read = GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), block + header.size(),
                             reinterpret_cast<BITMAPINFO*>(block), DIB_RGB_COLORS) != 0;
            GlobalUnlock(dib);
        }
        if (!read && dib) {
            GlobalFree(dib);
            dib = nullptr;
        }
    }
    if (oldPalette)
        ::SelectPalette(screen, oldPalette, FALSE);
    ReleaseDC(nullptr, screen);
    return dib;
}

int SaveDibToFile(LPCSTR path, HGLOBAL dib) {
    if (!path || !dib)
        return 0;
    SIZE_T blockSize = GlobalSize(dib);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    if (!block)
        return 0;
    DWORD headerSize = 0;
    if (blockSize >= 4)
        std::memcpy(&headerSize, block, 4);
    // A block too small for the header its first field claims is no DIB.
    bool valid = headerSize >= 12 && headerSize <= blockSize;
    std::string file;
    if (valid) {
        BITMAPFILEHEADER fileHeader{};
        fileHeader.bfType = 'B' | ('M' << 8);
        fileHeader.bfSize = DWORD(blockSize + sizeof fileHeader);
        fileHeader.bfOffBits =
            headerSize + (GetDibColorTableSize(block) & 0xFFFF) + DWORD(sizeof fileHeader);
        file.assign(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
        file.append(reinterpret_cast<const char*>(block), blockSize);
    }
    GlobalUnlock(dib);
    // A file that could not be written whole is a failure, not a saved picture.
    return valid && WriteFileAtomically(NativePath(path), file) ? 1 : 0;
}

void FreeDib(HGLOBAL dib) {
    if (dib)
        GlobalFree(dib);
}

HBITMAP CreateBitmapFromBmpData(const BYTE* data, int size) {
    if (!data || size < 6)
        return nullptr;
    if (std::memcmp(data, kGif7, 6) == 0 || std::memcmp(data, kGif9, 6) == 0)
        return nullptr;
    if (std::memcmp(data + 1, "PNG\r\n", 5) == 0 || data[0] != 'B' || data[1] != 'M')
        return nullptr;
    BITMAPFILEHEADER fileHeader;
    if (size_t(size) < sizeof fileHeader)
        return nullptr;
    std::memcpy(&fileHeader, data, sizeof fileHeader);
    CheckedDib dib;
    if (fileHeader.bfSize != DWORD(size) || !CheckBmpFile(data, size_t(size), dib))
        return nullptr;
    HDC screen = GetWindowDC(nullptr);
    if (!screen)
        return nullptr;
    void* bits = nullptr;
    if (!dib.runLength) {
        HBITMAP section = CreateDIBSection(screen, dib.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
        if (section && bits)
            std::memcpy(bits, dib.bits, dib.bitsSize);
        ReleaseDC(nullptr, screen);
        return section;
    }
    // A section's rows are plain: the platform expands the run lengths into
    // one of the same depth.
    std::vector<BYTE> plain = dib.info;
    auto& header = *reinterpret_cast<BITMAPINFOHEADER*>(plain.data());
    header.biCompression = BI_RGB;
    header.biSizeImage = DWORD(DibRowLength(header.biWidth, header.biBitCount) * header.biHeight);
    HBITMAP section = CreateDIBSection(screen, reinterpret_cast<const BITMAPINFO*>(plain.data()),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section && SetDIBits(screen, section, 0, UINT(header.biHeight), dib.bits, dib.Info(),
                             DIB_RGB_COLORS) == 0) {
        DebugTrace("DIB refused: its run lengths do not decode");
        DeleteObject(section);
        section = nullptr;
    }
    ReleaseDC(nullptr, screen);
    return section;
}

HBITMAP DecodeFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language,
                             HBITMAP (*decode)(const BYTE* data, int size)) {
    if (module) {
        HRSRC resource = FindResourceEx(module, type, name, language);
        if (!resource)
            return nullptr;
        DWORD size = SizeofResource(module, resource);
        HGLOBAL data = LoadResource(module, resource);
        const BYTE* bytes = static_cast<const BYTE*>(LockResource(data));
        HBITMAP bitmap = bytes && size <= 0x7FFFFFFF ? decode(bytes, int(size)) : nullptr;
        FreeResource(data);
        return bitmap;
    }
    std::string bytes;
    if (!name || !ReadWholeFile(NativePath(name), bytes, platform::kMaxPictureFileBytes))
        return nullptr;
    return decode(reinterpret_cast<const BYTE*>(bytes.data()), int(bytes.size()));
}

HBITMAP LoadBmpFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language) {
    return DecodeFileOrResource(module, name, type, language, CreateBitmapFromBmpData);
}
