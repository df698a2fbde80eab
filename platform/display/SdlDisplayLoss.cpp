#include "platform/display/SdlDisplayLoss.h"

#include <SDL.h>

#include <cstdio>
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

// May run on any thread that speaks to the server (SDL wakes the loop from
// another one), so it only formats into its own buffer and writes.
int OnXRequestRefused(Display*, XErrorEvent* error) {
    char text[128];
    const int n = snprintf(
        text, sizeof text, "the X server refused request %d.%d (error %d); the program goes on\n",
        int(error->request_code), int(error->minor_code), int(error->error_code));
    if (n > 0) {
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text, size_t(n));
    }
    return 0;
}

} // namespace

namespace platform {

void HandleXServerErrors() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && strcmp(driver, "x11") == 0) {
        XSetIOErrorHandler(&OnXConnectionLost);
        XSetErrorHandler(&OnXRequestRefused);
    }
}

} // namespace platform
