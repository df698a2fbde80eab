#include "platform/display/SdlDisplayLoss.h"

#include <SDL.h>

#include <cstring>
#include <unistd.h>

// Last: Xlib's macros (None, Bool, Status) would break headers after it.
#include <X11/Xlib.h>

namespace {

int OnXConnectionLost(Display*) {
    // Only async-signal-safe calls: the connection and much else is gone.
    static const char kText[] = "the X display is gone; the program ends\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kText, sizeof kText - 1);
    _exit(1);
}

} // namespace

namespace platform {

void EndProcessWhenTheXDisplayGoes() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && strcmp(driver, "x11") == 0)
        XSetIOErrorHandler(&OnXConnectionLost);
}

} // namespace platform
