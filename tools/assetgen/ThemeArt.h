#pragma once

// Drawing pieces of the default theme: state strips of buttons, mask and
// alpha cells derived from a picture drawn on the magenta key and the felt
// of the table (the cards have their own file).

#include "tools/assetgen/Canvas.h"

#include <string>
#include <vector>

namespace theme_art {

constexpr uint32_t kKeyPixel = 0x00FF00FFu;

// The theme's colours: the key, gold trim, wood, cream paper, lacquer red.
const COLORREF kKey = RGB(255, 0, 255);
const COLORREF kGold = RGB(236, 196, 90);
const COLORREF kWood = RGB(110, 60, 28);
const COLORREF kCream = RGB(255, 244, 210);
const COLORREF kLacquer = RGB(170, 32, 30);

// Writes the picture as folder/name (a 24-bit BMP).
bool SaveIn(const std::string& folder, const std::string& name,
            const platform::PixelImage& picture);

// Cells of equal height side by side.
platform::PixelImage Strip(const std::vector<platform::PixelImage>& cells);
// A picture drawn on the key: its mask (white where the key is, black
// elsewhere), its alpha (the opposite) and the picture with the key blackened.
platform::PixelImage MaskOf(const platform::PixelImage& picture);
platform::PixelImage AlphaOf(const platform::PixelImage& picture);
platform::PixelImage KeyBlackened(const platform::PixelImage& picture);
// The picture with its key turned into the page it is copied onto: for the
// skinned dialogs' buttons, which draw their frames without a key.
platform::PixelImage KeyOnPage(const platform::PixelImage& picture, COLORREF page);
// The picture beside its alpha: the "half-and-half" form of panes and marks.
platform::PixelImage WithAlphaHalf(const platform::PixelImage& picture);
// The picture beside its mask, the picture's key blackened.
platform::PixelImage WithMaskHalf(const platform::PixelImage& picture);

// Lights the rows of every pixel that is not the key: brighter at the top,
// darker at the bottom, as a raised face.
void ShadeRaised(Canvas& canvas, int left, int width, int strength);

enum class ButtonState { Normal, Hover, Down, Disabled };
struct ButtonLook {
    COLORREF face;
    COLORREF text;
    int corner;
};
// One state of a rounded caption button on the key.
platform::PixelImage ButtonCell(int w, int h, const char* caption, ButtonState state,
                                const ButtonLook& look, int textHeight);
// The four states in one picture each.
std::vector<platform::PixelImage> ButtonStates(int w, int h, const char* caption,
                                               const ButtonLook& look, int textHeight);

// The felt of the table: green cloth with a lighter centre and a gold ring.
platform::PixelImage Felt(int w, int h);

// A picture copied onto a canvas at (x, y).
void Paste(Canvas& canvas, const platform::PixelImage& picture, int x, int y);

} // namespace theme_art
