// Icons and resource cursors: the system's shared icons, a module's ICON and
// CURSOR resources, and drawing them.

#include "platform/images/Picture.h"
#include "platform/resources/Resource.h"
#include "platform/resources/ResourceIconFile.h"
#include "platform/resources/ResourceModule.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <set>

namespace platform {

namespace {

constexpr int kIconSize = 32;

std::mutex& SharedLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

// Handles that callers must not destroy.
std::set<void*>& SharedShapes() {
    static auto* shapes = new std::set<void*>;
    return *shapes;
}

// 5 x 7 marks drawn white (or black) on the system icons, two pixels a dot.
const char* const kMarkQuestion[7] = {".###.", "#...#", "....#", "...#.",
                                      "..#..", ".....", "..#.."};
const char* const kMarkExclamation[7] = {"..#..", "..#..", "..#..", "..#..",
                                         "..#..", ".....", "..#.."};
const char* const kMarkInformation[7] = {"..#..", ".....", ".##..", "..#..",
                                         "..#..", "..#..", ".###."};
const char* const kMarkCross[7] = {"#...#", ".#.#.", "..#..", "..#..", "..#..", ".#.#.", "#...#"};

void DrawMark(IconPicture& icon, const char* const mark[7], uint32_t colour, int top) {
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 5; ++column)
            if (mark[row][column] == '#')
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        icon.pixels[size_t(top + row * 2 + dy) * kIconSize +
                                    size_t(11 + column * 2 + dx)] = colour;
}

IconPicture SystemIcon(LPCSTR name) {
    IconPicture icon;
    icon.width = icon.height = kIconSize;
    icon.pixels.assign(size_t(kIconSize) * kIconSize, 0);
    const uint32_t red = 0xFFD02020, blue = 0xFF2050C0, yellow = 0xFFF0C000, white = 0xFFFFFFFF,
                   black = 0xFF000000;
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x) {
            uint32_t& pixel = icon.pixels[size_t(y) * kIconSize + size_t(x)];
            const int dx = 2 * x + 1 - kIconSize, dy = 2 * y + 1 - kIconSize;
            const bool inCircle = dx * dx + dy * dy <= (kIconSize - 2) * (kIconSize - 2);
            if (name == IDI_HAND) {
                pixel = inCircle ? red : 0;
            } else if (name == IDI_QUESTION || name == IDI_ASTERISK) {
                pixel = inCircle ? blue : 0;
            } else if (name == IDI_EXCLAMATION) { // a triangle standing on the bottom edge
                pixel = (y >= 2 && y <= 29 && 2 * std::abs(dx) <= (y - 1) * 2) ? yellow : 0;
            } else { // the application: a small window
                pixel = (x >= 3 && x <= 28 && y >= 5 && y <= 26) ? (y <= 9 ? blue : white) : 0;
                if (pixel && (x == 3 || x == 28 || y == 5 || y == 26))
                    pixel = black;
            }
        }
    if (name == IDI_HAND)
        DrawMark(icon, kMarkCross, white, 9);
    else if (name == IDI_QUESTION)
        DrawMark(icon, kMarkQuestion, white, 9);
    else if (name == IDI_EXCLAMATION)
        DrawMark(icon, kMarkExclamation, black, 12);
    else if (name == IDI_ASTERISK)
        DrawMark(icon, kMarkInformation, white, 9);
    return icon;
}

HCURSOR MakeShared(const IconPicture& picture) {
    HCURSOR handle =
        CreatePictureCursor(picture.width, picture.height, picture.pixels.data(), picture.hotSpot);
    if (handle)
        SharedShapes().insert(handle);
    return handle;
}

// A module's icon or cursor, made once and kept with the module.
HCURSOR ModuleShape(HINSTANCE module, LPCSTR name, LPCSTR type) {
    ResourceModuleData* data = ResourceModuleOf(module);
    if (!data || !name)
        return nullptr;
    std::pair<ResourceId, ResourceId> key{ResourceIdFromArgument(type),
                                          ResourceIdFromArgument(name)};
    std::lock_guard<std::mutex> guard(SharedLock());
    if (auto made = data->shapes.find(key); made != data->shapes.end())
        return static_cast<HCURSOR>(made->second);
    auto found = data->resources.find(key);
    IconPicture picture;
    if (found == data->resources.end() ||
        !DecodeIconFile(found->second.bytes, type == RT_CURSOR, picture, nullptr))
        return nullptr;
    HCURSOR handle = MakeShared(picture);
    if (handle)
        data->shapes[key] = handle;
    return handle;
}

} // namespace

HCURSOR LoadModuleCursor(HINSTANCE module, LPCSTR name) {
    return ModuleShape(module, name, RT_CURSOR);
}

} // namespace platform

using namespace platform;

HICON LoadIcon(HINSTANCE module, LPCSTR name) {
    if (module)
        return reinterpret_cast<HICON>(ModuleShape(module, name, RT_ICON));
    const uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (name != IDI_APPLICATION && name != IDI_HAND && name != IDI_QUESTION &&
        name != IDI_EXCLAMATION && name != IDI_ASTERISK)
        return nullptr;
    static std::map<uintptr_t, HCURSOR> system;
    std::lock_guard<std::mutex> guard(SharedLock());
    HCURSOR& handle = system[id];
    if (!handle)
        handle = MakeShared(SystemIcon(name));
    return reinterpret_cast<HICON>(handle);
}

BOOL DestroyIcon(HICON icon) {
    {
        std::lock_guard<std::mutex> guard(SharedLock());
        if (SharedShapes().count(icon))
            return TRUE; // shared icons live as long as their module
    }
    return DestroyCursor(reinterpret_cast<HCURSOR>(icon));
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH, UINT flags) {
    const CursorShape* shape = CursorShapeOf(reinterpret_cast<HCURSOR>(icon));
    if (!hdc || !shape || shape->pixels.empty() || !(flags & DI_IMAGE))
        return FALSE;
    // AlphaBlend wants premultiplied pixels.
    PixelImage image;
    image.Reset(shape->width, shape->height);
    image.hasAlpha = true;
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        uint32_t pixel = shape->pixels[i], alpha = pixel >> 24;
        auto scale = [&](int shift) {
            return ((pixel >> shift & 0xFF) * alpha + 127) / 255 << shift;
        };
        image.pixels[i] = alpha << 24 | scale(16) | scale(8) | scale(0);
    }
    HBITMAP bitmap = CreateBitmapFromImage(image);
    HDC memory = CreateCompatibleDC(hdc);
    if (!bitmap || !memory) {
        DeleteObject(bitmap);
        DeleteDC(memory);
        return FALSE;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BOOL drawn = AlphaBlend(hdc, x, y, cx ? cx : shape->width, cy ? cy : shape->height, memory, 0,
                            0, shape->width, shape->height, blend);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return drawn;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}
