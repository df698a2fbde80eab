// The wave object: loading a RIFF wave into sound buffers and playing them.

#include "knclientUI05/DirectWave.h"

#include "knclientbase05/KNpubSystem.h"
#include "platform/resources/Resource.h"
#include "platform/system/Memory.h"
#include "platform/window/Wnd.h"

#include <algorithm>

namespace {

// The buffer flags: frequency, pan and volume control.
constexpr DWORD kBufferFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
constexpr DWORD kPcmFormatBytes = 16; // a PCM format chunk has no extra-size field

HWND MainWindowHandle() {
    CWnd* main = AfxGetMainWnd();
    return main ? main->m_hWnd : nullptr;
}

bool IsPlayingBuffer(IDirectSoundBuffer* buffer) {
    DWORD status = 0;
    return buffer && SUCCEEDED(buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING);
}

// The format record; a chunk shorter than a PCM record, or a format this
// object cannot play, is refused.
BOOL ReadFormat(HMMIO mmio, const MMCKINFO& riff, WAVEFORMATEX& format) {
    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(mmio, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR ||
        chunk.cksize < kPcmFormatBytes)
        return FALSE;
    format = WAVEFORMATEX{};
    const LONG wanted = LONG(std::min<DWORD>(chunk.cksize, sizeof format));
    if (mmioRead(mmio, reinterpret_cast<HPSTR>(&format), wanted) != wanted)
        return FALSE;
    format.cbSize = 0; // PCM carries nothing past the record
    if (format.wFormatTag != WAVE_FORMAT_PCM || format.nChannels < 1 ||
        (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) || format.nSamplesPerSec == 0 ||
        format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8)
        return FALSE;
    return mmioAscend(mmio, &chunk, 0) == MMSYSERR_NOERROR;
}

// The "data" chunk into a new main buffer. A chunk that claims more than the
// file holds gets a buffer of what is there, so nothing stale ever sounds.
BOOL FillBuffer(CDirectWave& wave, HMMIO mmio, const MMCKINFO& riff, WAVEFORMATEX& format) {
    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(mmio, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return FALSE;
    const LONG at = mmioSeek(mmio, 0, SEEK_CUR);
    const LONG end = mmioSeek(mmio, 0, SEEK_END);
    if (at < 0 || end < at || mmioSeek(mmio, at, SEEK_SET) != at)
        return FALSE;
    DWORD size = std::min<DWORD>(chunk.cksize, DWORD(end - at));
    size -= size % format.nBlockAlign;
    if (size == 0)
        return FALSE;

    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = kBufferFlags;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = &format;
    if (FAILED(wave.m_pDS->CreateSoundBuffer(&desc, &wave.m_pBuffer, nullptr)))
        return FALSE;
    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
    if (FAILED(wave.m_pBuffer->Lock(0, size, &part1, &bytes1, &part2, &bytes2, 0)))
        return FALSE;
    mmioRead(mmio, static_cast<HPSTR>(part1), LONG(bytes1));
    if (bytes2)
        mmioRead(mmio, static_cast<HPSTR>(part2), LONG(bytes2));
    wave.m_pBuffer->Unlock(part1, bytes1, part2, bytes2);
    return TRUE;
}

} // namespace

CDirectWave::CDirectWave() {
    const HWND main = MainWindowHandle();
    m_bValid = main != nullptr;
    if (FAILED(DirectSoundCreate(nullptr, &m_pDS, nullptr))) {
        m_bValid = FALSE;
        m_bCreateFailed = TRUE;
        return;
    }
    m_bCreateFailed = FALSE;
    if (FAILED(m_pDS->SetCooperativeLevel(main, DSSCL_NORMAL)))
        m_bValid = FALSE;
}

CDirectWave::~CDirectWave() {
    if (m_pNotify)
        m_pNotify->Release();
    for (int i = kDuplicates - 1; i >= 0; --i)
        if (m_pDup[i])
            m_pDup[i]->Release();
    if (m_pBuffer)
        m_pBuffer->Release();
    if (m_pDS && !m_bCreateFailed)
        m_pDS->Release();
}

BOOL CDirectWave::CheckMainWindow() {
    m_bValid = MainWindowHandle() != nullptr;
    return m_bValid;
}

BOOL CDirectWave::LoadFile() {
    HMMIO mmio = mmioOpen(m_szName, nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!mmio)
        return FALSE;
    return Load(mmio);
}

BOOL CDirectWave::LoadResource(LPCSTR name) {
    if (!name)
        return FALSE;
    HMODULE module = AfxGetResourceHandle();
    HRSRC found = FindResource(module, name, "WAVE");
    if (!found) {
        DebugTrace("WAVE resource not found");
        return FALSE;
    }
    HGLOBAL loaded = ::LoadResource(module, found);
    if (!loaded) {
        DebugTrace("Failed to load WAVE resource");
        return FALSE;
    }
    auto* bytes = static_cast<char*>(LockResource(loaded));
    const DWORD size = SizeofResource(module, found);
    DWORD oldProtection = 0;
    VirtualProtect(bytes, size, PAGE_READWRITE, &oldProtection);
    MMIOINFO info{};
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = bytes;
    info.cchBuffer = LONG(size);
    HMMIO mmio = mmioOpen(nullptr, &info, MMIO_READ);
    if (!mmio) {
        DebugTrace("mmioOpen failed. Error %d\n", int(info.wErrorRet));
        return FALSE;
    }
    return Load(mmio);
}

BOOL CDirectWave::Load(HMMIO mmio) {
    if (!mmio)
        return FALSE;
    BOOL loaded = m_pDS != nullptr && !m_pBuffer;
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    WAVEFORMATEX format{};
    loaded = loaded && mmioDescend(mmio, &riff, nullptr, MMIO_FINDRIFF) == MMSYSERR_NOERROR &&
             ReadFormat(mmio, riff, format) && FillBuffer(*this, mmio, riff, format);
    mmioClose(mmio, 0);
    if (!loaded)
        return FALSE;
    for (IDirectSoundBuffer*& duplicate : m_pDup)
        if (FAILED(m_pDS->DuplicateSoundBuffer(m_pBuffer, &duplicate)))
            return FALSE;
    return TRUE;
}

void CDirectWave::Play(DWORD flags) {
    if (!m_pBuffer)
        return;
    IDirectSoundBuffer* idle = nullptr;
    if (!IsPlayingBuffer(m_pBuffer)) {
        idle = m_pBuffer;
    } else {
        for (IDirectSoundBuffer* duplicate : m_pDup)
            if (duplicate && !IsPlayingBuffer(duplicate)) {
                idle = duplicate;
                break;
            }
    }
    if (!idle)
        return;
    DebugTrace("\nplay the wave file\n");
    idle->Play(0, 0, flags);
}

void CDirectWave::Stop() {
    auto stop = [](IDirectSoundBuffer* buffer) {
        if (IsPlayingBuffer(buffer)) {
            buffer->Stop();
            buffer->SetCurrentPosition(0);
        }
    };
    stop(m_pBuffer);
    for (IDirectSoundBuffer* duplicate : m_pDup)
        stop(duplicate);
}

BOOL CDirectWave::IsPlaying() {
    if (!m_pBuffer)
        return FALSE;
    if (IsPlayingBuffer(m_pBuffer))
        return TRUE;
    return std::any_of(std::begin(m_pDup), std::end(m_pDup), IsPlayingBuffer);
}

void CDirectWave::SetNotify(IDirectSoundBuffer* buffer, DWORD offset, HANDLE event) {
    if (!buffer || IsPlayingBuffer(buffer))
        return;
    // A notification interface asked for before is let go, not leaked.
    if (m_pNotify) {
        m_pNotify->Release();
        m_pNotify = nullptr;
    }
    void* notify = nullptr;
    if (FAILED(buffer->QueryInterface(IID_IDirectSoundNotify, &notify)))
        return;
    m_pNotify = static_cast<IDirectSoundNotify*>(notify);
    DSBPOSITIONNOTIFY position{offset, event};
    m_pNotify->SetNotificationPositions(1, &position);
}
