#pragma once

// Helpers for the memory image tests: deterministic pixel noise and a plain
// snapshot of an image's pixels.

#include "kngif/KNMemBitmap.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <vector>

namespace membitmap_test {

// A small linear congruential generator, so every run sees the same pixels.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed) {}
    uint32_t Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int Below(int n) { return (int)(Next() % (uint32_t)n); }

private:
    uint32_t m_state;
};

inline void FillNoise(CKNMemBitmap& image, Noise& noise) {
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            image.FillRect565(x, y, 1, 1, (WORD)noise.Next());
        }
    }
}

inline std::vector<WORD> Pixels(const CKNMemBitmap& image) {
    std::vector<WORD> out;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            out.push_back(image.GetPixel565(x, y));
        }
    }
    return out;
}

} // namespace membitmap_test
