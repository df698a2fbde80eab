#pragma once

// The application's profile as the framework keeps it in the registry:
// HKEY_CURRENT_USER "Software\<company>\<profile name>\<section>". The
// profile name is the program's name unless set; some readings take it as
// "Share" for a moment to reach the platform's shared settings.

#include "platform/CString.h"

// The company key under "Software" (MFC's SetRegistryKey); "Quillane\Game"
// until the program sets it.
LPCSTR GetAppRegistryKey();
void SetAppRegistryKey(LPCSTR company);
LPCSTR GetAppProfileName();
void SetAppProfileName(LPCSTR name);
// An empty section is the profile's own key.
CString GetAppProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue);

// Swaps the profile name for the lifetime of the object.
class CAppProfileNameSwap {
public:
    explicit CAppProfileNameSwap(LPCSTR name);
    ~CAppProfileNameSwap();
    CAppProfileNameSwap(const CAppProfileNameSwap&) = delete;
    CAppProfileNameSwap& operator=(const CAppProfileNameSwap&) = delete;

private:
    CString m_strSaved;
};

// The platform's shared folder as the "Share" profile records it.
CString GetShareProfilePath();
