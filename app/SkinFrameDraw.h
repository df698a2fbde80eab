#pragma once
// The frame skin at work on a window: where the caption buttons sit, what a
// point of the frame is (the hit codes), the painted frame and the window's
// outline. The window's shown user buttons are given as their indexes in the
// skin's list, in increasing order.

#include "platform/Geometry.h"
#include "platform/window/Input.h"
#include "platform/window/NonClient.h"
#include "platform/window/Window.h"
#include "sprite/SkinFrame.h"

#include <vector>

namespace skin {

// A user button's hit code is its index plus this.
constexpr int kUserHitBase = 50;

// The caption buttons' frames.
enum ButtonState { BS_NORMAL = 0, BS_HOT = 1, BS_PRESSED = 2, BS_DISABLED = 3 };

// A button's hit code (HTCLOSE, HTMAXBUTTON, HTMINBUTTON, 50 + index).
inline bool IsButtonHit(int hit) {
    return hit == HTCLOSE || hit == HTMAXBUTTON || hit == HTMINBUTTON || hit >= kUserHitBase;
}

// What the frame looks like and holds right now.
struct FrameState {
    int width = 0; // the window's size
    int height = 0;
    DWORD style = 0;
    BOOL active = TRUE;
    BOOL zoomed = FALSE;
    std::vector<int> userButtons;
};

// The rectangle (window coordinates) and picture of a caption button; an
// empty rectangle when the window has no such button.
struct PlacedButton {
    CRect rect;
    const CSkinFrame::ButtonArt* art = nullptr;
};
PlacedButton PlaceButton(const CSkinFrame& skin, const FrameState& state, int hit);

// The hit code of a point given in window coordinates.
int HitTest(const CSkinFrame& skin, const FrameState& state, POINT point);

// The client rectangle inside a window rectangle: less the borders and title.
CRect ClientInside(const CSkinFrame& skin, const RECT& window);

// Paints the whole frame into a DC whose origin is the window's top-left
// corner, leaving the client area alone.
void PaintFrame(const CSkinFrame& skin, HDC dc, const FrameState& state, LPCSTR caption);
// Redraws one caption button in the frame of that state.
void DrawButton(const CSkinFrame& skin, HDC dc, const FrameState& state, int hit, int buttonState);

// The window's outline: null (a plain rectangle) when the outline colour is
// white or no corners are cut; else the window less its corner pixels of the
// outline colour within roundmax.
HRGN MakeRegion(const CSkinFrame& skin, int width, int height);

} // namespace skin
