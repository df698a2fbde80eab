#pragma once

// Player pictures from the icon library "people.dll" in the shared folder.
// The library is loaded for each call and let go after it.

#include "platform/Types.h"

// Draws icon index at 32 by 32 pixels; 0 when there is none.
BOOL DrawPlayerIcon(HDC hdc, int x, int y, int index);
// The icon, owned by the caller (DestroyIcon), or null.
HICON GetPlayerIcon(int index);
