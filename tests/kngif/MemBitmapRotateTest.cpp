// Rotation by any angle, the mapped point, and scaled copies: worked
// examples, invariants of the three shears, and placements across every
// edge that must write nothing outside the drawn picture.

#include "MemBitmapKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace membitmap_test;

namespace {

std::pair<int, int> Unpack(DWORD packed) {
    return {(int)(packed >> 16), (int)(packed & 0xFFFF)};
}

const WORD kBack = 0x0000;
const COLORREF kBackColour = RGB(0, 0, 0);

int Channel(WORD w, int c) {
    const int shift[3] = {11, 5, 0};
    const int mask[3] = {31, 63, 31};
    return (w >> shift[c]) & mask[c];
}

} // namespace

TEST(MemBitmapRotate, QuarterAngleOfThreeByTwo) {
    CKNMemBitmap src;
    ASSERT_TRUE(src.Create(3, 2));
    for (int i = 0; i < 6; ++i) {
        src.FillRect565(i % 3, i / 3, 1, 1, (WORD)(i + 1)); // 1 2 3 / 4 5 6
    }
    for (double angle : {90.0, -270.0, 450.0}) {
        CKNMemBitmap dst;
        ASSERT_TRUE(dst.Create(2, 3));
        ASSERT_TRUE(dst.BltRotate(angle, &src, nullptr, 0, 0, kBackColour)) << angle;
        // The top row is the source's right column, read top to bottom.
        EXPECT_EQ(Pixels(dst), (std::vector<WORD>{3, 6, 2, 5, 1, 4})) << angle;
    }
    for (double angle : {0.0, 360.0, -720.0}) {
        CKNMemBitmap dst;
        ASSERT_TRUE(dst.Create(3, 2));
        ASSERT_TRUE(dst.BltRotate(angle, &src, nullptr, 0, 0, kBackColour));
        EXPECT_EQ(Pixels(dst), Pixels(src)) << angle;
    }
    CKNMemBitmap half;
    ASSERT_TRUE(half.Create(3, 2));
    ASSERT_TRUE(half.BltRotate(180, &src, nullptr, 0, 0, kBackColour));
    EXPECT_EQ(Pixels(half), (std::vector<WORD>{6, 5, 4, 3, 2, 1}));
}

// A uniform picture turned by an angle: the drawn box has the rotated size,
// the middle keeps the colour and the corners take the background.
TEST(MemBitmapRotate, UniformPictureFillsTheRotatedBox) {
    const WORD paint = 0x7BEF;
    for (double angle : {30.0, -30.0, 12.5, 44.0, 75.0, 200.0, 330.0}) {
        CKNMemBitmap src;
        ASSERT_TRUE(src.Create(40, 20));
        src.FillRect565(0, 0, 40, 20, paint);
        CKNMemBitmap dst;
        ASSERT_TRUE(dst.Create(80, 80));
        dst.FillRect565(0, 0, 80, 80, 0x1234);
        ASSERT_TRUE(dst.BltRotate(angle, &src, nullptr, 5, 5, kBackColour));
        const auto [w, h] = Unpack(CKNMemBitmap::GetRotatedSize(angle, 40, 20));
        int minX = 80, minY = 80, maxX = -1, maxY = -1;
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 80; ++x) {
                const WORD p = dst.GetPixel565(x, y);
                const bool inBox = x >= 5 && x < 5 + w && y >= 5 && y < 5 + h;
                if (!inBox) {
                    ASSERT_EQ(p, 0x1234) << angle << " wrote outside at " << x << "," << y;
                } else if (p != kBack) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
            }
        }
        // The painted part reaches (within a pixel) across the whole box.
        EXPECT_LE(minX, 6) << angle;
        EXPECT_LE(minY, 6) << angle;
        EXPECT_GE(maxX, 5 + w - 3) << angle;
        EXPECT_GE(maxY, 5 + h - 3) << angle;
        // Corners of the box are background; its centre is the colour.
        EXPECT_EQ(dst.GetPixel565(5, 5), kBack) << angle;
        EXPECT_EQ(dst.GetPixel565(5 + w - 1, 5 + h - 1), kBack) << angle;
        EXPECT_EQ(dst.GetPixel565(5 + w / 2, 5 + h / 2), paint) << angle;
    }
}

TEST(MemBitmapRotate, TinyAngleIsNearlyTheIdentity) {
    Noise noise(5);
    CKNMemBitmap src;
    ASSERT_TRUE(src.Create(16, 12));
    FillNoise(src, noise);
    CKNMemBitmap dst;
    ASSERT_TRUE(dst.Create(16, 12));
    ASSERT_TRUE(dst.BltRotate(0.001, &src, nullptr, 0, 0, kBackColour));
    for (int y = 1; y < 11; ++y) {
        for (int x = 1; x < 15; ++x) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_NEAR(Channel(dst.GetPixel565(x, y), c), Channel(src.GetPixel565(x, y), c), 1)
                    << x << "," << y;
            }
        }
    }
}

