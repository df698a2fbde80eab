#pragma once

// The debugger output: messages a program writes for whoever is debugging
// it. There is no debugger to attach here, so the text goes to standard
// error when PELLOR_DEBUG_OUTPUT is set to a non-empty value other than
// "0", and nowhere otherwise. A listener (tests, a log window) may watch
// every message whatever the switch says.

#include "platform/Types.h"

void OutputDebugString(LPCSTR text);
#define OutputDebugStringA OutputDebugString

namespace platform {

using DebugOutputListener = void (*)(LPCSTR text);
// Null removes the listener; gives the one it replaces.
DebugOutputListener SetDebugOutputListener(DebugOutputListener listener);

} // namespace platform
