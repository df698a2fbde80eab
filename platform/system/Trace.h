#pragma once

// The program's trace: lines for whoever follows what the program does, by
// channel and level, on standard error. The user's own log (WriteLog) is not
// this. PELLOR_TRACE sets the levels: "records=3,network=2", "all=2" for
// every channel, a channel without a level at 2; unset, only the errors of
// the network (the library's diagnostics, as it always wrote them) and of
// files (an outside file or a server's bytes refused, with the reason).
//
// Asserts: PELLOR_ASSERT checks an invariant the code before it guarantees
// (a record the client has checked, a hold released in time). While asserts
// are live (PELLOR_ASSERTS set to a value other than "0", as the test run
// sets it) a failed one is traced and ends the process; otherwise its
// condition is not even evaluated. A failure the code catches and survives
// (ReportCaughtFailure) likewise ends a test run but only traces otherwise.

#include "platform/Types.h"

#include <cstdarg>

namespace platform {

enum class TraceChannel { kNetwork, kRecords, kReferee, kSprites, kSound, kFiles };
enum TraceLevel { kTraceOff = 0, kTraceError = 1, kTraceInfo = 2, kTraceDetail = 3 };

// Whether lines of the level go out on the channel.
bool IsTraced(TraceChannel channel, int level);
void Trace(TraceChannel channel, int level, LPCSTR format, ...)
    __attribute__((format(printf, 3, 4)));
void TraceV(TraceChannel channel, int level, LPCSTR format, va_list args);

// Tests watch every line that goes out (null: none); gives the one replaced.
using TraceListener = void (*)(TraceChannel channel, int level, LPCSTR line);
TraceListener SetTraceListener(TraceListener listener);
// Reads PELLOR_TRACE and PELLOR_ASSERTS again (they are read once, at first use).
void ReadTraceSettings();

bool AreAssertsLive();
[[noreturn]] void AssertFailed(TraceChannel channel, LPCSTR file, int line, LPCSTR text);
void ReportCaughtFailure(TraceChannel channel, LPCSTR text);

} // namespace platform

#define PELLOR_ASSERT(condition, channel, text)                                                    \
    do {                                                                                           \
        if (::platform::AreAssertsLive() && !(condition))                                          \
            ::platform::AssertFailed(channel, __FILE__, __LINE__, text);                           \
    } while (0)
