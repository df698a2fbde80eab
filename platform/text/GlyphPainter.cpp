#include "platform/text/GlyphPainter.h"

#include "platform/Geometry.h"

#include <algorithm>

namespace platform {
namespace {

uint32_t Mix(uint32_t under, uint32_t over, unsigned coverage) {
    if (coverage >= 255)
        return over;
    unsigned keep = 255 - coverage;
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        unsigned u = under >> shift & 0xFF, o = over >> shift & 0xFF;
        out |= ((o * coverage + u * keep + 127) / 255) << shift;
    }
    return out;
}

// Colours n pixels from (x, y), each by its coverage (null: all full). Text
// leaves a pixel's top byte 0, as GDI text does on a 32-bit bitmap.
void BlendSpan(Surface& surface, int x, int y, int n, const uint8_t* coverage, uint32_t color) {
    if (n <= 0)
        return;
    auto blend = [&](uint32_t* pixels) {
        for (int i = 0; i < n; ++i) {
            unsigned c = coverage ? coverage[i] : 255;
            if (c != 0)
                pixels[i] = Mix(pixels[i] & kRgbMask, color, c);
        }
    };
    if (surface.IsXrgb32()) {
        blend(surface.Row32(y) + x);
        return;
    }
    std::vector<uint32_t> row(size_t(n), 0);
    surface.ReadRow(x, y, n, row.data());
    blend(row.data());
    surface.WriteRow(x, y, n, row.data());
}

void FillBox(Surface& surface, const std::vector<RECT>& areas, RECT box, uint32_t color) {
    for (const RECT& area : areas) {
        RECT part;
        if (!IntersectRect(&part, &box, &area))
            continue;
        for (int y = part.top; y < part.bottom; ++y)
            BlendSpan(surface, part.left, y, part.right - part.left, nullptr, color);
    }
}

void PaintGlyph(Surface& surface, const std::vector<RECT>& areas, const GlyphImage& glyph, int left,
                int top, const RECT& cell, uint32_t color) {
    RECT box{left, top, left + glyph.width, top + glyph.height};
    RECT inCell;
    if (!IntersectRect(&inCell, &box, &cell))
        return;
    for (const RECT& area : areas) {
        RECT part;
        if (!IntersectRect(&part, &inCell, &area))
            continue;
        for (int y = part.top; y < part.bottom; ++y) {
            const uint8_t* coverage =
                &glyph.coverage[size_t(y - top) * size_t(glyph.width) + size_t(part.left - left)];
            BlendSpan(surface, part.left, y, part.right - part.left, coverage, color);
        }
    }
}

} // namespace

int LineWidth(FontInstance& font, std::string_view text, const LineStyle& style) {
    return WalkLine(font, text, style, [](const PlacedChar&) {});
}

int FitBytes(FontInstance& font, std::string_view text, int maxWidth, std::vector<int>* ends) {
    int fit = 0;
    bool full = false;
    if (ends)
        ends->clear();
    WalkLine(font, text, LineStyle{}, [&](const PlacedChar& c) {
        int end = c.x + c.advance;
        if (!full && end <= maxWidth)
            fit = int(c.offset) + c.bytes;
        else
            full = true;
        if (ends)
            ends->insert(ends->end(), size_t(c.bytes), end);
    });
    return fit;
}

void PaintLine(Surface& surface, const std::vector<RECT>& clip, const RECT* limit,
               FontInstance& font, std::string_view text, int x, int y, const TextInk& ink,
               const LineStyle& style) {
    const FontMetrics& m = font.Metrics();
    std::vector<RECT> areas;
    areas.reserve(clip.size());
    for (const RECT& r : clip) {
        RECT part = r;
        if (!limit || IntersectRect(&part, &r, limit))
            areas.push_back(part);
    }
    if (areas.empty())
        return;
    int width = LineWidth(font, text, style);
    RECT cell{x, y, x + width, y + m.height};
    if (ink.opaque)
        FillBox(surface, areas, cell, ink.background);

    int baseline = y + m.ascent;
    auto line = [&](int from, int to, int rowBelowBaseline, int thickness) {
        RECT bar{x + from, baseline + rowBelowBaseline, x + to,
                 baseline + rowBelowBaseline + thickness};
        RECT inCell;
        if (IntersectRect(&inCell, &bar, &cell))
            FillBox(surface, areas, inCell, ink.color);
    };
    WalkLine(font, text, style, [&](const PlacedChar& c) {
        if (c.advance > 0 && c.code != U' ' && c.code != U'\t') {
            const GlyphImage& glyph = font.Glyph(c.code);
            PaintGlyph(surface, areas, glyph, x + c.x + glyph.left, baseline - glyph.top, cell,
                       ink.color);
        }
        if (long(c.offset) == ink.underlinedChar)
            line(c.x, c.x + c.advance, m.underlinePosition, m.underlineThickness);
    });
    if (ink.underline)
        line(0, width, m.underlinePosition, m.underlineThickness);
    if (ink.strikeout)
        line(0, width, -m.strikeoutPosition, m.strikeoutThickness);
}

} // namespace platform
