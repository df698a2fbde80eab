// The memory image's blends against scalar models written from the formulas,
// exhaustively over field values and weights: pairs held in one word, lone
// last pixels, and every combination of key pixels.

#include "MemBitmapKit.h"
#include "kngif/Rgb565Math.h"

#include <gtest/gtest.h>

using namespace membitmap_test;

namespace {

const int kShift[3] = {11, 5, 0};
const int kMax[3] = {31, 63, 31};

int FloorDiv256(int v) {
    return v >= 0 ? v / 256 : -((-v + 255) / 256);
}

// One field of a pair: d + floor(a(s - d + 64) / 256) - floor(a / 4).
int PairField(int s, int d, int a, int max) {
    return (d + FloorDiv256(a * (s - d + 64)) - a / 4) & max;
}

int LoneField(int s, int d, int a, int max) {
    return (d + FloorDiv256(a * (s - d))) & max;
}

WORD Compose(int r, int g, int b) {
    return (WORD)((r << 11) | (g << 5) | b);
}

int FieldOf(WORD w, int f) {
    return (w >> kShift[f]) & kMax[f];
}

WORD ModelPixel(WORD s, WORD d, int a, bool pair) {
    int out[3];
    for (int f = 0; f < 3; ++f) {
        out[f] = pair ? PairField(FieldOf(s, f), FieldOf(d, f), a, kMax[f])
                      : LoneField(FieldOf(s, f), FieldOf(d, f), a, kMax[f]);
    }
    return Compose(out[0], out[1], out[2]);
}

} // namespace

TEST(MemBitmapBlend, WorkedValues) {
    // a = 255, s = 31, d = 0: a pair gives 31, a lone pixel 30.
    const uint32_t pair = rgb565::BlendPair(0x001F001F, 0, 255);
    EXPECT_EQ(pair & 0x1F, 31u);
    EXPECT_EQ(pair >> 16 & 0x1F, 31u);
    EXPECT_EQ(rgb565::BlendLone(0x001F, 0, 255), 30);
    EXPECT_EQ(rgb565::BlendLone(0xFFFF, 0x1234, 0), 0x1234);
    EXPECT_EQ(rgb565::BlendPair(0xFFFFFFFF, 0x12345678, 0), 0x12345678u);
}

// Every source and destination value of every field, every alpha, with the
// other lane holding different values, so a carry or borrow between lanes or
// fields shows.
TEST(MemBitmapBlend, PairLanesMatchTheModelExhaustively) {
    for (int f = 0; f < 3; ++f) {
        const int max = kMax[f];
        for (int a = 0; a < 256; ++a) {
            for (int s = 0; s <= max; ++s) {
                for (int d = 0; d <= max; ++d) {
                    const int s1 = (s * 7 + 3) & max;
                    const int d1 = max - d;
                    // Neighbouring fields hold extremes to catch leaks.
                    const uint32_t others = 0xFFFFu & ~((uint32_t)max << kShift[f]);
                    const uint32_t sw = ((uint32_t)s << kShift[f]) |
                                        ((uint32_t)s1 << kShift[f] << 16) | (others << 16);
                    const uint32_t dw =
                        ((uint32_t)d << kShift[f]) | others | ((uint32_t)d1 << kShift[f] << 16);
                    const uint32_t r = rgb565::BlendPair(sw, dw, (unsigned)a);
                    ASSERT_EQ(FieldOf((WORD)r, f), PairField(s, d, a, max))
                        << "field " << f << " a " << a << " s " << s << " d " << d;
                    ASSERT_EQ(FieldOf((WORD)(r >> 16), f), PairField(s1, d1, a, max));
                    ASSERT_EQ(rgb565::BlendLone((WORD)sw, (WORD)dw, (unsigned)a),
                              ModelPixel((WORD)sw, (WORD)dw, a, false));
                }
            }
        }
    }
}

