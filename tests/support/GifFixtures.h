#pragma once

// GIF files built in memory for the tests: a real LZW compressor (codes grow
// and the table is cleared as encoders do), a literal-only coder that lets the
// table fill up without a clear, and a block writer for frames, colour tables,
// graphic control blocks and other extensions.

#include "platform/Types.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace gif_fixture {

class BitWriter {
public:
    void Put(int code, int width) {
        m_bits |= uint32_t(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_bytes.push_back(BYTE(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    std::vector<BYTE> Finish() {
        if (m_count > 0)
            m_bytes.push_back(BYTE(m_bits & 0xFF));
        m_count = 0;
        m_bits = 0;
        return m_bytes;
    }

private:
    std::vector<BYTE> m_bytes;
    uint32_t m_bits = 0;
    int m_count = 0;
};

// LZW as GIF encoders write it.
inline std::vector<BYTE> Compress(const std::vector<BYTE>& pixels, int minCodeSize) {
    const int clear = 1 << minCodeSize, end = clear + 1;
    int next = clear + 2, width = minCodeSize + 1;
    std::map<std::pair<int, int>, int> table;
    BitWriter out;
    out.Put(clear, width);
    if (pixels.empty()) {
        out.Put(end, width);
        return out.Finish();
    }
    int current = pixels[0];
    for (size_t i = 1; i < pixels.size(); ++i) {
        const auto key = std::make_pair(current, int(pixels[i]));
        if (auto found = table.find(key); found != table.end()) {
            current = found->second;
            continue;
        }
        out.Put(current, width);
        if (next >= (1 << width) && width < 12)
            ++width;
        if (next >= 4095) {
            out.Put(clear, width);
            table.clear();
            next = clear + 2;
            width = minCodeSize + 1;
        } else {
            table[key] = next++;
        }
        current = pixels[i];
    }
    out.Put(current, width);
    out.Put(end, width);
    return out.Finish();
}

// Every pixel as its own code, with no clear code however full the table gets.
inline std::vector<BYTE> Literals(const std::vector<BYTE>& pixels, int minCodeSize) {
    int next = (1 << minCodeSize) + 2, width = minCodeSize + 1;
    BitWriter out;
    bool first = true;
    for (BYTE pixel : pixels) {
        out.Put(pixel, width);
        if (!first && next < 4096) {
            ++next;
            if (next == (1 << width) && width < 12)
                ++width;
        }
        first = false;
    }
    out.Put((1 << minCodeSize) + 1, width);
    return out.Finish();
}

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<BYTE> pixels; // rows in picture order
    std::vector<COLORREF> localTable;
    bool interlaced = false;
    bool control = true; // write a graphic control block before it
    int delay = 10;
    int disposal = 0;
    int minCodeSize = 8;
    int transparent = -1; // -1: flag bit clear
    BYTE transparentByte = 0;
    std::vector<BYTE> code; // an LZW stream to use instead of compressing
};

// A frame of the given indices at the origin.
inline Frame Picture(int width, int height, std::vector<BYTE> pixels) {
    Frame f;
    f.width = width;
    f.height = height;
    f.pixels = std::move(pixels);
    return f;
}

class Builder {
public:
    Builder(int width, int height, std::vector<COLORREF> globalTable = {}, int background = 0) {
        m_bytes = "GIF89a";
        Word(width);
        Word(height);
        const int bits = TableBits(globalTable.size());
        m_bytes += char(globalTable.empty() ? 0 : 0x80 | bits);
        m_bytes += char(background);
        m_bytes += char(0);
        Table(globalTable, bits);
    }
    Builder& Add(const Frame& f) {
        if (f.control) {
            m_bytes += "\x21\xF9\x04";
            m_bytes += char((f.transparent >= 0 ? 1 : 0) | (f.disposal & 7) << 2);
            Word(f.delay);
            m_bytes += char(f.transparent >= 0 ? f.transparent : f.transparentByte);
            m_bytes += char(0);
        }
        m_bytes += char(0x2C);
        Word(f.left);
        Word(f.top);
        Word(f.width);
        Word(f.height);
        const int bits = TableBits(f.localTable.size());
        m_bytes += char((f.localTable.empty() ? 0 : 0x80 | bits) | (f.interlaced ? 0x40 : 0));
        Table(f.localTable, bits);
        std::vector<BYTE> rows = f.pixels;
        if (f.interlaced) { // written in pass order
            rows.clear();
            const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int r = starts[pass]; r < f.height; r += steps[pass])
                    rows.insert(rows.end(), f.pixels.begin() + r * f.width,
                                f.pixels.begin() + (r + 1) * f.width);
        }
        m_bytes += char(f.minCodeSize);
        Blocks(f.code.empty() ? Compress(rows, f.minCodeSize) : f.code);
        return *this;
    }
    // An extension with the given sub-blocks.
    Builder& Extension(BYTE label, const std::vector<std::string>& blocks) {
        m_bytes += char(0x21);
        m_bytes += char(label);
        for (const std::string& block : blocks) {
            m_bytes += char(block.size());
            m_bytes += block;
        }
        m_bytes += char(0);
        return *this;
    }
    std::string Finish() { return m_bytes + char(0x3B); }

private:
    static int TableBits(size_t entries) {
        int bits = 0;
        while ((size_t(2) << bits) < entries)
            ++bits;
        return bits;
    }
    void Word(int v) {
        m_bytes += char(v & 0xFF);
        m_bytes += char((v >> 8) & 0xFF);
    }
    void Table(const std::vector<COLORREF>& table, int bits) {
        if (table.empty())
            return;
        for (size_t i = 0; i < (size_t(2) << bits); ++i) {
            const COLORREF c = i < table.size() ? table[i] : 0;
            m_bytes += char(c & 0xFF);
            m_bytes += char((c >> 8) & 0xFF);
            m_bytes += char((c >> 16) & 0xFF);
        }
    }
    void Blocks(const std::vector<BYTE>& data) {
        for (size_t at = 0; at < data.size(); at += 255) {
            const size_t n = std::min<size_t>(255, data.size() - at);
            m_bytes += char(n);
            m_bytes.append(reinterpret_cast<const char*>(data.data() + at), n);
        }
        m_bytes += char(0);
    }
    std::string m_bytes;
};

// Pixels from a function of (x, y).
template <typename F> std::vector<BYTE> Pixels(int width, int height, F f) {
    std::vector<BYTE> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(BYTE(f(x, y)));
    return pixels;
}

} // namespace gif_fixture
