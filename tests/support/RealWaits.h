#pragma once

// How long a test waits in real time for what happens at once on an idle
// machine (a connection, a frame, a process's port): long, so that a machine
// whose every core is busy still passes. Waiting this long means the test
// has failed; the time is never a measure.
constexpr int kRealWaitSeconds = 30;
