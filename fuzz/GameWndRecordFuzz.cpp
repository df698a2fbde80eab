// Arbitrary game records handed to the network client as the socket hands
// them over, which checks them and hands what passes to a real table window:
// the fuzzer picks the id and the length, the rest is its bytes. The table's
// state carries over from one input to the next, so later records meet the
// tables, hands and rounds earlier ones built. No input may crash or read out
// of bounds, and a record the client refuses never holds receiving.

#include "game/GameLogic.h"
#include "platform/display/Display.h"
#include "sprite/AppServices.h"
#include "sprite/GameLayout.h"
#include "table/client/GameNetClient.h"
#include "table/window/GameWnd.h"
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

protected:
    int SendRecord(int, void*) override { return 1; }
    void HoldReceive(BOOL) override {}
};

struct Harness {
    FuzzClient client;
    CGameLayout layout;
    CWnd parent;
    CGameWnd* wnd = new CGameWnd;
    Harness() {
        SetLogFileOverride("/dev/null");
        platform::StartDisplay(platform::DisplayKind::Headless);
        if (!parent.CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 1024, 768, nullptr, nullptr))
            abort();
        client.m_nMySeat = 2;
        wnd->SetLayout(&layout);
        wnd->SetClient(&client);
        if (!wnd->Create(nullptr, "", WS_CHILD, CRect(0, 0, 1024, 768), &parent, 100))
            abort();
    }
};

constexpr int kIds[] = {0x901, 0x902, 0x903, 0x904, 0x905, 0x906, 0x907, 0x908, 0x909, 0x90A,
                        0x90B, 0x90D, 0x90E, 0x910, 0x911, 0x912, 0x913, 0x914, 0x915, 0x917,
                        0x918, 0x919, 0x91A, 0x91B, 0x91C, 0x91D, 0x91E, 0x90C, 0x900, 0x91F};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Harness harness;
    if (size < 2 || size > INT_MAX)
        return 0;
    // The first byte picks the id, the second whether I watch; the record is
    // the rest, its first four bytes replaced by the id when it holds them.
    const int id = kIds[data[0] % (sizeof kIds / sizeof kIds[0])];
    harness.client.m_bWatcher = (data[1] & 1) != 0;
    std::vector<uint8_t> record(data + 2, data + size);
    if (record.size() >= 4)
        memcpy(record.data(), &id, 4);
    const int length = int(record.size());
    // Through the client, as the socket hands it over: a refused record never
    // holds receiving.
    std::vector<uint8_t> taken;
    const bool refused =
        TakeReceivedRecord(record.data(), length, theBoard, taken).fault != kReceivedOk;
    harness.client.OnGameMsg(length, record.empty() ? nullptr : record.data());
    if (refused && !harness.wnd->IsReceiveReady())
        abort();
    // The round's end, as the timer brings it.
    if (data[1] & 2)
        harness.wnd->OnUserTimer(kRoundEndTimer);
    harness.wnd->ReceiveGate().Release(CReceiveGate::kRecord);
    return 0;
}
