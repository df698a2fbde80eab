#include "platform/system/KernelObject.h"

#include "platform/system/Clock.h"

#include <chrono>
#include <condition_variable>

namespace platform {

namespace {
std::condition_variable& KernelCondition() {
    static std::condition_variable condition;
    return condition;
}
} // namespace

std::mutex& KernelLock() {
    static std::mutex lock;
    return lock;
}

void NotifyKernelWaiters() {
    std::lock_guard<std::mutex> guard(KernelLock());
    KernelCondition().notify_all();
}

} // namespace platform

BOOL CloseHandle(HANDLE handle) {
    platform::KernelObject* object = platform::FromHandle(handle);
    if (!object)
        return FALSE;
    object->Release();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
    using namespace platform;
    KernelObject* object = FromHandle(handle);
    if (!object)
        return WAIT_FAILED;
    Clock& clock = GetClock();
    const uint64_t deadline = clock.NowMs() + timeoutMs;
    std::unique_lock<std::mutex> lock(KernelLock());
    for (;;) {
        if (object->IsSignaled()) {
            object->Consume();
            return WAIT_OBJECT_0;
        }
        if (timeoutMs == 0)
            return WAIT_TIMEOUT;
        if (timeoutMs == INFINITE || clock.IsManual()) {
            // A manual clock wakes us through NotifyKernelWaiters when stepped.
            if (timeoutMs != INFINITE && clock.NowMs() >= deadline)
                return WAIT_TIMEOUT;
            KernelCondition().wait(lock);
            continue;
        }
        const uint64_t now = clock.NowMs();
        if (now >= deadline)
            return WAIT_TIMEOUT;
        KernelCondition().wait_for(lock, std::chrono::milliseconds(deadline - now));
    }
}
