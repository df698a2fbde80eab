#pragma once

// Whether the table takes the next game record. The network client owns the
// one gate. It is held for reasons, each counted apart: a record whose
// presentation takes time (the client holds it before it hands the record
// over, and the record's handler or the animation it started releases it,
// on every path), a layout of the table (the main frame and the chat bar
// lay the table out only while no record holds it) and the start-up (no
// record comes in before the table window exists). While any reason holds
// it the socket reads nothing (the bytes wait there). A second hold of the
// same reason means a release was lost: it ends a test run.

#include "platform/Types.h"

#include <functional>

class CReceiveGate {
public:
    enum Reason { kRecord, kLayout, kStartUp, kReasonCount };
    // The socket's reading: on (TRUE) or off.
    using Reading = std::function<void(BOOL on)>;
    // The longest presentation that may hold the gate: the shuffle and the
    // deal of a whole hand. A hold released later was forgotten on some path.
    static constexpr DWORD kLongestHoldMs = 6000;
    // How often the table runs the overdue check.
    static constexpr DWORD kWatchPeriodMs = 1000;

    explicit CReceiveGate(Reading reading) : m_reading(std::move(reading)) {}
    CReceiveGate(const CReceiveGate&) = delete;
    CReceiveGate& operator=(const CReceiveGate&) = delete;

    // Reading stops; the table is busy for the reason.
    void Hold(Reason reason);
    // The reason no longer holds the gate; reading resumes once none does.
    // A release without its hold changes nothing.
    void Release(Reason reason);
    // Whoever held it is gone (the table destroyed mid-presentation, or the
    // program ending), so nothing is left to release it: every reason lets
    // go, reading resumes, and the next hold's time starts afresh.
    void ReleaseAbandoned();
    BOOL IsHeld() const { return m_nHolds > 0; }
    BOOL IsHeld(Reason reason) const { return m_held[reason]; }
    // A presentation has held it for longer than any takes.
    BOOL IsOverdue() const;
    // Run on a timer every kWatchPeriodMs while the table lives: a forgotten
    // release is told while the table waits on it, not only when something
    // releases it at last. Only a hold the watch itself has seen last longer
    // than any presentation counts, so a jump of the clock (a machine woken
    // from sleep) that left the animation no time to run is not one. Traced
    // once per hold; it ends a test run.
    void CheckOverdue();

private:
    Reading m_reading;
    BOOL m_held[kReasonCount] = {};
    int m_nHolds = 0;
    DWORD m_dwRecordSince = 0;
    BOOL m_bOverdueTold = FALSE;
    // Watch ticks seen during the record's hold.
    DWORD m_dwWatchTicks = 0;
};
