#include "tools/assetgen/ThemeArt.h"

#include <algorithm>
#include <cmath>

namespace theme_art {

using platform::PixelImage;

namespace {

uint32_t Pixel(int r, int g, int b) {
    auto clamp = [](int v) { return uint32_t(std::clamp(v, 0, 255)); };
    return (clamp(r) << 16) | (clamp(g) << 8) | clamp(b);
}

int Red(uint32_t p) {
    return int((p >> 16) & 0xFF);
}
int Green(uint32_t p) {
    return int((p >> 8) & 0xFF);
}
int Blue(uint32_t p) {
    return int(p & 0xFF);
}

COLORREF Scaled(COLORREF c, int percent) {
    auto s = [&](int v) { return std::clamp(v * percent / 100, 0, 255); };
    return RGB(s(GetRValue(c)), s(GetGValue(c)), s(GetBValue(c)));
}

template <typename Rule> PixelImage Mapped(const PixelImage& picture, Rule rule) {
    PixelImage out = picture;
    for (uint32_t& p : out.pixels)
        p = rule(p & 0x00FFFFFFu);
    return out;
}

// A small deterministic noise for the cloth (the same picture on every build).
uint32_t Noise(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 24;
}

const COLORREF kRedSuit = RGB(200, 24, 32);
const COLORREF kBlackSuit = RGB(24, 24, 28);
const char* const kRankNames[13] = {"3",  "4", "5", "6", "7", "8", "9",
                                    "10", "J", "Q", "K", "A", "2"};

} // namespace

bool SaveIn(const std::string& folder, const std::string& name, const PixelImage& picture) {
    return SaveBitmap(picture, folder + "/" + name);
}

PixelImage Strip(const std::vector<PixelImage>& cells) {
    int width = 0;
    const int height = cells.empty() ? 0 : cells.front().height;
    for (const PixelImage& cell : cells)
        width += cell.width;
    PixelImage strip;
    strip.Reset(width, height);
    int left = 0;
    for (const PixelImage& cell : cells) {
        for (int y = 0; y < std::min(height, cell.height); ++y)
            for (int x = 0; x < cell.width; ++x)
                strip.At(left + x, y) = cell.At(x, y);
        left += cell.width;
    }
    return strip;
}

PixelImage MaskOf(const PixelImage& picture) {
    return Mapped(picture, [](uint32_t p) { return p == kKeyPixel ? 0x00FFFFFFu : 0u; });
}

PixelImage AlphaOf(const PixelImage& picture) {
    return Mapped(picture, [](uint32_t p) { return p == kKeyPixel ? 0u : 0x00FFFFFFu; });
}

PixelImage KeyBlackened(const PixelImage& picture) {
    return Mapped(picture, [](uint32_t p) { return p == kKeyPixel ? 0u : p; });
}

PixelImage WithAlphaHalf(const PixelImage& picture) {
    return Strip({KeyBlackened(picture), AlphaOf(picture)});
}

PixelImage WithMaskHalf(const PixelImage& picture) {
    return Strip({KeyBlackened(picture), MaskOf(picture)});
}

void ShadeRaised(Canvas& canvas, int left, int width, int strength) {
    uint32_t* bits = canvas.Bits();
    const int h = canvas.Height();
    for (int y = 0; y < h; ++y) {
        const int shift = strength * (h / 2 - y) / std::max(1, h / 2);
        for (int x = left; x < left + width; ++x) {
            uint32_t& p = bits[y * canvas.Width() + x];
            if ((p & 0x00FFFFFFu) == kKeyPixel)
                continue;
            p = Pixel(Red(p) + shift, Green(p) + shift, Blue(p) + shift);
        }
    }
}

PixelImage ButtonCell(int w, int h, const char* caption, ButtonState state, const ButtonLook& look,
                      int textHeight) {
    Canvas canvas(w, h);
    canvas.Fill(0, 0, w, h, RGB(255, 0, 255));
    COLORREF face = look.face;
    COLORREF text = look.text;
    switch (state) {
    case ButtonState::Hover:
        face = Scaled(face, 125);
        break;
    case ButtonState::Down:
        face = Scaled(face, 75);
        break;
    case ButtonState::Disabled:
        face = RGB(150, 150, 150);
        text = RGB(215, 215, 215);
        break;
    default:
        break;
    }
    const COLORREF rim = state == ButtonState::Hover ? RGB(255, 230, 120) : Scaled(face, 50);
    canvas.RoundBox(0, 0, w, h, look.corner, face, rim);
    ShadeRaised(canvas, 0, w, state == ButtonState::Down ? -18 : 28);
    const int push = state == ButtonState::Down ? 1 : 0;
    if (caption && *caption) {
        RECT shadow{1 + push, 1 + push, w + 1 + push, h + 1 + push};
        canvas.CentredText(shadow, caption, textHeight, RGB(30, 20, 10), 700);
        RECT box{push, push, w + push, h + push};
        canvas.CentredText(box, caption, textHeight, text, 700);
    }
    return canvas.Image();
}

std::vector<PixelImage> ButtonStates(int w, int h, const char* caption, const ButtonLook& look,
                                     int textHeight) {
    return {ButtonCell(w, h, caption, ButtonState::Normal, look, textHeight),
            ButtonCell(w, h, caption, ButtonState::Hover, look, textHeight),
            ButtonCell(w, h, caption, ButtonState::Down, look, textHeight),
            ButtonCell(w, h, caption, ButtonState::Disabled, look, textHeight)};
}

PixelImage Felt(int w, int h) {
    PixelImage felt;
    felt.Reset(w, h);
    uint32_t seed = 20261209u;
    const double cx = w / 2.0, cy = h / 2.0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double dx = (x - cx) / cx, dy = (y - cy) / cy;
            const double d = std::sqrt(dx * dx + dy * dy);
            const int light = int(28 * (1.0 - std::min(1.0, d)));
            const int grain = int(Noise(seed) % 9) - 4;
            felt.At(x, y) =
                Pixel(18 + light / 2 + grain, 96 + light + grain, 52 + light / 2 + grain);
        }
    }
    // A gold ring around the middle of the table, where the cards are played.
    const double rx = w * 0.36, ry = h * 0.30;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double e = std::pow((x - cx) / rx, 2) + std::pow((y - cy) / ry, 2);
            if (std::fabs(e - 1.0) < 0.012)
                felt.At(x, y) = Pixel(176, 150, 70);
            else if (e < 1.0)
                felt.At(x, y) = Pixel(Red(felt.At(x, y)) + 6, Green(felt.At(x, y)) + 10,
                                      Blue(felt.At(x, y)) + 6);
        }
    }
    return felt;
}

