#pragma once

// Folders of the platform's games and the macros that configured paths may
// hold. Outputs take a capacity (bytes with the terminator); a result that
// would not fit fails and leaves the output as it was.

#include "platform/CString.h"
#include "platform/Types.h"

#include <cstddef>

// The folder of a game ("tavorin" is the shared folder), or of this program
// when game is empty, followed by "\file" when a file name is given.
int GetGameFilePath(LPCSTR game, LPCSTR file, char* output, size_t capacity);

// Replaces every occurrence, in any letter case, of the first macro present:
// "%system%", "%Windows%", "%Room%", "%game%", "%advert%", "%LRC<name>%".
// 1 after a replacement; 0 when none is present or it cannot be expanded.
int ExpandPathMacro(char* text, size_t capacity);

// The advertised file of a shared-file frame (0x205 to 0x207): the text
// behind the header, or entry "File<index>" of the "Share" profile's section
// "FileAdvert". Frames too short for their fields give an empty text.
CString GetShareFileAdvert(const void* message, DWORD size, DWORD* out);
