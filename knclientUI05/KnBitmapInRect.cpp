// Drawing a bitmap into a rectangle: one copy, tiles, three or nine slices,
// or stretched. Frame pieces of the owner-drawn dialogs are drawn this way.

#include "knclientUI05/KnClientPublic.h"

#include <algorithm>

namespace {

// The copies of one drawing: the bitmap in a memory DC, the source part and
// the destination.
class SliceDrawer {
public:
    SliceDrawer(CDC* dc, HDC source, const RECT& part, const RECT& dest)
        : m_dc(dc), m_source(source), m_part(part), m_dest(dest) {}

    int PartWidth() const { return m_part.right - m_part.left; }
    int PartHeight() const { return m_part.bottom - m_part.top; }

    void Copy(int x, int y, int width, int height, int sourceX, int sourceY) const {
        BitBlt(m_dc->GetSafeHdc(), x, y, width, height, m_source, sourceX, sourceY, SRCCOPY);
    }

    void Single() const {
        Copy(m_dest.left, m_dest.top, m_dest.right - m_dest.left, m_dest.bottom - m_dest.top,
             m_part.left, m_part.top);
    }

    void Tiles() const {
        const int sw = PartWidth(), sh = PartHeight();
        if (sw <= 0 || sh <= 0)
            return; // a step of 0 would never reach the edge
        for (int y = m_dest.top; y < m_dest.bottom; y += sh)
            for (int x = m_dest.left; x < m_dest.right; x += sw)
                Copy(x, y, std::min(sw, m_dest.right - x), std::min(sh, m_dest.bottom - y),
                     m_part.left, m_part.top);
    }

    void ThreeSlices() const {
        const int cw = PartWidth() / 3, sh = PartHeight();
        if (cw <= 0 || sh <= 0)
            return;
        for (int y = m_dest.top; y < m_dest.bottom; y += sh)
            Row(y, std::min(sh, m_dest.bottom - y), m_part.top, cw);
    }

    void NineSlices() const {
        const int cw = PartWidth() / 3, ch = PartHeight() / 3;
        if (cw <= 0 || ch <= 0)
            return;
        const int top = m_dest.top, bottom = m_dest.bottom;
        for (int y = top; y < bottom; y += ch) {
            const int bh = std::min(ch, bottom - y);
            int sourceY;
            if (y == top)
                sourceY = m_part.top;
            else if (y == top + ch && bh < ch)
                sourceY = m_part.top + 3 * ch - bh; // a short last band ends the bottom cells
            else if (y < bottom - ch)
                sourceY = m_part.top + ch;
            else
                sourceY = m_part.top + 2 * ch;
            Row(y, bh, sourceY, cw);
        }
    }

private:
    // The left, repeated middle and right slices of one row or band.
    void Row(int y, int bh, int sourceY, int cw) const {
        const int left = m_dest.left, right = m_dest.right, width = right - left;
        Copy(left, y, std::min(width, cw), bh, m_part.left, sourceY);
        int x = left + cw;
        while (x < right - cw) {
            const int w = std::min(cw, right - x - cw);
            Copy(x, y, w, bh, m_part.left + cw, sourceY);
            x += w;
        }
        // A destination narrower than two cells shows the right end of the
        // right cell.
        if (cw < width)
            Copy(x, y, right - x, bh, m_part.left + 2 * cw + std::max(0, 2 * cw - width), sourceY);
    }

    CDC* m_dc;
    HDC m_source;
    RECT m_part;
    RECT m_dest;
};

} // namespace

void DrawBitmapInRect(CDC* dc, const RECT* dest, HBITMAP bitmap, int mode, const RECT* source,
                      int /*colour*/) {
    int width = 0, height = 0;
    if (!dc || !dest || !bitmap || !GetBitmapExtent(bitmap, &width, &height))
        return;
    const RECT part = source ? *source : RECT{0, 0, width, height};
    HDC memory = CreateCompatibleDC(dc->GetSafeHdc());
    if (!memory)
        return;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (previous) {
        SliceDrawer drawer(dc, memory, part, *dest);
        switch (mode) {
        case 1:
            drawer.Single();
            break;
        case 3:
            drawer.Tiles();
            break;
        case 4:
            drawer.ThreeSlices();
            break;
        case 5:
            drawer.NineSlices();
            break;
        default:
            StretchBlt(dc->GetSafeHdc(), dest->left, dest->top, dest->right - dest->left,
                       dest->bottom - dest->top, memory, part.left, part.top, drawer.PartWidth(),
                       drawer.PartHeight(), SRCCOPY);
            break;
        }
        SelectObject(memory, previous);
    }
    DeleteDC(memory);
}