void SuitSign(Canvas& canvas, int suit, int cx, int cy, int size) {
    const int r = size / 2;
    const COLORREF colour = (suit == 0 || suit == 2) ? kRedSuit : kBlackSuit;
    switch (suit) {
    case 0: { // diamond
        const POINT points[] = {
            {cx, cy - r}, {cx + r * 3 / 4, cy}, {cx, cy + r}, {cx - r * 3 / 4, cy}};
        canvas.Polygon(points, 4, colour, colour);
        break;
    }
    case 1: { // club: three leaves and a stem
        const int leaf = r * 9 / 10;
        canvas.Oval(cx - leaf / 2, cy - r, cx + leaf / 2, cy - r + leaf, colour, colour);
        canvas.Oval(cx - r, cy - leaf / 3, cx - r + leaf, cy - leaf / 3 + leaf, colour, colour);
        canvas.Oval(cx + r - leaf, cy - leaf / 3, cx + r, cy - leaf / 3 + leaf, colour, colour);
        const POINT stem[] = {{cx, cy}, {cx + r / 3, cy + r}, {cx - r / 3, cy + r}};
        canvas.Polygon(stem, 3, colour, colour);
        break;
    }
    case 2: { // heart
        canvas.Oval(cx - r, cy - r * 3 / 4, cx + 1, cy + r / 4, colour, colour);
        canvas.Oval(cx - 1, cy - r * 3 / 4, cx + r, cy + r / 4, colour, colour);
        const POINT tip[] = {{cx - r, cy - r / 8}, {cx + r, cy - r / 8}, {cx, cy + r}};
        canvas.Polygon(tip, 3, colour, colour);
        break;
    }
    default: { // spade
        const POINT top[] = {{cx, cy - r}, {cx + r, cy + r / 8}, {cx - r, cy + r / 8}};
        canvas.Polygon(top, 3, colour, colour);
        canvas.Oval(cx - r, cy - r / 4, cx + 1, cy + r / 2, colour, colour);
        canvas.Oval(cx - 1, cy - r / 4, cx + r, cy + r / 2, colour, colour);
        const POINT stem[] = {{cx, cy}, {cx + r / 3, cy + r}, {cx - r / 3, cy + r}};
        canvas.Polygon(stem, 3, colour, colour);
        break;
    }
    }
}

