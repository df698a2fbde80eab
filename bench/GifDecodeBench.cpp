// Decoding a 17-frame animated GIF of the table's size with the library's
// own decoder and with giflib, in one run: their times' ratio is the figure
// to watch (the goal is within 1.5 times giflib's).

#include "kngif/kngif89lib.h"
#include "tests/support/GifFixtures.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kFrames = 17;

// A table-like animation: a felt gradient, cards of flat colour moving
// across it, and a noisy patch (an avatar) that changes every frame.
const std::string& Animation() {
    static const std::string file = [] {
        std::vector<COLORREF> palette;
        for (int i = 0; i < 256; ++i)
            palette.push_back(RGB(i, (i * 3) & 0xFF, (i * 7) & 0xFF));
        gif_fixture::Builder builder(kWidth, kHeight, palette);
        std::mt19937 rng(7);
        for (int n = 0; n < kFrames; ++n) {
            gif_fixture::Frame f;
            f.width = kWidth;
            f.height = kHeight;
            f.interlaced = n % 4 == 3;
            f.pixels = gif_fixture::Pixels(kWidth, kHeight, [&](int x, int y) {
                const int card = ((x - n * 40) / 90 + y / 130) & 7;
                if (y > 200 && y < 330 && ((x - n * 40) % 90) < 70)
                    return 200 + card;
                if (x > 880 && y > 600)
                    return int(rng() & 0xFF);
                return 16 + (x / 24 + y / 32) % 48;
            });
            builder.Add(f);
        }
        return builder.Finish();
    }();
    return file;
}

void OurDecoder(benchmark::State& state) {
    const std::string& file = Animation();
    size_t pixels = 0;
    for (auto _ : state) {
        HKNGIF gif =
            GifOpenMemory(reinterpret_cast<const BYTE*>(file.data()), DWORD(file.size()), TRUE);
        int frames = 0;
        while (GifFrameRecord* record = GifGetNextFrameRecord(gif)) {
            pixels += record->pixelSize;
            benchmark::DoNotOptimize(record->pixels[0]);
            GifFreeFrameRecord(record);
            ++frames;
        }
        GifClose(gif);
        if (frames != kFrames)
            state.SkipWithError("not every frame decoded");
    }
    state.counters["frames/s"] =
        benchmark::Counter(double(kFrames), benchmark::Counter::kIsIterationInvariantRate);
}

struct Reader {
    const std::string* file;
    size_t position;
};

int ReadMemory(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<Reader*>(gif->UserData);
    const size_t count = std::min(size_t(wanted), reader->file->size() - reader->position);
    std::memcpy(out, reader->file->data() + reader->position, count);
    reader->position += count;
    return int(count);
}

// giflib's streaming reader, frame by frame into a buffer of the same size.
int GiflibFrames(const std::string& file, std::vector<GifPixelType>& pixels) {
    Reader reader{&file, 0};
    int error = 0, frames = 0;
    GifFileType* gif = DGifOpen(&reader, ReadMemory, &error);
    GifRecordType type;
    while (gif && DGifGetRecordType(gif, &type) == GIF_OK && type != TERMINATE_RECORD_TYPE) {
        if (type == EXTENSION_RECORD_TYPE) {
            int code;
            GifByteType* block;
            DGifGetExtension(gif, &code, &block);
            while (block)
                DGifGetExtensionNext(gif, &block);
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) != GIF_OK)
            break;
        const int w = gif->Image.Width, h = gif->Image.Height;
        pixels.resize(size_t(w) * size_t(h));
        bool ok = true;
        for (int y = 0; y < h && ok; ++y)
            ok = DGifGetLine(gif, &pixels[size_t(y) * size_t(w)], w) == GIF_OK;
        frames += ok;
        benchmark::DoNotOptimize(pixels[0]);
    }
    if (gif)
        DGifCloseFile(gif, &error);
    return frames;
}

void Giflib(benchmark::State& state) {
    const std::string& file = Animation();
    std::vector<GifPixelType> pixels;
    for (auto _ : state)
        if (GiflibFrames(file, pixels) != kFrames)
            state.SkipWithError("not every frame decoded");
    state.counters["frames/s"] =
        benchmark::Counter(double(kFrames), benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(OurDecoder)->Name("GifDecode/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Giflib)->Name("GifDecode/giflib")->Unit(benchmark::kMillisecond);
