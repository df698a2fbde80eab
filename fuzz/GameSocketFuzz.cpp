// Frames from the game server handed to the game socket's dispatch, as the
// framing socket hands them over: a header in memory form and exactly the
// payload it announces. The first byte picks the type (one of the game
// connection's, or four bytes of the input as any type), the next four are
// the result word, the rest is the payload. A recording client takes the
// callbacks and reads every text and record to its end; the notices are
// answered by the input instead of a box, and the shell's opener only counts.

#include "Tablehub/GameSocket.h"
#include "Tablehub/Tablehub.h"
#include "platform/system/Shell.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const DWORD kTypes[] = {0x243,      0x160,      0x225,      0x229,      0x22A,      0x22D,
                        0x230,      0x231,      0x234,      0x23B,      0x23D,      0x241,
                        0x250,      0x80000202, 0x800001AB, 0x80000219, 0x8000021A, 0x8000021B,
                        0x8000021C, 0x80000233, 0x8000023C, 0x80000242, 0xFFFFFFFF, 0x244,
                        0x249,      0x1A1};
constexpr size_t kTypeCount = sizeof kTypes / sizeof kTypes[0];

// Sums what it is given, so that every byte of a text or record is read.
class ReadingClient : public CTablehub {
public:
    size_t seen = 0;
    int answer = 1;

    int OnGameMsg(int length, void* record) override {
        const BYTE* bytes = static_cast<const BYTE*>(record);
        for (int i = 0; bytes != nullptr && i < length; ++i)
            seen += bytes[i];
        return 1;
    }
    void OnBreak(char* name) override { Read(name); }
    void OnReConnet(char* name) override { Read(name); }
    int OnTipMessage(UINT id, UINT, UINT) override { return int(id) + answer; }
    int OnTipMessage(LPCSTR text, UINT, UINT) override {
        Read(text);
        return answer;
    }
    void OnLeaveGame(char* text) override { Read(text); }
    void OnEscapeGame(char* text) override { Read(text); }
    void OnRoomBreak(char* text) override { Read(text); }
    void OnNetTimeOut(char* text) override { Read(text); }
    void OnNeedChargeGameCoin(tagGAMECOINCHARGE, LPCSTR text) override { Read(text); }
    void OnChargedGameCoinSuccess(char* text, int, int, WORD) override { Read(text); }
    void OnNeedExchangeGameCoin(DWORD, DWORD, LPCSTR text) override { Read(text); }
    void OnExchangedGameCoinSuccess(char* text, DWORD, DWORD) override { Read(text); }

private:
    void Read(const char* text) { seen += strlen(text); }
};

ReadingClient& Client() {
    static ReadingClient client;
    return client;
}

std::string& SettingsFolder() {
    static std::string folder = "/tmp/pellor-fuzz-XXXXXX";
    return folder;
}

void RemoveSettingsFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(SettingsFolder(), ignored);
}

// The settings of a folder of its own, and no program ever started.
int Prepare() {
    if (mkdtemp(SettingsFolder().data()) != nullptr) {
        setenv("PELLOR_CONFIG_DIR", SettingsFolder().c_str(), 1);
        atexit(RemoveSettingsFolder);
    }
    platform::SetShellExecuteHook([](LPCSTR, LPCSTR, int) { return INT_PTR(42); });
    Client().Init();
    return 0;
}

DWORD WordOf(const uint8_t* bytes) {
    return DWORD(bytes[0]) | DWORD(bytes[1]) << 8 | DWORD(bytes[2]) << 16 | DWORD(bytes[3]) << 24;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int prepared = Prepare();
    (void)prepared;
    if (size < 5)
        return 0;
    DWORD type = 0;
    size_t at = 1;
    if (data[0] < kTypeCount) {
        type = kTypes[data[0]];
    } else {
        if (size < 9)
            return 0;
        type = WordOf(data + 1);
        at = 5;
    }
    // Inflating happens before dispatch: what arrives is plain.
    if (type != kLinkEventFrame)
        type &= ~kFrameCompressed;
    const DWORD result = WordOf(data + at);
    at += 4;
    Client().answer = int(data[0] & 3);

    // The frame as the socket holds it: exactly its header and payload, so
    // that a plain frame has no result word to read.
    const size_t headerSize = FrameHeaderSize(type);
    const size_t length = size - at;
    std::vector<BYTE> frame(headerSize + length);
    memcpy(frame.data(), &type, 4);
    const DWORD announced = DWORD(length);
    memcpy(frame.data() + 4, &announced, 4);
    if (headerSize == sizeof(tagMSGHEADER))
        memcpy(frame.data() + 8, &result, 4);
    memcpy(frame.data() + headerSize, data + at, length);
    GetGameSocket().OnMessage(reinterpret_cast<tagMSGHEADER*>(frame.data()));
    return 0;
}
