// The table window against its 10 ms tick: one tick while a deal runs (the
// deal window's cards, backs flying to the seats, my hand growing), and one
// tick at a quiet table after the deal. The deal comes as the program gets
// it, my deal record through the program's client; its shuffle plays untimed.

#include "game/GameLogic.h"
#include "game/StateRecords.h"
#include "platform/system/Clock.h"
#include "sprite/GameLayout.h"
#include "table/client/GameNetClient.h"
#include "table/common/TableAppLink.h"
#include "table/window/GameWnd.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const std::string kThemeFile = std::string(PELLOR_ASSET_DIR) + "/theme_bmp/Default.thm";

void Pump() {
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
}

class BenchApp : public CTableAppLink {
public:
    CString GetThemeFile() const override { return kThemeFile.c_str(); }
};

struct Table {
    Table() {
        SetTableAppLink(&app);
        layout.LoadFrom(kThemeFile.c_str());
        parent.CreateEx(0, nullptr, "bench", WS_POPUP, 0, 0, 1024, 768, nullptr, nullptr);
        wnd = new CGameWnd;
        wnd->SetLayout(&layout);
        wnd->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 768), &parent,
                    CGameWnd::kControlId);
        Pump();
    }
    ~Table() {
        wnd->DestroyWindow(); // deletes the window object
        parent.DestroyWindow();
        Pump();
        SetTableAppLink(nullptr);
    }
    // My deal record through the client, and its shuffle played: the deal
    // is under way, input waits.
    void StartDeal() {
        tagDEALMSG deal;
        InitDealMsg(deal);
        deal.nCount = 36;
        for (int i = 0; i < 36; ++i) {
            deal.hand[i] = CGameLogic::CardFromIndex((i * 7) % 216);
            deal.hand[i].flags = kCardHeld;
        }
        theClient.OnGameMsg(int(sizeof deal), &deal);
        for (int i = 0; i < 3000 && wnd->IsInputAllowed(); ++i)
            Tick();
    }
    void Tick() {
        clock.Advance(10);
        Pump();
    }
    platform::ManualClock clock;
    platform::ScopedClock scoped{clock};
    BenchApp app;
    CGameLayout layout;
    CWnd parent;
    CGameWnd* wnd = nullptr;
};

void BM_TableTickDuringDeal(benchmark::State& state) {
    Table table;
    table.StartDeal();
    for (auto _ : state) {
        if (table.wnd->IsInputAllowed()) {
            state.PauseTiming();
            table.StartDeal();
            state.ResumeTiming();
        }
        table.Tick();
    }
}
BENCHMARK(BM_TableTickDuringDeal)->Unit(benchmark::kMicrosecond);

void BM_TableTickAtAQuietTable(benchmark::State& state) {
    Table table;
    table.StartDeal();
    for (int i = 0; i < 3000 && !table.wnd->IsInputAllowed(); ++i)
        table.Tick();
    for (int i = 0; i < 100; ++i)
        table.Tick();
    for (auto _ : state)
        table.Tick();
    state.counters["channels"] = table.wnd->GetChannelsInUse();
}
BENCHMARK(BM_TableTickAtAQuietTable)->Unit(benchmark::kMicrosecond);

} // namespace
