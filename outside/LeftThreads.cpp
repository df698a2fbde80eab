// Threads let go by the page control.

#include "outside/LeftThreads.h"

#include <mutex>
#include <utility>
#include <vector>

namespace {

class LeftThreads {
public:
    static LeftThreads& Get() {
        static LeftThreads left;
        return left;
    }
    void Add(std::thread thread, std::shared_ptr<const std::atomic<bool>> ended) {
        std::lock_guard<std::mutex> guard(m_lock);
        for (auto it = m_left.begin(); it != m_left.end();) {
            if (!*it->second) {
                ++it;
                continue;
            }
            it->first.join();
            it = m_left.erase(it);
        }
        m_left.emplace_back(std::move(thread), std::move(ended));
    }
    ~LeftThreads() {
        for (auto& [thread, ended] : m_left)
            thread.join();
    }

private:
    std::mutex m_lock;
    std::vector<std::pair<std::thread, std::shared_ptr<const std::atomic<bool>>>> m_left;
};

} // namespace

void LetThreadGo(std::thread thread, std::shared_ptr<const std::atomic<bool>> ended) {
    if (thread.joinable())
        LeftThreads::Get().Add(std::move(thread), std::move(ended));
}
