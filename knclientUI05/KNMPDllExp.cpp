// Binding the music-player library and forwarding to it.

#include "knclientUI05/KNMPDllExp.h"

#include "knclientbase05/KNpubSystem.h"

#include <algorithm>
#include <cstring>

namespace {

// A copy of the name in the library's 260-byte field; false when it does
// not fit (the name is refused, not cut: a cut name would be another file).
bool CopyName(const char* name, char (&field)[MAX_PATH]) {
    if (!name)
        return false;
    const size_t length = strnlen(name, CKNMPDllExp::kMaxName + 1);
    if (length > CKNMPDllExp::kMaxName) {
        DebugTrace("music name of more than %u bytes refused", unsigned(CKNMPDllExp::kMaxName));
        return false;
    }
    memcpy(field, name, length + 1);
    return true;
}

template <typename T> T Export(HMODULE module, const char* name) {
    return reinterpret_cast<T>(GetProcAddress(module, name));
}

} // namespace

CKNMPDllExp::~CKNMPDllExp() {
    if (m_hModule)
        FreeLibrary(m_hModule);
}

int CKNMPDllExp::Load() {
    // Loading again lets the earlier load go, so references do not pile up;
    // a load that fails leaves no export of the earlier one behind.
    if (m_hModule)
        FreeLibrary(m_hModule);
    m_hModule = nullptr;
    m_pfnInit = m_pfnIsValid = m_pfnGetMute = nullptr;
    m_pfnPlayFile = nullptr;
    m_pfnStopPlayName = nullptr;
    m_pfnStopPlayID = m_pfnDeleteMusic = m_pfnSetVolume = m_pfnSetMute = nullptr;
    m_pfnCloseAll = nullptr;
    m_pfnSetVolumeF = nullptr;
    m_pfnSetVolumeD = nullptr;
    m_hModule = LoadLibrary("KNMPDll.dll");
    if (!m_hModule)
        return 0;
    m_pfnInit = Export<IntOfNothing>(m_hModule, "KNMPInit");
    m_pfnIsValid = Export<IntOfNothing>(m_hModule, "KNMPIsValid");
    m_pfnPlayFile = Export<IntOfNameInt>(m_hModule, "KNMPPlayFile");
    m_pfnStopPlayName = Export<VoidOfName>(m_hModule, "KNMPStopPlayName");
    m_pfnStopPlayID = Export<VoidOfInt>(m_hModule, "KNMPStopPlayID");
    m_pfnCloseAll = Export<VoidOfNothing>(m_hModule, "KNMPCloseAll");
    m_pfnDeleteMusic = Export<VoidOfInt>(m_hModule, "KNMPDeleteMusic");
    m_pfnSetVolume = Export<VoidOfInt>(m_hModule, "KNMPSetVolume");
    m_pfnSetMute = Export<VoidOfInt>(m_hModule, "KNMPSetMute");
    m_pfnGetMute = Export<IntOfNothing>(m_hModule, "KNMPGetMute");
    m_pfnSetVolumeF = Export<VoidOfNameInt>(m_hModule, "KNMPSetVolumeF");
    m_pfnSetVolumeD = Export<VoidOfIntInt>(m_hModule, "KNMPSetVolumeD");
    return m_pfnInit ? m_pfnInit() : 0;
}

// A remainder by 100 would make full volume (100) silent: the volume is
// kept within 0..100 instead and passed as it is.
int CKNMPDllExp::VolumeForLibrary(int volume) {
    return std::clamp(volume, 0, 100);
}

int CKNMPDllExp::IsValid() {
    return m_pfnIsValid ? m_pfnIsValid() : 0;
}

int CKNMPDllExp::PlayFile(const char* name, int value) {
    char field[MAX_PATH];
    if (!m_pfnPlayFile || !CopyName(name, field))
        return 0;
    return m_pfnPlayFile(field, value);
}

void CKNMPDllExp::StopPlayName(const char* name) {
    char field[MAX_PATH];
    if (m_pfnStopPlayName && CopyName(name, field))
        m_pfnStopPlayName(field);
}

void CKNMPDllExp::StopPlayID(int id) {
    if (m_pfnStopPlayID)
        m_pfnStopPlayID(id);
}

void CKNMPDllExp::CloseAll() {
    if (m_pfnCloseAll)
        m_pfnCloseAll();
}

void CKNMPDllExp::DeleteMusic(int id) {
    if (m_pfnDeleteMusic)
        m_pfnDeleteMusic(id);
}

void CKNMPDllExp::SetVolume(int volume) {
    if (m_pfnSetVolume)
        m_pfnSetVolume(VolumeForLibrary(volume));
}

void CKNMPDllExp::SetMute(int mute) {
    if (m_pfnSetMute)
        m_pfnSetMute(mute);
}

int CKNMPDllExp::GetMute() {
    return m_pfnGetMute ? m_pfnGetMute() : 0;
}

void CKNMPDllExp::SetVolumeF(const char* name, int volume) {
    char field[MAX_PATH];
    if (m_pfnSetVolumeF && CopyName(name, field))
        m_pfnSetVolumeF(field, VolumeForLibrary(volume));
}

void CKNMPDllExp::SetVolumeD(int id, int volume) {
    if (m_pfnSetVolumeD)
        m_pfnSetVolumeD(id, VolumeForLibrary(volume));
}
