#include "knclientbase05/DrawUtilities.h"

#include "platform/gdi/Gdi.h"
#include "platform/resources/Resource.h"
#include "platform/text/CFont.h"
#include "platform/text/Text.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/Wnd.h"

#include <cstring>

namespace {

constexpr UINT kDefaultFontFace = 29931;

BOOL CALLBACK PostCancelMode(HWND child, LPARAM) {
    PostMessage(child, WM_CANCELMODE, 0, 0);
    return TRUE;
}

int TextWidth(HDC hdc, const char* text, int length) {
    SIZE size = {0, 0};
    GetTextExtentPoint32(hdc, text, length, &size);
    return size.cx;
}

// True when the kept bytes end in half of a double-byte character: a run of
// high-bit bytes at the end starts at a character boundary, so an odd run
// ends with a lone lead byte.
bool EndsInsideCharacter(const char* text, int length) {
    int run = 0;
    while (run < length && (static_cast<BYTE>(text[length - 1 - run]) & 0x80))
        ++run;
    return run % 2 == 1;
}

// A 32-bit section of width by height holding a copy of a rectangle of hdc.
struct SectionCopy {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    BYTE* bits = nullptr;

    SectionCopy(HDC from, int x, int y, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height; // bottom-up: the top row last
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(from);
        bitmap = CreateDIBSection(from, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits),
                                  nullptr, 0);
        if (dc == nullptr || bitmap == nullptr)
            return;
        previous = SelectObject(dc, bitmap);
        BitBlt(dc, 0, 0, width, height, from, x, y, SRCCOPY);
    }
    ~SectionCopy() {
        if (previous != nullptr)
            SelectObject(dc, previous);
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        if (dc != nullptr)
            DeleteDC(dc);
    }
    bool ok() const { return previous != nullptr && bits != nullptr; }
};

} // namespace

int IsMainWindowVisible() {
    CWnd* main = AfxGetMainWnd();
    if (main == nullptr || main->m_hWnd == nullptr)
        return 0;
    return (GetWindowLong(main->m_hWnd, GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
}

void CancelMainWindowModes() {
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->m_hWnd != nullptr)
        EnumChildWindows(main->m_hWnd, PostCancelMode, 0);
}

int DrawTransparent(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, const COLORREF* key) {
    if (key == nullptr)
        return BitBlt(dest, x, y, width, height, source, sourceX, sourceY, SRCCOPY) ? 1 : 0;
    HDC work = CreateCompatibleDC(dest);
    HBITMAP workBitmap = CreateCompatibleBitmap(dest, width, height);
    if (work == nullptr || workBitmap == nullptr) {
        if (workBitmap != nullptr)
            DeleteObject(workBitmap);
        if (work != nullptr)
            DeleteDC(work);
        return 0;
    }
    HGDIOBJ oldWork = SelectObject(work, workBitmap);
    BitBlt(work, 0, 0, width, height, dest, x, y, SRCCOPY);

    HDC mask = CreateCompatibleDC(source);
    HBITMAP maskBitmap = CreateBitmap(width, height, 1, 1, nullptr);
    if (mask == nullptr || maskBitmap == nullptr) {
        if (maskBitmap != nullptr)
            DeleteObject(maskBitmap);
        if (mask != nullptr)
            DeleteDC(mask);
        SelectObject(work, oldWork);
        DeleteObject(workBitmap);
        DeleteDC(work);
        return 0;
    }
    HGDIOBJ oldMask = SelectObject(mask, maskBitmap);
    // Key pixels become 1 in the mask, the others 0.
    COLORREF oldBack = SetBkColor(source, *key);
    BitBlt(mask, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);

    // XOR the source in, keep the destination only under the key, XOR the
    // source out again: key pixels show the destination, others the source.
    SetBkColor(work, RGB(255, 255, 255));
    BitBlt(work, 0, 0, width, height, source, sourceX, sourceY, SRCINVERT);
    BitBlt(work, 0, 0, width, height, mask, 0, 0, SRCAND);
    BitBlt(work, 0, 0, width, height, source, sourceX, sourceY, SRCINVERT);
    BitBlt(dest, x, y, width, height, work, 0, 0, SRCCOPY);

    SetBkColor(source, oldBack);
    SelectObject(mask, oldMask);
    DeleteObject(maskBitmap);
    DeleteDC(mask);
    SelectObject(work, oldWork);
    DeleteObject(workBitmap);
    DeleteDC(work);
    return 1;
}

void AlphaBlendRect(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, int percent) {
    int weight = (percent * 256 + 50) / 100;
    int evenWidth = width + (width & 1);
    SectionCopy under(dest, x, y, evenWidth, height);
    SectionCopy over(source, sourceX, sourceY, evenWidth, height);
    if (!under.ok() || !over.ok())
        return;
    size_t bytes = static_cast<size_t>(evenWidth) * height * 4;
    for (size_t i = 0; i < bytes; ++i) {
        int s = over.bits[i];
        int d = under.bits[i];
        under.bits[i] = static_cast<BYTE>(s + ((weight * (d - s)) >> 8));
    }
    // Only the rectangle asked for goes back: the padding column stays out.
    BitBlt(dest, x, y, width, height, under.dc, 0, 0, SRCCOPY);
}

HFONT CreateDefaultFont() {
    char face[LF_FACESIZE] = {};
    AfxLoadString(kDefaultFontFace, face, sizeof face);
    return CreateFont(14, 7, 0, 0, 500, 0, 0, 0, 1, 0, 0, 0, 0, face);
}

BOOL SetDefaultFont(CFont& font) {
    if (font.m_hObject != nullptr)
        font.DeleteObject();
    HFONT created = CreateDefaultFont();
    if (created == nullptr)
        return 0;
    return font.Attach(created);
}

LPCSTR FitTextWithEllipsis(HDC hdc, LPCSTR text, int maxWidth, int extraWidth) {
    static char shared[256];
    int length = static_cast<int>(strlen(text));
    if (length == 0 || TextWidth(hdc, text, length) + extraWidth <= maxWidth)
        return text;
    // Room for "..." and the terminator.
    const int room = static_cast<int>(sizeof shared) - 4;
    if (length > room)
        length = room;
    memcpy(shared, text, length);
    int ellipsis = TextWidth(hdc, "...", 3);
    while (length > 1 && (EndsInsideCharacter(shared, length) ||
                          TextWidth(hdc, shared, length) + extraWidth + ellipsis > maxWidth))
        --length;
    if (EndsInsideCharacter(shared, length))
        --length;
    memcpy(shared + length, "...", 4);
    return shared;
}
