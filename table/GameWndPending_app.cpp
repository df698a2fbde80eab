// Operations of the table window the application's frame calls, until the
// table's own parts define them.

#include "sprite/AppServices.h"
#include "table/GameWnd.h"

void CGameWnd::ShowStatusTip(LPCSTR text) {
    WriteLog("The table cannot show the status tip yet: %s", text != nullptr ? text : "");
}

void CGameWnd::SetInfoTipSeat(int seat) {
    m_nInfoTipSeat = seat;
}
