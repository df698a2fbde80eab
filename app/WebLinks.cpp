// The operator's web pages: their addresses in the settings store and the one
// way the program opens them.

#include "app/AppServices.h"
#include "app/GameApp.h"
#include "app/GameSettings.h"
#include "platform/system/Shell.h"

namespace {

const char* const kLinkNames[kLinkCount] = {"help", "BeanShop", "GameIntro", "WealthHelp",
                                            "CardShop"};

} // namespace

CString WebLinkAddress(WebLink link) {
    return theApp.m_settings.m_strLinks[link];
}

BOOL OpenWebLink(WebLink link) {
    const CString address = WebLinkAddress(link);
    // The settings file is plain text anyone can edit: only a web page is opened.
    if (!IsWebAddress(address)) {
        WriteLog("The %s address \"%s\" is not a web address; it is not opened", kLinkNames[link],
                 (LPCSTR)address);
        return FALSE;
    }
    CWnd* main = AfxGetMainWnd();
    const HINSTANCE result = ShellExecute(main ? main->GetSafeHwnd() : nullptr, "open", address,
                                          nullptr, nullptr, SW_SHOW);
    // A desktop without a web browser says nothing itself: the log does.
    if (reinterpret_cast<INT_PTR>(result) <= 32) {
        WriteLog("The %s page \"%s\" could not be opened (%d)", kLinkNames[link], (LPCSTR)address,
                 int(reinterpret_cast<INT_PTR>(result)));
        return FALSE;
    }
    return TRUE;
}
