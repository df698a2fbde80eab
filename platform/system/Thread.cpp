#include "platform/system/Thread.h"

#include <atomic>
#include <condition_variable>
#include <thread>

using platform::KernelLock;
using platform::KernelObject;
using platform::NotifyKernelWaiters;

namespace {

std::atomic<DWORD> g_lastThreadId{0};
thread_local DWORD t_threadId = 0;

class ThreadObject : public KernelObject {
public:
    ThreadObject(LPTHREAD_START_ROUTINE start, LPVOID param, bool suspended)
        : m_start(start), m_param(param), m_suspendCount(suspended ? 1 : 0),
          m_id(++g_lastThreadId) {}

    bool Start() {
        AddRef(); // the running thread's own reference
        try {
            std::thread([this] { Run(); }).detach();
        } catch (...) {
            Release();
            return false;
        }
        return true;
    }

    DWORD Resume() {
        std::lock_guard<std::mutex> guard(KernelLock());
        const DWORD previous = m_suspendCount;
        if (m_suspendCount > 0 && --m_suspendCount == 0)
            m_resumed.notify_all();
        return previous;
    }

    DWORD ExitCode() {
        std::lock_guard<std::mutex> guard(KernelLock());
        return m_finished ? m_exitCode : DWORD(STILL_ACTIVE);
    }

    DWORD Id() const { return m_id; }
    bool IsSignaled() const override { return m_finished; }

private:
    void Run() {
        t_threadId = m_id;
        {
            // A suspended thread waits for its first resume.
            std::unique_lock<std::mutex> lock(KernelLock());
            m_resumed.wait(lock, [this] { return m_suspendCount == 0; });
        }
        const DWORD code = m_start(m_param);
        {
            std::lock_guard<std::mutex> guard(KernelLock());
            m_exitCode = code;
            m_finished = true;
        }
        NotifyKernelWaiters();
        Release();
    }

    LPTHREAD_START_ROUTINE m_start;
    LPVOID m_param;
    DWORD m_suspendCount;
    std::condition_variable m_resumed;
    DWORD m_exitCode = 0;
    bool m_finished = false;
    const DWORD m_id;
};

class EventObject : public KernelObject {
public:
    EventObject(bool manualReset, bool signaled) : m_manual(manualReset), m_signaled(signaled) {}
    bool IsSignaled() const override { return m_signaled; }
    void Consume() override {
        if (!m_manual)
            m_signaled = false;
    }
    void Set(bool signaled) {
        {
            std::lock_guard<std::mutex> guard(KernelLock());
            m_signaled = signaled;
        }
        if (signaled)
            NotifyKernelWaiters();
    }

private:
    bool m_manual;
    bool m_signaled;
};

template <typename T> T* As(HANDLE handle) {
    return dynamic_cast<T*>(platform::FromHandle(handle));
}

} // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&section->mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
    pthread_mutex_destroy(&section->mutex);
}
void EnterCriticalSection(LPCRITICAL_SECTION section) {
    pthread_mutex_lock(&section->mutex);
}
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
    return pthread_mutex_trylock(&section->mutex) == 0;
}
void LeaveCriticalSection(LPCRITICAL_SECTION section) {
    pthread_mutex_unlock(&section->mutex);
}

HANDLE CreateThread(void*, size_t, LPTHREAD_START_ROUTINE start, LPVOID param, DWORD flags,
                    DWORD* threadId) {
    if (!start)
        return nullptr;
    auto* thread = new ThreadObject(start, param, (flags & CREATE_SUSPENDED) != 0);
    if (!thread->Start()) {
        thread->Release();
        return nullptr;
    }
    if (threadId)
        *threadId = thread->Id();
    return platform::ToHandle(thread);
}

DWORD ResumeThread(HANDLE handle) {
    ThreadObject* thread = As<ThreadObject>(handle);
    if (!thread)
        return DWORD(-1);
    return thread->Resume();
}

BOOL GetExitCodeThread(HANDLE handle, DWORD* exitCode) {
    ThreadObject* thread = As<ThreadObject>(handle);
    if (!thread || !exitCode)
        return FALSE;
    *exitCode = thread->ExitCode();
    return TRUE;
}

DWORD GetCurrentThreadId() {
    if (t_threadId == 0)
        t_threadId = ++g_lastThreadId;
    return t_threadId;
}

HANDLE CreateEvent(void*, BOOL manualReset, BOOL initialState, LPCSTR) {
    return platform::ToHandle(new EventObject(manualReset != 0, initialState != 0));
}

BOOL SetEvent(HANDLE handle) {
    EventObject* event = As<EventObject>(handle);
    if (!event)
        return FALSE;
    event->Set(true);
    return TRUE;
}

BOOL ResetEvent(HANDLE handle) {
    EventObject* event = As<EventObject>(handle);
    if (!event)
        return FALSE;
    event->Set(false);
    return TRUE;
}
