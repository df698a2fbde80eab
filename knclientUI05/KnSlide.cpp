// Sliding a window out over a screen edge or in from one. The slides block
// the caller and follow the tick count, so a slow machine ends on time with
// fewer steps.

#include "knclientUI05/KnClientPublic.h"

#include "platform/system/Clock.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr UINT kSlideFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                             SWP_NOOWNERZORDER | SWP_DEFERERASE;

enum Direction { kLeft = 1, kRight = 2, kUp = 3 };

// The part of the distance covered after elapsed of duration ms.
int Step(int distance, DWORD elapsed, int duration) {
    return int(int64_t(distance) * int64_t(elapsed) / duration);
}

// Calls place(step of elapsed ms) at every tick reading until duration ms
// have passed; the tick count's wrap is harmless (differences only).
template <class Place> void RunSlide(HWND window, int duration, Place place) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= DWORD(duration))
            break;
        const POINT at = place(elapsed);
        SetWindowPos(window, nullptr, at.x, at.y, 0, 0, kSlideFlags);
        UpdateWindow(window);
        UpdateWindow(GetDesktopWindow());
    }
}

} // namespace

BOOL SlideWindowOut(HWND window, int direction, const RECT* finalRect, int duration) {
    RECT r;
    if (!window || !finalRect || !GetWindowRect(window, &r))
        return FALSE;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    duration = std::max(duration, 1);
    // A window partly off the screen already has less (never less than no)
    // way to go.
    int distance;
    switch (direction) {
    case kLeft:
        distance = r.right;
        break;
    case kRight:
        distance = screenWidth - r.left;
        break;
    case kUp:
        distance = r.bottom;
        break;
    default:
        distance = screenHeight - r.top;
        break;
    }
    distance = std::max(distance, 0);
    RunSlide(window, duration, [&](DWORD elapsed) {
        const int step = Step(distance, elapsed, duration);
        switch (direction) {
        case kLeft:
            return POINT{r.left - step, r.top};
        case kRight:
            return POINT{r.left + step, r.top};
        case kUp:
            return POINT{r.left, r.top - step};
        default:
            return POINT{r.left, r.top + step};
        }
    });
    return MoveWindow(window, finalRect->left, finalRect->top, finalRect->right - finalRect->left,
                      finalRect->bottom - finalRect->top, TRUE);
}

BOOL SlideWindowIn(HWND window, int direction, const RECT* target, int duration) {
    if (!window || !target)
        return FALSE;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int width = target->right - target->left, height = target->bottom - target->top;
    duration = std::max(duration, 1);
    const bool across = direction == kLeft || direction == kRight;
    const int size = std::max(across ? width : height, 0);
    auto at = [&](int step) {
        switch (direction) {
        case kLeft:
            return POINT{step - width, target->top};
        case kRight:
            return POINT{screenWidth - step, target->top};
        case kUp:
            return POINT{target->left, step - height};
        default:
            return POINT{target->left, screenHeight - step};
        }
    };
    const POINT start = at(0);
    MoveWindow(window, start.x, start.y, width, height, TRUE);
    RunSlide(window, duration, [&](DWORD elapsed) { return at(Step(size, elapsed, duration)); });
    return MoveWindow(window, target->left, target->top, width, height, TRUE);
}
