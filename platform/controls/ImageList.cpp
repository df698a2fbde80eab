// Image lists over two strips: the colours (32 bits) and the mask (1 bit,
// white = transparent), one cell per image.

#include "platform/controls/ImageList.h"

#include "platform/gdi/Dc.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <utility>

struct IMAGELIST__ {
    int cx = 0, cy = 0;
    bool masked = false;
    int count = 0;
    int capacity = 0;
    int grow = 4;
    COLORREF background = CLR_NONE;
    HBITMAP image = nullptr; // capacity cells side by side
    HBITMAP mask = nullptr;
};

namespace {

constexpr int kMaxSide = 32767;

std::set<HIMAGELIST>& Lists() {
    static auto* lists = new std::set<HIMAGELIST>;
    return *lists;
}

HIMAGELIST Checked(HIMAGELIST list) {
    return list && Lists().count(list) ? list : nullptr;
}

// A memory DC holding a bitmap for the life of the object.
class Selected {
public:
    explicit Selected(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)) {
        m_old = SelectObject(m_dc, bitmap);
    }
    ~Selected() {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    HDC dc() const { return m_dc; }
    bool ok() const { return m_dc && m_old; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

HBITMAP NewColourStrip(int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP strip = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    return strip;
}

// Makes room for `more` cells, keeping the images held.
bool Reserve(HIMAGELIST list, int more) {
    if (list->count + more <= list->capacity)
        return true;
    int capacity = std::max(list->count + more, list->capacity + list->grow);
    if (int64_t(capacity) * list->cx > kMaxSide)
        capacity = kMaxSide / list->cx;
    if (capacity < list->count + more)
        return false;
    HBITMAP image = NewColourStrip(capacity * list->cx, list->cy);
    HBITMAP mask = CreateBitmap(capacity * list->cx, list->cy, 1, 1, nullptr);
    if (!image || !mask) {
        DeleteObject(image);
        DeleteObject(mask);
        return false;
    }
    if (list->count > 0) {
        Selected from(list->image), to(image);
        BitBlt(to.dc(), 0, 0, list->count * list->cx, list->cy, from.dc(), 0, 0, SRCCOPY);
        Selected fromMask(list->mask), toMask(mask);
        BitBlt(toMask.dc(), 0, 0, list->count * list->cx, list->cy, fromMask.dc(), 0, 0, SRCCOPY);
    }
    DeleteObject(list->image);
    DeleteObject(list->mask);
    list->image = image;
    list->mask = mask;
    list->capacity = capacity;
    return true;
}

int CellsIn(HIMAGELIST list, HBITMAP bitmap) {
    BITMAP bm;
    if (GetObject(bitmap, sizeof bm, &bm) != int(sizeof bm) || bm.bmHeight < 1)
        return 0;
    return bm.bmWidth / list->cx;
}

// Copies `cells` cells of a bitmap into the list from index `first`; false
// when the bitmap cannot be read (it is selected into a DC).
bool CopyCells(HBITMAP strip, HBITMAP bitmap, int first, int cells, int cx, int cy) {
    Selected from(bitmap), to(strip);
    return from.ok() && to.ok() &&
           BitBlt(to.dc(), first * cx, 0, cells * cx, cy, from.dc(), 0, 0, SRCCOPY);
}

// Blackens the transparent pixels of the stored cells, so that drawing can
// OR the image over a hole cut by the mask.
void BlackenMaskedPixels(HIMAGELIST list, int first, int cells) {
    Selected image(list->image), mask(list->mask);
    SetBkColor(image.dc(), RGB(0, 0, 0));         // mask 1 (transparent) -> black
    SetTextColor(image.dc(), RGB(255, 255, 255)); // mask 0 -> white, kept by AND
    BitBlt(image.dc(), first * list->cx, 0, cells * list->cx, list->cy, mask.dc(), first * list->cx,
           0, SRCAND);
}

} // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
    if (cx < 1 || cy < 1 || cx > kMaxSide || cy > kMaxSide)
        return nullptr;
    auto* list = new IMAGELIST__;
    list->cx = cx;
    list->cy = cy;
    list->masked = (flags & ILC_MASK) != 0;
    list->grow = std::clamp(grow, 1, 256);
    if (!Reserve(list, std::clamp(initial, 1, 256))) {
        delete list;
        return nullptr;
    }
    Lists().insert(list);
    return list;
}

BOOL ImageList_Destroy(HIMAGELIST handle) {
    HIMAGELIST list = Checked(handle);
    if (!list)
        return FALSE;
    Lists().erase(list);
    DeleteObject(list->image);
    DeleteObject(list->mask);
    delete list;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST handle) {
    HIMAGELIST list = Checked(handle);
    return list ? list->count : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST handle, int* cx, int* cy) {
    HIMAGELIST list = Checked(handle);
    if (!list || !cx || !cy)
        return FALSE;
    *cx = list->cx;
    *cy = list->cy;
    return TRUE;
}

int ImageList_Add(HIMAGELIST handle, HBITMAP image, HBITMAP mask) {
    HIMAGELIST list = Checked(handle);
    int cells = list ? CellsIn(list, image) : 0;
    if (cells < 1 || !Reserve(list, cells))
        return -1;
    int first = list->count;
    if (!CopyCells(list->image, image, first, cells, list->cx, list->cy))
        return -1;
    {
        Selected maskStrip(list->mask);
        PatBlt(maskStrip.dc(), first * list->cx, 0, cells * list->cx, list->cy, BLACKNESS);
    }
    if (list->masked && mask && CellsIn(list, mask) >= cells &&
        CopyCells(list->mask, mask, first, cells, list->cx, list->cy))
        BlackenMaskedPixels(list, first, cells);
    list->count += cells;
    return first;
}

int ImageList_AddMasked(HIMAGELIST handle, HBITMAP image, COLORREF maskColor) {
    HIMAGELIST list = Checked(handle);
    int cells = list ? CellsIn(list, image) : 0;
    if (cells < 1 || !Reserve(list, cells))
        return -1;
    int first = list->count;
    if (!CopyCells(list->image, image, first, cells, list->cx, list->cy))
        return -1;
    {
        Selected colours(list->image), maskStrip(list->mask);
        if (list->masked) {
            // Colour to monochrome: 1 where a pixel has the DC's background colour.
            SetBkColor(colours.dc(), maskColor);
            BitBlt(maskStrip.dc(), first * list->cx, 0, cells * list->cx, list->cy, colours.dc(),
                   first * list->cx, 0, SRCCOPY);
        } else {
            PatBlt(maskStrip.dc(), first * list->cx, 0, cells * list->cx, list->cy, BLACKNESS);
        }
    } // both strips deselected: a bitmap is in one DC at a time
    list->count += cells;
    if (list->masked)
        BlackenMaskedPixels(list, first, cells);
    return first;
}

BOOL ImageList_Remove(HIMAGELIST handle, int index) {
    HIMAGELIST list = Checked(handle);
    if (!list || index < -1 || index >= list->count)
        return FALSE;
    if (index == -1) {
        list->count = 0;
        return TRUE;
    }
    int after = list->count - index - 1;
    if (after > 0) {
        Selected image(list->image), mask(list->mask);
        BitBlt(image.dc(), index * list->cx, 0, after * list->cx, list->cy, image.dc(),
               (index + 1) * list->cx, 0, SRCCOPY);
        BitBlt(mask.dc(), index * list->cx, 0, after * list->cx, list->cy, mask.dc(),
               (index + 1) * list->cx, 0, SRCCOPY);
    }
    --list->count;
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST handle, COLORREF color) {
    HIMAGELIST list = Checked(handle);
    if (!list)
        return CLR_NONE;
    return std::exchange(list->background, color == CLR_NONE ? CLR_NONE : color & 0xFFFFFF);
}

COLORREF ImageList_GetBkColor(HIMAGELIST handle) {
    HIMAGELIST list = Checked(handle);
    return list ? list->background : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST handle, int index, HDC hdc, int x, int y, UINT style) {
    HIMAGELIST list = Checked(handle);
    if (!list || index < 0 || index >= list->count || GetObjectType(hdc) == 0)
        return FALSE;
    const int sx = index * list->cx, cx = list->cx, cy = list->cy;
    Selected image(list->image), mask(list->mask);
    COLORREF oldBk = SetBkColor(hdc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(hdc, RGB(0, 0, 0));
    if (style & ILD_MASK) {
        BitBlt(hdc, x, y, cx, cy, mask.dc(), sx, 0, SRCCOPY); // 1 -> white, 0 -> black
    } else if (!list->masked || (style & ILD_IMAGE)) {
        BitBlt(hdc, x, y, cx, cy, image.dc(), sx, 0, SRCCOPY);
    } else {
        if (list->background != CLR_NONE && !(style & ILD_TRANSPARENT)) {
            // The transparent pixels take the list's background colour.
            HBRUSH brush = CreateSolidBrush(list->background);
            RECT cell{x, y, x + cx, y + cy};
            FillRect(hdc, &cell, brush);
            DeleteObject(brush);
        }
        BitBlt(hdc, x, y, cx, cy, mask.dc(), sx, 0, SRCAND);    // cut the hole
        BitBlt(hdc, x, y, cx, cy, image.dc(), sx, 0, SRCPAINT); // fill it
    }
    SetBkColor(hdc, oldBk);
    SetTextColor(hdc, oldText);
    return TRUE;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

BOOL CImageList::Attach(HIMAGELIST list) {
    if (!Checked(list))
        return FALSE;
    DeleteImageList();
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach() {
    return std::exchange(m_hImageList, nullptr);
}

BOOL CImageList::DeleteImageList() {
    return m_hImageList ? ImageList_Destroy(std::exchange(m_hImageList, nullptr)) : FALSE;
}

int CImageList::Add(CBitmap* image, CBitmap* mask) {
    return image ? ImageList_Add(m_hImageList, *image, mask ? HBITMAP(*mask) : nullptr) : -1;
}

int CImageList::Add(CBitmap* image, COLORREF maskColor) {
    return image ? ImageList_AddMasked(m_hImageList, *image, maskColor) : -1;
}

BOOL CImageList::Draw(CDC* dc, int index, POINT at, UINT style) {
    return dc ? ImageList_Draw(m_hImageList, index, dc->m_hDC, at.x, at.y, style) : FALSE;
}
