#include "platform/system/EventLoop.h"

#include "platform/DisplayDriver.h"

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

struct Watch {
    int fd;
    uint32_t events;
    FdCallback callback;
    bool running = false;
};

class FdWatcher {
public:
    FdWatcher() : m_wakeFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

    WatchId Add(int fd, uint32_t events, FdCallback callback) {
        std::lock_guard<std::mutex> guard(m_lock);
        const WatchId id = ++m_lastId;
        m_watches.emplace(id, std::make_shared<Watch>(Watch{fd, events, std::move(callback)}));
        return id;
    }

    bool SetEvents(WatchId id, uint32_t events) {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_watches.find(id);
        if (it == m_watches.end())
            return false;
        it->second->events = events;
        return true;
    }

    bool Remove(WatchId id) {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_watches.erase(id) > 0;
    }

    void Wake() {
        const uint64_t one = 1;
        [[maybe_unused]] ssize_t n = write(m_wakeFd, &one, sizeof one);
    }

    bool Empty() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_watches.empty();
    }

    using Polled = std::vector<std::pair<WatchId, std::shared_ptr<Watch>>>;

    // The wake-up descriptor first, then every watch that is not paused.
    std::vector<pollfd> PollSet(Polled* polled) {
        std::vector<pollfd> fds;
        fds.push_back({m_wakeFd, POLLIN, 0});
        std::lock_guard<std::mutex> guard(m_lock);
        for (auto& [id, watch] : m_watches) {
            if (watch->running || watch->events == 0)
                continue;
            short mask = 0;
            if (watch->events & kFdReadable)
                mask |= POLLIN;
            if (watch->events & kFdWritable)
                mask |= POLLOUT;
            fds.push_back({watch->fd, mask, 0});
            if (polled)
                polled->emplace_back(id, watch);
        }
        return fds;
    }

    void WaitReady(int interruptFd) {
        std::vector<pollfd> fds = PollSet(nullptr);
        fds.push_back({interruptFd, POLLIN, 0});
        while (poll(fds.data(), fds.size(), -1) < 0 && errno == EINTR) {
        }
    }

    // Polls once; runs the callbacks of ready watches. True when any ran.
    bool PollAndDispatch(int timeoutMs) {
        Polled polled;
        std::vector<pollfd> fds = PollSet(&polled);
        int n = poll(fds.data(), fds.size(), timeoutMs);
        if (n <= 0)
            return false;
        if (fds[0].revents) {
            uint64_t count;
            [[maybe_unused]] ssize_t r = read(m_wakeFd, &count, sizeof count);
        }
        bool ran = false;
        for (size_t i = 0; i < polled.size(); ++i) {
            const short revents = fds[i + 1].revents;
            if (!revents)
                continue;
            auto& [id, watch] = polled[i];
            uint32_t ready = 0;
            if (revents & POLLIN)
                ready |= kFdReadable;
            if (revents & POLLOUT)
                ready |= kFdWritable;
            if (revents & POLLHUP)
                ready |= kFdHangup;
            if (revents & (POLLERR | POLLNVAL))
                ready |= kFdError;
            {
                // An earlier callback of this turn may have removed or paused it.
                std::lock_guard<std::mutex> guard(m_lock);
                auto it = m_watches.find(id);
                if (it == m_watches.end() || it->second != watch || watch->events == 0 ||
                    watch->running)
                    continue;
                ready &= watch->events | kFdHangup | kFdError;
                if (!ready)
                    continue;
                watch->running = true;
            }
            // The shared_ptr keeps the callback alive even if it unwatches itself.
            watch->callback(watch->fd, ready);
            {
                std::lock_guard<std::mutex> guard(m_lock);
                watch->running = false;
            }
            ran = true;
        }
        return ran;
    }

private:
    int m_wakeFd;
    std::mutex m_lock;
    WatchId m_lastId = 0;
    std::map<WatchId, std::shared_ptr<Watch>> m_watches;
};

FdWatcher& Watcher() {
    static FdWatcher* watcher = new FdWatcher; // lives to the end: threads may still wake it
    return *watcher;
}

} // namespace

WatchId WatchFd(int fd, uint32_t events, FdCallback callback) {
    if (fd < 0 || !callback)
        return 0;
    return Watcher().Add(fd, events, std::move(callback));
}

bool SetFdEvents(WatchId id, uint32_t events) {
    return Watcher().SetEvents(id, events);
}

bool UnwatchFd(WatchId id) {
    return Watcher().Remove(id);
}

void WakeEventLoop() {
    Watcher().Wake();
}

bool DispatchReadyFds() {
    const bool pumped = GetDisplayDriver().Pump();
    // No descriptors: skip the system call (a pending wake-up is drained by the next wait).
    return (!Watcher().Empty() && Watcher().PollAndDispatch(0)) || pumped;
}

void WaitForEvents(int timeoutMs) {
    if (!GetDisplayDriver().Wait(timeoutMs)) {
        Watcher().PollAndDispatch(timeoutMs);
        return;
    }
    Watcher().PollAndDispatch(0);
}

void WaitForWatchedFds(int interruptFd) {
    Watcher().WaitReady(interruptFd);
}

} // namespace platform
