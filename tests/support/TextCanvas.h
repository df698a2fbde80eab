#pragma once

// A white canvas for drawing text and pictures and finding where the ink went.

#include "tests/support/GdiCanvas.h"

#include "platform/images/PngFile.h"

#include <algorithm>

class TextCanvas : public GdiCanvas {
public:
    TextCanvas(int width, int height) : GdiCanvas(width, height) { Clear(RGB(255, 255, 255)); }

    void Clear(COLORREF color) { Fill(platform::PixelFromColor(color)); }

    // The bounding box of the pixels that differ from background (read from
    // the bitmap, whatever the DC's clip); empty when there are none.
    RECT InkBox(COLORREF background = RGB(255, 255, 255)) const {
        RECT box{width(), height(), 0, 0};
        uint32_t paper = platform::PixelFromColor(background);
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) {
                if (At(x, y) == paper)
                    continue;
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
        }
        return box.right == 0 ? RECT{0, 0, 0, 0} : box;
    }
    int Count(COLORREF color) const {
        std::vector<uint32_t> pixels = Pixels();
        return int(std::count(pixels.begin(), pixels.end(), platform::PixelFromColor(color)));
    }

    // For a person to look at when a test fails.
    void SaveForInspection(const std::string& name) const {
        platform::SavePngFile(::testing::TempDir() + name + ".png", surface());
    }
};

inline bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
