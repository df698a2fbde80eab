#pragma once

// The live objects behind one kind of handle: a handle is an object's address,
// and only addresses in the table are accepted, so a stale handle is refused.

#include <memory>
#include <mutex>
#include <unordered_map>

namespace platform {

template <class T> class HandleTable {
public:
    T* Add(std::unique_ptr<T> object) {
        std::lock_guard lock(m_mutex);
        T* key = object.get();
        m_live.emplace(key, std::move(object));
        return key;
    }
    T* Find(const void* handle) {
        if (!handle)
            return nullptr;
        std::lock_guard lock(m_mutex);
        auto it = m_live.find(static_cast<T*>(const_cast<void*>(handle)));
        return it == m_live.end() ? nullptr : it->second.get();
    }
    // Removes the object and hands it over; null when the handle is not live.
    std::unique_ptr<T> Take(const void* handle) {
        std::lock_guard lock(m_mutex);
        auto it = m_live.find(static_cast<T*>(const_cast<void*>(handle)));
        if (it == m_live.end())
            return nullptr;
        std::unique_ptr<T> object = std::move(it->second);
        m_live.erase(it);
        return object;
    }

private:
    std::mutex m_mutex;
    std::unordered_map<T*, std::unique_ptr<T>> m_live;
};

} // namespace platform
