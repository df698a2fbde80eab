#pragma once

// The skin a game chose (SkinPaths.h), as the library's parts read it.

#include "knclientbase05/SkinPaths.h"

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

// The part of moduleFolder before "Game\<game>" (any case), or empty.
CString PlatformRootOf(LPCSTR moduleFolder, LPCSTR game);

// Where the notice of a skin that cannot be used goes; the message box
// front end installs itself here.
typedef void (*SkinNoticeFunction)(LPCSTR text);
void SetSkinNoticeFunction(SkinNoticeFunction notice);
