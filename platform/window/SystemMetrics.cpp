// Screen metrics from the display backend; fixed values for the rest.

#include "platform/window/SystemMetrics.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/WindowDc.h"

#include <array>

using namespace platform;

namespace {
constexpr int kSysColorCount = 31;
constexpr UINT kDoubleClickTimeMs = 500;

// The classic Windows scheme.
COLORREF SysColor(int index) {
    switch (index) {
    case COLOR_WINDOW:
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_BTNHIGHLIGHT:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_INFOTEXT:
    case COLOR_WINDOWFRAME:
        return RGB(0, 0, 0);
    // The 3-D edges run from white through the face to the dark shadow.
    case COLOR_3DLIGHT:
        return RGB(227, 227, 227);
    case COLOR_3DDKSHADOW:
        return RGB(105, 105, 105);
    case COLOR_ACTIVEBORDER:
        return RGB(180, 180, 180);
    case COLOR_APPWORKSPACE:
        return RGB(171, 171, 171);
    case COLOR_HOTLIGHT:
        return RGB(0, 102, 204);
    case COLOR_MENUHILIGHT:
        return RGB(51, 153, 255);
    case COLOR_BACKGROUND:
        return RGB(58, 110, 165);
    case COLOR_ACTIVECAPTION:
    case COLOR_HIGHLIGHT:
        return RGB(0, 120, 215);
    case COLOR_CAPTIONTEXT:
        return RGB(255, 255, 255);
    case COLOR_MENUTEXT:
        return RGB(0, 0, 0);
    case COLOR_INACTIVECAPTION:
        return RGB(191, 205, 219);
    case COLOR_INACTIVECAPTIONTEXT:
        return RGB(67, 78, 84);
    case COLOR_BTNSHADOW:
    case COLOR_GRAYTEXT:
        return RGB(128, 128, 128);
    case COLOR_INFOBK:
        return RGB(255, 255, 225);
    default:
        return RGB(240, 240, 240);
    }
}
} // namespace

int GetSystemMetrics(int index) {
    const SIZE screen = GetScreenSize();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
        return screen.cx;
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
    case SM_CYVIRTUALSCREEN:
        return screen.cy;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
        return 17;
    case SM_CYCAPTION:
        return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CMONITORS:
        return 1;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CYMENU:
        return 20;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18; // a caption button
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXMIN:
    case SM_CXMINTRACK:
        return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK:
        return 27;
    case SM_CXMAXTRACK:
        return screen.cx + 12;
    case SM_CYMAXTRACK:
        return screen.cy + 12;
    default:
        return 0;
    }
}

DWORD GetSysColor(int index) {
    return SysColor(index);
}

HBRUSH GetSysColorBrush(int index) {
    static std::array<HBRUSH, kSysColorCount> brushes{};
    if (index < 0 || index >= kSysColorCount)
        return nullptr;
    if (!brushes[size_t(index)])
        brushes[size_t(index)] = CreateSolidBrush(SysColor(index));
    return brushes[size_t(index)];
}

BOOL SystemParametersInfo(UINT action, UINT, LPVOID param, UINT) {
    if (action != SPI_GETWORKAREA || !param)
        return FALSE;
    const SIZE screen = GetScreenSize();
    *static_cast<RECT*>(param) = RECT{0, 0, screen.cx, screen.cy};
    return TRUE;
}

UINT GetDoubleClickTime() {
    return kDoubleClickTimeMs;
}

namespace platform {
bool SystemColorOfBrushValue(HBRUSH brush, COLORREF* color) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (value == 0 || value > kSysColorCount)
        return false;
    *color = SysColor(int(value) - 1);
    return true;
}
} // namespace platform
