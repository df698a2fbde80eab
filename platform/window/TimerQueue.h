#pragma once

// The live timers of the process, ordered by due time in a min-heap so that
// hundreds of them cost little. Not thread-safe: the message queue guards it.
//
// A timer that is due stays due until it is taken; taking it schedules the next
// tick one period after the moment it was taken. So a stalled loop finds one tick
// per timer, never a backlog.

#include "platform/window/Messages.h"

#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

class TimerQueue {
public:
    struct Due {
        HWND hwnd;
        UINT_PTR id;
        TIMERPROC proc;
    };

    // Adds or restarts; periods are held between USER_TIMER_MINIMUM and
    // USER_TIMER_MAXIMUM.
    void Set(HWND hwnd, UINT_PTR id, uint32_t periodMs, TIMERPROC proc, uint64_t now);
    bool Kill(HWND hwnd, UINT_PTR id);
    void KillAll(HWND hwnd);
    bool Contains(HWND hwnd, UINT_PTR id) const;
    // The proc of a live timer, or nullopt when there is no such timer.
    std::optional<TIMERPROC> ProcOf(HWND hwnd, UINT_PTR id) const;

    // The earliest due timer (of hwnd when given); when take is set it is
    // rescheduled to now + period.
    std::optional<Due> NextDue(uint64_t now, HWND hwnd, bool take);
    // When the earliest timer falls due.
    std::optional<uint64_t> NextDueTime();

    size_t Size() const { return m_timers.size(); }

private:
    using Key = std::pair<uintptr_t, UINT_PTR>;
    struct Timer {
        uint32_t period;
        TIMERPROC proc;
        uint64_t due;
        uint64_t generation; // heap entries of older generations are stale
    };
    struct Entry {
        uint64_t due;
        uint64_t generation;
        Key key;
    };
    static bool Later(const Entry& a, const Entry& b) {
        return a.due != b.due ? a.due > b.due : a.generation > b.generation;
    }
    static Key KeyOf(HWND hwnd, UINT_PTR id) { return {reinterpret_cast<uintptr_t>(hwnd), id}; }

    void Schedule(const Key& key, Timer& timer, uint64_t due);
    bool IsLive(const Entry& entry) const;
    void DropStaleTop();
    void CompactIfMostlyStale();

    std::map<Key, Timer> m_timers;
    std::vector<Entry> m_heap;
    uint64_t m_nextGeneration = 1; // also orders timers due at the same moment
};

} // namespace platform
