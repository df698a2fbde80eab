#pragma once
// Private messages the dialogs post to the main window.

#include "platform/Types.h"

// Show the start buttons again (wParam 0) after a coin request, or re-sort
// my hand (wParam 1, lParam the new card order) after the settings.
constexpr UINT WM_SHELL_RESORT = 0x1006;
// Leave the game (a refused compulsory coin offer).
constexpr UINT WM_SHELL_LEAVE = 0x1007;
