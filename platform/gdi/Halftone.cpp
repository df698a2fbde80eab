// HALFTONE stretching: each destination pixel is the average of the source
// pixels its box covers (at least one), channel by channel.

#include "platform/gdi/Raster.h"

#include <algorithm>

namespace platform {
namespace {

struct Box {
    int from;
    int to; // exclusive
};

// The source box of each destination pixel in [from, to) of the destCount
// starting at destStart, clipped to [0, limit).
std::vector<Box> BoxesForAxis(int64_t destStart, int64_t destCount, int from, int to,
                              int64_t srcStart, int64_t srcCount, bool mirror, int limit) {
    std::vector<Box> boxes;
    for (int d = from; d < to; ++d) {
        int64_t i = d - destStart;
        int64_t k = mirror ? destCount - 1 - i : i;
        int64_t first = (k * srcCount) / destCount;
        int64_t last = std::max(((k + 1) * srcCount + destCount - 1) / destCount, first + 1);
        boxes.push_back(Box{int(std::clamp<int64_t>(srcStart + first, 0, limit)),
                            int(std::clamp<int64_t>(srcStart + last, 0, limit))});
    }
    return boxes;
}

// Exact x / d for x below 2^24 by a multiply (d below 65536, so channel sums
// of a box stay in range); far cheaper than four divisions a pixel.
struct Reciprocal {
    uint64_t multiplier = 0;
    int shift = 0;
    explicit Reciprocal(uint32_t d) {
        int l = 0;
        while ((uint32_t(1) << l) < d)
            ++l;
        shift = 24 + l;
        multiplier = ((uint64_t(1) << shift) + d - 1) / d;
    }
    uint32_t Divide(uint32_t x) const { return uint32_t((x * multiplier) >> shift); }
};

// Restricts [first, last) to the pixels whose box is not empty (a run, as boxes
// move monotonically).
void KeepFilled(const std::vector<Box>& boxes, int& first, int& last) {
    first = 0;
    last = int(boxes.size());
    while (first < last && boxes[size_t(first)].from >= boxes[size_t(first)].to)
        ++first;
    while (last > first && boxes[size_t(last - 1)].from >= boxes[size_t(last - 1)].to)
        --last;
}

} // namespace

void HalftoneStretch(DeviceContext& dst, const RECT& target, const Surface& src,
                     const SourceConversion& conv, const RECT& source, bool mirrorX, bool mirrorY,
                     DWORD rop) {
    int64_t dw = int64_t(target.right) - target.left, dh = int64_t(target.bottom) - target.top;
    int64_t sw = int64_t(source.right) - source.left, sh = int64_t(source.bottom) - source.top;
    Surface& dSurface = dst.TargetOrDummy();
    // Only the part on the destination surface is worked out.
    RECT visible{std::max<int>(target.left, 0), std::max<int>(target.top, 0),
                 std::min<int>(target.right, dSurface.Width()),
                 std::min<int>(target.bottom, dSurface.Height())};
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || visible.left >= visible.right ||
        visible.top >= visible.bottom)
        return;
    std::vector<Box> xBoxes = BoxesForAxis(target.left, dw, visible.left, visible.right,
                                           source.left, sw, mirrorX, src.Width());
    std::vector<Box> yBoxes = BoxesForAxis(target.top, dh, visible.top, visible.bottom, source.top,
                                           sh, mirrorY, src.Height());
    int x0, x1, y0, y1;
    KeepFilled(xBoxes, x0, x1);
    KeepFilled(yBoxes, y0, y1);
    RECT drawn{visible.left + x0, visible.top + y0, visible.left + x1, visible.top + y1};

    uint32_t pattern = PatternPixel(dSurface, dst.BrushPixel());
    bool needOld = RopUsesDest(rop);
    DestRow dest(dSurface);
    std::vector<Reciprocal> reciprocals; // by box area
    auto reciprocal = [&](uint32_t area) -> const Reciprocal& {
        while (reciprocals.size() <= area)
            reciprocals.emplace_back(uint32_t(std::max<size_t>(reciprocals.size(), 1)));
        return reciprocals[area];
    };
    std::vector<const uint32_t*> lines;
    std::vector<uint32_t> converted;
    ForEachClipRect(dst, drawn, [&](const RECT& r) {
        int n = r.right - r.left;
        const Box* cols = xBoxes.data() + (r.left - visible.left);
        int minX = std::min(cols[0].from, cols[n - 1].from);
        int maxX = std::max(cols[0].to, cols[n - 1].to);
        int span = maxX - minX;
        uint32_t* averaged = ScratchRow(0, size_t(n));
        for (int row = r.top; row < r.bottom; ++row) {
            // The source rows of this destination row, each starting at minX.
            const Box& rows = yBoxes[size_t(row - visible.top)];
            int height = rows.to - rows.from;
            lines.resize(size_t(height));
            if (conv.mode != SourceConversion::Mode::None)
                converted.resize(size_t(height) * size_t(span));
            for (int k = 0; k < height; ++k)
                lines[size_t(k)] = SourceRow(src, conv, minX, rows.from + k, span,
                                             converted.data() + size_t(k) * size_t(span));
            for (int i = 0; i < n; ++i) {
                uint32_t b = 0, g = 0, red = 0, a = 0;
                for (const uint32_t* line : lines)
                    for (int sx = cols[i].from; sx < cols[i].to; ++sx) {
                        uint32_t p = line[sx - minX];
                        b += p & 0xFF;
                        g += (p >> 8) & 0xFF;
                        red += (p >> 16) & 0xFF;
                        a += p >> 24;
                    }
                uint32_t count = uint32_t(cols[i].to - cols[i].from) * uint32_t(height);
                if (count < 65536) {
                    const Reciprocal& rc = reciprocal(count);
                    averaged[i] = rc.Divide(b) | rc.Divide(g) << 8 | rc.Divide(red) << 16 |
                                  rc.Divide(a) << 24;
                } else {
                    averaged[i] =
                        b / count | (g / count) << 8 | (red / count) << 16 | (a / count) << 24;
                }
            }
            ApplyRop(rop, dest.Begin(r.left, row, n, needOld), averaged, pattern, n);
            dest.Commit();
        }
    });
}

} // namespace platform
