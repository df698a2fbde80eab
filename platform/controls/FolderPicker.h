#pragma once

// The shell's folder browser, as a dialog of our own: a title, the folder
// being looked at, its subfolders in a list (".." goes up), OK and Cancel.
// Double-clicking a folder (or Enter on one, through its notification) opens
// it; OK chooses the selected folder, or the one being looked at when none
// is selected. Only folders are shown, and never hidden ones.
//
// An item list is our own opaque block holding the folder's path; the caller
// frees it with CoTaskMemFree. Paths are GBK, with backslashes, as the
// program's other file names; folders whose names have no GBK form are not
// offered.

#include "platform/Types.h"

#include <string>

struct ITEMIDLIST;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef int(CALLBACK_BFF)(HWND, UINT, LPARAM, LPARAM);
typedef CALLBACK_BFF* BFFCALLBACK;

struct BROWSEINFO {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot; // where browsing starts; null: the user's home folder
    LPSTR pszDisplayName;   // MAX_PATH bytes: the chosen folder's own name
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn; // not called
    LPARAM lParam;
    int iImage;
};
typedef BROWSEINFO BROWSEINFOA;
typedef BROWSEINFO* LPBROWSEINFO;

#define BIF_RETURNONLYFSDIRS 0x00000001
#define BIF_DONTGOBELOWDOMAIN 0x00000002
#define BIF_EDITBOX 0x00000010
#define BIF_NEWDIALOGSTYLE 0x00000040

// The picker's controls, for code (and tests) that drive it by messages.
#define IDC_FOLDER_TITLE 14145
#define IDC_FOLDER_PATH 14146
#define IDC_FOLDER_LIST 14147

// Runs the picker modally over its owner. Null when cancelled or the info is
// null.
LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFO info);
#define SHBrowseForFolderA SHBrowseForFolder
// Copies the list's path into path (MAX_PATH bytes); FALSE for a null list
// or a path that does not fit.
BOOL SHGetPathFromIDList(LPCITEMIDLIST list, LPSTR path);
#define SHGetPathFromIDListA SHGetPathFromIDList
// A list for a GBK path (as pidlRoot), freed with CoTaskMemFree.
LPITEMIDLIST ILCreateFromPath(LPCSTR path);
void CoTaskMemFree(LPVOID block);