// A lone bright pixel, rotated: it lands where MapRotatedPoint says. Each
// shear gives a pixel's larger share to the next column or row when its
// weight passes one half while the mapping takes the whole offset, so the
// two horizontal shears may leave the brightest pixel two columns on. (The
// mapping's last step is held to the first shear's width, so marks near the
// right edge of a turned picture are avoided here.)
TEST(MemBitmapRotate, MappedPointFindsTheDrawnPixel) {
    for (double angle : {10.0, 25.0, -20.0, -40.0, 60.0, 100.0, 170.0, 250.0, 300.0, 350.0}) {
        for (POINT mark : {POINT{7, 5}, POINT{20, 10}, POINT{12, 16}}) {
            CKNMemBitmap src;
            ASSERT_TRUE(src.Create(36, 20));
            src.FillRect565(0, 0, 36, 20, 0);
            src.FillRect565(mark.x, mark.y, 1, 1, 0xFFFF);
            const auto [w, h] = Unpack(CKNMemBitmap::GetRotatedSize(angle, 36, 20));
            CKNMemBitmap dst;
            ASSERT_TRUE(dst.Create(w, h));
            ASSERT_TRUE(dst.BltRotate(angle, &src, nullptr, 0, 0, kBackColour));
            int best = -1;
            POINT at{};
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const int level = Channel(dst.GetPixel565(x, y), 1);
                    if (level > best) {
                        best = level;
                        at = {x, y};
                    }
                }
            }
            POINT mapped = mark;
            const RECT whole{0, 0, 36, 20};
            CKNMemBitmap::MapRotatedPoint(angle, &whole, &mapped);
            EXPECT_LE(std::abs(mapped.x - at.x), 2) << angle << " mark " << mark.x << "," << mark.y;
            EXPECT_LE(std::abs(mapped.y - at.y), 1) << angle << " mark " << mark.x << "," << mark.y;
        }
    }
    POINT untouched{3, 4};
    CKNMemBitmap::MapRotatedPoint(30, nullptr, &untouched);
    EXPECT_EQ(untouched.x, 3);
    EXPECT_EQ(untouched.y, 4);
}

// Sources crossing their edges, destinations half outside each side, and
// every angle family: nothing outside the destination's drawn box changes,
// and AddressSanitizer sees no access outside either image.
TEST(MemBitmapRotate, ClippedRotationsStayInside) {
    Noise noise(9);
    CKNMemBitmap src;
    ASSERT_TRUE(src.Create(23, 17));
    FillNoise(src, noise);
    const RECT parts[] = {{0, 0, 23, 17}, {-6, -4, 12, 9}, {10, 8, 40, 30}, {-50, 3, 5, 200}};
    const POINT places[] = {{-15, 4}, {20, -12}, {25, 10}, {5, 28}, {-40, -40}, {3, 3}};
    for (double angle : {-44.0, -17.0, 8.0, 33.0, 45.0, 95.0, 181.0, 269.0, 316.0}) {
        for (const RECT& part : parts) {
            for (const POINT& at : places) {
                CKNMemBitmap dst;
                ASSERT_TRUE(dst.Create(37, 35));
                dst.FillRect565(0, 0, 37, 35, 0xABCD);
                ASSERT_TRUE(dst.BltRotate(angle, &src, &part, at.x, at.y, RGB(255, 255, 255)));
                const auto [w, h] = Unpack(CKNMemBitmap::GetRotatedSize(
                    angle, part.right - part.left, part.bottom - part.top));
                for (int y = 0; y < 35; ++y) {
                    for (int x = 0; x < 37; ++x) {
                        if (x < at.x || x >= at.x + w || y < at.y || y >= at.y + h) {
                            ASSERT_EQ(dst.GetPixel565(x, y), 0xABCD)
                                << angle << " at " << at.x << "," << at.y << " pixel " << x << ","
                                << y;
                        }
                    }
                }
                // The shear on its own takes any angle as well.
                ASSERT_TRUE(dst.BltRotateShear(angle, &src, &part, at.x, at.y, 0));
            }
        }
    }
}

