#pragma once

// Files and folders by name: attributes, creation and deletion. Names are GBK,
// as all of the system's texts, and become UTF-8 through NativePath (Path.h).
//
// A read-only file is one without any write permission bit. The layer checks
// that bit itself, so a read-only file is refused to DeleteFile even for a
// process that the file system would let through (root). A symbolic link is
// never followed by a deletion: DeleteFile and RemoveDirectory remove the link.

#include "platform/Types.h"

#include <string>

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400

// INVALID_FILE_ATTRIBUTES (last error set) when the name does not exist. A
// folder reached through a link keeps FILE_ATTRIBUTE_DIRECTORY and gains
// FILE_ATTRIBUTE_REPARSE_POINT.
DWORD GetFileAttributes(LPCSTR path);
// Only FILE_ATTRIBUTE_READONLY changes anything: it takes every write bit away,
// and its absence gives the owner write permission back.
BOOL SetFileAttributes(LPCSTR path, DWORD attributes);
BOOL CreateDirectory(LPCSTR path, LPSECURITY_ATTRIBUTES security);
// An empty folder, or a link to a folder (the link goes, the folder stays).
BOOL RemoveDirectory(LPCSTR path);
// ERROR_ACCESS_DENIED for a read-only file and for a folder.
BOOL DeleteFile(LPCSTR path);
#define GetFileAttributesA GetFileAttributes
#define SetFileAttributesA SetFileAttributes
#define CreateDirectoryA CreateDirectory
#define RemoveDirectoryA RemoveDirectory
#define DeleteFileA DeleteFile

namespace platform {

// The attributes of an entry as lstat describes it (links not followed).
DWORD AttributesOfEntry(const std::string& nativePath);

} // namespace platform
