#include "app/GameAppLink.h"

#include "app/GameApp.h"
#include "app/MainFrame.h"
#include "sprite/Theme.h"

CString CGameAppLink::GetThemeFile() const {
    return theApp.m_strThemeFileBmp.IsEmpty() ? CTableAppLink::GetThemeFile()
                                              : theApp.m_strThemeFileBmp;
}

int CGameAppLink::GetCardOrder() const {
    return theApp.m_settings.m_nCardOrder;
}

int CGameAppLink::GetClockOrder() const {
    return theApp.m_settings.m_nClockOrder;
}

int CGameAppLink::BeginGameClockOrder() {
    theApp.m_settings.m_nClockOrder = theApp.m_settings.m_nClockOrderNext;
    return theApp.m_settings.m_nClockOrder;
}

BOOL CGameAppLink::IsSoundEffectsOn() const {
    return theApp.m_settings.m_bAllowPSound;
}

BOOL CGameAppLink::IsWatchAllowed() const {
    return theApp.m_settings.m_bAllowWatch;
}

CString CGameAppLink::GetSoundDir() const {
    return kn::theTheme.GetSoundDir();
}

HWND CGameAppLink::GetMainHwnd() const {
    return theApp.m_pMainWnd != nullptr ? theApp.m_pMainWnd->m_hWnd : nullptr;
}

void CGameAppLink::AppendChatSysText(LPCSTR text) {
    if (theApp.m_pMainWnd != nullptr)
        theApp.m_pMainWnd->AppendChatSysText(text);
}

CGameAppLink& TheGameAppLink() {
    static CGameAppLink link;
    return link;
}
