#pragma once

// Measuring and painting one line of GBK text with a font instance. Both walk
// the text a character at a time (a double-byte character is one step), so
// a width, a fit count and the painted pixels always agree.

#include "platform/CodePage.h"
#include "platform/gdi/Surface.h"
#include "platform/text/FontEngine.h"

#include <string_view>
#include <vector>

namespace platform {

// Tabs advance to the next multiple of tabWidth from the line's start; with a
// tabWidth of 0 a tab is as wide as a space. Carriage returns and line feeds
// take no room and draw nothing.
struct LineStyle {
    int tabWidth = 0;
};

struct PlacedChar {
    char32_t code;
    size_t offset; // byte offset in the text
    int bytes;
    int x; // pen position from the line's start
    int advance;
};

// Calls visit(const PlacedChar&) for each character; returns the line's width.
template <class Visit>
int WalkLine(FontInstance& font, std::string_view text, const LineStyle& style, Visit&& visit);

int LineWidth(FontInstance& font, std::string_view text, const LineStyle& style = {});

// How many bytes from the start fit in maxWidth (whole characters only), and
// optionally each character's end position (one entry per byte, as Windows
// fills the partial-extent array, the trail byte of a double-byte character
// repeating its lead's).
int FitBytes(FontInstance& font, std::string_view text, int maxWidth,
             std::vector<int>* ends = nullptr);

struct TextInk {
    uint32_t color = 0;      // pixel
    bool opaque = false;     // fill the text's cell box first
    uint32_t background = 0; // pixel
    bool underline = false;
    bool strikeout = false;
    long underlinedChar = -1; // byte offset of one character to underline (the '&' prefix)
};

// Paints the line with its cell's top-left at surface pixel (x, y), only
// inside the clip rectangles (surface pixels) and, when given, inside limit.
void PaintLine(Surface& surface, const std::vector<RECT>& clip, const RECT* limit,
               FontInstance& font, std::string_view text, int x, int y, const TextInk& ink,
               const LineStyle& style = {});

} // namespace platform

template <class Visit>
int platform::WalkLine(FontInstance& font, std::string_view text, const LineStyle& style,
                       Visit&& visit) {
    int x = 0;
    for (size_t i = 0; i < text.size();) {
        int bytes = 1;
        char32_t code = DecodeGbkChar(text, i, &bytes);
        int advance = 0;
        if (code == U'\t') {
            int space = font.Advance(U' ');
            advance = style.tabWidth > 0 ? style.tabWidth - x % style.tabWidth : space;
        } else if (code != U'\r' && code != U'\n') {
            advance = font.Advance(code);
        }
        visit(PlacedChar{code, i, bytes, x, advance});
        x += advance;
        i += size_t(bytes);
    }
    return x;
}
