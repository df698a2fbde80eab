// The framing socket's hot paths: frames per second through reassembly and
// dispatch (a CKNSocket fed by a loopback peer), and inflating compressed
// frames through KNZip's uncompress against calling zlib's uncompress
// directly on the same data.

#include "knclientbase05/KNSocket.h"
#include "outside/OutsideModules.h"
#include "platform/system/EventLoop.h"
#include "platform/system/Module.h"
#include "platform/window/Messages.h"

#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <cstring>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace {

class CountingSocket : public CKNSocket {
public:
    int64_t frames = 0;
    int64_t payloadBytes = 0;

protected:
    int OnMessage(tagMSGHEADER* frame) override {
        ++frames;
        payloadBytes += frame->length;
        return 0;
    }
    void OnClose(int) override {}
};

void PutWord(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(char(value >> (8 * i)));
}

// A connected CKNSocket and the descriptor of its peer.
struct LoopbackPair {
    LoopbackPair() {
        const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(listener, 1);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        ok = socket.Connect("127.0.0.1", ntohs(address.sin_port), 0) != 0;
        peer = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        ::close(listener);
    }
    ~LoopbackPair() {
        socket.Close();
        if (peer >= 0)
            ::close(peer);
    }

    CountingSocket socket;
    int peer = -1;
    bool ok = false;
};

void PumpOnce() {
    MSG msg;
    int dispatched = 0;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessage(&msg);
        ++dispatched;
    }
    if (dispatched == 0)
        platform::WaitForEvents(1);
}

// The peer writes a batch of frames while the socket reads them, one frame
// per read notification, as the game does.
void BM_FramesThroughReassemblyAndDispatch(benchmark::State& state) {
    RegisterBuiltinModule(KNZipModule());
    LoopbackPair pair;
    if (!pair.ok || pair.peer < 0) {
        state.SkipWithError("loopback connect failed");
        return;
    }
    const int batch = 1000;
    const std::string payload(size_t(state.range(0)), 'p');
    std::string stream;
    for (int i = 0; i < batch; ++i) {
        PutWord(stream, 0x905);
        PutWord(stream, uint32_t(payload.size()));
        stream += payload;
    }
    for (auto _ : state) {
        const int64_t target = pair.socket.frames + batch;
        size_t sent = 0;
        while (pair.socket.frames < target) {
            if (sent < stream.size()) {
                const ssize_t n = ::send(pair.peer, stream.data() + sent, stream.size() - sent,
                                         MSG_DONTWAIT | MSG_NOSIGNAL);
                if (n > 0)
                    sent += size_t(n);
            }
            PumpOnce();
        }
    }
    state.SetItemsProcessed(state.iterations() * batch);
    state.SetBytesProcessed(state.iterations() * int64_t(stream.size()));
}
BENCHMARK(BM_FramesThroughReassemblyAndDispatch)->Arg(16)->Arg(512)->Arg(8192);

// A record-like payload: repeated structure with varying fields, the kind of
// data a game record holds.
std::vector<BYTE> SamplePayload(size_t size) {
    std::vector<BYTE> data(size);
    uint32_t state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        data[i] = (i % 48 < 32) ? BYTE(i % 48) : BYTE((state >> 16) % 54);
    }
    return data;
}

struct CompressedSample {
    explicit CompressedSample(size_t size) : plain(SamplePayload(size)) {
        uLongf packedLength = compressBound(uLong(plain.size()));
        packed.resize(packedLength);
        compress(packed.data(), &packedLength, plain.data(), uLong(plain.size()));
        packed.resize(packedLength);
    }
    std::vector<BYTE> plain;
    std::vector<BYTE> packed;
};

void BM_InflateZlibDirect(benchmark::State& state) {
    const CompressedSample sample{size_t(state.range(0))};
    std::vector<BYTE> out(sample.plain.size());
    for (auto _ : state) {
        uLongf length = uLongf(out.size());
        benchmark::DoNotOptimize(
            uncompress(out.data(), &length, sample.packed.data(), uLong(sample.packed.size())));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(sample.plain.size()));
}
BENCHMARK(BM_InflateZlibDirect)->Arg(4096)->Arg(25632)->Arg(60000);

// KNZip.dll loaded for one benchmark, as the socket loads it.
class KNZipLibrary {
public:
    KNZipLibrary() {
        RegisterBuiltinModule(KNZipModule());
        m_module = LoadLibrary("KNZip.dll");
    }
    ~KNZipLibrary() {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    KNZipLibrary(const KNZipLibrary&) = delete;
    KNZipLibrary& operator=(const KNZipLibrary&) = delete;
    UncompressFunction Uncompress() const {
        return m_module != nullptr
                   ? reinterpret_cast<UncompressFunction>(GetProcAddress(m_module, "uncompress"))
                   : nullptr;
    }

private:
    HMODULE m_module = nullptr;
};

void BM_InflateKNZip(benchmark::State& state) {
    KNZipLibrary zip;
    const UncompressFunction knUncompress = zip.Uncompress();
    if (knUncompress == nullptr) {
        state.SkipWithError("KNZip.dll has no uncompress");
        return;
    }
    const CompressedSample sample{size_t(state.range(0))};
    std::vector<BYTE> out(sample.plain.size());
    for (auto _ : state) {
        DWORD length = DWORD(out.size());
        benchmark::DoNotOptimize(
            knUncompress(out.data(), &length, sample.packed.data(), DWORD(sample.packed.size())));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(sample.plain.size()));
}
BENCHMARK(BM_InflateKNZip)->Arg(4096)->Arg(25632)->Arg(60000);

// The socket's whole inflate step: checks, KNZip's uncompress and the
// rebuilt frame.
void BM_InflateFrame(benchmark::State& state) {
    KNZipLibrary zip;
    const UncompressFunction knUncompress = zip.Uncompress();
    if (knUncompress == nullptr) {
        state.SkipWithError("KNZip.dll has no uncompress");
        return;
    }
    const CompressedSample sample{size_t(state.range(0))};
    std::vector<BYTE> frame(8 + 4 + sample.packed.size());
    auto* header = reinterpret_cast<tagMSGHEADER*>(frame.data());
    header->type = 0x905 | kFrameCompressed;
    header->length = DWORD(4 + sample.packed.size());
    WriteWireWord(&frame[8], DWORD(sample.plain.size()));
    memcpy(&frame[12], sample.packed.data(), sample.packed.size());
    std::vector<BYTE> inflated;
    for (auto _ : state) {
        benchmark::DoNotOptimize(InflateFrame(header, frame.size(), knUncompress, inflated));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(sample.plain.size()));
}
BENCHMARK(BM_InflateFrame)->Arg(4096)->Arg(25632)->Arg(60000);

} // namespace
