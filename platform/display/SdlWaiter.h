#pragma once

// How the message loop waits under SDL. SDL has no descriptor to poll, so the
// user-interface thread blocks in SDL_WaitEventTimeout, and a helper thread
// blocks in poll over the loop's descriptors (the wake-up descriptor and every
// watched one). When one is ready the helper pushes an SDL user event, which
// ends the UI thread's wait; the loop then runs the descriptors' callbacks
// itself. The helper polls only while the UI thread waits (each wait arms it
// once and re-arming makes it poll the current descriptor set afresh), so a
// ready descriptor wakes the UI thread once per wait and nothing spins.

#include "platform/system/EventLoop.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace platform {

class FdWakeThread {
public:
    // eventType: an SDL event type registered for the wake-ups.
    explicit FdWakeThread(uint32_t eventType);
    ~FdWakeThread();
    FdWakeThread(const FdWakeThread&) = delete;
    FdWakeThread& operator=(const FdWakeThread&) = delete;

    // The UI thread is about to wait: watch the descriptors (again).
    void Arm();

private:
    void Run();
    void Interrupt();

    uint32_t m_eventType;
    int m_interruptFd;
    std::mutex m_lock;
    std::condition_variable m_armed;
    bool m_wanted = false;
    bool m_polling = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace platform
