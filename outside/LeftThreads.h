#pragma once

// The page control's threads outlive a window that goes while they are at
// work: the window lets the thread go instead of waiting for it (the thread
// ends by itself, its state shared with it), so closing never holds the
// window up. A thread let go is joined once it has ended, the next time one
// is let go, and every one still running at the process's end.

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

void LetThreadGo(std::thread thread, std::shared_ptr<const std::atomic<bool>> ended);

// The thread of a part of the control over the state it shares with it (a
// State with lock, wake, stopping, working, ended and Work()).
template <class State> std::thread StartWorker(const std::shared_ptr<State>& state) {
    return std::thread([state] {
        state->Work();
        state->ended = true;
    });
}

// At its owner's end the thread is told to stop; one at work is let go.
template <class State> void StopWorker(std::thread& thread, const std::shared_ptr<State>& state) {
    bool working;
    {
        std::lock_guard<std::mutex> guard(state->lock);
        state->stopping = true;
        working = state->working;
    }
    state->wake.notify_all();
    if (working)
        LetThreadGo(std::move(thread),
                    std::shared_ptr<const std::atomic<bool>>(state, &state->ended));
    else
        thread.join(); // it wakes only to end
}
