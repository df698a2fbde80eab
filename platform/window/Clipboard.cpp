// Memory blocks and the clipboard.

#include "platform/window/Clipboard.h"

#include "platform/CodePage.h"
#include "platform/DisplayDriver.h"
#include "platform/gdi/Gdi.h"

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

namespace {

struct ClipboardState {
    bool open = false;
    HGLOBAL text = nullptr;
    HBITMAP bitmap = nullptr;
    bool textChanged = false;
    std::string lastSystemText; // what we last gave or took, to spot outside changes
};

ClipboardState& Clip() {
    static ClipboardState state;
    return state;
}

std::string TextOfBlock(HGLOBAL block) {
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    if (!bytes)
        return {};
    std::string text(bytes, strnlen(bytes, GlobalSize(block)));
    GlobalUnlock(block);
    return text;
}

HGLOBAL BlockOfText(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (block)
        memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    return block;
}

void DropText() {
    GlobalFree(std::exchange(Clip().text, nullptr));
}

// Text another program put on the desktop's clipboard replaces ours.
void TakeSystemText() {
    ClipboardState& c = Clip();
    std::optional<std::string> utf8 = GetDisplayDriver().GetClipboardText();
    if (!utf8 || *utf8 == c.lastSystemText)
        return;
    c.lastSystemText = *utf8;
    DropText();
    if (!utf8->empty())
        c.text = BlockOfText(Utf8ToGbk(*utf8));
}

} // namespace

void ForgetDesktopClipboardText() {
    Clip().lastSystemText.clear();
}

} // namespace platform

using namespace platform;

BOOL OpenClipboard(HWND) {
    ClipboardState& c = Clip();
    if (c.open)
        return FALSE;
    c.open = true;
    c.textChanged = false;
    return TRUE;
}

BOOL CloseClipboard() {
    ClipboardState& c = Clip();
    if (!c.open)
        return FALSE;
    c.open = false;
    if (c.textChanged) {
        c.lastSystemText = GbkToUtf8(TextOfBlock(c.text));
        GetDisplayDriver().SetClipboardText(c.lastSystemText);
    }
    return TRUE;
}

BOOL EmptyClipboard() {
    ClipboardState& c = Clip();
    if (!c.open)
        return FALSE;
    DropText();
    DeleteObject(std::exchange(c.bitmap, nullptr));
    c.textChanged = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    ClipboardState& c = Clip();
    if (!c.open || !data)
        return nullptr;
    if (format == CF_TEXT && GlobalSize(data) != 0) {
        if (c.text != data)
            DropText();
        c.text = data;
        c.textChanged = true;
        return data;
    }
    if (format == CF_BITMAP && GetObjectType(data) == OBJ_BITMAP) {
        if (c.bitmap != data)
            DeleteObject(c.bitmap);
        c.bitmap = static_cast<HBITMAP>(data);
        return data;
    }
    return nullptr;
}

HANDLE GetClipboardData(UINT format) {
    ClipboardState& c = Clip();
    if (!c.open)
        return nullptr;
    if (format == CF_TEXT) {
        if (!c.textChanged)
            TakeSystemText();
        return c.text;
    }
    return format == CF_BITMAP ? c.bitmap : nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    ClipboardState& c = Clip();
    if (format == CF_TEXT) {
        TakeSystemText();
        return c.text != nullptr;
    }
    return format == CF_BITMAP && c.bitmap != nullptr;
}
