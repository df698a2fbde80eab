#pragma once
// Private messages the dialogs post to the main window: WM_SHELL_RESORT and
// WM_LEAVE_TABLE (a refused compulsory coin offer leaves the game).

#include "sprite/WindowMessages.h"
