// Copies of resources handed to the caller: dialog templates and strings,
// and the application's animated cursors.

#include "knclientUI05/KnClientPublic.h"

#include "platform/resources/Resource.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kStringBuffer = 1024;
constexpr DWORD kCursorVersion = 0x30000;
const char kAniCursors[] = "ANICURSORS";

// A malloc copy of a found resource's bytes: its size, or 0.
int CopyFound(void** out, HMODULE module, HRSRC found) {
    if (!found)
        return 0;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL data = LoadResource(module, found);
    const void* bytes = data ? LockResource(data) : nullptr;
    void* copy = bytes && size ? std::malloc(size) : nullptr;
    if (copy) {
        std::memcpy(copy, bytes, size);
        *out = copy;
    }
    if (data)
        FreeResource(data);
    return copy ? int(size) : 0;
}

} // namespace

int LoadDialogTemplateCopy(void** buffer, HMODULE module, LPCSTR name) {
    if (!buffer)
        return 0;
    *buffer = nullptr;
    return CopyFound(buffer, module, FindResource(module, name, RT_DIALOG));
}

int CopyStringOrDialogResource(void** out, HMODULE module, LPCSTR name, BOOL string,
                               WORD language) {
    if (!out)
        return 0;
    *out = nullptr;
    if (!string)
        return CopyFound(out, module, FindResourceEx(module, RT_DIALOG, name, language));
    char* text = static_cast<char*>(std::malloc(kStringBuffer));
    if (!text)
        return 0;
    const int length =
        LoadString(module, UINT(reinterpret_cast<UINT_PTR>(name)), text, kStringBuffer);
    if (length > 0)
        *out = text;
    else
        std::free(text);
    return length > 0 ? length : 0;
}

HCURSOR LoadAniCursor(UINT id) {
    // The program's own module holds no resources here: its resources are in
    // the resource library, which the resource search reaches.
    LPCSTR name = MAKEINTRESOURCE(id & 0xFFFF);
    HINSTANCE module = AfxFindResourceHandle(name, kAniCursors);
    HRSRC found = FindResource(module, name, kAniCursors);
    if (!found)
        return nullptr;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL data = LoadResource(module, found);
    PBYTE bytes = data ? static_cast<PBYTE>(LockResource(data)) : nullptr;
    HICON cursor = bytes ? CreateIconFromResource(bytes, size, FALSE, kCursorVersion) : nullptr;
    if (data)
        FreeResource(data);
    return reinterpret_cast<HCURSOR>(cursor);
}
