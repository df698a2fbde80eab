#pragma once

// Installing a display driver, which the window manager's cursor and
// clipboard must hear of.

#include "platform/DisplayDriver.h"

namespace platform {

// Installs the driver (null: the null driver). The caller keeps it alive while
// it is installed. The new driver is shown the current cursor at once, and the
// text last seen on the old driver's desktop clipboard is forgotten.
void SetDisplayDriver(DisplayDriver* driver);

} // namespace platform
