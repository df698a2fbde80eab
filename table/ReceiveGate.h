#pragma once

// Whether the table takes the next game record. The network client owns the
// one gate: it holds it before it hands over a record whose presentation
// animates, and the table window releases it when that presentation ends, on
// every path. While the gate is held the socket reads nothing (the bytes wait
// there), and the main frame and the chat bar lay the table out anew only
// while it is open, holding it meanwhile. A second hold is the same hold.

#include "platform/Types.h"

#include <functional>

class CReceiveGate {
public:
    // The socket's reading: on (TRUE) or off.
    using Reading = std::function<void(BOOL on)>;
    // The longest presentation that may hold the gate: the shuffle and the
    // deal of a whole hand. A hold released later was forgotten on some path.
    static constexpr DWORD kLongestHoldMs = 6000;

    explicit CReceiveGate(Reading reading) : m_reading(std::move(reading)) {}
    CReceiveGate(const CReceiveGate&) = delete;
    CReceiveGate& operator=(const CReceiveGate&) = delete;

    // Reading stops; the table is busy presenting (or being laid out).
    void Hold();
    // Reading resumes; the table takes records and layouts again.
    void Release();
    // Whoever held it is gone (the table destroyed mid-presentation, or the
    // program ending), so no presentation is left to release it: reading
    // resumes, and the next hold's time starts afresh.
    void ReleaseAbandoned();
    BOOL IsHeld() const { return m_bHeld; }
    // Held for longer than any presentation takes.
    BOOL IsOverdue() const;

private:
    Reading m_reading;
    BOOL m_bHeld = FALSE;
    DWORD m_dwHeldSince = 0;
};
