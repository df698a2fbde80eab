#include "sprite/SpritePos.h"

#include "platform/window/Window.h"

namespace {

SpritePosResolver g_resolver = nullptr;
HWND g_anchorWindow = nullptr;
int g_cardWidth = 0;
int g_border = 40;

} // namespace

void SetPosResolver(SpritePosResolver resolver) {
    g_resolver = resolver;
}

POINT ResolvePos(const CSpritePos& pos) {
    if (g_resolver)
        return g_resolver(pos.x, pos.y, pos.anchor);
    return POINT{pos.x, pos.y};
}

void SetAnchorWindow(HWND hwnd) {
    g_anchorWindow = hwnd;
}

void SetAnchorCardMeasures(int cardWidth, int border) {
    g_cardWidth = cardWidth;
    g_border = border;
}

POINT AnchorToClient(int x, int y, int anchor) {
    // GetClientRect refuses a handle that names no window: no separate check.
    RECT client;
    if (!g_anchorWindow || !GetClientRect(g_anchorWindow, &client))
        return POINT{x, y};
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    // Column and row of the anchor; the fifth is truncated before it is tripled.
    int ax = 0, ay = 0;
    switch (anchor) {
    case 0:
        ax = 0, ay = 0;
        break;
    case 1:
        ax = w / 2, ay = 0;
        break;
    case 2:
        ax = w, ay = 0;
        break;
    case 3:
        ax = 0, ay = h / 2;
        break;
    case 4:
        ax = w / 2, ay = h / 2;
        break;
    case 5:
        ax = w, ay = h / 2;
        break;
    case 6:
        ax = 0, ay = h;
        break;
    case 7:
        ax = w / 2, ay = h;
        break;
    case 8:
        ax = w, ay = h;
        break;
    case 9:
        ax = 0, ay = h / 3;
        break;
    case 10:
        ax = w / 2, ay = h / 3;
        break;
    case 11:
        ax = w, ay = h / 3;
        break;
    case 12:
        ax = 0, ay = (h / 5) * 3;
        break;
    case 13:
        ax = w / 2, ay = (h / 5) * 3;
        break;
    case 14:
        ax = w, ay = (h / 5) * 3;
        break;
    case 15:
        ax = w / 2, ay = h - g_cardWidth - g_border;
        break;
    default:
        break;
    }
    return POINT{x + ax, y + ay};
}
