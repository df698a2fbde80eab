#include "tools/assetgen/SystemIconArt.h"

#include <cstdlib>

namespace {

constexpr int kIconSize = 32;

// 5 x 7 marks drawn white (or black) on the system icons, two pixels a dot.
const char* const kMarkQuestion[7] = {".###.", "#...#", "....#", "...#.",
                                      "..#..", ".....", "..#.."};
const char* const kMarkExclamation[7] = {"..#..", "..#..", "..#..", "..#..",
                                         "..#..", ".....", "..#.."};
const char* const kMarkInformation[7] = {"..#..", ".....", ".##..", "..#..",
                                         "..#..", "..#..", ".###."};
const char* const kMarkCross[7] = {"#...#", ".#.#.", "..#..", "..#..", "..#..", ".#.#.", "#...#"};

void DrawMark(platform::PixelImage& icon, const char* const mark[7], uint32_t colour, int top) {
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 5; ++column)
            if (mark[row][column] == '#')
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        icon.pixels[size_t(top + row * 2 + dy) * kIconSize +
                                    size_t(11 + column * 2 + dx)] = colour;
}

} // namespace

platform::PixelImage SystemIconPicture(int id) {
    platform::PixelImage icon;
    icon.Reset(kIconSize, kIconSize);
    icon.hasAlpha = true;
    const uint32_t red = 0xFFD02020, blue = 0xFF2050C0, yellow = 0xFFF0C000, white = 0xFFFFFFFF,
                   black = 0xFF000000;
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x) {
            uint32_t& pixel = icon.pixels[size_t(y) * kIconSize + size_t(x)];
            const int dx = 2 * x + 1 - kIconSize, dy = 2 * y + 1 - kIconSize;
            const bool inCircle = dx * dx + dy * dy <= (kIconSize - 2) * (kIconSize - 2);
            switch (id) {
            case 32513:
                pixel = inCircle ? red : 0;
                break;
            case 32514:
            case 32516:
                pixel = inCircle ? blue : 0;
                break;
            case 32515: // a triangle standing on the bottom edge
                pixel = (y >= 2 && y <= 29 && 2 * std::abs(dx) <= (y - 1) * 2) ? yellow : 0;
                break;
            default: // the application: a small window
                pixel = (x >= 3 && x <= 28 && y >= 5 && y <= 26) ? (y <= 9 ? blue : white) : 0;
                if (pixel && (x == 3 || x == 28 || y == 5 || y == 26))
                    pixel = black;
            }
        }
    if (id == 32513)
        DrawMark(icon, kMarkCross, white, 9);
    else if (id == 32514)
        DrawMark(icon, kMarkQuestion, white, 9);
    else if (id == 32515)
        DrawMark(icon, kMarkExclamation, black, 12);
    else if (id == 32516)
        DrawMark(icon, kMarkInformation, white, 9);
    return icon;
}
