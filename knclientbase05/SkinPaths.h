#pragma once

// How a game chooses its skin (a theme folder and its ".thm" settings file)
// and its theme library, one set per process: the library's skinned dialogs
// and buttons read them, and with a skin chosen its message and wait boxes
// are the skinned ones.

#include "knbase05/TablehubApi.h"
#include "platform/CString.h"
#include "platform/Types.h"

// Sets the skin's folders for a game: from skinFolder (may be null or
// empty) or the program's folder, or with sharedPath from the platform's
// shared "Game\Share\Theme" folder. 1 set, 0 when the program's path is
// unknown.
TABLEHUB_API int SetSkinPaths(LPCSTR game, int sharedPath, const CString* skinFolder);
// Chooses the theme library by the theme file's [Settings] UseThemeResDll.
TABLEHUB_API int LoadThemeResDll(LPCSTR game);
TABLEHUB_API void FreeThemeResDll();
