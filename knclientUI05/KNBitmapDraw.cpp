// CKNBitmap: drawing plain, centred, tiled, stretched and through a mask, and
// the nine-cell frame.

#include "knclientUI05/KNBitmap.h"

#include "platform/window/Window.h"

namespace {

// The part of the bitmap a draw takes: the image, and the mask beside it.
struct SourcePart {
    POINT image{0, 0};
    POINT mask{0, 0};
    int width = 0;
    int height = 0;
};

SourcePart PartToDraw(const BITMAP& bm, UINT flags, const POINT* source, const POINT* mask,
                      const SIZE* sourceSize) {
    SourcePart part;
    if (source) {
        part.image = *source;
        // A caller that names a source point gives its size; without one, the
        // rest of the bitmap from that point.
        part.width = sourceSize ? sourceSize->cx : bm.bmWidth - source->x;
        part.height = sourceSize ? sourceSize->cy : bm.bmHeight - source->y;
        if (flags & BD_MASK)
            part.mask = mask ? *mask : POINT{source->x + part.width, source->y};
        return part;
    }
    part.width = bm.bmWidth;
    part.height = bm.bmHeight;
    if (flags & BD_MASK) {
        part.width /= 2;
        part.mask = {part.width, 0};
    }
    return part;
}

BOOL DrawPlain(CDC* dc, CDC* image, int x, int y, int w, int h, POINT source, POINT mask,
               UINT flags, DWORD rop) {
    if (!(flags & BD_MASK))
        return dc->BitBlt(x, y, w, h, image, source.x, source.y, rop);
    // Straight onto the target: the screen is presented between messages,
    // never between these two blits, so no off-screen composing is needed.
    dc->BitBlt(x, y, w, h, image, mask.x, mask.y, SRCAND);
    return dc->BitBlt(x, y, w, h, image, source.x, source.y, SRCPAINT);
}

} // namespace

BOOL CKNBitmap::Draw(CDC* dc, int x, int y, int cx, int cy, UINT flags, const POINT* source,
                     const POINT* mask, const SIZE* sourceSize) {
    BITMAP bm;
    if (!m_hObject || !GetBitmap(&bm))
        return FALSE;
    if (!dc || !dc->GetSafeHdc())
        return TRUE;
    SourcePart part = PartToDraw(bm, flags, source, mask, sourceSize);
    // An empty source has nothing to draw (and would never finish a tiling).
    if (part.width <= 0 || part.height <= 0)
        return TRUE;

    CDC image;
    image.CreateCompatibleDC(dc);
    CBitmap* oldBitmap = image.SelectObject(this);
    HPALETTE oldTargetPalette = nullptr;
    HPALETTE oldImagePalette = nullptr;
    if (m_hPalette) {
        oldTargetPalette = ::SelectPalette(*dc, m_hPalette, m_bForceBackground);
        oldImagePalette = ::SelectPalette(image, m_hPalette, m_bForceBackground);
        dc->RealizePalette();
        image.RealizePalette();
    }
    int saved = 0;
    if (cx != 0 && cy != 0) {
        saved = dc->SaveDC();
        dc->IntersectClipRect(x, y, x + cx, y + cy);
    }
    int w = part.width, h = part.height;
    if (flags & BD_TILE) {
        for (int ty = 0; ty < cy; ty += h) {
            for (int tx = 0; tx < cx; tx += w) {
                RECT tile{x + tx, y + ty, x + tx + w, y + ty + h};
                if (dc->RectVisible(&tile))
                    DrawPlain(dc, &image, x + tx, y + ty, w, h, part.image, part.mask, flags,
                              m_dwRop);
            }
        }
    } else if ((flags & BD_STRETCH) && cx == w && cy == h) {
        // A stretch to the picture's own size is a plain copy, done faster.
        DrawPlain(dc, &image, x, y, w, h, part.image, part.mask, flags, m_dwRop);
    } else if (flags & BD_STRETCH) {
        if (flags & BD_MASK) {
            dc->StretchBlt(x, y, cx, cy, &image, part.mask.x, part.mask.y, w, h, SRCAND);
            dc->StretchBlt(x, y, cx, cy, &image, part.image.x, part.image.y, w, h, SRCPAINT);
        } else {
            dc->StretchBlt(x, y, cx, cy, &image, part.image.x, part.image.y, w, h, m_dwRop);
        }
    } else {
        int left = x, top = y;
        if (flags & BD_HCENTER)
            left += (cx - w) / 2;
        if (flags & BD_VCENTER)
            top += (cy - h) / 2;
        DrawPlain(dc, &image, left, top, w, h, part.image, part.mask, flags, m_dwRop);
    }

    if (m_hPalette) {
        ::SelectPalette(image, oldImagePalette, TRUE);
        ::SelectPalette(*dc, oldTargetPalette, TRUE);
        image.RealizePalette();
        dc->RealizePalette();
    }
    if (saved)
        dc->RestoreDC(saved);
    image.SelectObject(oldBitmap);
    return TRUE;
}

BOOL CKNBitmap::Draw(CDC* dc, int x, int y, UINT flags, const POINT* source, const POINT* mask,
                     const SIZE* sourceSize) {
    // With no box there is nothing to centre in, tile over or stretch to.
    return Draw(dc, x, y, 0, 0, flags & BD_MASK, source, mask, sourceSize);
}

BOOL CKNBitmap::Draw(CDC* dc, const RECT* rect, UINT flags, const POINT* source, const POINT* mask,
                     const SIZE* sourceSize) {
    if (!m_hObject)
        return FALSE;
    RECT box;
    if (rect) {
        box = *rect;
    } else {
        // The null form means the client area of the DC's window; a DC of
        // no window (a memory DC) has nothing to draw into.
        HWND window = dc ? ::WindowFromDC(dc->m_hDC) : nullptr;
        if (!window || !::GetClientRect(window, &box))
            return TRUE;
    }
    return Draw(dc, box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1, flags,
                source, mask, sourceSize);
}

void CKNBitmap::DrawFrame(CDC* dc, const RECT* rect, int inflate, BOOL fillCenter) {
    BITMAP bm;
    if (!m_hObject || !rect || !GetBitmap(&bm))
        return;
    CRect box(*rect);
    box.InflateRect(inflate, inflate);
    int width = box.Width(), height = box.Height();
    int cw = bm.bmWidth / 3, ch = bm.bmHeight / 3;
    SIZE cell{cw, ch};
    int l = box.left, t = box.top, r = l + width - cw, b = t + height - ch;
    auto piece = [&](int col, int row, int x, int y, int cx, int cy, UINT flags) {
        POINT from{col * cw, row * ch};
        Draw(dc, x, y, cx, cy, flags, &from, nullptr, &cell);
    };
    piece(0, 0, l, t, cw, ch, 0);
    piece(1, 0, l + cw, t, width - 2 * cw, ch, BD_TILE);
    piece(2, 0, r, t, cw, ch, 0);
    piece(0, 1, l, t + ch, cw, height - 2 * ch, BD_TILE);
    if (fillCenter)
        piece(1, 1, l + cw, t + ch, width - 2 * cw, height - 2 * ch, BD_TILE);
    piece(2, 1, r, t + ch, cw, height - 2 * ch, BD_TILE);
    piece(0, 2, l, b, cw, ch, 0);
    piece(1, 2, l + cw, b, width - 2 * cw, ch, BD_TILE);
    piece(2, 2, r, b, cw, ch, 0);
}
