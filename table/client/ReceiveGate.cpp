#include "table/client/ReceiveGate.h"

#include "platform/system/Clock.h"
#include "platform/system/Trace.h"

#include <cstdio>

using platform::TraceChannel;

namespace {

LPCSTR ReasonName(CReceiveGate::Reason reason) {
    switch (reason) {
    case CReceiveGate::kRecord:
        return "a record";
    case CReceiveGate::kLayout:
        return "a layout";
    default:
        return "the start-up";
    }
}

} // namespace

void CReceiveGate::Hold(Reason reason) {
    if (reason < 0 || reason >= kReasonCount)
        return;
    if (m_held[reason])
        platform::Trace(TraceChannel::kRecords, platform::kTraceError,
                        "receiving held again for %s", ReasonName(reason));
    PELLOR_ASSERT(!m_held[reason], TraceChannel::kRecords,
                  "a second hold of one reason: the first one's release was lost");
    if (!m_held[reason]) {
        m_held[reason] = TRUE;
        ++m_nHolds;
        if (reason == kRecord) {
            m_dwRecordSince = GetTickCount();
            m_bOverdueTold = FALSE;
            m_dwWatchTicks = 0;
        }
        platform::Trace(TraceChannel::kRecords, platform::kTraceDetail, "receiving held for %s",
                        ReasonName(reason));
    }
    m_reading(FALSE);
}

void CReceiveGate::Release(Reason reason) {
    if (reason < 0 || reason >= kReasonCount)
        return;
    if (reason == kRecord && IsOverdue())
        platform::Trace(TraceChannel::kRecords, platform::kTraceError,
                        "the table held receiving for %u ms",
                        unsigned(GetTickCount() - m_dwRecordSince));
    PELLOR_ASSERT(reason != kRecord || !IsOverdue(), TraceChannel::kRecords,
                  "a hold outlasted the longest presentation: some path forgot its release");
    if (!m_held[reason])
        return;
    m_held[reason] = FALSE;
    --m_nHolds;
    platform::Trace(TraceChannel::kRecords, platform::kTraceDetail, "receiving released for %s",
                    ReasonName(reason));
    if (m_nHolds == 0)
        m_reading(TRUE);
}

void CReceiveGate::ReleaseAbandoned() {
    if (!IsHeld())
        return;
    platform::Trace(TraceChannel::kRecords, platform::kTraceDetail,
                    "receiving released: its holder is gone");
    for (BOOL& held : m_held)
        held = FALSE;
    m_nHolds = 0;
    m_reading(TRUE);
}

BOOL CReceiveGate::IsOverdue() const {
    return m_held[kRecord] && GetTickCount() - m_dwRecordSince > kLongestHoldMs;
}

void CReceiveGate::CheckOverdue() {
    if (!m_held[kRecord])
        return;
    ++m_dwWatchTicks;
    if (!IsOverdue() || m_bOverdueTold || m_dwWatchTicks * kWatchPeriodMs <= kLongestHoldMs)
        return;
    m_bOverdueTold = TRUE;
    char text[160];
    std::snprintf(text, sizeof text,
                  "the table has held receiving for %u ms: some path forgot its release",
                  unsigned(GetTickCount() - m_dwRecordSince));
    platform::ReportCaughtFailure(TraceChannel::kRecords, text);
}
