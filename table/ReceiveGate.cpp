#include "table/ReceiveGate.h"

#include "platform/system/Clock.h"
#include "sprite/AppServices.h"

void CReceiveGate::Hold() {
    if (!m_bHeld)
        m_dwHeldSince = GetTickCount();
    m_bHeld = TRUE;
    m_reading(FALSE);
}

void CReceiveGate::Release() {
    if (IsOverdue())
        WriteLog("The table held receiving for %u ms", unsigned(GetTickCount() - m_dwHeldSince));
    m_bHeld = FALSE;
    m_reading(TRUE);
}

BOOL CReceiveGate::IsOverdue() const {
    return m_bHeld && GetTickCount() - m_dwHeldSince > kLongestHoldMs;
}
