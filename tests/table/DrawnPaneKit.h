#pragma once

// What a pane shows, read from its drawing: the picture of a sprite the
// window draws, and how many pixels two pictures drawn whole on the same
// felt differ by, so that a drawn pane can be held against one the test
// makes with the values it should show.

#include "TableTestKit.h"
#include "sprite/SpriteWnd.h"

#include <algorithm>

namespace table_test {

// The picture of the sprite of the id, as its kind; null when there is none.
template <class Image> Image* SpriteImageOf(CSpriteWnd& wnd, int spriteId) {
    const POSITION pos = wnd.FindSpritePos(spriteId);
    const SPRITEINFO* s = pos != nullptr ? wnd.GetSpriteAt(pos) : nullptr;
    return s != nullptr ? dynamic_cast<Image*>(wnd.GetImageList().GetAt(s->posImage)) : nullptr;
}

// The pixels in which two pictures differ, drawn whole; every pixel of the
// larger when their sizes differ.
inline int PixelsApart(CSpriteImage& drawn, CSpriteImage& expected) {
    const SIZE size = drawn.GetSize(nullptr), other = expected.GetSize(nullptr);
    if (size.cx != other.cx || size.cy != other.cy)
        return std::max(size.cx * size.cy, other.cx * other.cy);
    GdiCanvas a(size.cx, size.cy), b(size.cx, size.cy);
    for (GdiCanvas* canvas : {&a, &b})
        canvas->Fill(0x00206040);
    DrawWhole(drawn, a, 0, 0);
    DrawWhole(expected, b, 0, 0);
    int apart = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            apart += a.At(x, y) != b.At(x, y);
    return apart;
}

} // namespace table_test
