#pragma once

// Every HANDLE the layer gives out (threads, events, file mappings, ...) points at a
// KernelObject. CloseHandle drops the caller's reference; an object that someone
// else still uses (a running thread) lives on until they are done too.
//
// A kind of object that can be waited on overrides IsSignaled (and Consume, for
// objects such as auto-reset events that a successful wait resets). Changes of
// signal state are announced with NotifyKernelWaiters, under KernelLock.

#include "platform/Types.h"

#include <atomic>
#include <mutex>

namespace platform {

class KernelObject {
public:
    KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;

    void AddRef() { m_refs.fetch_add(1); }
    void Release() {
        if (m_refs.fetch_sub(1) == 1)
            delete this;
    }

    // Called with KernelLock held.
    virtual bool IsSignaled() const { return false; }
    virtual void Consume() {}

protected:
    virtual ~KernelObject() = default;

private:
    std::atomic<int> m_refs{1};
};

// The one lock that guards the signal state of every waitable object.
std::mutex& KernelLock();
// Wakes every timed or untimed wait so it re-checks its object and the clock.
void NotifyKernelWaiters();

inline HANDLE ToHandle(KernelObject* object) {
    return static_cast<HANDLE>(object);
}
inline KernelObject* FromHandle(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return static_cast<KernelObject*>(handle);
}

} // namespace platform

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu

BOOL CloseHandle(HANDLE handle);
// Waits on the process clock: with a manual clock a timeout ends only when a test
// steps the clock past it.
DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs);
