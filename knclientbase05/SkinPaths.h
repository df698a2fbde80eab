#pragma once

// A game's skin (a theme folder and its ".thm" settings file) and its theme
// library, one set per process.

#include "platform/CString.h"
#include "platform/Types.h"

struct tagSKINSETTINGS {
    char szModuleFolder[MAX_PATH]; // the program file's folder
    char szGameIni[MAX_PATH];      // "<module folder>\<game>.ini"
    CString strGameName;
    char szThemeFolder[MAX_PATH]; // images of the skin
    char szThemeFile[MAX_PATH];   // the skin's ".thm" file
    bool bSkinInUse;              // the message boxes are skinned
    int nThemeResMode;            // 0 none, 1 the game's theme library, else the resource module
    HINSTANCE hThemeRes;
};

extern tagSKINSETTINGS theSkin;

// Sets the skin's folders for a game: from skinFolder (may be null or
// empty) or the program's folder, or with sharedPath from the platform's
// shared "Game\Share\Theme" folder. 1 set, 0 when the program's path is
// unknown.
int SetSkinPaths(LPCSTR game, int sharedPath, const CString* skinFolder);
// The part of moduleFolder before "Game\<game>" (any case), or empty.
CString PlatformRootOf(LPCSTR moduleFolder, LPCSTR game);
// Chooses the theme library by the theme file's [Settings] UseThemeResDll.
int LoadThemeResDll(LPCSTR game);
void FreeThemeResDll();

// Where the notice of a skin that cannot be used goes; the message box
// front end installs itself here.
typedef void (*SkinNoticeFunction)(LPCSTR text);
void SetSkinNoticeFunction(SkinNoticeFunction notice);
