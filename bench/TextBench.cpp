// Text drawing with cached glyphs, measuring, and picture decoding.

#include "platform/gdi/Gdi.h"
#include "platform/images/BmpFile.h"
#include "platform/images/PngFile.h"
#include "platform/text/Text.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

// Twenty double-byte characters (the literal is GBK at run time).
const char* const kLine = "网络连接关闭请稍后再试游戏大厅玩家列表更新中";

class TextTarget {
public:
    TextTarget() {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, 400, 40);
        oldBitmap = SelectObject(dc, bitmap);
        font = CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 3, 2, 1, 2, "宋体");
        oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
    }
    ~TextTarget() {
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(font);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HFONT font;
    HGDIOBJ oldBitmap;
    HGDIOBJ oldFont;
};

void BM_TextOutCjkLineCached(benchmark::State& state) {
    TextTarget target;
    int length = int(std::strlen(kLine));
    TextOut(target.dc, 4, 4, kLine, length); // renders and caches the glyphs
    for (auto _ : state)
        benchmark::DoNotOptimize(TextOut(target.dc, 4, 4, kLine, length));
}
BENCHMARK(BM_TextOutCjkLineCached)->Unit(benchmark::kMicrosecond);

void BM_DrawTextCentredEllipsis(benchmark::State& state) {
    TextTarget target;
    RECT rect{0, 0, 200, 40};
    for (auto _ : state)
        benchmark::DoNotOptimize(DrawText(
            target.dc, kLine, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS));
}
BENCHMARK(BM_DrawTextCentredEllipsis)->Unit(benchmark::kMicrosecond);

void BM_MeasureCjkLine(benchmark::State& state) {
    TextTarget target;
    SIZE size;
    int length = int(std::strlen(kLine));
    for (auto _ : state)
        benchmark::DoNotOptimize(GetTextExtentPoint32(target.dc, kLine, length, &size));
}
BENCHMARK(BM_MeasureCjkLine)->Unit(benchmark::kMicrosecond);

// A full frame (1024 x 768) as a .bmp file at the given depth.
std::string FrameFile(platform::BmpFormat format) {
    platform::PixelImage image;
    image.Reset(1024, 768);
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            image.At(x, y) = format == platform::BmpFormat::Indexed8
                                 ? platform::MakePixel((x / 64) * 16, (y / 48) * 16, 0)
                                 : platform::MakePixel(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF);
    std::string file;
    platform::EncodeBmp(image, format, file);
    return file;
}

void BM_DecodeBmp(benchmark::State& state, platform::BmpFormat format) {
    std::string file = FrameFile(format);
    platform::PixelImage image;
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::DecodeBmp(file.data(), file.size(), image));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}
BENCHMARK_CAPTURE(BM_DecodeBmp, frame24, platform::BmpFormat::Rgb24)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DecodeBmp, frame8, platform::BmpFormat::Indexed8)
    ->Unit(benchmark::kMillisecond);

void BM_EncodePngFrame(benchmark::State& state) {
    std::string file = FrameFile(platform::BmpFormat::Rgb24);
    platform::PixelImage image;
    platform::DecodeBmp(file.data(), file.size(), image);
    std::string png;
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::EncodePng(image, png));
}
BENCHMARK(BM_EncodePngFrame)->Unit(benchmark::kMillisecond);

} // namespace
