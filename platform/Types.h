#pragma once

// The basic Windows-shaped types the system's code is written against.
// Only what the code uses; widths follow the 32-bit originals where a record
// that crosses the wire or a file depends on them.

#include <cstddef>
#include <cstdint>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int64_t LONGLONG;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef char TCHAR;
typedef char* LPTSTR;
typedef const char* LPCTSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef BYTE* PBYTE;

// Pointer-sized integers: message parameters carry pointers on 64-bit Linux.
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;

// Handles are distinct pointer types so that one kind cannot be passed for
// another by mistake.
#define PELLOR_DECLARE_HANDLE(name)                                                                \
    struct name##__;                                                                               \
    typedef name##__* name
PELLOR_DECLARE_HANDLE(HWND);
PELLOR_DECLARE_HANDLE(HKEY);
PELLOR_DECLARE_HANDLE(HINSTANCE);
PELLOR_DECLARE_HANDLE(HDC);
PELLOR_DECLARE_HANDLE(HBITMAP);
PELLOR_DECLARE_HANDLE(HBRUSH);
PELLOR_DECLARE_HANDLE(HPEN);
PELLOR_DECLARE_HANDLE(HFONT);
PELLOR_DECLARE_HANDLE(HRGN);
PELLOR_DECLARE_HANDLE(HPALETTE);
PELLOR_DECLARE_HANDLE(HCURSOR);
PELLOR_DECLARE_HANDLE(HICON);
PELLOR_DECLARE_HANDLE(HMENU);
#undef PELLOR_DECLARE_HANDLE
typedef HINSTANCE HMODULE;
typedef void* HANDLE;
typedef void* HGDIOBJ;
typedef UINT_PTR SOCKET;

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define MAX_PATH 260

typedef DWORD COLORREF;
#define RGB(r, g, b)                                                                               \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) ((LONG)(((WORD)(a)) | ((DWORD)((WORD)(b))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

// Accepted and ignored: Linux objects have no Windows security descriptors.
struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
typedef FILETIME* PFILETIME;

typedef size_t SIZE_T;
typedef DWORD* LPDWORD;
typedef LONG LSTATUS;

typedef POINT* LPPOINT;
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

// The calling convention of exported routines: the platform's own here.
#define WINAPI

// COM-style results, for the picture object and the component stand-ins.
typedef LONG HRESULT;
#define S_OK ((HRESULT)0L)
#define S_FALSE ((HRESULT)1L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// Interface and class ids.
struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
inline bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.Data4[i] != b.Data4[i])
            return false;
    return true;
}
inline bool operator!=(const GUID& a, const GUID& b) {
    return !(a == b);
}
typedef GUID IID;
typedef const GUID& REFIID;
typedef const GUID* LPCGUID;
