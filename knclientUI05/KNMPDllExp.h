#pragma once

// The binder of the outside music-player library "KNMPDll.dll": loads it by
// name and forwards to its twelve exports. A missing library or export makes
// that operation do nothing (0 where it answers).

#include "knbase05/TablehubApi.h"
#include "platform/system/Module.h"

class TABLEHUB_API CKNMPDllExp {
public:
    // Names longer than this are refused (they do not fit the library's
    // 260-byte name field).
    static constexpr size_t kMaxName = MAX_PATH - 1;

    CKNMPDllExp() = default;
    virtual ~CKNMPDllExp();
    CKNMPDllExp(const CKNMPDllExp&) = delete;
    CKNMPDllExp& operator=(const CKNMPDllExp&) = delete;

    // Loads the library (again: the earlier load is let go first) and
    // initialises it: the initialiser's answer, 0 without one.
    int Load();
    int IsValid();
    int PlayFile(const char* name, int value);
    void StopPlayName(const char* name);
    void StopPlayID(int id);
    void CloseAll();
    void DeleteMusic(int id);
    // Volumes are 0..100: others are brought into that range.
    void SetVolume(int volume);
    void SetMute(int mute);
    int GetMute();
    void SetVolumeF(const char* name, int volume);
    void SetVolumeD(int id, int volume);

    static int VolumeForLibrary(int volume);

private:
    typedef int(WINAPI* IntOfNothing)();
    typedef int(WINAPI* IntOfNameInt)(char*, int);
    typedef void(WINAPI* VoidOfName)(char*);
    typedef void(WINAPI* VoidOfInt)(int);
    typedef void(WINAPI* VoidOfNothing)();
    typedef void(WINAPI* VoidOfNameInt)(char*, int);
    typedef void(WINAPI* VoidOfIntInt)(int, int);

    HMODULE m_hModule = nullptr;
    IntOfNothing m_pfnInit = nullptr;
    IntOfNothing m_pfnIsValid = nullptr;
    IntOfNameInt m_pfnPlayFile = nullptr;
    VoidOfName m_pfnStopPlayName = nullptr;
    VoidOfInt m_pfnStopPlayID = nullptr;
    VoidOfNothing m_pfnCloseAll = nullptr;
    VoidOfInt m_pfnDeleteMusic = nullptr;
    VoidOfInt m_pfnSetVolume = nullptr;
    VoidOfInt m_pfnSetMute = nullptr;
    IntOfNothing m_pfnGetMute = nullptr;
    VoidOfNameInt m_pfnSetVolumeF = nullptr;
    VoidOfIntInt m_pfnSetVolumeD = nullptr;
};
