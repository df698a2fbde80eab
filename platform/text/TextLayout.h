#pragma once

// How DrawText breaks, marks and shortens text, apart from any DC: the lines
// it draws for a text, a width and the format flags.

#include "platform/Types.h"
#include "platform/text/GlyphPainter.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct LaidOutLine {
    std::string text; // the bytes drawn: '&' prefixes removed, "..." added
    int width = 0;
    long underlinedChar = -1; // byte offset in text of the '&'-prefixed character
};

struct TextLayout {
    std::vector<LaidOutLine> lines;
    LineStyle style;
    int widest = 0;
};

// Word breaks fall at spaces (which are then dropped) and next to double-byte
// characters. A word wider than the width stays whole, except with
// DT_EDITCONTROL, which breaks it between characters.
TextLayout LayOutText(FontInstance& font, std::string_view text, int width, UINT format);

} // namespace platform
