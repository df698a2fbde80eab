#pragma once

// The table window's host of the sound plug-in: loads the module from the
// shared game folder named in the registry, creates its object and forwards
// every call. Without the module or its object every operation does nothing,
// and the table goes on without sound.

#include "outside/KNSoundObject.h"
#include "platform/system/Module.h"

class CKNSoundHost {
public:
    CKNSoundHost();
    ~CKNSoundHost();
    CKNSoundHost(const CKNSoundHost&) = delete;
    CKNSoundHost& operator=(const CKNSoundHost&) = delete;

    // 1 when the object exists afterwards.
    BOOL Init(HWND owner, CEventSink* sink, const char* product, const char* setupProduct);
    void ShowPanel(int value);
    void SetPosition(const int point[2], int size);
    void SetPlayerInfo(int seat, int flag);
    // The 128 bytes of a received plug-in record.
    void OnPeerMessage(const void* data);

    BOOL HasObject() const { return m_pObject != nullptr; }

private:
    struct LibraryHolder {
        HMODULE module = nullptr;
    };

    BOOL LoadPlugin();

    HWND m_hOwner;
    int m_nLastSize;
    int m_Position[2];
    LibraryHolder* m_pLibrary;
    IKNSoundObject* m_pObject;
};
