#include "platform/window/TimerQueue.h"

#include <algorithm>

namespace platform {

void TimerQueue::Set(HWND hwnd, UINT_PTR id, uint32_t periodMs, TIMERPROC proc, uint64_t now) {
    const Key key = KeyOf(hwnd, id);
    Timer& timer = m_timers[key];
    timer.period = std::clamp(periodMs, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    timer.proc = proc;
    Schedule(key, timer, now + timer.period);
}

bool TimerQueue::Kill(HWND hwnd, UINT_PTR id) {
    const bool killed = m_timers.erase(KeyOf(hwnd, id)) > 0;
    CompactIfMostlyStale();
    return killed;
}

void TimerQueue::KillAll(HWND hwnd) {
    const uintptr_t window = reinterpret_cast<uintptr_t>(hwnd);
    m_timers.erase(m_timers.lower_bound({window, 0}), m_timers.upper_bound({window, ~UINT_PTR(0)}));
    CompactIfMostlyStale();
}

bool TimerQueue::Contains(HWND hwnd, UINT_PTR id) const {
    return m_timers.count(KeyOf(hwnd, id)) > 0;
}

std::optional<TIMERPROC> TimerQueue::ProcOf(HWND hwnd, UINT_PTR id) const {
    auto it = m_timers.find(KeyOf(hwnd, id));
    if (it == m_timers.end())
        return std::nullopt;
    return it->second.proc;
}

std::optional<TimerQueue::Due> TimerQueue::NextDue(uint64_t now, HWND hwnd, bool take) {
    Key key;
    if (hwnd == nullptr) {
        DropStaleTop();
        if (m_heap.empty() || m_heap.front().due > now)
            return std::nullopt;
        key = m_heap.front().key;
    } else {
        // A filtered pump is rare: scan this window's timers for the earliest due.
        const uintptr_t window = reinterpret_cast<uintptr_t>(hwnd);
        auto best = m_timers.end();
        for (auto it = m_timers.lower_bound({window, 0});
             it != m_timers.end() && it->first.first == window; ++it) {
            if (it->second.due <= now &&
                (best == m_timers.end() || it->second.due < best->second.due))
                best = it;
        }
        if (best == m_timers.end())
            return std::nullopt;
        key = best->first;
    }
    Timer& timer = m_timers.at(key);
    Due due{reinterpret_cast<HWND>(key.first), key.second, timer.proc};
    if (take)
        Schedule(key, timer, now + timer.period);
    return due;
}

std::optional<uint64_t> TimerQueue::NextDueTime() {
    DropStaleTop();
    if (m_heap.empty())
        return std::nullopt;
    return m_heap.front().due;
}

void TimerQueue::Schedule(const Key& key, Timer& timer, uint64_t due) {
    timer.due = due;
    timer.generation = m_nextGeneration++;
    m_heap.push_back({due, timer.generation, key});
    std::push_heap(m_heap.begin(), m_heap.end(), Later);
    CompactIfMostlyStale();
}

bool TimerQueue::IsLive(const Entry& entry) const {
    auto it = m_timers.find(entry.key);
    return it != m_timers.end() && it->second.generation == entry.generation;
}

void TimerQueue::DropStaleTop() {
    while (!m_heap.empty() && !IsLive(m_heap.front())) {
        std::pop_heap(m_heap.begin(), m_heap.end(), Later);
        m_heap.pop_back();
    }
}

// Restarting and killing leave stale entries behind; rebuild before they dominate.
void TimerQueue::CompactIfMostlyStale() {
    if (m_heap.size() < 64 || m_heap.size() < 2 * m_timers.size())
        return;
    std::erase_if(m_heap, [this](const Entry& entry) { return !IsLive(entry); });
    std::make_heap(m_heap.begin(), m_heap.end(), Later);
}

} // namespace platform
