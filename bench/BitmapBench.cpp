// The UI kit's bitmap work at full-frame size: a window region from a skin
// picture, and a masked draw against a plain copy of the same pixels.

#include "knclientUI05/KNBitmap.h"
#include "knclientUI05/KnClientPublic.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/WindowDc.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr uint32_t kKey = 0xFF00FF;

// A skin background: the key colour around a rounded shape with a few
// holes, noisy inside so no two neighbours repeat a long run.
HBITMAP SkinPicture() {
    HBITMAP bitmap = CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
    platform::Surface* s = platform::SurfaceOfBitmap(bitmap);
    std::mt19937 rng(4);
    for (int y = 0; y < kHeight; ++y) {
        uint32_t* row = s->Row32(y);
        for (int x = 0; x < kWidth; ++x) {
            double dx = (x - kWidth / 2) / double(kWidth / 2),
                   dy = (y - kHeight / 2) / double(kHeight / 2);
            bool inside =
                dx * dx * dx * dx + dy * dy * dy * dy < 1.0 && (x / 64 + y / 64) % 11 != 0;
            row[x] = inside ? (rng() & 0xFFFFFF) | 0x010000 : kKey;
        }
    }
    return bitmap;
}

void BM_RegionFromSkinPicture(benchmark::State& state) {
    HBITMAP picture = SkinPicture();
    for (auto _ : state) {
        HRGN region = CreateRegionFromBitmap(picture, 0, 0);
        benchmark::DoNotOptimize(region);
        DeleteObject(region);
    }
    DeleteObject(picture);
}
BENCHMARK(BM_RegionFromSkinPicture)->Unit(benchmark::kMillisecond);

struct Target {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ~Target() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

// Image and mask side by side, as the skins hold them.
HBITMAP MaskedPair() {
    HBITMAP bitmap = CreateBitmap(2 * kWidth, kHeight, 1, 32, nullptr);
    platform::Surface* s = platform::SurfaceOfBitmap(bitmap);
    std::mt19937 rng(5);
    for (int y = 0; y < kHeight; ++y) {
        uint32_t* row = s->Row32(y);
        for (int x = 0; x < kWidth; ++x) {
            bool transparent = (x / 32 + y / 32) % 3 == 0;
            row[x] = transparent ? 0 : rng() & 0xFFFFFF;
            row[kWidth + x] = transparent ? 0xFFFFFF : 0;
        }
    }
    return bitmap;
}

void BM_MaskedFullFrameDraw(benchmark::State& state) {
    Target target;
    CKNBitmap bitmap;
    bitmap.Attach(MaskedPair());
    CDC* dc = CDC::FromHandle(target.dc);
    for (auto _ : state)
        bitmap.Draw(dc, 0, 0, BD_MASK);
}
BENCHMARK(BM_MaskedFullFrameDraw)->Unit(benchmark::kMillisecond);

// The same pixels copied plainly: the yardstick of the masked draw.
void BM_PlainFullFrameCopy(benchmark::State& state) {
    Target target;
    CKNBitmap bitmap;
    bitmap.Attach(MaskedPair());
    CDC* dc = CDC::FromHandle(target.dc);
    POINT origin{0, 0};
    SIZE image{kWidth, kHeight};
    for (auto _ : state)
        bitmap.Draw(dc, 0, 0, 0, 0, 0, &origin, nullptr, &image);
}
BENCHMARK(BM_PlainFullFrameCopy)->Unit(benchmark::kMillisecond);

} // namespace
