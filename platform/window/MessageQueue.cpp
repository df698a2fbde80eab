// The process's message queue: posting and sending, the pump, timers.

#include "platform/system/Clock.h"
#include "platform/system/EventLoop.h"
#include "platform/window/NonClient.h"
#include "platform/window/TimerQueue.h"
#include "platform/window/WindowRecord.h"

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <deque>
#include <mutex>

using namespace platform;

namespace {

// A message sent from another thread, waiting for the pumping thread.
struct CrossThreadSend {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
};

struct Queue {
    std::mutex lock;
    std::condition_variable sendDone;
    std::deque<MSG> posted;
    std::deque<CrossThreadSend*> sent;
    bool quit = false;
    int quitCode = 0;
    TimerQueue timers;
    UINT_PTR lastThreadTimer = 0;
    uint64_t arrivals = 0; // counts posts, sends and quits: a waiter re-checks on change
    bool blocked = false;  // the pump sleeps in the poll and must be woken
    POINT lastPos{0, 0};   // the cursor point of the last message taken
};

Queue& TheQueue() {
    static Queue* queue = new Queue; // outlives static destructors: threads may still post
    return *queue;
}

// Called with the lock held after anything arrives.
bool NoteArrival(Queue& q) {
    ++q.arrivals;
    return q.blocked;
}

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    return (filterMin == 0 && filterMax == 0) || (message >= filterMin && message <= filterMax);
}

bool Matches(const MSG& msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    return (!hwnd || msg.hwnd == hwnd) && InRange(msg.message, filterMin, filterMax);
}

void RunSentMessages() {
    Queue& q = TheQueue();
    for (;;) {
        CrossThreadSend* item;
        {
            std::lock_guard<std::mutex> guard(q.lock);
            if (q.sent.empty())
                return;
            item = q.sent.front();
            q.sent.pop_front();
        }
        LRESULT result = 0;
        if (WindowRecord* record = FindWindowRecord(item->hwnd))
            result = DeliverMessage(record, item->message, item->wParam, item->lParam);
        {
            std::lock_guard<std::mutex> guard(q.lock);
            item->result = result;
            item->done = true;
        }
        q.sendDone.notify_all();
    }
}

// One look at everything that can be retrieved, in priority order. Runs sent
// messages and descriptor callbacks on the way. seenArrivals tells the waiter
// what this look has already considered.
bool TakeMessage(MSG* out, HWND hwnd, UINT filterMin, UINT filterMax, bool remove,
                 uint64_t* seenArrivals) {
    Queue& q = TheQueue();
    // Descriptors are also polled now and then while posts keep coming, so a
    // flood of posted messages cannot starve them.
    static unsigned postedSincePoll = 0;
    // Descriptors are polled once per look: a level-triggered descriptor whose
    // owner does not consume it must not hold the pump here.
    bool polled = false;
    for (;;) {
        RunSentMessages();
        if (++postedSincePoll >= 32) {
            postedSincePoll = 0;
            DispatchReadyFds();
        }
        {
            std::lock_guard<std::mutex> guard(q.lock);
            if (seenArrivals)
                *seenArrivals = q.arrivals;
            auto it = std::find_if(q.posted.begin(), q.posted.end(), [&](const MSG& msg) {
                return Matches(msg, hwnd, filterMin, filterMax);
            });
            if (it != q.posted.end()) {
                *out = *it;
                if (remove) {
                    q.posted.erase(it);
                    q.lastPos = out->pt;
                }
                return true;
            }
        }
        postedSincePoll = 0;
        if (!polled) {
            polled = true;
            if (DispatchReadyFds())
                continue; // a callback may have posted or sent
        }
        const uint64_t now = GetClock().NowMs();
        std::lock_guard<std::mutex> guard(q.lock);
        if (!q.sent.empty())
            continue;
        if (q.quit && !hwnd) {
            *out = MSG{nullptr, WM_QUIT, WPARAM(q.quitCode), 0, DWORD(now), {0, 0}};
            if (remove)
                q.quit = false;
            return true;
        }
        if (InRange(WM_PAINT, filterMin, filterMax)) {
            if (HWND paint = NextWindowToPaint(hwnd)) {
                *out = MSG{paint, WM_PAINT, 0, 0, DWORD(now), {0, 0}};
                return true;
            }
        }
        if (InRange(WM_TIMER, filterMin, filterMax)) {
            if (auto due = q.timers.NextDue(now, hwnd, remove)) {
                *out = MSG{due->hwnd,  WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc),
                           DWORD(now), {0, 0}};
                return true;
            }
        }
        return false;
    }
}

// Blocks until something may have arrived: a post, a send, a quit, a descriptor
// event, the next timer's due time, or a step of a manual clock.
void WaitForWork(HWND hwnd, UINT filterMin, UINT filterMax, uint64_t seenArrivals) {
    Queue& q = TheQueue();
    Clock& clock = GetClock();
    std::optional<uint64_t> due;
    {
        std::lock_guard<std::mutex> guard(q.lock);
        if (q.arrivals != seenArrivals)
            return;
        due = q.timers.NextDueTime();
        q.blocked = true;
    }
    int timeoutMs = -1;
    if (hwnd || !InRange(WM_TIMER, filterMin, filterMax)) {
        // A filtered pump cannot tell which timers concern it: look again soon.
        timeoutMs = USER_TIMER_MINIMUM;
    } else if (due) {
        const uint64_t now = clock.NowMs();
        auto* manual = dynamic_cast<ManualClock*>(&clock);
        if (*due <= now) {
            timeoutMs = 0;
        } else if (manual && manual->AutoAdvance()) {
            manual->AdvanceTo(*due);
            timeoutMs = 0;
        } else if (!clock.IsManual()) {
            timeoutMs = int(std::min<uint64_t>(*due - now, INT_MAX));
        }
    }
    WaitForEvents(timeoutMs);
    std::lock_guard<std::mutex> guard(q.lock);
    q.blocked = false;
}

} // namespace

