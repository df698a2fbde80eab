#pragma once

// The old numbered-file calls (OpenFile, _lwrite, _lclose...). An HFILE is a
// number the layer gave out; a number it did not give out, or one already
// closed, is refused (HFILE_ERROR), never passed on to the system.

#include "platform/Types.h"

typedef int HFILE;
#define HFILE_ERROR ((HFILE)-1)
#define OFS_MAXPATHNAME 128

struct OFSTRUCT {
    BYTE cBytes;
    BYTE fFixedDisk;
    WORD nErrCode;
    WORD Reserved1;
    WORD Reserved2;
    CHAR szPathName[OFS_MAXPATHNAME];
};
typedef OFSTRUCT* LPOFSTRUCT;

#define OF_READ 0x00000000
#define OF_WRITE 0x00000001
#define OF_READWRITE 0x00000002
#define OF_SHARE_COMPAT 0x00000000
#define OF_SHARE_EXCLUSIVE 0x00000010
#define OF_SHARE_DENY_WRITE 0x00000020
#define OF_SHARE_DENY_READ 0x00000030
#define OF_SHARE_DENY_NONE 0x00000040
#define OF_PARSE 0x00000100
#define OF_DELETE 0x00000200
#define OF_CANCEL 0x00000800
#define OF_CREATE 0x00001000
#define OF_PROMPT 0x00002000
#define OF_EXIST 0x00004000
#define OF_REOPEN 0x00008000

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2

// OF_CREATE makes the file (emptying one that exists) and opens it for
// reading and writing; OF_EXIST opens and closes it again (a result other
// than HFILE_ERROR says it exists); OF_DELETE deletes it (as DeleteFile, so
// a read-only file stays); OF_PARSE only fills the record. The record gets
// the name (cut to fit) and, on failure, the error in nErrCode. Sharing
// modes are accepted and not enforced.
HFILE OpenFile(LPCSTR path, LPOFSTRUCT record, UINT style);
// OF_READ, OF_WRITE or OF_READWRITE on an existing file.
HFILE _lopen(LPCSTR path, int mode);
// Creates or empties a file for writing (attribute 1 makes it read-only
// once closed).
HFILE _lcreat(LPCSTR path, int attribute);
// The bytes moved, HFILE_ERROR ((UINT)-1) on failure.
UINT _lread(HFILE file, LPVOID buffer, UINT count);
UINT _lwrite(HFILE file, LPCSTR buffer, UINT count);
LONG _hread(HFILE file, LPVOID buffer, LONG count);
LONG _hwrite(HFILE file, LPCSTR buffer, LONG count);
// The new position, HFILE_ERROR on failure.
LONG _llseek(HFILE file, LONG offset, int origin);
HFILE _lclose(HFILE file);
