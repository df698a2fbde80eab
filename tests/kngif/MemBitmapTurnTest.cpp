// Quarter turns, the half turn, mirror and flip against a model built from
// transposes and reversals of a plain grid, placed across every edge, and
// the sizes of rotated pictures.

#include "MemBitmapKit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace membitmap_test;

namespace {

using Grid = std::vector<std::vector<int>>; // rows of pixels; -1: none

Grid Transpose(const Grid& g) {
    Grid out(g[0].size(), std::vector<int>(g.size()));
    for (size_t r = 0; r < g.size(); ++r) {
        for (size_t c = 0; c < g[r].size(); ++c) {
            out[c][r] = g[r][c];
        }
    }
    return out;
}

Grid ReverseRows(Grid g) {
    std::reverse(g.begin(), g.end());
    return g;
}

Grid ReverseColumns(Grid g) {
    for (auto& row : g) {
        std::reverse(row.begin(), row.end());
    }
    return g;
}

enum Op { R90, R270, R180, Mirror, Flip };

Grid Model(const Grid& g, Op op) {
    switch (op) {
    case R90:
        return ReverseRows(Transpose(g));
    case R270:
        return ReverseColumns(Transpose(g));
    case R180:
        return ReverseRows(ReverseColumns(g));
    case Mirror:
        return ReverseColumns(g);
    case Flip:
        return ReverseRows(g);
    }
    return g;
}

BOOL RunTurn(CKNMemBitmap& dst, const CKNMemBitmap& src, const RECT* part, int x, int y, Op op) {
    switch (op) {
    case R90:
        return dst.BltRotate90(&src, part, x, y);
    case R270:
        return dst.BltRotate270(&src, part, x, y);
    case R180:
        return dst.BltRotate180(&src, part, x, y);
    case Mirror:
        return dst.BltMirror(&src, part, x, y);
    case Flip:
        return dst.BltFlip(&src, part, x, y);
    }
    return FALSE;
}

CKNMemBitmap* Image(CKNMemBitmap& image, int width, int height, std::vector<WORD> pixels) {
    EXPECT_TRUE(image.Create(width, height));
    for (int i = 0; i < width * height; ++i) {
        image.FillRect565(i % width, i / width, 1, 1, pixels[i]);
    }
    return &image;
}

} // namespace

