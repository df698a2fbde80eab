// The GIF block parser and its LZW decoder.

#include "sprite/GifImage.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

// Reads bytes and bounds every read by the end of the data.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Byte(BYTE& value) {
        if (m_pos >= m_size)
            return false;
        value = m_data[m_pos++];
        return true;
    }
    bool Bytes(BYTE* out, size_t count) {
        if (m_size - m_pos < count)
            return false;
        if (count > 0) // an empty table or block has no storage to copy into
            memcpy(out, m_data + m_pos, count);
        m_pos += count;
        return true;
    }
    // Data sub-blocks up to the zero-length terminator, appended to out (when
    // given); false when the data ends first.
    bool SubBlocks(std::vector<BYTE>* out) {
        for (;;) {
            BYTE length;
            if (!Byte(length))
                return false;
            if (length == 0)
                return true;
            if (m_size - m_pos < length)
                return false;
            if (out)
                out->insert(out->end(), m_data + m_pos, m_data + m_pos + length);
            m_pos += length;
        }
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

WORD Word(const BYTE* p) {
    return WORD(p[0] | p[1] << 8);
}

// A colour table of 2^(bits + 1) RGB triples as RGBQUAD entries.
bool ReadColorTable(ByteReader& in, int bits, std::vector<RGBQUAD>& table) {
    const int count = 1 << (bits + 1);
    std::vector<BYTE> rgb(size_t(count) * 3);
    if (!in.Bytes(rgb.data(), rgb.size()))
        return false;
    table.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        table[size_t(i)] =
            RGBQUAD{rgb[size_t(i) * 3 + 2], rgb[size_t(i) * 3 + 1], rgb[size_t(i) * 3], 0};
    return true;
}

// Codes least significant bit first from the joined sub-blocks.
class CodeReader {
public:
    explicit CodeReader(const std::vector<BYTE>& data) : m_data(data) {}
    bool Next(int width, int& code) {
        while (m_count < width) {
            if (m_pos >= m_data.size())
                return false;
            m_bits |= uint32_t(m_data[m_pos++]) << m_count;
            m_count += 8;
        }
        code = int(m_bits & ((1u << width) - 1));
        m_bits >>= width;
        m_count -= width;
        return true;
    }

private:
    const std::vector<BYTE>& m_data;
    size_t m_pos = 0;
    uint32_t m_bits = 0;
    int m_count = 0;
};

// The GIF variant of LZW. Output beyond the frame's size is dropped; a code
// the table does not hold yet ends the frame (the rest stays index 0).
void DecodeLzw(const std::vector<BYTE>& data, int minCodeSize, std::vector<BYTE>& out) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::array<int16_t, kMaxCodes> prefix;
    std::array<BYTE, kMaxCodes> suffix;
    std::array<BYTE, kMaxCodes> first; // first byte of each code's string
    std::array<BYTE, kMaxCodes> stack;
    for (int i = 0; i < clear; ++i) {
        prefix[size_t(i)] = -1;
        suffix[size_t(i)] = first[size_t(i)] = BYTE(i);
    }
    int next = clear + 2;
    int width = minCodeSize + 1;
    int previous = -1;
    size_t written = 0;
    CodeReader codes(data);
    int code;
    while (codes.Next(width, code)) {
        if (code == end)
            return;
        if (code == clear) {
            next = clear + 2;
            width = minCodeSize + 1;
            previous = -1;
            continue;
        }
        if (code > next || (code == next && previous < 0) || code >= kMaxCodes)
            return; // not in the table: the stream is broken
        if (previous >= 0 && next < kMaxCodes) {
            prefix[size_t(next)] = int16_t(previous);
            suffix[size_t(next)] = code < next ? first[size_t(code)] : first[size_t(previous)];
            first[size_t(next)] = first[size_t(previous)];
            ++next;
            if (next == (1 << width) && width < kMaxCodeBits)
                ++width;
        }
        // The string comes out last byte first; the chain is bounded by the table.
        int depth = 0;
        for (int walk = code; walk >= 0 && depth < kMaxCodes; walk = prefix[size_t(walk)])
            stack[size_t(depth++)] = suffix[size_t(walk)];
        while (depth > 0 && written < out.size())
            out[written++] = stack[size_t(--depth)];
        previous = code;
    }
}

// Source rows of an interlaced image in the order they fill the picture.
std::vector<int> InterlacedRows(int height) {
    std::vector<int> rows;
    rows.reserve(size_t(height));
    const int starts[4] = {0, 4, 2, 1};
    const int steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int row = starts[pass]; row < height; row += steps[pass])
            rows.push_back(row);
    return rows;
}

} // namespace

// The parse of one GIF file into an image's frames.
class GifParser {
public:
    GifParser(CGifImage& image, const uint8_t* data, size_t size)
        : m_image(image), m_in(data, size) {}

