#pragma once

// A game's resource library "<game>_Res.dll": found next to the program or
// in the application profile's "Path" folder, checked to belong to this
// build of the program, and then made the source of all resources. A check
// also records the program's identity texts from the two version blocks,
// starts the code-page converter and records the system's version.
//
// A library that fails a check is told in a message box and let go again;
// the resource handle changes only when every check has passed.

#include "platform/Types.h"
#include "platform/system/SystemVersion.h"

#include <cstddef>

struct tagPROGRAMIDENTITY {
    // Language in the low word, code page in the high word.
    DWORD dwProgramTranslation;
    DWORD dwLibraryTranslation;
    DWORD dwProgramVersionMS; // major << 16 | minor
    DWORD dwProgramVersionLS; // build << 16 | revision
    DWORD dwLibraryVersionMS;
    DWORD dwLibraryVersionLS;
    char szProgramVersion[40]; // "%d.%02d.%d.%d"
    char szLibraryVersion[40];
    char szProgramInternalName[60];
    char szLibraryInternalName[60];
    char szDisplayVersion[40]; // "2.03", or "2.03 Beta7" below revision 255
    char szSpecialBuild[60];   // the program's
    char szDescription[60];    // this and the rest: the library's
    char szProductName[60];
    char szCompanyName[60];
    char szLegalCopyright[60];
    char szComments[60];
    OSVERSIONINFOA osVersion;
};

// Filled by the checks.
extern tagPROGRAMIDENTITY theProgramIdentity;

// The loaded library, or null; path (when given, MAX_PATH bytes) receives
// the name it was loaded by.
HMODULE LoadResourceLibrary(LPCSTR gameName, char* path);

// 1 when the library holds the same text for versionStringId as the
// current resources.
int CheckResourceLibrary(LPCSTR gameName, UINT versionStringId);
// 1 when the two file versions are equal and the library's internal name
// is the program's followed by "Resource".
int CheckResourceLibraryVersion(LPCSTR gameName);
// As above, but the library's version need only reach minimum ("a,b,c,d",
// or with blanks); a null minimum is CheckResourceLibraryVersion.
int CheckResourceLibraryMinVersion(LPCSTR gameName, LPCSTR minimum);

// FreeLibrary's result for the code-page converter; FALSE when none is loaded.
BOOL ReleaseCodePageConverter();

// The version of "<Path>\<game>.exe", or of "<Path>\<game>_Res.dll" when
// the first has none; text (at least 24 bytes) gets "%d.%02d.%d.%d". The
// outputs stay as they were when neither file has a version.
void GetGameFileVersion(LPCSTR gameName, DWORD* high, DWORD* low, char* text);

// "%d.%02d" of major and minor, with " Beta%d" of the revision unless it is
// 255.
void FormatDisplayVersion(WORD major, WORD minor, WORD revision, char* out, size_t size);
