// The blend row kernels: every build (generic vectors, SSE2, AVX2 where the
// processor has it, and the per-pixel reference) gives the same pixels, and
// those follow the formulas with their rounding down, whatever the alignment,
// the length, or the mix of clear, opaque and partial pixels.

#include "platform/gdi/BlendRows.h"

#include "tests/support/GdiCanvas.h"

#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

using platform::BlendRowKernels;

// Every build this processor can run.
std::vector<const BlendRowKernels*> AllKernels() {
    std::vector<const BlendRowKernels*> all{&platform::ScalarBlendRows(),
                                            &platform::VectorBlendRows()};
    for (const BlendRowKernels* k : {platform::Sse2BlendRows(), platform::Avx2BlendRows()})
        if (k)
            all.push_back(k);
    return all;
}

uint32_t Byte(uint32_t p, int i) {
    return (p >> (8 * i)) & 0xFF;
}

uint32_t ConstantAlphaFormula(uint32_t s, uint32_t d, uint32_t a) {
    uint32_t out = 0;
    for (int i = 0; i < 4; ++i)
        out |= ((Byte(s, i) * a + Byte(d, i) * (255 - a)) / 255) << (8 * i);
    return out;
}

uint32_t PremultipliedFormula(uint32_t s, uint32_t d, uint32_t constant) {
    uint32_t scaled = 0, out = 0;
    for (int i = 0; i < 4; ++i)
        scaled |= (Byte(s, i) * constant / 255) << (8 * i);
    uint32_t inverse = 255 - Byte(scaled, 3);
    for (int i = 0; i < 4; ++i)
        out |= std::min(255u, Byte(scaled, i) + Byte(d, i) * inverse / 255) << (8 * i);
    return out;
}

// Pixel i holds the byte pair (i & 0xFF, i >> 8) in some byte order, so that
// a row of 65536 pixels meets every pair in every channel.
std::vector<uint32_t> EveryBytePair(int rotate) {
    std::vector<uint32_t> row(65536);
    for (uint32_t i = 0; i < row.size(); ++i) {
        uint32_t p = (i & 0xFF) | ((i >> 8) << 8) | ((i & 0xFF) << 16) | ((i >> 8) << 24);
        row[i] = rotate ? (p << (8 * rotate)) | (p >> (32 - 8 * rotate)) : p;
    }
    return row;
}

TEST(BlendRowsTest, ConstantAlphaIsExactForEveryByteValueAndAlpha) {
    std::vector<uint32_t> s = EveryBytePair(0), d0 = EveryBytePair(1);
    for (const BlendRowKernels* k : AllKernels()) {
        for (uint32_t a = 0; a <= 255; ++a) {
            std::vector<uint32_t> d = d0;
            k->constantAlpha(d.data(), s.data(), int(d.size()), a);
            for (size_t i = 0; i < d.size(); ++i)
                ASSERT_EQ(d[i], ConstantAlphaFormula(s[i], d0[i], a))
                    << k->name << " alpha " << a << " pixel " << i;
        }
    }
}

TEST(BlendRowsTest, PremultipliedIsExactForEveryAlphaAndChannelPair) {
    // Source pixel i: alpha i >> 8 and colour bytes i & 0xFF, so colours above
    // their alpha (not truly premultiplied) are met and must saturate.
    std::vector<uint32_t> s(65536), d0(65536);
    std::mt19937 rng(11);
    for (uint32_t i = 0; i < s.size(); ++i) {
        uint32_t c = i & 0xFF;
        s[i] = ((i >> 8) << 24) | c << 16 | c << 8 | c;
        d0[i] = uint32_t(rng());
    }
    for (const BlendRowKernels* k : AllKernels()) {
        for (uint32_t constant : {0u, 1u, 2u, 127u, 128u, 200u, 254u, 255u}) {
            std::vector<uint32_t> d = d0;
            k->premultiplied(d.data(), s.data(), int(d.size()), constant);
            for (size_t i = 0; i < d.size(); ++i)
                ASSERT_EQ(d[i], PremultipliedFormula(s[i], d0[i], constant))
                    << k->name << " constant " << constant << " pixel " << i;
        }
    }
}

