#pragma once

// Global memory blocks: the handles packed DIBs and the clipboard trade in.
// A fixed block's handle is its address, as callers that treat the handle of
// a GMEM_FIXED block as a pointer expect; a movable block's handle is a token
// that GlobalLock turns into the current address. Handles are checked: a
// stale or foreign one makes a call fail, never crash.

#include "platform/Types.h"

typedef HANDLE HGLOBAL;

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_NOCOMPACT 0x0010
#define GMEM_NODISCARD 0x0020
#define GMEM_ZEROINIT 0x0040
#define GMEM_MODIFY 0x0080
#define GMEM_DISCARDABLE 0x0100
#define GMEM_SHARE 0x2000
#define GMEM_DDESHARE GMEM_SHARE
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define PAGE_READONLY 0x02
#define PAGE_READWRITE 0x04

// Page protection is not kept here: every call succeeds and reports the
// pages as having been writable.
BOOL VirtualProtect(LPVOID address, SIZE_T bytes, DWORD protection, DWORD* oldProtection);

// Blocks are always zero-filled (GMEM_ZEROINIT or not); null for a size past
// 1 GiB. A size of 0 gives a block of one byte.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's address (a fixed block's is its handle); movable blocks count
// their locks.
LPVOID GlobalLock(HGLOBAL block);
// TRUE while a movable block stays locked; FALSE when this was its last lock
// (last error ERROR_SUCCESS) or the block was not locked or is not one.
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
// Grows or shrinks a block, keeping its bytes; bytes added are zero. A movable
// block keeps its handle, but its address may change unless it is locked (a
// locked one then fails). A fixed block may move only when GMEM_MOVEABLE is
// given: the result is then its new handle and address. Null on failure, the
// block unchanged. GMEM_MODIFY changes nothing and gives the block back.
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags);
// Null on success, the block when it is not one.
HGLOBAL GlobalFree(HGLOBAL block);
// The handle of a block from its address (the handle itself for fixed
// blocks), null when the address starts no block.
HGLOBAL GlobalHandle(LPCVOID address);
