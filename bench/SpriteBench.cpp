// The sprite engine against its 10 ms tick: composing a whole 1024 x 768
// frame under 200 moving cards, and one tick with 20 cards in flight.

#include "platform/system/Clock.h"
#include "sprite/FrameImage.h"
#include "sprite/SpriteWnd.h"

#include <benchmark/benchmark.h>

namespace {

void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
}

class BenchTable : public CSpriteWnd {
public:
    using CSpriteWnd::PaintRect;
};

// A card face: a 71 x 96 bitmap with a masked, rounded outline.
struct CardSheet {
    CardSheet() {
        HDC screen = GetDC(nullptr);
        face = CreateCompatibleBitmap(screen, 71, 96);
        mask = CreateCompatibleBitmap(screen, 71, 96);
        ReleaseDC(nullptr, screen);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, face);
        RECT all{0, 0, 71, 96};
        HBRUSH white = CreateSolidBrush(RGB(250, 250, 240));
        FillRect(dc, &all, white);
        SelectObject(dc, mask);
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        for (POINT corner : {POINT{0, 0}, POINT{70, 0}, POINT{0, 95}, POINT{70, 95}})
            SetPixel(dc, corner.x, corner.y, RGB(255, 255, 255));
        SelectObject(dc, old);
        DeleteObject(white);
        DeleteDC(dc);
    }
    ~CardSheet() {
        DeleteObject(face);
        DeleteObject(mask);
    }
    HBITMAP face;
    HBITMAP mask;
};

struct Table {
    Table(int cards, int spread, int passes = 0) {
        wnd.CreateEx(0, nullptr, "bench", WS_POPUP, 0, 0, 1024, 768, nullptr, nullptr);
        auto* image = new CAlphaFrameImage;
        image->AddFrame(sheet.face, nullptr, 0);
        image->SetMask(sheet.mask, nullptr);
        POSITION pos = wnd.GetImageList().Add(image);
        for (int i = 0; i < cards; ++i) {
            CSpriteLine* line = CreateSpriteLine(kLineStraight);
            const int x = (i * 37) % (1024 - 71), y = (i * 53) % (768 - 96);
            line->Init(x, y, 0, (x + spread) % 950, (y + spread / 2) % 670, 0, 255, -1, 255, 255);
            POSITION s = wnd.AddSprite(pos, line, i, i, passes, 0, nullptr, FALSE);
            wnd.StartSprite(s, 0, 0, -1, -1, TRUE);
        }
    }
    ~Table() { wnd.DestroyWindow(); }
    platform::ManualClock clock;
    platform::ScopedClock scoped{clock};
    CardSheet sheet;
    BenchTable wnd;
};

void BM_FullFrame200Cards(benchmark::State& state) {
    Table table(200, 300);
    table.clock.Advance(500);
    Pump();
    for (auto _ : state)
        table.wnd.PaintRect(RECT{0, 0, 1024, 768});
}
BENCHMARK(BM_FullFrame200Cards)->Unit(benchmark::kMicrosecond);

void BM_Tick20CardsInFlight(benchmark::State& state) {
    Table table(20, 400);
    for (auto _ : state) {
        table.clock.Advance(10);
        Pump(); // the motion steps and the flush of what they dirtied
    }
}
BENCHMARK(BM_Tick20CardsInFlight)->Unit(benchmark::kMicrosecond);

// Cards that have arrived and stay: they keep their channels but no timers.
void BM_TickNothingMoving(benchmark::State& state) {
    Table table(200, 0, 1);
    table.clock.Advance(100);
    Pump();
    for (auto _ : state) {
        table.clock.Advance(10);
        Pump();
    }
}
BENCHMARK(BM_TickNothingMoving)->Unit(benchmark::kMicrosecond);

} // namespace