    BOOL Parse() {
        BYTE header[13];
        if (!m_in.Bytes(header, sizeof(header)) || memcmp(header, "GIF", 3) != 0)
            return FALSE;
        m_image.m_nWidth = Word(header + 6);
        m_image.m_nHeight = Word(header + 8);
        if (!CGifImage::ScreenAllowed(m_image.m_nWidth, m_image.m_nHeight))
            return Refuse("its screen is larger than a picture may be");
        const BYTE flags = header[10];
        if (flags & 0x80) {
            m_image.m_nPaletteBits = flags & 7;
            if (!ReadColorTable(m_in, m_image.m_nPaletteBits, m_image.m_globalPalette))
                return FALSE;
            if (header[11] < m_image.m_globalPalette.size()) {
                const RGBQUAD& bg = m_image.m_globalPalette[header[11]];
                m_image.m_background = RGB(bg.rgbRed, bg.rgbGreen, bg.rgbBlue);
            }
        }
        BYTE tag;
        bool fine = true;
        while (fine && m_in.Byte(tag)) {
            if (tag == 0x3B)
                break;
            if (tag == 0x21)
                fine = Extension();
            else if (tag == 0x2C)
                fine = Image();
            // any other byte is passed over
        }
        if (m_failed)
            return FALSE;
        m_image.AdoptFrames(std::move(m_frames));
        return m_image.GetFrameCount() > 0;
    }

private:
    // Every extension is read through its terminator, whatever its label.
    bool Extension() {
        BYTE label;
        if (!m_in.Byte(label))
            return false;
        if (label != 0xF9)
            return m_in.SubBlocks(nullptr);
        BYTE size;
        if (!m_in.Byte(size))
            return false;
        std::vector<BYTE> control(size);
        if (!m_in.Bytes(control.data(), size) || !m_in.SubBlocks(nullptr))
            return false;
        if (size >= 4) {
            m_delay = Word(control.data() + 1);
            m_transparent = (control[0] & 1) ? control[3] : -1;
        }
        return true;
    }

    bool Image() {
        BYTE desc[9];
        if (!m_in.Bytes(desc, sizeof(desc)))
            return false;
        auto frame = std::make_unique<CGifFrame>();
        frame->m_nLeft = Word(desc);
        frame->m_nTop = Word(desc + 2);
        frame->m_nWidth = Word(desc + 4);
        frame->m_nHeight = Word(desc + 6);
        const BYTE packed = desc[8];
        if (packed & 0x80) {
            frame->m_bBorrowedPalette = 0;
            frame->m_nPaletteBits = packed & 7;
            if (!ReadColorTable(m_in, frame->m_nPaletteBits, frame->m_localPalette))
                return false;
        } else {
            frame->m_nPaletteBits = m_image.m_nPaletteBits;
        }
        BYTE minCodeSize;
        std::vector<BYTE> data;
        if (!m_in.Byte(minCodeSize) || !m_in.SubBlocks(&data))
            return false; // the data ends inside the frame: it is not kept
        // The budget counts the rows as they are kept, padded to 32 bits.
        const size_t pixels = size_t(frame->m_nWidth) * frame->m_nHeight;
        m_totalPixels += size_t(frame->Stride()) * frame->m_nHeight;
        if (pixels > CGifImage::kMaxFramePixels)
            return Refuse("a frame is larger than a picture may be");
        if (m_totalPixels > CGifImage::kMaxTotalPixels)
            return Refuse("its frames hold more pixels than an animation may");
        if (m_frames.size() >= CGifImage::kMaxFrames)
            return Refuse("it has more frames than an animation may");
        if (minCodeSize < 1 || minCodeSize > 8)
            return true; // no decodable data: the frame is left out
        std::vector<BYTE> indexes(pixels, 0);
        DecodeLzw(data, minCodeSize, indexes);
        Store(*frame, indexes, (packed & 0x40) != 0);
        frame->m_nDelay = m_delay == 0 ? 5 : m_delay;
        frame->m_nTransparent = m_transparent;
        m_frames.push_back(std::move(frame));
        return true;
    }

    // Rows in picture order, stored bottom-up with padded rows.
    static void Store(CGifFrame& frame, const std::vector<BYTE>& indexes, bool interlaced) {
        const int width = frame.m_nWidth, height = frame.m_nHeight, stride = frame.Stride();
        frame.m_bits.assign(size_t(stride) * size_t(height), 0);
        if (width == 0)
            return;
        const std::vector<int> order = interlaced ? InterlacedRows(height) : std::vector<int>();
        for (int source = 0; source < height; ++source) {
            const int row = interlaced ? order[size_t(source)] : source;
            memcpy(frame.m_bits.data() + size_t(height - 1 - row) * size_t(stride),
                   indexes.data() + size_t(source) * size_t(width), size_t(width));
        }
    }

    CGifImage& m_image;
    ByteReader m_in;
    std::vector<std::unique_ptr<CGifFrame>> m_frames;
    WORD m_delay = 0; // pending graphic-control values
    int m_transparent = -1;
    size_t m_totalPixels = 0;
    bool m_failed = false;

    bool Refuse(const char* why) {
        platform::RefuseInput("GIF animation", why);
        m_failed = true;
        return false;
    }
};

BOOL CGifImage::LoadGif(const uint8_t* data, size_t size) {
    Free();
    if (!data)
        return FALSE;
    GifParser parser(*this, data, size);
    if (!parser.Parse()) {
        Free();
        return FALSE;
    }
    return TRUE;
}
