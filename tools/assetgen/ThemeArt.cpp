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

PixelImage KeyOnPage(const PixelImage& picture, COLORREF page) {
    const uint32_t pagePixel = Pixel(GetRValue(page), GetGValue(page), GetBValue(page));
    return Mapped(picture, [&](uint32_t p) { return p == kKeyPixel ? pagePixel : p; });
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