TEST(MemBitmapTurn, QuarterTurnOfThreeByTwo) {
    CKNMemBitmap src;
    CKNMemBitmap dst;
    Image(src, 3, 2, {1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(dst.Create(2, 3));
    ASSERT_TRUE(dst.BltRotate90(&src, nullptr, 0, 0));
    EXPECT_EQ(Pixels(dst), (std::vector<WORD>{3, 6, 2, 5, 1, 4}));
    ASSERT_TRUE(dst.BltRotate270(&src, nullptr, 0, 0));
    EXPECT_EQ(Pixels(dst), (std::vector<WORD>{4, 1, 5, 2, 6, 3}));
}

TEST(MemBitmapTurn, FourQuarterTurnsAndMirrorFlip) {
    Noise noise(3);
    CKNMemBitmap a;
    CKNMemBitmap b;
    CKNMemBitmap c;
    ASSERT_TRUE(a.Create(5, 3));
    ASSERT_TRUE(b.Create(3, 5));
    ASSERT_TRUE(c.Create(5, 3));
    FillNoise(a, noise);
    CKNMemBitmap original;
    ASSERT_TRUE(original.Create(5, 3));
    ASSERT_TRUE(original.Blt(&a, nullptr, 0, 0));
    for (int turn = 0; turn < 2; ++turn) {
        ASSERT_TRUE(b.BltRotate90(&a, nullptr, 0, 0));
        ASSERT_TRUE(a.BltRotate90(&b, nullptr, 0, 0));
    }
    EXPECT_EQ(Pixels(a), Pixels(original));
    ASSERT_TRUE(b.BltRotate270(&a, nullptr, 0, 0));
    ASSERT_TRUE(c.BltRotate90(&b, nullptr, 0, 0));
    EXPECT_EQ(Pixels(c), Pixels(original));
    ASSERT_TRUE(c.BltMirror(&a, nullptr, 0, 0));
    ASSERT_TRUE(c.BltFlip(&c, nullptr, 0, 0)); // onto itself
    ASSERT_TRUE(b.Create(5, 3));
    ASSERT_TRUE(b.BltRotate180(&a, nullptr, 0, 0));
    EXPECT_EQ(Pixels(c), Pixels(b));
}

// Random rectangles (partly outside the source) placed across every edge of
// the destination, with and without a clip rectangle.
TEST(MemBitmapTurn, EveryPlacementMatchesTheModel) {
    Noise noise(5);
    CKNMemBitmap src;
    CKNMemBitmap dst;
    ASSERT_TRUE(src.Create(6, 4));
    ASSERT_TRUE(dst.Create(7, 5));
    for (int round = 0; round < 4000; ++round) {
        const Op op = (Op)(round % 5);
        FillNoise(src, noise);
        FillNoise(dst, noise);
        RECT part{noise.Below(9) - 2, noise.Below(7) - 2, 0, 0};
        part.right = part.left + 1 + noise.Below(8);
        part.bottom = part.top + 1 + noise.Below(6);
        const int x = noise.Below(13) - 5;
        const int y = noise.Below(11) - 5;
        RECT clip{noise.Below(5), noise.Below(4), 0, 0};
        clip.right = clip.left + 1 + noise.Below(6);
        clip.bottom = clip.top + 1 + noise.Below(5);
        dst.SetClipRect(round % 3 == 0 ? &clip : nullptr);
        const RECT used = dst.GetClipRect();
        const bool honoursClip = op != R90 && op != R270;

        Grid grid(part.bottom - part.top, std::vector<int>(part.right - part.left));
        for (int r = part.top; r < part.bottom; ++r) {
            for (int c = part.left; c < part.right; ++c) {
                const bool inside = r >= 0 && r < 4 && c >= 0 && c < 6;
                grid[r - part.top][c - part.left] = inside ? src.GetPixel565(c, r) : -1;
            }
        }
        const Grid turned = Model(grid, op);
        std::vector<WORD> want = Pixels(dst);
        for (size_t i = 0; i < turned.size(); ++i) {
            for (size_t j = 0; j < turned[i].size(); ++j) {
                const int dx = x + (int)j;
                const int dy = y + (int)i;
                const bool inDst = dx >= 0 && dx < 7 && dy >= 0 && dy < 5;
                const bool inClip =
                    !honoursClip || IsRectEmpty(&used) ||
                    (dx >= used.left && dx < used.right && dy >= used.top && dy < used.bottom);
                if (turned[i][j] >= 0 && inDst && inClip) {
                    want[dy * 7 + dx] = (WORD)turned[i][j];
                }
            }
        }
        ASSERT_TRUE(RunTurn(dst, src, &part, x, y, op));
        ASSERT_EQ(Pixels(dst), want) << "round " << round << " op " << op;
    }
}

TEST(MemBitmapTurn, RefusalsAndEmptyRectangles) {
    CKNMemBitmap src;
    CKNMemBitmap dst;
    CKNMemBitmap empty;
    ASSERT_TRUE(src.Create(2, 2));
    ASSERT_TRUE(dst.Create(2, 2));
    EXPECT_FALSE(dst.BltRotate90(nullptr, nullptr, 0, 0));
    EXPECT_FALSE(dst.BltMirror(&empty, nullptr, 0, 0));
    EXPECT_FALSE(empty.BltFlip(&src, nullptr, 0, 0));
    const RECT backwards{2, 2, 0, 0};
    EXPECT_TRUE(dst.BltRotate180(&src, &backwards, 0, 0));
    const RECT huge{-0x7FFFFFFF, -0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF};
    EXPECT_TRUE(dst.BltRotate270(&src, &huge, 0x7FFFFFFF, -0x7FFFFFFF));
}

TEST(MemBitmapTurn, RotatedSizes) {
    const auto size = [](DWORD packed) {
        return std::pair<int, int>(packed >> 16, packed & 0xFFFF);
    };
    EXPECT_EQ(size(CKNMemBitmap::GetRotatedSize(90, 40, 10)), std::pair(10, 40));
    EXPECT_EQ(size(CKNMemBitmap::GetRotatedSize(-270, 40, 10)), std::pair(10, 40));
    EXPECT_EQ(size(CKNMemBitmap::GetRotatedSize(30, 100, 10)), std::pair(92, 59));
    EXPECT_EQ(size(CKNMemBitmap::GetRotatedSize(390, 100, 10)), std::pair(92, 59));
    EXPECT_EQ(size(CKNMemBitmap::GetRotatedSize(0, 100, 10)), std::pair(100, 10));
    EXPECT_EQ(size(CKNMemBitmap::GetRotatedSize(180, 100, 10)), std::pair(100, 10));
    EXPECT_EQ(CKNMemBitmap::GetRotatedSize(std::nan(""), 100, 10), 0u);
    EXPECT_EQ(size(CKNMemBitmap::GetRotateBoundSize(3, 4)), std::pair(6, 6));
    EXPECT_EQ(size(CKNMemBitmap::GetRotateBoundSize(100000, 1)), std::pair(65535, 65535));
}
