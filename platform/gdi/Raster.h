#pragma once

// The pixel engine under the blits: raster operations on rows of XRGB pixels,
// source rows converted for the destination, and a driver that walks the
// destination's clip rectangles once and then runs whole rows.

#include "platform/Geometry.h"
#include "platform/gdi/DeviceContext.h"

#include <vector>

namespace platform {

// Which operands a ternary raster operation reads.
inline bool RopUsesSource(DWORD rop) {
    BYTE f = BYTE(rop >> 16);
    return ((f >> 2) & 0x33) != (f & 0x33);
}
inline bool RopUsesDest(DWORD rop) {
    BYTE f = BYTE(rop >> 16);
    return ((f >> 1) & 0x55) != (f & 0x55);
}
inline bool RopUsesPattern(DWORD rop) {
    BYTE f = BYTE(rop >> 16);
    return ((f >> 4) & 0x0F) != (f & 0x0F);
}

// dst[i] = rop(pattern, src[i], dst[i]) for n pixels; src may be null when the
// operation does not read it. Fills take the alpha byte 0, like any colour.
void ApplyRop(DWORD rop, uint32_t* dst, const uint32_t* src, uint32_t pattern, int n);

// How a source's pixels reach a destination: a monochrome source becomes the
// destination DC's background (1) and text (0) colours; any source drawn on a
// monochrome destination becomes white where it equals the source DC's
// background colour and black elsewhere.
struct SourceConversion {
    enum class Mode { None, Unpack, MonoToColor, ToMono } mode = Mode::None;
    uint32_t one = 0, zero = 0; // MonoToColor
    uint32_t key = 0;           // ToMono
};
SourceConversion ConversionFor(const Surface& src, COLORREF srcBkColor, const Surface& dst,
                               const DcState& dstState);
// n source pixels from (x, y), converted; returns out or a pointer into the source.
const uint32_t* ConvertedSourceRow(const Surface& src, const SourceConversion& conv, int x, int y,
                                   int n, uint32_t* out);
// Inline because blits call it once a row and most rows need no conversion.
inline const uint32_t* SourceRow(const Surface& src, const SourceConversion& conv, int x, int y,
                                 int n, uint32_t* out) {
    if (conv.mode == SourceConversion::Mode::None)
        return src.Row32(y) + x;
    return ConvertedSourceRow(src, conv, x, y, n, out);
}
// The brush colour as the destination sees it.
uint32_t PatternPixel(const Surface& dst, uint32_t brushPixel);

// Per-thread scratch rows, so no blit allocates once warmed up.
uint32_t* ScratchRow(int which, size_t n);

// A destination row to change in place: direct for 32-bit surfaces, else
// unpacked on Begin and packed back on Commit.
class DestRow {
public:
    explicit DestRow(Surface& surface) : m_surface(surface), m_direct(surface.IsXrgb32()) {}
    // Inline for the direct case, which blits meet once a row.
    uint32_t* Begin(int x, int y, int n, bool needOld) {
        return m_direct ? m_surface.Row32(y) + x : BeginConverted(x, y, n, needOld);
    }
    void Commit() {
        if (!m_direct)
            m_surface.WriteRow(m_x, m_y, m_n, m_row);
    }

private:
    uint32_t* BeginConverted(int x, int y, int n, bool needOld);

    Surface& m_surface;
    bool m_direct;
    uint32_t* m_row = nullptr;
    int m_x = 0, m_y = 0, m_n = 0;
};

// Calls f(rect) for each part of target (surface pixels) the DC may draw on.
template <class F> void ForEachClipRect(DeviceContext& dc, const RECT& target, F&& f) {
    if (target.left >= target.right || target.top >= target.bottom)
        return;
    for (const RECT& c : dc.ClipRects()) {
        RECT r{std::max(c.left, target.left), std::max(c.top, target.top),
               std::min(c.right, target.right), std::min(c.bottom, target.bottom)};
        if (r.left < r.right && r.top < r.bottom)
            f(r);
    }
}

// A copy of part of a surface, for blits that read and write one surface.
std::unique_ptr<Surface> CopyOfRect(const Surface& surface, const RECT& rect);

// Fills surface rectangles (already clipped) with a raster operation of a pattern.
void FillSurfaceRect(Surface& surface, const RECT& r, DWORD rop, uint32_t pattern);

// Destination pixels along one axis and the source pixel under each (the one
// under its centre; mirrored when the extents' signs differ). Only destination
// pixels in [0, destLimit) whose source lies in [0, srcLimit) are kept.
struct AxisMap {
    int start = 0;           // first destination pixel
    std::vector<int> source; // source pixel of each destination pixel from start
    int Count() const { return int(source.size()); }
};
AxisMap MapAxis(int dest, int destExtent, int destLimit, int src, int srcExtent, int srcLimit);
// The source pixels of row sy under destination pixels [from, from + n) of xmap.
void GatherRow(const Surface& src, const SourceConversion& conv, const AxisMap& xmap, int from,
               int n, int sy, uint32_t* out);

// The stretch under StretchBlt and StretchDIBits; src coordinates in source
// surface pixels, destination ones logical.
BOOL StretchFromSurface(DeviceContext& dst, int x, int y, int width, int height, const Surface& src,
                        COLORREF srcBkColor, int xSrc, int ySrc, int srcWidth, int srcHeight,
                        DWORD rop);
// The HALFTONE form (box average); same arguments.
void HalftoneStretch(DeviceContext& dst, const RECT& target, const Surface& src,
                     const SourceConversion& conv, const RECT& source, bool mirrorX, bool mirrorY,
                     DWORD rop);

} // namespace platform