// Whole rows through BltAlphaKeyed: odd and even widths, keys anywhere;
// long rows (blended many pixels at a time) with a few keys pair the pixels
// before, between and after them as short rows do.
TEST(MemBitmapBlend, RowsPairPixelsAndHonourTheKey) {
    Noise noise(11);
    const WORD key = 0xF81F;
    for (int width : {1, 2, 3, 4, 5, 6, 16, 17, 31, 40, 71}) {
        const bool longRow = width > 6;
        CKNMemBitmap src;
        CKNMemBitmap dst;
        ASSERT_TRUE(src.Create(width, 1));
        ASSERT_TRUE(dst.Create(width, 1));
        src.SetColorKey565(key);
        for (int round = 0; round < (longRow ? 600 : 4000); ++round) {
            FillNoise(src, noise);
            FillNoise(dst, noise);
            for (int x = 0; x < width; ++x) {
                if (noise.Below(longRow ? 25 : 3) == 0) {
                    src.FillRect565(x, 0, 1, 1, key);
                }
            }
            const int a = noise.Below(256);
            const bool keyed = round % 2 == 0;
            const std::vector<WORD> s = Pixels(src);
            std::vector<WORD> want = Pixels(dst);
            for (int x = 0; x < width; x += 2) {
                const bool hasPartner = x + 1 < width;
                const bool k0 = keyed && s[x] == key;
                const bool k1 = hasPartner && keyed && s[x + 1] == key;
                if (!hasPartner) {
                    if (!k0) {
                        want[x] = ModelPixel(s[x], want[x], a, false);
                    }
                } else if (!k0 && !k1) {
                    want[x] = ModelPixel(s[x], want[x], a, true);
                    want[x + 1] = ModelPixel(s[x + 1], want[x + 1], a, true);
                } else if (!k0) {
                    want[x] = ModelPixel(s[x], want[x], a, false);
                } else if (!k1) {
                    want[x + 1] = ModelPixel(s[x + 1], want[x + 1], a, false);
                }
            }
            ASSERT_TRUE(keyed ? dst.BltAlphaKeyed(&src, nullptr, 0, 0, a)
                              : dst.BltAlpha(&src, nullptr, 0, 0, a));
            ASSERT_EQ(Pixels(dst), want) << "width " << width << " round " << round;
        }
    }
}

TEST(MemBitmapBlend, FillAlphaSkipsTheImagesOwnKey) {
    CKNMemBitmap image;
    ASSERT_TRUE(image.Create(3, 1));
    image.FillRect565(0, 0, 3, 1, 0);
    image.FillRect565(1, 0, 1, 1, 0x0001);
    image.SetColorKey565(0x0001);
    ASSERT_TRUE(image.FillAlpha(RGB(0, 0, 255), nullptr, 255, TRUE));
    // Pixel 0 is alone (its partner is the key), pixel 2 is the odd last one.
    EXPECT_EQ(Pixels(image), (std::vector<WORD>{30, 0x0001, 30}));
}

TEST(MemBitmapBlend, AdditiveSumsSaturateExhaustively) {
    CKNMemBitmap src;
    CKNMemBitmap dst;
    ASSERT_TRUE(src.Create(1, 1));
    ASSERT_TRUE(dst.Create(1, 1));
    for (int f = 0; f < 3; ++f) {
        for (int s = 0; s <= kMax[f]; ++s) {
            for (int d = 0; d <= kMax[f]; ++d) {
                src.FillRect565(0, 0, 1, 1, (WORD)(s << kShift[f]));
                for (int a = 0; a <= 256; a += 1) {
                    dst.FillRect565(0, 0, 1, 1, (WORD)(d << kShift[f]));
                    ASSERT_TRUE(a == 256 ? dst.BltAdd(&src, nullptr, 0, 0)
                                         : dst.BltAddScaled(&src, nullptr, 0, 0, a));
                    const int sum = std::min(d + s * a / 256, kMax[f]);
                    ASSERT_EQ(dst.GetPixel565(0, 0), (WORD)(sum << kShift[f]))
                        << "field " << f << " s " << s << " d " << d << " a " << a;
                }
            }
        }
    }
}

