#include "table/ReceiveGate.h"

#include "platform/system/Clock.h"
#include "platform/system/Trace.h"

using platform::TraceChannel;

void CReceiveGate::Hold() {
    if (!m_bHeld) {
        m_dwHeldSince = GetTickCount();
        platform::Trace(TraceChannel::kRecords, platform::kTraceDetail, "receiving held");
    }
    m_bHeld = TRUE;
    m_reading(FALSE);
}

void CReceiveGate::Release() {
    if (IsOverdue())
        platform::Trace(TraceChannel::kRecords, platform::kTraceError,
                        "the table held receiving for %u ms",
                        unsigned(GetTickCount() - m_dwHeldSince));
    PELLOR_ASSERT(!IsOverdue(), TraceChannel::kRecords,
                  "a hold outlasted the longest presentation: some path forgot its release");
    if (m_bHeld)
        platform::Trace(TraceChannel::kRecords, platform::kTraceDetail, "receiving released");
    m_bHeld = FALSE;
    m_reading(TRUE);
}

void CReceiveGate::ReleaseAbandoned() {
    if (!m_bHeld)
        return;
    platform::Trace(TraceChannel::kRecords, platform::kTraceDetail,
                    "receiving released: its holder is gone after %u ms",
                    unsigned(GetTickCount() - m_dwHeldSince));
    m_bHeld = FALSE;
    m_reading(TRUE);
}

BOOL CReceiveGate::IsOverdue() const {
    return m_bHeld && GetTickCount() - m_dwHeldSince > kLongestHoldMs;
}
