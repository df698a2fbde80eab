#pragma once

// Resources: strings, dialog templates, bitmaps, cursors, icons and raw data
// by id, from resource modules.
//
// A resource module is a resource script (see ResourceScript.h) registered
// under a library file name with RegisterResourceModule; from then on
// LoadLibrary of that name gives a module handle whose resources these calls
// find. The program's resource library is such a module.
//
// Searching follows MFC: AfxFindResourceHandle looks in the resource handle
// (AfxSetResourceHandle; the instance handle until it is set), then in every
// module that joined the search with a CDynLinkLibrary, newest first. The
// Afx/CString loaders search; the Win32 calls look in the one module given.

#include "platform/CString.h"
#include "platform/Types.h"
#include "platform/gdi/Gdi.h"
#include "platform/resources/DialogTemplate.h"
#include "platform/resources/Icon.h"
#include "platform/resources/Languages.h"
#include "platform/system/Memory.h"
#include "platform/window/Cursor.h"

#include <string>

// Resource types.
#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)

// The shared system icons.
#define IDI_APPLICATION MAKEINTRESOURCE(32512)
#define IDI_HAND MAKEINTRESOURCE(32513)
#define IDI_QUESTION MAKEINTRESOURCE(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCE(32515)
#define IDI_ASTERISK MAKEINTRESOURCE(32516)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

struct HRSRC__;
typedef HRSRC__* HRSRC;

// Registers a resource module under a library file name ("Pellor2_res.dll"):
// the script is read and checked now, so a broken script is refused here with
// a message naming its file and line (in *error), and nothing is registered.
// Files the script names (bitmaps, cursors, icons, raw data, #include) are
// relative to the script's folder. Registering a name again replaces the
// module unless it is loaded.
bool RegisterResourceModule(const char* fileName, const std::string& scriptPath,
                            std::string* error = nullptr);
// The same from script text held in memory; baseFolder is where named files
// lie.
bool RegisterResourceModuleText(const char* fileName, const std::string& scriptText,
                                const std::string& baseFolder, std::string* error = nullptr);
bool UnregisterResourceModule(const char* fileName);

// The program's instance handle: the program itself holds no resources, so
// until start-up sets the resource handle nothing is found.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
// The first module of the search that holds the resource; the resource
// handle when none does.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);

// An extension library's place in the resource search: constructing one
// joins its module, destroying it leaves.
class CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(HINSTANCE module);
    ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;

    HINSTANCE m_hResource;
};

// Copies the string (GBK) with its terminator into buffer, cut to size - 1
// bytes without splitting a double-byte character; returns the bytes copied,
// 0 when the module has no such string.
int LoadString(HINSTANCE module, UINT id, LPSTR buffer, int size);
#define LoadStringA LoadString
// The resource search's LoadString.
int AfxLoadString(UINT id, LPSTR buffer, int size);

// A new 32-bit DIB section of the BITMAP resource; the caller owns it.
HBITMAP LoadBitmap(HINSTANCE module, LPCSTR name);
#define LoadBitmapA LoadBitmap

// Shared icons: the system's (module null, IDI_ names) and a module's ICON
// resources. They stay valid while the module is registered; DestroyIcon
// leaves shared icons alone.
// A module's icon is its RT_GROUP_ICON entry nearest the system icon size.
HICON LoadIcon(HINSTANCE module, LPCSTR name);
#define LoadIconA LoadIcon

// Raw resources. The data is the resource's bytes as Windows keeps them:
// a packed DIB (no file header) for RT_BITMAP, icon groups and their images
// for RT_GROUP_ICON/RT_ICON and RT_GROUP_CURSOR/RT_CURSOR, the extended
// binary template for RT_DIALOG, the file's bytes for user-defined types
// ("WAVE", "GIF" ...). Data stays valid while the module is registered.
// FindResource takes any language (neutral first); FindResourceEx the one
// asked for, else one of its primary language, else a neutral one.
HRSRC FindResource(HMODULE module, LPCSTR name, LPCSTR type);
HRSRC FindResourceEx(HMODULE module, LPCSTR type, LPCSTR name, WORD language);
// Calls back once per name of the type (text names first, then ids
// upwards) until the callback returns FALSE.
typedef BOOL (*ENUMRESNAMEPROC)(HMODULE module, LPSTR type, LPSTR name, LONG_PTR param);
BOOL EnumResourceNames(HMODULE module, LPCSTR type, ENUMRESNAMEPROC callback, LONG_PTR param);
#define EnumResourceNamesA EnumResourceNames
// A module loaded to read its resources. Our modules are built into the
// program, so every flag gives the handle LoadLibrary gives.
#define LOAD_LIBRARY_AS_DATAFILE 0x00000002
#define LOAD_LIBRARY_AS_IMAGE_RESOURCE 0x00000020
#define LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE 0x00000040
HMODULE LoadLibraryEx(LPCSTR fileName, HANDLE file, DWORD flags);
#define LoadLibraryExA LoadLibraryEx
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL data);
#define FindResourceA FindResource

// Dialog templates (see DialogTemplate.h): a copy of the template named in
// the one module, or through the resource search (*foundIn gets the module
// that held it).
bool FindDialogTemplate(HINSTANCE module, LPCSTR name, DialogTemplate& result);
bool LoadDialogTemplate(LPCSTR name, DialogTemplate& result, HINSTANCE* foundIn = nullptr);

namespace platform {

// A module's CURSOR resource as a cursor (shared, like LoadIcon's icons).
// LoadCursor with a module handle comes here.
HCURSOR LoadModuleCursor(HINSTANCE module, LPCSTR name);
// LoadImage of an icon or a cursor.
HANDLE LoadIconImage(HINSTANCE module, LPCSTR name, UINT type, int cx, int cy, UINT flags);

} // namespace platform
