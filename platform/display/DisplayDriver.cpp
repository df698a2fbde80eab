// The installed display driver.

#include "platform/display/DisplayDriver.h"

#include "platform/window/Clipboard.h"
#include "platform/window/Cursor.h"

namespace platform {

namespace {

DisplayDriver g_nullDriver;
DisplayDriver* g_driver = &g_nullDriver;

} // namespace

void SetDisplayDriver(DisplayDriver* driver) {
    g_driver = driver ? driver : &g_nullDriver;
    ForgetDesktopClipboardText();
    ShowCurrentCursor();
}

DisplayDriver& GetDisplayDriver() {
    return *g_driver;
}

} // namespace platform
