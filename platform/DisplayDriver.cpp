// The display driver slot, holding the null driver until one is installed.

#include "platform/DisplayDriver.h"

namespace platform {

namespace {

DisplayDriver g_nullDriver;
DisplayDriver* g_driver = &g_nullDriver;

} // namespace

void FillDisplayDriverSlot(DisplayDriver* driver) {
    g_driver = driver ? driver : &g_nullDriver;
}

DisplayDriver& GetDisplayDriver() {
    return *g_driver;
}

} // namespace platform