TEST(MemBitmapRotate, RefusalsAndTheImageItself) {
    CKNMemBitmap src;
    CKNMemBitmap dst;
    CKNMemBitmap empty;
    ASSERT_TRUE(src.Create(8, 8));
    ASSERT_TRUE(dst.Create(8, 8));
    src.FillRect565(0, 0, 8, 8, 0x4444);
    EXPECT_FALSE(dst.BltRotate(30, nullptr, nullptr, 0, 0, 0));
    EXPECT_FALSE(dst.BltRotate(30, &empty, nullptr, 0, 0, 0));
    EXPECT_FALSE(empty.BltRotate(30, &src, nullptr, 0, 0, 0));
    EXPECT_FALSE(dst.BltRotate(std::nan(""), &src, nullptr, 0, 0, 0));
    EXPECT_FALSE(dst.BltRotateShear(INFINITY, &src, nullptr, 0, 0, 0));
    const RECT backwards{6, 6, 2, 2};
    EXPECT_TRUE(dst.BltRotate(20, &src, &backwards, 0, 0, 0));
    EXPECT_TRUE(dst.BltRotate(120, &src, &backwards, 0, 0, 0));
    // Near a half turn the shear alone would explode; it turns first instead.
    CKNMemBitmap a;
    CKNMemBitmap b;
    ASSERT_TRUE(a.Create(12, 12));
    ASSERT_TRUE(b.Create(12, 12));
    a.FillRect565(0, 0, 12, 12, 0x1111);
    b.FillRect565(0, 0, 12, 12, 0x1111);
    ASSERT_TRUE(a.BltRotateShear(179, &src, nullptr, 1, 1, 0));
    ASSERT_TRUE(b.BltRotate(179, &src, nullptr, 1, 1, 0));
    EXPECT_EQ(Pixels(a), Pixels(b));
    // Rotating an image onto itself reads what it was before.
    ASSERT_TRUE(src.BltRotate(20, &src, nullptr, 0, 0, 0));
    EXPECT_EQ(src.GetPixel565(4, 4), 0x4444);
}

TEST(MemBitmapStretch, EqualSizesCopyExactly) {
    Noise noise(3);
    CKNMemBitmap src;
    CKNMemBitmap dst;
    ASSERT_TRUE(src.Create(6, 5));
    ASSERT_TRUE(dst.Create(6, 5));
    FillNoise(src, noise);
    dst.FillRect565(0, 0, 6, 5, 0);
    const RECT from{1, 1, 5, 4};
    const RECT to{-1, 2, 3, 5};
    ASSERT_TRUE(dst.BltStretch(&src, &from, &to));
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x < 3 && y >= 2;
            ASSERT_EQ(dst.GetPixel565(x, y), inside ? src.GetPixel565(x + 2, y - 1) : 0)
                << x << "," << y;
        }
    }
}

TEST(MemBitmapStretch, DoublingRepeatsEachPixelAndKeepsItsPlaceAtTheEdge) {
    Noise noise(4);
    CKNMemBitmap src;
    CKNMemBitmap dst;
    ASSERT_TRUE(src.Create(6, 2));
    ASSERT_TRUE(dst.Create(8, 4));
    FillNoise(src, noise);
    dst.FillRect565(0, 0, 8, 4, 0);
    // Twice the size, starting 4 pixels left of the image: columns 2..5 show.
    const RECT to{-4, 0, 8, 4};
    ASSERT_TRUE(dst.BltStretch(&src, nullptr, &to));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(dst.GetPixel565(x, y), src.GetPixel565(2 + x / 2, y / 2)) << x << "," << y;
        }
    }
    // Halving picks one pixel of each pair.
    CKNMemBitmap small;
    ASSERT_TRUE(small.Create(3, 1));
    const RECT row{0, 0, 6, 1};
    ASSERT_TRUE(small.BltStretch(&src, &row, nullptr));
    for (int x = 0; x < 3; ++x) {
        const WORD p = small.GetPixel565(x, 0);
        EXPECT_TRUE(p == src.GetPixel565(2 * x, 0) || p == src.GetPixel565(2 * x + 1, 0)) << x;
    }
}

TEST(MemBitmapStretch, Refusals) {
    CKNMemBitmap src;
    CKNMemBitmap dst;
    CKNMemBitmap empty;
    ASSERT_TRUE(src.Create(4, 4));
    ASSERT_TRUE(dst.Create(4, 4));
    dst.FillRect565(0, 0, 4, 4, 0x2222);
    EXPECT_FALSE(dst.BltStretch(nullptr, nullptr, nullptr));
    EXPECT_FALSE(dst.BltStretch(&empty, nullptr, nullptr));
    EXPECT_FALSE(empty.BltStretch(&src, nullptr, nullptr));
    const RECT flat{0, 0, 4, 0};
    const RECT away{10, 10, 20, 20};
    const RECT big{0, 0, 8, 8};
    EXPECT_FALSE(dst.BltStretch(&src, &flat, nullptr));
    EXPECT_FALSE(dst.BltStretch(&src, nullptr, &away));
    EXPECT_FALSE(dst.BltStretch(&src, &away, nullptr));
    // Scaling goes through the image's own DC, so an open one refuses it.
    HDC dc = dst.GetDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_FALSE(dst.BltStretch(&src, nullptr, &big));
    EXPECT_TRUE(dst.ReleaseDC(dc));
    EXPECT_EQ(dst.GetPixel565(0, 0), 0x2222);
}

