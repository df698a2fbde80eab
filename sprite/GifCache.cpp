// The GIF frame cache: the decoded frames as one little-endian file beside
// the GIF. Every length in it is checked against what remains of the file and
// against the frame's geometry, so a damaged cache is refused, never overrun.

#include "sprite/GifImage.h"

#include <cstring>

namespace {

constexpr size_t kHeaderFixed = 13; // exponent, background, width, height, entry count
constexpr size_t kRecordFixed = 25; // the frame record's fields after its length
constexpr uint32_t kMaxPaletteEntries = 256;

class CacheReader {
public:
    CacheReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    size_t Remaining() const { return m_size - m_pos; }
    size_t Pos() const { return m_pos; }
    bool Skip(size_t count) {
        if (Remaining() < count)
            return false;
        m_pos += count;
        return true;
    }
    template <typename T> bool Read(T& value) {
        if (Remaining() < sizeof(T))
            return false;
        uint64_t v = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            v |= uint64_t(m_data[m_pos + i]) << (8 * i);
        m_pos += sizeof(T);
        value = T(v);
        return true;
    }
    bool Bytes(void* out, size_t count) {
        if (Remaining() < count)
            return false;
        if (count > 0) // an empty palette has no storage to copy into
            memcpy(out, m_data + m_pos, count);
        m_pos += count;
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

class CacheWriter {
public:
    template <typename T> void Put(T value) {
        for (size_t i = 0; i < sizeof(T); ++i)
            m_bytes.push_back(char(uint64_t(value) >> (8 * i) & 0xFF));
    }
    void Bytes(const void* data, size_t count) {
        if (count > 0)
            m_bytes.append(static_cast<const char*>(data), count);
    }
    // Fills in a length field written earlier as a placeholder.
    void PatchLength(size_t at) {
        const uint32_t length = uint32_t(m_bytes.size() - at - 4);
        for (size_t i = 0; i < 4; ++i)
            m_bytes[at + i] = char(length >> (8 * i) & 0xFF);
    }
    size_t Size() const { return m_bytes.size(); }
    std::string& Result() { return m_bytes; }

private:
    std::string m_bytes;
};

bool ReadPalette(CacheReader& in, uint32_t bytes, std::vector<RGBQUAD>& palette) {
    palette.resize(bytes / 4);
    return in.Bytes(palette.data(), bytes);
}

} // namespace

class GifCacheReader {
public:
    static BOOL Read(CGifImage& image, const uint8_t* data, size_t size) {
        CacheReader in(data, size);
        uint32_t headerLength, entries;
        BYTE bits;
        uint32_t background;
        if (!in.Read(headerLength) || headerLength > in.Remaining() || headerLength < kHeaderFixed)
            return FALSE;
        const size_t headerEnd = in.Pos() + headerLength;
        if (!in.Read(bits) || bits > 7 || !in.Read(background) || !in.Read(image.m_nWidth) ||
            !in.Read(image.m_nHeight) || !in.Read(entries) || entries > kMaxPaletteEntries ||
            size_t(entries) * 4 > headerEnd - in.Pos())
            return FALSE;
        if (!CGifImage::ScreenAllowed(image.m_nWidth, image.m_nHeight))
            return FALSE;
        image.m_nPaletteBits = bits;
        image.m_background = background;
        if (!ReadPalette(in, entries * 4, image.m_globalPalette) || !in.Skip(headerEnd - in.Pos()))
            return FALSE;
        uint32_t count;
        if (!in.Read(count) || count > in.Remaining() / (kRecordFixed + 4) ||
            count > CGifImage::kMaxFrames)
            return FALSE;
        std::vector<std::unique_ptr<CGifFrame>> frames;
        size_t totalPixels = 0;
        for (uint32_t i = 0; i < count; ++i) {
            auto frame = std::make_unique<CGifFrame>();
            if (!Frame(in, *frame, totalPixels))
                return FALSE;
            frames.push_back(std::move(frame));
        }
        image.AdoptFrames(std::move(frames));
        return TRUE;
    }

private:
    static bool Frame(CacheReader& in, CGifFrame& frame, size_t& totalPixels) {
        uint32_t length, bitsBytes, paletteBytes;
        int16_t transparent;
        BYTE paletteBits;
        if (!in.Read(length) || length > in.Remaining() || length < kRecordFixed)
            return false;
        const size_t recordEnd = in.Pos() + length;
        if (!in.Read(frame.m_nDelay) || !in.Read(frame.m_nLeft) || !in.Read(frame.m_nTop) ||
            !in.Read(frame.m_nWidth) || !in.Read(frame.m_nHeight) ||
            !in.Read(frame.m_bBorrowedPalette) || !in.Read(transparent) || !in.Read(paletteBits) ||
            !in.Read(bitsBytes) || !in.Read(paletteBytes))
            return false;
        const size_t pixels = size_t(frame.m_nWidth) * frame.m_nHeight;
        const size_t needed = size_t(frame.Stride()) * frame.m_nHeight;
        totalPixels += needed;
        if (transparent < -1 || transparent > 255 || paletteBits > 7 ||
            (frame.m_bBorrowedPalette != 0 && frame.m_bBorrowedPalette != 1) ||
            pixels > CGifImage::kMaxFramePixels || totalPixels > CGifImage::kMaxTotalPixels ||
            bitsBytes < needed || paletteBytes > kMaxPaletteEntries * 4 || paletteBytes % 4 != 0 ||
            size_t(bitsBytes) + paletteBytes > recordEnd - in.Pos())
            return false;
        frame.m_nTransparent = transparent;
        frame.m_nPaletteBits = paletteBits;
        frame.m_bits.resize(needed);
        if (!in.Bytes(frame.m_bits.data(), needed) || !in.Skip(bitsBytes - needed))
            return false;
        if (frame.m_bBorrowedPalette)
            return in.Skip(paletteBytes) && in.Skip(recordEnd - in.Pos());
        return ReadPalette(in, paletteBytes, frame.m_localPalette) && in.Skip(recordEnd - in.Pos());
    }
};

BOOL CGifImage::LoadCache(const uint8_t* data, size_t size) {
    Free();
    if (!data || !GifCacheReader::Read(*this, data, size)) {
        Free();
        return FALSE;
    }
    return TRUE;
}

std::string CGifImage::SaveCache() const {
    CacheWriter out;
    out.Put(uint32_t(kHeaderFixed + m_globalPalette.size() * 4));
    out.Put(BYTE(m_nPaletteBits));
    out.Put(uint32_t(m_background));
    out.Put(m_nWidth);
    out.Put(m_nHeight);
    out.Put(uint32_t(m_globalPalette.size()));
    out.Bytes(m_globalPalette.data(), m_globalPalette.size() * 4);
    out.Put(uint32_t(m_frames.size()));
    for (const auto& frame : m_frames) {
        const size_t lengthAt = out.Size();
        out.Put(uint32_t(0));
        out.Put(frame->m_nDelay);
        out.Put(frame->m_nLeft);
        out.Put(frame->m_nTop);
        out.Put(frame->m_nWidth);
        out.Put(frame->m_nHeight);
        out.Put(int32_t(frame->m_bBorrowedPalette));
        out.Put(int16_t(frame->m_nTransparent));
        out.Put(BYTE(frame->m_nPaletteBits));
        const size_t paletteBytes =
            frame->m_bBorrowedPalette ? 0 : frame->m_localPalette.size() * 4;
        out.Put(uint32_t(frame->m_bits.size()));
        out.Put(uint32_t(paletteBytes));
        out.Bytes(frame->m_bits.data(), frame->m_bits.size());
        out.Bytes(frame->m_localPalette.data(), paletteBytes);
        out.PatchLength(lengthAt);
    }
    return std::move(out.Result());
}
