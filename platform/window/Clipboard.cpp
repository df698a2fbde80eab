// Memory blocks and the clipboard.

#include "platform/window/Clipboard.h"

#include "platform/CodePage.h"
#include "platform/display/DisplayDriver.h"
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

constexpr SIZE_T kMaxBlock = SIZE_T(1) << 30;

struct Block {
    std::vector<char> bytes;
    int locks = 0;
};

std::map<HGLOBAL, std::unique_ptr<Block>>& Blocks() {
    static auto* blocks = new std::map<HGLOBAL, std::unique_ptr<Block>>;
    return *blocks;
}

Block* FindBlock(HGLOBAL handle) {
    auto it = Blocks().find(handle);
    return it == Blocks().end() ? nullptr : it->second.get();
}

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
    Block* b = FindBlock(block);
    if (!b)
        return {};
    return std::string(b->bytes.data(), strnlen(b->bytes.data(), b->bytes.size()));
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

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) {
    if (bytes > kMaxBlock)
        return nullptr;
    auto block = std::make_unique<Block>();
    block->bytes.assign(bytes ? bytes : 1, 0);
    HGLOBAL handle = block.get();
    Blocks().emplace(handle, std::move(block));
    return handle;
}

LPVOID GlobalLock(HGLOBAL handle) {
    Block* b = FindBlock(handle);
    if (!b)
        return nullptr;
    ++b->locks;
    return b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL handle) {
    Block* b = FindBlock(handle);
    if (!b || b->locks == 0)
        return FALSE;
    return --b->locks > 0;
}

SIZE_T GlobalSize(HGLOBAL handle) {
    Block* b = FindBlock(handle);
    return b ? b->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    if (!handle)
        return nullptr;
    return Blocks().erase(handle) ? nullptr : handle;
}

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
    if (format == CF_TEXT && FindBlock(data)) {
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
