// Opening a GIF picture and walking its blocks: the header and global
// palette, the extensions (graphic control, comment, plain text,
// application) and the image descriptors whose data the LZW routine reads.

#include "kngif/GifDecoderState.h"

#include "kngif/GifPalettes.h"
#include "platform/system/HFile.h"

#include <cstring>
#include <memory>
#include <new>

using namespace kngif;

namespace {

constexpr int kHeaderSize = 13;    // signature and logical screen descriptor
constexpr int kDescriptorSize = 7; // the logical screen descriptor alone
constexpr int kNoDelayMs = 50;     // what a frame without a delay shows for

bool SignatureIsGif(const BYTE* p) {
    return p[0] == 'G' && p[1] == 'I' && p[2] == 'F' && p[3] == '8' &&
           (p[4] == '7' || p[4] == '9') && p[5] == 'a';
}

int Word(const BYTE* p) {
    return p[0] | p[1] << 8;
}

// Reads the logical screen descriptor; returns the global palette's size in bytes.
size_t ReadScreenDescriptor(KNGIF89& gif, const BYTE* d) {
    gif.screenWidth = WORD(Word(d));
    gif.screenHeight = WORD(Word(d + 2));
    const BYTE packed = d[4];
    gif.backgroundIndex = d[5];
    gif.hasGlobalPalette = (packed & 0x80) ? 1 : 0;
    gif.colorResolution = BYTE(((packed & 0x70) >> 4) + 1);
    gif.sortFlag = (packed & 0x08) ? 1 : 0;
    gif.globalEntries = gif.hasGlobalPalette ? 2 << (packed & 7) : 0;
    return size_t(gif.globalEntries) * 3;
}

void SetGlobalPalette(KNGIF89& gif, const BYTE* triples) {
    gif.globalPalette.assign(triples, triples + gif.globalEntries * 3);
    if (gif.backgroundIndex < gif.globalEntries) {
        const BYTE* c = &gif.globalPalette[size_t(gif.backgroundIndex) * 3];
        gif.backgroundColor = PALETTERGB(c[0], c[1], c[2]);
    }
}

// Frees what the current frame still holds and clears its fields.
void ClearFrame(KNGIF89& gif) {
    GifFrameState& f = gif.frame;
    if (f.bitmap)
        DeleteObject(f.bitmap);
    if (f.palette)
        DeleteObject(f.palette);
    f = GifFrameState();
}

bool ReadBytes(KNGIF89& gif, BYTE* out, size_t count) {
    if (gif.data.size() - gif.position < count) {
        gif.position = gif.data.size();
        return false;
    }
    std::memcpy(out, &gif.data[gif.position], count);
    gif.position += count;
    return true;
}

enum class Step { Continue, Image, End, Fail };

// The graphic control block sets the next image's transparency, disposal
// and delay; the other extensions are skipped.
Step ReadExtension(KNGIF89& gif) {
    const int label = ReadByte(gif);
    switch (label) {
    case 0xF9: {
        BYTE block[6]; // size, packed, delay (2), transparent index, terminator
        if (!ReadBytes(gif, block, 1))
            return Step::End;
        if (block[0] != 4)
            return Step::Fail;
        if (!ReadBytes(gif, block + 1, 5))
            return Step::End;
        gif.frame.transparent = block[1] & 1;
        gif.frame.disposal = (block[1] >> 2) & 7;
        gif.frame.delay = Word(block + 2) * 10;
        gif.frame.transparentIndex = block[4];
        return Step::Continue;
    }
    case 0xFE:
        return SkipSubBlocks(gif) ? Step::Continue : Step::End;
    case 0x01:
    case 0xFF: {
        // Plain text: block size and 12 header bytes; application: block
        // size, identifier and authentication code. Then sub-blocks.
        BYTE header[13];
        if (!ReadBytes(gif, header, label == 0x01 ? 13 : 12))
            return Step::End;
        return SkipSubBlocks(gif) ? Step::Continue : Step::End;
    }
    case -1:
        return Step::End;
    default:
        return Step::Fail;
    }
}

// The image descriptor, local palette and pixels; the frame's pixels are
// left in gif.frame.
int ReadImage(KNGIF89& gif) {
    GifFrameState& f = gif.frame;
    BYTE d[9];
    if (!ReadBytes(gif, d, sizeof d))
        return 2;
    f.left = Word(d);
    f.top = Word(d + 2);
    f.width = Word(d + 4);
    f.height = Word(d + 6);
    const BYTE packed = d[8];
    f.interlaced = (packed & 0x40) ? TRUE : FALSE;
    f.stride = f.width > 0 ? ((f.width - 1) | 3) + 1 : 0;
    if (packed & 0x80) {
        const int entries = 2 << (packed & 7);
        BYTE triples[256 * 3];
        if (!ReadBytes(gif, triples, size_t(entries) * 3))
            return 2;
        f.palette = CreatePaletteFromTriples(triples, entries);
        f.paletteEntries = f.palette ? entries : 0;
    }
    const long long pixels = (long long)f.stride * f.height;
    if (pixels == 0 || pixels > kMaxGifFramePixels) {
        // An empty frame's data is skipped; so is a huge one's, which is
        // refused without allocating anything.
        const bool skipped = ReadByte(gif) >= 0 && SkipSubBlocks(gif);
        if (pixels == 0)
            return skipped ? 1 : 2;
        platform::RefuseInput("GIF frame", "larger than a picture may be");
        return 0;
    }
    try {
        f.pixels.assign(size_t(pixels), 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    const int result = DecodeLzw(gif);
    if (result != GIF_LZW_DONE || gif.lzw.badCodes > 0)
        return 0;
    // Whatever follows the end code in the image's sub-blocks is skipped.
    if (!gif.lzw.terminated && gif.lzw.blockLeft <= int(gif.data.size() - gif.position)) {
        gif.position += size_t(gif.lzw.blockLeft);
        gif.lzw.blockLeft = 0;
        SkipSubBlocks(gif);
    }
    if (gif.position < gif.data.size() && gif.data[gif.position] == 0x3B)
        ++gif.position;
    return 1;
}

// Steps 1 to 4 of reading a frame: 1 with the frame's pixels (or an empty
// frame) in gif.frame, 2 at the end, 0 for a broken frame.
int ReadFrame(KNGIF89& gif) {
    if (gif.position >= gif.data.size())
        return 2;
    ClearFrame(gif);
    for (;;) {
        const int introducer = ReadByte(gif);
        if (introducer == 0x21) {
            const Step step = ReadExtension(gif);
            if (step == Step::Fail) {
                ClearFrame(gif);
                return 0;
            }
            if (step == Step::End)
                return 2;
            continue;
        }
        if (introducer != 0x2C)
            return 2;
        const int result = ReadImage(gif);
        if (result != 1) {
            ClearFrame(gif);
            return result;
        }
        if (gif.frame.delay == 0)
            gif.frame.delay = kNoDelayMs;
        return 1;
    }
}

HKNGIF NewHandle() {
    return new (std::nothrow) KNGIF89();
}

} // namespace

HKNGIF GifOpenMemory(const BYTE* data, DWORD size, BOOL withSignature) {
    const DWORD header = withSignature ? kHeaderSize : kDescriptorSize;
    if (!data || size < header)
        return nullptr;
    if (withSignature && !SignatureIsGif(data))
        return nullptr;
    std::unique_ptr<KNGIF89> gif(NewHandle());
    if (!gif)
        return nullptr;
    const size_t paletteBytes = ReadScreenDescriptor(*gif, data + header - kDescriptorSize);
    if (size - header < paletteBytes)
        return nullptr;
    SetGlobalPalette(*gif, data + header);
    try {
        gif->data.assign(data + header + paletteBytes, data + size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return gif.release();
}

HKNGIF GifOpenFile(LPCSTR path) {
    if (!path)
        return nullptr;
    OFSTRUCT record;
    const HFILE file = OpenFile(path, &record, OF_READ | OF_SHARE_DENY_WRITE);
    if (file == HFILE_ERROR)
        return nullptr;
    std::unique_ptr<KNGIF89> gif;
    const LONG size = _llseek(file, 0, FILE_END);
    BYTE header[kHeaderSize];
    if (size > 0 && size_t(size) > platform::kMaxPictureFileBytes)
        platform::RefuseInput("GIF file",
                              std::string(path) + " is larger than a picture file may be");
    else if (size >= kHeaderSize && _llseek(file, 0, FILE_BEGIN) == 0 &&
             _lread(file, header, kHeaderSize) == kHeaderSize && SignatureIsGif(header))
        gif.reset(NewHandle());
    if (gif) {
        const size_t paletteBytes = ReadScreenDescriptor(*gif, header + 6);
        BYTE palette[256 * 3];
        // The rest of the file after the header and palette; none is fine,
        // a file too short for its palette is not.
        const long long rest = (long long)size - kHeaderSize - (long long)paletteBytes;
        if (rest < 0 || _lread(file, palette, UINT(paletteBytes)) != paletteBytes) {
            gif.reset();
        } else {
            SetGlobalPalette(*gif, palette);
            try {
                gif->data.resize(size_t(rest));
            } catch (const std::bad_alloc&) {
                gif.reset();
            }
            if (gif && rest > 0 && _lread(file, gif->data.data(), UINT(rest)) != UINT(rest))
                gif.reset();
        }
    }
    _lclose(file);
    return gif.release();
}

void GifClose(HKNGIF gif) {
    if (!gif)
        return;
    ClearFrame(*gif);
    delete gif;
}

int GifGetScreenInfo(HKNGIF gif, int* width, int* height, COLORREF* background) {
    if (!gif || gif->data.empty())
        return 0;
    if (width)
        *width = gif->screenWidth;
    if (height)
        *height = gif->screenHeight;
    if (background)
        *background = gif->backgroundColor;
    return 1;
}

int GifGetGlobalPaletteInfo(HKNGIF gif, int* backgroundIndex) {
    if (!gif)
        return 0;
    if (backgroundIndex)
        *backgroundIndex = gif->backgroundIndex;
    return gif->globalEntries;
}

int GifCopyGlobalPalette(HKNGIF gif, BYTE* buffer, int bufferSize) {
    if (!gif || !buffer || bufferSize < 0 || size_t(bufferSize) < gif->globalPalette.size())
        return 0;
    if (!gif->globalPalette.empty())
        std::memcpy(buffer, gif->globalPalette.data(), gif->globalPalette.size());
    return 1;
}

int GifGetNextFrame(HKNGIF gif, int* left, int* top, int* width, int* height, HBITMAP* bitmap,
                    BOOL* transparent, COLORREF* transparentColor, HPALETTE* palette, int* disposal,
                    int* delay) {
    if (!gif || !left || !top || !width || !height || !bitmap || !transparent ||
        !transparentColor || !palette || !disposal || !delay)
        return 0;
    const int result = ReadFrame(*gif);
    if (result != 1)
        return result;
    GifFrameState& f = gif->frame;
    GiveFramePalette(*gif);
    if (!f.pixels.empty()) {
        f.bitmap = GifCreateFrameBitmap(gif);
        if (!f.bitmap) {
            ClearFrame(*gif);
            return 0;
        }
        f.pixels.clear();
        f.pixels.shrink_to_fit();
    }
    *left = f.left;
    *top = f.top;
    *width = f.width;
    *height = f.height;
    *transparent = f.transparent;
    *transparentColor = TransparentColorOf(f);
    *disposal = f.disposal;
    *delay = f.delay;
    // The caller owns them from here.
    *bitmap = f.bitmap;
    *palette = f.palette;
    f.bitmap = nullptr;
    f.palette = nullptr;
    return 1;
}

GifFrameRecord* GifGetNextFrameRecord(HKNGIF gif) {
    if (!gif || ReadFrame(*gif) != 1)
        return nullptr;
    GifFrameState& f = gif->frame;
    auto* record = new (std::nothrow) GifFrameRecord();
    BYTE* pixels = nullptr;
    if (record && !f.pixels.empty()) {
        pixels = new (std::nothrow) BYTE[f.pixels.size()];
        if (pixels)
            std::memcpy(pixels, f.pixels.data(), f.pixels.size());
    }
    if (!record || (!pixels && !f.pixels.empty())) {
        delete record;
        ClearFrame(*gif);
        return nullptr;
    }
    record->size = sizeof(GifFrameRecord);
    record->left = DWORD(f.left);
    record->top = DWORD(f.top);
    record->width = DWORD(f.width);
    record->height = DWORD(f.height);
    record->stride = DWORD(f.stride);
    record->transparent = DWORD(f.transparent);
    record->transparentIndex = DWORD(f.transparentIndex);
    record->delay = DWORD(f.delay);
    record->disposal = DWORD(f.disposal);
    record->pixelSize = DWORD(f.pixels.size());
    record->paletteEntries = DWORD(f.paletteEntries);
    record->palette = f.palette;
    record->pixels = pixels;
    f.palette = nullptr;
    f.pixels.clear();
    return record;
}

void GifFreeFrameRecord(GifFrameRecord* record) {
    if (!record)
        return;
    if (record->palette)
        DeleteObject(record->palette);
    delete[] record->pixels;
    delete record;
}

void GifRewind(HKNGIF gif) {
    if (!gif)
        return;
    ClearFrame(*gif);
    gif->position = 0;
}
