// The helper thread that turns ready descriptors into SDL wake-ups.

#include "platform/display/SdlWaiter.h"

#include <SDL.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace platform {

FdWakeThread::FdWakeThread(uint32_t eventType)
    : m_eventType(eventType), m_interruptFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      m_thread([this] { Run(); }) {}

FdWakeThread::~FdWakeThread() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
    }
    m_armed.notify_all();
    Interrupt();
    m_thread.join();
    close(m_interruptFd);
}

void FdWakeThread::Interrupt() {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(m_interruptFd, &one, sizeof one);
}

void FdWakeThread::Arm() {
    bool polling;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_wanted = true;
        polling = m_polling;
    }
    if (polling)
        Interrupt(); // the descriptor set may have changed: poll it afresh
    else
        m_armed.notify_one();
}

void FdWakeThread::Run() {
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_lock);
            m_armed.wait(lock, [this] { return m_wanted || m_stopping; });
            if (m_stopping)
                return;
            m_polling = true;
        }
        WaitForWatchedFds(m_interruptFd);
        pollfd interrupt{m_interruptFd, POLLIN, 0};
        const bool interrupted = poll(&interrupt, 1, 0) > 0;
        if (interrupted) {
            uint64_t count;
            [[maybe_unused]] ssize_t n = read(m_interruptFd, &count, sizeof count);
        }
        std::lock_guard<std::mutex> guard(m_lock);
        m_polling = false;
        if (m_stopping)
            return;
        if (interrupted)
            continue; // re-armed or stopping: poll the current set again
        m_wanted = false;
        SDL_Event event{};
        event.type = m_eventType;
        SDL_PushEvent(&event);
    }
}

} // namespace platform