namespace platform {

void ForgetWindowMessages(HWND hwnd) {
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    std::erase_if(q.posted, [&](const MSG& msg) { return msg.hwnd == hwnd; });
}

void KillAllTimers(HWND hwnd) {
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    q.timers.KillAll(hwnd);
}

} // namespace platform

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    std::thread::id owner;
    if (!WindowThread(hwnd, &owner))
        return 0;
    if (owner == std::this_thread::get_id()) {
        WindowRecord* record = FindWindowRecord(hwnd);
        return record ? DeliverMessage(record, message, wParam, lParam) : 0;
    }
    Queue& q = TheQueue();
    CrossThreadSend item{hwnd, message, wParam, lParam};
    std::unique_lock<std::mutex> lock(q.lock);
    q.sent.push_back(&item);
    NoteArrival(q);
    WakeEventLoop();
    q.sendDone.wait(lock, [&] { return item.done; });
    return item.result;
}

namespace platform {
BOOL PostInputMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, POINT screen) {
    if (hwnd && !IsWindow(hwnd))
        return FALSE;
    Queue& q = TheQueue();
    MSG msg{hwnd, message, wParam, lParam, GetTickCount(), screen};
    bool wake;
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.posted.push_back(msg);
        wake = NoteArrival(q);
    }
    if (wake)
        WakeEventLoop();
    return TRUE;
}
} // namespace platform

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostInputMessage(hwnd, message, wParam, lParam, CursorPosition());
}

DWORD GetMessagePos() {
    const POINT at = TheQueue().lastPos;
    return DWORD(MAKELONG(at.x, at.y));
}

void PostQuitMessage(int exitCode) {
    Queue& q = TheQueue();
    bool wake;
    {
        std::lock_guard<std::mutex> guard(q.lock);
        q.quit = true;
        q.quitCode = exitCode;
        wake = NoteArrival(q);
    }
    if (wake)
        WakeEventLoop();
}

BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    for (;;) {
        uint64_t seen = 0;
        if (TakeMessage(msg, hwnd, filterMin, filterMax, true, &seen))
            return msg->message != WM_QUIT;
        WaitForWork(hwnd, filterMin, filterMax, seen);
    }
}

BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    MSG ignored;
    return TakeMessage(msg ? msg : &ignored, hwnd, filterMin, filterMax,
                       (removeFlags & PM_REMOVE) != 0, nullptr);
}

BOOL WaitMessage() {
    MSG msg;
    uint64_t seen = 0;
    if (!TakeMessage(&msg, nullptr, 0, 0, false, &seen))
        WaitForWork(nullptr, 0, 0, seen);
    return TRUE;
}

DWORD GetQueueStatus(UINT flags) {
    Queue& q = TheQueue();
    const uint64_t now = GetClock().NowMs();
    DWORD kinds = 0;
    std::lock_guard<std::mutex> guard(q.lock);
    if (!q.posted.empty() || q.quit)
        kinds |= QS_POSTMESSAGE;
    if (!q.sent.empty())
        kinds |= QS_SENDMESSAGE;
    if (auto due = q.timers.NextDueTime(); due && *due <= now)
        kinds |= QS_TIMER;
    if ((flags & QS_PAINT) && NextWindowToPaint(nullptr))
        kinds |= QS_PAINT;
    kinds &= flags;
    return MAKELONG(kinds, kinds);
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER) {
        // A timer killed after its tick was taken delivers nothing, and a tick
        // naming a procedure is run only if that is the live timer's procedure.
        Queue& q = TheQueue();
        std::optional<TIMERPROC> proc;
        {
            std::lock_guard<std::mutex> guard(q.lock);
            proc = q.timers.ProcOf(msg->hwnd, msg->wParam);
        }
        if (!proc || reinterpret_cast<LPARAM>(*proc) != msg->lParam)
            return 0;
        if (*proc) {
            (*proc)(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
            return 0;
        }
    }
    WindowRecord* record = FindWindowRecord(msg->hwnd);
    return record ? DeliverMessage(record, msg->message, msg->wParam, msg->lParam) : 0;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
    if (hwnd && !IsWindow(hwnd))
        return 0;
    Queue& q = TheQueue();
    bool wake;
    {
        std::lock_guard<std::mutex> guard(q.lock);
        if (!hwnd && (id == 0 || !q.timers.Contains(nullptr, id))) {
            do
                id = ++q.lastThreadTimer;
            while (id == 0 || q.timers.Contains(nullptr, id));
        }
        q.timers.Set(hwnd, id, elapseMs, proc, GetClock().NowMs());
        wake = NoteArrival(q);
    }
    if (wake)
        WakeEventLoop();
    return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    Queue& q = TheQueue();
    std::lock_guard<std::mutex> guard(q.lock);
    return q.timers.Kill(hwnd, id);
}
