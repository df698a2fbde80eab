#pragma once

// Named shared memory over POSIX shm, shared between processes of the user.
// As on Windows, a named block lives while some process holds a handle or a
// view of it: the last one to let go removes it, and a block left behind by a
// process that died is treated as gone.

#include "platform/Types.h"
#include "platform/system/KernelObject.h"
#include "platform/system/Memory.h"

#include <string>

#define PAGE_WRITECOPY 0x08

#define FILE_MAP_COPY 0x0001
#define FILE_MAP_WRITE 0x0002
#define FILE_MAP_READ 0x0004
#define FILE_MAP_ALL_ACCESS 0xF001F

// Only blocks backed by the paging file (file = INVALID_HANDLE_VALUE). When a
// block of that name exists, its handle is returned with its own size and the
// last error is ERROR_ALREADY_EXISTS; a new block is zero-filled. A null or
// empty name makes a block of this process alone.
HANDLE CreateFileMapping(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect, DWORD sizeHigh,
                         DWORD sizeLow, LPCSTR name);
// Null with ERROR_FILE_NOT_FOUND when no live block has that name.
HANDLE OpenFileMapping(DWORD access, BOOL inheritHandle, LPCSTR name);
// Offsets are multiples of 64 KiB; a size of 0 maps to the end of the block.
LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, SIZE_T bytes);
BOOL UnmapViewOfFile(LPCVOID baseAddress);

#define CreateFileMappingA CreateFileMapping
#define OpenFileMappingA OpenFileMapping

// The POSIX shm name for a Windows object name: per user, "Local\" and
// "Global\" prefixes dropped, bytes outside [A-Za-z0-9_.-] escaped, long
// names shortened by a hash. Case is kept (Windows object names keep it too).
std::string SharedMemoryName(const std::string& windowsName);