namespace {

void CardBlank(Canvas& canvas, COLORREF fill) {
    canvas.Fill(0, 0, canvas.Width(), canvas.Height(), RGB(255, 0, 255));
    canvas.RoundBox(0, 0, canvas.Width(), canvas.Height(), 8, fill, RGB(60, 60, 60));
}

} // namespace

PixelImage CardFace(int w, int h, int suit, int rank) {
    Canvas canvas(w, h);
    CardBlank(canvas, RGB(255, 255, 250));
    const COLORREF colour = (suit == 0 || suit == 2) ? kRedSuit : kBlackSuit;
    const int corner = std::max(11, w / 4);
    // The corner index stays visible when the cards are fanned.
    RECT index{1, 2, corner + 3, 2 + corner};
    canvas.CentredText(index, kRankNames[rank], corner, colour, 700);
    SuitSign(canvas, suit, 2 + corner / 2, 4 + corner + corner / 3, corner * 2 / 3);
    if (rank >= 8 && rank <= 10) { // J, Q, K: a framed court letter
        canvas.Box(corner + 4, h / 5, w - 5, h - 6, RGB(250, 236, 200), colour);
        RECT court{corner + 4, h / 5, w - 5, h - 6};
        canvas.CentredText(court, kRankNames[rank], h / 3, colour, 700);
    } else {
        SuitSign(canvas, suit, w / 2 + corner / 4, h / 2 + h / 12, w / 2);
    }
    return canvas.Image();
}

PixelImage JokerFace(int w, int h, bool big) {
    Canvas canvas(w, h);
    CardBlank(canvas, RGB(255, 255, 250));
    const COLORREF colour = big ? kRedSuit : kBlackSuit;
    const int letter = std::max(10, w / 5);
    const char* const word[] = {"J", "O", "K", "E", "R"};
    for (int i = 0; i < 5; ++i) {
        RECT box{1, 2 + i * letter, letter + 3, 2 + (i + 1) * letter};
        canvas.CentredText(box, word[i], letter, colour, 700);
    }
    canvas.Oval(w / 3, h / 4, w - 6, h / 4 + (w * 2 / 3 - 6), colour, colour);
    RECT name{letter, h * 2 / 3, w, h - 4};
    canvas.CentredText(name, big ? "大王" : "小王", std::max(10, w / 4), colour, 700);
    return canvas.Image();
}

PixelImage CardBack(int w, int h) {
    Canvas canvas(w, h);
    CardBlank(canvas, RGB(250, 250, 250));
    canvas.RoundBox(4, 4, w - 4, h - 4, 6, RGB(150, 30, 36), RGB(120, 20, 24));
    // A lattice over the red field.
    uint32_t* bits = canvas.Bits();
    for (int y = 6; y < h - 6; ++y)
        for (int x = 6; x < w - 6; ++x)
            if ((x + y) % 8 == 0 || (x - y + 800) % 8 == 0)
                bits[y * w + x] = Pixel(205, 90, 80);
    canvas.Oval(w / 2 - w / 5, h / 2 - w / 5, w / 2 + w / 5, h / 2 + w / 5, RGB(230, 190, 80),
                RGB(120, 20, 24));
    return canvas.Image();
}

PixelImage CardShape(int w, int h) {
    Canvas canvas(w, h);
    CardBlank(canvas, RGB(255, 255, 255));
    return canvas.Image();
}

void Paste(Canvas& canvas, const PixelImage& picture, int x, int y) {
    uint32_t* bits = canvas.Bits();
    for (int py = 0; py < picture.height; ++py)
        for (int px = 0; px < picture.width; ++px) {
            const int tx = x + px, ty = y + py;
            if (tx >= 0 && ty >= 0 && tx < canvas.Width() && ty < canvas.Height())
                bits[ty * canvas.Width() + tx] = picture.At(px, py) & 0x00FFFFFFu;
        }
}

} // namespace theme_art