// A white picture on a white background stays white: the shears carry a
// share of the background into each line, never the whole of it, so no
// field overflows into its neighbour.
TEST(MemBitmapRotate, WhiteOnWhiteStaysWhite) {
    CKNMemBitmap src;
    ASSERT_TRUE(src.Create(30, 20));
    src.FillRect565(0, 0, 30, 20, 0xFFFF);
    for (double angle : {7.0, -23.0, 40.0}) {
        const auto [w, h] = Unpack(CKNMemBitmap::GetRotatedSize(angle, 30, 20));
        CKNMemBitmap dst;
        ASSERT_TRUE(dst.Create(w, h));
        ASSERT_TRUE(dst.BltRotate(angle, &src, nullptr, 0, 0, RGB(255, 255, 255)));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(dst.GetPixel565(x, y), 0xFFFF) << angle << " at " << x << "," << y;
            }
        }
    }
}

// Every blit and turn with its source rectangle across each edge of the
// source and placed across each edge of the destination: TRUE, and nothing
// written outside the placed picture (AddressSanitizer watches the reads).
TEST(MemBitmapRotate, EveryBlitAtEveryEdge) {
    Noise noise(17);
    CKNMemBitmap src;
    CKNMemBitmap weights;
    ASSERT_TRUE(src.Create(7, 5));
    ASSERT_TRUE(weights.Create(7, 5));
    FillNoise(src, noise);
    FillNoise(weights, noise);
    src.SetColorKey565(src.GetPixel565(3, 2));
    using Call = std::function<BOOL(CKNMemBitmap&, const RECT*, int, int)>;
    const std::vector<std::pair<const char*, Call>> calls = {
        {"Blt", [&](CKNMemBitmap& d, const RECT* r, int x, int y) { return d.Blt(&src, r, x, y); }},
        {"BltKeyed",
         [&](CKNMemBitmap& d, const RECT* r, int x, int y) { return d.BltKeyed(&src, r, x, y); }},
        {"BltAlpha", [&](CKNMemBitmap& d, const RECT* r, int x,
                         int y) { return d.BltAlpha(&src, r, x, y, 100); }},
        {"BltAlphaKeyed", [&](CKNMemBitmap& d, const RECT* r, int x,
                              int y) { return d.BltAlphaKeyed(&src, r, x, y, 100); }},
        {"BltAlphaMask", [&](CKNMemBitmap& d, const RECT* r, int x,
                             int y) { return d.BltAlphaMask(&weights, &src, r, x, y); }},
        {"BltAddKeyed", [&](CKNMemBitmap& d, const RECT* r, int x,
                            int y) { return d.BltAddKeyed(&src, r, x, y); }},
        {"BltAddScaled", [&](CKNMemBitmap& d, const RECT* r, int x,
                             int y) { return d.BltAddScaled(&src, r, x, y, 77); }},
        {"BltRotate180", [&](CKNMemBitmap& d, const RECT* r, int x,
                             int y) { return d.BltRotate180(&src, r, x, y); }},
        {"BltMirror",
         [&](CKNMemBitmap& d, const RECT* r, int x, int y) { return d.BltMirror(&src, r, x, y); }},
        {"BltFlip",
         [&](CKNMemBitmap& d, const RECT* r, int x, int y) { return d.BltFlip(&src, r, x, y); }},
        {"BltRotate 0.5", [&](CKNMemBitmap& d, const RECT* r, int x,
                              int y) { return d.BltRotate(0.5, &src, r, x, y, 0); }},
    };
    const RECT parts[] = {
        {-2, -1, 4, 3}, {3, 2, 9, 8}, {-3, 3, 2, 9}, {5, -4, 11, 2}, {0, 0, 7, 5}};
    for (const auto& [name, call] : calls) {
        for (const RECT& part : parts) {
            for (POINT at : {POINT{-3, -2}, POINT{6, 4}, POINT{-4, 5}, POINT{7, -3}, POINT{2, 1}}) {
                CKNMemBitmap dst;
                ASSERT_TRUE(dst.Create(9, 7));
                dst.FillRect565(0, 0, 9, 7, 0x5555);
                ASSERT_TRUE(call(dst, &part, at.x, at.y)) << name;
                // Widened by one for the shear's carried share.
                const int w = part.right - part.left + 1;
                const int h = part.bottom - part.top + 1;
                for (int y = 0; y < 7; ++y) {
                    for (int x = 0; x < 9; ++x) {
                        if (x < at.x || x >= at.x + w || y < at.y || y >= at.y + h) {
                            ASSERT_EQ(dst.GetPixel565(x, y), 0x5555)
                                << name << " at " << at.x << "," << at.y << " pixel " << x << ","
                                << y;
                        }
                    }
                }
            }
        }
    }
}
