// Installing a display driver.

#include "platform/window/DisplayInstall.h"

#include "platform/window/Clipboard.h"
#include "platform/window/Cursor.h"

namespace platform {

void SetDisplayDriver(DisplayDriver* driver) {
    FillDisplayDriverSlot(driver);
    ForgetDesktopClipboardText();
    ShowCurrentCursor();
}

} // namespace platform
