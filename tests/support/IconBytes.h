#pragma once

// Icon, cursor and animated cursor bytes written the way the file formats
// lay them out, for tests that feed them to the icon calls: DIB images of
// any depth with their AND mask, .ico/.cur directories, icon groups and
// RIFF "ACON" files.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace iconbytes {

inline void PutU16(std::string& out, unsigned value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

inline void PutU32(std::string& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// A picture: colours 0xAARRGGBB and mask bits (1 = the screen shows), rows
// top-down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> colour;
    std::vector<uint8_t> mask;

    uint32_t& At(int x, int y) { return colour[size_t(y) * size_t(width) + size_t(x)]; }
    uint8_t& MaskAt(int x, int y) { return mask[size_t(y) * size_t(width) + size_t(x)]; }
};

inline Picture MakePicture(int width, int height, uint32_t fill = 0, uint8_t mask = 0) {
    Picture p;
    p.width = width;
    p.height = height;
    p.colour.assign(size_t(width) * size_t(height), fill);
    p.mask.assign(p.colour.size(), mask);
    return p;
}

// A BITMAPINFOHEADER image (height doubled), its colour table (built from
// the picture's colours for 1, 4 and 8 bits), the XOR bits and the AND
// mask. 16 bits are 5-5-5.
inline std::string DibImage(const Picture& p, int bitCount, bool withMask = true) {
    std::vector<uint32_t> palette;
    std::map<uint32_t, unsigned> index;
    if (bitCount <= 8) {
        for (uint32_t c : p.colour)
            if (!index.count(c & 0xFFFFFF)) {
                index[c & 0xFFFFFF] = unsigned(palette.size());
                palette.push_back(c & 0xFFFFFF);
            }
        palette.resize(size_t(1) << bitCount, 0);
    }
    std::string out;
    PutU32(out, 40);
    PutU32(out, uint32_t(p.width));
    PutU32(out, uint32_t(p.height * 2));
    PutU16(out, 1);
    PutU16(out, unsigned(bitCount));
    for (int i = 0; i < 6; ++i)
        PutU32(out, 0);
    for (uint32_t c : palette)
        PutU32(out, c);
    const size_t stride = (size_t(p.width) * size_t(bitCount) + 31) / 32 * 4;
    for (int y = p.height - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < p.width; ++x) {
            const uint32_t c = p.colour[size_t(y) * size_t(p.width) + size_t(x)];
            auto put = [&](size_t at, unsigned value) { row[at] = char(value); };
            if (bitCount <= 8) {
                const unsigned v = index[c & 0xFFFFFF];
                const size_t bit = size_t(x) * size_t(bitCount);
                row[bit / 8] = char(uint8_t(row[bit / 8]) | (v << (8 - bitCount - bit % 8)));
            } else if (bitCount == 16) {
                const unsigned v = ((c >> 19 & 31) << 10) | ((c >> 11 & 31) << 5) | (c >> 3 & 31);
                put(size_t(x) * 2, v & 0xFF);
                put(size_t(x) * 2 + 1, v >> 8);
            } else {
                const size_t bytes = size_t(bitCount / 8);
                for (size_t b = 0; b < bytes; ++b)
                    put(size_t(x) * bytes + b, (c >> (8 * b)) & 0xFF);
            }
        }
        out += row;
    }
    if (withMask) {
        const size_t maskStride = (size_t(p.width) + 31) / 32 * 4;
        for (int y = p.height - 1; y >= 0; --y) {
            std::string row(maskStride, '\0');
            for (int x = 0; x < p.width; ++x)
                if (p.mask[size_t(y) * size_t(p.width) + size_t(x)])
                    row[size_t(x) / 8] = char(uint8_t(row[size_t(x) / 8]) | (0x80 >> (x % 8)));
            out += row;
        }
    }
    return out;
}

struct Entry {
    int width, height, bitCount;
    std::string image;
    int hotX = 0, hotY = 0; // cursors
};

// A whole .ico (type 1) or .cur (type 2) file.
inline std::string IconFile(const std::vector<Entry>& entries, int type = 1) {
    std::string out;
    PutU16(out, 0);
    PutU16(out, unsigned(type));
    PutU16(out, unsigned(entries.size()));
    uint32_t offset = uint32_t(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        out += char(e.width >= 256 ? 0 : e.width);
        out += char(e.height >= 256 ? 0 : e.height);
        out += char(e.bitCount < 8 ? 1 << e.bitCount : 0);
        out += char(0);
        PutU16(out, type == 2 ? unsigned(e.hotX) : 1);
        PutU16(out, type == 2 ? unsigned(e.hotY) : unsigned(e.bitCount));
        PutU32(out, uint32_t(e.image.size()));
        PutU32(out, offset);
        offset += uint32_t(e.image.size());
    }
    for (const Entry& e : entries)
        out += e.image;
    return out;
}

inline std::string Chunk(const std::string& id, const std::string& data) {
    std::string out = id;
    PutU32(out, uint32_t(data.size()));
    out += data;
    if (data.size() % 2)
        out += '\0';
    return out;
}

// A RIFF "ACON" file: frames (whole .cur files), rates and sequence (either
// may be empty to leave its chunk out).
inline std::string AniFile(const std::vector<std::string>& frames,
                           const std::vector<uint32_t>& rates,
                           const std::vector<uint32_t>& sequence, uint32_t defaultRate = 10) {
    std::string header;
    const uint32_t steps = uint32_t(sequence.empty() ? frames.size() : sequence.size());
    for (uint32_t v : {36u, uint32_t(frames.size()), steps, 0u, 0u, 0u, 0u, defaultRate,
                       sequence.empty() ? 1u : 3u})
        PutU32(header, v);
    std::string body = "ACON" + Chunk("anih", header);
    if (!rates.empty()) {
        std::string table;
        for (uint32_t r : rates)
            PutU32(table, r);
        body += Chunk("rate", table);
    }
    if (!sequence.empty()) {
        std::string table;
        for (uint32_t s : sequence)
            PutU32(table, s);
        body += Chunk("seq ", table);
    }
    std::string list = "fram";
    for (const std::string& f : frames)
        list += Chunk("icon", f);
    body += Chunk("LIST", list);
    return Chunk("RIFF", body);
}

} // namespace iconbytes
