#pragma once

// File-descriptor watches of the user-interface thread's message loop.
//
// The message loop (GetMessage, PeekMessage, modal loops, anything that pumps)
// blocks in one place: a poll over a wake-up descriptor and every watched
// descriptor, with the next timer's due time as its deadline. A layer that owns
// descriptors (the sockets) registers them here and gets its callback run on the
// thread that pumps, in the same turn as window messages:
//
//   WatchId id = platform::WatchFd(fd, platform::kFdReadable | platform::kFdWritable,
//                                  [](int fd, uint32_t ready) { ... });
//   platform::SetFdEvents(id, platform::kFdReadable);   // change what is watched
//   platform::UnwatchFd(id);                           // before closing fd
//
// Rules:
// - Level-triggered: while the descriptor stays ready for a watched event the
//   callback runs again at every pump. Consume the event, or narrow the watch
//   (SetFdEvents, 0 pauses it), or the loop keeps calling you.
// - kFdHangup and kFdError are reported whenever the watch is not paused, even if
//   not asked for; ready holds what poll reported.
// - A callback is never re-entered: while it runs (and whatever loop it nests,
//   such as a blocking send that pumps) its own descriptor is not polled.
// - Callbacks may watch, re-arm and unwatch any descriptor, their own included,
//   and may post, send, or run nested message loops.
// - Callbacks run from GetMessage/PeekMessage (PM_NOREMOVE included), before
//   WM_PAINT and WM_TIMER are made: descriptor events count as posted input.
//
// WakeEventLoop may be called from any thread: the pump wakes and re-checks its
// queue (PostMessage from another thread does this itself).

#include <cstdint>
#include <functional>

namespace platform {

enum FdEvents : uint32_t {
    kFdReadable = 1u << 0,
    kFdWritable = 1u << 1,
    kFdHangup = 1u << 2, // peer closed; reported unasked
    kFdError = 1u << 3,  // error pending on the descriptor; reported unasked
};

using FdCallback = std::function<void(int fd, uint32_t ready)>;
using WatchId = uint64_t; // 0 is never a valid id

WatchId WatchFd(int fd, uint32_t events, FdCallback callback);
bool SetFdEvents(WatchId id, uint32_t events);
bool UnwatchFd(WatchId id);

void WakeEventLoop();

// The loop's own steps, used by the message queue.
// Runs the callbacks of descriptors that are ready now; true when any ran.
bool DispatchReadyFds();
// Blocks until a descriptor is ready, WakeEventLoop is called, or timeoutMs real
// milliseconds pass (-1: no limit); runs the ready callbacks.
void WaitForEvents(int timeoutMs);

// A display driver with an event queue of its own (SDL) takes over the
// blocking wait (DisplayDriver::Wait) and turns its events into messages
// when the loop looks for ready descriptors (DisplayDriver::Pump). Its
// helper thread uses this:
// Blocks until the wake-up descriptor or a watched descriptor is ready, or
// interruptFd becomes readable (not drained here). Runs no callback. Any thread.
void WaitForWatchedFds(int interruptFd);

} // namespace platform
