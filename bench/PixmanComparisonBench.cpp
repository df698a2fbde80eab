// Our blits side by side with pixman, the rasteriser desktops use, over one
// full 1024 x 768 frame of 32-bit pixels. Both sides work on the same bitmap
// memory (page-aligned, one row after the other) and the same content, so the
// ratios in one run compare the code and not the data. pixman is linked into
// this benchmark only.
//
// The pairs:
// - copy: BitBlt SRCCOPY, pixman SRC, and memcpy of the same bytes;
// - colour key: TransparentBlt, and pixman OVER through an a8 mask that is 0
//   where the source holds the key and 255 elsewhere. pixman has no colour
//   key; the mask asks it the same per-pixel question (draw or keep), and the
//   mask is built before timing, so pixman does not even pay for finding the
//   key: our side is at a disadvantage, not an advantage;
// - per-pixel alpha: AlphaBlend with AC_SRC_ALPHA, and pixman OVER of
//   premultiplied a8r8g8b8 onto a8r8g8b8;
// - constant alpha: AlphaBlend with SourceConstantAlpha 0x80, and pixman OVER
//   of the x8r8g8b8 source through a solid mask of alpha 0x80.

#include "bench/BenchFrame.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <vector>

namespace {

using bench::Frame;
using bench::kFrameHeight;
using bench::kFrameWidth;

constexpr int64_t kFrameBytes = int64_t(kFrameWidth) * kFrameHeight * 4;

// A pixman image over a frame's pixels (no copy).
pixman_image_t* ImageOf(const Frame& frame, pixman_format_code_t format) {
    return pixman_image_create_bits(format, frame.surface->Width(), frame.surface->Height(),
                                    frame.Bits(), frame.Stride());
}

void Done(benchmark::State& state) {
    state.SetBytesProcessed(int64_t(state.iterations()) * kFrameBytes);
}

// Times one pixman composite over the whole frame, then releases the images
// (the mask may be null).
void TimeComposite(benchmark::State& state, pixman_op_t op, pixman_image_t* src,
                   pixman_image_t* mask, pixman_image_t* dst) {
    for (auto _ : state) {
        pixman_image_composite32(op, src, mask, dst, 0, 0, 0, 0, 0, 0, kFrameWidth, kFrameHeight);
        benchmark::ClobberMemory();
    }
    for (pixman_image_t* image : {src, mask, dst})
        if (image)
            pixman_image_unref(image);
    Done(state);
}

// Copy.

void BM_Copy_Memcpy(benchmark::State& state) {
    Frame src, dst;
    src.FillBackground();
    for (auto _ : state) {
        std::memcpy(dst.Bits(), src.Bits(), size_t(kFrameBytes));
        benchmark::ClobberMemory();
    }
    Done(state);
}
BENCHMARK(BM_Copy_Memcpy);

void BM_Copy_BitBlt(benchmark::State& state) {
    Frame src, dst;
    src.FillBackground();
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kFrameWidth, kFrameHeight, src.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    Done(state);
}
BENCHMARK(BM_Copy_BitBlt);

void BM_Copy_Pixman(benchmark::State& state) {
    Frame src, dst;
    src.FillBackground();
    pixman_image_t* s = ImageOf(src, PIXMAN_x8r8g8b8);
    pixman_image_t* d = ImageOf(dst, PIXMAN_x8r8g8b8);
    TimeComposite(state, PIXMAN_OP_SRC, s, nullptr, d);
}
BENCHMARK(BM_Copy_Pixman);

// Colour key.

constexpr uint32_t kKeyPixel = 0x00FF00FF;

void BM_ColourKey_TransparentBlt(benchmark::State& state) {
    Frame src, dst;
    src.FillSprite(kKeyPixel);
    dst.FillBackground();
    for (auto _ : state) {
        TransparentBlt(dst.dc, 0, 0, kFrameWidth, kFrameHeight, src.dc, 0, 0, kFrameWidth,
                       kFrameHeight, RGB(255, 0, 255));
        benchmark::ClobberMemory();
    }
    Done(state);
}
BENCHMARK(BM_ColourKey_TransparentBlt);

void BM_ColourKey_PixmanMask(benchmark::State& state) {
    Frame src, dst;
    src.FillSprite(kKeyPixel);
    dst.FillBackground();
    std::vector<uint8_t> mask(size_t(kFrameWidth) * kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            mask[size_t(y) * kFrameWidth + x] =
                (src.surface->Row32(y)[x] & 0xFFFFFF) == kKeyPixel ? 0 : 255;
    pixman_image_t* s = ImageOf(src, PIXMAN_x8r8g8b8);
    pixman_image_t* m =
        pixman_image_create_bits(PIXMAN_a8, kFrameWidth, kFrameHeight,
                                 reinterpret_cast<uint32_t*>(mask.data()), kFrameWidth);
    pixman_image_t* d = ImageOf(dst, PIXMAN_a8r8g8b8);
    TimeComposite(state, PIXMAN_OP_OVER, s, m, d);
}
BENCHMARK(BM_ColourKey_PixmanMask);

// Per-pixel alpha.

void BM_PerPixelAlpha_AlphaBlend(benchmark::State& state) {
    Frame src, dst;
    src.FillSprite(0);
    dst.FillBackground();
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (auto _ : state) {
        AlphaBlend(dst.dc, 0, 0, kFrameWidth, kFrameHeight, src.dc, 0, 0, kFrameWidth, kFrameHeight,
                   blend);
        benchmark::ClobberMemory();
    }
    Done(state);
}
BENCHMARK(BM_PerPixelAlpha_AlphaBlend);

void BM_PerPixelAlpha_PixmanOver(benchmark::State& state) {
    Frame src, dst;
    src.FillSprite(0);
    dst.FillBackground();
    pixman_image_t* s = ImageOf(src, PIXMAN_a8r8g8b8);
    pixman_image_t* d = ImageOf(dst, PIXMAN_a8r8g8b8);
    TimeComposite(state, PIXMAN_OP_OVER, s, nullptr, d);
}
BENCHMARK(BM_PerPixelAlpha_PixmanOver);

// Constant alpha.

constexpr BYTE kConstantAlpha = 0x80;

void BM_ConstantAlpha_AlphaBlend(benchmark::State& state) {
    Frame src, dst;
    src.FillBackground();
    dst.FillBackground();
    BLENDFUNCTION blend{AC_SRC_OVER, 0, kConstantAlpha, 0};
    for (auto _ : state) {
        AlphaBlend(dst.dc, 0, 0, kFrameWidth, kFrameHeight, src.dc, 0, 0, kFrameWidth, kFrameHeight,
                   blend);
        benchmark::ClobberMemory();
    }
    Done(state);
}
BENCHMARK(BM_ConstantAlpha_AlphaBlend);

void BM_ConstantAlpha_PixmanSolidMask(benchmark::State& state) {
    Frame src, dst;
    src.FillBackground();
    dst.FillBackground();
    pixman_image_t* s = ImageOf(src, PIXMAN_x8r8g8b8);
    pixman_color_t alpha{0, 0, 0, uint16_t(kConstantAlpha * 0x101)};
    pixman_image_t* m = pixman_image_create_solid_fill(&alpha);
    pixman_image_t* d = ImageOf(dst, PIXMAN_a8r8g8b8);
    TimeComposite(state, PIXMAN_OP_OVER, s, m, d);
}
BENCHMARK(BM_ConstantAlpha_PixmanSolidMask);

} // namespace
