// The LZW decoding of one image's data: variable-length codes, least
// significant bit first, from the data's sub-blocks, unwound through the
// prefix and suffix tables into lines that go to their rows (the four passes
// of an interlaced image).

#include "kngif/GifDecoderState.h"

#include <cstring>
#include <new>

namespace kngif {
namespace {

constexpr int kPassStart[4] = {0, 4, 2, 1};
constexpr int kPassStep[4] = {8, 8, 4, 2};

// A line goes to its row while rows are left; a short line (the data ended
// inside it) is dropped.
void OutputLine(GifFrameState& f, const BYTE* line) {
    int row;
    if (!f.interlaced) {
        if (f.outputRow >= f.height)
            return;
        row = f.outputRow++;
    } else {
        if (f.pass > 3)
            return;
        row = f.passRow;
        f.passRow += kPassStep[f.pass];
        while (f.pass <= 3 && f.passRow >= f.height)
            if (++f.pass <= 3)
                f.passRow = kPassStart[f.pass];
    }
    std::memcpy(&f.pixels[size_t(row) * size_t(f.stride)], line, size_t(f.width));
    ++f.linesStored;
}

// Codes from the sub-blocks of the image data.
class CodeReader {
public:
    explicit CodeReader(KNGIF89& gif) : m_gif(gif), m_lzw(gif.lzw) {}

    // The next code of the given width, or -1 when the data ends first.
    int Next(int width) {
        while (m_count < width) {
            const int byte = NextByte();
            if (byte < 0)
                return -1;
            m_bits |= uint32_t(byte) << m_count;
            m_count += 8;
        }
        const int code = int(m_bits & ((1u << width) - 1));
        m_bits >>= width;
        m_count -= width;
        return code;
    }

private:
    int NextByte() {
        if (m_lzw.blockLeft == 0) {
            if (m_lzw.terminated)
                return -1;
            const int length = ReadByte(m_gif);
            if (length <= 0) {
                m_lzw.terminated = length == 0;
                return -1;
            }
            m_lzw.blockLeft = length;
        }
        const int byte = ReadByte(m_gif);
        if (byte < 0)
            return -1;
        --m_lzw.blockLeft;
        return byte;
    }

    KNGIF89& m_gif;
    GifLzwState& m_lzw;
    uint32_t m_bits = 0;
    int m_count = 0;
};

} // namespace

int DecodeLzw(KNGIF89& gif) {
    GifLzwState& z = gif.lzw;
    GifFrameState& f = gif.frame;
    z.badCodes = 0;
    z.blockLeft = 0;
    z.terminated = false;
    const int minimum = ReadByte(gif);
    if (minimum < 0)
        return GIF_LZW_DONE;
    if (minimum < 2 || minimum > 9)
        return GIF_LZW_BAD_CODE_SIZE;
    z.clearCode = 1 << minimum;
    z.endCode = z.clearCode + 1;
    z.firstFree = z.clearCode + 2;
    z.codeSize = minimum + 1;
    z.codeLimit = 1 << z.codeSize;
    z.nextFree = z.firstFree;
    BYTE* line = new (std::nothrow) BYTE[size_t(f.width) + 1];
    if (!line)
        return GIF_LZW_NO_MEMORY;
    f.outputRow = f.pass = f.passRow = f.linesStored = 0;

    WORD* prefix = z.tables.prefix;
    BYTE* suffix = z.tables.suffix;
    BYTE* stack = z.tables.stack;
    CodeReader reader(gif);
    const int width = f.width;
    int lineLength = 0;
    bool afterClear = true; // the first code also starts a fresh table
    int previous = 0, firstByte = 0;
    while (f.linesStored < f.height) {
        int code = reader.Next(z.codeSize);
        if (code < 0 || code == z.endCode)
            break;
        if (code == z.clearCode) {
            z.codeSize = minimum + 1;
            z.codeLimit = 1 << z.codeSize;
            z.nextFree = z.firstFree;
            afterClear = true;
            continue;
        }
        int sp = 0;
        if (afterClear) {
            if (code >= z.nextFree)
                code = 0;
            afterClear = false;
            previous = firstByte = code;
            stack[sp++] = BYTE(code);
        } else {
            const int incoming = code;
            if (code >= z.nextFree) {
                if (code > z.nextFree) {
                    // Nothing sound can follow a code the table never held.
                    ++z.badCodes;
                    break;
                }
                stack[sp++] = BYTE(firstByte);
                code = previous;
            }
            while (code >= z.clearCode && sp < int(sizeof z.tables.stack) - 1) {
                stack[sp++] = suffix[code];
                code = prefix[code];
            }
            if (code >= z.clearCode) { // a chain that never ends: a broken table
                ++z.badCodes;
                break;
            }
            stack[sp++] = BYTE(code);
            firstByte = code;
            if (z.nextFree < z.codeLimit) {
                prefix[z.nextFree] = WORD(previous);
                suffix[z.nextFree] = BYTE(firstByte);
                if (++z.nextFree == z.codeLimit && z.codeSize < 12) {
                    ++z.codeSize;
                    z.codeLimit <<= 1;
                }
            }
            previous = incoming;
        }
        while (sp > 0) {
            line[lineLength++] = stack[--sp];
            if (lineLength == width) {
                OutputLine(f, line);
                lineLength = 0;
            }
        }
    }
    delete[] line;
    return GIF_LZW_DONE;
}

bool SkipSubBlocks(KNGIF89& gif) {
    for (;;) {
        const int length = ReadByte(gif);
        if (length < 0)
            return false;
        if (length == 0)
            return true;
        if (gif.data.size() - gif.position < size_t(length)) {
            gif.position = gif.data.size();
            return false;
        }
        gif.position += size_t(length);
    }
}

} // namespace kngif
