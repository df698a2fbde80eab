// The default answers of the application link: the settings' defaults, no
// dialog, and a log line for each request the table could not have met.

#include "table/common/TableAppLink.h"

#include "sprite/AppServices.h"
#include "sprite/Theme.h"

namespace {

CTableAppLink theDefaultLink;
CTableAppLink* theInstalledLink = nullptr;

void Refused(LPCSTR what) {
    WriteLog("The table cannot open %s: no application is linked", what);
}

} // namespace

CTableAppLink& TableApp() {
    return theInstalledLink != nullptr ? *theInstalledLink : theDefaultLink;
}

void SetTableAppLink(CTableAppLink* link) {
    theInstalledLink = link;
}

CString CTableAppLink::GetThemeFile() const {
    return kn::theTheme.GetThemeFile();
}

CString CTableAppLink::GetSoundDir() const {
    return ::GetSoundDir();
}

void CTableAppLink::AppendChatSysText(LPCSTR text) {
    WriteLog("No chat pane for the line: %s", text != nullptr ? text : "");
}

CWnd* CTableAppLink::CreateMagnifier(CWnd*, LPCSTR) {
    Refused("the magnifier");
    return nullptr;
}

void CTableAppLink::ShowMagnifier(BOOL) {}

BOOL CTableAppLink::CreateHistoryDialog(CWnd*) {
    Refused("the history dialog");
    return FALSE;
}

void CTableAppLink::ShowHistoryDialog(BOOL) {}

BOOL CTableAppLink::CreateTakeChanceDialog(CWnd*) {
    Refused("the betting dialog");
    return FALSE;
}

void CTableAppLink::ShowTakeChanceDialog(BOOL) {}

BOOL CTableAppLink::OpenExchangeDialog(CWnd*, DWORD) {
    Refused("the exchange dialog");
    return FALSE;
}

BOOL CTableAppLink::OpenChargeDialog(CWnd*, const DWORD*) {
    Refused("the charge dialog");
    return FALSE;
}
