// Arbitrary game records through the network client's dispatch: the fuzzer
// picks the id (every id of the records, and ids no record uses) and the
// length; the rest is its bytes. A record the table window gets must have
// passed the checks, must read as its layout, and every hold of receiving
// must belong to a record that was handed over.

#include "game/GameLogic.h"
#include "game/GameRecords.h"
#include "platform/display/Display.h"
#include "sprite/AppServices.h"
#include "table/client/GameNetClient.h"
#include "table/client/ReceivedRecords.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class FuzzClient : public CGameNetClient {
public:
    FuzzClient() : CGameNetClient(theBoard) {}
    int holds = 0;
    int releases = 0;

protected:
    int SendRecord(int, void*) override { return 1; }
    void HoldReceive(BOOL hold) override { ++(hold ? holds : releases); }
};

class FuzzTable : public CWnd, public CGameWndLink {
public:
    int handed = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GAME_RECORD) {
            const void* record = reinterpret_cast<const void*>(lParam);
            if (CheckReceivedRecord(record, int(wParam)).fault != kReceivedOk)
                abort();
            // Reading every byte the length claims must stay in bounds.
            volatile uint8_t sum = 0;
            for (WPARAM i = 0; i < wParam; ++i)
                sum = sum + static_cast<const uint8_t*>(record)[i];
            ++handed;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    HWND GetLinkWindow() const override { return m_hWnd; }
    void ShowNotice(LPCSTR) override {}
    void ShowStartButtons(BOOL) override {}
    void StopSprite(int) override {}
    void ShowSeatMark(int, BOOL) override {}
    void ResetTable() override {}
    void HideFreeSeatMarks() override {}
    void RedrawTableInfo() override {}
    void UpdateSeatCards(int) override {}
    void RefreshUserList() override {}
    BOOL IsGameOverMarkShown() const override { return FALSE; }
    int GetMultiple() const override { return 1; }
    void ShowStartPane(BOOL, int) override {}
    void GetWatcherValues(int* beans, int* score) const override { *beans = *score = 0; }
    void OnChangeSeatScene() override {}
    void RefreshSeat(int) override {}
    void ShowExchangeMark(int) override {}
    void OpenChargeDialog(const DWORD*) override {}
    void OpenExchangeDialog(DWORD) override {}
};

struct Harness {
    FuzzClient client;
    FuzzTable table;
    Harness() {
        SetLogFileOverride("/dev/null");
        platform::StartDisplay(platform::DisplayKind::Headless);
        if (!table.CreateEx(0, nullptr, "table", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr))
            abort();
        client.SetGameWnd(&table);
    }
};

// Ids of every record, then some that no record uses.
constexpr int kIds[] = {0x901, 0x902, 0x903, 0x904, 0x905, 0x906, 0x907, 0x908, 0x909, 0x90A, 0x90B,
                        0x90D, 0x90E, 0x910, 0x911, 0x912, 0x913, 0x914, 0x915, 0x917, 0x918, 0x919,
                        0x91A, 0x91B, 0x91C, 0x91D, 0x91E, 0x90C, 0x90F, 0x916, 0x900, 0x91F, 0};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness harness;
    if (size < 1 || size > INT_MAX)
        return 0;
    // The first byte picks the id; the record is the rest, its first four
    // bytes replaced by the id when it is long enough to hold them.
    const int id = kIds[data[0] % (sizeof kIds / sizeof kIds[0])];
    std::vector<uint8_t> record(data + 1, data + size);
    if (record.size() >= 4)
        memcpy(record.data(), &id, 4);
    const int handedBefore = harness.table.handed;
    const int holdsBefore = harness.client.holds;
    const int releasesBefore = harness.client.releases;
    harness.client.OnGameMsg(int(record.size()), record.empty() ? nullptr : record.data());
    const bool handed = harness.table.handed != handedBefore;
    const int holds = harness.client.holds - holdsBefore;
    // A refused record neither reaches the window nor holds receiving.
    if (holds > 0 && !handed)
        abort();
    if (harness.client.releases != releasesBefore)
        abort(); // the window exists, so nothing is released here
    return 0;
}