// Runs of clear, opaque, key and partial pixels of random lengths, so that
// whole vectors of one kind (the shortcuts) and mixed ones both occur at every
// alignment.
std::vector<uint32_t> SpriteRow(std::mt19937& rng, size_t n, uint32_t key) {
    std::vector<uint32_t> row;
    while (row.size() < n) {
        int kind = int(rng() % 6);
        size_t run = 1 + rng() % 20;
        for (size_t j = 0; j < run && row.size() < n; ++j) {
            uint32_t r = uint32_t(rng());
            switch (kind) {
            case 0:
                row.push_back(0);
                break; // clear
            case 1:
                row.push_back(0xFF000000u | r);
                break; // opaque
            case 2:
                row.push_back((r & 0xFF000000u) | key);
                break; // key, any alpha
            case 3:
                row.push_back(r & 0x00FFFFFFu);
                break; // alpha 0, colour left
            case 4:
                row.push_back(key ^ (1u << (r % 24)));
                break; // one bit off the key
            default: {
                uint32_t a = r >> 24, c = (r & 0xFF) % (a + 1);
                row.push_back(a << 24 | c << 16 | c << 8 | c); // partial
            }
            }
        }
    }
    return row;
}

TEST(BlendRowsTest, EveryBuildMatchesTheReferenceAtAnyOffsetAndLength) {
    std::mt19937 rng(3);
    const uint32_t key = 0x00FF00FF;
    const BlendRowKernels& reference = platform::ScalarBlendRows();
    for (int trial = 0; trial < 40; ++trial) {
        std::vector<uint32_t> s = SpriteRow(rng, 160, key), d0(160);
        for (uint32_t& p : d0)
            p = uint32_t(rng());
        uint32_t alpha = trial % 4 == 0 ? 255 : trial % 4 == 1 ? 0 : uint32_t(rng() & 0xFF);
        for (int offset = 0; offset < 9; ++offset) {
            for (int n = 0; n <= 67; ++n) {
                // A different source offset, so the two rows are misaligned too.
                int sOffset = (offset * 5) % 11;
                auto run = [&](const BlendRowKernels& k, int which) {
                    std::vector<uint32_t> d = d0;
                    const uint32_t* src = s.data() + sOffset;
                    if (which == 0)
                        k.constantAlpha(d.data() + offset, src, n, alpha);
                    else if (which == 1)
                        k.premultiplied(d.data() + offset, src, n, alpha);
                    else
                        k.colourKey(d.data() + offset, src, n, key);
                    return d;
                };
                for (int which = 0; which < 3; ++which) {
                    std::vector<uint32_t> expected = run(reference, which);
                    // Nothing outside the row changes.
                    ASSERT_TRUE(std::equal(d0.begin(), d0.begin() + offset, expected.begin()));
                    ASSERT_TRUE(std::equal(d0.begin() + offset + n, d0.end(),
                                           expected.begin() + offset + n));
                    for (const BlendRowKernels* k : AllKernels())
                        ASSERT_EQ(run(*k, which), expected)
                            << k->name << " kernel " << which << " offset " << offset << " n " << n
                            << " alpha " << alpha;
                }
            }
        }
    }
}

TEST(BlendRowsTest, ColourKeyIgnoresTheAlphaByteOfBothKeyAndSource) {
    for (const BlendRowKernels* k : AllKernels()) {
        std::vector<uint32_t> s(19), d(19, 0x11223344);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = i % 3 == 0 ? (uint32_t(i) << 24) | 0x00ABCDEF : 0x00ABCDEE;
        k->colourKey(d.data(), s.data(), int(d.size()), 0x77ABCDEF);
        for (size_t i = 0; i < s.size(); ++i)
            ASSERT_EQ(d[i], i % 3 == 0 ? 0x11223344u : 0x00ABCDEEu) << k->name << " " << i;
    }
}

