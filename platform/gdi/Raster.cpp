#include "platform/gdi/Raster.h"

#include "platform/gdi/Simd.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// Four pixels at a time, then the rest; separate loops with and without a
// source. The operations are generic, so they run on vectors and on words.
template <class Op> void Run(uint32_t* d, const uint32_t* s, int n, Op op) {
    using simd::Load;
    using simd::Pixels;
    int i = 0;
    if (s) {
        for (; i + simd::kLanes <= n; i += simd::kLanes)
            simd::Store(d + i, op(Load(s + i), Load(d + i)));
        for (; i < n; ++i)
            d[i] = op(s[i], d[i]);
    } else {
        for (; i + simd::kLanes <= n; i += simd::kLanes)
            simd::Store(d + i, op(Pixels{}, Load(d + i)));
        for (; i < n; ++i)
            d[i] = op(0u, d[i]);
    }
}

// Any of the 256 operations, minterm by minterm.
void GenericRop(BYTE f, uint32_t* d, const uint32_t* s, uint32_t p, int n) {
    for (int i = 0; i < n; ++i) {
        uint32_t src = s ? s[i] : 0u, dst = d[i], out = 0;
        for (int m = 0; m < 8; ++m) {
            if (!((f >> m) & 1))
                continue;
            uint32_t term = ((m & 4) ? p : ~p) & ((m & 2) ? src : ~src) & ((m & 1) ? dst : ~dst);
            out |= term;
        }
        d[i] = out;
    }
}

} // namespace

void ApplyRop(DWORD rop, uint32_t* d, const uint32_t* s, uint32_t p, int n) {
    switch (rop) {
    case SRCCOPY:
        std::memcpy(d, s, size_t(n) * 4); // overlapping blits copy their source first
        return;
    case SRCAND:
        return Run(d, s, n, [](auto a, auto b) { return a & b; });
    case SRCPAINT:
        return Run(d, s, n, [](auto a, auto b) { return a | b; });
    case SRCINVERT:
        return Run(d, s, n, [](auto a, auto b) { return a ^ b; });
    case SRCERASE:
        return Run(d, s, n, [](auto a, auto b) { return a & ~b; });
    case NOTSRCCOPY:
        return Run(d, s, n, [](auto a, auto) { return ~a; });
    case NOTSRCERASE:
        return Run(d, s, n, [](auto a, auto b) { return ~(a | b); });
    case MERGEPAINT:
        return Run(d, s, n, [](auto a, auto b) { return ~a | b; });
    case MERGECOPY:
        return Run(d, s, n, [p](auto a, auto) { return a & p; });
    case PATCOPY:
        std::fill(d, d + n, p);
        return;
    case PATINVERT:
        return Run(d, nullptr, n, [p](auto, auto b) { return b ^ p; });
    case DSTINVERT:
        return Run(d, nullptr, n, [](auto, auto b) { return ~b; });
    case BLACKNESS:
        std::fill(d, d + n, 0u);
        return;
    case WHITENESS:
        std::fill(d, d + n, kWhitePixel);
        return;
    default:
        GenericRop(BYTE(rop >> 16), d, s, p, n);
    }
}

SourceConversion ConversionFor(const Surface& src, COLORREF srcBkColor, const Surface& dst,
                               const DcState& dstState) {
    SourceConversion c;
    if (dst.IsMonochrome() && !src.IsMonochrome()) {
        c.mode = SourceConversion::Mode::ToMono;
        c.key = PixelFromColor(srcBkColor);
    } else if (src.IsMonochrome() && !dst.IsMonochrome()) {
        c.mode = SourceConversion::Mode::MonoToColor;
        c.one = PixelFromColor(dstState.bkColor);
        c.zero = PixelFromColor(dstState.textColor);
    } else if (!src.IsXrgb32()) {
        c.mode = SourceConversion::Mode::Unpack;
    }
    return c;
}

const uint32_t* ConvertedSourceRow(const Surface& src, const SourceConversion& conv, int x, int y,
                                   int n, uint32_t* out) {
    switch (conv.mode) {
    case SourceConversion::Mode::None:
        return src.Row32(y) + x;
    case SourceConversion::Mode::Unpack:
        src.ReadRow(x, y, n, out);
        return out;
    case SourceConversion::Mode::MonoToColor: {
        const uint8_t* row = src.RowBytesAt(y);
        for (int i = 0; i < n; ++i) {
            int px = x + i;
            out[i] = ((row[px >> 3] >> (7 - (px & 7))) & 1) ? conv.one : conv.zero;
        }
        return out;
    }
    case SourceConversion::Mode::ToMono:
        src.ReadRow(x, y, n, out);
        for (int i = 0; i < n; ++i)
            out[i] = (out[i] & kRgbMask) == conv.key ? kWhitePixel : 0u;
        return out;
    }
    return out;
}

uint32_t PatternPixel(const Surface& dst, uint32_t brushPixel) {
    if (dst.IsMonochrome())
        return IsLightPixel(brushPixel) ? kWhitePixel : 0u;
    return brushPixel & kRgbMask;
}

uint32_t* ScratchRow(int which, size_t n) {
    thread_local std::vector<uint32_t> rows[3];
    std::vector<uint32_t>& row = rows[which];
    if (row.size() < n)
        row.resize(n);
    return row.data();
}

uint32_t* DestRow::BeginConverted(int x, int y, int n, bool needOld) {
    m_x = x;
    m_y = y;
    m_n = n;
    m_row = ScratchRow(2, size_t(n));
    if (needOld)
        m_surface.ReadRow(x, y, n, m_row);
    return m_row;
}

std::unique_ptr<Surface> CopyOfRect(const Surface& s, const RECT& r) {
    int n = r.right - r.left;
    auto copy = std::make_unique<Surface>(n, r.bottom - r.top, s.Format());
    uint32_t* row = ScratchRow(1, size_t(n));
    for (int y = r.top; y < r.bottom; ++y) {
        s.ReadRow(r.left, y, n, row);
        copy->WriteRow(0, y - r.top, n, row);
    }
    return copy;
}

void FillSurfaceRect(Surface& surface, const RECT& r, DWORD rop, uint32_t pattern) {
    DestRow dest(surface);
    int n = r.right - r.left;
    bool needOld = rop != PATCOPY && rop != BLACKNESS && rop != WHITENESS;
    for (int y = r.top; y < r.bottom; ++y) {
        uint32_t* row = dest.Begin(r.left, y, n, needOld);
        ApplyRop(rop, row, nullptr, pattern, n);
        dest.Commit();
    }
}

} // namespace platform