TEST(MemBitmapBlend, WeightImageGivesPerChannelWeights) {
    CKNMemBitmap src;
    CKNMemBitmap dst;
    CKNMemBitmap weights;
    ASSERT_TRUE(src.Create(1, 1));
    ASSERT_TRUE(dst.Create(1, 1));
    ASSERT_TRUE(weights.Create(1, 1));
    for (int f = 0; f < 3; ++f) {
        const int scale = kMax[f] == 31 ? 8 : 4;
        for (int m = 0; m <= kMax[f]; ++m) {
            const int weight = m * scale + (m > kMax[f] / 2 ? scale - 1 : 0);
            weights.FillRect565(0, 0, 1, 1, (WORD)(m << kShift[f]));
            for (int s = 0; s <= kMax[f]; ++s) {
                for (int d = 0; d <= kMax[f]; ++d) {
                    src.FillRect565(0, 0, 1, 1, (WORD)(s << kShift[f]));
                    dst.FillRect565(0, 0, 1, 1, (WORD)(d << kShift[f]));
                    ASSERT_TRUE(dst.BltAlphaMask(&weights, &src, nullptr, 0, 0));
                    const int want = d + FloorDiv256(weight * (s - d));
                    ASSERT_EQ(dst.GetPixel565(0, 0), (WORD)(want << kShift[f]));
                }
            }
        }
    }
    EXPECT_EQ(weights.GetPixel565(0, 0), 31); // full weight in blue: 255
}

TEST(MemBitmapBlend, WeightImageMustCoverTheSource) {
    CKNMemBitmap src;
    CKNMemBitmap dst;
    CKNMemBitmap small;
    ASSERT_TRUE(src.Create(4, 4));
    ASSERT_TRUE(dst.Create(4, 4));
    ASSERT_TRUE(small.Create(2, 4));
    dst.FillRect565(0, 0, 4, 4, 0x1111);
    src.FillRect565(0, 0, 4, 4, 0xFFFF);
    small.FillRect565(0, 0, 2, 4, 0xFFFF);
    EXPECT_FALSE(dst.BltAlphaMask(nullptr, &src, nullptr, 0, 0));
    EXPECT_FALSE(dst.BltAlphaMask(&small, &src, nullptr, 0, 0));
    EXPECT_EQ(dst.GetPixel565(0, 0), 0x1111);
    const RECT left{0, 0, 2, 4};
    ASSERT_TRUE(dst.BltAlphaMask(&small, &src, &left, 0, 0));
    EXPECT_EQ(dst.GetPixel565(1, 3), 0xF7DE); // 30, 62, 30 from a full weight
    EXPECT_EQ(dst.GetPixel565(2, 3), 0x1111);
}

// The same through whole rows, which blend many pixels at a time: every
// source and destination value of every field, for every alpha, with the
// other fields at extremes.
TEST(MemBitmapBlend, WideRowsMatchThePairModelExhaustively) {
    for (int f = 0; f < 3; ++f) {
        const int max = kMax[f];
        const int count = (max + 1) * (max + 1);
        CKNMemBitmap src;
        CKNMemBitmap dst;
        ASSERT_TRUE(src.Create(count, 1));
        ASSERT_TRUE(dst.Create(count, 1));
        const WORD others = (WORD)(0xFFFF & ~(max << kShift[f]));
        for (int a = 0; a < 256; ++a) {
            for (int i = 0; i < count; ++i) {
                src.FillRect565(i, 0, 1, 1, (WORD)(((i / (max + 1)) << kShift[f]) | others));
                dst.FillRect565(i, 0, 1, 1, (WORD)((i % (max + 1)) << kShift[f]));
            }
            ASSERT_TRUE(dst.BltAlpha(&src, nullptr, 0, 0, a));
            for (int i = 0; i < count; ++i) {
                const int s = i / (max + 1);
                const int d = i % (max + 1);
                ASSERT_EQ(FieldOf(dst.GetPixel565(i, 0), f), PairField(s, d, a, max))
                    << "field " << f << " a " << a << " s " << s << " d " << d;
            }
        }
    }
}
