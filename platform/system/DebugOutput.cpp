#include "platform/system/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

platform::DebugOutputListener listener = nullptr;

bool SwitchedOn() {
    const char* value = std::getenv("PELLOR_DEBUG_OUTPUT");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

} // namespace

void OutputDebugString(LPCSTR text) {
    if (text == nullptr)
        return;
    if (listener != nullptr)
        listener(text);
    if (SwitchedOn())
        std::fputs(text, stderr);
}

namespace platform {

DebugOutputListener SetDebugOutputListener(DebugOutputListener newListener) {
    DebugOutputListener previous = listener;
    listener = newListener;
    return previous;
}

} // namespace platform
