// The memory image's loaders: they decode with the UI kit's picture
// routines and hand the bitmap to the image.

#include "knclientUI05/KnClientPublic.h"
#include "kngif/KNMemBitmap.h"

BOOL CKNMemBitmap::LoadBitmapFile(HINSTANCE instance, LPCSTR path) {
    return path ? TakeBitmap(::LoadBitmapFile(instance, path)) : FALSE;
}

BOOL CKNMemBitmap::LoadFromImageData(const BYTE* data, int size) {
    return data && size > 0 ? TakeBitmap(CreateBitmapFromImageData(data, size)) : FALSE;
}

BOOL CKNMemBitmap::LoadFromFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language) {
    // Without a module the name is a file path: an integer resource name
    // cannot be one.
    if (!name || (!module && IS_INTRESOURCE(name))) {
        return FALSE;
    }
    return TakeBitmap(LoadImageFileOrResource(module, name, type, language));
}

BOOL CKNMemBitmap::LoadFile(LPCSTR path) {
    return LoadFromFileOrResource(nullptr, path, nullptr, 0);
}
