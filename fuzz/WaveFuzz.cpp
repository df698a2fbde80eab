// Arbitrary bytes as a RIFF wave file: the library's wave object reads them
// through a memory file, and the platform's wave reader parses them; as any
// sound file, they are decoded by their bytes (MP3 through libmpg123). Either
// refuses or gives whole frames of a format it plays, never reading outside
// the bytes.

#include "knclientUI05/DirectWave.h"
#include "platform/sound/SoundFile.h"
#include "platform/sound/WaveFile.h"
#include "platform/window/Wnd.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// The wave object wants a main window for its sound object.
void EnsureMainWindow() {
    static CWnd* window = [] {
        auto* w = new CWnd;
        if (!w->CreateEx(0, nullptr, "main", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr))
            abort();
        AfxSetMainWnd(w);
        return w;
    }();
    (void)window;
}

void CheckWave(const platform::Wave& wave) {
    const platform::WaveFormat& f = wave.format;
    if (f.FrameBytes() <= 0 || wave.pcm.size() % size_t(f.FrameBytes()) != 0)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureMainWindow();
    // An exact-size copy, so a read past the end is caught.
    std::vector<char> bytes(data, data + size);
    platform::Wave wave;
    if (platform::ParseWave(bytes.data(), bytes.size(), wave))
        CheckWave(wave);
    // The music player's reading by the bytes: waves, and MP3 through libmpg123.
    if (platform::DecodeSound(bytes.data(), bytes.size(), wave))
        CheckWave(wave);

    if (bytes.empty())
        return 0;
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = bytes.data();
    info.cchBuffer = LONG(bytes.size());
    HMMIO file = mmioOpen(nullptr, &info, MMIO_READ);
    if (!file)
        abort(); // memory files always open
    CDirectWave object;
    if (object.Load(file)) { // Load closes the file
        if (!object.m_pBuffer)
            abort();
        for (IDirectSoundBuffer* duplicate : object.m_pDup)
            if (!duplicate)
                abort();
    }
    return 0;
}