TEST(BlendRowsTest, TheFastestBuildTheProcessorRunsIsChosen) {
    const BlendRowKernels* avx2 = platform::Avx2BlendRows();
    const BlendRowKernels* sse2 = platform::Sse2BlendRows();
    EXPECT_EQ(&platform::BlendRows(), avx2 ? avx2 : sse2 ? sse2 : &platform::VectorBlendRows());
#if defined(__x86_64__)
    EXPECT_EQ(avx2 != nullptr, __builtin_cpu_supports("avx2") != 0);
    EXPECT_NE(sse2, nullptr);
#endif
}

// Through the public calls: a clipped blit at odd positions and widths gives
// the reference's pixels inside the clip and leaves every other pixel alone.
TEST(BlendRowsTest, ClippedBlitsAtOddPositionsMatchTheReference) {
    std::mt19937 rng(9);
    const uint32_t key = 0x00FF00FF;
    GdiCanvas src(53, 11), dst(61, 13);
    for (int y = 0; y < 11; ++y) {
        std::vector<uint32_t> row = SpriteRow(rng, 53, key);
        for (int x = 0; x < 53; ++x)
            src.Set(x, y, row[size_t(x)]);
    }
    const BlendRowKernels& reference = platform::ScalarBlendRows();
    for (int which = 0; which < 4; ++which) {
        dst.FillRandom(rng);
        std::vector<uint32_t> before = dst.Pixels();
        HRGN clip = CreateRectRgn(2, 1, 58, 12);
        SelectClipRgn(dst.dc(), clip);
        DeleteObject(clip);
        ExcludeClipRect(dst.dc(), 20, 4, 27, 7); // a hole: rows split in two
        const int x = 3, y = 2, w = 45, h = 9, sx = 5, sy = 1;
        BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        BLENDFUNCTION partly{AC_SRC_OVER, 0, 77, AC_SRC_ALPHA};
        BLENDFUNCTION constant{AC_SRC_OVER, 0, 131, 0};
        BOOL ok = which == 0   ? AlphaBlend(dst.dc(), x, y, w, h, src.dc(), sx, sy, w, h, perPixel)
                  : which == 1 ? AlphaBlend(dst.dc(), x, y, w, h, src.dc(), sx, sy, w, h, partly)
                  : which == 2 ? AlphaBlend(dst.dc(), x, y, w, h, src.dc(), sx, sy, w, h, constant)
                               : TransparentBlt(dst.dc(), x, y, w, h, src.dc(), sx, sy, w, h,
                                                RGB(255, 0, 255));
        ASSERT_TRUE(ok);
        SelectClipRgn(dst.dc(), nullptr);
        for (int py = 0; py < 13; ++py)
            for (int px = 0; px < 61; ++px) {
                uint32_t expected = before[size_t(py * 61 + px)];
                bool inBlit = px >= x && px < x + w && py >= y && py < y + h;
                bool inClip = px >= 2 && px < 58 && py >= 1 && py < 12 &&
                              !(px >= 20 && px < 27 && py >= 4 && py < 7);
                if (inBlit && inClip) {
                    uint32_t s = src.At(px - x + sx, py - y + sy);
                    if (which == 0)
                        reference.premultiplied(&expected, &s, 1, 255);
                    else if (which == 1)
                        reference.premultiplied(&expected, &s, 1, 77);
                    else if (which == 2)
                        reference.constantAlpha(&expected, &s, 1, 131);
                    else
                        reference.colourKey(&expected, &s, 1, key);
                }
                ASSERT_EQ(dst.At(px, py), expected)
                    << "blit " << which << " at " << px << "," << py;
            }
    }
}

} // namespace
