#pragma once

// Multimedia file input: RIFF files read chunk by chunk, from a file or from
// bytes in memory (the "MEM " reader). Reading only: a file is read whole
// when it is opened, and no read, descent or seek ever goes past its end.

#include "platform/Types.h"
#include "platform/system/InputBounds.h"

typedef DWORD FOURCC;
typedef UINT MMRESULT;
typedef char* HPSTR;
struct HMMIO__;
typedef HMMIO__* HMMIO;

#define mmioFOURCC(a, b, c, d)                                                                     \
    ((DWORD)(BYTE)(a) | ((DWORD)(BYTE)(b) << 8) | ((DWORD)(BYTE)(c) << 16) |                       \
     ((DWORD)(BYTE)(d) << 24))
#define FOURCC_RIFF mmioFOURCC('R', 'I', 'F', 'F')
#define FOURCC_LIST mmioFOURCC('L', 'I', 'S', 'T')
#define FOURCC_MEM mmioFOURCC('M', 'E', 'M', ' ')

#define MMSYSERR_NOERROR 0
#define MMIOERR_FILENOTFOUND 257
#define MMIOERR_OUTOFMEMORY 258
#define MMIOERR_CANNOTOPEN 259
#define MMIOERR_CANNOTREAD 261
#define MMIOERR_CANNOTSEEK 263
#define MMIOERR_CHUNKNOTFOUND 265
#define MMIOERR_UNBUFFERED 266

#define MMIO_READ 0x00000000
#define MMIO_WRITE 0x00000001
#define MMIO_READWRITE 0x00000002
#define MMIO_ALLOCBUF 0x00010000
#define MMIO_FINDCHUNK 0x0010
#define MMIO_FINDRIFF 0x0020
#define MMIO_FINDLIST 0x0040

#ifndef SEEK_SET
#define SEEK_SET 0
#define SEEK_CUR 1
#define SEEK_END 2
#endif

struct MMCKINFO {
    FOURCC ckid;
    DWORD cksize;
    FOURCC fccType; // RIFF and LIST chunks only
    DWORD dwDataOffset;
    DWORD dwFlags;
};
typedef MMCKINFO* LPMMCKINFO;

struct MMIOINFO {
    DWORD dwFlags;
    FOURCC fccIOProc; // FOURCC_MEM: the file is pchBuffer's cchBuffer bytes
    void* pIOProc;
    UINT wErrorRet; // why mmioOpen failed
    HANDLE htask;
    LONG cchBuffer;
    HPSTR pchBuffer;
    HPSTR pchNext;
    HPSTR pchEndRead;
    HPSTR pchEndWrite;
    LONG lBufOffset;
    LONG lDiskOffset;
    DWORD adwInfo[3];
    DWORD dwReserved1;
    DWORD dwReserved2;
    HMMIO hmmio;
};
typedef MMIOINFO* LPMMIOINFO;

// Files larger than a sound file may be are not opened (MMIOERR_OUTOFMEMORY).
constexpr size_t kMmioMaxFileBytes = platform::kMaxSoundFileBytes;

// A file by name (info may be null), or with info->fccIOProc FOURCC_MEM the
// bytes info names, which must outlive the handle. Reading only: other
// modes fail. Null on failure, with the reason in info->wErrorRet.
HMMIO mmioOpen(LPSTR fileName, LPMMIOINFO info, DWORD flags);
MMRESULT mmioClose(HMMIO mmio, UINT flags);
// The bytes read: fewer at the end of the file, 0 there, -1 on a bad call.
LONG mmioRead(HMMIO mmio, HPSTR buffer, LONG count);
// The new position, or -1 when it would lie outside the file.
LONG mmioSeek(HMMIO mmio, LONG offset, int origin);
// Reads the chunk header at the position (or, with a FIND flag, the first
// matching chunk from there on, within parent when given) and moves into its
// data. The size is the header's claim, which may run past the file's end:
// reads then stop at the end.
MMRESULT mmioDescend(HMMIO mmio, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags);
// Moves past the end of the chunk (and its pad byte).
MMRESULT mmioAscend(HMMIO mmio, LPMMCKINFO chunk, UINT flags);
