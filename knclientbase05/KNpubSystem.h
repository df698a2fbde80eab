#pragma once

// File and system services of the utility library.

#include "platform/Types.h"
#include "platform/system/Registry.h"

#include <cstddef>

// Deletes a file, or a folder with everything in it; 0 when the path does not
// exist or a step failed (the first failure stops).
int DeleteTree(const char* path);
// 0 when the file cannot be opened.
DWORD GetFileSizeByName(const char* path);
// Creates or replaces the file; 1 when it could be created.
int WriteWholeFile(const char* path, const void* bytes, DWORD count);
// The number of bytes appended.
DWORD AppendToFile(const char* path, const void* bytes, DWORD count);
// Keeps nine generations "name.1" (newest) to "name.9"; the file itself
// becomes generation 1.
void RotateFiles(const char* path);
const char* GetCommandInterpreter();
bool RegSetDword(HKEY root, const char* subKey, const char* valueName, DWORD value);
// Resident and peak resident bytes of this process.
bool GetProcessMemory(size_t* workingSet, size_t* peakWorkingSet);
// printf-style, at most 1024 bytes, on the trace's network channel at the
// error level (platform/system/Trace.h), which goes to standard error unless
// PELLOR_TRACE silences it.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Sort comparator of two DWORDs.
int CompareU32(const void* a, const void* b);
// Header plus payload length of a wire frame; 0 for null.
DWORD FrameTotalLength(const void* header);
void Md5Of(BYTE digest[16], const void* data, UINT length);
DWORD GetLibraryWord();

// Hook slots for a host program; an empty slot answers 0.
typedef int (*HookFunction2)(void*, void*);
typedef int (*HookFunction3)(void*, void*, void*);
void SetLibraryHooks(HookFunction2 a, HookFunction2 b, HookFunction3 c, HookFunction3 d);
BYTE CallHookA(void* first, void* second);
BYTE CallHookB(void* first, void* second);
BYTE CallHookC(void* first, void* second, void* third);
BYTE CallHookD(void* first, void* second, void* third);
