#include "knclientUI05/PictureRender.h"

#include "platform/images/Picture.h"

HBITMAP RenderPicture(const void* data, size_t size) {
    IPicture* picture = nullptr;
    if (!data || FAILED(CreatePictureFromMemory(data, size, &picture)) || !picture)
        return nullptr;
    // Sizes come in pixels here: the 96-dpi screen makes the unit conversion
    // the identity.
    LONG width = 0, height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        width > 0 && height > 0 ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    HDC memory = bitmap ? CreateCompatibleDC(screen) : nullptr;
    bool drawn = false;
    if (memory) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // The source named from its bottom edge upwards comes out upright.
        drawn = SUCCEEDED(
            picture->Render(memory, 0, 0, width, height, 0, height, width, -height, nullptr));
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
    picture->Release();
    if (!drawn && bitmap) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    return bitmap;
}
