#pragma once

// Image lists: rows of equal cells, each with an optional transparency mask,
// drawn by index. The colour-depth flags are accepted but images keep their
// exact colours (stored at 32 bits), so a skin looks as it was painted.

#include "platform/Types.h"
#include "platform/gdi/GdiWrappers.h"

struct IMAGELIST__;
typedef IMAGELIST__* HIMAGELIST;

#define ILC_MASK 0x00000001
#define ILC_COLOR 0x00000000
#define ILC_COLORDDB 0x000000FE
#define ILC_COLOR4 0x00000004
#define ILC_COLOR8 0x00000008
#define ILC_COLOR16 0x00000010
#define ILC_COLOR24 0x00000018
#define ILC_COLOR32 0x00000020

#define ILD_NORMAL 0x00000000
#define ILD_TRANSPARENT 0x00000001
#define ILD_MASK 0x00000010
#define ILD_IMAGE 0x00000020

#define CLR_NONE 0xFFFFFFFF
#define CLR_DEFAULT 0xFF000000

// Null for a cell size below 1 or past 32767 pixels.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Adds every whole cell of the bitmap, left to right (columns left over are
// ignored); the mask's white pixels are transparent. Returns the index of the
// first image added, -1 on failure (also for a bitmap still selected into a
// DC, which cannot be read). The caller keeps both bitmaps.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add, with the pixels of the mask colour transparent (and black
// in the stored image). The caller's bitmap is not changed.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
// Removes one image, or all of them for -1.
BOOL ImageList_Remove(HIMAGELIST list, int index);
// CLR_NONE (the default) draws masked images transparently; another colour
// fills their transparent pixels.
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
// ILD_NORMAL and ILD_TRANSPARENT honour the mask; ILD_MASK draws the mask
// (white transparent, black opaque); ILD_IMAGE draws the colours alone.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style);

// The framework's wrapper; the list is destroyed with the wrapper unless
// detached.
class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    int Add(CBitmap* image, CBitmap* mask);
    int Add(CBitmap* image, COLORREF maskColor);
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    COLORREF SetBkColor(COLORREF color) { return ImageList_SetBkColor(m_hImageList, color); }
    BOOL Draw(class CDC* dc, int index, POINT at, UINT style);
};
