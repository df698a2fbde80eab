// The memory image's loaders: they decode with the UI kit's picture
// routines and hand the bitmap to the image.

#include "knclientUI05/KnClientPublic.h"
#include "kngif/KNMemBitmap.h"

namespace {

// Takes over a bitmap a loader made: the image's pixels from it, then it is
// deleted.
BOOL TakeBitmap(CKNMemBitmap& image, HBITMAP bitmap) {
    if (!bitmap) {
        return FALSE;
    }
    const BOOL ok = image.CreateFromBitmap(bitmap);
    DeleteObject(bitmap);
    return ok;
}

} // namespace

BOOL CKNMemBitmap::LoadBitmapFile(HINSTANCE instance, LPCSTR path) {
    return path ? TakeBitmap(*this, ::LoadBitmapFile(instance, path)) : FALSE;
}

BOOL CKNMemBitmap::LoadFromImageData(const BYTE* data, int size) {
    return data && size > 0 ? TakeBitmap(*this, CreateBitmapFromImageData(data, size)) : FALSE;
}

BOOL CKNMemBitmap::LoadFromFileOrResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language) {
    // Without a module the name is a file path: an integer resource name
    // cannot be one.
    if (!name || (!module && IS_INTRESOURCE(name))) {
        return FALSE;
    }
    return TakeBitmap(*this, LoadImageFileOrResource(module, name, type, language));
}

BOOL CKNMemBitmap::LoadFile(LPCSTR path) {
    return LoadFromFileOrResource(nullptr, path, nullptr, 0);
}
