#pragma once

// The SDL display (SdlBackend.cpp): internal to the display layer.

#include "platform/display/WindowSurfaces.h"

#include <memory>

namespace platform {

// Null when SDL's video cannot start (no display server reachable).
std::unique_ptr<WindowSurfaces> StartSdlDisplay();

} // namespace platform
